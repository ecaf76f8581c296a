// The RTTY link over a scripted local channel: connecting, retrying, the items both ways, keys,
// and a terminal that misbehaves.
#include "common/platform/fake/fakeplatform.h"
#include "common/qtprinters.h"
#include "rtty/itemprotocol.h"
#include "rtty/rttykeys.h"
#include "rtty/rttylink.h"
#include "rtty/terminaltransport.h"
#include "support/platformfakes.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace velk {
namespace {

const QString connectedText = QStringLiteral(
    "Connected with Dumo!\n\nFor best display of both programs on your screen, click Options > Appearance > "
    "Form Size and enter 85 from this program's menu options.");

constexpr uint ourUser = 1000;
constexpr uint otherUser = 1001;

class RttyLinkTest : public ::testing::Test, protected velk::testing::PlatformFakes
{
protected:
    RttyLink link{platform};
    // Who owns which path: a test cannot chown to another user, so the file system is asked here.
    std::map<QString, uint> owners;

    void SetUp() override
    {
        environment.values[QStringLiteral("XDG_RUNTIME_DIR")] = QStringLiteral("/run/user/1000");
        link.setFileOwnership({[this](const QString& path) -> std::optional<uint> {
                                   const auto found = owners.find(path);
                                   return found == owners.end() ? std::nullopt : std::optional(found->second);
                               },
                               ourUser});
    }

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

TEST_F(RttyLinkTest, EveryKeyGoesAsItsWindowsKeyCode)
{
    connectLink();
    constexpr Qt::KeyboardModifiers none = Qt::NoModifier;
    constexpr Qt::KeyboardModifiers keypad = Qt::KeypadModifier;
    constexpr Qt::KeyboardModifiers shift = Qt::ShiftModifier;
    struct Case
    {
        int qtKey;
        Qt::KeyboardModifiers modifiers;
        int code; // what the terminal receives; 0: nothing
    };
    const Case cases[] = {
        {Qt::Key_F1, none, 112},         {Qt::Key_F10, none, 124}, // never F10 itself
        {Qt::Key_F11, none, 122},        {Qt::Key_F13, none, 124},
        {Qt::Key_A, none, 65},           {Qt::Key_Z, shift, 90},
        {Qt::Key_0, none, 48},           {Qt::Key_9, none, 57},
        {Qt::Key_Space, none, 32},       {Qt::Key_Return, none, 13},
        {Qt::Key_Enter, keypad, 13},     {Qt::Key_Escape, none, 27},
        {Qt::Key_Backspace, none, 8},    {Qt::Key_Tab, none, 9},
        {Qt::Key_Shift, shift, 16},      {Qt::Key_CapsLock, none, 20},
        {Qt::Key_Up, none, 38},          {Qt::Key_Delete, none, 46},
        {Qt::Key_Delete, keypad, 46}, // the keypad without Num Lock: the cursor keys' codes
        {Qt::Key_End, keypad, 35},       {Qt::Key_BracketLeft, none, 219},
        {Qt::Key_BraceLeft, shift, 219}, {Qt::Key_BracketRight, none, 221},
        {Qt::Key_Backslash, none, 220},  {Qt::Key_Bar, shift, 220},
        {Qt::Key_Apostrophe, none, 222}, {Qt::Key_QuoteDbl, shift, 222},
        {Qt::Key_QuoteLeft, none, 192},  {Qt::Key_AsciiTilde, shift, 192},
        {Qt::Key_Semicolon, none, 186},  {Qt::Key_Equal, none, 187},
        {Qt::Key_Comma, none, 188},      {Qt::Key_Minus, none, 189},
        {Qt::Key_Period, none, 190},     {Qt::Key_Slash, none, 191},
        {Qt::Key_Question, shift, 191},  {Qt::Key_Exclam, shift, 49}, // a shifted digit is the digit's key
        {Qt::Key_ParenRight, shift, 48}, {Qt::Key_Asterisk, shift, 56},
        {Qt::Key_0, keypad, 96},         {Qt::Key_1, keypad, 97},
        {Qt::Key_9, keypad, 105},        {Qt::Key_Asterisk, keypad, 106},
        {Qt::Key_Plus, keypad, 107},     {Qt::Key_Minus, keypad, 109},
        {Qt::Key_Period, keypad, 110},   {Qt::Key_Slash, keypad, 111},
        {Qt::Key_unknown, none, 0},      {Qt::Key_Adiaeresis, none, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(link.forwardKey(c.qtKey, c.modifiers), c.code) << c.qtKey;
        const QByteArray expected =
            c.code == 0 ? QByteArray()
                        : "POKE txtBField8 \nPOKE txtBField8 " + QByteArray::number(c.code) + "\n";
        EXPECT_EQ(channel()->takeWritten(), expected) << c.qtKey;
    }
}

TEST_F(RttyLinkTest, ConnectsByAdvisingEveryItemAndHandsOverTheStation)
{
    link.setStation(QStringLiteral("W9XYZ"), QStringLiteral("LEE"), QStringLiteral("IL"));
    link.apply(QStringLiteral("RY"), true);
    ASSERT_NE(channel(), nullptr);
    EXPECT_EQ(channel()->connectedName, QStringLiteral("/run/user/1000/DumoRTTY.frmDigitalDest"));
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

TEST_F(RttyLinkTest, TheSocketIsOursInTheRuntimeFolderAndAnotherUsersIsRefused)
{
    const QString inRuntime = QStringLiteral("/run/user/1000/DumoRTTY.frmDigitalDest");
    EXPECT_EQ(link.socketPlace().path, inRuntime);
    EXPECT_TRUE(link.socketPlace().refusal.isEmpty());
    settings.values[QStringLiteral("UserRttySocket")] = QStringLiteral("/tmp/dumo.sock");
    EXPECT_EQ(link.socketPlace().path, QStringLiteral("/tmp/dumo.sock"));
    environment.values[QStringLiteral("VELK_RTTY_SOCKET")] = QStringLiteral("velk-test-socket");
    EXPECT_EQ(link.socketPlace().path, QStringLiteral("/run/user/1000/velk-test-socket"));

    // Without a runtime folder: one of our own under the temporary folder, owner-only.
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    environment.values.remove(QStringLiteral("VELK_RTTY_SOCKET"));
    environment.values.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    environment.values[QStringLiteral("TMPDIR")] = temp.path();
    settings.values.remove(QStringLiteral("UserRttySocket"));
    const QString folder = temp.path() + QStringLiteral("/velk-1000");
    owners[folder] = ourUser;
    EXPECT_EQ(link.socketPlace().path, folder + QStringLiteral("/DumoRTTY.frmDigitalDest"));
    EXPECT_TRUE(link.socketPlace().refusal.isEmpty());
    EXPECT_EQ(QFileInfo(folder).permissions() & 0x7077 /* owner, group, others */,
              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // Somebody else made that folder first.
    owners[folder] = otherUser;
    EXPECT_TRUE(link.socketPlace().refusal.contains(folder));

    // A socket another user listens at: refused, said once on the status line, retried quietly.
    environment.values[QStringLiteral("VELK_RTTY_SOCKET")] = QStringLiteral("/tmp/dumo.sock");
    owners[QStringLiteral("/tmp/dumo.sock")] = otherUser;
    QSignalSpy notices(&link, &RttyLink::notice);
    link.apply(QStringLiteral("RY"), true);
    EXPECT_TRUE(devices.localChannels.empty() || channel()->connectCount == 0);
    EXPECT_FALSE(link.isAttempting());
    EXPECT_TRUE(link.retryTimer().isActive());
    fireRetry(link);
    fireRetry(link);
    ASSERT_EQ(notices.count(), 1);
    EXPECT_EQ(notices[0][0].toString(),
              QStringLiteral("The RTTY link's socket /tmp/dumo.sock belongs to another "
                             "user: not connecting to it."));
    EXPECT_TRUE(prompter.messages.empty());
    link.reconnect();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, notices[0][0].toString());

    // Once the socket is ours, the next retry connects there.
    owners[QStringLiteral("/tmp/dumo.sock")] = ourUser;
    fireRetry(link);
    ASSERT_NE(channel(), nullptr);
    EXPECT_EQ(channel()->connectedName, QStringLiteral("/tmp/dumo.sock"));
    EXPECT_TRUE(link.isAttempting());
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
    EXPECT_EQ(link.forwardKey(Qt::Key_A, Qt::NoModifier), 65);
    EXPECT_EQ(link.forwardKey(Qt::Key_A, Qt::NoModifier), 65);
    EXPECT_EQ(link.forwardKey(Qt::Key_F10, Qt::NoModifier), 124);
    EXPECT_EQ(channel()->takeWritten(),
              "POKE txtBField8 \nPOKE txtBField8 65\nPOKE txtBField8 \nPOKE txtBField8 65\n"
              "POKE txtBField8 \nPOKE txtBField8 124\n");
    EXPECT_EQ(link.forwardKey(Qt::Key_F12, Qt::NoModifier), 123);
    EXPECT_TRUE(link.keyboardRttyMode());
    EXPECT_EQ(link.forwardKey(Qt::Key_F12, Qt::NoModifier), 123);
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
    EXPECT_EQ(link.forwardKey(Qt::Key_F10, Qt::NoModifier), 0);
    link.setCallBeingEntered(QStringLiteral("K1AB"));
    EXPECT_TRUE(channel()->takeWritten().isEmpty());

    // An RTTY log without the option: no attempt.
    link.apply(QStringLiteral("RY"), false);
    EXPECT_EQ(channel()->connectCount, attempts);
}

TEST_F(RttyLinkTest, StopClosesTheLinkQuietlyAndMayBeRepeated)
{
    link.stop(); // nothing opened yet
    connectLink();
    link.forwardKey(Qt::Key_F12, Qt::NoModifier);
    channel()->takeWritten();
    QSignalSpy changes(&link, &RttyLink::connectionChanged);
    QSignalSpy notices(&link, &RttyLink::notice);
    link.stop();
    link.stop();
    EXPECT_FALSE(channel()->isConnected());
    EXPECT_FALSE(link.isConnected());
    EXPECT_FALSE(link.keyboardRttyMode());
    EXPECT_EQ(changes.count(), 1);
    EXPECT_FALSE(link.retryTimer().isActive());
    // The terminal's late goodbye changes nothing and nothing more is written.
    channel()->drop();
    EXPECT_FALSE(link.retryTimer().isActive());
    EXPECT_EQ(notices.count(), 0);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(link.forwardKey(Qt::Key_A, Qt::NoModifier), 0);
    EXPECT_TRUE(channel()->takeWritten().isEmpty());
}

TEST_F(RttyLinkTest, ADroppedOrStalledTerminalIsRetriedAndKeyboardModeEnds)
{
    connectLink();
    link.forwardKey(Qt::Key_F12, Qt::NoModifier);
    ASSERT_TRUE(link.keyboardRttyMode());
    QSignalSpy notices(&link, &RttyLink::notice);
    channel()->drop();
    EXPECT_FALSE(link.isConnected());
    EXPECT_FALSE(link.keyboardRttyMode());
    EXPECT_TRUE(link.retryTimer().isActive());
    ASSERT_EQ(notices.count(), 1);
    EXPECT_EQ(notices[0][0].toString(), QStringLiteral("Lost the link to Dumo RTTY."));
    EXPECT_EQ(link.forwardKey(Qt::Key_A, Qt::NoModifier), 0);

    fireRetry(link);
    channel()->accept();
    channel()->deliver(allAnswers());
    settle();
    ASSERT_TRUE(link.isConnected());

    // A terminal that stops reading: the link gives up instead of queueing without end.
    channel()->unsentBytes = TerminalTransport::maxUnsent + 1;
    link.forwardKey(Qt::Key_A, Qt::NoModifier);
    EXPECT_FALSE(link.isConnected());
    EXPECT_TRUE(link.retryTimer().isActive());
}

} // namespace
} // namespace velk
