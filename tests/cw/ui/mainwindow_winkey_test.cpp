// The WinKey keyer in the running main window: WK.txt at start, the setup window, a device that
// goes away, and the link closed with the program.
#include "cw/ui/winkeysetupdialog.h"
#include "log/ui/mainwindow_fixture.h"

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

    form->showWinKeySetup();
    WinKeySetupDialog* setup = form->winKeySetup();
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
    EXPECT_EQ(form->winKeySetup()->findChild<QLabel*>(QStringLiteral("winKeyOpenStatus"))->text(),
              QStringLiteral("WK Success!"));
    devices.serialDevices[0]->vanish(QStringLiteral("Resource error"));
    EXPECT_FALSE(station.winKey().isOpen());
    EXPECT_EQ(status(), QStringLiteral("WinKey lost: Resource error. The link is closed."));
    EXPECT_EQ(form->winKeySetup()->findChild<QLabel*>(QStringLiteral("winKeyOpenStatus"))->text(),
              QStringLiteral("Closed"));
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

} // namespace
} // namespace velk::testing
