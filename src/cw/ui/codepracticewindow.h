#pragma once
// CodePracticeWindow: "On the Air Code Practice". Generates random groups, sends the practice
// text one character at a time as the keyer reports each one sent, and keys typed text live.
// Refuses to close while the keyer sends; closing empties what is unsent.
#include "common/platform/platform.h"
#include "cw/keyer.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace velk {

// The generator's characters: letters only (26) or letters, digits and ". , ? / -" (41).
QString practiceCharacters(bool lettersOnly);
// groups x length characters from the set, a blank after each group; pick(n) returns 0..n-1.
QString practiceGroups(int groups, int length, bool lettersOnly, const std::function<int(int)>& pick);

class CodePracticeWindow : public QDialog
{
    Q_OBJECT
public:
    CodePracticeWindow(Platform& platform, Keyer& keyer, QWidget* parent = nullptr);

    void generate();
    void send();
    void stop();
    bool isRunning() const { return m_running; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void sendNext();
    void onCharacterSent(QChar character);
    void showSpeed();

    Platform& m_platform;
    Keyer& m_keyer;
    QPlainTextEdit* m_toSend = nullptr;
    QPlainTextEdit* m_sent = nullptr;
    QLineEdit* m_keyboard = nullptr;
    QLineEdit* m_groups = nullptr;
    QLineEdit* m_groupLength = nullptr;
    QRadioButton* m_lettersOnly = nullptr;
    QLabel* m_speed = nullptr;
    bool m_running = false;
    int m_position = 0; // next character of the practice text
    bool m_waiting = false;
};

} // namespace velk
