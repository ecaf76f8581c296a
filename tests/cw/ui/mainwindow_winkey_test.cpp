// The WinKey keyer in the running main window: WK.txt at start, the setup window, a device that
// goes away, and the link closed with the program.
#include "common/platform/qt/qtdevices.h"
#include "cw/cwsettings.h"
#include "cw/ui/winkeyemulatorprocess.h"
#include "cw/ui/winkeysetupdialog.h"
#include "log/ui/mainwindow_fixture.h"

#include <QTimer>

namespace velk::testing {
namespace {

QByteArray hex(std::initializer_list<int> values)
{
    QByteArray out;
    for (int value : values) {
        out.append(static_cast<char>(value));
    }
    return out;
}

class MainWindowWinKeyTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        devices.prepareSerial = [](FakeSerialDevice& device) {
            device.responder = [](const QByteArray& bytes) -> QByteArray {
                if (bytes == hex({0x00, 0x04, 0x55})) {
                    return hex({0x55});
                }
                if (bytes == hex({0x00, 0x02})) {
                    return hex({23});
                }
                return {};
            };
        };
    }
    QString settingsFile() const { return session.folders.data + QStringLiteral("/WK.txt"); }
};

TEST_F(MainWindowWinKeyTest, StartReadsWkTxtAndTheSetupWindowKeepsIt)
{
    writeFile(settingsFile(), "4\r\n\"30\"\r\n\"45\"\r\n\"1\"\r\n\"2\"\r\n\"40\"\r\n5\r\n16\r\n");
    start();
    ASSERT_TRUE(started);
    const WinKeySettings& settings = station.winKey().settings();
    EXPECT_EQ(settings.port, 4);
    EXPECT_EQ(settings.speed, 30);
    EXPECT_EQ(settings.pinConfig, 5);
    EXPECT_EQ(settings.mode, 16);
    EXPECT_TRUE(devices.serialDevices.empty()) << "no port is touched before the WinKey is used";

    form->cw().showWinKeySetup();
    WinKeySetupDialog* setup = form->cw().winKeySetup();
    ASSERT_NE(setup, nullptr);
    EXPECT_TRUE(setup->isVisible());
    EXPECT_TRUE(setup->isModal());
    EXPECT_EQ(setup->windowTitle(), QStringLiteral(" WinKey Setup"));
    auto* speed = setup->findChild<QLineEdit*>(QStringLiteral("winKeySpeedBox"));
    EXPECT_EQ(speed->text(), QStringLiteral("30"));
    speed->setFocus();
    speed->selectAll();
    QTest::keyClicks(speed, QStringLiteral("22"));
    QTest::mouseClick(setup->findChild<QPushButton*>(QStringLiteral("winKeyDoneButton")), Qt::LeftButton);
    EXPECT_FALSE(setup->isVisible());
    EXPECT_EQ(readFile(settingsFile()),
              QByteArray("4\r\n\"22\"\r\n\"45\"\r\n\"1\"\r\n\"2\"\r\n\"40\"\r\n5\r\n16\r\n"));
}

TEST_F(MainWindowWinKeyTest, AVanishedKeyerIsReportedOnTheStatusLine)
{
    start();
    ASSERT_TRUE(started);
    WinKeySettings settings = station.winKey().settings();
    settings.port = 2;
    station.winKey().setSettings(settings);
    station.winKey().append(QStringLiteral("CQ TEST"));
    ASSERT_EQ(devices.serialDevices.size(), 1u);
    EXPECT_TRUE(station.winKey().isOpen());
    EXPECT_EQ(form->cw().winKeySetup()->findChild<QLabel*>(QStringLiteral("winKeyOpenStatus"))->text(),
              QStringLiteral("WK Success!"));
    devices.serialDevices[0]->vanish(QStringLiteral("Resource error"));
    EXPECT_FALSE(station.winKey().isOpen());
    EXPECT_EQ(status(), QStringLiteral("WinKey lost: Resource error. The link is closed."));
    EXPECT_EQ(form->cw().winKeySetup()->findChild<QLabel*>(QStringLiteral("winKeyOpenStatus"))->text(),
              QStringLiteral("Closed"));
}

