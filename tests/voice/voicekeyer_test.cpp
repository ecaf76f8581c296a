#include "common/platform/fake/faketimers.h"
#include "common/qtprinters.h"
#include "log/logsession.h"
#include "support/platformfakes.h"
#include "voice/voicekeyer.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velk;

namespace {

class VoiceKeyerTest : public ::testing::Test, protected velk::testing::PlatformFakes
{
protected:
    QTemporaryDir dir;
    LogSession session;
    FakeTimers timers;
    std::unique_ptr<VoiceKeyer> keyer;
    FakeAudioPlayer* player = nullptr;
    QStringList failures;
    // PTT as the player found it when asked to play.
    std::vector<bool> pttAtPlay;

    void SetUp() override
    {
        session.folders.working = dir.path();
        keyer = std::make_unique<VoiceKeyer>(platform, session, timers.factory());
        ASSERT_EQ(devices.audioPlayers.size(), 2u);
        player = devices.audioPlayers[0];
        player->defaultDurationMs = 2000;
        player->onPlay = [this] {
            const FakeKeyLine* line = devices.ports.line(PortUser::VoicePtt);
            pttAtPlay.push_back(line != nullptr && line->down);
        };
        QObject::connect(keyer.get(), &VoiceKeyer::failure,
                         [this](const QString& text) { failures << text; });
        VoiceSettings s;
        s.files[0] = file(QStringLiteral("cq.wav"));
        s.files[1] = file(QStringLiteral("exchange.wav"));
        s.files[4] = QStringLiteral("   ");
        s.pttPort = QStringLiteral("2");
        s.pttLine = PttLine::Rts;
        keyer->setSettings(s);
    }

    QString file(const QString& name)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write("RIFF");
        return path;
    }

    void setLoop(const QString& seconds)
    {
        VoiceSettings s = keyer->settings();
        s.loopSeconds = seconds;
        keyer->setSettings(s);
    }

    bool pttDown()
    {
        const FakeKeyLine* line = devices.ports.line(PortUser::VoicePtt);
        return line != nullptr && line->down;
    }
};

TEST_F(VoiceKeyerTest, PttGoesOnThenThePlayThenOffWhenTheSoundHasEnded)
{
    keyer->playKey(2);
    EXPECT_EQ(player->played, QStringList{QStringLiteral("exchange.wav")});
    EXPECT_EQ(pttAtPlay, std::vector<bool>{true});
    EXPECT_EQ(devices.ports.targets[PortUser::VoicePtt].comPort, 2);
    EXPECT_EQ(devices.ports.targets[PortUser::VoicePtt].kind, KeyLineKind::Rts);
    EXPECT_TRUE(keyer->isPlaying());
    EXPECT_TRUE(pttDown());

    // The sound is still coming out: PTT stays on however long it takes.
    timers.advanceMs(1900);
    EXPECT_TRUE(pttDown());
    player->finish();
    EXPECT_FALSE(pttDown());
    EXPECT_FALSE(keyer->isPlaying());
    EXPECT_EQ(devices.ports.events,
              (QStringList{QStringLiteral("open VoicePtt"), QStringLiteral("close VoicePtt")}));
    EXPECT_TRUE(failures.isEmpty());
}

TEST_F(VoiceKeyerTest, EmptyFileBoxNeitherPlaysNorKeys)
{
    keyer->playKey(5);
    keyer->playKey(7);
    EXPECT_TRUE(player->played.isEmpty());
    EXPECT_TRUE(devices.ports.events.isEmpty());
    EXPECT_TRUE(failures.isEmpty());
}

TEST_F(VoiceKeyerTest, MissingOrUnplayableFileIsReportedWithoutKeying)
{
    VoiceSettings s = keyer->settings();
    s.files[2] = dir.filePath(QStringLiteral("gone.wav"));
    keyer->setSettings(s);
    keyer->playKey(3);
    EXPECT_TRUE(devices.ports.events.isEmpty());
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].startsWith(QStringLiteral("F3 not played: No such file")));

    player->loadError = QStringLiteral("compressed WAV (format 2) is not supported");
    keyer->playKey(1);
    EXPECT_TRUE(devices.ports.events.isEmpty());
    EXPECT_TRUE(failures.last().contains(QStringLiteral("compressed WAV")));
}

