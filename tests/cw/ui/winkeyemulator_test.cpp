// The WinKey link and its setup window over a real serial port: the keyer emulator on a socat
// pseudo-terminal pair (tools/winkey_emulator.py), driven through QSerialPort.
#include "common/platform/fake/fakeplatform.h"
#include "common/platform/qt/qtdevices.h"
#include "cw/ui/winkeyemulatorprocess.h"
#include "cw/ui/winkeysetupdialog.h"
#include "cw/winkeylink.h"

#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace velk {
namespace {

constexpr int peerWaitMs = testing::WinKeyEmulatorProcess::waitMs;

class WinKeyEmulatorTest : public ::testing::Test
{
protected:
    testing::WinKeyEmulatorProcess peer;
    FakeKeyPorts ports;
    std::unique_ptr<WinKeyLink> link;

    void TearDown() override
    {
        link.reset();
        peer.stop();
    }

    QString portPath() const { return peer.portPath(); }
    bool startEmulator(const QStringList& options = {}) { return peer.start(options); }

    void makeLink(int speed = 99)
    {
        link = std::make_unique<WinKeyLink>([] { return std::make_unique<QtSerialDevice>(); }, ports,
                                            [this](int) { return portPath(); });
        WinKeySettings settings;
        settings.port = 3;
        settings.speed = speed;
        link->setSettings(settings);
    }

    QString log() const { return peer.log(); }
    bool waitForLog(const QString& text) const { return peer.waitForLog(text); }

    void openLink()
    {
        QSignalSpy results(link.get(), &WinKeyLink::openFinished);
        link->open();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !results.isEmpty(); }, peerWaitMs));
        ASSERT_EQ(results.at(0).at(0).toInt(), WinKeySuccess);
    }
};

#define START_EMULATOR(...)                                                                                  \
    if (!startEmulator(__VA_ARGS__)) {                                                                       \
        GTEST_SKIP() << "socat or the WinKey emulator cannot start here";                                    \
    }

TEST_F(WinKeyEmulatorTest, OpensAndSendsTheSettingsAsTheDeviceExpects)
{
    START_EMULATOR();
    makeLink(25);
    openLink();
    EXPECT_EQ(link->version(), 23);
    ASSERT_TRUE(
        peer.waitForHostBytes(QStringLiteral("00 04 55 00 02 02 19 03 32 04 00 00 17 32 09 06 0E 00")))
        << peer.hostBytes().toStdString();

    link->close();
    EXPECT_TRUE(waitForLog(QStringLiteral("CLOSED")));
}

TEST_F(WinKeyEmulatorTest, AMessageIsSentAndIdleComesWhenTheDeviceIsDone)
{
    START_EMULATOR();
    makeLink(99);
    openLink();
    QSignalSpy idle(link.get(), &MorseSender::idle);
    link->append(QStringLiteral("CQ TEST [!"));
    EXPECT_TRUE(link->isSending());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !idle.isEmpty(); }, peerWaitMs));
    EXPECT_FALSE(link->isSending());
    const QString host = log();
    // Idle follows the device's own idle report, after the last character was keyed.
    EXPECT_TRUE(host.contains(QStringLiteral("SENT AR\nSTATUS C0"))) << host.toStdString();
    EXPECT_TRUE(peer.hostBytes().contains(QStringLiteral("1B 41 52"))) << host.toStdString();
    EXPECT_FALSE(peer.hostBytes().contains(QStringLiteral(" 21"))) << "the ! mark never reaches the device";
    EXPECT_EQ(idle.size(), 1);
}

// The device reads the line at 1200 baud and keys far slower than that: a message longer than
// its buffer must wait for room, not pile up in the line and overflow when it is read.
TEST_F(WinKeyEmulatorTest, ALongMessageAtTheLineRateArrivesWholeWithoutOverflow)
{
    START_EMULATOR({QStringLiteral("--buffer"), QStringLiteral("32"), QStringLiteral("--xoff-at"),
                    QStringLiteral("16")});
    makeLink(99);
    openLink();
    QSignalSpy idle(link.get(), &MorseSender::idle);
    const QString text = QStringLiteral("TEST ").repeated(12);
    link->append(text);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !idle.isEmpty(); }, 60000)) << log().toStdString();
    const QString host = log();
    EXPECT_TRUE(host.contains(QStringLiteral("STATUS C5"))) << host.toStdString();
    EXPECT_FALSE(host.contains(QStringLiteral("OVERFLOW"))) << host.toStdString();
    QString sent;
    for (const QString& line : host.split(QLatin1Char('\n'))) {
        if (line.startsWith(QStringLiteral("SENT "))) {
            sent += line.mid(5);
        }
    }
    EXPECT_EQ(sent, text);
}

