#pragma once
// WinKeySetupDialog: the " WinKey Setup" window. The operator picks the port and the device's
// settings, opens, tests, stops and closes the WinKey link, and "&Done" keeps the values in
// WK.txt. Talks to the WinKey link and to the prompter for its messages.
#include "common/platform/platform.h"
#include "cw/winkeylink.h"

#include <QDialog>
#include <functional>

class QButtonGroup;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velk {

class WinKeySetupDialog : public QDialog
{
    Q_OBJECT
public:
    // settingsPath is WK.txt in the data folder; ownCall gives the call the "Test" message ends with.
    WinKeySetupDialog(Platform& platform, WinKeyLink& link, QString settingsPath,
                      std::function<QString()> ownCall, QWidget* parent = nullptr);
    ~WinKeySetupDialog() override;

    // Fills the boxes and options from the link's settings.
    void showSettings();
    // Settles every box as on leaving it and hands the values to the link.
    void applyBoxes();

    void pressOpen();
    void pressClose();
    void pressStop();
    void pressTest();
    void pressBufferTest();
    void pressDone();
    // Every way of accepting the window is "&Done".
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    struct NumberBox
    {
        QLineEdit* box = nullptr;
        QLabel* note = nullptr;
        int minimum = 0;
        int maximum = 0;
        int fallback = 0;   // what a box that is not numeric becomes
        QString range;      // what the note says normally
        int clampedTo = -1; // the value the note says a typed one was clamped to
    };

    QLineEdit* addNumberRow(QGridLayout* grid, int row, const QString& caption, const QString& objectName,
                            const QString& hint, NumberBox& number, int minimum, int maximum, int fallback,
                            const QString& range);
    // The box's value, made numeric and clamped, with the note saying so.
    int settle(NumberBox& number);
    void leaveBox(NumberBox& number);
    void showPortPath();
    void onOpenFinished(int result, int version);
    void showClosed();

    Platform& m_platform;
    WinKeyLink& m_link;
    QString m_settingsPath;
    std::function<QString()> m_ownCall;

    NumberBox m_port;
    NumberBox m_speed;
    NumberBox m_weight;
    NumberBox m_leadIn;
    NumberBox m_tail;
    NumberBox m_ratio;
    QLabel* m_portPath = nullptr;
    QButtonGroup* m_pinGroup = nullptr;
    QButtonGroup* m_modeGroup = nullptr;
    QLabel* m_openStatus = nullptr;
    QLabel* m_version = nullptr;
    QLineEdit* m_typing = nullptr;
    QPushButton* m_done = nullptr;
    bool m_filling = false;
};

// The message shown when no device answered an open on port `port`.
QString winKeyConnectionFailedText(int port);

} // namespace velk
