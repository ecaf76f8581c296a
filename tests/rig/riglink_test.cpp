// The radio link over a scripted serial port: poll cycle, whole replies, tuning, settling after a
// command, shut-down, lost devices and the trace.
#include "common/platform/fake/fakeplatform.h"
#include "rig/pegasus.h"
#include "rig/riglink.h"
#include "rig/tuning.h"
#include "support/waitfor.h"

#include <QDir>
#include <QLoggingCategory>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <utility>

namespace velk {
namespace {

class RigLinkTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    FakePrompter prompter;
    FakeClock clock;
    FakeSettingsStore store;
    FakeEnvironment environment;
    FakeDevices devices;
    Platform platform{prompter, clock, store, environment, devices};
    RigLink link{platform};
    // What the radio answers to each write.
    std::function<QByteArray(const QByteArray&)> radio;

    void SetUp() override
    {
        environment.values["VELK_COM2"] = "/dev/pts/77";
        link.setWorkingFolder(dir.path());
        devices.prepareSerial = [this](FakeSerialDevice& device) {
            device.responder = [this](const QByteArray& bytes) {
                return radio ? radio(bytes) : QByteArray();
            };
        };
    }

    void use(const char* type)
    {
        RigSettings settings;
        applyTypeDefaults(settings, radioType(type));
        settings.commPort = 2;
        settings.pollRate = 'F';
        link.setSettings(settings);
    }

    FakeSerialDevice& port() { return *devices.serialDevices.back(); }

