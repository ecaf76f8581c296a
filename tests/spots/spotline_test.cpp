#include "log/prefixtable.h"
#include "spots/spotline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace velk {
namespace {

struct NodeLine
{
    const char* node;
    const char* line;
    const char* call;
    const char* frequency;
    const char* comments;
    const char* time;
    const char* from;
};

// Spot lines as the node programs send them.
const NodeLine nodeLines[] = {
    {"DXSpider", "DX de W3LPL:     14025.0  JA1ABC       CQ CQ                          1830Z FM19", "JA1ABC",
     "14025.0", "de W3LPL:  CQ CQ", "1830", "FM1"},
    {"CC-Cluster", "DX de VE7CC-1:   14025.0  DL1ABC       CW 599                         1830Z", "DL1ABC",
     "14025.0", "de VE7CC-1:  CW 599", "1830", ""},
    {"AR-Cluster", "DX de K8SMC:      3505.0  N2MU         cw                             0018Z MI", "N2MU",
     "3505.0", "de K8SMC:  cw", "0018", "MI"},
    {"Skimmer", "DX de EA5WU-#:    7011.9  OH2BH        CW    18 dB  23 WPM  CQ        1834Z", "OH2BH",
     "7011.9", "de EA5WU-#:  CW    18 dB  23 WPM  CQ", "1834", ""},
    {"VHF", "DX de G4ABC:    144300.0  F6XYZ        JO01<ES>JN18                   1200Z", "F6XYZ",
     "144300.0", "de G4ABC:  JO01<ES>JN18", "1200", ""},
};

TEST(SpotLine, NodeProgramsLinesAreCutAtTheirColumns)
{
    for (const NodeLine& sample : nodeLines) {
        SCOPED_TRACE(sample.node);
        const QString line = QString::fromLatin1(sample.line);
        ASSERT_TRUE(isSpotLine(line));
        const SpotLine spot = parseSpotLine(alignSpotLine(line));
        EXPECT_EQ(spot.call, QLatin1String(sample.call));
        EXPECT_EQ(spot.frequencyText, QLatin1String(sample.frequency));
        EXPECT_EQ(spot.record, line.mid(3).trimmed());
        const SpotColumns columns = spotColumns(spot.record);
        EXPECT_EQ(columns.comments, QLatin1String(sample.comments));
        EXPECT_EQ(columns.time, QLatin1String(sample.time));
        EXPECT_EQ(columns.from, QLatin1String(sample.from));
    }
}

TEST(SpotLine, ALeadingCharacterOfThePacketEngineKeepsTheColumns)
{
    const QString line =
        QStringLiteral(" DX de W3LPL:     14025.0  JA1ABC       CQ CQ                          1830Z");
    ASSERT_TRUE(isSpotLine(line));
    const SpotLine spot = parseSpotLine(alignSpotLine(line));
    EXPECT_EQ(spot.frequencyText, QStringLiteral("14025.0"));
    EXPECT_EQ(spot.call, QStringLiteral("JA1ABC"));
    EXPECT_EQ(alignSpotLine(QStringLiteral("UDX de K1")), QStringLiteral("DX de K1"));
}

TEST(SpotLine, OnlyDxNearTheStartMakesASpot)
{
    EXPECT_TRUE(isSpotLine(QStringLiteral("dx de k1ttt")));
    EXPECT_TRUE(isSpotLine(QStringLiteral("DX")));
    EXPECT_FALSE(isSpotLine(QStringLiteral("WWV de W0MU <18>:   SFI=70")));
    EXPECT_FALSE(isSpotLine(QStringLiteral("   DX de")));
    EXPECT_FALSE(isSpotLine(QStringLiteral("D")));
    EXPECT_FALSE(isSpotLine(QString()));
}

TEST(SpotLine, ShortLinesGiveEmptyOrPartialFields)
{
    const SpotLine spot = parseSpotLine(QStringLiteral("DX de K1TTT:  140"));
    EXPECT_EQ(spot.frequencyText, QStringLiteral("40"));
    EXPECT_TRUE(spot.call.isEmpty());
    EXPECT_EQ(spot.record, QStringLiteral("de K1TTT:  140"));
    EXPECT_TRUE(parseSpotLine(QStringLiteral("DX")).record.isEmpty());
    const SpotColumns columns = spotColumns(QString());
    EXPECT_EQ(columns.comments, QStringLiteral("  "));
}

TEST(SpotLine, FrequencyIsAPlainDecimalAboveZero)
{
    EXPECT_DOUBLE_EQ(*parseFrequencyKhz(QStringLiteral("14025.0")), 14025.0);
    EXPECT_DOUBLE_EQ(*parseFrequencyKhz(QStringLiteral("7003")), 7003.0);
    EXPECT_DOUBLE_EQ(*parseFrequencyKhz(QStringLiteral(".5")), 0.5);
    for (const char* bad : {"", "0", "0.0", "-14025", "+14025", "1e4", "nan", "NaN", "inf", "Infinity",
                            "14,025", "14025.0.1", ".", "14025 0", "0x10", "1e400"}) {
        EXPECT_FALSE(parseFrequencyKhz(QString::fromLatin1(bad))) << bad;
    }
}

PrefixTable spotTable()
{
    return PrefixTable({
        {QStringLiteral("DL"), QStringLiteral("Germany"), QStringLiteral("EU"), 0, 0},
        {QStringLiteral("JA"), QStringLiteral("Japan"), QStringLiteral("AS"), 0, 0},
        {QStringLiteral("K"), QStringLiteral("USA"), QStringLiteral("NA"), 0, 0},
        {QStringLiteral("KG4"), QStringLiteral("Guantanamo Bay"), QStringLiteral("NA"), 0, 0},
        {QStringLiteral("KH6"), QStringLiteral("Hawaii"), QStringLiteral("OC"), 0, 0},
        {QStringLiteral("VE"), QStringLiteral("Canada"), QStringLiteral("NA"), 0, 0},
    });
}

TEST(SpotCountry, LongestPrefixWinsAndHomeCountriesCount)
{
    const PrefixTable table = spotTable();
    EXPECT_EQ(spotCountry(table, QStringLiteral("KH6XX")), QStringLiteral("Hawaii"));
    EXPECT_EQ(spotCountry(table, QStringLiteral("K1ABC")), QStringLiteral("USA"));
    EXPECT_EQ(spotCountry(table, QStringLiteral("VE3ABC")), QStringLiteral("Canada"));
    EXPECT_EQ(spotCountry(table, QStringLiteral("ZS6ABC")), QString());
    EXPECT_EQ(spotCountry(table, QString()), QString());
}

TEST(SpotCountry, KG4RuleAndSlashDesignators)
{
    const PrefixTable table = spotTable();
    EXPECT_EQ(spotCountry(table, QStringLiteral("KG4ABC")), QStringLiteral("USA"));
    EXPECT_EQ(spotCountry(table, QStringLiteral("KG4AB")), QStringLiteral("Guantanamo Bay"));
    EXPECT_EQ(spotCountry(table, QStringLiteral("K1ABCDE/KH6")), QStringLiteral("Hawaii"));
    // A single character after the slash does not decide.
    EXPECT_EQ(spotCountry(table, QStringLiteral("DL1ABC/P")), QStringLiteral("Germany"));
    // Compared by code: lower case matches nothing.
    EXPECT_EQ(spotCountry(table, QStringLiteral("dl1abc")), QString());
}

TEST(SpotCountry, EmptyTableGivesNoCountry)
{
    EXPECT_EQ(spotCountry(PrefixTable(), QStringLiteral("DL1ABC")), QString());
}

} // namespace
} // namespace velk
