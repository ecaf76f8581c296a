// DX spotting against real peers: the loopback cluster, a TNC simulator on a pseudo-terminal pair
// and the direwolf packet engine.
#include "common/platform/qt/qtdevices.h"
#include "common/platform/qt/qttcpconnection.h"
#include "log/ui/mainwindow_fixture.h"
#include "spots/agwframe.h"
#include "spots/spotfeed.h"
#include "spots/ui/spotsetupwindow.h"
#include "support/ptypair.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>

namespace velk::testing {
namespace {

// Yields to the event loop until the condition holds; false when the time runs out first.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs) {
            return false;
        }
        QTest::qWait(10);
    }
    return true;
}

const QString toolsDir = QStringLiteral(VELK_SOURCE_DIR "/tools");

// A child process ended when the test ends, whatever happened.
struct Peer
{
    QProcess process;
    ~Peer()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(2000);
        }
    }
};

// Waits (yielding to the event loop) until the peer's output holds `text`.
bool waitForOutput(QProcess& process, QByteArray& seen, const QByteArray& text, int timeoutMs = 10000)
{
    QElapsedTimer timer;
    timer.start();
    while (!seen.contains(text) && timer.elapsed() < timeoutMs && process.state() != QProcess::NotRunning) {
        QTest::qWait(20); // the event loop runs: our own sockets keep moving meanwhile
        seen += process.readAllStandardOutput();
        seen += process.readAllStandardError();
    }
    return seen.contains(text);
}

quint16 freePort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return server.serverPort();
}

class SpotPeersTest : public MainWindowTest
{
protected:
    SpotFeed& feed = station.spots();

    void SetUp() override
    {
        MainWindowTest::SetUp();
        devices.realTcpConnection = [] { return std::make_unique<QtTcpConnection>(); };
        devices.realSerialDevice = [] { return std::make_unique<QtSerialDevice>(); };
        session.prefs.ownCall = QStringLiteral("W1AW");
    }

    SpotSetupWindow* spotWindow() const { return form->findChild<SpotSetupWindow*>(); }
    template <typename T> T* spotChild(const char* name) const
    {
        return spotWindow()->findChild<T*>(QString::fromLatin1(name));
    }
    QString monitor() const { return spotWindow()->monitorBox()->toPlainText(); }

    void writeSettings(const QByteArray& source, const QByteArray& host, const QByteArray& port)
    {
        writeFile(session.folders.working + QStringLiteral("/PackSpot.txt"),
                  "\"9600\"\r\n\"N\"\r\n\"8\"\r\n\"1\"\r\n1\r\n\"N\"\r\n\"" + source +
                      "\"\r\n0\r\n1\r\n0\r\n#TRUE#\r\n"
                      "\"03\"\r\n\"" +
                      port + "\"\r\n\"" + host + "\"\r\n");
    }

    void openSpotWindow()
    {
        focusOn("callBox");
        QTest::keyClick(box("callBox"), Qt::Key_D, Qt::ControlModifier);
        ASSERT_NE(spotWindow(), nullptr);
    }

    void sendLine(const QString& text)
    {
        QLineEdit* send = spotWindow()->sendBox();
        send->setFocus();
        QTest::keyClicks(send, text);
        QTest::keyClick(send, Qt::Key_Return);
    }
};

TEST_F(SpotPeersTest, LoopbackClusterThroughTheWindow)
{
    Peer cluster;
    cluster.process.start(QStringLiteral("python3"), {toolsDir + QStringLiteral("/loopback_cluster.py")});
    QByteArray said;
    if (!waitForOutput(cluster.process, said, "PORT ")) {
        GTEST_SKIP() << "the loopback cluster (python3) does not start";
    }
    const QByteArray port = said.mid(said.indexOf("PORT ") + 5).trimmed();
    writeSettings("Telnet", "127.0.0.1", port);
    start();
    openSpotWindow();
    // The login prompt has no line end: it shows once the line goes quiet.
    ASSERT_TRUE(waitUntil([&] { return monitor().contains(QStringLiteral("login: ")); }, 10000));
    EXPECT_EQ(feed.list().rowCount(), 0);
    sendLine(QStringLiteral("W1AW"));
    ASSERT_TRUE(waitUntil([&] { return feed.list().rowCount() == 3; }, 10000)) << "feed.list().rowCount()";
    EXPECT_EQ(feed.list().entry(2).call, QStringLiteral("JA1ABC"));
    EXPECT_EQ(feed.list().entry(1).call, QStringLiteral("DL1XYZ"));
    EXPECT_EQ(feed.list().entry(0).call, QStringLiteral("VK2ABC"));
    EXPECT_FALSE(monitor().contains(QChar(7)));

    sendLine(QStringLiteral("sh/dx"));
    ASSERT_TRUE(waitUntil([&] { return feed.list().rowCount() == 6; }, 10000)) << "feed.list().rowCount()";
    EXPECT_DOUBLE_EQ(feed.list().entry(0).frequencyMhz, 144.3);

    sendLine(QStringLiteral("drop"));
    ASSERT_TRUE(waitUntil([&] { return feed.state() == SpotFeed::State::Closed; }, 10000)) << "feed.state()";
    ASSERT_TRUE(
        waitUntil([&] { return monitor().contains(QStringLiteral("127.0.0.1 closed the connection")); }));
    EXPECT_FALSE(spotChild<QLabel>("listeningLabel")->isVisible());
}