TEST_F(MainWindowWinKeyTest, AKeyerThatDoesNotAnswerIsOneBoxSayingSo)
{
    devices.prepareSerial = [](FakeSerialDevice&) {}; // a port with nothing on it
    start();
    ASSERT_TRUE(started);
    WinKeySettings settings = station.winKey().settings();
    settings.port = 2;
    station.winKey().setSettings(settings);
    station.keyer().setKeyerType(KeyerType::WinKey);
    prompter.messages.clear();
    station.keyer().send(QStringLiteral("CQ TEST"));
    auto* reply = station.winKey().findChild<QTimer*>(QStringLiteral("winKeyReplyTimer"));
    ASSERT_TRUE(reply && reply->isActive());
    ASSERT_TRUE(QMetaObject::invokeMethod(reply, "timeout"));
    ASSERT_EQ(prompter.messages.size(), 1u) << prompter.messageTitles().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("Unable to establish connection with Winkey."));
    EXPECT_FALSE(station.keyer().isSending());
    EXPECT_FALSE(station.winKey().isOpen());
}

TEST_F(MainWindowWinKeyTest, ClosingTheProgramClosesTheLink)
{
    start();
    ASSERT_TRUE(started);
    WinKeySettings settings = station.winKey().settings();
    settings.port = 2;
    station.winKey().setSettings(settings);
    station.winKey().open();
    ASSERT_TRUE(station.winKey().isOpen());
    FakeSerialDevice* device = devices.serialDevices.at(0);
    device->written.clear();
    form->close();
    EXPECT_FALSE(station.winKey().isOpen());
    EXPECT_FALSE(device->isOpen());
    EXPECT_EQ(device->written.toHex(' '), hex({0x0A, 0x00, 0x03}).toHex(' '));
}

// The desktop's serial ports with the fakes' key lines: the program as it runs, on a real port.
class QtSerialDevices : public FakeDevices
{
public:
    QtSerialDevices()
    {
        realSerialDevice = [] { return std::make_unique<QtSerialDevice>(); };
    }
};

class MainWindowWinKeyEmulatorTest : public MainWindowTest
{
protected:
    WinKeyEmulatorProcess peer;
    QtSerialDevices realDevices;
    Platform realPlatform{prompter, clock, settings, environment, realDevices};
    Station realStation{realPlatform};
    std::unique_ptr<MainWindow> realForm;

    void TearDown() override
    {
        if (realForm) {
            realForm->hide();
            realForm.reset();
        }
        peer.stop();
        MainWindowTest::TearDown();
    }

    // The fixture's start-up, for a main window over the station with real serial ports.
    void startReal()
    {
        LogSession& real = realStation.session();
        real.folders = session.folders;
        real.xml.open(real.folders.xmlStoreFile());
        real.prefs = session.prefs;
        prompter.messageAnswers.push_back(MessageAnswer::Yes);
        QTimer modalCloser;
        QObject::connect(&modalCloser, &QTimer::timeout, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                dialog->accept();
            }
        });
        modalCloser.start(10);
        realForm = std::make_unique<MainWindow>(realStation);
        realForm->setStationDialogRunner(stationDialog);
        realForm->show();
        QApplication::setActiveWindow(realForm.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(realForm.get()));
        started = realForm->startUp();
    }
    QString realStatus() const { return realForm->findChild<QLabel*>(QStringLiteral("statusLine"))->text(); }
};

