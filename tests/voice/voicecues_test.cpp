#include "common/platform/fake/fakeplatform.h"
#include "common/platform/fake/faketimers.h"
#include "common/qtprinters.h"
#include "log/logsession.h"
#include "voice/voicecues.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velk;

namespace {

class VoiceCuesTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    LogSession session;
    FakeTimers timers;
    FakeAudioPlayer player;
    std::unique_ptr<VoiceCues> cues;

    void SetUp() override
    {
        session.folders.working = dir.path();
        for (const char* name : {"Call", "Name", "SPC", "Dupe", "NavEn", "NavDis"}) {
            QFile f(dir.filePath(QString::fromLatin1(name) + QStringLiteral(".wav")));
            f.open(QIODevice::WriteOnly);
        }
        player.defaultDurationMs = 600;
        cues = std::make_unique<VoiceCues>(player, session, timers.factory());
    }

    void setLevel(NavigationLevel level) { session.prefs.audioFeedbackLevel = static_cast<int>(level); }
    void tabThroughBoxes()
    {
        for (EntryBox box : {EntryBox::Call, EntryBox::Name, EntryBox::Location}) {
            cues->boxEntered(box);
            player.finish();
        }
    }
};

TEST_F(VoiceCuesTest, LevelsChooseWhichBoxesAnnounceThemselves)
{
    setLevel(NavigationLevel::Off);
    tabThroughBoxes();
    EXPECT_TRUE(player.played.isEmpty());

    setLevel(NavigationLevel::CallOnly);
    tabThroughBoxes();
    EXPECT_EQ(player.played, QStringList{QStringLiteral("Call.wav")});

    player.played.clear();
    setLevel(NavigationLevel::AllFields);
    tabThroughBoxes();
    EXPECT_EQ(player.played, (QStringList{QStringLiteral("Call.wav"), QStringLiteral("Name.wav"),
                                          QStringLiteral("SPC.wav")}));
    EXPECT_EQ(player.loadedPath, dir.filePath(QStringLiteral("SPC.wav")));
    EXPECT_EQ(player.loadedOutput, QString()); // the operator's own speakers, never the radio
}

TEST_F(VoiceCuesTest, ANewCueCutsTheOnePlaying)
{
    setLevel(NavigationLevel::AllFields);
    cues->boxEntered(EntryBox::Call);
    cues->boxEntered(EntryBox::Name);
    cues->boxEntered(EntryBox::Location);
    EXPECT_EQ(player.stops, 2);
    EXPECT_EQ(player.played.size(), 3);
    EXPECT_TRUE(player.isPlaying());
}

TEST_F(VoiceCuesTest, DupeWaitsForTheEndOfTheCueUnlessNavigationIsOff)
{
    int goneOn = 0;
    setLevel(NavigationLevel::CallOnly);
    cues->dupe([&] { ++goneOn; });
    EXPECT_EQ(player.played, QStringList{QStringLiteral("Dupe.wav")});
    EXPECT_EQ(goneOn, 0);
    player.finish();
    EXPECT_EQ(goneOn, 1);

    setLevel(NavigationLevel::Off);
    cues->dupe([&] { ++goneOn; });
    EXPECT_EQ(player.played.size(), 2); // still heard
    EXPECT_EQ(goneOn, 2);               // but nothing waits
    player.finish();
    EXPECT_EQ(goneOn, 2);
}

TEST_F(VoiceCuesTest, WaiterGoesOnWhenThePlayerFailsOrNeverEnds)
{
    setLevel(NavigationLevel::AllFields);
    int goneOn = 0;
    cues->dupe([&] { ++goneOn; });
    player.fail();
    EXPECT_EQ(goneOn, 1);

    // No end reported: the cue's length and the margin, then on.
    cues->dupe([&] { ++goneOn; });
    timers.advanceMs(600 + VoiceCues::endMarginMs - 1);
    EXPECT_EQ(goneOn, 1);
    timers.advanceMs(1);
    EXPECT_EQ(goneOn, 2);
    EXPECT_FALSE(player.isPlaying());

    // A missing file is silent and goes on at once.
    QFile::remove(dir.filePath(QStringLiteral("Dupe.wav")));
    cues->dupe([&] { ++goneOn; });
    EXPECT_EQ(goneOn, 3);
    player.finish();
    timers.advanceMs(10000);
    EXPECT_EQ(goneOn, 3);
}

TEST_F(VoiceCuesTest, DupeIsHeardToItsEndThroughTheMoveThatCameWithIt)
{
    for (const NavigationLevel level : {NavigationLevel::CallOnly, NavigationLevel::AllFields}) {
        setLevel(level);
        player.played.clear();
        int goneOn = 0;
        // The Tab that left the call box moves into the name box while "Dupe" plays; the check's
        // own move back to the call box then speaks "Call".
        cues->dupe([&] {
            ++goneOn;
            cues->boxEntered(EntryBox::Call);
        });
        cues->boxEntered(EntryBox::Name);
        EXPECT_EQ(goneOn, 0) << static_cast<int>(level);
        player.finish();
        EXPECT_EQ(goneOn, 1);
        timers.advanceMs(10000);
        EXPECT_EQ(goneOn, 1);
        EXPECT_EQ(player.played, (QStringList{QStringLiteral("Dupe.wav"), QStringLiteral("Call.wav")}));
        player.finish();
    }
}

TEST_F(VoiceCuesTest, SwitchingNavigationSounds)
{
    cues->levelChosen(NavigationLevel::Off);
    EXPECT_EQ(player.played.last(), QStringLiteral("NavDis.wav"));
    cues->levelChosen(NavigationLevel::AllFields);
    EXPECT_EQ(player.played.last(), QStringLiteral("NavEn.wav"));
    player.finish();

    // "Call Only": "NavEn", and "Call" once it has ended.
    player.played.clear();
    cues->levelChosen(NavigationLevel::CallOnly);
    EXPECT_EQ(player.played, QStringList{QStringLiteral("NavEn.wav")});
    player.finish();
    EXPECT_EQ(player.played, (QStringList{QStringLiteral("NavEn.wav"), QStringLiteral("Call.wav")}));

    // Cut before its end, "NavEn" is not followed by "Call".
    player.played.clear();
    cues->levelChosen(NavigationLevel::CallOnly);
    cues->levelChosen(NavigationLevel::Off);
    player.finish();
    EXPECT_EQ(player.played, (QStringList{QStringLiteral("NavEn.wav"), QStringLiteral("NavDis.wav")}));
}

} // namespace
