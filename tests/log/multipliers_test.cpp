#include "log/logbuilder.h"
#include "log/multipliers.h"
#include "log/rates.h"

#include "common/qtprinters.h"

#include <gtest/gtest.h>

using namespace velk;
using velk::testing::logOf;

namespace {

ContactRecord contact(const QString& location, const QString& band,
                      const QString& continent = QStringLiteral("NA"),
                      const QString& date = QStringLiteral("2026/01/10"),
                      const QString& time = QStringLiteral("18:04:31"))
{
    return {QStringLiteral("W1AW"),
            QStringLiteral("PAT"),
            location,
            date,
            time,
            band,
            continent,
            QStringLiteral("LEE"),
            QString()};
}

} // namespace

TEST(Multipliers, AStateCountsOncePerBand)
{
    Multipliers m;
    const MultiplierChange first = m.add(contact(QStringLiteral("tx"), QStringLiteral("20")));
    EXPECT_EQ(first.locationIndex, 24);
    EXPECT_EQ(m.add(contact(QStringLiteral("TX"), QStringLiteral("20"))).locationIndex, 0);
    EXPECT_EQ(m.add(contact(QStringLiteral("TX"), QStringLiteral("40"))).locationIndex, 24);
    EXPECT_TRUE(m.isWorked(4, 24));
    EXPECT_TRUE(m.isWorked(3, 24));
    EXPECT_FALSE(m.isWorked(2, 24));
    EXPECT_EQ(m.stateMultTotal(), 2);
    EXPECT_EQ(m.total(), 2);
    EXPECT_EQ(m.bandTotal(4), 1);
}

TEST(Multipliers, NorthwestTerritoriesIsAProvinceNeverADxCountry)
{
    Multipliers m;
    EXPECT_EQ(m.add(contact(QStringLiteral("NWT"), QStringLiteral("80"))).locationIndex, 59);
    EXPECT_TRUE(m.dxList(2).isEmpty());
    EXPECT_EQ(m.stateMultTotal(), 1);
}

TEST(Multipliers, NorthAmericanDxCountriesCountOncePerBand)
{
    Multipliers m;
    EXPECT_TRUE(m.isNewDx(4, QStringLiteral("Mexico"), QStringLiteral("NA")));
    EXPECT_TRUE(m.add(contact(QStringLiteral("Mexico"), QStringLiteral("20"))).newDx);
    EXPECT_FALSE(m.isNewDx(4, QStringLiteral("MEXICO"), QStringLiteral("NA")));
    EXPECT_FALSE(m.add(contact(QStringLiteral("MEXICO"), QStringLiteral("20"))).newDx);
    EXPECT_TRUE(m.isNewDx(5, QStringLiteral("Mexico"), QStringLiteral("NA")));
    // Not North America, or a name that stands for the 63.
    EXPECT_FALSE(m.add(contact(QStringLiteral("Germany"), QStringLiteral("20"), QStringLiteral("EU"))).newDx);
    EXPECT_FALSE(m.add(contact(QStringLiteral("Canada"), QStringLiteral("20"))).newDx);
    EXPECT_FALSE(m.isNewDx(4, QStringLiteral("USA"), QStringLiteral("NA")));
    EXPECT_FALSE(m.isNewDx(4, QStringLiteral("Not Found"), QStringLiteral("NA")));
    EXPECT_EQ(m.dxList(4), QStringList{QStringLiteral("Mexico")});
    EXPECT_EQ(m.total(), 1);
}

