// The " WinKey Setup" window through its real widgets, against a scripted device.
#include "common/platform/fake/fakeplatform.h"
#include "cw/ui/winkeysetupdialog.h"
#include "cw/winkeysettingsfile.h"
#include "support/platformfakes.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
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

// Behind each piece of text the link asks the device to echo 7E once it has read that far.
const QByteArray flowProbe = hex({0x00, 0x04, 0x7E});

QByteArray withoutProbes(QByteArray bytes)
{
    return bytes.replace(flowProbe, QByteArray());
}

class WinKeySetupDialogTest : public ::testing::Test, protected velk::testing::PlatformFakes
{
protected:
    QTemporaryDir dir;
    bool deviceAnswers = true;
    std::unique_ptr<WinKeyLink> link;
    std::unique_ptr<WinKeySetupDialog> dialog;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        environment.values[QStringLiteral("VELK_COM3")] = QStringLiteral("/dev/ttyUSB7");
        devices.prepareSerial = [this](FakeSerialDevice& device) {
            device.responder = [this](const QByteArray& bytes) -> QByteArray {
                if (!deviceAnswers) {
                    return {};
                }
                if (bytes == hex({0x00, 0x04, 0x55})) {
                    return hex({0x55});
                }
                if (bytes == hex({0x00, 0x02})) {
                    return hex({23});
                }
                if (bytes.endsWith(flowProbe)) {
                    return hex({0x7E}); // read up to here
                }
                return {};
            };
        };
        link = std::make_unique<WinKeyLink>(
            [this] { return devices.createSerialDevice(); }, devices.keyPorts(),
            [this](int port) { return serialDevicePath(port, environment, settings); });
        WinKeySettings start;
        start.port = 3;
        link->setSettings(start);
        dialog = std::make_unique<WinKeySetupDialog>(platform, *link, settingsPath(),
                                                     [] { return QStringLiteral("W1AW"); });
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }

    QString settingsPath() const { return dir.filePath(QStringLiteral("WK.txt")); }
    FakeSerialDevice& device() { return *devices.serialDevices.at(0); }
    template <typename T> T* child(const char* name) const
    {
        T* found = dialog->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString label(const char* name) const { return child<QLabel>(name)->text(); }
    void click(const char* name) { QTest::mouseClick(child<QPushButton>(name), Qt::LeftButton); }
    // Types into a box as the operator does, and leaves it with Tab.
    void enter(const char* name, const QString& text)
    {
        QLineEdit* box = child<QLineEdit>(name);
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Tab);
    }
    // Clicks an option on its round indicator, where the operator clicks.
    void choose(const char* name)
    {
        QRadioButton* option = child<QRadioButton>(name);
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
        EXPECT_TRUE(option->isChecked()) << name;
    }
    void expireReplyWait()
    {
        auto* timer = link->findChild<QTimer*>(QStringLiteral("winKeyReplyTimer"));
        ASSERT_NE(timer, nullptr);
        ASSERT_TRUE(QMetaObject::invokeMethod(timer, "timeout"));
    }
};

TEST_F(WinKeySetupDialogTest, ShowsItsTitleDefaultsAndThePortDevice)
{
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral(" WinKey Setup"));
    EXPECT_EQ(label("winKeyOpenStatus"), QStringLiteral("Closed"));
    EXPECT_EQ(label("winKeyVersion"), QStringLiteral("Version #"));
    EXPECT_EQ(child<QLineEdit>("winKeyPortBox")->text(), QStringLiteral("3"));
    EXPECT_EQ(child<QLineEdit>("winKeySpeedBox")->text(), QStringLiteral("18"));
    EXPECT_EQ(child<QLineEdit>("winKeyWeightBox")->text(), QStringLiteral("50"));
    EXPECT_EQ(child<QLineEdit>("winKeyRatioBox")->text(), QStringLiteral("50"));
    EXPECT_EQ(label("winKeyPortPath"), QStringLiteral("/dev/ttyUSB7"));
    EXPECT_TRUE(child<QRadioButton>("pinTone")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("modeIambicB")->isChecked());
    for (const char* name : {"winKeyOpenButton", "winKeyCloseButton", "winKeyStopButton", "winKeyTestButton",
                             "winKeyBufferTestButton", "winKeyDefaultsTestButton", "winKeyDoneButton"}) {
        EXPECT_NE(child<QPushButton>(name), nullptr);
    }
    EXPECT_EQ(child<QPushButton>("winKeyDoneButton")->text(), QStringLiteral("&Done"));
}

TEST_F(WinKeySetupDialogTest, OpenShowsSuccessAndTheVersionThenAlreadyOpen)
{
    click("winKeyOpenButton");
    EXPECT_EQ(label("winKeyOpenStatus"), QStringLiteral("WK Success!"));
    EXPECT_EQ(label("winKeyVersion"), QStringLiteral("Version # 23"));
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(device().openedPath, QStringLiteral("/dev/ttyUSB7"));

    device().written.clear();
    click("winKeyOpenButton");
    EXPECT_EQ(label("winKeyOpenStatus"), QStringLiteral("WK Already Open"));
    EXPECT_EQ(label("winKeyVersion"), QStringLiteral("Version # 23"));
    EXPECT_TRUE(device().written.isEmpty());

    click("winKeyCloseButton");
    EXPECT_EQ(label("winKeyOpenStatus"), QStringLiteral("Closed"));
    EXPECT_EQ(label("winKeyVersion"), QStringLiteral("Version #"));
    EXPECT_EQ(device().written.toHex(' '), hex({0x0A, 0x00, 0x03}).toHex(' '));
}

