#include "log/locations.h"

#include "common/qtprinters.h"

#include <gtest/gtest.h>

#include <QSet>
#include <cstring>

using namespace velk;

TEST(Locations, TableHasSixtyThreeEntriesInGridOrder)
{
    const auto& table = locationTable();
    ASSERT_EQ(table.size(), 63u);
    EXPECT_STREQ(table[0].abbreviation, "CT");
    EXPECT_STREQ(table[0].name, "Connecticut");
    EXPECT_STREQ(table[6].abbreviation, "NY");
    EXPECT_STREQ(table[49].abbreviation, "SD");
    EXPECT_STREQ(table[49].name, "South Dakota");
    EXPECT_STREQ(table[50].abbreviation, "NB");
    EXPECT_STREQ(table[58].abbreviation, "NWT");
    EXPECT_STREQ(table[58].name, "Northwest Territories");
    EXPECT_STREQ(table[60].name, "Newfoundland / Labrador");
    EXPECT_STREQ(table[62].abbreviation, "NU");
    EXPECT_STREQ(table[62].name, "Nunavut");
}

TEST(Locations, AbbreviationsAreUnique)
{
    QSet<QString> seen;
    for (const Location& l : locationTable()) {
        EXPECT_FALSE(seen.contains(QString::fromLatin1(l.abbreviation))) << l.abbreviation;
        seen.insert(QString::fromLatin1(l.abbreviation));
        EXPECT_GT(std::strlen(l.name), 0u);
    }
}

TEST(Locations, IndexIsOneBasedAndCaseInsensitive)
{
    EXPECT_EQ(locationIndex("CT"), 1);
    EXPECT_EQ(locationIndex("ma"), 2);
    EXPECT_EQ(locationIndex("SD"), 50);
    EXPECT_EQ(locationIndex("NB"), 51);
    EXPECT_EQ(locationIndex("ON"), 54);
    EXPECT_EQ(locationIndex("nwt"), 59);
    EXPECT_EQ(locationIndex("NU"), 63);
    EXPECT_EQ(locationIndex("DX"), 0);
    EXPECT_EQ(locationIndex(""), 0);
    EXPECT_EQ(locationIndex("NW"), 0);
    for (int i = 1; i <= locationCount; ++i)
        EXPECT_EQ(locationIndex(QString::fromLatin1(locationTable()[i - 1].abbreviation)), i);
}

TEST(Locations, ProvinceForCanadianCalls)
{
    EXPECT_EQ(provinceForCall("VE1ABC"), "NS");
    EXPECT_EQ(provinceForCall("VE2XYZ"), "QC");
    EXPECT_EQ(provinceForCall("ve3abc"), "ON");
    EXPECT_EQ(provinceForCall("VE4AA"), "MB");
    EXPECT_EQ(provinceForCall("VE5AA"), "SK");
    EXPECT_EQ(provinceForCall("VE6AA"), "AB");
    EXPECT_EQ(provinceForCall("VE7AA"), "BC");
    EXPECT_EQ(provinceForCall("VE8AA"), "NWT");
    EXPECT_EQ(provinceForCall("VE9AA"), "NB");
    EXPECT_EQ(provinceForCall("VO1AA"), "NL");
    EXPECT_EQ(provinceForCall("VO2AA"), "NL");
    EXPECT_EQ(provinceForCall("VY1AA"), "YT");
    EXPECT_EQ(provinceForCall("Vy2aa"), "PE");
    EXPECT_EQ(provinceForCall("VE3"), "ON");
}

TEST(Locations, NoProvinceForOtherCalls)
{
    EXPECT_EQ(provinceForCall("K1ABC"), "");
    EXPECT_EQ(provinceForCall("VA3ABC"), "");
    EXPECT_EQ(provinceForCall("VE0ABC"), "");
    EXPECT_EQ(provinceForCall("VY0AA"), "");
    EXPECT_EQ(provinceForCall("VE"), "");
    EXPECT_EQ(provinceForCall("V"), "");
    EXPECT_EQ(provinceForCall(""), "");
}

TEST(Locations, EveryProvinceFromACallIsInTheTable)
{
    for (const char* call : {"VE1A", "VE2A", "VE3A", "VE4A", "VE5A", "VE6A", "VE7A", "VE8A", "VE9A", "VO1A",
                             "VO2A", "VY1A", "VY2A"})
        EXPECT_GT(locationIndex(provinceForCall(call)), 50) << call;
}