TEST(Multipliers, RebuildReadsTheLogInFileOrderWithoutACapOnTheDxList)
{
    std::vector<ContactRecord> records{contact(QStringLiteral("CT"), QStringLiteral("20")),
                                       contact(QStringLiteral("ON"), QStringLiteral("6")),
                                       contact(QStringLiteral("Bahamas"), QStringLiteral("20")),
                                       contact(QStringLiteral("DC"), QStringLiteral("20")),
                                       contact(QStringLiteral("TX"), QStringLiteral("17"))};
    for (int i = 0; i < 1200; ++i) {
        records.push_back(contact(QStringLiteral("Island %1").arg(i), QStringLiteral("40")));
    }
    Multipliers m;
    m.add(contact(QStringLiteral("MA"), QStringLiteral("20"))); // forgotten by the rebuild
    m.rebuild(logOf(records));
    EXPECT_TRUE(m.isWorked(4, 1));
    EXPECT_FALSE(m.isWorked(4, 2));
    EXPECT_TRUE(m.isWorked(7, 54));
    EXPECT_EQ(m.dxList(4), QStringList{QStringLiteral("Bahamas")});
    EXPECT_EQ(m.dxCount(3), 1200);
    EXPECT_EQ(m.stateMultTotal(), 2);
    EXPECT_EQ(m.total(), 1203);
    EXPECT_EQ(m.bandTotal(7), 1);
}

TEST(Score, ContactsTimesMultipliersAndTheDxHeading)
{
    EXPECT_EQ(score(10, 7), 70);
    EXPECT_EQ(score(12000, 500), 6000000);
    EXPECT_EQ(dxHeading(QStringLiteral("20"), 3), QStringLiteral("NA DX 20 - 3"));
}

TEST(Rates, CountsTheLastTwentyAndSixtyMinutes)
{
    const QDateTime now(QDate(2026, 1, 10), QTime(18, 30, 0), Qt::UTC);
    const auto ago = [&](int minutes) {
        const QDateTime at = now.addSecs(-60 * minutes);
        return contact(QStringLiteral("CT"), QStringLiteral("20"), QStringLiteral("NA"),
                       at.toString(QStringLiteral("yyyy/MM/dd")), at.toString(QStringLiteral("HH:mm:ss")));
    };
    const ContactLog log = logOf({ago(70), ago(25), ago(15), ago(5)});
    const auto tally = rateTally(log, now);
    ASSERT_TRUE(tally);
    EXPECT_EQ(tally->perHour60(), 3);
    EXPECT_EQ(tally->perHour20(), 6);
    EXPECT_EQ(rateTally(ContactLog(), now)->perHour60(), 0);
}

TEST(Rates, ContactsAheadOfTheStationClockCountAsRecent)
{
    // A station clock set behind the logged times: every contact is younger than an hour, the
    // whole log is walked, and each counts in both rates.
    const QDateTime now(QDate(2026, 1, 9), QTime(23, 0, 0), Qt::UTC);
    std::vector<ContactRecord> records;
    for (int i = 0; i < 500; ++i) {
        records.push_back(contact(QStringLiteral("CT"), QStringLiteral("20"), QStringLiteral("NA"),
                                  QStringLiteral("2026/01/10"),
                                  QTime(0, 0).addSecs(60 * i).toString(QStringLiteral("HH:mm:ss"))));
    }
    const auto tally = rateTally(logOf(records), now);
    ASSERT_TRUE(tally);
    EXPECT_EQ(tally->last60, 500);
    EXPECT_EQ(tally->last20, 500);
}

TEST(Rates, AnUnreadableTimeGivesNoResultUnlessItIsOverAnHourBack)
{
    const QDateTime now(QDate(2026, 1, 10), QTime(18, 30, 0), Qt::UTC);
    const ContactRecord recent = contact(QStringLiteral("CT"), QStringLiteral("20"), QStringLiteral("NA"),
                                         QStringLiteral("2026/01/10"), QStringLiteral("18:25"));
    const ContactRecord broken = contact(QStringLiteral("CT"), QStringLiteral("20"), QStringLiteral("NA"),
                                         QStringLiteral("2026/13/10"), QStringLiteral("18:25:00"));
    const ContactRecord old = contact(QStringLiteral("CT"), QStringLiteral("20"), QStringLiteral("NA"),
                                      QStringLiteral("2026/01/10"), QStringLiteral("12:00:00"));
    EXPECT_FALSE(rateTally(logOf({old, broken, recent}), now));
    const auto tally = rateTally(logOf({broken, old, recent}), now);
    ASSERT_TRUE(tally);
    EXPECT_EQ(tally->last20, 1);
    EXPECT_EQ(tally->last60, 1);
}
