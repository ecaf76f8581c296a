// The key line on a real device path: LinuxKeyPorts opens a socat pseudo-terminal as serial
// port 1 and the worker keys RTS through the tty ioctls. The pty has no modem lines, so the
// child process runs with a preloaded shim that gives it some and records each change with its
// time. The child is this executable again, running the disabled test KeyLineChild.DISABLED_Run.
#include "common/platform/fake/fakeplatform.h"
#include "common/platform/qt/linuxkeyports.h"
#include "cw/linemorsesender.h"
#include "cw/morse.h"
#include "support/childtest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace velk::testing {
namespace {

const char* const modeVariable = "VELK_KEYLINE_CHILD_MODE";

struct LineRecord
{
    long long atNs = 0;
    bool closed = false;
    bool rts = false;
    bool dtr = false;
    bool hangUp = false;
};

std::vector<LineRecord> readRecords(const QString& path)
{
    std::vector<LineRecord> records;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return records;
    }
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.trimmed().split(' ');
        if (fields.size() != 4) {
            continue;
        }
        LineRecord record;
        record.atNs = fields[0].toLongLong();
        if (fields[2] == "close") {
            record.closed = true;
            record.hangUp = fields[3] == "1";
        } else {
            record.rts = fields[2] == "1";
            record.dtr = fields[3] == "1";
        }
        records.push_back(record);
    }
    return records;
}

// The RTS edges in order (true = key down), starting from the state after open.
std::vector<bool> rtsEdges(const std::vector<LineRecord>& records)
{
    std::vector<bool> edges;
    bool rts = false;
    for (const LineRecord& record : records) {
        if (!record.closed && record.rts != rts) {
            rts = record.rts;
            edges.push_back(rts);
        }
    }
    return edges;
}

std::vector<bool> idealEdges(const QString& text)
{
    std::vector<bool> edges;
    for (const TimedChange& change : textSchedule(text, 60, 0)) {
        edges.push_back(change.down);
    }
    return edges;
}

class KeyLineSerialTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QProcess socat;
    QString port;
    QString logPath;

    void SetUp() override
    {
        const QString socatPath = QStandardPaths::findExecutable(QStringLiteral("socat"));
        if (socatPath.isEmpty()) {
            GTEST_SKIP() << "socat is not installed (scripts/ensure-deps.sh installs it)";
        }
        port = dir.filePath(QStringLiteral("ttyKey"));
        logPath = dir.filePath(QStringLiteral("lines.log"));
        socat.start(socatPath,
                    {QStringLiteral("pty,raw,echo=0,link=") + port,
                     QStringLiteral("pty,raw,echo=0,link=") + dir.filePath(QStringLiteral("ttyFar"))});
        ASSERT_TRUE(socat.waitForStarted(5000));
        for (int i = 0; i < 500 && !QFileInfo::exists(dir.filePath(QStringLiteral("ttyFar"))); ++i) {
            QThread::msleep(10);
        }
        ASSERT_TRUE(QFileInfo::exists(port)) << "socat made no pseudo-terminal";
    }

    void TearDown() override
    {
        if (socat.state() != QProcess::NotRunning) {
            socat.kill();
            socat.waitForFinished(5000);
        }
    }

    // Runs the child in `mode`; returns what it said. `killWhen` kills it on that line.
    QList<QByteArray> runChild(const QByteArray& mode, const QByteArray& killWhen = {})
    {
        QProcess child;
        startChildTest(child, QStringLiteral("KeyLineChild.DISABLED_Run"),
                       {{QString::fromLatin1(modeVariable), QString::fromLatin1(mode)},
                        {QStringLiteral("VELK_COM1"), port},
                        {QStringLiteral("VELK_MODEM_LOG"), logPath},
                        {QStringLiteral("LD_PRELOAD"), QStringLiteral(VELK_MODEM_SHIM)},
                        {QStringLiteral("ASAN_OPTIONS"), QStringLiteral("verify_asan_link_order=0")}});
        EXPECT_TRUE(child.waitForStarted(10000));
        QList<QByteArray> said;
        QByteArray pending;
        while (child.state() != QProcess::NotRunning) {
            child.waitForReadyRead(200);
            pending += child.readAllStandardOutput();
            for (const QByteArray& line : takeCompleteLines(pending)) {
                said << line;
                if (!killWhen.isEmpty() && line == killWhen) {
                    child.kill();
                }
            }
        }
        child.waitForFinished(10000);
        pending += child.readAllStandardOutput();
        said << takeCompleteLines(pending);
        return said;
    }

    static QString sentBy(const QList<QByteArray>& said)
    {
        for (const QByteArray& line : said) {
            if (line.startsWith("SENT ")) {
                return QString::fromLatin1(line.mid(5));
            }
        }
        return {};
    }

    bool hangUpOnClose() const
    {
        const int fd = ::open(QFile::encodeName(port).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        termios settings{};
        const bool hangUp = fd >= 0 && tcgetattr(fd, &settings) == 0 && (settings.c_cflag & HUPCL);
        if (fd >= 0) {
            ::close(fd);
        }
        return hangUp;
    }
};

