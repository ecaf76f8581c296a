// The RTTY link over a scripted local channel: connecting, retrying, the items both ways, keys,
// and a terminal that misbehaves.
#include "common/platform/fake/fakeplatform.h"
#include "common/qtprinters.h"
#include "rtty/itemprotocol.h"
#include "rtty/rttykeys.h"
#include "rtty/rttylink.h"
#include "rtty/terminaltransport.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace velk {
namespace {

const QString connectedText = QStringLiteral(
    "Connected with Dumo!\n\nFor best display of both programs on your screen, click Options > Appearance > "
    "Form Size and enter 85 from this program's menu options.");

class RttyLinkTest : public ::testing::Test
{
protected:
    FakePrompter prompter;
    FakeClock clock;
    FakeSettingsStore settings;
    FakeEnvironment environment;
    FakeDevices devices;
    Platform platform{prompter, clock, settings, environment, devices};
    RttyLink link{platform};

    FakeLocalChannel* channel()
    {
        return devices.localChannels.empty() ? nullptr : devices.localChannels.back().data();
    }

    static void settle() { QCoreApplication::processEvents(); }

    // The terminal answers every advise with an empty value, then values.
    static QByteArray allAnswers(const QByteArray& extra = {})
    {
        QByteArray bytes;
        for (const QByteArray& item : RttyLink::itemNames()) {
            bytes += "DATA " + item + "\n";
        }
        return bytes + extra;
    }

    void connectLink()
    {
        link.setStation(QStringLiteral("W9XYZ"), QStringLiteral("LEE"), QStringLiteral("IL"));
        link.apply(QStringLiteral("RY"), true);
        ASSERT_NE(channel(), nullptr);
        channel()->accept();
        channel()->deliver(allAnswers());
        settle();
        ASSERT_TRUE(link.isConnected());
        channel()->takeWritten();
        prompter.messages.clear();
    }

    static void fireRetry(RttyLink& link) { QMetaObject::invokeMethod(&link.retryTimer(), "timeout"); }
};

TEST(RttyKeys, QtKeysBecomeTheTerminalsWindowsKeyCodes)
{
    const std::pair<int, int> keys[] = {
        {Qt::Key_F1, 112},      {Qt::Key_F10, 121},   {Qt::Key_F12, 123},      {Qt::Key_F13, 124},
        {Qt::Key_A, 65},        {Qt::Key_Z, 90},      {Qt::Key_0, 48},         {Qt::Key_9, 57},
        {Qt::Key_Space, 32},    {Qt::Key_Return, 13}, {Qt::Key_Enter, 13},     {Qt::Key_Escape, 27},
        {Qt::Key_Backspace, 8}, {Qt::Key_Tab, 9},     {Qt::Key_Shift, 16},     {Qt::Key_Up, 38},
        {Qt::Key_Delete, 46},   {Qt::Key_Slash, 191}, {Qt::Key_Question, 191}, {Qt::Key_Period, 190},
        {Qt::Key_Exclam, 0},    {Qt::Key_unknown, 0},
    };
    for (const auto& [qtKey, code] : keys) {
        EXPECT_EQ(windowsKeyCode(qtKey), code) << qtKey;
    }
}

TEST_F(RttyLinkTest, ConnectsByAdvisingEveryItemAndHandsOverTheStation)
{
    link.setStation(QStringLiteral("W9XYZ"), QStringLiteral("LEE"), QStringLiteral("IL"));
    link.apply(QStringLiteral("RY"), true);
    ASSERT_NE(channel(), nullptr);
    EXPECT_EQ(channel()->connectedName, QStringLiteral("DumoRTTY.frmDigitalDest"));
    EXPECT_TRUE(link.isAttempting());
    channel()->accept();
    QByteArray advises;
    for (const QByteArray& item : RttyLink::itemNames()) {
        advises += "ADVISE " + item + "\n";
    }
    EXPECT_EQ(channel()->takeWritten(), advises);
    ASSERT_EQ(RttyLink::itemNames().size(), 20);

    // Values the terminal holds at connect time fill the window's items, not the entry boxes.
    QSignalSpy values(&link, &RttyLink::valueFromTerminal);
    channel()->deliver(allAnswers().replace("DATA txtSUrCall\n", "DATA txtSUrCall K1OLD\n"));
    settle();
    EXPECT_TRUE(link.isConnected());
    EXPECT_EQ(values.count(), 0);
    EXPECT_EQ(link.itemText("txtSUrCall"), QStringLiteral("K1OLD"));
    EXPECT_EQ(channel()->takeWritten(), "POKE txtBMyCall W9XYZ\nPOKE txtBField4 LEE\nPOKE txtBField2 IL\n");
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("Connected with Dumo!"));
    EXPECT_EQ(prompter.messages[0].text, connectedText);
    EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Information);
    EXPECT_FALSE(link.retryTimer().isActive());
}

