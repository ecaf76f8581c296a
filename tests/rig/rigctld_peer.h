#pragma once
// Peers for the Hamlib radio type: Hamlib's own rigctld (its dummy radio, or driving the radio
// simulator), `rigctl` as a second network client, and a loopback stand-in that answers as the
// test scripts it (error codes, silence).
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <functional>
#include <memory>
#include <vector>

namespace velk::testing {

// A loopback port nobody listens on (at the moment it is asked).
inline quint16 freeLoopbackPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return server.serverPort();
}

inline bool hamlibInstalled()
{
    return !QStandardPaths::findExecutable(QStringLiteral("rigctld")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("rigctl")).isEmpty();
}

// True once something accepts connections on the loopback port.
inline bool listening(quint16 port, int timeoutMs = 10000)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, port);
        if (probe.waitForConnected(200)) {
            probe.disconnectFromHost();
            return true;
        }
        QThread::msleep(50);
    }
    return false;
}

class Rigctld
{
public:
    ~Rigctld() { stop(); }

    // rigctld with `arguments` (e.g. "-m 1") on a free loopback port; false when it does not listen.
    bool start(const QStringList& arguments)
    {
        if (!hamlibInstalled()) {
            return false;
        }
        m_port = freeLoopbackPort();
        m_process.start(QStringLiteral("rigctld"),
                        arguments + QStringList{QStringLiteral("-T"), QStringLiteral("127.0.0.1"),
                                                QStringLiteral("-t"), QString::number(m_port)});
        return m_process.waitForStarted(5000) && listening(m_port);
    }
    quint16 port() const { return m_port; }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }
    void kill()
    {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
    void stop()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            if (!m_process.waitForFinished(3000)) {
                kill();
            }
        }
    }

    // `rigctl -m 2` (Hamlib's network client) against this daemon; its output, trimmed.
    QString rigctl(const QStringList& command) const
    {
        QProcess client;
        client.start(QStringLiteral("rigctl"),
                     QStringList{QStringLiteral("-m"), QStringLiteral("2"), QStringLiteral("-r"), address()} +
                         command);
        client.waitForFinished(10000);
        return QString::fromLatin1(client.readAllStandardOutput()).trimmed();
    }

private:
    QProcess m_process;
    quint16 m_port = 0;
};

// Answers each command line the way the test says; an empty answer leaves it unanswered.
class ScriptedRigctld
{
public:
    std::function<QByteArray(const QByteArray& line)> answer;
    QList<QByteArray> received;

    bool start()
    {
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                m_clients.push_back(socket);
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    while (socket->canReadLine()) {
                        const QByteArray line = socket->readLine().trimmed();
                        received << line;
                        if (answer) {
                            socket->write(answer(line));
                        }
                    }
                });
            }
        });
        return m_server.listen(QHostAddress::LocalHost, 0);
    }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(m_server.serverPort()); }

private:
    QTcpServer m_server;
    std::vector<QTcpSocket*> m_clients;
};

// The extended answer of a poll command at this dial and mode.
inline QByteArray rigctldAnswer(const QByteArray& line, long long hz, const QByteArray& mode)
{
    if (line == "+f") {
        return "get_freq:\nFrequency: " + QByteArray::number(hz) + "\nRPRT 0\n";
    }
    if (line == "+m") {
        return "get_mode:\nMode: " + mode + "\nPassband: 500\nRPRT 0\n";
    }
    return QByteArray("set:\nRPRT 0\n");
}

} // namespace velk::testing
