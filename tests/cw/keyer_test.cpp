#include "common/platform/fake/fakeplatform.h"
#include "cw/keyer.h"
#include "cw/linemorsesender.h"
#include "fakekeying.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace velk {
namespace {

class KeyerTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    FakePrompter prompter;
    FakeClock clock;
    FakeSettingsStore store;
    FakeEnvironment environment;
    FakeDevices devices;
    Platform platform{prompter, clock, store, environment, devices};
    testing::JumpingKeyTiming timing;
    Keyer keyer{platform};
    QSignalSpy sent{&keyer, &Keyer::characterSent};
    QSignalSpy marks{&keyer, &Keyer::contactMarkReached};
    QString call;

    void SetUp() override
    {
        keyer.useTiming(timing);
        keyer.loadSettings(dir.path());
        keyer.setCallSource([this] { return call; });
        keyer.setKeyerType(KeyerType::Rts);
        keyer.setComPort(QStringLiteral("1"));
        keyer.setSpeed(40);
    }

    void finish()
    {
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

    FakeKeyLine* line() { return devices.ports.line(PortUser::CwKeyer); }
};

TEST_F(KeyerTest, FunctionKeysSendTheirMessagesWithPlaceholdersReplaced)
{
    keyer.setMessage(1, QStringLiteral("$ * #LEE MA"));
    call = QStringLiteral(" K1ABC ");
    keyer.sendFunctionKey(2);
    finish();
    EXPECT_EQ(sentText(), QStringLiteral("K1ABC 5NN LEE MA"));
    ASSERT_NE(line(), nullptr);
    EXPECT_FALSE(line()->changes.empty());
    EXPECT_FALSE(line()->down);
    EXPECT_EQ(devices.ports.targets[PortUser::CwKeyer].kind, KeyLineKind::Rts);
    EXPECT_EQ(devices.ports.targets[PortUser::CwKeyer].comPort, 1);
}

TEST_F(KeyerTest, FunctionKeyNumbersChooseTheirMessagesAndTwelveSendsNothing)
{
    // Settings order: F1-F9, then F10, then F11.
    for (int index = 0; index < cwMessageCount; ++index) {
        keyer.setMessage(index, QStringLiteral("M%1 ").arg(index));
    }
    const std::pair<int, const char*> keys[] = {
        {1, "M0 "}, {5, "M4 "}, {9, "M8 "}, {10, "M9 "}, {11, "M10 "}, {12, ""},
        {0, ""},    {13, ""},   {-1, ""},   {121, ""},   {124, ""},
    };
    for (const auto& [number, expected] : keys) {
        sent.clear();
        keyer.sendFunctionKey(number);
        finish();
        EXPECT_EQ(sentText(), QString::fromLatin1(expected)) << number;
    }
}

TEST_F(KeyerTest, TheContactMarkIsReportedOnceWhenReached)
{
    keyer.setMessage(2, QStringLiteral("TU ! QRZ"));
    keyer.sendFunctionKey(3);
    finish();
    EXPECT_EQ(marks.count(), 1);
    EXPECT_EQ(sentText(), QStringLiteral("TU ! QRZ"));
}

TEST_F(KeyerTest, NothingIsSentWithoutAKeyerOrWithAnEmptyMessage)
{
    keyer.setKeyerType(KeyerType::None);
    keyer.sendFunctionKey(1);
    keyer.send(QStringLiteral("CQ"));
    finish();
    EXPECT_EQ(sentText(), QString());
    EXPECT_TRUE(devices.ports.events.isEmpty());
    keyer.setKeyerType(KeyerType::Rts);
    keyer.sendFunctionKey(1); // F1 is empty
    finish();
    EXPECT_EQ(sentText(), QString());
}

TEST_F(KeyerTest, AnInvalidPortIsReportedAndAsksForTheWindow)
{
    QSignalSpy setup(&keyer, &Keyer::setupWindowRequested);
    devices.ports.openError = QStringLiteral("Invalid port.");
    keyer.send(QStringLiteral("E"));
    finish();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("Invalid port."));
    EXPECT_EQ(prompter.messages[0].text,
              QStringLiteral("The port you have selected for CW keying is invalid.  "
                             "Please select another or enter 0 for none."));
    EXPECT_EQ(prompter.bells, 1);
    EXPECT_EQ(setup.count(), 1);
    EXPECT_EQ(sentText(), QString());
}

TEST_F(KeyerTest, PortZeroWithALineKeyerAsksForAComPort)
{
    keyer.setComPort(QStringLiteral("0"));
    keyer.send(QStringLiteral("E"));
    keyer.send(QStringLiteral("E")); // keyboard sending: told once
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("A com port is required."));
    EXPECT_TRUE(devices.ports.events.isEmpty());
    keyer.setComPort(QStringLiteral("0"));
    keyer.send(QStringLiteral("E"));
    EXPECT_EQ(prompter.messages.size(), 2u);
}

TEST_F(KeyerTest, TheParallelPortIsOpenedWithItsAddress)
{
    keyer.setKeyerType(KeyerType::Parallel);
    keyer.send(QStringLiteral("E"));
    finish();
    EXPECT_EQ(devices.ports.targets[PortUser::CwKeyer].kind, KeyLineKind::Parallel);
    EXPECT_EQ(devices.ports.targets[PortUser::CwKeyer].parallelAddress, QStringLiteral("&H378"));
}

