// The rules between the station's subsystems, without a window: the band and the radio follow
// each other, a clicked spot tunes, the call being entered reaches the keyer and the RTTY link,
// "!" asks for the contact, a dupe waits for its cue, and the run ends in order.
#include "app/station.h"
#include "common/qtprinters.h"
#include "log/stationtime.h"
#include "rig/rigsettings.h"
#include "support/files.h"
#include "support/platformfakes.h"
#include "support/waitfor.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace velk::testing {
namespace {

class StationTest : public ::testing::Test, protected PlatformFakes
{
protected:
    QTemporaryDir dir;
    Station station{platform};
    LogSession& session = station.session();
    // The radio's dial, as the scripted Kenwood answers it.
    QByteArray dial = "FA00007025000;MD3;";

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        session.folders.working = dir.path();
        session.prefs.currentBand = QStringLiteral("20");
        session.prefs.mode = QStringLiteral("PH");
        environment.values["VELK_COM1"] = "/dev/pts/91";
        devices.prepareSerial = [this](FakeSerialDevice& device) {
            device.responder = [this](const QByteArray& bytes) {
                return bytes == "FA;MD;" ? dial : QByteArray();
            };
        };
    }

    // A Kenwood on COM1 polled every 100 ms, and a band plan with CW and phone segments.
    void startKenwood()
    {
        RigSettings settings;
        applyTypeDefaults(settings, radioType("Kenwood"));
        settings.pollRate = 'F';
        ASSERT_TRUE(saveRigSettings(dir.path() + "/RigCntrl.txt", settings));
        ASSERT_TRUE(writeFile(dir.path() + "/BandPlan.txt",
                              "\"2024-01-01\"\r\n\"20\",\"E\",\"CW\",14,14.15\r\n"
                              "\"20\",\"E\",\"PH\",14.15,14.35\r\n\"40\",\"E\",\"CW\",7,7.125\r\n"
                              "\"40\",\"E\",\"PH\",7.125,7.3\r\n"));
        session.prefs.radioType = QStringLiteral("Kenwood");
        station.startRig();
        ASSERT_TRUE(station.rig().isPolling());
        ASSERT_TRUE(waitFor([&] { return session.prefs.currentBand == QStringLiteral("40"); }));
    }
    FakeSerialDevice& port() { return *devices.serialDevices.back(); }
};

TEST_F(StationTest, TheBandFollowsTheDialAndTheNextContactTakesItsFrequency)
{
    QSignalSpy selected(&station, &Station::bandSelected);
    startKenwood();
    EXPECT_EQ(session.pendingFrequency, QStringLiteral("7.025"));
    ASSERT_EQ(selected.count(), 1);
    EXPECT_EQ(selected.at(0).at(0).toString(), QStringLiteral("40"));

    // The operator turns the dial: the band comes along and the radio is not tuned back.
    port().written.clear();
    dial = "FA00014032500;MD3;";
    ASSERT_TRUE(waitFor([&] { return session.prefs.currentBand == QStringLiteral("20"); }));
    EXPECT_EQ(session.pendingFrequency, QStringLiteral("14.033"));
    EXPECT_FALSE(port().written.contains("FA000")) << hex(port().written);

    // A reading outside every band leaves the band alone but still dates the frequency.
    station.followRadioFrequency(2.0001);
    EXPECT_EQ(session.prefs.currentBand, QStringLiteral("20"));
    EXPECT_EQ(session.pendingFrequency, QStringLiteral("2.000"));
}

