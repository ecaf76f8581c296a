// WK.txt: the eight values, their format on disk, short and damaged files.
#include "cw/winkeysettingsfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace velk {
namespace {

TEST(WinKeySettingsFile, WritesEightLinesWithCrLf)
{
    WinKeySettings settings;
    settings.port = 3;
    settings.speed = 25;
    settings.weight = 45;
    settings.leadIn = 2;
    settings.tail = 10;
    settings.ratio = 55;
    settings.pinConfig = 5;
    settings.mode = 32;
    EXPECT_EQ(encodeWinKeySettings(settings),
              QByteArray("3\r\n\"25\"\r\n\"45\"\r\n\"2\"\r\n\"10\"\r\n\"55\"\r\n5\r\n32\r\n"));
    WinKeySettings read;
    EXPECT_EQ(parseWinKeySettings(encodeWinKeySettings(settings), read), 8);
    EXPECT_EQ(read, settings);
}

TEST(WinKeySettingsFile, ReadsBareOrQuotedAndStopsAtTheFirstBadLine)
{
    struct Case
    {
        const char* name;
        QByteArray bytes;
        int taken;
        WinKeySettings expected;
    };
    const WinKeySettings defaults;
    const Case cases[] = {
        {"empty", "", 0, defaults},
        {"short: pin and mode keep defaults",
         "2\r\n20\r\n\"40\"\r\n0\r\n5\r\n50\r\n",
         6,
         {2, 20, 40, 0, 5, 50, 6, 0}},
        {"bad speed stops the reading", "4\r\n\"fast\"\r\n\"40\"\r\n", 1, {4, 18, 50, 0, 0, 50, 6, 0}},
        {"values the device does not take are clamped",
         "12\r\n0\r\n99\r\n300\r\n-3\r\n70\r\n8\r\n16\r\n",
         8,
         {10, 5, 90, 250, 0, 66, 8, 16}},
        {"unknown pin and mode keep defaults",
         "1\r\n18\r\n50\r\n0\r\n0\r\n50\r\n7\r\n99\r\n",
         8,
         {1, 18, 50, 0, 0, 50, 6, 0}},
        {"unclosed quote", "1\r\n\"18\r\n", 1, {1, 18, 50, 0, 0, 50, 6, 0}},
        {"LF only", "3\n22\n", 2, {3, 22, 50, 0, 0, 50, 6, 0}},
    };
    for (const Case& c : cases) {
        WinKeySettings read;
        EXPECT_EQ(parseWinKeySettings(c.bytes, read), c.taken) << c.name;
        EXPECT_EQ(read, c.expected) << c.name;
    }
}

TEST(WinKeySettingsFile, SavesThroughARenameAndReportsFailures)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("WK.txt"));
    WinKeySettings missing;
    missing.speed = 30;
    EXPECT_FALSE(loadWinKeySettings(path, missing));
    EXPECT_EQ(missing.speed, 30);

    WinKeySettings settings;
    settings.port = 5;
    EXPECT_FALSE(saveWinKeySettings(path, settings).has_value());
    WinKeySettings read;
    EXPECT_TRUE(loadWinKeySettings(path, read));
    EXPECT_EQ(read, settings);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("WK.txt")});

    const auto error = saveWinKeySettings(dir.filePath(QStringLiteral("missing/WK.txt")), settings);
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(error->startsWith(QStringLiteral("Cannot write")));
}

} // namespace
} // namespace velk
