// The real radio link and the real main window against the radio simulator on a pseudo-terminal:
// every family polls, follows the dial and is tuned; the band and contacts follow; a lost device.
#include "common/platform/fake/fakeplatform.h"
#include "common/platform/qt/qtdevices.h"
#include "log/ui/mainwindow_fixture.h"
#include "rig/riglink.h"
#include "rig/simulated_radio.h"
#include "support/waitfor.h"

#include <QSignalSpy>

namespace velk::testing {
namespace {

class SimulatorLinkTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    FakePrompter prompter;
    FakeClock clock;
    FakeSettingsStore store;
    FakeEnvironment environment;
    QtDevices devices{environment, store};
    Platform platform{prompter, clock, store, environment, devices};
    RigLink link{platform};
    SimulatedRadio radio;

    bool startWith(const char* type, const QStringList& extra)
    {
        if (!radio.start(QString::fromLatin1(type), extra)) {
            return false;
        }
        environment.values["VELK_COM1"] = radio.radioPath();
        link.setWorkingFolder(dir.path());
        RigSettings settings;
        applyTypeDefaults(settings, radioType(type));
        settings.pollRate = 'F';
        link.setSettings(settings);
        return true;
    }
};

class SimulatorFamilyTest : public SimulatorLinkTest, public ::testing::WithParamInterface<const char*>
{
};

TEST_P(SimulatorFamilyTest, PollsFollowsTheDialAndTunesTheRadio)
{
    if (!startWith(GetParam(), {QStringLiteral("--freq"), QStringLiteral("7.025")})) {
        GTEST_SKIP() << radio.reason().toStdString();
    }
    double last = 0.0;
    QObject::connect(&link, &RigLink::frequencyChanged, [&last](double mhz) { last = mhz; });
    ASSERT_TRUE(link.start());
    ASSERT_TRUE(waitFor([&] { return std::abs(last - 7.025) < 1e-6; })) << last;
    ASSERT_TRUE(radio.command("freq 21.0255"));
    ASSERT_TRUE(waitFor([&] { return std::abs(last - 21.0255) < 1e-6; })) << last;
    link.changeFrequency(14.025);
    EXPECT_TRUE(radio.waitForLine("set freq 14025000"));
    EXPECT_TRUE(waitFor([&] { return std::abs(last - 14.025) < 1e-6; })) << last;
    link.stop();
}

INSTANTIATE_TEST_SUITE_P(EveryFamily, SimulatorFamilyTest,
                         ::testing::Values("Elecraft", "Icom", "Icom 735", "Kenwood", "Kenwood 2",
                                           "Ten Tec Omni VI", "Ten Tec Orion", "Ten Tec Fnt Pnl", "Yaesu",
                                           "Yaesu 757 GX II", "Yaesu 890", "Yaesu 920", "Yaesu 990",
                                           "Yaesu 1000 D", "Yaesu 1000", "Yaesu FTdx9000"),
                         [](const auto& info) {
                             QString name = QString::fromLatin1(info.param);
                             name.remove(QLatin1Char(' '));
                             return name.toStdString();
                         });

TEST_F(SimulatorLinkTest, ALateReplyOfASlowRadioIsNotTakenAfterATune)
{
    // After each set command the radio still answers two polls with its old dial.
    if (!startWith("Kenwood", {"--freq", "7.025", "--lag", "2"})) {
        GTEST_SKIP() << radio.reason().toStdString();
    }
    QList<double> read;
    QList<double> changed;
    QObject::connect(&link, &RigLink::frequencyRead, [&read](double mhz) { read << mhz; });
    QObject::connect(&link, &RigLink::frequencyChanged, [&changed](double mhz) { changed << mhz; });
    ASSERT_TRUE(link.start());
    ASSERT_TRUE(waitFor([&] { return !read.isEmpty(); }));
    read.clear();
    link.changeFrequency(21.225);
    ASSERT_TRUE(radio.waitForLine("set freq 21225000"));
    ASSERT_TRUE(waitFor([&] { return read.size() >= 3; }));
    for (const double mhz : read) {
        EXPECT_NEAR(mhz, 21.225, 1e-5); // the contact never takes the old dial, nor the band
    }
    ASSERT_EQ(changed.size(), 2);
    EXPECT_NEAR(changed.back(), 21.225, 1e-5);
    link.stop();
}

TEST_F(SimulatorLinkTest, TenTecPanelSlowerThanThePollIsFollowed)
{
    // Replies come 80 ms after the query, the poll asks every 50 ms: frequency and mode swap.
    if (!startWith("Ten Tec Fnt Pnl", {"--freq", "7.025", "--mode", "CW", "--delay-ms", "80"})) {
        GTEST_SKIP() << radio.reason().toStdString();
    }
    double last = 0.0;
    QString mode;
    QObject::connect(&link, &RigLink::frequencyChanged, [&last](double mhz) { last = mhz; });
    QObject::connect(&link, &RigLink::modeChanged, [&mode](const QString& m) { mode = m; });
    ASSERT_TRUE(link.start());
    ASSERT_TRUE(waitFor([&] { return std::abs(last - 7.025) < 1e-6 && mode == "CW"; })) << last;
    ASSERT_TRUE(radio.command("freq 14.2"));
    ASSERT_TRUE(radio.command("mode USB"));
    EXPECT_TRUE(waitFor([&] { return std::abs(last - 14.2) < 1e-6 && mode == "PH"; })) << last;
    link.stop();
}

TEST_F(SimulatorLinkTest, Ft817DialStaysUnlockedAndFt847CatOffReachesTheRadioBeforeTheClose)
{
    if (!startWith("Yaesu", {"--freq", "7.025"})) {
        GTEST_SKIP() << radio.reason().toStdString();
    }
    double last = 0.0;
    QObject::connect(&link, &RigLink::frequencyChanged, [&last](double mhz) { last = mhz; });
    ASSERT_TRUE(link.start());
    ASSERT_TRUE(waitFor([&] { return std::abs(last - 7.025) < 1e-6; }));
    QSignalSpy finished(&link, &RigLink::shutDownFinished);
    link.shutDown();
    EXPECT_EQ(finished.count(), 1);
    ASSERT_TRUE(radio.command("freq 7.03")); // the simulator has read everything sent before
    EXPECT_FALSE(radio.reported("lock on"));
    EXPECT_FALSE(radio.reported("lock off"));

    // An FT-847 owner switches CAT on and off; the off reaches the radio, then the port closes.
    link.setYaesuCatSwitch(true);
    ASSERT_TRUE(link.start());
    EXPECT_TRUE(radio.waitForLine("lock on")); // what an FT-817 would do with the FT-847's CAT on
    link.shutDown();
    ASSERT_TRUE(waitFor([&] { return finished.count() == 2; }));
    EXPECT_TRUE(radio.waitForLine("lock off"));
}

TEST_F(SimulatorLinkTest, SlowAndPiecemealRepliesAreTakenWhole)
{
    if (!startWith("Kenwood 2",
                   {"--freq", "3.79", "--mode", "LSB", "--pieces", "4", "--piece-gap-ms", "30"})) {
        GTEST_SKIP() << radio.reason().toStdString();
    }
    QStringList modes;
    QList<double> frequencies;
    QObject::connect(&link, &RigLink::modeChanged, [&modes](const QString& mode) { modes << mode; });
    QObject::connect(&link, &RigLink::frequencyRead, [&frequencies](double mhz) { frequencies << mhz; });
    ASSERT_TRUE(link.start());
    ASSERT_TRUE(waitFor([&] { return frequencies.size() >= 3; }));
    for (double mhz : frequencies) {
        EXPECT_NEAR(mhz, 3.79, 1e-6);
    }
    EXPECT_FALSE(modes.contains("CW"));
    // A radio that stops answering changes nothing and the poll goes on.
    ASSERT_TRUE(radio.command("silent on"));
    const qsizetype before = frequencies.size();
    QTest::qWait(300);
    ASSERT_TRUE(radio.command("silent off"));
    EXPECT_LE(frequencies.size(), before + 1);
    EXPECT_TRUE(waitFor([&] { return frequencies.size() > before + 1; }));
    link.stop();
}

// The real main window with real serial ports.
class SimulatorWindowTest : public MainWindowTest
{
protected:
    QtDevices realDevices{environment, settings};
    Platform realPlatform{prompter, clock, settings, environment, realDevices};
    Station realStation{realPlatform};
    SimulatedRadio radio;
    std::unique_ptr<MainWindow> window;

