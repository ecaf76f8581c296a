#pragma once
// KeyerWindow: "CW String Selections", the keyer's settings window: the eleven messages, the
// keying line and port, speed, word space, timing method and the F1 pause, "Test", "Done" (writes
// cw.txt) and the way to code practice and the WinKey setup. Edits go straight to the Keyer.
#include "common/platform/platform.h"
#include "cw/keyer.h"

#include <QDialog>
#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace velk {

class KeyerWindow : public QDialog
{
    Q_OBJECT
public:
    KeyerWindow(Platform& platform, Keyer& keyer, QWidget* parent = nullptr);

    // Not used: "Test" sends the F9 message as it stands. Stays until the main window stops
    // passing the own call.
    // Fills the boxes from the keyer.
    void refresh();
    // "&Test": the F9 message, nothing added.
    void test();
    // "Done": writes cw.txt and the timing choice, hides the window.
    void done();

signals:
    void doneClicked();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* addBox(const QString& objectName, const QString& accessibleName);
    QWidget* buildMessages();
    QWidget* buildLine();
    QWidget* buildTiming();
    QWidget* buildButtons();
    void chooseKeyerType(KeyerType type);
    void leaveComPort();
    void leaveSpeed();
    void editWordSpace();
    void leaveWordSpace();
    void stepWordSpace(int step);
    void leaveRepeat();
    void chooseTiming(const QString& method);
    void scaleLoop(double factor);
    void showPortPath();
    void showPriority();

    Platform& m_platform;
    Keyer& m_keyer;
    std::array<QLineEdit*, cwMessageCount> m_messages{};
    QLineEdit* m_comPort = nullptr;
    QLabel* m_portPath = nullptr;
    QLineEdit* m_speed = nullptr;
    QLineEdit* m_wordSpace = nullptr;
    QLineEdit* m_parallelAddress = nullptr;
    QLineEdit* m_repeat = nullptr;
    QLineEdit* m_loop = nullptr;
    QCheckBox* m_showText = nullptr;
    QLabel* m_sendingLabel = nullptr;
    QLabel* m_priority = nullptr;
    QPushButton* m_doneButton = nullptr;
    QPushButton* m_winKeyButton = nullptr;
    QPushButton* m_loopFaster = nullptr;
    QPushButton* m_loopSlower = nullptr;
    std::array<QRadioButton*, 5> m_keyerTypes{};
    std::array<QRadioButton*, 3> m_timings{};
};

} // namespace velk