TEST_F(VoiceKeyerTest, PttPortThatWillNotOpenPlaysNothing)
{
    QSignalSpy invalid(keyer.get(), &VoiceKeyer::pttPortInvalid);
    devices.ports.openError = QStringLiteral("Invalid port.");
    keyer->playKey(1);
    EXPECT_TRUE(player->played.isEmpty());
    EXPECT_EQ(invalid.count(), 1);
    EXPECT_TRUE(failures.last().contains(QStringLiteral("PTT port could not be opened")));
}

TEST_F(VoiceKeyerTest, EveryFailureAfterPttOnReleasesItAtOnce)
{
    // The player breaks off.
    keyer->playKey(1);
    ASSERT_TRUE(pttDown());
    player->fail(QStringLiteral("sound output failed"));
    EXPECT_FALSE(pttDown());
    EXPECT_EQ(failures.last(), QStringLiteral("F1 stopped, PTT released: sound output failed"));

    // The player never reports the end: released after the file's length and a margin.
    keyer->playKey(2);
    ASSERT_TRUE(pttDown());
    timers.advanceMs(2000 + VoiceKeyer::endMarginMs - 1);
    EXPECT_TRUE(pttDown());
    timers.advanceMs(1);
    EXPECT_FALSE(pttDown());
    EXPECT_FALSE(player->isPlaying());
    EXPECT_TRUE(failures.last().contains(QStringLiteral("did not report the end")));

    // The line itself will not key: nothing plays.
    const qsizetype playedBefore = player->played.size();
    devices.ports.openError.clear();
    struct FailingPorts : FakeKeyPorts
    {
        KeyLine* open(PortUser user, const KeyLineTarget& target, QString& error) override
        {
            KeyLine* line = FakeKeyPorts::open(user, target, error);
            static_cast<FakeKeyLine*>(line)->failing = true;
            return line;
        }
    };
    FailingPorts failing;
    struct Devices2 : FakeDevices
    {
        KeyPorts* use = nullptr;
        KeyPorts& keyPorts() override { return *use; }
    } failingDevices;
    failingDevices.use = &failing;
    Platform failingPlatform{prompter, clock, settings, environment, failingDevices};
    VoiceKeyer other(failingPlatform, session, timers.factory());
    QStringList otherFailures;
    QObject::connect(&other, &VoiceKeyer::failure, [&](const QString& text) { otherFailures << text; });
    other.setSettings(keyer->settings());
    other.playKey(1);
    EXPECT_TRUE(failingDevices.audioPlayers[0]->played.isEmpty());
    EXPECT_EQ(failing.line(PortUser::VoicePtt), nullptr); // port closed again
    EXPECT_EQ(otherFailures, QStringList{QStringLiteral("F1 not played: PTT could not be keyed")});
    EXPECT_EQ(player->played.size(), playedBefore);
}

TEST_F(VoiceKeyerTest, EscCloseAndDestructorReleasePtt)
{
    keyer->playKey(1);
    ASSERT_TRUE(pttDown());
    keyer->stop();
    EXPECT_FALSE(pttDown());
    EXPECT_FALSE(player->isPlaying());

    keyer->playKey(1);
    ASSERT_TRUE(pttDown());
    keyer.reset();
    EXPECT_EQ(devices.ports.line(PortUser::VoicePtt), nullptr);
    EXPECT_EQ(devices.ports.events.last(), QStringLiteral("close VoicePtt"));
}

TEST_F(VoiceKeyerTest, AnotherKeyCutsTheMessagePlaying)
{
    keyer->playKey(1);
    keyer->playKey(2);
    EXPECT_EQ(player->played, (QStringList{QStringLiteral("cq.wav"), QStringLiteral("exchange.wav")}));
    EXPECT_EQ(pttAtPlay, (std::vector<bool>{true, true}));
    EXPECT_TRUE(pttDown());
    player->finish();
    EXPECT_FALSE(pttDown());
}

