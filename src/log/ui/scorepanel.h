#pragma once
// ScorePanel: the grid of the 63 states and provinces in worked / not-worked colours of the
// current band, the band's North American DX list, the totals and score, and the contact rates.
// Reads the LogSession's log and multipliers and follows its signals.
#include "common/platform/platform.h"
#include "log/multipliers.h"

#include <QWidget>
#include <array>

class QLabel;
class QListWidget;

namespace velk {

class LogSession;

class ScorePanel : public QWidget
{
    Q_OBJECT
public:
    ScorePanel(Platform& platform, LogSession& session, QWidget* parent = nullptr);

    // Totals, score and rates as the log stands.
    void showTotals();
    // Every display from the freshly loaded log.
    void showAll();

signals:
    // The pointer rests on a location: its band breakdown.
    void locationHovered(const QString& breakdown);
    // A location was clicked: its abbreviation.
    void locationClicked(const QString& abbreviation);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Platform& m_platform;
    LogSession& m_session;
    std::array<QLabel*, locationCount> m_locations{};
    QLabel* m_dxHeading = nullptr;
    QListWidget* m_dxList = nullptr;
    QLabel* m_contacts = nullptr;
    QLabel* m_multipliers = nullptr;
    QLabel* m_score = nullptr;
    QLabel* m_bandMultipliers = nullptr;
    QLabel* m_rate20 = nullptr;
    QLabel* m_rate60 = nullptr;

    QWidget* buildLocationGrid();
    QWidget* buildTotals();
    void markContact(const ContactRecord& record, const MultiplierChange& change);
    void showDxList();
    void showRates();
    void paintLocationGrid();
    void paintLocation(int location, bool worked);
};

} // namespace velk
