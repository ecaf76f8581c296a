#pragma once
// Keyer: the station's CW keyer. Holds the keyer settings (cw.txt and the per-user timing
// choice), opens the key line through the station's KeyPorts, and fills the current MorseSender
// from the function-key messages, keyboard sending and code practice; runs the F1 repeat and
// the speed keys. Talks to the operator through the platform's prompter and to the windows by
// signals; the "!" mark asks the log to enter the contact.
#include "common/platform/platform.h"
#include "cw/cwsettings.h"
#include "cw/keytiming.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

namespace velk {

class KeyLine;
class LineMorseSender;
class MorseSender;

class Keyer : public QObject
{
    Q_OBJECT
public:
    explicit Keyer(Platform& platform, QObject* parent = nullptr);
    ~Keyer() override;

    // Start-up: reads cw.txt from the working folder and the per-user timing choice.
    void loadSettings(const QString& workingFolder);
    // "Done": writes cw.txt and the per-user timing choice; a failure is reported.
    bool saveSettings();
    QString settingsFile() const;
    const CwSettings& settings() const { return m_settings; }
    void setMessage(int index, const QString& text);
    void setComPort(const QString& text);
    void setParallelAddress(const QString& text);
    void setShowText(bool on);

    KeyerType keyerType() const { return m_settings.keyerType; }
    void setKeyerType(KeyerType type);
    int speed() const;
    void setSpeed(int wpm);
    void speedUp() { setSpeed(speed() + 1); }
    void speedDown() { setSpeed(speed() - 1); }
    int wordSpace() const;
    // Whole units, never below -8.
    void setWordSpace(int units);

    // "Timer", "Sleep" or "Loop": kept as chosen; every method keys at absolute deadlines.
    QString timingMethod() const { return m_timingMethod; }
    void setTimingMethod(const QString& method);
    double loopOffset() const { return m_loopOffset; }
    void setLoopOffset(double passes) { m_loopOffset = passes; }

    // The F1 pause: a number from 0 up to (not including) 60 seconds; anything else becomes 0
    // and returns false.
    bool setRepeatSeconds(const QString& text);
    int repeatIntervalMs() const { return m_repeatTimer.interval(); }

    // Reopens the key line (RTS, DTR or parallel); false with the operator told when it failed.
    bool setUpPort();
    // The message of function key F1-F11 (number 1-11), placeholders replaced; 12 and anything
    // else send nothing. Every key empties what is unsent first.
    void sendFunctionKey(int number);
    // Appends text to what is being sent (keyboard sending, code practice, Test).
    void send(const QString& text);
    // Esc: what is unsent is dropped; the character being keyed ends normally.
    void escape();
    // Backspace: the last unsent character is dropped; false when there was none.
    bool backspace();
    bool isSending() const;
    QString unsentText() const { return m_unsent; }

    // Any key stops a running repeat; true when one was running.
    bool stopRepeat();
    bool isRepeating() const { return m_repeat; }
    bool keyboardMode() const { return m_keyboardMode; }
    void setKeyboardMode(bool on);

    // The call box's text for "$".
    void setCallSource(std::function<QString()> source) { m_callSource = std::move(source); }
    // The WinKey link, used when the keyer type is WinKey; null when none is built.
    void setWinKeySender(MorseSender* sender);
    MorseSender& sender() const { return *m_sender; }
    LineMorseSender& lineSender() const { return *m_lineSender; }
    // What the key-line thread runs at (real-time or not), for the keyer window.
    ThreadPriority keyingPriority() const;
    // Tests give a clock that jumps; call before anything is sent.
    void useTiming(KeyTiming& timing);
    // "Configure Winkey" in the keyer window.
    void requestWinKeyConfiguration() { emit winKeyConfigurationRequested(); }

signals:
    void speedChanged(int wpm);
    // The "!" of a message has been reached: the contact is to be logged now.
    void contactMarkReached();
    void characterSent(QChar character);
    // Sending has ended (buffer empty, or the line failed).
    void sendingFinished();
    void unsentTextChanged(const QString& text);
    void keyboardModeChanged(bool on);
    // The port could not be opened while the keyer window is hidden: the window should show.
    void setupWindowRequested();
    void winKeyConfigurationRequested();
    void keyerTypeChanged(KeyerType type);
    void keyingPriorityChanged();

private:
    void connectSender();
    void onCharacterSent(QChar character);
    void onIdle();
    void onFailed(const QString& text);
    bool ensureLine();
    void showUnsent();
    void rebuildLineSender(KeyTiming& timing);

    Platform& m_platform;
    QString m_workingFolder;
    CwSettings m_settings;
    QString m_timingMethod = QStringLiteral("Timer");
    double m_loopOffset = 0;
    MonotonicKeyTiming m_monotonic;
    std::unique_ptr<LineMorseSender> m_lineSender;
    MorseSender* m_winKeySender = nullptr;
    MorseSender* m_sender = nullptr;
    KeyLine* m_line = nullptr;
    QTimer m_repeatTimer;
    QString m_unsent;
    std::function<QString()> m_callSource;
    bool m_repeat = false;
    bool m_keyboardMode = false;
    bool m_portMissingReported = false;
};

} // namespace velk