TEST_F(RttyLinkTest, SocketNameComesFromTheEnvironmentOrTheSettings)
{
    settings.values[QStringLiteral("UserRttySocket")] = QStringLiteral("/tmp/dumo.sock");
    EXPECT_EQ(link.socketName(), QStringLiteral("/tmp/dumo.sock"));
    environment.values[QStringLiteral("VELK_RTTY_SOCKET")] = QStringLiteral("velk-test-socket");
    EXPECT_EQ(link.socketName(), QStringLiteral("velk-test-socket"));
}

TEST_F(RttyLinkTest, BackgroundFailuresRetryQuietlyAndOnlyReconnectShowsTheError)
{
    QSignalSpy notices(&link, &RttyLink::notice);
    link.apply(QStringLiteral("RY"), true);
    channel()->refuse();
    EXPECT_FALSE(link.isConnected());
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(link.retryTimer().isActive());
    ASSERT_EQ(notices.count(), 1);
    EXPECT_EQ(notices[0][0].toString(), QStringLiteral("Unable to find Dumo RTTY."));

    // Retries say nothing more.
    for (int i = 0; i < 3; ++i) {
        fireRetry(link);
        EXPECT_TRUE(channel()->connecting);
        channel()->refuse();
    }
    EXPECT_EQ(channel()->connectCount, 4);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(notices.count(), 1);

    link.reconnect();
    channel()->refuse();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("Unable to find Dumo RTTY."));
    EXPECT_EQ(prompter.messages[0].text,
              QStringLiteral("Please start Dumo RTTY and click Setup to try again!"));
    EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(link.retryTimer().isActive());

    // A background retry that succeeds says so on the status line, not in a box.
    fireRetry(link);
    channel()->accept();
    channel()->deliver(allAnswers());
    settle();
    EXPECT_TRUE(link.isConnected());
    EXPECT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(notices.last()[0].toString(), QStringLiteral("Connected with Dumo!"));
}

TEST_F(RttyLinkTest, ARefusedItemOrASilentTerminalFailsTheAttempt)
{
    link.apply(QStringLiteral("RY"), true);
    channel()->accept();
    channel()->deliver("DATA txtSUrCall\nNAK txtSMyCall\n");
    settle();
    EXPECT_FALSE(link.isConnected());
    EXPECT_FALSE(link.isAttempting());
    EXPECT_TRUE(link.retryTimer().isActive());

    fireRetry(link);
    channel()->accept();
    channel()->deliver("DATA txtSUrCall\n");
    settle();
    EXPECT_TRUE(link.isAttempting());
    // The rest of the answers never come.
    auto* transport = link.findChild<TerminalTransport*>();
    ASSERT_NE(transport, nullptr);
    EXPECT_TRUE(transport->answerTimer().isActive());
    QMetaObject::invokeMethod(&transport->answerTimer(), "timeout");
    EXPECT_FALSE(link.isAttempting());
    EXPECT_FALSE(link.isConnected());
    EXPECT_FALSE(channel()->isConnected());
    EXPECT_TRUE(link.retryTimer().isActive());
}