TEST_F(WinKeyEmulatorTest, EscRightAfterTheKeyStopsTheMessage)
{
    START_EMULATOR();
    makeLink(10);
    openLink();
    QSignalSpy idle(link.get(), &MorseSender::idle);
    link->append(QStringLiteral("CQ CQ CQ TEST"));
    // Esc as soon as the text is in the device, whether or not its busy report is back yet.
    ASSERT_TRUE(peer.waitForHostBytes(QStringLiteral("43 51 20 43 51")));
    link->clear();
    ASSERT_TRUE(waitForLog(QStringLiteral("CLEARED")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !idle.isEmpty() && !link->isSending(); }, peerWaitMs));
    EXPECT_FALSE(log().contains(QStringLiteral("SENT T"))) << log().toStdString();
}

TEST_F(WinKeyEmulatorTest, BackspaceTakesTheLastCharacterOutOfTheDevice)
{
    START_EMULATOR();
    makeLink(10);
    openLink();
    link->append(QStringLiteral("PARIS"));
    ASSERT_TRUE(waitForLog(QStringLiteral("SENT P")));
    EXPECT_TRUE(link->removeLastUnsent());
    EXPECT_TRUE(waitForLog(QStringLiteral("BACKSPACE S")));
    link->clear();
}

TEST_F(WinKeyEmulatorTest, ASilentPortIsNoEchoResponse)
{
    START_EMULATOR({QStringLiteral("--silent")});
    makeLink();
    QSignalSpy results(link.get(), &WinKeyLink::openFinished);
    link->open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !results.isEmpty(); }, peerWaitMs));
    EXPECT_EQ(results.at(0).at(0).toInt(), WinKeyNoEcho);
    EXPECT_FALSE(link->isOpen());
}

TEST_F(WinKeyEmulatorTest, TheDeviceVanishingMidMessageClosesTheLinkOnce)
{
    START_EMULATOR({QStringLiteral("--vanish-after"), QStringLiteral("4")});
    makeLink(20);
    openLink();
    QSignalSpy failed(link.get(), &MorseSender::failed);
    link->append(QStringLiteral("CQ CQ CQ TEST DE W1AW"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !failed.isEmpty(); }, peerWaitMs)) << log().toStdString();
    EXPECT_FALSE(link->isOpen());
    EXPECT_FALSE(link->isSending());
    QTest::qWait(200);
    EXPECT_EQ(failed.size(), 1);
    EXPECT_EQ(ports.events.last(), QStringLiteral("close WinKey"));
}

TEST_F(WinKeyEmulatorTest, TheSetupWindowOpensTestsAndClosesTheDevice)
{
    START_EMULATOR();
    makeLink(99);
    FakePrompter prompter;
    FakeClock clock;
    FakeSettingsStore settings;
    FakeEnvironment environment;
    FakeDevices devices;
    Platform platform{prompter, clock, settings, environment, devices};
    QTemporaryDir dir;
    WinKeySetupDialog dialog(platform, *link, dir.filePath(QStringLiteral("WK.txt")),
                             [] { return QStringLiteral("W1AW"); });
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto* status = dialog.findChild<QLabel*>(QStringLiteral("winKeyOpenStatus"));
    auto* version = dialog.findChild<QLabel*>(QStringLiteral("winKeyVersion"));
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("winKeyOpenButton")), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return status->text() == QStringLiteral("WK Success!"); }, peerWaitMs));
    EXPECT_EQ(version->text(), QStringLiteral("Version # 23"));
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("winKeyTestButton")), Qt::LeftButton);
    EXPECT_TRUE(waitForLog(QStringLiteral("SENT W\nSENT 1\nSENT A\nSENT W")));
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("winKeyCloseButton")), Qt::LeftButton);
    EXPECT_EQ(status->text(), QStringLiteral("Closed"));
    EXPECT_TRUE(waitForLog(QStringLiteral("CLOSED")));
    EXPECT_TRUE(prompter.messages.empty());
}

} // namespace
} // namespace velk