    static QList<PlanRow> plan()
    {
        return {{"80", "E", "PH", 3.6f, 4.0f},
                {"20", "E", "CW", 14.0f, 14.15f},
                {"20", "E", "PH", 14.15f, 14.35f},
                {"160", "E", "CW", 1.8f, 2.0f},
                {"60", "E", "PH", 5.33f, 5.41f}};
    }
};

TEST_F(RigLinkTest, KenwoodPollPublishesFrequencyAndMode)
{
    use("Kenwood");
    radio = [](const QByteArray& bytes) {
        return bytes == "FA;MD;" ? QByteArray("FA00014025000;MD3;") : QByteArray();
    };
    QSignalSpy frequency(&link, &RigLink::frequencyChanged);
    QSignalSpy mode(&link, &RigLink::modeChanged);
    ASSERT_TRUE(link.start());
    EXPECT_EQ(port().openedPath, QString("/dev/pts/77"));
    EXPECT_EQ(port().openedSettings.baud, 4800);
    EXPECT_EQ(port().openedSettings.stopBits, 2);
    ASSERT_EQ(frequency.count(), 1);
    EXPECT_FLOAT_EQ(frequency.at(0).at(0).toDouble(), 14.025);
    ASSERT_EQ(mode.count(), 1);
    EXPECT_EQ(mode.at(0).at(0).toString(), QString("CW"));
    EXPECT_TRUE(link.isPolling());
    // The cycle goes on at the polling rate: every reading is read, an unchanged dial not republished.
    QSignalSpy read(&link, &RigLink::frequencyRead);
    ASSERT_TRUE(read.wait(5000));
    EXPECT_EQ(frequency.count(), 1);
    EXPECT_EQ(mode.count(), 1);
}

TEST_F(RigLinkTest, PartialReplyWaitsForTheRestAndIsNeverDecodedInPieces)
{
    use("Kenwood 2");
    QSignalSpy frequency(&link, &RigLink::frequencyChanged);
    QSignalSpy mode(&link, &RigLink::modeChanged);
    ASSERT_TRUE(link.start());
    const QByteArray reply = QByteArray("IF00014025000") + QByteArray(15, ' ') + "031" + "0000000;";
    port().deliver(reply.left(20));
    EXPECT_EQ(frequency.count(), 0);
    EXPECT_EQ(mode.count(), 0);
    port().deliver(reply.mid(20));
    ASSERT_EQ(frequency.count(), 1);
    EXPECT_EQ(mode.at(0).at(0).toString(), QString("CW"));
    EXPECT_EQ(link.activeVfo(), 1);
}

TEST_F(RigLinkTest, LeftoversOfACutReplyAreClearedBeforeTheNextQuery)
{
    use("Yaesu 990");
    QSignalSpy frequency(&link, &RigLink::frequencyChanged);
    ASSERT_TRUE(link.start());
    // Half a status block, then silence: the next query clears it and asks again.
    port().deliver(QByteArray(10, '\x05'));
    port().written.clear();
    ASSERT_TRUE(velk::testing::waitFor([&] { return !port().written.isEmpty(); }, 5000));
    EXPECT_EQ(port().written, QByteArray::fromHex("0000000210"));
    QByteArray block(32, '\0');
    block[1] = 0x15;
    block[2] = 0x66;
    block[3] = static_cast<char>(0x84);
    port().deliver(block);
    ASSERT_EQ(frequency.count(), 1);
    EXPECT_FLOAT_EQ(frequency.at(0).at(0).toDouble(), 14.025);
}

TEST_F(RigLinkTest, Ft847GetsCatOnAndCatOffDrainsBeforeThePortCloses)
{
    use("Yaesu");
    link.setYaesuCatSwitch(true);
    ASSERT_TRUE(link.start());
    EXPECT_TRUE(port().written.startsWith(QByteArray::fromHex("0000000000")));
    port().written.clear();
    QSignalSpy finished(&link, &RigLink::shutDownFinished);
    port().unsent = 5;
    link.shutDown();
    EXPECT_EQ(port().written, QByteArray::fromHex("0000000080"));
    EXPECT_FALSE(link.isPolling());
    // Still on the line: the port stays open; a second call changes nothing.
    QTest::qWait(30);
    EXPECT_TRUE(port().isOpen());
    link.shutDown();
    EXPECT_EQ(port().written, QByteArray::fromHex("0000000080"));
    port().unsent = 0;
    ASSERT_TRUE(velk::testing::waitFor([&] { return finished.count() == 1; }));
    EXPECT_FALSE(port().isOpen());

    // A line that never drains is closed once the limit has passed, not before.
    ASSERT_TRUE(link.start());
    port().unsent = 5;
    link.shutDown();
    QTest::qWait(30);
    EXPECT_TRUE(port().isOpen());
    clock.advanceMs(501);
    ASSERT_TRUE(velk::testing::waitFor([&] { return finished.count() == 2; }));
    EXPECT_FALSE(port().isOpen());
}

TEST_F(RigLinkTest, ABandChangeIsNotUndoneByAReplyThatStillShowsTheOldDial)
{
    use("Kenwood");
    link.setExtraRows(plan());
    // A slow radio: after the set command it answers `lag` more polls with the old dial.
    QByteArray dial = "FA00007025000;MD3;";
    QByteArray next;
    int lag = 0;
    radio = [&](const QByteArray& bytes) {
        if (bytes.startsWith("FA0")) {
            next = "FA" + bytes.mid(2, 11) + ";MD3;";
            return QByteArray();
        }
        if (bytes == "FA;MD;" && !next.isEmpty() && lag-- <= 0) {
            dial = next;
            next.clear();
        }
        return bytes == "FA;MD;" ? dial : QByteArray();
    };
    QList<double> changed;
    QList<double> read;
    QObject::connect(&link, &RigLink::frequencyChanged, [&](double mhz) { changed << mhz; });
    QObject::connect(&link, &RigLink::frequencyRead, [&](double mhz) { read << mhz; });
    ASSERT_TRUE(link.start());
    ASSERT_TRUE(velk::testing::waitFor([&] { return read.size() >= 3; }));
    // A value: published once, read every poll.
    ASSERT_EQ(changed.size(), 1);
    EXPECT_NEAR(changed.front(), 7.025, 1e-5);

    lag = RigLink::settleReadings - 1;
    link.changeFrequency(14.025);
    ASSERT_TRUE(velk::testing::waitFor([&] { return changed.size() == 2; }));
    EXPECT_NEAR(changed.back(), 14.025, 1e-5);
    EXPECT_FALSE(link.isSettling());
    EXPECT_NEAR(read.back(), 14.025, 1e-5);

    // A radio that does not take the frequency is believed after the held readings.
    const qsizetype before = read.size();
    lag = 1000;
    link.changeFrequency(21.025);
    ASSERT_TRUE(velk::testing::waitFor([&] { return !link.isChanging() && link.isSettling(); }));
    ASSERT_TRUE(velk::testing::waitFor([&] { return !link.isSettling(); }));
    EXPECT_EQ(read.size(), before + 1);
    EXPECT_NEAR(read.back(), 14.025, 1e-5);
    EXPECT_EQ(changed.size(), 2);
}

TEST_F(RigLinkTest, LogModeTunesTheBandsSegmentInItsMode)
{
    use("Kenwood");
    link.setExtraRows(plan());
    ASSERT_TRUE(link.start());
    struct Row
    {
        const char* band;
        const char* logMode;
        QByteArray sent;
    };
    // Band 40 in a CW log once sent LSB and 7.150 MHz.
    for (const Row& row : {Row{"40", "CW", "MD3;FA00007030000;"}, Row{"20", "RY", "MD6;FA00014080000;"},
                           Row{"20", "PH", "MD2;FA00014175000;"}, Row{"60", "PH", "MD2;FA00005357000;"},
                           Row{"160", "CW", "MD3;FA00001830000;"}, Row{"160", "PH", "FA00001900000;"}}) {
        SCOPED_TRACE(std::string(row.band) + " " + row.logMode);
        const auto mhz = bandEntryFrequency(row.band, row.logMode);
        ASSERT_TRUE(mhz.has_value());
        port().written.clear();
        link.changeFrequency(*mhz, bandEntryMode(row.logMode));
        ASSERT_TRUE(velk::testing::waitFor([&] { return !link.isChanging(); }));
        EXPECT_TRUE(port().written.startsWith(row.sent)) << port().written.toStdString();
    }
    EXPECT_FALSE(bandEntryFrequency("11", "CW").has_value());
    EXPECT_FALSE(bandEntryFrequency("11", "PH").has_value());
}

TEST_F(RigLinkTest, ModeCommandNeedsARadioNotAPollAndSaysWhenThePortIsClosed)
{
    use("Kenwood");
    QSignalSpy failed(&link, &RigLink::changeFailed);
    link.changeMode(0.0, "CW");
    ASSERT_TRUE(velk::testing::waitFor([&] { return failed.count() == 1; }));
    EXPECT_EQ(failed.at(0).at(0).toString(), QString("Error Changing Mode"));
    EXPECT_EQ(failed.at(0).at(1).toString(), QString("Port is not open CW"));
    use("Icom 735"); // no mode commands: nothing to say
    link.changeMode(0.0, "RTTY");
    EXPECT_FALSE(link.isChanging());
    use("None");
    link.changeMode(0.0, "CW");
    EXPECT_FALSE(link.isChanging());
    EXPECT_EQ(failed.count(), 1);
}

TEST_F(RigLinkTest, TenTecPanelRepliesOutOfPhaseAreTakenByTheirLetter)
{
    use("Ten Tec Fnt Pnl");
    QSignalSpy frequency(&link, &RigLink::frequencyChanged);
    QSignalSpy mode(&link, &RigLink::modeChanged);
    ASSERT_TRUE(link.start());
    EXPECT_EQ(port().written, QByteArray("?A\r"));
    // The radio is slower than the poll: its frequency reply comes while the mode is awaited.
    ASSERT_TRUE(velk::testing::waitFor([&] { return port().written.endsWith("?M\r"); }));
    port().deliver(QByteArray("A") + QByteArray::fromHex("006D19B0") + "\r");
    ASSERT_EQ(frequency.count(), 1);
    EXPECT_NEAR(frequency.at(0).at(0).toDouble(), 7.15, 1e-5);
    ASSERT_TRUE(velk::testing::waitFor([&] { return port().written.endsWith("?A\r"); }));
    port().deliver("M33\r");
    ASSERT_EQ(mode.count(), 1);
    EXPECT_EQ(mode.at(0).at(0).toString(), QString("CW"));
}

TEST_F(RigLinkTest, TraceShowsTheCatBytesBothWaysAndTheOpen)
{
    use("Kenwood");
    radio = [](const QByteArray& bytes) {
        return bytes == "FA;MD;" ? QByteArray("FA00014025000;MD3;") : QByteArray();
    };
    static QStringList trace;
    trace.clear();
    QLoggingCategory::setFilterRules(QStringLiteral("velk.rig.debug=true"));
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext& context, const QString& text) {
            if (QLatin1String(context.category) == QLatin1String("velk.rig")) {
                trace << text;
            }
        });
    ASSERT_TRUE(link.start());
    link.stop();
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QStringLiteral("velk.rig.debug=false"));
    EXPECT_TRUE(trace.filter("opened /dev/pts/77 for Kenwood").size() == 1) << trace.join('\n').toStdString();
    EXPECT_TRUE(trace.contains("-> 46 41 3B 4D 44 3B")) << trace.join('\n').toStdString();
    EXPECT_TRUE(trace.contains("<- 46 41 30 30 30 31 34 30 32 35 30 30 30 3B 4D 44 33 3B"));
    EXPECT_TRUE(trace.contains("port closed"));
}

