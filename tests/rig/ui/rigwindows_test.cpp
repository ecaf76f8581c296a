// The radio link in the real main window and the rig windows, over a scripted serial port.
#include "log/ui/mainwindow_fixture.h"
#include "rig/rigctld_peer.h"
#include "rig/ui/bandplanwindow.h"
#include "rig/ui/frequencytestwindow.h"
#include "rig/ui/rigsetupwindow.h"
#include "rig/ui/rigtuningwindow.h"
#include "support/waitfor.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>

namespace velk::testing {
namespace {

class RigWindowTest : public MainWindowTest
{
protected:
    // The radio's dial, as the scripted Kenwood answers it.
    QByteArray dial = "FA00007025000;MD3;";

    void SetUp() override
    {
        MainWindowTest::SetUp();
        environment.values["VELK_COM1"] = "/dev/pts/91";
        devices.prepareSerial = [this](FakeSerialDevice& device) {
            device.responder = [this](const QByteArray& bytes) {
                return bytes == "FA;MD;" ? dial : QByteArray();
            };
        };
    }

    void storeKenwood() { storeRadio("Kenwood"); }

    void storeRadio(const char* type)
    {
        RigSettings settings;
        applyTypeDefaults(settings, radioType(type));
        settings.pollRate = 'F';
        ASSERT_TRUE(saveRigSettings(session.folders.working + "/RigCntrl.txt", settings));
        writeFile(session.folders.working + "/BandPlan.txt",
                  "\"2024-01-01\"\r\n\"20\",\"O\",\"CW\",14,14.35\r\n\"20\",\"E\",\"CW\",14,14.15\r\n"
                  "\"20\",\"E\",\"PH\",14.15,14.35\r\n\"20\",\"G\",\"PH\",14.225,14.35\r\n\"40\",\"O\","
                  "\"CW\",7,7.3\r\n\"40\",\"E\",\"CW\",7,7.125\r\n"
                  "\"40\",\"E\",\"PH\",7.125,7.3\r\n");
        session.prefs.radioType = type;
        writePreferences();
    }

