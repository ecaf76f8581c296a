#include "log/prefixtable.h"

#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>

namespace velk {
namespace {

PrefixEntry entry(const char* prefix, const char* country, const char* continent = "NA",
                  float longitude = 0.0f, float latitude = 0.0f)
{
    return PrefixEntry{QString::fromLatin1(prefix), QString::fromLatin1(country),
                       QString::fromLatin1(continent), longitude, latitude};
}

// A few prefixes in file order (ascending), enough to exercise every rule of the lookup.
PrefixTable smallTable()
{
    return PrefixTable({
        entry("4X", "Israel", "AS", -35.0f, 31.0f),
        entry("A", "USA", "NA", 91.0f, 38.0f),
        entry("DL", "Germany", "EU", -10.0f, 51.0f),
        entry("K", "USA", "NA", 91.0f, 38.0f),
        entry("KG4", "Guantanamo Bay", "NA", 75.0f, 20.0f),
        entry("KH6", "Hawaii", "OC", 157.0f, 21.0f),
        entry("KL", "Alaska", "NA", 150.0f, 61.0f),
        entry("V", "Vanuatu", "OC", -168.0f, -17.0f),
        entry("VE", "Canada", "NA", 80.0f, 45.0f),
        entry("VE8", "Canada", "NA", 114.0f, 62.0f),
        entry("VK", "Australia", "OC", -135.0f, -25.0f),
        entry("VK9N", "Norfolk Island", "OC", -168.0f, -29.0f),
        entry("W", "USA", "NA", 91.0f, 38.0f),
        entry("XE", "Mexico", "NA", 99.0f, 19.0f),
    });
}

QString countryOf(const PrefixTable& table, const char* call, Qt::CaseSensitivity cs = Qt::CaseInsensitive)
{
    const int found = table.longestMatch(QString::fromLatin1(call), cs);
    return found < 0 ? QStringLiteral("-") : table.at(found).country;
}

TEST(PrefixTableFile, DamagedLinesAreSkippedAndTheRestLoads)
{
    const PrefixTable table = PrefixTable::parse("\"DL\",\"Germany\",\"EU\",-10,51,14,28,-1\r\n"
                                                 "\"F\",\"France\r\n" // unclosed quote
                                                 "\"G\",\"England\",\"EU\",west,52,14,27,0\r\n" // longitude
                                                 "\"GM\",\"Scotland\",\"EU\"\r\n"        // too few values
                                                 "\"\",\"Nowhere\",\"EU\",1,2,3,4,5\r\n" // no prefix
                                                 "\r\n"
                                                 "\"XE\",\"Mexico\",\"NA\",99.5,19.25\r\n");
    ASSERT_EQ(table.size(), 2);
    EXPECT_EQ(table.at(0).prefix, QStringLiteral("DL"));
    EXPECT_EQ(table.at(0).continent, QStringLiteral("EU"));
    EXPECT_FLOAT_EQ(table.at(0).longitude, -10.0f);
    EXPECT_EQ(table.at(1).country, QStringLiteral("Mexico"));
    EXPECT_FLOAT_EQ(table.at(1).longitude, 99.5f);
    EXPECT_FLOAT_EQ(table.at(1).latitude, 19.25f);
}

TEST(PrefixTableFile, HoldsMoreThanTenThousandEntries)
{
    QByteArray bytes;
    for (int i = 0; i < 12000; ++i) {
        bytes += "\"P" + QByteArray::number(i) + "\",\"Somewhere\",\"EU\",1,2,3,4,5\r\n";
    }
    EXPECT_EQ(PrefixTable::parse(bytes).size(), 12000);
}

TEST(PrefixTableFile, UnreadableFileLeavesTheTableAsItWas)
{
    PrefixTable table = smallTable();
    EXPECT_FALSE(table.load(QStringLiteral("/nonexistent/arrlpre2.txt")));
    EXPECT_EQ(table.size(), smallTable().size());
}

TEST(PrefixSearch, LongestPrefixWins)
{
    const PrefixTable table = smallTable();
    EXPECT_EQ(countryOf(table, "KG4AB"), QStringLiteral("Guantanamo Bay")); // K and KG4 match
    EXPECT_EQ(countryOf(table, "K1ABC"), QStringLiteral("USA"));
    EXPECT_EQ(countryOf(table, "VK9NA"), QStringLiteral("Norfolk Island")); // V, VK, VK9N
    EXPECT_EQ(countryOf(table, "VK2ABC"), QStringLiteral("Australia"));
    EXPECT_EQ(countryOf(table, "VE8AB"), QStringLiteral("Canada"));
    EXPECT_EQ(table.at(table.longestMatch(QStringLiteral("VE8AB"), Qt::CaseInsensitive)).prefix,
              QStringLiteral("VE8"));
    EXPECT_EQ(countryOf(table, "4X1AB"), QStringLiteral("Israel")); // digits sort first
    EXPECT_EQ(countryOf(table, "XE1ABC"), QStringLiteral("Mexico"));
    EXPECT_EQ(countryOf(table, "QQ1ABC"), QStringLiteral("-"));
    EXPECT_EQ(countryOf(table, "ZZ9"), QStringLiteral("-"));
    EXPECT_EQ(countryOf(table, ""), QStringLiteral("-"));
}

TEST(PrefixSearch, CaseFollowsTheChosenComparison)
{
    const PrefixTable table = smallTable();
    EXPECT_EQ(countryOf(table, "dl1abc"), QStringLiteral("Germany"));
    EXPECT_EQ(countryOf(table, "xe1abc"), QStringLiteral("Mexico"));
    EXPECT_EQ(countryOf(table, "dl1abc", Qt::CaseSensitive), QStringLiteral("-"));
    EXPECT_EQ(countryOf(table, "DL1ABC", Qt::CaseSensitive), QStringLiteral("Germany"));
}

// Of two equally long prefixes the one the scan meets first wins: scanning up from a block
// start that lies below, the earlier; scanning down from a block that lies above, the later.
TEST(PrefixSearch, EquallyLongPrefixesResolveInScanDirection)
{
    const PrefixTable upward({entry("DL", "First"), entry("DL", "Second")});
    EXPECT_EQ(countryOf(upward, "DL1ABC"), QStringLiteral("First"));

    std::vector<PrefixEntry> entries{entry("DL", "First"), entry("DL", "Second")};
    for (char letter = 'F'; entries.size() < 26; ++letter) {
        entries.push_back(entry(QByteArray(1, letter).constData(), "Other"));
    }
    const PrefixTable downward(std::move(entries)); // "D" starts at the 4th entry, "G"
    EXPECT_EQ(countryOf(downward, "DL1ABC"), QStringLiteral("Second"));
}

TEST(PrefixSearch, AnyTableEndsTheSearch)
{
    EXPECT_EQ(countryOf(PrefixTable(), "DL1ABC"), QStringLiteral("-"));
    // One letter throughout: the back-off runs down to the first entry.
    std::vector<PrefixEntry> same;
    for (int i = 0; i < 40; ++i) {
        same.push_back(entry(i == 3 ? "DL" : "D", i == 3 ? "Germany" : "Elsewhere"));
    }
    EXPECT_EQ(countryOf(PrefixTable(same), "DL1ABC"), QStringLiteral("Germany"));
    // Unsorted, odd characters, empty prefix: an answer or none, never a hang or a crash.
    const PrefixTable unsorted({entry("XE", "Mexico"), entry("", "Empty"), entry("A", "USA"),
                                entry("\xe9", "Accent"), entry("DL", "Germany")});
    for (const char* call : {"DL1ABC", "A1A", "~~~", "\xe9", "0", "/"}) {
        const int found = unsorted.longestMatch(QString::fromLatin1(call), Qt::CaseInsensitive);
        EXPECT_GE(found, -1);
        EXPECT_LT(found, unsorted.size());
    }
}

TEST(PrefixSearch, CountryCompletionSearchesFromTheLastEntry)
{
    const PrefixTable table({entry("A", "Canary Islands"), entry("B", "Canada"), entry("C", "Cuba")});
    EXPECT_EQ(table.completeCountry(QStringLiteral("Can"), Qt::CaseSensitive), 1);
    EXPECT_EQ(table.completeCountry(QStringLiteral("Cana"), Qt::CaseSensitive), 1);
    EXPECT_EQ(table.completeCountry(QStringLiteral("Canar"), Qt::CaseSensitive), 0);
    EXPECT_EQ(table.completeCountry(QStringLiteral("CAN"), Qt::CaseSensitive), -1);
    EXPECT_EQ(table.completeCountry(QStringLiteral("CAN"), Qt::CaseInsensitive), 1);
    EXPECT_EQ(table.completeCountry(QStringLiteral("Canada!"), Qt::CaseInsensitive), -1);
}

TEST(CallLookup, DesignatorAfterTheSlashDecidesWhenShort)
{
    EXPECT_EQ(callForLookup(QStringLiteral("W1AW/KH6")), QStringLiteral("KH6"));
    EXPECT_EQ(callForLookup(QStringLiteral("K1XYZ/4")), QStringLiteral("K1XYZ/4"));   // one character
    EXPECT_EQ(callForLookup(QStringLiteral("XE/K1XYZ")), QStringLiteral("XE/K1XYZ")); // not shorter than half
    EXPECT_EQ(callForLookup(QStringLiteral("KA/VE3")), QStringLiteral("KA/VE3"));     // exactly half
    EXPECT_EQ(callForLookup(QStringLiteral("K1ABC/VE3")), QStringLiteral("VE3"));

    const PrefixTable table = smallTable();
    EXPECT_EQ(locateCall(table, QStringLiteral("W1AW/KH6")).location, QStringLiteral("HI"));
    EXPECT_EQ(locateCall(table, QStringLiteral("XE/K1XYZ")).location, QStringLiteral("Mexico"));
    EXPECT_EQ(locateCall(table, QStringLiteral("DL1ABC/K1")).outcome, CallLocation::Outcome::HomeCountry);
    EXPECT_EQ(locateCall(table, QStringLiteral("DL1ABC/P")).location, QStringLiteral("Germany"));
}

TEST(CallLookup, HomeCountriesAndNamedStatesAndNothingFound)
{
    const PrefixTable table = smallTable();
    using Outcome = CallLocation::Outcome;
    EXPECT_EQ(locateCall(table, QString()).outcome, Outcome::Nothing);
    EXPECT_EQ(locateCall(table, QStringLiteral("K1ABC")).outcome, Outcome::HomeCountry);
    EXPECT_EQ(locateCall(table, QStringLiteral("VE8AB")).outcome, Outcome::HomeCountry);
    EXPECT_EQ(locateCall(table, QStringLiteral("QQ1ABC")).outcome, Outcome::NotFound);
    EXPECT_EQ(locateCall(PrefixTable(), QStringLiteral("DL1ABC")).outcome, Outcome::NotFound);

    const CallLocation alaska = locateCall(table, QStringLiteral("KL7ABC"));
    EXPECT_EQ(alaska.outcome, Outcome::Found);
    EXPECT_EQ(alaska.location, QStringLiteral("AK"));
    EXPECT_EQ(table.at(alaska.entry).country, QStringLiteral("Alaska"));
    EXPECT_EQ(locateCall(table, QStringLiteral("KH6XX")).location, QStringLiteral("HI"));
    const CallLocation germany = locateCall(table, QStringLiteral("DL1ABC"));
    EXPECT_EQ(germany.location, QStringLiteral("Germany"));
    EXPECT_EQ(table.at(germany.entry).continent, QStringLiteral("EU"));
}

TEST(CallLookup, OnlyFiveCharacterKg4CallsAreGuantanamoBay)
{
    const PrefixTable table = smallTable();
    EXPECT_EQ(locateCall(table, QStringLiteral("KG4")).location, QStringLiteral("Guantanamo Bay"));
    EXPECT_EQ(locateCall(table, QStringLiteral("KG4AB")).location, QStringLiteral("Guantanamo Bay"));
    for (const char* stateside : {"KG4A", "KG4ABC", "KG4ABCD"}) {
        const CallLocation usa = locateCall(table, QString::fromLatin1(stateside));
        EXPECT_EQ(usa.outcome, CallLocation::Outcome::Found) << stateside;
        EXPECT_TRUE(usa.location.isEmpty()) << stateside;
        EXPECT_EQ(usa.entry, 1) << stateside; // the first USA entry gives continent and position
    }
    // A table without a USA entry: no position, but still no crash.
    const PrefixTable guantanamoOnly({entry("KG4", "Guantanamo Bay")});
    EXPECT_EQ(locateCall(guantanamoOnly, QStringLiteral("KG4ABC")).entry, -1);
}

// ---------------------------------------------------------------------------------------------
// The table the program ships

class ShippedPrefixTable : public ::testing::Test
{
protected:
    static QString path() { return QStringLiteral(VELK_SOURCE_DIR "/data/arrlpre2.txt"); }
    static const PrefixTable& table()
    {
        static const PrefixTable loaded = [] {
            PrefixTable t;
            t.load(path());
            return t;
        }();
        return loaded;
    }
    static CallLocation locate(const char* call) { return locateCall(table(), QString::fromLatin1(call)); }
    static QString locationOf(const char* call) { return locate(call).location; }
    static QString continentOf(const char* call)
    {
        const CallLocation found = locate(call);
        return found.entry < 0 ? QString() : table().at(found.entry).continent;
    }
};

TEST_F(ShippedPrefixTable, EveryLineIsWellFormedAndSortedByPrefix)
{
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), bytes.count('\n'));
    const int lines = static_cast<int>(bytes.count("\r\n"));
    ASSERT_GT(lines, 5000);
    EXPECT_EQ(table().size(), lines);
    for (int i = 1; i < table().size(); ++i) {
        ASSERT_LE(table().at(i - 1).prefix.toLatin1(), table().at(i).prefix.toLatin1()) << i;
    }
}