TEST_F(KeyLineSerialTest, WithoutModemLinesAPseudoTerminalIsAnInvalidPort)
{
    FakeEnvironment environment;
    environment.values[QStringLiteral("VELK_COM1")] = port;
    FakeSettingsStore settings;
    LinuxKeyPorts ports(environment, settings);
    QString error;
    KeyLineTarget target;
    target.comPort = 1;
    EXPECT_EQ(ports.open(PortUser::CwKeyer, target, error), nullptr);
    EXPECT_EQ(error, QStringLiteral("Invalid port."));
    target.comPort = 2;
    environment.values[QStringLiteral("VELK_COM2")] = dir.filePath(QStringLiteral("missing"));
    EXPECT_EQ(ports.open(PortUser::CwKeyer, target, error), nullptr);
}

TEST_F(KeyLineSerialTest, ElementsAreKeyedInOrderAndEscLeavesTheKeyUp)
{
    const QList<QByteArray> said = runChild("esc");
    ASSERT_TRUE(said.contains("DONE")) << said.join('|').toStdString();
    const std::vector<LineRecord> records = readRecords(logPath);
    ASSERT_FALSE(records.empty());
    // Right after open both lines are down, before anything is keyed.
    EXPECT_FALSE(records.front().rts);
    EXPECT_FALSE(records.front().dtr);
    const QString sent = sentBy(said);
    ASSERT_TRUE(sent.startsWith(QStringLiteral("T"))) << sent.toStdString();
    EXPECT_LT(sent.size(), 4); // Esc cut the message
    EXPECT_EQ(rtsEdges(records), idealEdges(sent));
    for (const LineRecord& record : records) {
        EXPECT_FALSE(record.dtr);
    }
    EXPECT_TRUE(records.back().closed);
    EXPECT_TRUE(records.back().hangUp);
}

TEST_F(KeyLineSerialTest, ExitWhileSendingReleasesTheKeyBeforeThePortCloses)
{
    const QList<QByteArray> said = runChild("exit");
    ASSERT_TRUE(said.contains("EXITING")) << said.join('|').toStdString();
    const std::vector<LineRecord> records = readRecords(logPath);
    ASSERT_GE(records.size(), 3u);
    EXPECT_TRUE(records.back().closed);
    const LineRecord& last = records[records.size() - 2];
    EXPECT_FALSE(last.rts);
    const std::vector<bool> edges = rtsEdges(records);
    ASSERT_FALSE(edges.empty());
    EXPECT_FALSE(edges.back());
}

TEST_F(KeyLineSerialTest, AKilledProcessLeavesThePortToHangUpOnClose)
{
    const QList<QByteArray> said = runChild("kill", "KEYING");
    ASSERT_TRUE(said.contains("KEYING")) << said.join('|').toStdString();
    const std::vector<LineRecord> records = readRecords(logPath);
    ASSERT_FALSE(records.empty());
    // No user-space code ran after the kill: the driver's hang-up on the last close drops
    // RTS and DTR, and the port was left set to do so.
    EXPECT_FALSE(records.back().closed);
    EXPECT_TRUE(hangUpOnClose());
}

