#include "log/preferences.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velk;

namespace {

Preferences stationPreferences()
{
    Preferences p;
    p.ownCall = QStringLiteral("N0CALL");
    p.ownSpc = QStringLiteral("CT");
    p.utcOffsetHours = -5.0f;
    p.mode = QStringLiteral("PH");
    p.accumulatedSeconds = 3600.5f;
    p.ownCountry = QStringLiteral("USA");
    p.ownLongitude = 72.5f;
    p.ownLatitude = 41.25f;
    p.formSizePercent = 80;
    p.workedColour = 0x0000C0;
    p.notWorkedColour = 0xFF8000;
    p.currentBand = QStringLiteral("40");
    p.ownContinent = QStringLiteral("NA");
    p.ownFirstName = QStringLiteral("LEE");
    p.audioFeedbackLevel = 2;
    p.radioType = QStringLiteral("Kenwood");
    p.taskbar = 1;
    p.listPrevious = 1;
    return p;
}

constexpr char stationBytes[] = "\"N0CALL\"\r\n"
                                "\"CT\"\r\n"
                                "-5\r\n"
                                "\"PH\"\r\n"
                                "3600.5\r\n"
                                "\"USA\"\r\n"
                                "72.5\r\n"
                                "41.25\r\n"
                                "80\r\n"
                                "192\r\n"
                                "16744448\r\n"
                                "\"40\"\r\n"
                                "\"NA\"\r\n"
                                "\"LEE\"\r\n"
                                "2\r\n"
                                "\"Kenwood\"\r\n"
                                "1\r\n"
                                "1\r\n";

} // namespace

TEST(PreferencesFormat, EncodesEighteenLinesByteForByte)
{
    EXPECT_EQ(encodePreferences(stationPreferences()), stationBytes);
}

TEST(PreferencesFormat, ParsesWhatItWrites)
{
    bool ok = false;
    EXPECT_EQ(parsePreferences(stationBytes, &ok), stationPreferences());
    EXPECT_TRUE(ok);

    Preferences odd = stationPreferences();
    odd.utcOffsetHours = 9.5f;
    odd.ownLongitude = -151.3333f;
    odd.ownLatitude = 0.1f;
    odd.accumulatedSeconds = 123456.7f;
    EXPECT_EQ(parsePreferences(encodePreferences(odd), &ok), odd);
    EXPECT_TRUE(ok);
}

TEST(PreferencesFormat, ShortFileKeepsDefaults)
{
    bool ok = false;
    const Preferences p = parsePreferences("\"K1ABC\"\r\n\"ME\"\r\n-4\r\n", &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(p.ownCall, QStringLiteral("K1ABC"));
    EXPECT_EQ(p.ownSpc, QStringLiteral("ME"));
    EXPECT_EQ(p.utcOffsetHours, -4.0f);
    Preferences expected;
    expected.ownCall = p.ownCall;
    expected.ownSpc = p.ownSpc;
    expected.utcOffsetHours = p.utcOffsetHours;
    EXPECT_EQ(p, expected);
}

TEST(PreferencesFormat, NonNumericValueIsUnreadableButKeepsEarlierValues)
{
    bool ok = true;
    const Preferences p = parsePreferences("\"K1ABC\"\r\n\"ME\"\r\n-4\r\n\"CW\"\r\nlots\r\n\"USA\"\r\n", &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(p.ownCall, QStringLiteral("K1ABC"));
    EXPECT_EQ(p.utcOffsetHours, -4.0f);
    EXPECT_EQ(p.accumulatedSeconds, 0.0f);
    EXPECT_TRUE(p.ownCountry.isEmpty()) << "nothing after the bad value is taken";
}

TEST(PreferencesFormat, MalformedLineIsUnreadable)
{
    bool ok = true;
    const Preferences p = parsePreferences("\"K1ABC\"\r\n\"M\"E\"\r\n", &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(p.ownCall, QStringLiteral("K1ABC"));
    EXPECT_TRUE(p.ownSpc.isEmpty());
}

TEST(PreferencesFormat, OutOfRangeByteIsUnreadable)
{
    QByteArray bytes = stationBytes;
    bytes.replace("\r\n2\r\n", "\r\n300\r\n");
    bool ok = true;
    parsePreferences(bytes, &ok);
    EXPECT_FALSE(ok);
}

TEST(PreferencesFormat, AcceptsBareTextsAndQuotedNumbers)
{
    QByteArray bytes = stationBytes;
    bytes.replace("\"N0CALL\"", "N0CALL");
    bytes.replace("\r\n-5\r\n", "\r\n\"-5\"\r\n");
    bytes.replace("\r\n192\r\n", "\r\n\"192\"\r\n");
    bool ok = false;
    EXPECT_EQ(parsePreferences(bytes, &ok), stationPreferences());
    EXPECT_TRUE(ok);
}

TEST(PreferencesFormat, ClampsFormSize)
{
    QByteArray small = stationBytes;
    small.replace("\r\n80\r\n", "\r\n10\r\n");
    EXPECT_EQ(parsePreferences(small).formSizePercent, 30);
    QByteArray large = stationBytes;
    large.replace("\r\n80\r\n", "\r\n150\r\n");
    EXPECT_EQ(parsePreferences(large).formSizePercent, 100);
}

TEST(PreferencesFile, SaveAndLoad)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("VELKpref.txt"));

    Preferences untouched = stationPreferences();
    EXPECT_EQ(loadPreferences(path, untouched), PrefLoadStatus::Missing);
    EXPECT_EQ(untouched, stationPreferences());

    ASSERT_TRUE(savePreferences(path, stationPreferences()).ok);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), stationBytes);
    file.close();

    Preferences loaded;
    EXPECT_EQ(loadPreferences(path, loaded), PrefLoadStatus::Loaded);
    EXPECT_EQ(loaded, stationPreferences());
}

TEST(PreferencesFile, UnreadableFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("VELKpref.txt"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\"K1ABC\"\r\n\"ME\"\r\nminus four\r\n");
    file.close();

    Preferences prefs;
    EXPECT_EQ(loadPreferences(path, prefs), PrefLoadStatus::Unreadable);
    EXPECT_EQ(prefs.ownCall, QStringLiteral("K1ABC"));
}

TEST(PreferencesFile, SaveFailureIsReported)
{
    QTemporaryDir dir;
    const WriteResult result =
        savePreferences(dir.filePath(QStringLiteral("nowhere/VELKpref.txt")), stationPreferences());
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains(QStringLiteral("VELKpref.txt")));
}
