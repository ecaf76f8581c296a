// The station with a radio behind Hamlib's rigctld (its dummy radio, named by VELK_RIGCTLD):
// the band follows a dial set by another Hamlib client, and a band chosen in the logger tunes the
// radio as that client sees it.
#include "app/station.h"
#include "common/platform/qt/qttcpconnection.h"
#include "rig/rigctld_peer.h"
#include "rig/rigsettings.h"
#include "support/files.h"
#include "support/platformfakes.h"
#include "support/waitfor.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace velk::testing {
namespace {

class StationRigctldTest : public ::testing::Test, protected PlatformFakes
{
protected:
    QTemporaryDir dir;
    Station station{platform};
    LogSession& session = station.session();
};

TEST_F(StationRigctldTest, TheBandFollowsTheDialAndABandChoiceTunesTheRadio)
{
    Rigctld daemon;
    if (!daemon.start({"-m", "1"})) {
        GTEST_SKIP() << "rigctld (libhamlib-utils) cannot start here";
    }
    devices.realTcpConnection = [] { return std::make_unique<QtTcpConnection>(); };
    environment.values["VELK_RIGCTLD"] = daemon.address();
    session.folders.working = dir.path();
    session.prefs.currentBand = QStringLiteral("20");
    session.prefs.mode = QStringLiteral("CW");
    RigSettings settings;
    applyTypeDefaults(settings, radioType("Hamlib"));
    settings.pollRate = 'F';
    ASSERT_TRUE(saveRigSettings(dir.path() + "/RigCntrl.txt", settings));
    ASSERT_TRUE(writeFile(dir.path() + "/BandPlan.txt", "\"2024-01-01\"\r\n\"40\",\"E\",\"CW\",7,7.125\r\n"));
    session.prefs.radioType = QStringLiteral("Hamlib");
    daemon.rigctl({"F", "14025000"});
    station.startRig();
    ASSERT_TRUE(station.rig().isPolling());
    ASSERT_TRUE(waitFor([&] { return session.pendingFrequency == QStringLiteral("14.025"); }, 10000));

    // Another Hamlib client turns the dial: the logger's band comes along.
    daemon.rigctl({"F", "7025000"});
    ASSERT_TRUE(waitFor([&] { return session.prefs.currentBand == QStringLiteral("40"); }, 10000));
    EXPECT_EQ(session.pendingFrequency, QStringLiteral("7.025"));

    // The operator picks 20 m in a CW log: the radio goes to the band's CW segment, in CW.
    station.selectBand(QStringLiteral("20"));
    ASSERT_TRUE(waitFor([&] { return daemon.rigctl({"f"}).startsWith("140"); }, 10000));
    EXPECT_EQ(daemon.rigctl({"m"}).split('\n').value(0), QStringLiteral("CW"));
    EXPECT_EQ(session.prefs.currentBand, QStringLiteral("20"));
    station.shutDown();
}

} // namespace
} // namespace velk::testing
