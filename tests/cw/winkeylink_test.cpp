// The WinKey link against a scripted device: opening, settings, feeding, flow control, stopping
// and a device that goes away.
#include "common/platform/fake/fakedevices.h"
#include "cw/winkeylink.h"

#include <QSignalSpy>
#include <QTimer>
#include <gtest/gtest.h>

namespace velk {
namespace {

QByteArray hex(std::initializer_list<int> values)
{
    QByteArray out;
    for (int value : values) {
        out.append(static_cast<char>(value));
    }
    return out;
}

const QByteArray defaultSettingsBytes = hex({0x02, 18, 0x03, 50, 0x04, 0, 0, 0x17, 50, 0x09, 6, 0x0E, 0});
// Behind each piece of text: "tell me when you have read this far".
const QByteArray flowProbe = hex({0x00, 0x04, 0x7E});

QByteArray withoutProbes(QByteArray bytes)
{
    return bytes.replace(flowProbe, QByteArray());
}

class WinKeyLinkTest : public ::testing::Test
{
protected:
    FakeKeyPorts ports;
    FakeSerialDevice* device = nullptr;
    std::unique_ptr<WinKeyLink> link;
    // How the scripted device answers the echo test and the host open.
    QByteArray echoReply = hex({0x55});
    QByteArray versionReply = hex({23});
    // Status the device reports when text arrives.
    QByteArray onText = hex({0xC4});
    // Whether the device echoes the flow probe behind each piece of text.
    bool confirms = true;

    void SetUp() override
    {
        auto owned = std::make_unique<FakeSerialDevice>();
        device = owned.get();
        device->responder = [this](const QByteArray& bytes) -> QByteArray {
            if (bytes == hex({0x00, 0x04, 0x55})) {
                return echoReply;
            }
            if (bytes == hex({0x00, 0x02})) {
                return versionReply;
            }
            QByteArray reply;
            if (!bytes.isEmpty() &&
                (static_cast<unsigned char>(bytes.at(0)) >= 0x20 || bytes.at(0) == 0x1B)) {
                reply += onText;
            }
            if (bytes.endsWith(flowProbe) && confirms) {
                reply += hex({0x7E});
            }
            return reply;
        };
        auto factory = [held = std::make_shared<std::unique_ptr<SerialDevice>>(std::move(owned))] {
            return std::move(*held);
        };
        link = std::make_unique<WinKeyLink>(factory, ports,
                                            [](int n) { return QStringLiteral("/dev/fakeWK%1").arg(n); });
        WinKeySettings settings;
        settings.port = 3;
        link->setSettings(settings);
    }

    void expire(const char* timerName)
    {
        auto* timer = link->findChild<QTimer*>(QString::fromLatin1(timerName));
        ASSERT_NE(timer, nullptr);
        ASSERT_TRUE(timer->isActive());
        ASSERT_TRUE(QMetaObject::invokeMethod(timer, "timeout"));
    }

