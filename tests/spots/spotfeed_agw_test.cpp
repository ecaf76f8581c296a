#include "spotfeed_fixture.h"
#include "spots/agwframe.h"

#include <QSignalSpy>

namespace velk::testing {
namespace {

class SpotFeedAgwTest : public SpotFeedTest
{
protected:
    FakeTcpConnection* engine = nullptr;

    void openAgw()
    {
        feed.settings().source = SpotSource::Agw;
        feed.open();
        ASSERT_FALSE(devices.tcpConnections.empty());
        engine = devices.tcpConnections.back();
        EXPECT_EQ(engine->host, QStringLiteral("127.0.0.1"));
        EXPECT_EQ(engine->port, 8000);
        engine->accept();
    }

    static QByteArray frame(char kind, const char* from, const QByteArray& data, const char* to = "W1AW")
    {
        return encodeAgwFrame({0, kind, 0xF0, QString::fromLatin1(from), QString::fromLatin1(to), data});
    }

    // Frames the feed wrote since the last call.
    std::vector<AgwFrame> sentFrames()
    {
        std::vector<AgwFrame> frames;
        while (true) {
            const AgwDecodeResult result = decodeAgwFrame(engine->written);
            if (result.status != AgwDecodeResult::Status::Frame) {
                break;
            }
            frames.push_back(result.frame);
            engine->written.remove(0, result.consumed);
        }
        return frames;
    }
};

TEST_F(SpotFeedAgwTest, RegistersTheOwnCallAndMonitors)
{
    openAgw();
    const auto frames = sentFrames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].kind, 'X');
    EXPECT_EQ(frames[0].callFrom, QStringLiteral("W1AW"));
    EXPECT_EQ(frames[1].kind, 'm');
    EXPECT_TRUE(feed.monitor().contains(QStringLiteral("** Successfully connected to AGW Packet Engine **")));
    EXPECT_EQ(feed.state(), SpotFeed::State::Open);
}

TEST_F(SpotFeedAgwTest, MonitoredFramesPostTheirSpotsAllAtOnce)
{
    openAgw();
    QSignalSpy posted(&feed, &SpotFeed::spotPosted);
    const QByteArray header = " 1:Fm K1TTT-5 To DX <UI pid=F0 Len=80 >[12:00:00]\r";
    QByteArray bytes;
    bytes += frame('U', "K1TTT-5", header + spotLine("K1TTT:", "14025.0", "JA1ABC") + "\r");
    bytes += frame('U', "K1TTT-5", header + spotLine("K1TTT:", "21025.0", "DL1XYZ") + "\r");
    bytes += frame('U', "K1TTT-5", header + spotLine("K1TTT:", "14025.0", "JA1ABC") + "\r"); // a repeat
    bytes += frame('U', "N0CALL", " 1:Fm N0CALL To BEACON <UI pid=F0 Len=10 >[12:00:01]\rhello all\r");
    engine->deliver(bytes.left(50));
    engine->deliver(bytes.mid(50));
    EXPECT_EQ(posted.count(), 2);
    EXPECT_EQ(feed.list().entry(0).call, QStringLiteral("DL1XYZ"));
    EXPECT_DOUBLE_EQ(feed.list().entry(0).frequencyMhz, 21.025);
    EXPECT_TRUE(feed.monitor().contains(QStringLiteral("UN0CALL 1:Fm N0CALL To BEACON")));
    EXPECT_TRUE(feed.monitor().contains(QStringLiteral("hello all")));
}

TEST_F(SpotFeedAgwTest, ConnectsToANodeAndTalksToIt)
{
    openAgw();
    sentFrames();
    QSignalSpy captions(&feed, &SpotFeed::captionChanged);
    feed.sendText(QStringLiteral(":c k1ttt-5"));
    auto frames = sentFrames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].kind, 'C');
    EXPECT_EQ(frames[0].callTo, QStringLiteral("K1TTT-5"));
    EXPECT_TRUE(feed.connectedStation().isEmpty());

    engine->deliver(frame('C', "K1TTT-5", QByteArray("*** CONNECTED With Station K1TTT-5\r", 36)));
    EXPECT_EQ(feed.connectedStation(), QStringLiteral("K1TTT-5"));
    EXPECT_EQ(feed.caption(), QStringLiteral("DX Spotting Setup - Connected to K1TTT-5"));
    EXPECT_EQ(captions.count(), 1);
    EXPECT_TRUE(feed.monitor().contains(QStringLiteral("** Connected to K1TTT-5 **")));

    feed.sendText(QStringLiteral("sh/dx"));
    frames = sentFrames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].kind, 'D');
    EXPECT_EQ(frames[0].data, QByteArray("sh/dx\r"));

    QSignalSpy posted(&feed, &SpotFeed::spotPosted);
    const QByteArray spot = spotLine("K1TTT:", "14025.0", "JA1ABC");
    engine->deliver(frame('D', "K1TTT-5", "Hello W1AW\r" + spot.left(30)));
    engine->deliver(frame('D', "K1TTT-5", spot.mid(30) + "\r"));
    EXPECT_EQ(posted.count(), 1);
    EXPECT_TRUE(feed.monitor().contains(QStringLiteral("Hello W1AW")));

    feed.sendText(QStringLiteral(":d"));
    frames = sentFrames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].kind, 'd');
    EXPECT_EQ(frames[0].callTo, QStringLiteral("K1TTT-5"));
    const int bells = prompter.bells;
    engine->deliver(frame('d', "K1TTT-5", "*** DISCONNECTED From Station K1TTT-5\r"));
    EXPECT_TRUE(feed.connectedStation().isEmpty());
    EXPECT_EQ(prompter.bells, bells + 2);
    EXPECT_TRUE(feed.monitor().contains(QStringLiteral("** Disconnected from K1TTT-5 **")));
    EXPECT_EQ(feed.caption(), QStringLiteral("DX Spotting Setup"));
}

