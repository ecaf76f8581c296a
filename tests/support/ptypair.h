#pragma once
// Two linked pseudo-terminals made by socat: one is the serial device the logger opens, the other
// its far end for a peer (a simulator, or the test itself). Both go when the object does.
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

namespace velk::testing {

class PtyPair
{
public:
    // The two ends are made as links in `folder`, named after `name`.
    explicit PtyPair(const QString& folder, const QString& name = QStringLiteral("serial"))
        : m_ours(QDir(folder).filePath(name + QStringLiteral("-ours"))),
          m_theirs(QDir(folder).filePath(name + QStringLiteral("-theirs")))
    {
    }
    ~PtyPair() { vanish(); }

    // False, with reason(), when socat is missing or made no pair.
    bool start()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("socat")).isEmpty()) {
            m_reason = QStringLiteral("socat is not installed");
            return false;
        }
        m_socat.start(QStringLiteral("socat"), {QStringLiteral("pty,raw,echo=0,link=") + m_ours,
                                                QStringLiteral("pty,raw,echo=0,link=") + m_theirs});
        if (!m_socat.waitForStarted(5000) || !linksMade()) {
            m_reason = QStringLiteral("socat could not make a pseudo-terminal pair");
            return false;
        }
        return true;
    }

    QString ours() const { return m_ours; }
    QString theirs() const { return m_theirs; }
    QString reason() const { return m_reason; }

    // The device goes away, as a USB adapter pulled out.
    void vanish()
    {
        if (m_socat.state() != QProcess::NotRunning) {
            m_socat.kill();
            m_socat.waitForFinished(2000);
        }
    }

private:
    // Also for benchmarks, which have no QtTest: nothing here needs the event loop.
    bool linksMade() const
    {
        const QDeadlineTimer deadline(5000);
        while (!(QFileInfo::exists(m_ours) && QFileInfo::exists(m_theirs))) {
            if (deadline.hasExpired()) {
                return false;
            }
            QThread::msleep(5);
        }
        return true;
    }

    QString m_ours;
    QString m_theirs;
    QString m_reason;
    QProcess m_socat;
};

} // namespace velk::testing
