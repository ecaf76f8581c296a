#include "../fakekeying.h"
#include "common/platform/fake/fakeplatform.h"
#include "cw/linemorsesender.h"
#include "cw/ui/codepracticewindow.h"
#include "cw/ui/keyerwindow.h"
#include "support/waitfor.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace velk::testing {
namespace {

class KeyerWindowsTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    FakePrompter prompter;
    FakeClock clock;
    FakeSettingsStore store;
    FakeEnvironment environment;
    FakeDevices devices;
    Platform platform{prompter, clock, store, environment, devices};
    GatedKeyTiming timing;
    Keyer keyer{platform};
    QSignalSpy sent{&keyer, &Keyer::characterSent};

    void SetUp() override
    {
        keyer.useTiming(timing);
        keyer.loadSettings(dir.path());
    }

    void TearDown() override
    {
        timing.allow(-1);
        keyer.lineSender().waitUntilDone();
    }

    void sendAll()
    {
        timing.allow(-1);
        keyer.lineSender().waitUntilDone();
        QCoreApplication::sendPostedEvents();
    }

    QString sentText() const
    {
        QString text;
        for (const QList<QVariant>& arguments : sent) {
            text += arguments.at(0).value<QChar>();
        }
        return text;
    }

    template <typename T> static T* child(QWidget* window, const char* name)
    {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    static void leaveWith(QLineEdit* box, const QString& text)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
        emit box->editingFinished();
    }
};

TEST_F(KeyerWindowsTest, TheSetupWindowChoosesTheLineTestsItAndDoneWritesCwTxt)
{
    devices.priority.answer = ThreadPriority::Source::RealtimeKit;
    KeyerWindow window(platform, keyer);
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("CW String Selections"));
    child<QRadioButton>(&window, "keyerDtr")->click();
    leaveWith(child<QLineEdit>(&window, "comPortBox"), QStringLiteral("2"));
    EXPECT_EQ(child<QLabel>(&window, "comPortPath")->text(), QStringLiteral("/dev/ttyS1"));
    leaveWith(child<QLineEdit>(&window, "speedBox"), QStringLiteral("25"));
    QTest::keyClicks(child<QLineEdit>(&window, "cwMessage1"), QStringLiteral("cq velk \"$\""));
    EXPECT_EQ(keyer.settings().messages[0], QStringLiteral("CQ VELK $"));

    child<QPushButton>(&window, "testButton")->click();
    EXPECT_TRUE(child<QLabel>(&window, "sendingLabel")->isVisible());
    sendAll();
    // The F9 message as it stands: nothing is added to the default.
    EXPECT_EQ(sentText(), QStringLiteral("VVV DE "));
    // The keying thread has asked for its priority once, and the window says what it got.
    ASSERT_TRUE(waitFor([&] {
        return child<QLabel>(&window, "keyingPriorityLabel")->text() ==
               QStringLiteral("Keying thread: real-time, priority 10 (through RealtimeKit)");
    }));
    EXPECT_EQ(devices.priority.requests(), 1);
    EXPECT_FALSE(child<QLabel>(&window, "sendingLabel")->isVisible());
    EXPECT_EQ(devices.ports.targets[PortUser::CwKeyer].kind, KeyLineKind::Dtr);
    EXPECT_EQ(devices.ports.targets[PortUser::CwKeyer].comPort, 2);

    child<QPushButton>(&window, "doneButton")->click();
    EXPECT_FALSE(window.isVisible());
    const CwSettings saved = loadCwSettings(dir.filePath(QStringLiteral("cw.txt")));
    EXPECT_EQ(saved.keyerType, KeyerType::Dtr);
    EXPECT_EQ(saved.comPort, QStringLiteral("2"));
    EXPECT_EQ(saved.speed, QStringLiteral("25"));
    EXPECT_EQ(saved.messages[0], QStringLiteral("CQ VELK $"));
    EXPECT_EQ(store.values.value(QStringLiteral("UserCWSelection")), QStringLiteral("Timer"));
}

TEST_F(KeyerWindowsTest, WordSpaceAndPauseBoxesRefuseWhatCannotBeUsed)
{
    KeyerWindow window(platform, keyer);
    window.show();
    QLineEdit* space = child<QLineEdit>(&window, "wordSpaceBox");
    space->setFocus();
    space->selectAll();
    QTest::keyClicks(space, QStringLiteral("-12"));
    EXPECT_EQ(space->text(), QStringLiteral("-8"));
    leaveWith(space, QStringLiteral("1.5"));
    EXPECT_EQ(space->text(), QStringLiteral("0"));
    child<QPushButton>(&window, "lessButton")->click();
    EXPECT_EQ(keyer.wordSpace(), -1);
    leaveWith(child<QLineEdit>(&window, "repeatBox"), QStringLiteral("75"));
    EXPECT_EQ(child<QLineEdit>(&window, "repeatBox")->text(), QStringLiteral("0"));
    EXPECT_EQ(prompter.bells, 1);
    leaveWith(child<QLineEdit>(&window, "speedBox"), QStringLiteral("0"));
    EXPECT_EQ(child<QLineEdit>(&window, "speedBox")->text(), QStringLiteral("5"));
}

