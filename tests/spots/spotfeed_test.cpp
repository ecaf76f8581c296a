#include "spotfeed_fixture.h"

#include <QCoreApplication>
#include <QSignalSpy>

namespace velk::testing {
namespace {

TEST_F(SpotFeedTest, TelnetSpotsSplitAndBatchedArePostedOnceEach)
{
    QSignalSpy posted(&feed, &SpotFeed::spotPosted);
    FakeTcpConnection& tcp = openTelnet();
    EXPECT_EQ(tcp.host, QStringLiteral("dxc.example.org"));
    EXPECT_EQ(tcp.port, 7300);
    EXPECT_EQ(feed.state(), SpotFeed::State::Open);
    const QByteArray first = spotLine("W3LPL:", "14025.0", "JA1ABC");
    const QByteArray second = spotLine("K1TTT:", "7003.5", "DL1XYZ");
    tcp.deliver(first.left(20));
    EXPECT_EQ(posted.count(), 0);
    tcp.deliver(first.mid(20) + "\r\n" + second + "\r\n\a");
    ASSERT_EQ(posted.count(), 2);
    EXPECT_EQ(feed.list().rowCount(), 2);
    EXPECT_EQ(feed.list().entry(0).call, QStringLiteral("DL1XYZ"));
    EXPECT_DOUBLE_EQ(feed.list().entry(0).frequencyMhz, 7.0035);
    EXPECT_EQ(feed.list().entry(0).country, QStringLiteral("Germany"));
    EXPECT_EQ(feed.list().entry(1).call, QStringLiteral("JA1ABC"));
    EXPECT_EQ(feed.ring().slot(SpotRing::newestSlot).call, QStringLiteral("DL1XYZ"));
    EXPECT_TRUE(feed.monitor().contains(QString::fromLatin1(first)));
}

TEST_F(SpotFeedTest, ABurstIsWorkedOffInSlicesInArrivalOrder)
{
    QSignalSpy posted(&feed, &SpotFeed::spotPosted);
    FakeTcpConnection& tcp = openTelnet();
    QByteArray burst;
    for (int i = 0; i < 3000; ++i) {
        burst += spotLine("W3LPL:", "14025.0", ("K" + QByteArray::number(i) + "AB").constData()) + "\r\n";
    }
    tcp.deliver(burst + "login: ");
    // The prompt after the burst waits for the lines before it, which are still worked off in
    // slices rather than all at once.
    feed.flushPendingPrompt();
    EXPECT_GT(feed.backlog(), 0u);
    EXPECT_FALSE(feed.monitor().contains(QStringLiteral("login:")));
    while (feed.backlog() > 0) {
        QCoreApplication::processEvents();
    }
    feed.flushPendingPrompt();
    EXPECT_EQ(posted.count(), 3000);
    EXPECT_EQ(feed.list().entry(0).call, QStringLiteral("K2999AB"));
    EXPECT_TRUE(feed.monitor().endsWith(QStringLiteral("login: \n")));
    EXPECT_EQ(feed.droppedLines(), 0);
}

TEST_F(SpotFeedTest, TheBacklogIsBounded)
{
    FakeTcpConnection& tcp = openTelnet();
    const QByteArray line = "WWV de W0MU <18>:   SFI=70, A=5, K=1\r\n";
    QByteArray flood;
    flood.reserve(line.size() * (SpotFeed::maxBacklog + 100));
    for (std::size_t i = 0; i < SpotFeed::maxBacklog + 100; ++i) {
        flood += line;
    }
    tcp.deliver(flood);
    EXPECT_EQ(feed.droppedLines(), 100);
    EXPECT_LE(feed.backlog(), SpotFeed::maxBacklog);
    // More of the same burst while it is being worked off: the monitor tells once, at its end.
    tcp.deliver(flood);
    EXPECT_FALSE(feed.monitor().contains(QStringLiteral("dropped")));
    while (feed.backlog() > 0) {
        QCoreApplication::processEvents();
    }
    const int dropped = feed.droppedLines();
    EXPECT_GT(dropped, 100);
    EXPECT_EQ(feed.monitor().count(QStringLiteral("dropped")), 1);
    EXPECT_TRUE(feed.monitor().endsWith(
        QStringLiteral("** %1 received lines dropped: they came faster than they could be shown **\n")
            .arg(dropped)));

    tcp.deliver(flood);
    feed.close();
    EXPECT_EQ(feed.backlog(), 0u);
    // A burst cut short by closing is reported before the port closes.
    EXPECT_TRUE(feed.monitor().endsWith(QStringLiteral("** 100 received lines dropped: they came faster than "
                                                       "they could be shown **\n\n\n** Port Closed **")));
    feed.close(); // twice is harmless
    EXPECT_EQ(feed.monitor().count(QStringLiteral("Port Closed")), 1);
}

// A flood in one read: the lines the backlog cannot keep are dropped at once, oldest first and
// never made into spots, and the rest come out a slice at a time in arrival order.
TEST_F(SpotFeedTest, AFloodInOneReadKeepsTheNewestLinesAndPostsThemInSlices)
{
    QSignalSpy posted(&feed, &SpotFeed::spotPosted);
    QString firstPosted;
    QObject::connect(&feed, &SpotFeed::spotPosted, &feed, [&] {
        if (firstPosted.isEmpty()) {
            firstPosted = feed.ring().slot(SpotRing::newestSlot).call;
        }
    });
    FakeTcpConnection& tcp = openTelnet();
    const int total = static_cast<int>(SpotFeed::maxBacklog) + 30000;
    QByteArray flood;
    for (int i = 0; i < total; ++i) {
        flood += spotLine("W3LPL:", "14025.0", ("K" + QByteArray::number(i) + "AB").constData()) + "\r\n";
    }
    tcp.deliver(flood);
    EXPECT_EQ(feed.droppedLines(), 30000);
    EXPECT_LE(posted.count(), SpotFeed::sliceLines);
    EXPECT_EQ(feed.backlog(), SpotFeed::maxBacklog - static_cast<std::size_t>(posted.count()));
    EXPECT_EQ(firstPosted, QStringLiteral("K30000AB"));
    // The idle timer of a prompt finds none in a flood of whole lines, and hurries nothing.
    const std::size_t waiting = feed.backlog();
    feed.flushPendingPrompt();
    EXPECT_EQ(feed.backlog(), waiting);
    while (feed.backlog() > 0) {
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(posted.count(), static_cast<int>(SpotFeed::maxBacklog));
    EXPECT_EQ(feed.list().entry(0).call, QStringLiteral("K%1AB").arg(total - 1));
    EXPECT_TRUE(feed.monitor().endsWith(
        QStringLiteral("** 30000 received lines dropped: they came faster than they could be shown **\n")));
}

TEST_F(SpotFeedTest, PromptWithoutLineEndShowsAfterIdleAndIsNoSpot)
{
    QSignalSpy posted(&feed, &SpotFeed::spotPosted);
    FakeTcpConnection& tcp = openTelnet();
    tcp.deliver("Welcome to the node\r\nlogin: ");
    EXPECT_FALSE(feed.monitor().contains(QStringLiteral("login:")));
    feed.flushPendingPrompt();
    EXPECT_TRUE(feed.monitor().endsWith(QStringLiteral("login: \n")));
    // A spot still arriving is no prompt: it waits for its line end.
    tcp.deliver("DX de W3LPL:     14025.0  JA");
    feed.flushPendingPrompt();
    tcp.deliver("1ABC       CQ\r\n");
    EXPECT_EQ(posted.count(), 1);
    EXPECT_EQ(feed.list().entry(0).call, QStringLiteral("JA1ABC"));
}

TEST_F(SpotFeedTest, ListDxOnlyKeepsOtherLinesOutOfTheMonitor)
{
    FakeTcpConnection& tcp = openTelnet();
    feed.setListDxOnly(true);
    tcp.deliver("WWV de W0MU <18>:   SFI=70, A=5, K=1\r\n" + spotLine("W3LPL:", "14025.0", "JA1ABC") +
                "\r\n");
    EXPECT_FALSE(feed.monitor().contains(QStringLiteral("WWV")));
    EXPECT_TRUE(feed.monitor().contains(QStringLiteral("JA1ABC")));
}

TEST_F(SpotFeedTest, FarEndClosingIsNoticed)
{
    FakeTcpConnection& tcp = openTelnet();
    QSignalSpy states(&feed, &SpotFeed::stateChanged);
    tcp.closeFarEnd();
    EXPECT_EQ(feed.state(), SpotFeed::State::Closed);
    EXPECT_FALSE(feed.isListening());
    EXPECT_TRUE(feed.monitor().contains(QStringLiteral("dxc.example.org closed the connection")));
    EXPECT_TRUE(feed.monitor().endsWith(QStringLiteral("** Port Closed **")));
    EXPECT_EQ(states.count(), 1);
}

TEST_F(SpotFeedTest, SocketErrorsShowTheirMessages)
{
    struct Case
    {
        int number;
        const char* message;
    };
    for (const Case c :
         {Case{10061, "ERROR: Connection is forcefully rejected."},
          Case{11001, "ERROR: Authoritative answer: Host not found."},
          Case{10060, "ERROR: Socket has been shut down."}, Case{10059, "Error number 10059"}}) {
        FakeTcpConnection& tcp = openTelnet();
        const int bells = prompter.bells;
        tcp.fail(c.number);
        EXPECT_TRUE(
            feed.monitor().contains(QString::fromLatin1(c.message) + QStringLiteral("\n\n** Port Closed **")))
            << c.number;
        EXPECT_EQ(feed.state(), SpotFeed::State::Closed);
        EXPECT_EQ(prompter.bells, bells + 1);
    }
}

TEST_F(SpotFeedTest, PortOutsideItsRangeIsRefused)
{
    for (const char* port : {"0", "65536", "99999", "-1", "abc", ""}) {
        const auto before = devices.tcpConnections.empty() ? 0 : devices.tcpConnections.back()->connectCount;
        openTelnet("dxc.example.org", port);
        EXPECT_TRUE(feed.monitor().contains(QStringLiteral("ERROR: The property value is invalid."))) << port;
        EXPECT_EQ(devices.tcpConnections.back()->connectCount, before) << port;
        EXPECT_FALSE(feed.isListening());
    }
}

TEST_F(SpotFeedTest, TelnetSendsLinesWithCrLfOnlyWhenConnected)
{
    feed.settings().source = SpotSource::Telnet;
    feed.settings().telnetHost = QStringLiteral("localhost");
    feed.open();
    FakeTcpConnection& tcp = *devices.tcpConnections.back();
    feed.sendText(QStringLiteral("W1AW"));
    EXPECT_TRUE(feed.monitor().endsWith(
        QStringLiteral("**  Connection not yet established.  Please wait a moment and try again.\n\n")));
    tcp.accept();
    feed.sendText(QStringLiteral("sh/dx"));
    EXPECT_EQ(tcp.written, QByteArray("sh/dx\r\n"));
}

TEST_F(SpotFeedTest, OwnCallSpottedAlertsEvenWithoutAFrequency)
{
    QSignalSpy alerts(&feed, &SpotFeed::ownCallSpotted);
    QSignalSpy posted(&feed, &SpotFeed::spotPosted);
    feed.postSpot(QString::fromLatin1(spotLine("K1TTT:", "14025.0", "w1aw")));
    feed.postSpot(QString::fromLatin1(spotLine("K1TTT:", "abc", "W1AW")));
    ASSERT_EQ(alerts.count(), 2);
    EXPECT_TRUE(alerts.at(0).at(0).toString().startsWith(QStringLiteral("de K1TTT:")));
    EXPECT_EQ(posted.count(), 1);
    EXPECT_EQ(feed.list().rowCount(), 1);
}

TEST_F(SpotFeedTest, ListKeeps200NewestAndRingWithdrawsRespots)
{
    for (int i = 0; i < 210; ++i) {
        const QByteArray call = "K" + QByteArray::number(i) + "AB";
        feed.postSpot(QString::fromLatin1(spotLine("W3LPL:", "14025.0", call.constData())));
    }
    EXPECT_EQ(feed.list().rowCount(), SpotListModel::maxEntries);
    EXPECT_EQ(feed.list().entry(0).call, QStringLiteral("K209AB"));
    EXPECT_EQ(feed.list().entry(199).call, QStringLiteral("K10AB"));
    feed.postSpot(QString::fromLatin1(spotLine("W3LPL:", "14030.0", "K205AB")));
    EXPECT_EQ(feed.ring().slot(SpotRing::newestSlot).call, QStringLiteral("K205AB"));
    EXPECT_FALSE(feed.ring().slot(SpotRing::newestSlot - 5).isShown());
    EXPECT_EQ(feed.list().entry(5).call, QStringLiteral("K205AB"));
    const QModelIndex frequency = feed.list().index(0, SpotListModel::FrequencyColumn);
    EXPECT_EQ(feed.list().data(frequency).toString(), QStringLiteral("14.03"));
    EXPECT_DOUBLE_EQ(feed.list().data(frequency, SpotListModel::frequencyRole).toDouble(), 14.03);
    EXPECT_EQ(feed.list().headerData(SpotListModel::CommentsColumn, Qt::Horizontal).toString(),
              QStringLiteral("Comments"));
}

TEST_F(SpotFeedTest, MonitorIsTrimmedToItsLastCharacters)
{
    feed.replaceMonitor(QString(9999, QLatin1Char('a')));
    feed.appendMonitor(QStringLiteral("bc"));
    EXPECT_EQ(feed.monitor().size(), SpotFeed::monitorKeep);
    EXPECT_TRUE(feed.monitor().endsWith(QStringLiteral("abc")));
}

TEST_F(SpotFeedTest, TncOpensWithItsHandshakeAndDropsTheFirstFragment)
{
    environment.values[QStringLiteral("VELK_COM2")] = QStringLiteral("/dev/pts/77");
    feed.selectSource(SpotSource::Tnc);
    EXPECT_TRUE(feed.monitor().startsWith(QStringLiteral("TNC:")));
    feed.settings().commPort = 2;
    feed.settings().power = QStringLiteral("D");
    feed.open();
    ASSERT_EQ(devices.serialDevices.size(), 1u);
    FakeSerialDevice& tnc = *devices.serialDevices.front();
    EXPECT_EQ(tnc.openedPath, QStringLiteral("/dev/pts/77"));
    EXPECT_EQ(tnc.openedSettings.baud, 9600);
    EXPECT_EQ(tnc.openedSettings.handshake, Handshake::RtsCts);
    const std::vector<std::pair<char, bool>> lines = {{'D', false}, {'R', false}, {'R', true}, {'D', true}};
    EXPECT_EQ(tnc.lineChanges, lines);
    EXPECT_TRUE(feed.monitor().endsWith(QStringLiteral("** TNC Serial Port Open **\n\n")));

    QSignalSpy posted(&feed, &SpotFeed::spotPosted);
    const QByteArray spot = spotLine("K1TTT:", "14025.0", "JA1ABC");
    tnc.deliver("025.0  XX1XX   half a line\r" + spot + "\r");
    tnc.deliver(spot + "\r"); // heard again: neither shown nor posted
    EXPECT_EQ(posted.count(), 1);
    EXPECT_FALSE(feed.monitor().contains(QStringLiteral("half a line")));
    EXPECT_EQ(feed.monitor().count(QStringLiteral("JA1ABC")), 1);

    feed.sendText(QStringLiteral("c k1ttt-5"));
    EXPECT_TRUE(feed.sendCommandCharacter());
    EXPECT_EQ(tnc.written, QByteArray("c k1ttt-5\r\x03"));
}

TEST_F(SpotFeedTest, TncThatCannotOpenIsReported)
{
    devices.prepareSerial = [](FakeSerialDevice& device) { device.openError = QStringLiteral("busy"); };
    feed.selectSource(SpotSource::Tnc);
    feed.open();
    EXPECT_TRUE(feed.monitor().contains(QStringLiteral("** Unable to open TNC Serial Port **")));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("Invalid Comm Settings."));
    EXPECT_FALSE(feed.isListening());
}

TEST_F(SpotFeedTest, SettingsSurviveInPackSpot)
{
    feed.settings().source = SpotSource::Telnet;
    feed.settings().telnetHost = QStringLiteral("dxc.example.org");
    feed.settings().listMode = true;
    feed.setListDxOnly(true);
    ASSERT_TRUE(feed.saveSettings());
    SpotFeed again(platform, session);
    again.loadSettings();
    EXPECT_EQ(again.settings().source, SpotSource::Telnet);
    EXPECT_EQ(again.settings().telnetHost, QStringLiteral("dxc.example.org"));
    EXPECT_TRUE(again.settings().listMode);
    EXPECT_FALSE(again.listDxOnly());
}

TEST_F(SpotFeedTest, SpotLastNamesTheLastContact)
{
    EXPECT_EQ(feed.spotLastText(), QStringLiteral("DX Frequency in kHz "));
}

} // namespace
} // namespace velk::testing
