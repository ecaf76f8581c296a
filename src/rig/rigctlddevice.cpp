#include "rig/rigctlddevice.h"

#include "common/diagnostics.h"
#include "common/platform/clock.h"
#include "rig/rigcodec.h"

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#endif

namespace velk {

namespace {

constexpr int retryConnectMs = 100;
// What is kept of the daemon's complaints and of an answer not yet whole.
constexpr qsizetype maxDaemonErrors = 2048;
constexpr qsizetype maxPendingAnswer = 4096;

// The daemon's last words: its reason usually sits in the last two or three lines.
QString lastWords(const QByteArray& text)
{
    QStringList words;
    for (const QByteArray& line : text.trimmed().split('\n')) {
        if (!line.trimmed().isEmpty()) {
            words << QString::fromLocal8Bit(line.trimmed());
        }
    }
    return words.mid(std::max<qsizetype>(0, words.size() - 3)).join(QLatin1Char(' ')).right(300);
}

} // namespace

RigctldDevice::RigctldDevice(Devices& devices, Clock& clock, QObject* parent)
    : SerialDevice(parent), m_devices(devices), m_clock(clock)
{
    m_answerTimer.setSingleShot(true);
    m_answerTimer.setInterval(defaultAnswerLimitMs);
    m_retryTimer.setSingleShot(true);
    connect(&m_answerTimer, &QTimer::timeout, this,
            [this] { fail(QStringLiteral("rigctld at %1 does not answer").arg(m_target.text())); });
    connect(&m_retryTimer, &QTimer::timeout, this, &RigctldDevice::connectToDaemon);
}

RigctldDevice::~RigctldDevice()
{
    m_open = false;
    closeAll();
}

void RigctldDevice::configure(const HamlibSettings& settings, const RigctldTarget& target)
{
    m_settings = settings;
    m_target = target;
}

bool RigctldDevice::open(const QString&, const SerialSettings&)
{
    closeAll();
    m_open = true;
    m_error.clear();
    if (!m_target.startDaemon) {
        connectToDaemon();
    } else if (m_ending && m_ending->state() != QProcess::NotRunning) {
        // The port is free once the daemon of the last test has gone.
        connect(m_ending, &QProcess::finished, this, &RigctldDevice::startDaemon, Qt::SingleShotConnection);
    } else {
        startDaemon();
    }
    return true;
}

void RigctldDevice::startDaemon()
{
    if (!m_open || m_daemon) {
        return;
    }
    m_daemon = new QProcess(this);
    m_daemon->setStandardOutputFile(QProcess::nullDevice());
#ifdef Q_OS_LINUX
    // The daemon ends with the logger, also when the logger is killed.
    m_daemon->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
#endif
    connect(m_daemon, &QProcess::readyReadStandardError, this, [this] {
        m_daemonErrors += m_daemon->readAllStandardError();
        m_daemonErrors = m_daemonErrors.right(maxDaemonErrors);
    });
    connect(m_daemon, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            fail(QStringLiteral("rigctld is not installed (Debian package libhamlib-utils)"));
        }
    });
    connect(m_daemon, &QProcess::finished, this, &RigctldDevice::onDaemonEnded);
    connect(m_daemon, &QProcess::started, this, [this] {
        m_startDeadline = m_clock.tickMs() + defaultStartLimitMs;
        connectToDaemon();
    });
    m_daemonErrors.clear();
    const QStringList arguments = rigctldArguments(m_settings);
    qCDebug(velkRig).noquote() << "starting" << m_program << arguments.join(QLatin1Char(' '));
    m_daemon->start(m_program, arguments);
}

void RigctldDevice::onDaemonEnded()
{
    const QString said = lastWords(m_daemonErrors + m_daemon->readAllStandardError());
    const QString model = QStringLiteral("model %1").arg(m_settings.model);
    // Without a word it usually could not listen: something else holds the port, and the link
    // must not go on with whatever that is.
    fail(
        said.isEmpty()
            ? QStringLiteral("rigctld stopped (%1); is another program using %2?").arg(model, m_target.text())
            : QStringLiteral("rigctld stopped (%1): %2").arg(model, said));
}

void RigctldDevice::connectToDaemon()
{
    if (!m_open) {
        return;
    }
    if (!m_connection) {
        m_connection = m_devices.createTcpConnection();
        connect(m_connection.get(), &TcpConnection::connected, this, &RigctldDevice::onConnected);
        connect(m_connection.get(), &TcpConnection::errorOccurred, this, &RigctldDevice::onConnectError);
        connect(m_connection.get(), &TcpConnection::readyRead, this, &RigctldDevice::onReadyRead);
        connect(m_connection.get(), &TcpConnection::disconnected, this,
                [this] { fail(QStringLiteral("rigctld at %1 went away").arg(m_target.text())); });
    }
    m_connection->connectTo(m_target.host, m_target.port);
}

