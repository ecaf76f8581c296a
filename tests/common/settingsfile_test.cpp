// The settings-file codec: every kind and rule of a field read and written, the rules of a file,
// and every settings file of the station read and written back byte for byte.
#include "common/settingsfile.h"

#include "common/qtprinters.h"
#include "cw/cwsettings.h"
#include "cw/winkeysettingsfile.h"
#include "log/preferences.h"
#include "rig/bandplan.h"
#include "rig/rigsettings.h"
#include "spots/spotsettings.h"
#include "voice/voicesettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

namespace velk {
namespace {

struct Holder
{
    QString text = QStringLiteral("default");
    std::int64_t number = 7;
    double real = 1.5;
};

FieldAccess<Holder> accessFor(FieldKind kind)
{
    switch (kind) {
    case FieldKind::Text:
    case FieldKind::Letter:
        return member(&Holder::text);
    case FieldKind::Real:
        return member(&Holder::real);
    default:
        return member(&Holder::number);
    }
}

TEST(SettingsFileCodec, EachKindReadsWhatItAcceptsAndWritesItsOwnForm)
{
    struct Case
    {
        const char* name;
        FieldKind kind;
        FieldRules rules;
        QByteArray line;
        std::optional<SettingValue> read; // nothing: the value does not read
        QByteArray written;               // of the value read
    };
    using I = std::int64_t;
    const IntegerRange digit{0, 9};
    const Case cases[] = {
        {"text as it is", FieldKind::Text, {}, "\" a, b \"", QString(" a, b "), "\" a, b \""},
        {"bare text", FieldKind::Text, {}, "N0CALL", QString("N0CALL"), "\"N0CALL\""},
        {"text trimmed", FieldKind::Text, {.trimmed = true}, "\"  x.wav \"", QString("x.wav"), "\"x.wav\""},
        {"text cut", FieldKind::Text, {.maxLength = 3}, "\"abcdef\"", QString("abc"), "\"abc\""},
        {"empty text is the default",
         FieldKind::Text,
         {.emptyReadsAsDefault = true},
         "\"\"",
         QString("default"),
         "\"default\""},
        {"decimal rounds half to even", FieldKind::Integer, {}, "2.5", I{2}, "2"},
        {"quoted number", FieldKind::Integer, {}, "\"-12\"", I{-12}, "-12"},
        {"not a number", FieldKind::Integer, {}, "\"lots\"", std::nullopt, {}},
        {"whole decimal", FieldKind::Integer, {.syntax = NumberSyntax::WholeDecimal}, "3.0", I{3}, "3"},
        {"whole decimal refuses a fraction",
         FieldKind::Integer,
         {.syntax = NumberSyntax::WholeDecimal},
         "3.5",
         std::nullopt,
         {}},
        {"digits", FieldKind::Integer, {.syntax = NumberSyntax::Digits}, " +8 ", I{8}, "8"},
        {"digits refuse a point",
         FieldKind::Integer,
         {.syntax = NumberSyntax::Digits},
         "8.0",
         std::nullopt,
         {}},
        {"inside the readable range", FieldKind::Integer, {.readable = digit}, "9", I{9}, "9"},
        {"outside the readable range", FieldKind::Integer, {.readable = digit}, "10", std::nullopt, {}},
        {"clamped", FieldKind::Integer, {.clampTo = IntegerRange{30, 100}}, "150", I{100}, "100"},
        {"readable, then clamped",
         FieldKind::Integer,
         {.readable = IntegerRange{0, 255}, .clampTo = IntegerRange{30, 100}},
         "10",
         I{30},
         "30"},
        {"an unknown choice keeps the value", FieldKind::Integer, {.accepted = {4, 8}}, "5", I{7}, "7"},
        {"a known choice", FieldKind::Integer, {.accepted = {4, 8}}, "8", I{8}, "8"},
        {"huge numbers saturate", FieldKind::Integer, {.accepted = {1}}, "1e300", I{7}, "7"},
        {"quoted and padded",
         FieldKind::Integer,
         {.quoted = true, .width = 5},
         "\"4800 \"",
         I{4800},
         "\"4800 \""},
        {"flag: any number but 0", FieldKind::Flag, {}, "-3", I{1}, "1"},
        {"flag cleared", FieldKind::Flag, {}, "0", I{0}, "0"},
        {"real", FieldKind::Real, {}, "-151.3333", -151.3333, "-151.3333"},
        {"real beyond a single", FieldKind::Real, {}, "1e39", std::nullopt, {}},
        {"letter", FieldKind::Letter, {.letters = "NOE"}, "\"E\"", QString("E"), "\"E\""},
        {"other letter", FieldKind::Letter, {.letters = "NOE"}, "\"X\"", std::nullopt, {}},
        {"two letters", FieldKind::Letter, {.letters = "NOE"}, "\"NO\"", std::nullopt, {}},
        {"truth", FieldKind::Truth, {}, "#true#", I{1}, "#TRUE#"},
        {"false", FieldKind::Truth, {}, "#FALSE#", I{0}, "#FALSE#"},
        {"truth is not a number", FieldKind::Truth, {}, "1", std::nullopt, {}},
    };
    for (const Case& c : cases) {
        const SettingsFile<Holder> file({}, {{"value", c.kind, accessFor(c.kind), c.rules}});
        Holder holder;
        const SettingsReadReport report = file.read(c.line + "\r\n", holder);
        const SettingValue value = file.fields().first().access.get(holder);
        if (c.read) {
            EXPECT_TRUE(report.faults.isEmpty()) << c.name;
            EXPECT_EQ(report.fieldsRead, 1) << c.name;
            if (const double* real = std::get_if<double>(&*c.read)) {
                EXPECT_FLOAT_EQ(std::get<double>(value), *real) << c.name;
            } else {
                EXPECT_TRUE(value == *c.read) << c.name;
            }
            EXPECT_EQ(file.write(holder), c.written + "\r\n") << c.name;
        } else {
            EXPECT_EQ(report.faults, (QList<SettingsFault>{{QStringLiteral("value"), 1}})) << c.name;
            EXPECT_TRUE(value == file.fields().first().access.get(Holder{}))
                << c.name << ": keeps its default";
        }
    }
}

struct Three
{
    QString a = QStringLiteral("A");
    std::int64_t b = 2;
    QString c = QStringLiteral("C");
};

SettingsFile<Three> threeFile(SettingsFileRules rules)
{
    return SettingsFile<Three>(
        rules, {{"a", FieldKind::Text, member(&Three::a)},
                {"b", FieldKind::Integer, member(&Three::b), {.readable = IntegerRange{0, 9}}},
                {"c", FieldKind::Text, member(&Three::c)}});
}

TEST(SettingsFileCodec, FileRulesDecideWhatABadValueOrADamagedLineDoes)
{
    struct Case
    {
        const char* name;
        SettingsFileRules rules;
        QByteArray bytes;
        QStringList values; // a, b, c after reading
        QList<SettingsFault> faults;
        int read;
    };
    const SettingsFileRules inOrder;
    const SettingsFileRules perLine{.layout = ValueLayout::OneValuePerLine};
    const SettingsFileRules failsField{.onBadValue = BadValueRule::FailsField};
    const Case cases[] = {
        {"values across lines", inOrder, "\"x\",5\r\n\"y\"\r\n", {"x", "5", "y"}, {}, 3},
        {"short file keeps the rest", inOrder, "\"x\"\r\n", {"x", "2", "C"}, {}, 1},
        {"blank lines and LF only", inOrder, "\n\"x\"\n\n5\n\"y\"", {"x", "5", "y"}, {}, 3},
        {"a bad value stops the reading",
         inOrder,
         "\"x\"\r\n12\r\n\"y\"\r\n",
         {"x", "2", "C"},
         {{"b", 2}, {"c", 0}},
         1},
        {"a bad value fails only its field",
         failsField,
         "\"x\"\r\n12\r\n\"y\"\r\n",
         {"x", "2", "y"},
         {{"b", 2}},
         2},
        {"a damaged line stops even so",
         failsField,
         "\"x\"\r\n\"5\r\n\"y\"\r\n",
         {"x", "2", "C"},
         {{"b", 2}, {"c", 0}},
         1},
        {"one value a line", perLine, "\"x\"\r\n5\r\n\"y\"\r\n", {"x", "5", "y"}, {}, 3},
        {"two values on a line are a bad value",
         perLine,
         "\"x\",5\r\n\"y\"\r\n",
         {"A", "2", "C"},
         {{"a", 1}, {"b", 0}, {"c", 0}},
         0},
    };
    for (const Case& c : cases) {
        Three three;
        const SettingsReadReport report = threeFile(c.rules).read(c.bytes, three);
        EXPECT_EQ((QStringList{three.a, QString::number(three.b), three.c}), c.values) << c.name;
        EXPECT_EQ(report.faults, c.faults) << c.name;
        EXPECT_EQ(report.fieldsRead, c.read) << c.name;
    }
    EXPECT_EQ(threeFile(inOrder).write(Three{}), QByteArray("\"A\"\r\n2\r\n\"C\"\r\n"));
    EXPECT_EQ(threeFile({.lines = LineLayout::RecordPerLine}).write(Three{}),
              QByteArray("\"A\",2,\"C\"\r\n"));
}

TEST(SettingsFileCodec, LoadTellsMissingFromUnreadableAndKeepsOrReplacesByItsRule)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("three.txt"));
    Three kept;
    kept.c = QStringLiteral("mine");
    EXPECT_EQ(threeFile({}).load(path, kept).state, SettingsFileState::Missing);
    EXPECT_EQ(kept.c, QStringLiteral("mine"));
    EXPECT_EQ(threeFile({}).load(dir.path(), kept).state, SettingsFileState::Unreadable); // a folder

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\"x\"\r\n5\r\n");
    file.close();
    // A short file: onto the current values, or the whole file over the defaults.
    EXPECT_TRUE(threeFile({}).load(path, kept).clean());
    EXPECT_EQ(kept.c, QStringLiteral("mine"));
    Three whole = kept;
    EXPECT_TRUE(threeFile({.onLoad = LoadRule::WholeOrNothing}).load(path, whole).clean());
    EXPECT_EQ(whole.a, QStringLiteral("x"));
    EXPECT_EQ(whole.c, QStringLiteral("C"));

    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("\"y\"\r\n50\r\n");
    file.close();
    Three damaged = kept;
    const SettingsLoad load = threeFile({.onLoad = LoadRule::WholeOrNothing}).load(path, damaged);
    EXPECT_TRUE(load);
    EXPECT_FALSE(load.clean());
    EXPECT_EQ(damaged.a, QStringLiteral("x")) << "a damaged file changes nothing";
    EXPECT_EQ(settingsLoadMessage(QStringLiteral("three.txt"), load),
              QStringLiteral("three.txt: could not read b (line 2), c."));

    // A value the format cannot hold: dropped from the quotes, or refused by a file that says so.
    Three quoted;
    quoted.a = QStringLiteral("say \"hi\"");
    EXPECT_EQ(threeFile({}).write(quoted), QByteArray("\"say hi\"\r\n2\r\n\"C\"\r\n"));
    EXPECT_TRUE(threeFile({.refusesUnstorableText = true}).save(path, quoted).has_value());
    EXPECT_FALSE(threeFile({}).save(path, quoted).has_value());
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every settings file the station keeps: as written by the program (or shipped), read and
// written again to the same bytes.
TEST(SettingsFileCodec, EverySettingsFileReadsAndWritesBackByteForByte)
{
    struct Case
    {
        const char* file;
        QByteArray bytes;
        std::function<QByteArray(const QByteArray&)> again;
    };
    const Case cases[] = {
        {"VELKpref.txt",
         "\"N0CALL\"\r\n\"CT\"\r\n-5\r\n\"PH\"\r\n3600.5\r\n\"USA\"\r\n72.5\r\n41.25\r\n80\r\n192\r\n"
         "4294967295\r\n\"40\"\r\n\"NA\"\r\n\"LEE\"\r\n2\r\n\"Kenwood\"\r\n1\r\n0\r\n",
         [](const QByteArray& b) { return encodePreferences(parsePreferences(b)); }},
        {"cw.txt",
         "\"CQ $ TEST\"\r\n\"$ * LEE MA\"\r\n\"TU\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"VVV DE "
         "\"\r\n"
         "\"2\"\r\n\"28\"\r\n\"F10 !\"\r\n\"\"\r\n\"-3\"\r\n5\r\n\"&H278\"\r\n1\r\n\"2.5\"\r\n",
         [](const QByteArray& b) { return cwSettingsBytes(parseCwSettings(b)); }},
        {"WK.txt", "3\r\n\"25\"\r\n\"45\"\r\n\"2\"\r\n\"10\"\r\n\"55\"\r\n5\r\n32\r\n",
         [](const QByteArray& b) {
             WinKeySettings settings;
             parseWinKeySettings(b, settings);
             return encodeWinKeySettings(settings);
         }},
        {"RigCntrl.txt",
         "\"14400\"\r\n\"E\"\r\n\"7\"\r\n\"1\"\r\n\"FE FE 04 E0 04 FD\"\r\n\"FE FE 04 E0 03 FD\"\r\n"
         "\"14400,E,7,1\"\r\n10\r\n\"D\"\r\n\"R\"\r\n\"Other\"\r\n1\r\n0\r\n3\r\n",
         [](const QByteArray& b) {
             RigSettings settings;
             parseRigSettings(b, settings);
             return encodeRigSettings(settings);
         }},
        {"PackSpot.txt",
         "\"4800\"\r\n\"E\"\r\n\"7\"\r\n\"2\"\r\n3\r\n\"R\"\r\n\"AGW Packet Engine\"\r\n1\r\n2\r\n0\r\n"
         "#FALSE#\r\n\"1B\"\r\n\"7300\"\r\n\"dxc.example.org\"\r\n",
         [](const QByteArray& b) { return encodeSpotSettings(parseSpotSettings(b)); }},
        {"wave2.txt",
         "\"/home/op/cq.wav\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"/home/op/"
         "Gr\xfc\xdf"
         "e.wav\"\r\n\"2\"\r\n2\r\n\"3.5\"\r\n\"&H278\"\r\n",
         [](const QByteArray& b) { return encodeVoiceSettings(parseVoiceSettings(b)); }},
        {"BandPlan.txt", readFile(QStringLiteral(VELK_SOURCE_DIR "/data/BandPlan.txt")),
         [](const QByteArray& b) { return encodeBandPlan(parseBandPlan(b).value_or(BandPlan{})); }},
    };
    for (const Case& c : cases) {
        ASSERT_FALSE(c.bytes.isEmpty()) << c.file;
        EXPECT_EQ(c.again(c.bytes), c.bytes) << c.file;
    }
    EXPECT_EQ(parseBandPlan(cases[6].bytes)->rows.size(), 110);
}

} // namespace
} // namespace velk
