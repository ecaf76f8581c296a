#include "common/qtprinters.h"
#include "voice/voicesettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velk;

namespace {

VoiceSettings stationSettings()
{
    VoiceSettings s;
    s.files[0] = QStringLiteral("/home/op/cq.wav");
    s.files[1] = QStringLiteral("/home/op/exchange.wav");
    s.files[8] = QStringLiteral("/home/op/Grüße.wav");
    s.pttPort = QStringLiteral("2");
    s.pttLine = PttLine::Dtr;
    s.loopSeconds = QStringLiteral("3.5");
    s.parallelAddress = QStringLiteral("&H278");
    return s;
}

constexpr char stationBytes[] = "\"/home/op/cq.wav\"\r\n"
                                "\"/home/op/exchange.wav\"\r\n"
                                "\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n"
                                "\"/home/op/Gr\xfc\xdf"
                                "e.wav\"\r\n"
                                "\"2\"\r\n"
                                "1\r\n"
                                "\"3.5\"\r\n"
                                "\"&H278\"\r\n";

TEST(VoiceSettingsFile, WritesThirteenQuotedLinesInLatin1WithCrLf)
{
    EXPECT_EQ(encodeVoiceSettings(stationSettings()), QByteArray(stationBytes));
}

TEST(VoiceSettingsFile, ReadsBackWhatItWrote)
{
    bool ok = false;
    EXPECT_EQ(parseVoiceSettings(QByteArray(stationBytes), &ok), stationSettings());
    EXPECT_TRUE(ok);
}

TEST(VoiceSettingsFile, ShortFileKeepsTheDefaultsOfMissingValues)
{
    bool ok = false;
    const VoiceSettings read = parseVoiceSettings("\"  a.wav  \"\r\n\"b.wav\"\r\n", &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(read.files[0], QStringLiteral("a.wav")); // blanks removed
    EXPECT_EQ(read.files[1], QStringLiteral("b.wav"));
    EXPECT_EQ(read.pttPort, QStringLiteral("0"));
    EXPECT_EQ(read.pttLine, PttLine::Rts);
    EXPECT_EQ(read.loopSeconds, QStringLiteral("0"));
    EXPECT_EQ(read.parallelAddress, QStringLiteral("&H378"));
}

TEST(VoiceSettingsFile, LineChoiceSelectsRtsDtrOrParallel)
{
    const QByteArray head = QByteArray("\"\"\r\n").repeated(9) + "\"0\"\r\n";
    EXPECT_EQ(parseVoiceSettings(head + "0\r\n").pttLine, PttLine::Rts);
    EXPECT_EQ(parseVoiceSettings(head + "1\r\n").pttLine, PttLine::Dtr);
    EXPECT_EQ(parseVoiceSettings(head + "2\r\n").pttLine, PttLine::Parallel);
    bool ok = true;
    parseVoiceSettings(head + "\"DTR\"\r\n", &ok);
    EXPECT_FALSE(ok);
}

TEST(VoiceSettingsFile, MalformedLineIsUnreadable)
{
    bool ok = true;
    const VoiceSettings read = parseVoiceSettings("\"a.wav\"\r\n\"b.wav\r\n", &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(read.files[0], QStringLiteral("a.wav"));
}

TEST(VoiceSettingsFile, LoadAndSaveThroughTheDisk)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("wave2.txt"));
    VoiceSettings read;
    EXPECT_EQ(loadVoiceSettings(path, read), VoiceSettingsLoad::Missing);
    ASSERT_TRUE(saveVoiceSettings(path, stationSettings()).ok);
    EXPECT_EQ(loadVoiceSettings(path, read), VoiceSettingsLoad::Loaded);
    EXPECT_EQ(read, stationSettings());
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("wave2.txt")});

    QFile broken(path);
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("\"unclosed\r\n");
    broken.close();
    VoiceSettings kept = stationSettings();
    EXPECT_EQ(loadVoiceSettings(path, kept), VoiceSettingsLoad::Unreadable);
    EXPECT_EQ(kept, stationSettings());
}

TEST(VoiceSettingsFile, RefusesValuesTheFileCannotHoldAndKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("wave2.txt"));
    ASSERT_TRUE(saveVoiceSettings(path, stationSettings()).ok);
    for (const QString& bad :
         {QStringLiteral("/tmp/say \"hi\".wav"), QStringLiteral("/tmp/\u4f60\u597d.wav")}) {
        VoiceSettings settings = stationSettings();
        settings.files[3] = bad;
        const WriteResult result = saveVoiceSettings(path, settings);
        EXPECT_FALSE(result.ok) << bad.toStdString();
        EXPECT_TRUE(result.error.contains(QStringLiteral("wave2.txt")));
    }
    VoiceSettings read;
    ASSERT_EQ(loadVoiceSettings(path, read), VoiceSettingsLoad::Loaded);
    EXPECT_EQ(read, stationSettings());
}

TEST(VoiceSettingsFile, WriteIntoMissingFolderFails)
{
    EXPECT_FALSE(saveVoiceSettings(QStringLiteral("/nonexistent/folder/wave2.txt"), stationSettings()).ok);
}

TEST(VoiceSettingsRules, LoopPause)
{
    struct Case
    {
        const char* text;
        std::optional<int> ms;
    };
    const Case cases[] = {{"0", 0},
                          {"3", 3000},
                          {"2.5", 2500},
                          {" 10 ", 10000},
                          {"59.9", 59900},
                          {"0.0004", 0},
                          {"60", std::nullopt},
                          {"75", std::nullopt},
                          {"", std::nullopt},
                          {"1.2.3", std::nullopt},
                          {"-1", std::nullopt},
                          {"abc", std::nullopt}};
    for (const Case& c : cases) {
        EXPECT_EQ(loopPauseMs(QString::fromLatin1(c.text)), c.ms) << c.text;
    }
}

TEST(VoiceSettingsRules, PttTarget)
{
    VoiceSettings s;
    EXPECT_FALSE(pttTarget(s)); // port 0: keyed by hand or VOX
    s.pttPort = QStringLiteral("COM3");
    EXPECT_FALSE(pttTarget(s));
    s.pttPort = QStringLiteral("3");
    ASSERT_TRUE(pttTarget(s));
    EXPECT_EQ(pttTarget(s)->kind, KeyLineKind::Rts);
    EXPECT_EQ(pttTarget(s)->comPort, 3);
    s.pttLine = PttLine::Dtr;
    EXPECT_EQ(pttTarget(s)->kind, KeyLineKind::Dtr);
    s.pttLine = PttLine::Parallel;
    s.pttPort = QStringLiteral("0");
    ASSERT_TRUE(pttTarget(s));
    EXPECT_EQ(pttTarget(s)->kind, KeyLineKind::Parallel);
    EXPECT_EQ(pttTarget(s)->parallelAddress, QStringLiteral("&H378"));
}

} // namespace