TEST_F(StationTest, ABandChosenInTheLoggerTunesTheRadioModeFirst)
{
    startKenwood();
    port().written.clear();
    station.selectBand(QStringLiteral("20"));
    ASSERT_TRUE(waitFor([&] { return port().written.contains("FA00014175000;"); }));
    // The band plan's phone segment: upper sideband first, then the frequency.
    EXPECT_TRUE(port().written.startsWith("MD2;FA00014175000;")) << hex(port().written);

    // In a CW log the band's CW segment, in CW: never a phone frequency in sideband.
    session.prefs.mode = QStringLiteral("CW");
    dial = "FA00014175000;MD2;";
    ASSERT_TRUE(waitFor([&] { return session.pendingFrequency == QStringLiteral("14.175"); }));
    port().written.clear();
    station.selectBand(QStringLiteral("40"));
    ASSERT_TRUE(waitFor([&] { return port().written.contains("FA00007030000;"); }));
    EXPECT_TRUE(port().written.startsWith("MD3;FA00007030000;")) << hex(port().written);

    // A text that is no band changes nothing.
    QSignalSpy selected(&station, &Station::bandSelected);
    station.selectBand(QStringLiteral("12"));
    EXPECT_EQ(selected.count(), 0);
}

TEST_F(StationTest, ASlowRadioStillShowingTheOldDialDoesNotFlipTheBandBack)
{
    startKenwood();
    // After the tune, the radio answers two polls late with the old dial.
    int staleReplies = 0;
    port().responder = [&](const QByteArray& bytes) -> QByteArray {
        if (bytes.contains("FA00014175000;")) {
            staleReplies = 2;
            dial = "FA00014175000;MD2;";
        }
        if (bytes != "FA;MD;") {
            return {};
        }
        return staleReplies-- > 0 ? QByteArray("FA00007025000;MD3;") : dial;
    };
    QStringList bands;
    QObject::connect(&station, &Station::bandSelected, &station, [&](const QString& band) { bands << band; });
    station.selectBand(QStringLiteral("20"));
    ASSERT_TRUE(waitFor([&] { return session.pendingFrequency == QStringLiteral("14.175"); }));
    EXPECT_EQ(bands, QStringList{QStringLiteral("20")});
    EXPECT_EQ(session.prefs.currentBand, QStringLiteral("20"));
}

TEST_F(StationTest, ADamagedOrMissingRadioFileIsSaidOnceARadioIsChosen)
{
    QSignalSpy problems(&station, &Station::rigSettingsProblem);
    session.prefs.radioType = QStringLiteral("Kenwood");
    station.startRig();
    ASSERT_EQ(problems.count(), 1);
    EXPECT_TRUE(problems.at(0).at(0).toString().contains(QStringLiteral("missing")));

    // A bad baud on line 1 spoils that field alone: the rest is read and the radio is polled.
    RigSettings settings;
    applyTypeDefaults(settings, radioType("Kenwood"));
    ASSERT_TRUE(saveRigSettings(dir.path() + "/RigCntrl.txt", settings));
    QByteArray bytes = readAll(dir.path() + "/RigCntrl.txt");
    bytes.replace(0, bytes.indexOf('\r'), "\"fast\"");
    ASSERT_TRUE(writeFile(dir.path() + "/RigCntrl.txt", bytes));
    station.startRig();
    ASSERT_EQ(problems.count(), 2);
    EXPECT_TRUE(problems.at(1).at(0).toString().contains(QStringLiteral("baud")))
        << problems.at(1).at(0).toString().toStdString();
    EXPECT_EQ(station.rig().radioType(), QStringLiteral("Kenwood"));
    EXPECT_TRUE(station.rig().isPolling());

    // Without a radio nothing is said.
    session.prefs.radioType = QStringLiteral("None");
    station.startRig();
    EXPECT_EQ(problems.count(), 2);
}

TEST_F(StationTest, AClickedSpotTunesOnlyWhenThereIsARadio)
{
    station.tuneToSpot(14.0255);
    EXPECT_TRUE(devices.serialDevices.empty());

    startKenwood();
    port().written.clear();
    station.tuneToSpot(14.0255);
    ASSERT_TRUE(waitFor([&] { return port().written.contains("FA00014025500;"); }));
}

