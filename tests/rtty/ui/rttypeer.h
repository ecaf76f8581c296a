#pragma once
// The terminal simulator tools/rtty_peer_sim.py as a child process of a test: commands in,
// reports out, waits bounded by the event loop (never a sleep).
#include <QProcess>
#include <QStringList>
#include <QTest>

namespace velk::testing {

class RttyPeer
{
public:
    explicit RttyPeer(const QString& socketPath) : m_socketPath(socketPath)
    {
        QObject::connect(&m_process, &QProcess::readyReadStandardOutput, [this] {
            while (m_process.canReadLine()) {
                reports << QString::fromLatin1(m_process.readLine()).trimmed();
            }
        });
    }
    ~RttyPeer() { stop(); }

    bool start()
    {
        m_process.start(QStringLiteral("python3"), {QStringLiteral(VELK_SOURCE_DIR "/tools/rtty_peer_sim.py"),
                                                    QStringLiteral("--socket"), m_socketPath});
        return m_process.waitForStarted(5000) && waitFor(QStringLiteral("ready"));
    }
    void stop()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.write("quit\n");
            if (!m_process.waitForFinished(3000)) {
                m_process.kill();
                m_process.waitForFinished(3000);
            }
        }
    }
    // Sends a command and waits until the simulator has carried it out.
    bool command(const QString& text)
    {
        const qsizetype oks = reports.count(QStringLiteral("ok"));
        m_process.write(text.toLatin1() + '\n');
        return QTest::qWaitFor([&] { return reports.count(QStringLiteral("ok")) > oks; }, 10000);
    }
    bool waitFor(const QString& report, int count = 1)
    {
        return QTest::qWaitFor([&] { return reports.count(report) >= count; }, 10000);
    }
    // Pokes of the item reported so far, their values in order.
    QStringList pokes(const QString& item) const
    {
        QStringList values;
        const QString prefix = QStringLiteral("poke ") + item + QLatin1Char(' ');
        for (const QString& report : reports) {
            if (report.startsWith(prefix)) {
                values << report.mid(prefix.size());
            } else if (report == prefix.trimmed()) {
                values << QString();
            }
        }
        return values;
    }

    QStringList reports;

private:
    QString m_socketPath;
    QProcess m_process;
};

} // namespace velk::testing