TEST_F(RigLinkTest, PortWithoutModemLinesStillOpensAndPolls)
{
    use("Kenwood");
    RigSettings settings = link.settings();
    settings.connectionPower = 'D';
    link.setSettings(settings);
    devices.prepareSerial = [](FakeSerialDevice& device) { device.hasModemLines = false; };
    ASSERT_TRUE(link.start());
    EXPECT_TRUE(link.isPolling());
    EXPECT_EQ(port().written, QByteArray("FA;MD;"));
    ASSERT_FALSE(port().lineChanges.empty());
    EXPECT_EQ(port().lineChanges.back(), std::make_pair('D', true));
}

TEST_F(RigLinkTest, FailedOpenIsReportedAndNothingPolls)
{
    use("Icom");
    devices.prepareSerial = [](FakeSerialDevice& device) { device.openError = "No such file or directory"; };
    QSignalSpy failed(&link, &RigLink::openFailed);
    EXPECT_FALSE(link.start());
    ASSERT_EQ(failed.count(), 1);
    EXPECT_EQ(failed.at(0).at(0).toString(), QString("No such file or directory"));
    EXPECT_FALSE(link.isPolling());
}

TEST_F(RigLinkTest, NoneOpensNothing)
{
    use("None");
    EXPECT_FALSE(link.start());
    EXPECT_TRUE(devices.serialDevices.empty());
    link.changeFrequency(14.025);
    EXPECT_FALSE(link.isChanging());
}

