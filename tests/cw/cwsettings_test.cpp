#include "cw/cwsettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace velk {
namespace {

CwSettings sample()
{
    CwSettings settings;
    settings.messages = {QStringLiteral("CQ VELK $ TEST"),
                         QStringLiteral("$ * LEE MA"),
                         QStringLiteral("TU, QRZ"),
                         QStringLiteral("F4"),
                         QStringLiteral("F5"),
                         QStringLiteral("F6"),
                         QStringLiteral("F7"),
                         QStringLiteral("F8"),
                         QStringLiteral("VVV DE W1AW"),
                         QStringLiteral("F10 !"),
                         QStringLiteral("F11")};
    settings.comPort = QStringLiteral("2");
    settings.speed = QStringLiteral("28");
    settings.wordSpace = QStringLiteral("-3");
    settings.keyerType = KeyerType::Dtr;
    settings.parallelAddress = QStringLiteral("&H278");
    settings.showText = true;
    settings.repeatSeconds = QStringLiteral("2.5");
    return settings;
}

TEST(CwSettingsFile, WritesEighteenLinesInTheirOrderWithBareNumbersForTypeAndCheckBox)
{
    const QByteArray bytes = cwSettingsBytes(sample());
    const QList<QByteArray> lines = bytes.split('\n');
    ASSERT_EQ(lines.size(), 19); // the last CR LF leaves an empty tail
    EXPECT_EQ(lines[0], "\"CQ VELK $ TEST\"\r");
    EXPECT_EQ(lines[2], "\"TU, QRZ\"\r");
    EXPECT_EQ(lines[9], "\"2\"\r");
    EXPECT_EQ(lines[10], "\"28\"\r");
    EXPECT_EQ(lines[11], "\"F10 !\"\r");
    EXPECT_EQ(lines[12], "\"F11\"\r");
    EXPECT_EQ(lines[13], "\"-3\"\r");
    EXPECT_EQ(lines[14], "2\r");
    EXPECT_EQ(lines[15], "\"&H278\"\r");
    EXPECT_EQ(lines[16], "1\r");
    EXPECT_EQ(lines[17], "\"2.5\"\r");
    EXPECT_EQ(parseCwSettings(bytes), sample());
}

TEST(CwSettingsFile, AShortFileKeepsTheRestAtDefaultsAndAnEmptyF9IsTheTestMessage)
{
    const CwSettings settings = parseCwSettings(
        "\"CQ\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"3\"\r\n");
    EXPECT_EQ(settings.messages[0], QStringLiteral("CQ"));
    EXPECT_EQ(settings.messages[8], QStringLiteral("VVV DE "));
    EXPECT_EQ(settings.comPort, QStringLiteral("3"));
    EXPECT_EQ(settings.speed, QStringLiteral("13"));
    EXPECT_EQ(settings.keyerType, KeyerType::None);
    EXPECT_EQ(settings.parallelAddress, QStringLiteral("&H378"));
}

TEST(CwSettingsFile, ReadingStopsAtTheFirstBadValue)
{
    QByteArray bytes = cwSettingsBytes(sample());
    bytes.replace("\r\n2\r\n", "\r\nx\r\n"); // the keyer type
    const CwSettings settings = parseCwSettings(bytes);
    EXPECT_EQ(settings.wordSpace, QStringLiteral("-3"));
    EXPECT_EQ(settings.keyerType, KeyerType::None);
    EXPECT_EQ(settings.parallelAddress, QStringLiteral("&H378"));
    EXPECT_FALSE(settings.showText);
}

TEST(CwSettingsFile, UnknownKeyerTypesCountAsNone)
{
    for (const auto& [number, type] : std::vector<std::pair<int, KeyerType>>{{0, KeyerType::None},
                                                                             {1, KeyerType::Rts},
                                                                             {2, KeyerType::Dtr},
                                                                             {3, KeyerType::Parallel},
                                                                             {4, KeyerType::None},
                                                                             {5, KeyerType::WinKey},
                                                                             {-1, KeyerType::None},
                                                                             {200, KeyerType::None}}) {
        EXPECT_EQ(keyerTypeFromNumber(number), type) << number;
    }
}

TEST(CwSettingsFile, SavedFileReadsBackAndAMissingFileGivesDefaults)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cw.txt"));
    EXPECT_EQ(loadCwSettings(path), CwSettings());
    QString error;
    ASSERT_TRUE(saveCwSettings(path, sample(), error)) << error.toStdString();
    EXPECT_EQ(loadCwSettings(path), sample());
    EXPECT_FALSE(saveCwSettings(dir.filePath(QStringLiteral("missing/cw.txt")), sample(), error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
} // namespace velk