TEST_F(VoiceKeyerTest, RepeatPauseCountsFromTheEndOfPlayback)
{
    setLoop(QStringLiteral("3"));
    keyer->playKey(1);
    EXPECT_TRUE(keyer->isRepeating());
    // The file plays for 2.5 s, longer than its nominal length would suggest.
    timers.advanceMs(2500);
    player->finish();
    EXPECT_FALSE(pttDown());
    const std::int64_t ended = timers.nowMs();
    EXPECT_EQ(timers.dueMs(QStringLiteral("voiceRepeat")), ended + 3000);
    timers.advanceMs(2999);
    EXPECT_EQ(player->played.size(), 1);
    timers.advanceMs(1);
    EXPECT_EQ(player->played.size(), 2);
    EXPECT_TRUE(pttDown());
    player->finish();

    // Any key on the main window: no further repetition.
    keyer->endRepeat();
    timers.advanceMs(10000);
    EXPECT_EQ(player->played.size(), 2);
    EXPECT_FALSE(keyer->isRepeating());
}

TEST_F(VoiceKeyerTest, AnyKeyDuringPlaybackLetsTheMessageEndThenStops)
{
    setLoop(QStringLiteral("1"));
    keyer->playKey(1);
    keyer->endRepeat();
    EXPECT_TRUE(pttDown());
    player->finish();
    EXPECT_FALSE(pttDown());
    timers.advanceMs(5000);
    EXPECT_EQ(player->played.size(), 1);
}

TEST_F(VoiceKeyerTest, NoRepeatWithoutPauseOrForOtherKeys)
{
    keyer->playKey(1);
    EXPECT_FALSE(keyer->isRepeating());
    player->finish();
    setLoop(QStringLiteral("2"));
    keyer->playKey(2);
    EXPECT_FALSE(keyer->isRepeating());
    player->finish();
    timers.advanceMs(5000);
    EXPECT_EQ(player->played.size(), 2);
}

TEST_F(VoiceKeyerTest, FailureEndsTheRepeat)
{
    setLoop(QStringLiteral("2"));
    keyer->playKey(1);
    player->fail();
    EXPECT_FALSE(keyer->isRepeating());
    timers.advanceMs(5000);
    EXPECT_EQ(player->played.size(), 1);
}

TEST_F(VoiceKeyerTest, WithoutAPttPortTheMessagePlaysUnkeyed)
{
    VoiceSettings s = keyer->settings();
    s.pttPort = QStringLiteral("0");
    keyer->setSettings(s);
    keyer->playKey(1);
    EXPECT_EQ(player->played.size(), 1);
    EXPECT_TRUE(devices.ports.events.isEmpty());
}

TEST_F(VoiceKeyerTest, ParallelPttUsesTheParallelAddress)
{
    VoiceSettings s = keyer->settings();
    s.pttLine = PttLine::Parallel;
    keyer->setSettings(s);
    keyer->playKey(1);
    EXPECT_EQ(devices.ports.targets[PortUser::VoicePtt].kind, KeyLineKind::Parallel);
    EXPECT_EQ(devices.ports.targets[PortUser::VoicePtt].parallelAddress, QStringLiteral("&H378"));
    EXPECT_TRUE(pttDown());
    player->finish();
    EXPECT_FALSE(pttDown());
}

TEST_F(VoiceKeyerTest, PlaysOnTheChosenOutput)
{
    keyer->setOutputId(QStringLiteral("usb-radio"));
    keyer->playKey(1);
    EXPECT_EQ(player->loadedOutput, QStringLiteral("usb-radio"));
    EXPECT_EQ(settings.values.value(QStringLiteral("VoiceOutputDevice")), QStringLiteral("usb-radio"));
}

TEST_F(VoiceKeyerTest, SharedPortTakenByTheCwKeyerWhilePlayingIsNotTouchedAgain)
{
    keyer->playKey(1);
    QString error;
    ASSERT_NE(devices.ports.open(PortUser::CwKeyer, KeyLineTarget{}, error), nullptr);
    player->finish();
    // The CW keyer keeps its port; nothing of ours is left open.
    EXPECT_NE(devices.ports.line(PortUser::CwKeyer), nullptr);
    EXPECT_EQ(devices.ports.line(PortUser::VoicePtt), nullptr);
}

} // namespace
