// rigctld's extended protocol byte for byte, the Hamlib settings file, the model list of
// `rigctl -l` and where the link connects.
#include "common/platform/fake/fakeplatform.h"
#include "rig/hamlibsettings.h"
#include "rig/rigcodec.h"

#include <gtest/gtest.h>

namespace velk {
namespace {

TEST(HamlibCodec, CommandsAreTheExtendedOnes)
{
    const RadioType& hamlib = radioType("Hamlib");
    const RigSettings settings;
    EXPECT_EQ(hamlib.family, RadioFamily::Hamlib);
    EXPECT_EQ(radioTypeCaption(hamlib), QString("Hamlib (rigctld)"));
    EXPECT_EQ(pollQuery(hamlib, settings, false).bytes, QByteArray("+m\n+f\n"));
    EXPECT_EQ(frequencyCommand(hamlib, settings, 14.025, 0), QByteArray("+F 14025000\n"));
    EXPECT_EQ(frequencyCommand(hamlib, settings, 21.03f, 0), QByteArray("+F 21030000\n"));
    const std::pair<const char*, const char*> modes[] = {
        {"CW", "+M CW 0\n"},      {"LSB", "+M LSB 0\n"},    {"USB", "+M USB 0\n"},
        {"AM", "+M AM 0\n"},      {"FM", "+M FM 0\n"},      {"RTTY", "+M RTTY 0\n"},
        {"FSK", "+M RTTY 0\n"},   {"CW-R", "+M CWR 0\n"},   {"RTTY-R", "+M RTTYR 0\n"},
        {"DIG", "+M PKTUSB 0\n"}, {"PKT", "+M PKTLSB 0\n"}, {"XYZ", ""},
    };
    for (const auto& [mode, bytes] : modes) {
        EXPECT_EQ(modeCommand(hamlib, settings, mode), QByteArray(bytes)) << mode;
    }
}

TEST(HamlibCodec, RepliesDecodeWhenWhole)
{
    const RadioType& hamlib = radioType("Hamlib");
    const RigSettings settings;
    const ReplyShape shape = pollQuery(hamlib, settings, false).reply;
    struct Row
    {
        const char* reply;
        bool whole;
        std::optional<double> mhz;
        std::optional<QString> mode;
        bool fault;
    };
    const Row rows[] = {
        {"get_freq:\nFrequency: 7025000\nRPRT 0\nget_mode:\nMode: CW\nPassband: 500\nRPRT 0\n", true, 7.025,
         "CW", false},
        {"get_freq:\nFrequency: 14250000.000000\nRPRT 0\nget_mode:\nMode: USB\nPassband: 2400\nRPRT 0\n",
         true, 14.25, "PH", false},
        {"get_freq:\nFrequency: 7025000\nRPRT 0\nget_mode:\nMode: C", false, 7.025, std::nullopt, false},
        {"get_freq:\nFrequency: 3573000\nRPRT 0\nget_mode:\nMode: PKTUSB\nPassband: 3000\nRPRT 0\n", true,
         3.573, "RY", false},
        {"get_freq:\nFrequency: 7025000\nRPRT 0\nget_mode:\nMode: CWR\nPassband: 500\nRPRT 0\n", true, 7.025,
         "CW", false},
        {"get_freq:\nFrequency: 145500000\nRPRT 0\nget_mode:\nMode: FM\nPassband: 15000\nRPRT 0\n", true,
         145.5, "FM", false},
        {"get_freq:\nRPRT -5\nget_mode:\nRPRT -5\n", true, std::nullopt, std::nullopt, true},
        // A radio without a mode query is no fault.
        {"get_freq:\nFrequency: 7025000\nRPRT 0\nget_mode:\nRPRT -11\n", true, 7.025, std::nullopt, false},
        // The late answer of a set command before the poll's.
        {"set_freq: 14025000\nRPRT 0\nget_freq:\nFrequency: 14025000\nRPRT 0\n", true, 14.025, std::nullopt,
         false},
        {"get_freq:\nFrequency: 99999999999\nRPRT 0\nget_mode:\nMode: AM\nPassband: 6000\nRPRT 0\n", true,
         std::nullopt, "AM", false},
    };
    for (const Row& row : rows) {
        const QByteArray reply(row.reply);
        EXPECT_EQ(replyComplete(shape, reply), row.whole) << row.reply;
        const RigReading reading = decodeReply(hamlib, settings, shape, reply);
        EXPECT_EQ(reading.mhz.has_value(), row.mhz.has_value()) << row.reply;
        if (reading.mhz && row.mhz) {
            EXPECT_NEAR(*reading.mhz, *row.mhz, 1e-9) << row.reply;
        }
        EXPECT_EQ(reading.mode, row.mode) << row.reply;
        EXPECT_EQ(reading.fault.has_value(), row.fault) << row.reply;
    }
    EXPECT_EQ(hamlib::errorText(-5), QString("communication timed out (Hamlib error -5)"));
    EXPECT_EQ(hamlib::errorText(-99), QString("error (Hamlib error -99)"));
}

TEST(HamlibSettingsFile, RoundTripsAndKeepsDefaultsOfBadFields)
{
    HamlibSettings settings;
    settings.model = 2014;
    settings.device = "/dev/ttyUSB1";
    settings.speed = 4800;
    settings.port = 4533;
    settings.startDaemon = false;
    const QByteArray bytes = encodeHamlibSettings(settings);
    EXPECT_EQ(bytes, QByteArray("2014\r\n\"/dev/ttyUSB1\"\r\n4800\r\n\"127.0.0.1\"\r\n4533\r\n0\r\n"));
    HamlibSettings read;
    EXPECT_TRUE(readHamlibSettings(bytes, read).faults.isEmpty());
    EXPECT_EQ(read, settings);
    HamlibSettings damaged;
    const SettingsReadReport report =
        readHamlibSettings("x\r\n\"/dev/ttyS0\"\r\n4800\r\n\"\"\r\n99999\r\n1\r\n", damaged);
    EXPECT_EQ(report.faultyFields(), QStringList({"Hamlib model", "rigctld port"}));
    EXPECT_EQ(damaged.model, 1);
    EXPECT_EQ(damaged.device, QString("/dev/ttyS0"));
    EXPECT_EQ(damaged.host, QString("127.0.0.1"));
    EXPECT_EQ(damaged.port, 4532);
}

TEST(HamlibSettingsFile, DaemonCommandLineAndTheEnvironmentsDaemon)
{
    HamlibSettings settings;
    settings.model = 2014;
    settings.device = "/dev/ttyUSB0";
    settings.speed = 57600;
    EXPECT_EQ(rigctldArguments(settings),
              QStringList({"-m", "2014", "-r", "/dev/ttyUSB0", "-s", "57600", "-C", "cache_timeout=0", "-T",
                           "127.0.0.1", "-t", "4532"}));
    settings.model = 1;
    EXPECT_EQ(rigctldArguments(settings),
              QStringList({"-m", "1", "-C", "cache_timeout=0", "-T", "127.0.0.1", "-t", "4532"}));
    FakeEnvironment environment;
    RigctldTarget target = rigctldTarget(settings, environment);
    EXPECT_TRUE(target.startDaemon);
    EXPECT_EQ(target.text(), QString("127.0.0.1:4532"));
    environment.values["VELK_RIGCTLD"] = "shack.local:4600";
    target = rigctldTarget(settings, environment);
    EXPECT_FALSE(target.startDaemon);
    EXPECT_EQ(target.text(), QString("shack.local:4600"));
    environment.values["VELK_RIGCTLD"] = "nonsense";
    EXPECT_TRUE(rigctldTarget(settings, environment).startDaemon);
}

TEST(HamlibModels, ColumnsOfTheListingAreTaken)
{
    const QByteArray listing =
        " Rig #  Mfg                    Model                   Version         Status      Macro\n"
        "     1  Hamlib                 Dummy                   20221128.0      Stable      RIG_MODEL_DUMMY\n"
        "  2014  Kenwood                TS-2000                 20230109.0      Stable      "
        "RIG_MODEL_TS2000\n"
        " 23003  DTTS Microwave Society DttSP IPC               20200319.0      Beta        RIG_MODEL_DTTSP\n"
        "garbage\n";
    const QList<HamlibModel> models = parseHamlibModels(listing);
    ASSERT_EQ(models.size(), 3);
    EXPECT_EQ(models.at(1), (HamlibModel{2014, "Kenwood", "TS-2000"}));
    EXPECT_EQ(models.at(2), (HamlibModel{23003, "DTTS Microwave Society", "DttSP IPC"}));
    EXPECT_EQ(models.at(1).caption(), QString("Kenwood TS-2000 (2014)"));
    EXPECT_TRUE(parseHamlibModels("no heading\n  2014  Kenwood  TS-2000\n").isEmpty());
}

} // namespace
} // namespace velk