TEST_F(KeyerTest, ALineClosedByAnotherUserIsReopenedForTheNextMessage)
{
    keyer.send(QStringLiteral("E"));
    finish();
    QString error;
    devices.ports.open(PortUser::VoicePtt, KeyLineTarget{}, error);
    keyer.send(QStringLiteral("E"));
    finish();
    EXPECT_EQ(devices.ports.events,
              (QStringList{QStringLiteral("open CwKeyer"), QStringLiteral("close CwKeyer"),
                           QStringLiteral("open VoicePtt"), QStringLiteral("close VoicePtt"),
                           QStringLiteral("open CwKeyer")}));
    EXPECT_EQ(sentText(), QStringLiteral("EE"));
}

TEST_F(KeyerTest, AFailedLineIsReportedReleasedAndReopenedForTheNextMessage)
{
    keyer.send(QStringLiteral("E"));
    finish();
    line()->failing = true;
    keyer.send(QStringLiteral("EEE"));
    finish();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_FALSE(keyer.isSending());
    EXPECT_EQ(line(), nullptr); // the port was closed
    keyer.send(QStringLiteral("E"));
    finish();
    EXPECT_EQ(devices.ports.events.count(QStringLiteral("open CwKeyer")), 2);
    EXPECT_EQ(sentText(), QStringLiteral("EE"));
}

TEST_F(KeyerTest, SpeedStepsByOneWithinFiveToNinetyNine)
{
    QSignalSpy speeds(&keyer, &Keyer::speedChanged);
    keyer.setSpeed(98);
    keyer.speedUp();
    keyer.speedUp();
    EXPECT_EQ(keyer.speed(), 99);
    keyer.setSpeed(6);
    keyer.speedDown();
    keyer.speedDown();
    EXPECT_EQ(keyer.speed(), 5);
    EXPECT_EQ(keyer.settings().speed, QStringLiteral("5"));
    EXPECT_EQ(keyer.lineSender().speed(), 5);
    EXPECT_EQ(speeds.count(), 6);
}

TEST_F(KeyerTest, WordSpaceNeverGoesBelowMinusEight)
{
    keyer.setWordSpace(-12);
    EXPECT_EQ(keyer.wordSpace(), -8);
    EXPECT_EQ(keyer.settings().wordSpace, QStringLiteral("-8"));
}

TEST_F(KeyerTest, TheRepeatPauseIsRefusedFromSixtySeconds)
{
    EXPECT_TRUE(keyer.setRepeatSeconds(QStringLiteral("5")));
    EXPECT_EQ(keyer.repeatIntervalMs(), 5000);
    EXPECT_TRUE(keyer.setRepeatSeconds(QStringLiteral("0.25")));
    EXPECT_EQ(keyer.repeatIntervalMs(), 250);
    EXPECT_FALSE(keyer.setRepeatSeconds(QStringLiteral("60")));
    EXPECT_EQ(keyer.repeatIntervalMs(), 0);
    EXPECT_EQ(keyer.settings().repeatSeconds, QStringLiteral("0"));
    EXPECT_FALSE(keyer.setRepeatSeconds(QStringLiteral("abc")));
    EXPECT_FALSE(keyer.setRepeatSeconds(QStringLiteral("-1")));
}

TEST_F(KeyerTest, F1RepeatsAfterThePauseUntilStopped)
{
    keyer.setMessage(0, QStringLiteral("CQ"));
    keyer.setRepeatSeconds(QStringLiteral("0.001"));
    keyer.sendFunctionKey(1);
    EXPECT_TRUE(keyer.isRepeating());
    finish();
    QSignalSpy finished(&keyer, &Keyer::sendingFinished);
    // The pause runs on the event loop; each repetition sends F1 again.
    ASSERT_TRUE(finished.wait(5000));
    finish();
    EXPECT_EQ(sentText(), QStringLiteral("CQCQ"));
    EXPECT_TRUE(keyer.stopRepeat());
    EXPECT_FALSE(keyer.isRepeating());
    EXPECT_FALSE(keyer.stopRepeat());
}

TEST_F(KeyerTest, SettingsAndTimingChoiceAreSavedAndReadBack)
{
    keyer.setMessage(0, QStringLiteral("CQ VELK"));
    keyer.setTimingMethod(QStringLiteral("Sleep"));
    keyer.setLoopOffset(1234);
    ASSERT_TRUE(keyer.saveSettings());
    EXPECT_EQ(store.values.value(QStringLiteral("UserCWSelection")), QStringLiteral("Sleep"));
    EXPECT_EQ(store.values.value(QStringLiteral("UserCWLoopOffset")), QStringLiteral("1234"));
    Keyer again(platform);
    again.loadSettings(dir.path());
    EXPECT_EQ(again.settings(), keyer.settings());
    EXPECT_EQ(again.timingMethod(), QStringLiteral("Sleep"));
    EXPECT_EQ(again.loopOffset(), 1234);
    EXPECT_EQ(again.keyerType(), KeyerType::Rts);
}

TEST_F(KeyerTest, ChoosingLoopCalibratesOnceWithAWholeFiniteNumber)
{
    keyer.setLoopOffset(0);
    keyer.setTimingMethod(QStringLiteral("Loop"));
    EXPECT_GT(keyer.loopOffset(), 0);
    EXPECT_EQ(keyer.loopOffset(), std::nearbyint(keyer.loopOffset()));
    keyer.setLoopOffset(77);
    keyer.setTimingMethod(QStringLiteral("Loop"));
    EXPECT_EQ(keyer.loopOffset(), 77);
}

TEST_F(KeyerTest, AFailedSaveIsReported)
{
    keyer.loadSettings(dir.filePath(QStringLiteral("gone")));
    EXPECT_FALSE(keyer.saveSettings());
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("Error!"));
}

} // namespace
} // namespace velk
