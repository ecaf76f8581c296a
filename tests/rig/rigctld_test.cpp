// The radio link with the Hamlib type against real peers on loopback: Hamlib's rigctld with its
// dummy radio and with the radio simulator behind it as a Kenwood TS-2000, and a scripted
// stand-in for the faults (error codes, a refused frequency, silence); each fault said once.
#include "common/platform/qt/qttcpconnection.h"
#include "rig/rigctld_peer.h"
#include "rig/riglink.h"
#include "rig/simulated_radio.h"
#include "support/platformfakes.h"
#include "support/waitfor.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace velk::testing {
namespace {

class RigctldLinkTest : public ::testing::Test, protected PlatformFakes
{
protected:
    QTemporaryDir dir;
    RigLink link{platform};
    double dial = 0.0;
    QString mode;
    QStringList lost;

    void SetUp() override
    {
        devices.realTcpConnection = [] { return std::make_unique<QtTcpConnection>(); };
        link.setWorkingFolder(dir.path());
        RigSettings settings;
        applyTypeDefaults(settings, radioType("Hamlib"));
        settings.pollRate = 'F';
        link.setSettings(settings);
        QObject::connect(&link, &RigLink::frequencyRead, [this](double mhz) { dial = mhz; });
        QObject::connect(&link, &RigLink::modeChanged, [this](const QString& m) { mode = m; });
        QObject::connect(&link, &RigLink::deviceLost, [this](const QString& text) { lost << text; });
    }

    // Connects to a daemon already running there, as VELK_RIGCTLD names it.
    void useRunningDaemon(const QString& address) { environment.values["VELK_RIGCTLD"] = address; }

