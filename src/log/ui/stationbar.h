#pragma once
// StationBar: the own call, location and name, the current band (a click steps to the next band),
// the UTC and local clocks and the operating time. Reads the LogSession and the platform clock;
// the main window's one-second tick keeps it current.
#include "common/platform/platform.h"

#include <QWidget>

class QLabel;

namespace velk {

class LogSession;

class StationBar : public QWidget
{
    Q_OBJECT
public:
    StationBar(Platform& platform, LogSession& session, QWidget* parent = nullptr);

    void showStation();
    void showBand(const QString& band);
    // The clocks and, while "Time On" runs, the operating time.
    void tick();
    void showOperatingTime();

signals:
    void bandClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Platform& m_platform;
    LogSession& m_session;
    QLabel* m_ownCall = nullptr;
    QLabel* m_ownLocation = nullptr;
    QLabel* m_ownName = nullptr;
    QLabel* m_band = nullptr;
    QLabel* m_utc = nullptr;
    QLabel* m_local = nullptr;
    QLabel* m_amPm = nullptr;
    QLabel* m_operatingTime = nullptr;
};

} // namespace velk