    void openLink()
    {
        link->open();
        ASSERT_TRUE(link->isOpen());
        device->written.clear();
    }
};

TEST_F(WinKeyLinkTest, OpensWithEchoTestAndHostOpenThenSendsTheSettings)
{
    QSignalSpy results(link.get(), &WinKeyLink::openFinished);
    link->open();
    ASSERT_EQ(results.size(), 1);
    EXPECT_EQ(results.at(0).at(0).toInt(), WinKeySuccess);
    EXPECT_EQ(results.at(0).at(1).toInt(), 23);
    EXPECT_EQ(link->version(), 23);
    EXPECT_TRUE(link->isOpen());
    EXPECT_EQ(device->written.toHex(' '),
              (hex({0x00, 0x04, 0x55, 0x00, 0x02}) + defaultSettingsBytes).toHex(' '));
    EXPECT_EQ(device->openedPath, QStringLiteral("/dev/fakeWK3"));
    EXPECT_EQ(device->openedSettings.baud, 1200);
    EXPECT_EQ(device->openedSettings.dataBits, 8);
    EXPECT_EQ(device->openedSettings.parity, 'N');
    EXPECT_EQ(device->openedSettings.stopBits, 2);
    EXPECT_EQ(device->openedSettings.handshake, Handshake::None);
    const std::vector<std::pair<char, bool>> lines{{'D', true}, {'R', false}};
    EXPECT_EQ(device->lineChanges, lines);
    EXPECT_EQ(ports.events, QStringList{QStringLiteral("claim WinKey")});
}

TEST_F(WinKeyLinkTest, OpenFailuresReportTheirCodesAndCloseThePort)
{
    struct Case
    {
        const char* name;
        QByteArray echo;
        QByteArray version;
        int expected;
    };
    const Case cases[] = {
        {"no echo", {}, hex({23}), WinKeyNoEcho},
        {"wrong echo", hex({0x54}), hex({23}), WinKeyEchoMismatch},
        {"no version", hex({0x55}), {}, WinKeyNoOpenResponse},
    };
    for (const Case& c : cases) {
        SetUp();
        echoReply = c.echo;
        versionReply = c.version;
        QSignalSpy results(link.get(), &WinKeyLink::openFinished);
        link->open();
        EXPECT_TRUE(link->isOpening() || !link->isOpen()) << c.name;
        if (results.isEmpty()) {
            expire("winKeyReplyTimer");
        }
        ASSERT_EQ(results.size(), 1) << c.name;
        EXPECT_EQ(results.at(0).at(0).toInt(), c.expected) << c.name;
        EXPECT_EQ(results.at(0).at(1).toInt(), 0) << c.name;
        EXPECT_FALSE(link->isOpen()) << c.name;
        EXPECT_FALSE(device->isOpen()) << c.name;
        EXPECT_EQ(ports.events.last(), QStringLiteral("close WinKey")) << c.name;
    }
}

TEST_F(WinKeyLinkTest, StatusAndPotBytesDuringTheOpenAreNotTakenForReplies)
{
    echoReply = hex({0xC0, 0x8A, 0x55});
    versionReply = hex({0xC4});
    QSignalSpy results(link.get(), &WinKeyLink::openFinished);
    link->open();
    EXPECT_TRUE(link->isOpening());
    device->deliver(hex({0x8B, 0x1E})); // pot, then the version split into a later read
    ASSERT_EQ(results.size(), 1);
    EXPECT_EQ(results.at(0).at(0).toInt(), WinKeySuccess);
    EXPECT_EQ(link->version(), 30);
}

TEST_F(WinKeyLinkTest, ThePortThatCannotOpenIsComOpenFailed)
{
    device->openError = QStringLiteral("No such file");
    QSignalSpy results(link.get(), &WinKeyLink::openFinished);
    link->open();
    ASSERT_EQ(results.size(), 1);
    EXPECT_EQ(results.at(0).at(0).toInt(), WinKeyComOpenFailed);

    WinKeySettings none = link->settings();
    none.port = 0;
    link->setSettings(none);
    device->openError.clear();
    link->open();
    ASSERT_EQ(results.size(), 2);
    EXPECT_EQ(results.at(1).at(0).toInt(), WinKeyComOpenFailed);
    EXPECT_EQ(device->openCount, 0);
}

TEST_F(WinKeyLinkTest, OpeningTwiceIsAlreadyOpenAndSendsNothing)
{
    openLink();
    QSignalSpy results(link.get(), &WinKeyLink::openFinished);
    link->open();
    ASSERT_EQ(results.size(), 1);
    EXPECT_EQ(results.at(0).at(0).toInt(), WinKeyAlreadyOpen);
    EXPECT_EQ(results.at(0).at(1).toInt(), 23);
    EXPECT_TRUE(device->written.isEmpty());
    EXPECT_EQ(device->openCount, 1);
}

TEST_F(WinKeyLinkTest, ResultCodesHaveTheirTexts)
{
    const std::pair<int, const char*> texts[] = {
        {0, "WK Success!"},
        {1, "No Echo Response"},
        {2, "Echo Mismatch"},
        {3, "No Open Response"},
        {4, "Com Open Failed"},
        {5, "Get Com ST Failed"},
        {6, "Set Com ST Failed"},
        {8, "WK Already Open"},
        {9, "WK Not Open"},
        {7, ""},
        {10, ""},
    };
    for (const auto& [code, text] : texts) {
        EXPECT_EQ(winKeyOpenResultText(code), QString::fromLatin1(text)) << code;
    }
}

TEST_F(WinKeyLinkTest, SettingsAreClampedToWhatTheDeviceTakes)
{
    openLink();
    WinKeySettings settings = link->settings();
    settings.speed = 0;
    settings.weight = 99;
    settings.leadIn = 300;
    settings.tail = 12;
    settings.ratio = 70;
    settings.pinConfig = 8;
    settings.mode = 16;
    link->setSettings(settings);
    EXPECT_EQ(device->written.toHex(' '),
              hex({0x02, 5, 0x03, 90, 0x04, 250, 12, 0x17, 66, 0x09, 8, 0x0E, 16}).toHex(' '));
    EXPECT_EQ(link->settings().speed, 5);
    device->written.clear();
    link->setSpeed(120);
    link->setSpeed(25);
    EXPECT_EQ(device->written.toHex(' '), hex({0x02, 99, 0x02, 25}).toHex(' '));
}

TEST_F(WinKeyLinkTest, TextGoesOutFilteredWithProsignsMerged)
{
    openLink();
    QSignalSpy sent(link.get(), &MorseSender::characterSent);
    link->append(QStringLiteral("cq [\x18\x0b%!"));
    EXPECT_EQ(device->written.toHex(' '), (QByteArray("CQ ") + hex({0x1B, 'A', 'R'}) + flowProbe).toHex(' '));
    QString reported;
    for (const auto& args : sent) {
        reported += args.at(0).toChar();
    }
    EXPECT_EQ(reported, QStringLiteral("CQ [!"));
}

TEST_F(WinKeyLinkTest, BusyIsSendingAndIdleFollowsTheDevice)
{
    openLink();
    onText.clear(); // the device reports later
    QSignalSpy idle(link.get(), &MorseSender::idle);
    link->append(QStringLiteral("TEST"));
    EXPECT_TRUE(link->isSending());
    device->deliver(hex({0xC0})); // a report from before the text: not the end of it
    EXPECT_TRUE(link->isSending());
    EXPECT_EQ(idle.size(), 0);
    device->deliver(hex({0xC4}));
    EXPECT_TRUE(link->isSending());
    device->deliver(hex({0x8C, 'T', 'E'})); // pot and echoed text change nothing
    EXPECT_TRUE(link->isSending());
    device->deliver(hex({0xC0}));
    EXPECT_FALSE(link->isSending());
    EXPECT_EQ(idle.size(), 1);
}

TEST_F(WinKeyLinkTest, ADeviceThatNeverReportsBusyEndsAfterTheBusyWait)
{
    openLink();
    onText.clear();
    QSignalSpy idle(link.get(), &MorseSender::idle);
    link->append(QStringLiteral("E"));
    expire("winKeyBusyTimer");
    EXPECT_FALSE(link->isSending());
    EXPECT_EQ(idle.size(), 1);
}

TEST_F(WinKeyLinkTest, XoffHoldsTheTextUntilTheDeviceTakesMore)
{
    openLink();
    onText = hex({0xC5}); // busy and XOFF as soon as text arrives
    const QString message = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
    link->append(message);
    EXPECT_EQ(device->written, QByteArray("ABCDEFGHIJKLMNOP") + flowProbe);
    onText = hex({0xC4});
    device->deliver(hex({0xC4})); // XOFF cleared: the rest goes, piece by piece
    EXPECT_EQ(withoutProbes(device->written), message.toLatin1());
}

TEST_F(WinKeyLinkTest, EachPieceWaitsUntilTheDeviceHasReadTheLast)
{
    openLink();
    confirms = false;
    QSignalSpy sent(link.get(), &MorseSender::characterSent);
    const QString message = QStringLiteral("CQ CQ CQ TEST DE W1AW W1AW TEST K");
    link->append(message);
    // The port takes everything at once; what counts is what the device says it has read.
    EXPECT_EQ(device->written, message.left(16).toLatin1() + flowProbe);
    EXPECT_EQ(sent.size(), 16);
    device->deliver(hex({0xC4, 'C', 'Q'})); // status and echoed text confirm nothing
    EXPECT_EQ(device->written.size(), 16 + flowProbe.size());
    device->deliver(hex({0x7E}));
    EXPECT_EQ(device->written,
              message.left(16).toLatin1() + flowProbe + message.mid(16, 16).toLatin1() + flowProbe);
    // A device that never echoes the probe has long read the piece when the wait ends.
    expire("winKeyFlowTimer");
    EXPECT_EQ(withoutProbes(device->written), message.toLatin1());
    EXPECT_EQ(sent.size(), message.size());
}

TEST_F(WinKeyLinkTest, EscRightAfterAKeyStopsTheMessageBeforeTheFirstBusy)
{
    openLink();
    onText.clear();
    QSignalSpy idle(link.get(), &MorseSender::idle);
    link->append(QStringLiteral("CQ TEST"));
    ASSERT_TRUE(link->isSending());
    link->clear();
    EXPECT_TRUE(device->written.endsWith(hex({0x0A})));
    EXPECT_FALSE(link->isSending());
    EXPECT_EQ(idle.size(), 1);
}

TEST_F(WinKeyLinkTest, EscWhileHeldClearsTheQueueAndTheDevice)
{
    openLink();
    onText = hex({0xC5});
    link->append(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    device->written.clear();
    link->clear();
    device->deliver(hex({0xC0}));
    EXPECT_EQ(device->written.toHex(' '), hex({0x0A}).toHex(' '));
    EXPECT_FALSE(link->isSending());
}

TEST_F(WinKeyLinkTest, BackspaceTakesTheQueueFirstThenTheDevice)
{
    openLink();
    onText = hex({0xC5});
    link->append(QStringLiteral("ABCDEFGHIJKLMNOPQR"));
    EXPECT_TRUE(link->removeLastUnsent()); // R was still queued
    onText = hex({0xC4});
    device->deliver(hex({0xC4}));
    EXPECT_EQ(withoutProbes(device->written), QByteArray("ABCDEFGHIJKLMNOPQ"));
    device->written.clear();
    EXPECT_TRUE(link->removeLastUnsent()); // now in the device
    EXPECT_EQ(device->written.toHex(' '), hex({0x08}).toHex(' '));
    device->deliver(hex({0xC0}));
    EXPECT_FALSE(link->removeLastUnsent());
}

TEST_F(WinKeyLinkTest, TextForAClosedLinkOpensItFirst)
{
    QSignalSpy sent(link.get(), &MorseSender::characterSent);
    link->append(QStringLiteral("TU"));
    EXPECT_TRUE(link->isOpen());
    EXPECT_TRUE(device->written.endsWith(QByteArray("TU") + flowProbe));
    EXPECT_EQ(sent.size(), 2);
}

TEST_F(WinKeyLinkTest, TextForADeviceThatDoesNotAnswerIsDroppedAndReported)
{
    echoReply.clear();
    QSignalSpy failed(link.get(), &MorseSender::failed);
    QSignalSpy idle(link.get(), &MorseSender::idle);
    link->append(QStringLiteral("TU"));
    expire("winKeyReplyTimer");
    EXPECT_FALSE(link->isOpen());
    EXPECT_FALSE(link->isSending());
    ASSERT_EQ(failed.size(), 1);
    EXPECT_EQ(failed.at(0).at(0).toString(), QStringLiteral("No Echo Response"));
    EXPECT_EQ(idle.size(), 0);
    EXPECT_FALSE(device->written.contains("TU"));
}

TEST_F(WinKeyLinkTest, AVanishedDeviceClosesTheLinkAndIsReportedOnce)
{
    openLink();
    onText = hex({0xC5});
    link->append(QStringLiteral("CQ CQ CQ TEST DE W1AW W1AW TEST"));
    QSignalSpy failed(link.get(), &MorseSender::failed);
    QSignalSpy closed(link.get(), &WinKeyLink::closed);
    device->vanish(QStringLiteral("Resource error"));
    device->vanish(QStringLiteral("Resource error"));
    EXPECT_FALSE(link->isOpen());
    EXPECT_FALSE(link->isSending());
    ASSERT_EQ(failed.size(), 1);
    EXPECT_TRUE(failed.at(0).at(0).toString().contains(QStringLiteral("Resource error")));
    EXPECT_EQ(closed.size(), 1);
    EXPECT_EQ(ports.events.last(), QStringLiteral("close WinKey"));
}

TEST_F(WinKeyLinkTest, CloseSaysGoodbyeAndAnotherKeyPortUserClosesTheLink)
{
    openLink();
    link->close();
    EXPECT_EQ(device->written.toHex(' '), hex({0x0A, 0x00, 0x03}).toHex(' '));
    EXPECT_FALSE(device->isOpen());
    EXPECT_EQ(link->version(), 0);

    openLink();
    QString error;
    ASSERT_NE(ports.open(PortUser::CwKeyer, KeyLineTarget{}, error), nullptr);
    EXPECT_FALSE(link->isOpen());
    EXPECT_EQ(device->written.toHex(' '), hex({0x0A, 0x00, 0x03}).toHex(' '));
}

TEST_F(WinKeyLinkTest, TheSpeedKnobIsReported)
{
    openLink();
    QSignalSpy pot(link.get(), &WinKeyLink::speedPotMoved);
    device->deliver(hex({0x80 | 12}));
    ASSERT_EQ(pot.size(), 1);
    EXPECT_EQ(pot.at(0).at(0).toInt(), 12);
}

} // namespace
} // namespace velk