TEST_F(WinKeySetupDialogTest, OpenWithoutADeviceSaysSoWithThePortNumber)
{
    deviceAnswers = false;
    click("winKeyOpenButton");
    expireReplyWait();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("Unable to establish connection with Winkey."));
    EXPECT_EQ(
        prompter.messages[0].text,
        QStringLiteral("Unable to establish connection with WinKey on com port 3.  Please check to make "
                       "sure that you have specified the correct port and that the Winkey device is "
                       "properly connected."));
    EXPECT_EQ(label("winKeyOpenStatus"), QStringLiteral("No Echo Response"));
    EXPECT_EQ(label("winKeyVersion"), QStringLiteral("Version #"));
}

TEST_F(WinKeySetupDialogTest, BoxesAreClampedAndSaySoBesideThem)
{
    enter("winKeyRatioBox", QStringLiteral("70"));
    EXPECT_EQ(child<QLineEdit>("winKeyRatioBox")->text(), QStringLiteral("66"));
    EXPECT_EQ(label("winKeyRatioBoxNote"), QStringLiteral("33-66: 70 is not taken, 66 is used"));
    EXPECT_EQ(link->settings().ratio, 66);

    enter("winKeySpeedBox", QStringLiteral("0"));
    EXPECT_EQ(child<QLineEdit>("winKeySpeedBox")->text(), QStringLiteral("5"));
    EXPECT_EQ(label("winKeyRatioBoxNote"), QStringLiteral("33-66: 70 is not taken, 66 is used"));

    enter("winKeyRatioBox", QString()); // not numeric
    EXPECT_EQ(child<QLineEdit>("winKeyRatioBox")->text(), QStringLiteral("50"));
    EXPECT_EQ(label("winKeyRatioBoxNote"), QStringLiteral("33-66"));

    enter("winKeyLeadInBox", QStringLiteral("abc999"));
    EXPECT_EQ(child<QLineEdit>("winKeyLeadInBox")->text(), QStringLiteral("250"));
    enter("winKeyWeightBox", QStringLiteral("95"));
    EXPECT_EQ(child<QLineEdit>("winKeyWeightBox")->text(), QStringLiteral("90"));
    EXPECT_EQ(link->settings().leadIn, 250);
    EXPECT_EQ(link->settings().weight, 90);
}

TEST_F(WinKeySetupDialogTest, SettingsAndOptionsGoToTheOpenDevice)
{
    click("winKeyOpenButton");
    device().written.clear();
    choose("pinPtt");
    EXPECT_EQ(device().written.toHex(' '),
              hex({0x02, 18, 0x03, 50, 0x04, 0, 0, 0x17, 50, 0x09, 5, 0x0E, 0}).toHex(' '));
    device().written.clear();
    choose("modeUltimatic");
    EXPECT_TRUE(device().written.endsWith(hex({0x0E, 32})));
    device().written.clear();
    enter("winKeySpeedBox", QStringLiteral("28"));
    EXPECT_TRUE(device().written.startsWith(hex({0x02, 28})));
}

TEST_F(WinKeySetupDialogTest, TestButtonsAndTypingSendTextOpeningTheLinkFirst)
{
    click("winKeyTestButton");
    EXPECT_TRUE(link->isOpen());
    EXPECT_EQ(label("winKeyOpenStatus"), QStringLiteral("WK Success!"));
    EXPECT_TRUE(withoutProbes(device().written).endsWith("VVV TEST DE W1AW"));

    device().written.clear();
    click("winKeyStopButton"); // the device never reported busy: still stopped at once
    EXPECT_EQ(device().written.toHex(' '), hex({0x0A}).toHex(' '));

    device().written.clear();
    click("winKeyBufferTestButton");
    const QByteArray alphabet("ABCDEFGHIJKLMNOPQRSTUVWXYZ ");
    EXPECT_EQ(withoutProbes(device().written), alphabet + alphabet + alphabet);

    device().deliver(hex({0xC4})); // the device keys the alphabet and is done
    device().deliver(hex({0xC0}));
    EXPECT_FALSE(link->isSending());
    device().written.clear();
    click("winKeyStopButton"); // the device is idle: its buffer is cleared all the same
    EXPECT_EQ(device().written.toHex(' '), hex({0x0A}).toHex(' '));

    device().written.clear();
    click("winKeyDefaultsTestButton");
    EXPECT_TRUE(device().written.isEmpty());

    QLineEdit* typing = child<QLineEdit>("winKeyTypingBox");
    typing->setFocus();
    QTest::keyClicks(typing, QStringLiteral("tu!"));
    QTest::keyClick(typing, Qt::Key_Return);
    EXPECT_EQ(withoutProbes(device().written), QByteArray("TU"));
}

TEST_F(WinKeySetupDialogTest, DoneKeepsTheValuesInWkTxtAndReportsAFailedWrite)
{
    enter("winKeyPortBox", QStringLiteral("4"));
    enter("winKeySpeedBox", QStringLiteral("30"));
    enter("winKeyTailBox", QStringLiteral("12"));
    choose("pinKey5Out3Off");
    choose("modeBug");
    click("winKeyDoneButton");
    EXPECT_FALSE(dialog->isVisible());
    QFile file(settingsPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(),
              QByteArray("4\r\n\"30\"\r\n\"50\"\r\n\"0\"\r\n\"12\"\r\n\"50\"\r\n8\r\n48\r\n"));
    EXPECT_TRUE(prompter.messages.empty());

    auto failing = std::make_unique<WinKeySetupDialog>(
        platform, *link, dir.filePath(QStringLiteral("no/WK.txt")), [] { return QString(); });
    failing->show();
    failing->pressDone();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("Error!"));
    EXPECT_FALSE(failing->isVisible());
}

} // namespace
} // namespace velk