TEST_F(SpotPeersTest, NothingListeningIsRefused)
{
    writeSettings("Telnet", "127.0.0.1", QByteArray::number(freePort()));
    start();
    openSpotWindow();
    ASSERT_TRUE(waitUntil(
        [&] { return monitor().contains(QStringLiteral("ERROR: Connection is forcefully rejected.")); },
        10000));
    EXPECT_EQ(feed.state(), SpotFeed::State::Closed);
}

TEST_F(SpotPeersTest, TncSimulatorOnAPseudoTerminal)
{
    PtyPair pty(dir.path(), QStringLiteral("tnc"));
    if (!pty.start()) {
        GTEST_SKIP() << pty.reason().toStdString();
    }
    const QString ours = pty.ours();
    const QString theirs = pty.theirs();
    Peer tnc;
    tnc.process.start(QStringLiteral("python3"), {toolsDir + QStringLiteral("/tnc_simulator.py"), theirs});
    ASSERT_TRUE(tnc.process.waitForStarted(5000));
    QTest::qWait(200); // the simulator opens its end before ours starts reading
    environment.values[QStringLiteral("VELK_COM1")] = ours;
    writeSettings("TNC", "", "23");
    start();
    openSpotWindow();
    ASSERT_TRUE(waitUntil([&] { return monitor().contains(QStringLiteral("cmd:")); }, 10000));
    sendLine(QStringLiteral("c k1ttt-5"));
    ASSERT_TRUE(waitUntil([&] { return feed.list().rowCount() == 2; }, 10000)) << "feed.list().rowCount()";
    EXPECT_EQ(feed.list().entry(1).call, QStringLiteral("JA1ABC"));
    EXPECT_EQ(feed.list().entry(0).call, QStringLiteral("DL1XYZ"));
    EXPECT_TRUE(waitUntil([&] { return monitor().contains(QStringLiteral("*** CONNECTED to K1TTT-5")); }));
    const qsizetype prompts = monitor().count(QStringLiteral("cmd:"));
    QTest::keyClick(spotWindow()->sendBox(), Qt::Key_Escape);
    ASSERT_TRUE(waitUntil([&] { return monitor().count(QStringLiteral("cmd:")) > prompts; }, 10000));
}

// Frames that have arrived whole on a socket, read off it.
std::vector<AgwFrame> framesFrom(QByteArray& buffer)
{
    std::vector<AgwFrame> frames;
    for (auto r = decodeAgwFrame(buffer); r.status == AgwDecodeResult::Status::Frame;
         r = decodeAgwFrame(buffer)) {
        frames.push_back(r.frame);
        buffer.remove(0, r.consumed);
    }
    return frames;
}

TEST_F(SpotPeersTest, TncSessionThenAPacketEngineNodeOverLoopback)
{
    PtyPair pty(dir.path(), QStringLiteral("tnc"));
    if (!pty.start()) {
        GTEST_SKIP() << pty.reason().toStdString();
    }
    const QString ours = pty.ours();
    const QString theirs = pty.theirs();
    // A TNC session that ends in the middle of the TNC's first line.
    environment.values[QStringLiteral("VELK_COM1")] = ours;
    feed.selectSource(SpotSource::Tnc);
    feed.open();
    ASSERT_EQ(feed.state(), SpotFeed::State::Open);
    QFile tnc(theirs);
    ASSERT_TRUE(tnc.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    tnc.write("cmd:");
    QTest::qWait(100);

    // Then the packet engine: a loopback server that speaks its frames.
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    feed.setAgwAddress({QStringLiteral("127.0.0.1"), QString::number(server.serverPort())});
    feed.selectSource(SpotSource::Agw);
    feed.open();
    ASSERT_TRUE(waitUntil([&] { return server.hasPendingConnections(); }));
    std::unique_ptr<QTcpSocket> engine(server.nextPendingConnection());
    QByteArray heard;
    std::vector<AgwFrame> frames;
    ASSERT_TRUE(waitUntil([&] {
        heard += engine->readAll();
        for (AgwFrame& f : framesFrom(heard)) {
            frames.push_back(std::move(f));
        }
        return frames.size() >= 2;
    }));
    EXPECT_EQ(frames[0].kind, 'X');
    EXPECT_EQ(frames[1].kind, 'm');
    EXPECT_EQ(feed.state(), SpotFeed::State::Open);
    const auto frame = [](char kind, const QByteArray& data) {
        return encodeAgwFrame({0, kind, 0xF0, QStringLiteral("K1TTT-5"), QStringLiteral("W1AW"), data});
    };
    engine->write(frame('C', "*** CONNECTED With Station K1TTT-5\r"));
    engine->write(
        frame('D', "DX de K1TTT:     14025.0  JA1ABC       CQ                             1830Z\r"));
    ASSERT_TRUE(waitUntil([&] { return feed.list().rowCount() == 1; })) << feed.monitor().toStdString();
    EXPECT_EQ(feed.list().entry(0).call, QStringLiteral("JA1ABC"));

    // Closing takes leave of the node before the engine's connection goes, and twice is harmless.
    feed.close();
    feed.close();
    EXPECT_TRUE(feed.connectedStation().isEmpty());
    frames.clear();
    const bool leaveTaken = waitUntil([&] {
        heard += engine->readAll();
        for (AgwFrame& f : framesFrom(heard)) {
            frames.push_back(std::move(f));
        }
        return !frames.empty() && engine->state() != QAbstractSocket::ConnectedState;
    });
    ASSERT_TRUE(leaveTaken) << frames.size();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].kind, 'd');
    EXPECT_EQ(frames[0].callTo, QStringLiteral("K1TTT-5"));
}