// A prompter whose box stays open while the link keeps working behind it.
class ReenteringPrompter : public FakePrompter
{
public:
    std::function<void()> whileOpen;
    MessageAnswer message(const QString& text, const QString& title, MessageIcon icon,
                          MessageButtons buttons) override
    {
        if (whileOpen) {
            auto again = std::move(whileOpen);
            again();
        }
        return FakePrompter::message(text, title, icon, buttons);
    }
};

TEST_F(RttyLinkTest, NoSecondBoxWhileOneIsOpen)
{
    ReenteringPrompter boxes;
    Platform withBoxes{boxes, clock, settings, environment, devices};
    RttyLink other{withBoxes};
    other.apply(QStringLiteral("RY"), true);
    channel()->refuse();
    boxes.whileOpen = [&] {
        // While the first error box is open, the retry and another Reconnect fail too.
        fireRetry(other);
        channel()->refuse();
        other.reconnect();
        channel()->refuse();
    };
    other.reconnect();
    channel()->refuse();
    EXPECT_EQ(boxes.messages.size(), 1u);
}

TEST_F(RttyLinkTest, ABoxWaitsWhileAnotherDialogIsOpen)
{
    bool otherDialogOpen = true;
    link.setBoxGate([&] { return !otherDialogOpen; });
    link.apply(QStringLiteral("RY"), true);
    channel()->accept();
    channel()->deliver(allAnswers());
    settle();
    ASSERT_TRUE(link.isConnected());
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(link.boxTimer().isActive());
    QMetaObject::invokeMethod(&link.boxTimer(), "timeout");
    EXPECT_TRUE(prompter.messages.empty()); // still open: it waits on
    EXPECT_TRUE(link.boxTimer().isActive());
    otherDialogOpen = false;
    QMetaObject::invokeMethod(&link.boxTimer(), "timeout");
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("Connected with Dumo!"));
}

TEST_F(RttyLinkTest, ValuesFromTheTerminalAreFilteredAndUpperCased)
{
    connectLink();
    QSignalSpy values(&link, &RttyLink::valueFromTerminal);
    channel()->deliver(
        "DATA txtSUrCall k1\"abc\\n\nDATA txtSField2 ny\nDATA txtSField4 jos\xe9\nDATA txtSField1 x\n");
    settle();
    ASSERT_EQ(values.count(), 3);
    EXPECT_EQ(values[0][0].value<PeerField>(), PeerField::Call);
    EXPECT_EQ(values[0][1].toString(), QStringLiteral("K1ABC"));
    EXPECT_EQ(values[1][0].value<PeerField>(), PeerField::Location);
    EXPECT_EQ(values[1][1].toString(), QStringLiteral("NY"));
    EXPECT_EQ(values[2][0].value<PeerField>(), PeerField::Name);
    EXPECT_EQ(values[2][1].toString(), QStringLiteral("JOS\u00c9"));
    EXPECT_EQ(link.itemText("txtSField1"), QStringLiteral("x"));
}

TEST_F(RttyLinkTest, AFloodIsReadInBoundedChunksAndOnlyTheLastValueCounts)
{
    connectLink();
    QSignalSpy values(&link, &RttyLink::valueFromTerminal);
    QByteArray flood(1024 * 1024, 'j'); // a megabyte line
    flood += '\n';
    for (int i = 0; i < 5000; ++i) {
        flood += "DATA txtSUrCall K" + QByteArray::number(i) + "\n";
    }
    channel()->deliver(flood);
    settle(); // one event turn takes one chunk
    EXPECT_GT(channel()->bytesAvailable(), 0);
    for (int turn = 0; turn < 200 && channel()->bytesAvailable() > 0; ++turn) {
        settle();
    }
    settle();
    EXPECT_EQ(channel()->bytesAvailable(), 0);
    ASSERT_GE(values.count(), 1);
    // At most one value per chunk, and the last one wins.
    EXPECT_LE(values.count(), flood.size() / TerminalTransport::readChunk + 2);
    EXPECT_EQ(values.last()[1].toString(), QStringLiteral("K4999"));
    EXPECT_TRUE(link.isConnected());
}