TEST_F(KeyerWindowsTest, LoopTimingIsCalibratedAndItsButtonsScaleTheCount)
{
    KeyerWindow window(platform, keyer);
    window.show();
    QLineEdit* loops = child<QLineEdit>(&window, "loopOffsetBox");
    EXPECT_FALSE(loops->isEnabled());
    child<QRadioButton>(&window, "timingLoop")->click();
    EXPECT_TRUE(loops->isEnabled());
    EXPECT_GT(keyer.loopOffset(), 0);
    keyer.setLoopOffset(1000);
    window.refresh();
    child<QPushButton>(&window, "loopFasterButton")->click();
    EXPECT_EQ(keyer.loopOffset(), 900);
    EXPECT_EQ(loops->text(), QStringLiteral("900"));
}

TEST_F(KeyerWindowsTest, WinKeyButtonAppearsOnceWinKeyIsChosen)
{
    KeyerWindow window(platform, keyer);
    window.show();
    QSignalSpy configure(&keyer, &Keyer::winKeyConfigurationRequested);
    QPushButton* winKey = child<QPushButton>(&window, "configureWinKeyButton");
    EXPECT_FALSE(winKey->isVisible());
    child<QRadioButton>(&window, "keyerWinKey")->click();
    EXPECT_EQ(keyer.keyerType(), KeyerType::WinKey);
    EXPECT_TRUE(winKey->isVisible());
    winKey->click();
    EXPECT_EQ(configure.count(), 1);
}

TEST(CodePracticeGroups, TenGroupsOfFiveLettersAreSixtyCharacters)
{
    int next = 0;
    const QString text = practiceGroups(10, 5, true, [&next](int n) { return next++ % n; });
    EXPECT_EQ(text.size(), 60);
    EXPECT_TRUE(text.startsWith(QStringLiteral("ABCDE FGHIJ ")));
    EXPECT_TRUE(text.endsWith(QLatin1Char(' ')));
    EXPECT_EQ(practiceCharacters(false).size(), 41);
    EXPECT_EQ(practiceGroups(1, 3, false, [](int n) { return n - 1; }), QStringLiteral("--- "));
}

TEST_F(KeyerWindowsTest, CodePracticeSendsCharacterByCharacterAndRefusesToCloseWhileSending)
{
    keyer.setKeyerType(KeyerType::Rts);
    keyer.setComPort(QStringLiteral("1"));
    CodePracticeWindow window(platform, keyer);
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("On the Air Code Practice"));
    QPlainTextEdit* toSend = child<QPlainTextEdit>(&window, "textToSendBox");
    toSend->setPlainText(QStringLiteral("AB CD"));
    child<QPushButton>(&window, "practiceSendButton")->click();
    timing.waitUntilBlocked(); // keying the A
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    // Text typed live goes behind the practice character; text cut meanwhile is not sent.
    QTest::keyClicks(child<QLineEdit>(&window, "practiceKeyboardBox"), QStringLiteral("x"));
    toSend->setPlainText(QStringLiteral("AB"));
    sendAll();
    while (window.isRunning()) {
        timing.allow(-1);
        keyer.lineSender().waitUntilDone();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(sentText(), QStringLiteral("AXB"));
    EXPECT_EQ(child<QPlainTextEdit>(&window, "textSentBox")->toPlainText(), QStringLiteral("AXB"));
    EXPECT_TRUE(window.close());
}

TEST_F(KeyerWindowsTest, CodePracticeStopEndsAfterTheCharacterInProgress)
{
    keyer.setKeyerType(KeyerType::Rts);
    keyer.setComPort(QStringLiteral("1"));
    CodePracticeWindow window(platform, keyer);
    window.show();
    child<QPlainTextEdit>(&window, "textToSendBox")->setPlainText(QStringLiteral("ABC"));
    child<QPushButton>(&window, "practiceSendButton")->click();
    timing.waitUntilBlocked();
    child<QPushButton>(&window, "practiceStopButton")->click();
    sendAll();
    QCoreApplication::processEvents();
    EXPECT_FALSE(window.isRunning());
    EXPECT_EQ(sentText(), QStringLiteral("A"));
}

TEST_F(KeyerWindowsTest, CodePracticeGeneratesPastesAndClears)
{
    CodePracticeWindow window(platform, keyer);
    window.show();
    child<QRadioButton>(&window, "allCharactersOption")->click();
    child<QPushButton>(&window, "generateButton")->click();
    QPlainTextEdit* toSend = child<QPlainTextEdit>(&window, "textToSendBox");
    EXPECT_EQ(toSend->toPlainText().size(), 60);
    QApplication::clipboard()->setText(QStringLiteral("PASTED"));
    child<QPushButton>(&window, "pasteButton")->click();
    EXPECT_EQ(toSend->toPlainText(), QStringLiteral("PASTED"));
    child<QPushButton>(&window, "clearToSendButton")->click();
    EXPECT_EQ(toSend->toPlainText(), QString());
    child<QPushButton>(&window, "practiceFasterButton")->click();
    EXPECT_EQ(child<QLabel>(&window, "practiceSpeedLabel")->text(), QStringLiteral("14"));
}

} // namespace
} // namespace velk::testing