    bool startWithRadio(const char* type)
    {
        if (!radio.start(QString::fromLatin1(type), {QStringLiteral("--freq"), QStringLiteral("7.025")})) {
            return false;
        }
        LogSession& real = realStation.session();
        real.folders = session.folders;
        real.xml.open(real.folders.xmlStoreFile());
        real.prefs = session.prefs;
        real.prefs.radioType = QString::fromLatin1(type);
        EXPECT_TRUE(savePreferences(real.folders.preferencesFile(), real.prefs).ok);
        environment.values["VELK_COM1"] = radio.radioPath();
        RigSettings rig;
        applyTypeDefaults(rig, radioType(type));
        rig.pollRate = 'F';
        EXPECT_TRUE(saveRigSettings(real.folders.working + "/RigCntrl.txt", rig));
        prompter.messageAnswers.push_back(MessageAnswer::Yes);
        window = std::make_unique<MainWindow>(realStation);
        window->setStationDialogRunner([](StationDialog& dialog) {
            dialog.accept();
            return dialog.result();
        });
        window->show();
        EXPECT_TRUE(window->startUp());
        return true;
    }

    void TearDown() override
    {
        if (window) {
            window->hide();
            window.reset();
        }
        MainWindowTest::TearDown();
    }
};

TEST_F(SimulatorWindowTest, BandFollowsTheDialContactsTakeItsFrequencyAndBandChangesMoveIt)
{
    if (!startWithRadio("Kenwood")) {
        GTEST_SKIP() << radio.reason().toStdString();
    }
    LogSession& real = realStation.session();
    ASSERT_TRUE(waitFor([&] { return real.prefs.currentBand == "40"; }));
    ASSERT_TRUE(radio.command("freq 14.0325"));
    ASSERT_TRUE(waitFor([&] { return real.prefs.currentBand == "20"; }));
    EXPECT_EQ(window->findChild<QLabel*>("bandDisplay")->text(), QString("20"));
    ASSERT_TRUE(waitFor([&] { return real.pendingFrequency == "14.033"; }));
    window->activateWindow();
    auto* call = window->findChild<QLineEdit*>("callBox");
    call->setFocus();
    QTest::keyClicks(call, "W1AW");
    auto* name = window->findChild<QLineEdit*>("nameBox");
    name->setFocus();
    QTest::keyClicks(name, "HIRAM");
    auto* location = window->findChild<QLineEdit*>("locationBox");
    location->setFocus();
    QTest::keyClicks(location, "CT");
    QTest::keyClick(location, Qt::Key_Return);
    ASSERT_EQ(real.log.count(), 1);
    EXPECT_EQ(real.log.records().back().frequency, QString("14.033"));
    // The operator picks 15 m in the logger: the radio goes to the band's CW segment, as this
    // is a CW log.
    realStation.selectBand("15");
    EXPECT_TRUE(radio.waitForLine("set freq 21030000"));
    EXPECT_TRUE(waitFor([&] { return real.pendingFrequency == "21.030"; }));
    EXPECT_EQ(real.prefs.currentBand, QString("15"));
}

TEST_F(SimulatorWindowTest, VanishedDeviceIsReportedOnceAndPollingStops)
{
    if (!startWithRadio("Icom")) {
        GTEST_SKIP() << radio.reason().toStdString();
    }
    LogSession& real = realStation.session();
    ASSERT_TRUE(waitFor([&] { return real.prefs.currentBand == "40"; }));
    int reports = 0;
    QObject::connect(&realStation.rig(), &RigLink::deviceLost, [&reports] { ++reports; });
    radio.vanish();
    ASSERT_TRUE(waitFor([&] { return reports > 0; }));
    QTest::qWait(300);
    EXPECT_EQ(reports, 1);
    EXPECT_FALSE(realStation.rig().isPolling());
    EXPECT_TRUE(window->findChild<QLabel*>("statusLine")->text().startsWith("Radio connection lost"));
    // Reopening the setup window tries the radio again; the device is gone, so it says so.
    window->findChild<QAction*>("rigInterfaceAction")->trigger();
    EXPECT_EQ(prompter.messages.back().title, QString("Invalid Comm Settings."));
    EXPECT_EQ(reports, 1);
}

} // namespace
} // namespace velk::testing