TEST_F(RigLinkTest, VanishedDeviceIsReportedOnceAndStartResumes)
{
    use("Kenwood");
    QSignalSpy lost(&link, &RigLink::deviceLost);
    ASSERT_TRUE(link.start());
    port().vanish("Resource error");
    port().vanish("Resource error");
    EXPECT_EQ(lost.count(), 1);
    EXPECT_FALSE(link.isPolling());
    port().written.clear();
    ASSERT_TRUE(link.start());
    EXPECT_EQ(port().written, QByteArray("FA;MD;"));
    port().vanish("Resource error");
    EXPECT_EQ(lost.count(), 2);
}

TEST_F(RigLinkTest, ChangeFrequencySendsThePlanModeThenTheFrequencyAndResumes)
{
    use("Kenwood");
    link.setExtraRows(plan());
    ASSERT_TRUE(link.start());
    port().written.clear();
    link.changeFrequency(14.025);
    EXPECT_TRUE(link.isChanging());
    // A second request while the first runs returns at once.
    link.changeFrequency(3.79);
    ASSERT_TRUE(velk::testing::waitFor([&] { return !link.isChanging(); }, 5000));
    EXPECT_TRUE(port().written.startsWith("MD3;FA00014025000;"));
    port().written.clear();
    link.changeFrequency(3.79);
    ASSERT_TRUE(velk::testing::waitFor([&] { return !link.isChanging(); }, 5000));
    EXPECT_TRUE(port().written.startsWith("MD1;FA00003790000;"));
    // The poll comes back after the change.
    port().written.clear();
    ASSERT_TRUE(velk::testing::waitFor([&] { return port().written.contains("FA;MD;"); }, 5000));
}

TEST_F(RigLinkTest, AChangeStartedAsTheLastFinishesKeepsItsPause)
{
    use("Kenwood");
    link.setExtraRows(plan());
    ASSERT_TRUE(link.start());
    bool again = true;
    std::optional<QByteArray> writtenRightAfter;
    // As a scan does: the next tune starts the moment the radio has taken the last.
    QObject::connect(&link, &RigLink::changeFinished, [&] {
        if (std::exchange(again, false)) {
            port().written.clear();
            link.changeFrequency(14.0255);
            QTimer::singleShot(0, [&] { writtenRightAfter = port().written; });
        }
    });
    link.changeFrequency(14.025);
    ASSERT_TRUE(velk::testing::waitFor([&] { return !again && !link.isChanging(); }));
    ASSERT_TRUE(writtenRightAfter.has_value());
    EXPECT_TRUE(writtenRightAfter->isEmpty()) << writtenRightAfter->toStdString(); // the mode waits 99 ms
    EXPECT_TRUE(port().written.startsWith("MD3;FA00014025500;"));
}

