// RigCntrl.txt, the port settings text, the baud rates and the hex text conversions.
#include "rig/rigsettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace velk {
namespace {

TEST(RigSettings, FileIsFourteenQuotedListLinesAndReadsBack)
{
    RigSettings settings;
    applyTypeDefaults(settings, radioType("Kenwood"));
    settings.commPort = 3;
    settings.connectionPower = 'R';
    settings.pollRate = 'F';
    settings.modeSource = ModeSource::Frequency;
    const QByteArray bytes = encodeRigSettings(settings);
    EXPECT_EQ(bytes,
              QByteArray("\"4800 \"\r\n\"N\"\r\n\"8\"\r\n\"2\"\r\n\"MD;\"\r\n\"FA;\"\r\n\"4800,N,8,2\"\r\n"
                         "3\r\n\"R\"\r\n\"F\"\r\n\"Kenwood\"\r\n0\r\n1\r\n2\r\n"));
    RigSettings back;
    EXPECT_EQ(parseRigSettings(bytes, back), 14);
    EXPECT_EQ(back, settings);
}

TEST(RigSettings, ShortOrDamagedFileKeepsTheFieldsNotReached)
{
    RigSettings settings;
    settings.rigType = "Icom";
    EXPECT_EQ(parseRigSettings("\"9600 \"\r\n\"E\"\r\n\"9\"\r\n", settings), 2);
    EXPECT_EQ(settings.baudText, QString("9600 "));
    EXPECT_EQ(settings.parity, 'E');
    EXPECT_EQ(settings.dataBits, 8);
    EXPECT_EQ(settings.rigType, QString("Icom"));
    EXPECT_EQ(parseRigSettings("", settings), 0);
}

TEST(RigSettings, SaveGoesThroughARenameAndLoadReadsIt)
{
    QTemporaryDir dir;
    RigSettings settings;
    applyTypeDefaults(settings, radioType("Yaesu 990"));
    const QString path = dir.path() + "/RigCntrl.txt";
    QString error;
    ASSERT_TRUE(saveRigSettings(path, settings, &error)) << error.toStdString();
    RigSettings back;
    ASSERT_TRUE(loadRigSettings(path, back));
    EXPECT_EQ(back, settings);
    EXPECT_FALSE(saveRigSettings(dir.path() + "/missing/RigCntrl.txt", settings, &error));
    EXPECT_FALSE(error.isEmpty());
}

// A damaged line must not silence the radio: only the field that does not read keeps its value,
// and the load names it; a missing file is told from one that cannot be read.
TEST(RigSettings, ABadValueFailsOnlyItsFieldAndTheLoadSaysWhich)
{
    RigSettings stored;
    applyTypeDefaults(stored, radioType("Kenwood"));
    stored.commPort = 4;
    stored.pollRate = 'S';
    QTemporaryDir dir;
    const QString path = dir.path() + "/RigCntrl.txt";
    const auto write = [&path](const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    };
    const QByteArray good = encodeRigSettings(stored);

    write(QByteArray(good).replace("\"4800 \"\r\n", "\"fast\"\r\n"));
    RigSettings read;
    SettingsLoad load = loadRigSettings(path, read);
    ASSERT_EQ(load.state, SettingsFileState::Read);
    EXPECT_EQ(load.report.faults, (QList<SettingsFault>{{"baud rate", 1}}));
    EXPECT_EQ(load.report.fieldsRead, 13);
    RigSettings expected = stored;
    expected.baudText = RigSettings().baudText;
    EXPECT_EQ(read, expected);
    EXPECT_EQ(settingsLoadMessage("RigCntrl.txt", load),
              QString("RigCntrl.txt: could not read baud rate (line 1)."));

    write(QByteArray(good).replace("\r\n4\r\n\"N\"", "\r\n11\r\n\"N\""));
    read = RigSettings();
    load = loadRigSettings(path, read);
    EXPECT_EQ(load.report.faultyFields(), QStringList{"comm port"});
    expected = stored;
    expected.commPort = RigSettings().commPort;
    EXPECT_EQ(read, expected);

    write(good);
    EXPECT_TRUE(loadRigSettings(path, read).clean());
    EXPECT_EQ(read, stored);

    QFile::remove(path);
    load = loadRigSettings(path, read);
    EXPECT_FALSE(load);
    EXPECT_EQ(load.state, SettingsFileState::Missing);
    EXPECT_EQ(settingsLoadMessage("RigCntrl.txt", load),
              QString("RigCntrl.txt is missing: the default settings are in use."));
    EXPECT_EQ(loadRigSettings(dir.path(), read).state, SettingsFileState::Unreadable);
}

TEST(RigSettings, FiftySixThousandRunsTheRadiosFiftySevenSix)
{
    RigSettings settings;
    EXPECT_EQ(settings.baudText, QString("56000"));
    EXPECT_EQ(serialSettings(settings).baud, 57600);
    settings.baudText = "4800 ";
    settings.stopBits = 2;
    EXPECT_EQ(serialSettings(settings).baud, 4800);
    EXPECT_EQ(portSettingsText(settings), QString("4800,N,8,2"));
    EXPECT_EQ(paddedBaudText(1200), QString("1200 "));
}

TEST(RigSettings, PollPeriods)
{
    EXPECT_EQ(pollPeriodMs('F'), 100);
    EXPECT_EQ(pollPeriodMs('M'), 500);
    EXPECT_EQ(pollPeriodMs('S'), 2000);
    EXPECT_EQ(pollPeriodMs('R'), 10000);
}

TEST(RigSettings, TypeDefaultsKeepWhatTheTypeLeavesOpen)
{
    RigSettings settings;
    settings.baudText = "9600 ";
    settings.frequencyQuery = "old";
    applyTypeDefaults(settings, radioType("Yaesu FTdx9000"));
    EXPECT_EQ(settings.baudText, QString("4800 "));
    EXPECT_EQ(settings.stopBits, 1);
    EXPECT_EQ(settings.frequencyQuery, QString("FA;"));
    EXPECT_EQ(settings.modeQuery, QString("MD0;"));
    applyTypeDefaults(settings, radioType("Other"));
    EXPECT_EQ(settings.baudText, QString("4800 "));
    EXPECT_TRUE(settings.frequencyQuery.isEmpty());
    EXPECT_EQ(radioTypes().size(), 20);
    EXPECT_EQ(radioTypeNames().back(), QString("Hamlib"));
    EXPECT_EQ(radioTypeNames().at(9), QString("Ten Tec Pegasus"));
}

TEST(RigSettings, HexTextConversions)
{
    EXPECT_EQ(spacedHexToBytes("FE FE 04 E0 03 FD"), QByteArray::fromHex("FEFE04E003FD"));
    EXPECT_EQ(compactHexToBytes("E00603FD"), QByteArray::fromHex("E00603FD"));
    EXPECT_EQ(bytesToSpacedHex("FA00014025000;"), QString("46 41 30 30 30 31 34 30 32 35 30 30 30 3B "));
    EXPECT_EQ(bytesToCompactHex(QByteArray::fromHex("0a1b")), QString("0A1B"));
    EXPECT_EQ(spacedHexToBytes("zz 41"), QByteArray("A"));
}

} // namespace
} // namespace velk