TEST_F(RttyLinkTest, KeysGoTwiceWithF10AsF13AndF12TogglesKeyboardMode)
{
    connectLink();
    QSignalSpy mode(&link, &RttyLink::keyboardRttyModeChanged);
    EXPECT_EQ(link.forwardKey(65), 65);
    EXPECT_EQ(link.forwardKey(65), 65);
    EXPECT_EQ(link.forwardKey(121), 124);
    EXPECT_EQ(channel()->takeWritten(),
              "POKE txtBField8 \nPOKE txtBField8 65\nPOKE txtBField8 \nPOKE txtBField8 65\n"
              "POKE txtBField8 \nPOKE txtBField8 124\n");
    EXPECT_EQ(link.forwardKey(123), 123);
    EXPECT_TRUE(link.keyboardRttyMode());
    EXPECT_EQ(link.forwardKey(123), 123);
    EXPECT_FALSE(link.keyboardRttyMode());
    EXPECT_EQ(mode.count(), 2);
    EXPECT_EQ(channel()->takeWritten(),
              "POKE txtBField8 \nPOKE txtBField8 123\nPOKE txtBField8 \nPOKE txtBField8 123\n");

    link.setCallBeingEntered(QStringLiteral("K1AB"));
    EXPECT_EQ(channel()->takeWritten(), "POKE txtBUrCall K1AB\n");
    link.setStation(QStringLiteral("N0CALL"), QStringLiteral("JO"), QStringLiteral("MN"));
    EXPECT_EQ(channel()->takeWritten(), "POKE txtBMyCall N0CALL\nPOKE txtBField4 JO\nPOKE txtBField2 MN\n");
}

TEST_F(RttyLinkTest, OutsideAnRttyLogNothingIsLinkedOrForwarded)
{
    connectLink();
    link.apply(QStringLiteral("CW"), true);
    EXPECT_FALSE(link.isConnected());
    EXPECT_FALSE(link.retryTimer().isActive());
    const int attempts = channel()->connectCount;
    link.reconnect();
    EXPECT_EQ(channel()->connectCount, attempts);
    EXPECT_EQ(link.forwardKey(121), 0);
    link.setCallBeingEntered(QStringLiteral("K1AB"));
    EXPECT_TRUE(channel()->takeWritten().isEmpty());

    // An RTTY log without the option: no attempt.
    link.apply(QStringLiteral("RY"), false);
    EXPECT_EQ(channel()->connectCount, attempts);
}

TEST_F(RttyLinkTest, ADroppedOrStalledTerminalIsRetriedAndKeyboardModeEnds)
{
    connectLink();
    link.forwardKey(123);
    ASSERT_TRUE(link.keyboardRttyMode());
    QSignalSpy notices(&link, &RttyLink::notice);
    channel()->drop();
    EXPECT_FALSE(link.isConnected());
    EXPECT_FALSE(link.keyboardRttyMode());
    EXPECT_TRUE(link.retryTimer().isActive());
    ASSERT_EQ(notices.count(), 1);
    EXPECT_EQ(notices[0][0].toString(), QStringLiteral("Lost the link to Dumo RTTY."));
    EXPECT_EQ(link.forwardKey(65), 0);

    fireRetry(link);
    channel()->accept();
    channel()->deliver(allAnswers());
    settle();
    ASSERT_TRUE(link.isConnected());

    // A terminal that stops reading: the link gives up instead of queueing without end.
    channel()->unsentBytes = TerminalTransport::maxUnsent + 1;
    link.forwardKey(65);
    EXPECT_FALSE(link.isConnected());
    EXPECT_TRUE(link.retryTimer().isActive());
}

} // namespace
} // namespace velk