TEST_F(MainWindowWinKeyEmulatorTest, TheRunningProgramKeysThroughTheEmulatorUntilItVanishes)
{
    if (!peer.start({QStringLiteral("--vanish-after"), QStringLiteral("30")})) {
        GTEST_SKIP() << "socat or the WinKey emulator cannot start here";
    }
    environment.values[QStringLiteral("VELK_COM3")] = peer.portPath();
    writeFile(session.folders.data + QStringLiteral("/WK.txt"),
              "3\r\n\"99\"\r\n50\r\n0\r\n0\r\n50\r\n6\r\n0\r\n");
    startReal();
    ASSERT_TRUE(started);
    WinKeyLink& link = realStation.winKey();

    realForm->cw().showWinKeySetup();
    WinKeySetupDialog* setup = realForm->cw().winKeySetup();
    auto* openStatus = setup->findChild<QLabel*>(QStringLiteral("winKeyOpenStatus"));
    QTest::mouseClick(setup->findChild<QPushButton*>(QStringLiteral("winKeyOpenButton")), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return openStatus->text() == QStringLiteral("WK Success!"); },
                                WinKeyEmulatorProcess::waitMs));
    EXPECT_EQ(setup->findChild<QLabel*>(QStringLiteral("winKeyVersion"))->text(),
              QStringLiteral("Version # 23"));
    EXPECT_TRUE(peer.waitForHostBytes(QStringLiteral("02 63 03 32 04 00 00 17 32 09 06 0E 00")));

    QTest::mouseClick(setup->findChild<QPushButton*>(QStringLiteral("winKeyTestButton")), Qt::LeftButton);
    ASSERT_TRUE(peer.waitForLog(QStringLiteral("SENT T\nSENT E\nSENT S\nSENT T\nSENT  \nSENT D\nSENT E")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !link.isSending(); }, WinKeyEmulatorProcess::waitMs));
    QTest::mouseClick(setup->findChild<QPushButton*>(QStringLiteral("winKeyDoneButton")), Qt::LeftButton);
    EXPECT_FALSE(setup->isVisible());

    // The keyer unplugged in the middle of the next message.
    link.append(QStringLiteral("CQ CQ CQ TEST CQ CQ CQ TEST"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return realStatus().startsWith(QStringLiteral("WinKey lost: ")); },
                                WinKeyEmulatorProcess::waitMs))
        << peer.log().toStdString();
    EXPECT_FALSE(link.isOpen());
    EXPECT_FALSE(link.isSending());
    EXPECT_EQ(openStatus->text(), QStringLiteral("Closed"));
    EXPECT_TRUE(peer.log().contains(QStringLiteral("VANISH")));
    realForm->close();
}

} // namespace
} // namespace velk::testing

namespace velk::testing {
namespace {

TEST_F(MainWindowWinKeyTest, WithKeyerTypeWinKeyTheFunctionKeysSendThroughTheDevice)
{
    CwSettings cw;
    cw.messages[0] = QStringLiteral("CQ TEST");
    cw.keyerType = KeyerType::WinKey;
    writeFile(session.folders.working + QStringLiteral("/cw.txt"), cwSettingsBytes(cw));
    writeFile(settingsFile(), "2\r\n\"30\"\r\n\"45\"\r\n\"1\"\r\n\"2\"\r\n\"40\"\r\n5\r\n16\r\n");
    start();
    ASSERT_TRUE(started);
    ASSERT_EQ(station.keyer().keyerType(), KeyerType::WinKey);

    press("callBox", Qt::Key_F1);
    ASSERT_EQ(devices.serialDevices.size(), 1u);
    EXPECT_TRUE(devices.serialDevices.front()->written.contains("CQ TEST"))
        << devices.serialDevices.front()->written.toHex().toStdString();

    station.keyer().requestWinKeyConfiguration(); // "Configure Winkey" in the keyer window
    ASSERT_NE(form->cw().winKeySetup(), nullptr);
    EXPECT_TRUE(form->cw().winKeySetup()->isVisible());
}

} // namespace
} // namespace velk::testing