// The child: keys RTS on serial port 1 at 60 WPM with the real clock.
TEST(KeyLineChild, DISABLED_Run)
{
    const QByteArray mode = qgetenv(modeVariable);
    FakeEnvironment environment;
    environment.values[QStringLiteral("VELK_COM1")] = qEnvironmentVariable("VELK_COM1");
    FakeSettingsStore settings;
    LinuxKeyPorts ports(environment, settings);
    QString error;
    KeyLineTarget target;
    target.comPort = 1;
    KeyLine* line = ports.open(PortUser::CwKeyer, target, error);
    ASSERT_NE(line, nullptr) << error.toStdString();
    MonotonicKeyTiming timing;
    QString sent;
    {
        LineMorseSender sender(timing, nullptr);
        sender.setLine(line);
        sender.setSpeed(60);
        QObject::connect(&sender, &MorseSender::characterSent, [&](QChar character) { sent += character; });
        QSignalSpy characters(&sender, &MorseSender::characterSent);
        QSignalSpy idle(&sender, &MorseSender::idle);
        if (mode == "esc") {
            sender.append(QStringLiteral("TEST"));
            ASSERT_TRUE(characters.wait(10000));
            sender.clear();
            ASSERT_TRUE(idle.count() > 0 || idle.wait(10000));
            sayToParent("SENT " + sent.toLatin1());
        } else if (mode == "exit") {
            sender.append(QStringLiteral("TTTTTTTTTT"));
            ASSERT_TRUE(characters.wait(10000));
            sayToParent("EXITING");
            // The sender and the port owner go away as at program exit.
        } else if (mode == "kill") {
            sender.append(QStringLiteral("TTTTTTTTTTTTTTTTTTTT"));
            ASSERT_TRUE(characters.wait(10000));
            sayToParent("KEYING");
            QThread::msleep(20000); // the parent kills it long before
        }
    }
    ports.close(PortUser::CwKeyer);
    sayToParent("DONE");
}

} // namespace
} // namespace velk::testing

namespace velk::testing {
namespace {

TEST(ParallelKeyLine, TheAddressBoxNamesTheParportWithThatBaseAddress)
{
    EXPECT_EQ(parsePortAddress(QStringLiteral("&H378")), 888u);
    EXPECT_EQ(parsePortAddress(QStringLiteral("&h278")), 0x278u);
    EXPECT_EQ(parsePortAddress(QStringLiteral("0x3BC")), 0x3BCu);
    EXPECT_EQ(parsePortAddress(QStringLiteral("888")), 888u);
    EXPECT_EQ(parsePortAddress(QStringLiteral("&HXYZ")), std::nullopt);
    EXPECT_EQ(parsePortAddress(QString()), std::nullopt);

    QTemporaryDir proc;
    for (const auto& [name, base] :
         {std::pair{"parport0", "632\t1912\n"}, std::pair{"parport1", "888\t1912\n"}}) {
        QDir(proc.path()).mkpath(QString::fromLatin1(name));
        QFile file(proc.filePath(QString::fromLatin1(name) + QStringLiteral("/base-addr")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(base);
    }
    EXPECT_EQ(parallelDevicePath(QStringLiteral("&H378"), proc.path(), QStringLiteral("/dev")),
              QStringLiteral("/dev/parport1"));
    EXPECT_EQ(parallelDevicePath(QStringLiteral("&H278"), proc.path(), QStringLiteral("/dev")),
              QStringLiteral("/dev/parport0"));
    EXPECT_EQ(parallelDevicePath(QStringLiteral("&H3BC"), proc.path(), QStringLiteral("/dev")), QString());
}

TEST(ParallelKeyLine, ANonexistentParallelPortIsAnInvalidPort)
{
    FakeEnvironment environment;
    FakeSettingsStore settings;
    LinuxKeyPorts ports(environment, settings);
    QTemporaryDir empty;
    ports.procParportFolder = empty.path();
    QString error;
    KeyLineTarget target;
    target.kind = KeyLineKind::Parallel;
    target.parallelAddress = QStringLiteral("&H378");
    EXPECT_EQ(ports.open(PortUser::CwKeyer, target, error), nullptr);
    EXPECT_EQ(error, QStringLiteral("Invalid port."));
}

TEST(KeyPortsSharing, OpeningTheCwPortClosesTheWinKeyLinkFirst)
{
    QTemporaryDir dir;
    FakeEnvironment environment;
    FakeSettingsStore settings;
    LinuxKeyPorts ports(environment, settings);
    bool winKeyClosed = false;
    ports.claim(PortUser::WinKey, [&] { winKeyClosed = true; });
    QString error;
    KeyLineTarget target;
    target.comPort = 1;
    environment.values[QStringLiteral("VELK_COM1")] = dir.filePath(QStringLiteral("missing"));
    EXPECT_EQ(ports.open(PortUser::CwKeyer, target, error), nullptr);
    EXPECT_TRUE(winKeyClosed); // the CW port's open closed the WinKey link first
}

} // namespace
} // namespace velk::testing