TEST_F(SpotFeedAgwTest, AfterATncSessionTheFirstNodeLineArrives)
{
    // A TNC session that ends before the TNC's first line end: its opening fragment is the
    // TNC's business, not the node's.
    feed.selectSource(SpotSource::Tnc);
    feed.open();
    ASSERT_EQ(devices.serialDevices.size(), 1u);
    devices.serialDevices.front()->deliver("cmd:");
    feed.selectSource(SpotSource::Agw);
    openAgw();
    engine->deliver(frame('C', "K1TTT-5", "*** CONNECTED With Station K1TTT-5\r"));
    QSignalSpy posted(&feed, &SpotFeed::spotPosted);
    engine->deliver(frame('D', "K1TTT-5", spotLine("K1TTT:", "14025.0", "JA1ABC") + "\r"));
    EXPECT_EQ(posted.count(), 1);
    EXPECT_TRUE(feed.monitor().contains(QStringLiteral("JA1ABC")));
}

TEST_F(SpotFeedAgwTest, TheEngineAddressComesFromTheUserSettings)
{
    settings.values[QStringLiteral("AgwHost")] = QStringLiteral("192.0.2.7");
    settings.values[QStringLiteral("AgwPort")] = QStringLiteral("8010");
    EXPECT_EQ(feed.agwAddress().host, QStringLiteral("192.0.2.7"));
    feed.settings().source = SpotSource::Agw;
    feed.open();
    ASSERT_EQ(devices.tcpConnections.size(), 1u);
    EXPECT_EQ(devices.tcpConnections.back()->host, QStringLiteral("192.0.2.7"));
    EXPECT_EQ(devices.tcpConnections.back()->port, 8010);

    for (const char* port : {"0", "65536", "80a"}) {
        settings.values[QStringLiteral("AgwPort")] = QString::fromLatin1(port);
        const int connects = devices.tcpConnections.back()->connectCount;
        feed.open();
        EXPECT_EQ(devices.tcpConnections.back()->connectCount, connects) << port;
        EXPECT_FALSE(feed.isListening()) << port;
        EXPECT_TRUE(feed.monitor().contains(QStringLiteral("must be a number from 1 to 65535"))) << port;
    }
    // An empty setting is no setting: the engine's usual port.
    settings.values[QStringLiteral("AgwPort")] = QString();
    feed.open();
    EXPECT_EQ(devices.tcpConnections.back()->port, 8000);
}

TEST_F(SpotFeedAgwTest, ConnectWithoutACallAsksForOne)
{
    openAgw();
    sentFrames();
    feed.sendText(QStringLiteral(":C "));
    EXPECT_TRUE(sentFrames().empty());
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("Call sign Required"));
    EXPECT_EQ(prompter.messages[0].text,
              QStringLiteral("You must enter a call sign to connect to such as :C Varno"));
    // Without a connection ordinary text goes nowhere.
    feed.sendText(QStringLiteral("hello"));
    EXPECT_TRUE(sentFrames().empty());
}

TEST_F(SpotFeedAgwTest, ClosingDisconnectsTheNodeFirst)
{
    openAgw();
    engine->deliver(frame('C', "K1TTT-5", "*** CONNECTED With Station K1TTT-5\r"));
    sentFrames();
    feed.close();
    const auto frames = sentFrames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].kind, 'd');
    EXPECT_FALSE(engine->isConnected());
    EXPECT_TRUE(feed.monitor().endsWith(QStringLiteral("** Port Closed **")));
}

TEST_F(SpotFeedAgwTest, OverlongFrameClosesTheConnection)
{
    openAgw();
    QByteArray header = frame('D', "K1TTT", {});
    header[28] = 0x01;
    header[29] = 0x00;
    header[30] = 0x01; // 65537 bytes announced
    engine->deliver(header);
    EXPECT_EQ(feed.state(), SpotFeed::State::Closed);
    EXPECT_TRUE(feed.monitor().contains(QStringLiteral("too long")));
}

TEST_F(SpotFeedAgwTest, NoOwnCallNoEngine)
{
    session.prefs.ownCall.clear();
    feed.settings().source = SpotSource::Agw;
    feed.open();
    EXPECT_TRUE(devices.tcpConnections.empty());
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("Call Sign Required!"));
    EXPECT_EQ(prompter.bells, 1);
}

TEST_F(SpotFeedAgwTest, EngineNotRunningGivesTheGuidance)
{
    feed.settings().source = SpotSource::Agw;
    feed.open();
    devices.tcpConnections.back()->fail(10061);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("Unable to connect to the AGW Packet Engine."));
    EXPECT_TRUE(feed.monitor().contains(QStringLiteral("- Click Open from this program.")));
    EXPECT_FALSE(feed.isListening());
}

} // namespace
} // namespace velk::testing