    bool dialIs(double mhz) const { return std::abs(dial - mhz) < 1e-6; }
};

TEST_F(RigctldLinkTest, DummyRadioIsFollowedAndTunedBandPlanModeFirst)
{
    Rigctld daemon;
    if (!daemon.start({"-m", "1"})) {
        GTEST_SKIP() << "rigctld (libhamlib-utils) cannot start here";
    }
    useRunningDaemon(daemon.address());
    link.setExtraRows({{"20", "E", "CW", 14.0f, 14.15f}});
    ASSERT_TRUE(link.start());
    ASSERT_TRUE(waitFor([&] { return dial > 0.0; }, 10000));
    daemon.rigctl({"F", "7025000", "M", "CW", "0"});
    ASSERT_TRUE(waitFor([&] { return dialIs(7.025) && mode == "CW"; }, 10000)) << dial;
    daemon.rigctl({"M", "USB", "0"});
    ASSERT_TRUE(waitFor([&] { return mode == "PH"; }, 10000)) << mode.toStdString();

    QSignalSpy finished(&link, &RigLink::changeFinished);
    link.changeFrequency(14.025);
    ASSERT_TRUE(waitFor([&] { return finished.count() == 1; }, 10000));
    EXPECT_EQ(daemon.rigctl({"f", "m"}).split('\n').mid(0, 2), QStringList({"14025000", "CW"}));
    ASSERT_TRUE(waitFor([&] { return dialIs(14.025) && mode == "CW"; }, 10000)) << dial;
    EXPECT_TRUE(lost.isEmpty());
    link.stop();
}

TEST_F(RigctldLinkTest, TheLoggerStartsRigctldForTheSimulatedKenwoodAndEndsItAtShutDown)
{
    SimulatedRadio radio;
    if (!hamlibInstalled()) {
        GTEST_SKIP() << "rigctld (libhamlib-utils) is not installed";
    }
    if (!radio.start("Kenwood", {"--freq", "7.025", "--mode", "CW"})) {
        GTEST_SKIP() << radio.reason().toStdString();
    }
    HamlibSettings hamlib;
    hamlib.model = 2014; // Kenwood TS-2000
    hamlib.device = radio.radioPath();
    hamlib.speed = 4800;
    hamlib.port = freeLoopbackPort();
    hamlib.startDaemon = true;
    link.setHamlibSettings(hamlib);
    ASSERT_TRUE(link.start());
    ASSERT_TRUE(waitFor([&] { return dialIs(7.025) && mode == "CW"; }, 20000)) << dial;
    ASSERT_TRUE(radio.command("freq 21.0255"));
    ASSERT_TRUE(waitFor([&] { return dialIs(21.0255); }, 10000)) << dial;

    // logger -> rigctld -> serial bytes -> the radio.
    link.changeFrequency(14.225, "USB");
    EXPECT_TRUE(radio.waitForLine("set mode USB", 10000));
    EXPECT_TRUE(radio.waitForLine("set freq 14225000", 10000));
    EXPECT_TRUE(waitFor([&] { return dialIs(14.225) && mode == "PH"; }, 10000)) << dial;
    EXPECT_TRUE(lost.isEmpty()) << lost.join(';').toStdString();

    QSignalSpy done(&link, &RigLink::shutDownFinished);
    link.shutDown();
    // The daemon has ended when the link says it is done.
    ASSERT_TRUE(waitFor([&] { return done.count() == 1; }, 10000));
    EXPECT_FALSE(listening(hamlib.port, 100));
}

TEST_F(RigctldLinkTest, ErrorAnswersMeanTheRadioIsLostAndTestReconnects)
{
    ScriptedRigctld daemon;
    ASSERT_TRUE(daemon.start());
    bool radioOn = false;
    daemon.answer = [&radioOn](const QByteArray& line) {
        if (!radioOn) {
            return QByteArray(line == "+f" ? "get_freq:\nRPRT -5\n" : "get_mode:\nRPRT -5\n");
        }
        return rigctldAnswer(line, 3525000, "CW");
    };
    useRunningDaemon(daemon.address());
    ASSERT_TRUE(link.start());
    ASSERT_TRUE(waitFor([&] { return !link.isPolling(); }, 10000));
    ASSERT_EQ(lost.size(), 1);
    EXPECT_EQ(lost.front(),
              QString("rigctld cannot reach the radio: communication timed out (Hamlib error -5)"));
    EXPECT_TRUE(link.wasLost());

    radioOn = true;
    ASSERT_TRUE(link.start());
    EXPECT_TRUE(waitFor([&] { return dialIs(3.525); }, 10000)) << dial;
    EXPECT_EQ(lost.size(), 1);
    link.stop();
}

TEST_F(RigctldLinkTest, ARefusedFrequencyIsSaidAndPollingGoesOn)
{
    ScriptedRigctld daemon;
    ASSERT_TRUE(daemon.start());
    daemon.answer = [](const QByteArray& line) {
        if (line.startsWith("+F")) {
            return QByteArray("set_freq: ") + line.mid(3) + "\nRPRT -9\n";
        }
        return rigctldAnswer(line, 7025000, "CW");
    };
    useRunningDaemon(daemon.address());
    QSignalSpy failed(&link, &RigLink::changeFailed);
    ASSERT_TRUE(link.start());
    ASSERT_TRUE(waitFor([&] { return dialIs(7.025); }, 10000));
    link.changeFrequency(14.025, "CW");
    ASSERT_TRUE(waitFor([&] { return failed.count() == 1; }, 10000));
    EXPECT_EQ(failed.at(0).at(0).toString(), QString("Error Changing Frequency"));
    EXPECT_EQ(failed.at(0).at(1).toString(),
              QString("rigctld: command rejected by the radio (Hamlib error -9)"));
    EXPECT_TRUE(daemon.received.contains("+M CW 0"));
    EXPECT_TRUE(daemon.received.contains("+F 14025000"));
    const qsizetype polls = daemon.received.count("+f");
    ASSERT_TRUE(waitFor([&] { return daemon.received.count("+f") > polls + 2; }, 10000));
    EXPECT_TRUE(link.isPolling());
    EXPECT_TRUE(dialIs(7.025));
    link.stop();
}

TEST_F(RigctldLinkTest, ADaemonThatNeverAnswersIsSaidOnce)
{
    ScriptedRigctld daemon;
    ASSERT_TRUE(daemon.start());
    useRunningDaemon(daemon.address());
    link.setRigctldAnswerLimitMs(300);
    ASSERT_TRUE(link.start());
    ASSERT_TRUE(waitFor([&] { return !lost.isEmpty(); }, 10000));
    EXPECT_EQ(lost, QStringList({QString("rigctld at %1 does not answer").arg(daemon.address())}));
    EXPECT_FALSE(link.isPolling());
    // One command at a time, and never a pile of polls behind it.
    EXPECT_EQ(daemon.received, QList<QByteArray>({"+m"}));
}

TEST_F(RigctldLinkTest, ADaemonKilledMidPollIsSaidOnce)
{
    Rigctld daemon;
    if (!daemon.start({"-m", "1"})) {
        GTEST_SKIP() << "rigctld (libhamlib-utils) cannot start here";
    }
    useRunningDaemon(daemon.address());
    ASSERT_TRUE(link.start());
    ASSERT_TRUE(waitFor([&] { return dial > 0.0; }, 10000));
    daemon.kill();
    ASSERT_TRUE(waitFor([&] { return !lost.isEmpty(); }, 10000));
    QTest::qWait(300);
    ASSERT_EQ(lost.size(), 1);
    EXPECT_TRUE(lost.front().startsWith(QString("rigctld at %1 went away").arg(daemon.address())))
        << lost.front().toStdString();
    EXPECT_FALSE(link.isPolling());
}

TEST_F(RigctldLinkTest, NotRunningNotInstalledAndARefusedModelAreToldApart)
{
    const quint16 nobody = freeLoopbackPort();
    useRunningDaemon(QString("127.0.0.1:%1").arg(nobody));
    ASSERT_TRUE(link.start());
    ASSERT_TRUE(waitFor([&] { return lost.size() == 1; }, 10000));
    EXPECT_EQ(lost.back(),
              QString("rigctld is not running at 127.0.0.1:%1 (connection refused)").arg(nobody));

    environment.values.remove("VELK_RIGCTLD");
    HamlibSettings hamlib;
    hamlib.port = nobody;
    link.setHamlibSettings(hamlib);
    link.setRigctldProgram(dir.path() + "/no-such-rigctld");
    link.start();
    ASSERT_TRUE(waitFor([&] { return lost.size() == 2; }, 10000));
    EXPECT_EQ(lost.back(), QString("rigctld is not installed (Debian package libhamlib-utils)"));
    EXPECT_FALSE(link.isPolling());

    if (!hamlibInstalled()) {
        GTEST_SKIP() << "rigctld (libhamlib-utils) is not installed";
    }
    hamlib.model = 99999;
    link.setHamlibSettings(hamlib);
    link.setRigctldProgram("rigctld");
    ASSERT_TRUE(link.start());
    ASSERT_TRUE(waitFor([&] { return lost.size() == 3; }, 10000));
    EXPECT_TRUE(lost.back().startsWith("rigctld stopped (model 99999): Unknown rig num 99999"))
        << lost.back().toStdString();
    EXPECT_FALSE(link.isPolling());

    // Another program already listens where the logger's own rigctld should: said, not used.
    QTcpServer squatter;
    ASSERT_TRUE(squatter.listen(QHostAddress::LocalHost, 0));
    hamlib.model = 1;
    hamlib.port = squatter.serverPort();
    link.setHamlibSettings(hamlib);
    ASSERT_TRUE(link.start());
    ASSERT_TRUE(waitFor([&] { return lost.size() == 4; }, 10000));
    EXPECT_EQ(lost.back(), QString("rigctld stopped (model 1); is another program using 127.0.0.1:%1?")
                               .arg(squatter.serverPort()));
    EXPECT_FALSE(link.isPolling());
}

} // namespace
} // namespace velk::testing
