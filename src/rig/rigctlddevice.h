#pragma once
// RigctldDevice: the radio link's byte channel to Hamlib's rigctld over TCP, in place of a serial
// port. Starts the daemon when asked (and ends it on close), counts the commands it has not
// answered yet, and says in plain words why the link failed.
#include "common/platform/devices.h"
#include "rig/hamlibsettings.h"

#include <QPointer>
#include <QProcess>
#include <QTimer>
#include <memory>

namespace velk {

class Clock;

class RigctldDevice : public SerialDevice
{
    Q_OBJECT
public:
    // A daemon that was started gets this long to start listening (the radio is opened first).
    static constexpr int defaultStartLimitMs = 15000;
    // A command rigctld has not answered after this long (its own radio timeouts and retries
    // included) means it hangs.
    static constexpr int defaultAnswerLimitMs = 8000;

    RigctldDevice(Devices& devices, Clock& clock, QObject* parent = nullptr);
    ~RigctldDevice() override;

    void configure(const HamlibSettings& settings, const RigctldTarget& target);
    // The daemon's program; "rigctld" from PATH unless changed.
    void setProgram(const QString& program) { m_program = program; }
    void setAnswerLimitMs(int ms) { m_answerTimer.setInterval(ms); }

    // Starts the daemon or connects; the path is not used. Failures arrive as failed().
    bool open(const QString& path, const SerialSettings& settings) override;
    void close() override;
    bool isOpen() const override { return m_open; }
    // Each line is a command; one without the extended-answer '+' gets it.
    qint64 write(const QByteArray& bytes) override;
    QByteArray readAll() override;
    void clearInput() override { m_input.clear(); }
    // The commands rigctld has not answered yet: a change waits for them, a poll does not pile up.
    qint64 bytesToWrite() const override { return unanswered(); }
    // After close: 1 while the daemon this device started is still ending.
    qint64 unsentBytes() const override
    {
        return unanswered() + (m_ending && m_ending->state() != QProcess::NotRunning ? 1 : 0);
    }
    bool setRts(bool) override { return false; }
    bool setDtr(bool) override { return false; }
    QString errorText() const override { return m_error; }
    // The daemon this device started, while it runs.
    bool daemonRunning() const { return m_daemon && m_daemon->state() != QProcess::NotRunning; }

signals:
    // rigctld refused a set command ("set_freq", "set_mode") with an error of its own.
    void commandRefused(const QByteArray& command, const QString& text);

private:
    void startDaemon();
    void connectToDaemon();
    void onConnected();
    void onConnectError(int number);
    void onReadyRead();
    void onDaemonEnded();
    void sendNext();
    qint64 unanswered() const { return m_waiting.size() + (m_inFlight ? 1 : 0); }
    void fail(const QString& text);
    void closeAll();
    void stopDaemon();

    Devices& m_devices;
    Clock& m_clock;
    HamlibSettings m_settings;
    RigctldTarget m_target;
    QString m_program = QStringLiteral("rigctld");
    std::unique_ptr<TcpConnection> m_connection;
    QProcess* m_daemon = nullptr;
    // A daemon of an earlier open still ending: the next one waits for its port.
    QPointer<QProcess> m_ending;
    QTimer m_answerTimer;
    QTimer m_retryTimer;
    std::int64_t m_startDeadline = 0;
    bool m_open = false;
    bool m_connected = false;
    // Commands not sent yet, and whether one is out.
    QList<QByteArray> m_waiting;
    bool m_inFlight = false;
    QByteArray m_input;
    QByteArray m_scan;
    QByteArray m_daemonErrors;
    QString m_error;
};

} // namespace velk