    QString band() const { return child<QLabel>("bandDisplay")->text(); }
    FakeSerialDevice& port() { return *devices.serialDevices.back(); }
};

TEST_F(RigWindowTest, StoredRadioStartsPollingAndTheBandAndContactsFollowTheDial)
{
    storeKenwood();
    start();
    ASSERT_TRUE(started);
    ASSERT_EQ(devices.serialDevices.size(), 1u);
    EXPECT_EQ(port().openedPath, QString("/dev/pts/91"));
    EXPECT_TRUE(station.rig().isPolling());
    EXPECT_EQ(session.prefs.currentBand, QString("40"));
    EXPECT_EQ(session.pendingFrequency, QString("7.025"));
    // The operator turns the dial; the next poll brings the band along.
    dial = "FA00014032500;MD3;";
    ASSERT_TRUE(velk::testing::waitFor([&] { return session.prefs.currentBand == QString("20"); }, 5000));
    EXPECT_EQ(band(), QString("20"));
    EXPECT_EQ(session.pendingFrequency, QString("14.033"));
    enterContact("W1AW", "HIRAM", "CT");
    ASSERT_GE(session.log.count(), 1);
    EXPECT_EQ(session.log.records().back().frequency, QString("14.033"));
}

TEST_F(RigWindowTest, HamlibTypeIsSetUpStoredAndFollowedThroughRigctld)
{
    start();
    keyAtFocus(Qt::Key_R, Qt::ControlModifier);
    auto* setup = form->findChild<RigSetupWindow*>("rigSetupWindow");
    ASSERT_NE(setup, nullptr);
    auto* list = setup->findChild<QListWidget*>("rigTypeList");
    ASSERT_EQ(list->item(19)->text(), QString("Hamlib (rigctld)"));
    list->setCurrentRow(19);
    // Only what reaches rigctld is shown: no serial port settings, no query strings.
    EXPECT_TRUE(setup->findChild<QGroupBox*>("hamlibGroup")->isVisible());
    EXPECT_FALSE(setup->findChild<QGroupBox*>("baudOptionGroup")->isVisible());
    EXPECT_FALSE(setup->findChild<QLineEdit*>("frequencyQueryBox")->isVisible());
    EXPECT_TRUE(setup->findChild<QGroupBox*>("pollRateOptionGroup")->isVisible());
    auto* model = setup->findChild<QComboBox*>("hamlibModelBox");
    if (hamlibInstalled()) {
        // The models rigctl knows, searchable by maker and model.
        ASSERT_TRUE(waitFor([&] { return model->count() > 100; }, 10000));
        model->setCurrentIndex(model->findData(2014));
        EXPECT_EQ(model->currentText(), QString("Kenwood TS-2000 (2014)"));
    } else {
        model->setEditText("2014");
    }
    setup->findChild<QRadioButton*>("runningRigctldOption")->click();
    setup->findChild<QSpinBox*>("rigctldPortBox")->setValue(4600);
    setup->findChild<QRadioButton*>("pollRateOption0")->click();
    QTest::mouseClick(setup->findChild<QPushButton*>("doneButton"), Qt::LeftButton);

    EXPECT_EQ(readFile(session.folders.working + "/RigHamlib.txt"),
              QByteArray("2014\r\n\"/dev/ttyUSB0\"\r\n38400\r\n\"127.0.0.1\"\r\n4600\r\n0\r\n"));
    EXPECT_TRUE(readFile(session.folders.working + "/RigCntrl.txt").contains("\"Hamlib\""));
    EXPECT_EQ(session.prefs.radioType, QString("Hamlib"));
    ASSERT_FALSE(devices.tcpConnections.empty());
    FakeTcpConnection& daemon = *devices.tcpConnections.back();
    EXPECT_EQ(daemon.host, QString("127.0.0.1"));
    EXPECT_EQ(daemon.port, 4600);
    daemon.responder = [](const QByteArray& bytes) {
        QByteArray answer;
        for (const QByteArray& line : bytes.split('\n')) {
            if (!line.isEmpty()) {
                answer += rigctldAnswer(line, 7025000, "CW");
            }
        }
        return answer;
    };
    daemon.accept();
    ASSERT_TRUE(waitFor([&] { return session.prefs.currentBand == QString("40"); }));
    EXPECT_EQ(session.pendingFrequency, QString("7.025"));

    // The daemon goes away mid-poll: said once, in plain words.
    daemon.closeFarEnd();
    EXPECT_EQ(status(), QString("Radio: rigctld at 127.0.0.1:4600 went away. Polling stopped; Options, Rig "
                                "Interface, Test reconnects."));
    EXPECT_FALSE(station.rig().isPolling());
}

TEST_F(RigWindowTest, NoRadioStoredOpensNoPort)
{
    start();
    EXPECT_TRUE(devices.serialDevices.empty());
    EXPECT_FALSE(station.rig().isPolling());
}

TEST_F(RigWindowTest, VanishedRadioIsReportedOnceInTheStatusLine)
{
    storeKenwood();
    start();
    const size_t messagesBefore = prompter.messages.size();
    port().vanish("Resource error");
    EXPECT_TRUE(status().contains("Radio connection lost (Resource error)")) << status().toStdString();
    form->tick();
    port().vanish("Resource error");
    EXPECT_FALSE(station.rig().isPolling());
    EXPECT_EQ(prompter.messages.size(), messagesBefore);
    // Reopening the setup window reconnects.
    form->findChild<QAction*>("rigInterfaceAction")->trigger();
    EXPECT_TRUE(station.rig().isPolling());
    EXPECT_EQ(devices.serialDevices.back()->openCount, 2);
}

TEST_F(RigWindowTest, SetupWindowPicksATypeTestsAndSaves)
{
    start();
    focusOn("callBox");
    keyAtFocus(Qt::Key_R, Qt::ControlModifier);
    auto* setup = form->findChild<RigSetupWindow*>("rigSetupWindow");
    ASSERT_NE(setup, nullptr);
    EXPECT_TRUE(setup->isVisible());
    EXPECT_EQ(setup->windowTitle(), QString(" Rig Interface Setup"));
    auto* list = setup->findChild<QListWidget*>("rigTypeList");
    ASSERT_EQ(list->count(), 20);
    list->setCurrentRow(2); // Icom
    EXPECT_EQ(setup->findChild<QLineEdit*>("frequencyQueryBox")->text(), QString("FE FE 64 E0 03 FD"));
    EXPECT_TRUE(setup->findChild<QLabel*>("icomHint")->isVisible());
    EXPECT_FALSE(setup->findChild<QCheckBox*>("sendAsHexCheck")->isEnabled());
    setup->findChild<QRadioButton*>("pollRateOption0")->click();
    QTest::mouseClick(setup->findChild<QPushButton*>("testButton"), Qt::LeftButton);
    ASSERT_EQ(devices.serialDevices.size(), 1u);
    EXPECT_EQ(port().openedSettings.baud, 1200);
    EXPECT_EQ(port().written, QByteArray::fromHex("FEFE64E003FD"));
    EXPECT_EQ(setup->findChild<QLabel*>("rigFrequencyDisplay")->text(), QString("No Response"));
    port().deliver(QByteArray::fromHex("FEFEE064030050021400FD"));
    EXPECT_EQ(setup->findChild<QLabel*>("rigFrequencyDisplay")->text(), QString("14.02500"));
    QTest::mouseClick(setup->findChild<QPushButton*>("doneButton"), Qt::LeftButton);
    EXPECT_FALSE(setup->isVisible());
    EXPECT_EQ(session.prefs.radioType, QString("Icom"));
    RigSettings stored;
    ASSERT_TRUE(loadRigSettings(session.folders.working + "/RigCntrl.txt", stored));
    EXPECT_EQ(stored.rigType, QString("Icom"));
    EXPECT_EQ(stored.pollRate, 'F');
    Preferences prefs;
    loadPreferences(session.folders.preferencesFile(), prefs);
    EXPECT_EQ(prefs.radioType, QString("Icom"));
}

TEST_F(RigWindowTest, ChangeFrequencyButtonNeedsPollingAndTheTestWindowSends)
{
    start();
    const size_t messagesBefore = prompter.messages.size();
    form->findChild<QAction*>("rigInterfaceAction")->trigger();
    auto* setup = form->findChild<RigSetupWindow*>("rigSetupWindow");
    ASSERT_NE(setup, nullptr);
    QTest::mouseClick(setup->findChild<QPushButton*>("changeFrequencyButton"), Qt::LeftButton);
    ASSERT_EQ(prompter.messages.size(), messagesBefore + 1);
    EXPECT_EQ(prompter.messages.back().title, QString("You must be polling your rig to test this function."));
    setup->findChild<QListWidget*>("rigTypeList")->setCurrentRow(4); // Kenwood
    setup->test();
    ASSERT_TRUE(station.rig().isPolling());
    bool opened = false;
    setup->setTestWindowRunner([&](QDialog& dialog) {
        opened = true;
        EXPECT_EQ(dialog.windowTitle(), QString("Test Change Frequency Function"));
        port().written.clear();
        QTest::mouseClick(dialog.findChild<QPushButton*>("sendCommandButton"), Qt::LeftButton);
        EXPECT_EQ(port().written, QByteArray("FA00028475000;"));
        port().written.clear();
        dialog.findChild<QCheckBox*>("commandHexCheck")->setChecked(true);
        dialog.findChild<QLineEdit*>("rawCommandBox")->setText("FE FE 64 E0 03 FD");
        QTest::mouseClick(dialog.findChild<QPushButton*>("sendCommandButton"), Qt::LeftButton);
        EXPECT_EQ(port().written, QByteArray::fromHex("FEFE64E003FD"));
    });
    QTest::mouseClick(setup->findChild<QPushButton*>("changeFrequencyButton"), Qt::LeftButton);
    EXPECT_TRUE(opened);
    // The query boxes stop the poll when they take the focus.
    setup->findChild<QLineEdit*>("modeQueryBox")->setFocus();
    QApplication::processEvents();
    setup->activateWindow();
    setup->findChild<QLineEdit*>("modeQueryBox")->setFocus();
    ASSERT_TRUE(velk::testing::waitFor([&] { return !station.rig().isPolling(); }, 2000));
}

TEST_F(RigWindowTest, TuningWindowBandButtonsStepsAndScan)
{
    storeKenwood();
    start();
    RigTuningWindow tuning(station.rig(), form.get());
    tuning.show();
    port().written.clear();
    // 60 m: the upper-sideband dial 1.5 kHz below the 5.3585 MHz channel centre.
    QTest::mouseClick(tuning.findChild<QPushButton*>("band60Button"), Qt::LeftButton);
    EXPECT_EQ(tuning.findChild<QLineEdit*>("tuneFrequencyBox")->text(), QString("5.357"));
    ASSERT_TRUE(velk::testing::waitFor([&] { return port().written.contains("FA00005357000;"); }, 5000));
    ASSERT_TRUE(velk::testing::waitFor([&] { return !station.rig().isChanging(); }, 5000));
    auto* up = tuning.findChild<QPushButton*>("stepUp10HzButton");
    ASSERT_NE(up, nullptr);
    tuning.findChild<QLineEdit*>("tuneFrequencyBox")->setText("14.025");
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(tuning.findChild<QLineEdit*>("tuneFrequencyBox")->text(), QString("14.02501"));
    tuning.findChild<QLineEdit*>("tuneFrequencyBox")->setText("abc");
    EXPECT_FALSE(up->isEnabled());
    tuning.findChild<QLineEdit*>("tuneFrequencyBox")->setText("7.0975");
    tuning.findChild<QLineEdit*>("scanFromBox")->setText("7.0");
    tuning.findChild<QLineEdit*>("scanToBox")->setText("7.1");
    tuning.findChild<QRadioButton*>("scanStep4")->click();
    ASSERT_TRUE(velk::testing::waitFor([&] { return !station.rig().isChanging(); }));
    tuning.findChild<QCheckBox*>("scanCheck")->setChecked(true);
    tuning.scanStep();
    EXPECT_EQ(tuning.findChild<QLineEdit*>("tuneFrequencyBox")->text(), QString("7.1"));
    // The next tick comes while the radio still takes 7.1: the step waits for it.
    tuning.scanStep();
    EXPECT_EQ(tuning.findChild<QLineEdit*>("tuneFrequencyBox")->text(), QString("7.1"));
    ASSERT_TRUE(velk::testing::waitFor(
        [&] { return tuning.findChild<QLineEdit*>("tuneFrequencyBox")->text() == QString("7"); }));
    QTest::keyClick(&tuning, Qt::Key_X);
    EXPECT_FALSE(tuning.findChild<QCheckBox*>("scanCheck")->isChecked());
}

TEST_F(RigWindowTest, ScanGivesTheRadioEveryStepWhenATuneOutlastsTheTick)
{
    storeKenwood();
    start();
    RigTuningWindow tuning(station.rig(), form.get());
    tuning.show();
    tuning.findChild<QLineEdit*>("tuneFrequencyBox")->setText("7.13");
    tuning.findChild<QLineEdit*>("scanFromBox")->setText("7.0");
    tuning.findChild<QLineEdit*>("scanToBox")->setText("7.3");
    tuning.findChild<QRadioButton*>("scanStep4")->click(); // 2.5 kHz
    port().written.clear();
    tuning.findChild<QCheckBox*>("scanCheck")->setChecked(true);
    // Ticks come faster than the phone tunes (mode, pauses, frequency: about 400 ms).
    const QRegularExpression command("FA(\\d{11});");
    const auto tuned = [&] {
        QList<qint64> hz;
        for (const auto& match : command.globalMatch(QString::fromLatin1(port().written))) {
            hz << match.captured(1).toLongLong();
        }
        return hz;
    };
    ASSERT_TRUE(velk::testing::waitFor(
        [&] {
            tuning.scanStep();
            return tuned().size() >= 4;
        },
        10000));
    tuning.findChild<QCheckBox*>("scanCheck")->setChecked(false);
    const QList<qint64> hz = tuned();
    for (qsizetype i = 0; i < hz.size(); ++i) {
        EXPECT_EQ(hz.at(i), 7132500 + 2500 * i) << i;
    }
    EXPECT_TRUE(port().written.startsWith("MD1;FA00007132500;"));
}

TEST_F(RigWindowTest, TuningModeButtonsNeedARadioNotAPoll)
{
    storeKenwood();
    start();
    station.rig().stop();
    const size_t messagesBefore = prompter.messages.size();
    RigTuningWindow tuning(station.rig(), form.get());
    tuning.show();
    QTest::mouseClick(tuning.findChild<QPushButton*>("modeCWButton"), Qt::LeftButton);
    ASSERT_TRUE(velk::testing::waitFor([&] { return prompter.messages.size() == messagesBefore + 1; }));
    EXPECT_EQ(prompter.messages.back().title, QString("Error Changing Mode"));
    EXPECT_EQ(prompter.messages.back().text, QString("Port is not open CW"));
    // While polling, the mode goes to the radio and the poll goes on.
    ASSERT_TRUE(station.rig().start());
    port().written.clear();
    QTest::mouseClick(tuning.findChild<QPushButton*>("modeRTTYButton"), Qt::LeftButton);
    ASSERT_TRUE(velk::testing::waitFor([&] { return port().written.startsWith("MD6;"); }));
    EXPECT_TRUE(station.rig().isPolling());
}

TEST_F(RigWindowTest, SetupOpenedDuringStartUpPollingShowsItAndTheStoredTypesHints)
{
    storeRadio("Icom 735");
    start();
    ASSERT_TRUE(station.rig().isPolling());
    form->findChild<QAction*>("rigInterfaceAction")->trigger();
    auto* setup = form->findChild<RigSetupWindow*>("rigSetupWindow");
    ASSERT_NE(setup, nullptr);
    EXPECT_TRUE(setup->findChild<QPushButton*>("endTestButton")->isEnabled());
    EXPECT_TRUE(setup->findChild<QLabel*>("pollingLabel")->isVisible());
    QTest::mouseClick(setup->findChild<QPushButton*>("endTestButton"), Qt::LeftButton);
    EXPECT_FALSE(setup->findChild<QLabel*>("pollingLabel")->isVisible());
    EXPECT_FALSE(station.rig().isPolling());
    // On load the Icom hint is for "Icom" only; picking "Icom 735" shows it.
    EXPECT_FALSE(setup->findChild<QLabel*>("icomHint")->isVisible());
    EXPECT_FALSE(setup->findChild<QCheckBox*>("yaesuCatSwitchCheck")->isVisible());
    auto* list = setup->findChild<QListWidget*>("rigTypeList");
    list->setCurrentRow(4);
    list->setCurrentRow(3);
    EXPECT_TRUE(setup->findChild<QLabel*>("icomHint")->isVisible());

    // The FT-847 choice is offered for the Yaesu type and kept as a per-user setting.
    list->setCurrentRow(10);
    auto* cat = setup->findChild<QCheckBox*>("yaesuCatSwitchCheck");
    EXPECT_TRUE(cat->isVisible());
    cat->setChecked(true);
    port().written.clear();
    setup->test();
    EXPECT_TRUE(port().written.startsWith(QByteArray::fromHex("0000000000")));
    EXPECT_TRUE(station.rig().yaesuCatSwitch());

    // After a port that did not open, the window stays modal until the settings are corrected.
    setup->hide();
    setup->showForCorrection();
    EXPECT_TRUE(setup->isModal());
    QTest::mouseClick(setup->findChild<QPushButton*>("doneButton"), Qt::LeftButton);
    EXPECT_FALSE(setup->isVisible());
    EXPECT_FALSE(setup->isModal());
}

TEST_F(RigWindowTest, CtrlKeysOpenTheRigWindowsAndTypeNothing)
{
    storeKenwood();
    start();
    keys(QStringLiteral("k1"));
    keyAtFocus(Qt::Key_G, Qt::ControlModifier);
    auto* tuning = form->findChild<RigTuningWindow*>("rigTuningWindow");
    ASSERT_NE(tuning, nullptr);
    EXPECT_TRUE(tuning->isVisible());
    // The window is modal to the main window but the poll goes on.
    EXPECT_TRUE(station.rig().isPolling());
    QTest::mouseClick(tuning->findChild<QPushButton*>("tuneDoneButton"), Qt::LeftButton);
    ASSERT_TRUE(velk::testing::waitFor(
        [&] { return form->findChild<RigTuningWindow*>("rigTuningWindow") == nullptr; }, 2000));
    QApplication::setActiveWindow(form.get());
    focusOn("callBox");
    keyAtFocus(Qt::Key_F, Qt::ControlModifier);
    auto* plan = form->findChild<BandPlanWindow*>("bandPlanWindow");
    ASSERT_NE(plan, nullptr);
    EXPECT_EQ(plan->windowTitle(), QString(" Frequency Privileges"));
    EXPECT_EQ(plan->chart().size(), 2);
    plan->close();
    ASSERT_TRUE(velk::testing::waitFor(
        [&] { return form->findChild<BandPlanWindow*>("bandPlanWindow") == nullptr; }, 2000));
    QApplication::setActiveWindow(form.get());
    focusOn("callBox");
    keyAtFocus(Qt::Key_R, Qt::ControlModifier);
    auto* setup = form->findChild<RigSetupWindow*>("rigSetupWindow");
    ASSERT_NE(setup, nullptr);
    EXPECT_TRUE(setup->isVisible());
    EXPECT_EQ(box("callBox")->text(), QStringLiteral("K1"));
}

TEST_F(RigWindowTest, PrivilegesWindowDrawsTheClassAndSaysWhenTheFileIsMissing)
{
    storeKenwood();
    BandPlanWindow plan(prompter);
    plan.load(session.folders.working + "/BandPlan.txt");
    EXPECT_EQ(plan.findChild<QLabel*>("privilegesHeading")->text(), QString("Extra Frequency Privileges"));
    ASSERT_EQ(plan.chart().size(), 2);
    EXPECT_EQ(plan.chart().at(0).segments.size(), 2);
    EXPECT_DOUBLE_EQ(plan.chart().at(0).segments.at(0).left, 0.0);
    QTest::mouseClick(plan.findChild<QPushButton*>("classGButton"), Qt::LeftButton);
    EXPECT_EQ(plan.findChild<QLabel*>("privilegesHeading")->text(), QString("General Frequency Privileges"));
    ASSERT_EQ(plan.chart().size(), 1);
    EXPECT_EQ(plan.chart().at(0).band, QString("20"));
    EXPECT_EQ(plan.findChildren<QLabel*>(QRegularExpression("^segment")).size(), 1);
    BandPlanWindow missing(prompter);
    missing.load(session.folders.working + "/nothing.txt");
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages.back().text, QString("Band data not available."));
}

} // namespace
} // namespace velk::testing