TEST_F(RigLinkTest, SixtyMetrePhoneIsUpperSidebandAndTopBandSetsNoMode)
{
    use("Kenwood");
    link.setExtraRows(plan());
    ASSERT_TRUE(link.start());
    port().written.clear();
    link.changeFrequency(5.357);
    ASSERT_TRUE(velk::testing::waitFor([&] { return !link.isChanging(); }, 5000));
    EXPECT_TRUE(port().written.startsWith("MD2;FA00005357000;"));
    port().written.clear();
    link.changeFrequency(1.84);
    ASSERT_TRUE(velk::testing::waitFor([&] { return !link.isChanging(); }, 5000));
    EXPECT_TRUE(port().written.startsWith("FA00001840000;"));
}

TEST_F(RigLinkTest, ChangeFailsOnAClosedPortAndStaysStopped)
{
    use("Kenwood");
    ASSERT_TRUE(link.start());
    QSignalSpy failed(&link, &RigLink::changeFailed);
    link.changeFrequency(14.025);
    port().close();
    ASSERT_TRUE(velk::testing::waitFor([&] { return failed.count() == 1; }, 5000));
    EXPECT_EQ(failed.at(0).at(0).toString(), QString("Error Changing Frequency"));
    EXPECT_FALSE(link.isPolling());
}

TEST_F(RigLinkTest, UseFrequencyOffAndModeSourceRules)
{
    use("Kenwood");
    RigSettings settings = link.settings();
    settings.useFrequency = false;
    settings.modeSource = ModeSource::Frequency;
    link.setSettings(settings);
    radio = [](const QByteArray&) { return QByteArray("FA00014200000;MD3;"); };
    QSignalSpy frequency(&link, &RigLink::frequencyChanged);
    QSignalSpy mode(&link, &RigLink::modeChanged);
    ASSERT_TRUE(link.start());
    EXPECT_EQ(frequency.count(), 0);
    ASSERT_EQ(mode.count(), 1);
    EXPECT_EQ(mode.at(0).at(0).toString(), QString("PH")); // the sub-band wins over the radio's CW
    link.stop();
    settings.modeSource = ModeSource::DontUse;
    link.setSettings(settings);
    ASSERT_TRUE(link.start());
    EXPECT_EQ(mode.count(), 1);
}

TEST_F(RigLinkTest, PegasusReadsAndWritesTheExchangeFiles)
{
    use("Ten Tec Pegasus");
    store.values["PegasusFolder"] = dir.path();
    QFile out(dir.path() + "/PEGASUS.OUT");
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("14.025\r\n\"USB\"\r\n");
    out.close();
    QSignalSpy frequency(&link, &RigLink::frequencyChanged);
    QSignalSpy mode(&link, &RigLink::modeChanged);
    ASSERT_TRUE(link.start());
    EXPECT_TRUE(devices.serialDevices.empty());
    ASSERT_EQ(frequency.count(), 1);
    EXPECT_EQ(mode.at(0).at(0).toString(), QString("PH"));
    link.changeFrequency(7.0255);
    ASSERT_TRUE(velk::testing::waitFor([&] { return !link.isChanging(); }, 5000));
    QFile in(dir.path() + "/PEGASUS.IN");
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    EXPECT_EQ(in.readAll(), QByteArray("7.0255\r\nPH\r\n"));
}

TEST_F(RigLinkTest, CivLinkIgnoresItsOwnEchoAndAlternatesQueries)
{
    use("Icom");
    radio = [](const QByteArray& bytes) {
        QByteArray echo = bytes;
        if (bytes == QByteArray::fromHex("FEFE64E003FD")) {
            return echo + QByteArray::fromHex("FEFEE064030050021400FD");
        }
        if (bytes == QByteArray::fromHex("FEFE64E004FD")) {
            return echo + QByteArray::fromHex("FEFEE064040301FD");
        }
        return echo;
    };
    QSignalSpy frequency(&link, &RigLink::frequencyChanged);
    QSignalSpy mode(&link, &RigLink::modeChanged);
    ASSERT_TRUE(link.start());
    ASSERT_EQ(frequency.count(), 1);
    EXPECT_FLOAT_EQ(frequency.at(0).at(0).toDouble(), 14.025);
    ASSERT_TRUE(velk::testing::waitFor([&] { return mode.count() == 1; }, 5000));
    EXPECT_EQ(mode.at(0).at(0).toString(), QString("CW"));
}

} // namespace
} // namespace velk