TEST_F(ShippedPrefixTable, RealCallsFromEveryContinent)
{
    EXPECT_EQ(locationOf("DL1ABC"), QStringLiteral("Fed. Rep. of Germany"));
    EXPECT_EQ(continentOf("DL1ABC"), QStringLiteral("EU"));
    EXPECT_EQ(locationOf("G3ABC"), QStringLiteral("England"));
    EXPECT_EQ(locationOf("JA1XYZ"), QStringLiteral("Japan"));
    EXPECT_EQ(continentOf("JA1XYZ"), QStringLiteral("AS"));
    EXPECT_EQ(locationOf("UA9AA"), QStringLiteral("Asiatic Russia"));
    EXPECT_EQ(locationOf("VK2ABC"), QStringLiteral("Australia"));
    EXPECT_EQ(continentOf("VK2ABC"), QStringLiteral("OC"));
    EXPECT_EQ(locationOf("ZS6ABC"), QStringLiteral("South Africa"));
    EXPECT_EQ(continentOf("ZS6ABC"), QStringLiteral("AF"));
    EXPECT_EQ(locationOf("PY2ABC"), QStringLiteral("Brazil"));
    EXPECT_EQ(continentOf("PY2ABC"), QStringLiteral("SA"));
    EXPECT_EQ(locationOf("XE1ABC"), QStringLiteral("Mexico"));
    EXPECT_EQ(locationOf("4X1AB"), QStringLiteral("Israel"));
    EXPECT_EQ(locationOf("KP4ABC"), QStringLiteral("Puerto Rico"));
    EXPECT_EQ(locationOf("KL7ABC"), QStringLiteral("AK"));
    EXPECT_EQ(locationOf("KH6ABC"), QStringLiteral("HI"));
    EXPECT_EQ(locationOf("KG4AB"), QStringLiteral("Guantanamo Bay"));
    EXPECT_EQ(continentOf("KG4ABC"), QStringLiteral("NA"));
    EXPECT_TRUE(locationOf("KG4ABC").isEmpty());
    for (const char* home : {"K1ABC", "W9XYZ", "N2AA", "AA1A", "VE3ABC", "VA7XX", "VO1AB", "VY1AB"}) {
        EXPECT_EQ(locate(home).outcome, CallLocation::Outcome::HomeCountry) << home;
    }
}

// The table's own search (start estimate, back-off, scan) finds what a plain scan of every
// entry finds, across the whole real table.
TEST_F(ShippedPrefixTable, SearchAgreesWithAFullScan)
{
    const PrefixTable& t = table();
    const auto fullScan = [&](const QString& call) {
        int best = -1;
        for (int i = 0; i < t.size(); ++i) {
            if (call.startsWith(t.at(i).prefix) &&
                (best < 0 || t.at(i).prefix.size() > t.at(best).prefix.size())) {
                best = i;
            }
        }
        return best;
    };
    for (int i = 0; i < t.size(); i += 7) {
        const QString call = t.at(i).prefix + QStringLiteral("Z");
        ASSERT_EQ(t.longestMatch(call, Qt::CaseSensitive), fullScan(call)) << call.toStdString();
    }
}

} // namespace
} // namespace velk