void RigctldDevice::onConnected()
{
    m_connected = true;
    qCDebug(velkRig).noquote() << "connected to rigctld at" << m_target.text();
    sendNext();
}

void RigctldDevice::onConnectError(int number)
{
    const bool refused = number == socketerror::connectionRefused;
    if (m_connected) {
        fail(QStringLiteral("rigctld at %1 went away (socket error %2)").arg(m_target.text()).arg(number));
        return;
    }
    // A daemon just started opens the radio before it listens.
    if (refused && daemonRunning() && m_clock.tickMs() < m_startDeadline) {
        m_retryTimer.start(retryConnectMs);
        return;
    }
    if (refused && daemonRunning()) {
        fail(QStringLiteral("rigctld started but does not listen at %1").arg(m_target.text()));
    } else if (refused) {
        fail(QStringLiteral("rigctld is not running at %1 (connection refused)").arg(m_target.text()));
    } else if (number == socketerror::timedOut) {
        fail(QStringLiteral("rigctld at %1 does not answer (connection timed out)").arg(m_target.text()));
    } else if (number == socketerror::hostNotFound) {
        fail(QStringLiteral("the rigctld address %1 is not known").arg(m_target.host));
    } else {
        fail(QStringLiteral("rigctld at %1 cannot be reached (socket error %2)")
                 .arg(m_target.text())
                 .arg(number));
    }
}

qint64 RigctldDevice::write(const QByteArray& bytes)
{
    if (!m_open) {
        return -1;
    }
    for (const QByteArray& line : bytes.split('\n')) {
        const QByteArray command = line.trimmed();
        if (!command.isEmpty()) {
            m_waiting << (command.startsWith('+') ? command : '+' + command) + '\n';
        }
    }
    sendNext();
    return bytes.size();
}

// One command at a time: each answer comes back in its own segment at once, where two asked
// together would wait on the far end's Nagle and our delayed acknowledgement.
void RigctldDevice::sendNext()
{
    if (!m_open || !m_connected || m_inFlight || m_waiting.isEmpty()) {
        return;
    }
    m_inFlight = true;
    m_answerTimer.start();
    m_connection->write(m_waiting.takeFirst());
}

QByteArray RigctldDevice::readAll()
{
    return std::exchange(m_input, {});
}

void RigctldDevice::onReadyRead()
{
    const QByteArray bytes = m_connection->readAll();
    if (bytes.isEmpty()) {
        return;
    }
    m_input = (m_input + bytes).right(maxReplyBytes * 4);
    m_scan += bytes;
    qsizetype used = 0;
    const QList<hamlib::Answer> answers = hamlib::answers(m_scan, &used);
    m_scan.remove(0, used);
    if (m_scan.size() > maxPendingAnswer) {
        // No "RPRT" in sight: this is not rigctld's extended protocol.
        fail(QStringLiteral("the program at %1 does not answer as rigctld does").arg(m_target.text()));
        return;
    }
    if (!answers.isEmpty()) {
        m_inFlight = false;
        m_answerTimer.stop();
    }
    for (const hamlib::Answer& answer : answers) {
        if (answer.code < 0 && answer.command.startsWith("set_")) {
            emit commandRefused(answer.command, hamlib::errorText(answer.code));
        }
    }
    emit readyRead();
    sendNext();
}

void RigctldDevice::fail(const QString& text)
{
    if (!m_open) {
        return;
    }
    qCWarning(velkRig).noquote() << text;
    m_error = text;
    m_open = false;
    closeAll();
    emit failed(text);
}

void RigctldDevice::close()
{
    m_open = false;
    closeAll();
}

void RigctldDevice::closeAll()
{
    m_answerTimer.stop();
    m_retryTimer.stop();
    if (m_connection) {
        m_connection->close();
    }
    m_connected = false;
    m_waiting.clear();
    m_inFlight = false;
    m_input.clear();
    m_scan.clear();
    stopDaemon();
}

void RigctldDevice::stopDaemon()
{
    if (!m_daemon) {
        return;
    }
    QProcess* daemon = std::exchange(m_daemon, nullptr);
    daemon->disconnect(this);
    if (daemon->state() == QProcess::NotRunning) {
        daemon->deleteLater();
        return;
    }
    qCDebug(velkRig) << "stopping rigctld";
    connect(daemon, &QProcess::finished, daemon, &QObject::deleteLater);
    daemon->terminate();
    m_ending = daemon;
}

} // namespace velk