TEST_F(SpotPeersTest, DirewolfPacketEngine)
{
    if (QStandardPaths::findExecutable(QStringLiteral("direwolf")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("gen_packets")).isEmpty()) {
        GTEST_SKIP() << "direwolf is not installed";
    }
    const quint16 port = freePort();
    writeFile(dir.filePath(QStringLiteral("direwolf.conf")),
              "ADEVICE stdin null\nARATE 44100\nCHANNEL 0\nMYCALL N0CALL\nMODEM 1200\nAGWPORT " +
                  QByteArray::number(port) + "\nKISSPORT 0\n");
    // A monitored UI frame that carries a spot line, as audio.
    writeFile(dir.filePath(QStringLiteral("spot.txt")),
              "K1TTT-5>DX:DX de K1TTT:     14025.0  JA1ABC       CQ CQ                          1830Z\n");
    QProcess generate;
    generate.setWorkingDirectory(dir.path());
    generate.start(QStringLiteral("gen_packets"),
                   {QStringLiteral("-r"), QStringLiteral("44100"), QStringLiteral("-o"),
                    QStringLiteral("spot.wav"), QStringLiteral("spot.txt")});
    ASSERT_TRUE(generate.waitForFinished(10000));
    const QByteArray audio = readFile(dir.filePath(QStringLiteral("spot.wav")));
    ASSERT_GT(audio.size(), 1000);

    Peer engine;
    engine.process.setWorkingDirectory(dir.path());
    engine.process.start(QStringLiteral("direwolf"),
                         {QStringLiteral("-c"), QStringLiteral("direwolf.conf"), QStringLiteral("-t"),
                          QStringLiteral("0"), QStringLiteral("-d"), QStringLiteral("a"),
                          QStringLiteral("-")});
    QByteArray said;
    if (!waitForOutput(engine.process, said, "Ready to accept AGW")) {
        GTEST_SKIP() << "direwolf does not start: " << said.right(200).toStdString();
    }
    feed.setAgwAddress({QStringLiteral("127.0.0.1"), QString::number(port)});
    writeSettings("AGW Packet Engine", "", "23");
    start();
    openSpotWindow();
    ASSERT_TRUE(waitUntil([&] { return feed.state() == SpotFeed::State::Open; }, 10000)) << "feed.state()";
    ASSERT_TRUE(waitUntil([&] {
        return monitor().contains(QStringLiteral("** Successfully connected to AGW Packet Engine **"));
    }));
    // The engine takes up to a second to read a new client's frames (its debug output, -d a,
    // shows when it did); the frame on the air must come after our monitor request.
    ASSERT_TRUE(waitForOutput(engine.process, said, "Enable Reception of Monitoring Frames"));
    ASSERT_TRUE(said.contains("Callsign Registration"));
    engine.process.write(audio);
    const bool heardSpot = waitUntil([&] { return feed.list().rowCount() == 1; }, 15000);
    said += engine.process.readAll();
    ASSERT_TRUE(heardSpot) << "monitor: " << feed.monitor().toStdString()
                           << "\nengine: " << said.toStdString();
    EXPECT_EQ(feed.list().entry(0).call, QStringLiteral("JA1ABC"));
    EXPECT_DOUBLE_EQ(feed.list().entry(0).frequencyMhz, 14.025);
    EXPECT_TRUE(
        waitUntil([&] { return monitor().contains(QStringLiteral("DX de K1TTT:     14025.0  JA1ABC")); }));
    engine.process.closeWriteChannel();
}

} // namespace
} // namespace velk::testing
