#pragma once
// A simulated radio on a socat pseudo-terminal pair: tools/radio_sim.py holds one end, the
// logger opens the other. Commands go to the simulator's stdin; what it took comes back on stdout.
#include "support/ptypair.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

namespace velk::testing {

class SimulatedRadio
{
public:
    ~SimulatedRadio() { stopProcess(m_sim); }

    // False (with reason()) when socat or the simulator cannot start.
    bool start(const QString& type, const QStringList& extra = {})
    {
        if (!m_pty.start()) {
            m_reason = m_pty.reason();
            return false;
        }
        QStringList arguments{QStringLiteral(VELK_SOURCE_DIR "/tools/radio_sim.py"), QStringLiteral("--type"),
                              type, QStringLiteral("--port"), simPath()};
        m_sim.start(QStringLiteral("python3"), arguments + extra);
        if (!m_sim.waitForStarted(5000) || !waitForLine(QStringLiteral("ready"))) {
            m_reason = QStringLiteral("the radio simulator did not start: ") +
                       QString::fromLocal8Bit(m_sim.readAllStandardError());
            return false;
        }
        return true;
    }

    QString reason() const { return m_reason; }
    // The device the logger opens.
    QString radioPath() const { return m_pty.ours(); }

    // A command to the simulator ("freq 14.025"); true once it acknowledged it.
    bool command(const QString& line)
    {
        m_sim.write(line.toLatin1() + '\n');
        return waitForLine(QStringLiteral("ok"));
    }

    // True when the simulator has ever reported `line`.
    bool reported(const QString& line)
    {
        readLines();
        return m_history.contains(line);
    }

    // A command without waiting for the acknowledgement.
    void send(const QString& line) { m_sim.write(line.toLatin1() + '\n'); }

    // Waits, running the event loop, until the simulator reported `line` (e.g. "set freq 14025000").
    bool waitForLine(const QString& line, int timeoutMs = 5000)
    {
        return waitUntil(
            [&] {
                readLines();
                const qsizetype at = m_lines.indexOf(line);
                if (at < 0) {
                    return false;
                }
                m_lines.remove(0, at + 1);
                return true;
            },
            timeoutMs);
    }

    // The device goes away: the pseudo-terminal pair ends.
    void vanish() { m_pty.vanish(); }

    template <typename Condition> static bool waitUntil(Condition condition, int timeoutMs = 5000)
    {
        QElapsedTimer timer;
        timer.start();
        while (!condition()) {
            if (timer.elapsed() > timeoutMs) {
                return false;
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            QThread::msleep(2);
        }
        return true;
    }

private:
    QString simPath() const { return m_pty.theirs(); }

    void readLines()
    {
        while (m_sim.canReadLine()) {
            m_lines << QString::fromLatin1(m_sim.readLine()).trimmed();
            m_history << m_lines.back();
        }
        m_sim.waitForReadyRead(1);
    }

    static void stopProcess(QProcess& process)
    {
        if (process.state() != QProcess::NotRunning) {
            process.terminate();
            if (!process.waitForFinished(3000)) {
                process.kill();
                process.waitForFinished(3000);
            }
        }
    }

    QTemporaryDir m_dir;
    PtyPair m_pty{m_dir.path(), QStringLiteral("radio")};
    QProcess m_sim;
    QStringList m_lines;
    QStringList m_history;
    QString m_reason;
};

} // namespace velk::testing