TEST_F(StationTest, TheCallBeingEnteredReachesTheKeyerAndTheContactMark)
{
    QSignalSpy requested(&station, &Station::contactEntryRequested);
    QSignalSpy changed(&session, &LogSession::callBeingEnteredChanged);
    // "!" with nothing in the call box logs nothing.
    emit station.keyer().contactMarkReached();
    EXPECT_EQ(requested.count(), 0);

    session.setCallBeingEntered(QStringLiteral("W1AW"));
    session.setCallBeingEntered(QStringLiteral("W1AW"));
    EXPECT_EQ(changed.count(), 1); // a value: told once per change
    emit station.keyer().contactMarkReached();
    EXPECT_EQ(requested.count(), 1);
}

TEST_F(StationTest, TheCallBeingEnteredGoesToTheRttyTerminal)
{
    session.prefs.mode = QStringLiteral("RY");
    settings.values["UserDumoOption"] = QStringLiteral("1");
    station.applyRttyLink();
    ASSERT_FALSE(devices.localChannels.empty());
    FakeLocalChannel* channel = devices.localChannels.back().data();
    channel->accept();
    QByteArray answers;
    for (const QByteArray& item : RttyLink::itemNames()) {
        answers += "DATA " + item + "\n";
    }
    channel->deliver(answers);
    ASSERT_TRUE(waitFor([&] { return station.rttyLink().isConnected(); }));
    channel->takeWritten();

    session.setCallBeingEntered(QStringLiteral("DL1ABC"));
    EXPECT_TRUE(channel->takeWritten().contains("txtBUrCall DL1ABC"));
}

TEST_F(StationTest, ADupeWaitsForItsSpokenCueAtEveryLevelButOff)
{
    ASSERT_TRUE(writeFile(dir.path() + "/Dupe.wav", {}));
    for (const int level : {0, 1, 2}) {
        session.prefs.audioFeedbackLevel = level;
        bool wentOn = false;
        session.dupeCue([&] { wentOn = true; });
        ASSERT_EQ(devices.audioPlayers.size(), 2u);
        FakeAudioPlayer& player = *devices.audioPlayers.at(1); // the cue player
        if (level == 0) {
            EXPECT_TRUE(wentOn);
            continue;
        }
        EXPECT_FALSE(wentOn) << "level " << level;
        player.finish();
        EXPECT_TRUE(wentOn) << "level " << level;
    }
}

TEST_F(StationTest, ShutDownReleasesTheTransmitterClosesTheRadioAndTheLinksOnce)
{
    startKenwood();
    session.operatingClock.start(localNow(clock));
    clock.advanceMs(60'000);
    // The voice keyer's PTT is down when the run ends.
    QString error;
    KeyLine* ptt = devices.ports.open(PortUser::VoicePtt, KeyLineTarget{KeyLineKind::Rts, 2, {}}, error);
    ASSERT_NE(ptt, nullptr);
    ASSERT_TRUE(ptt->set(true));
    QSignalSpy finished(&station, &Station::shutDownFinished);
    station.shutDown();
    EXPECT_FALSE(station.rig().isPolling());
    EXPECT_FALSE(port().isOpen());
    EXPECT_TRUE(devices.ports.events.contains(QStringLiteral("close VoicePtt")));
    EXPECT_FALSE(ptt->isOpen());
    EXPECT_EQ(devices.ports.line(PortUser::VoicePtt), nullptr);
    EXPECT_FALSE(station.spots().isListening());
    EXPECT_FALSE(session.operatingClock.isRunning());
    EXPECT_NEAR(session.prefs.accumulatedSeconds, 60.0, 1.0);

    EXPECT_EQ(finished.count(), 1);

    const QStringList eventsAfterFirst = devices.ports.events;
    station.shutDown();
    EXPECT_EQ(devices.ports.events, eventsAfterFirst);
}

} // namespace
} // namespace velk::testing
