#pragma once
// The WinKey emulator (tools/winkey_emulator.py) on a socat pseudo-terminal pair, for tests that
// talk to it through a real serial port; stopped when the object goes.
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

namespace velk::testing {

class WinKeyEmulatorProcess
{
public:
    static constexpr int waitMs = 15000;

    ~WinKeyEmulatorProcess() { stop(); }

    QString portPath() const { return m_dir.filePath(QStringLiteral("winkey")); }
    QString logPath() const { return m_dir.filePath(QStringLiteral("host.log")); }

    // False when socat or the emulator cannot start here (the test then skips).
    bool start(const QStringList& options = {})
    {
        if (!m_dir.isValid() || QStandardPaths::findExecutable(QStringLiteral("socat")).isEmpty()) {
            return false;
        }
        m_process.setProgram(QStringLiteral("python3"));
        m_process.setArguments(QStringList{QStringLiteral(VELK_SOURCE_DIR "/tools/winkey_emulator.py"),
                                           QStringLiteral("--link"), portPath(), QStringLiteral("--log"),
                                           logPath()} +
                               options);
        m_process.start();
        if (!m_process.waitForStarted(5000)) {
            return false;
        }
        QByteArray output;
        const bool answered = QTest::qWaitFor(
            [&] {
                output += m_process.readAllStandardOutput();
                return output.contains("ready") || output.contains("did not start") ||
                       m_process.state() == QProcess::NotRunning;
            },
            waitMs);
        return answered && output.contains("ready");
    }

    void stop()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            if (!m_process.waitForFinished(5000)) {
                m_process.kill();
                m_process.waitForFinished(2000);
            }
        }
    }

    // Every host byte and event the emulator logged so far.
    QString log() const
    {
        QFile file(logPath());
        return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
    }

    bool waitForLog(const QString& text) const
    {
        return QTest::qWaitFor([&] { return log().contains(text); }, waitMs);
    }

    // Every byte the host sent so far, in hex ("00 04 55 00 02 ..."): the emulator reads the
    // line a byte at a time and logs each read on its own line.
    QString hostBytes() const
    {
        QStringList bytes;
        for (const QString& line : log().split(QLatin1Char('\n'))) {
            if (line.startsWith(QLatin1String("HOST "))) {
                bytes << line.mid(5);
            }
        }
        return bytes.join(QLatin1Char(' '));
    }

    bool waitForHostBytes(const QString& hex) const
    {
        return QTest::qWaitFor([&] { return hostBytes().contains(hex); }, waitMs);
    }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
};

} // namespace velk::testing
