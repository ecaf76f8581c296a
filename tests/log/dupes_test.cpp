#include "log/dupes.h"
#include "log/logbuilder.h"

#include "common/qtprinters.h"

#include <gtest/gtest.h>

using namespace velk;
using velk::testing::logOf;

namespace {

ContactRecord contact(const QString& call, const QString& band, const QString& name = QStringLiteral("PAT"),
                      const QString& location = QStringLiteral("CT"))
{
    return {call,
            name,
            location,
            QStringLiteral("2026/01/10"),
            QStringLiteral("18:04:31"),
            band,
            QStringLiteral("NA"),
            QStringLiteral("LEE"),
            QString()};
}

} // namespace

TEST(DupeScan, SameCallOnTheSameBandIsADupeWhateverTheLetterCase)
{
    const ContactLog log = logOf({contact(QStringLiteral("W1AW"), QStringLiteral("20"))});
    EXPECT_EQ(scanForDupe(log, u"w1aw", u"20").dupeRecord, 1);
    EXPECT_EQ(scanForDupe(log, u"W1AW", u"40").dupeRecord, 0);
    EXPECT_EQ(scanForDupe(log, u"W1AWX", u"20").dupeRecord, 0);
}

TEST(DupeScan, ReportsTheOlderOfTwoContactsOnTheBand)
{
    const ContactLog log = logOf({contact(QStringLiteral("K5ZZ"), QStringLiteral("40")),
                                  contact(QStringLiteral("N0CALL"), QStringLiteral("20")),
                                  contact(QStringLiteral("N0CALL"), QStringLiteral("20"))});
    const DupeScan scan = scanForDupe(log, u"N0CALL", u"20");
    EXPECT_EQ(scan.dupeRecord, 2);
    EXPECT_EQ(scan.previous, std::vector<int>{2}); // the scan stops at the dupe
    EXPECT_EQ(dupeReport(log.record(2), 12),
              QStringLiteral("Duplicate N0CALL 2026/01/10 18:04:31  Rec#  12"));
}

TEST(PartialDupeList, ListsCallsOnTheBandThatBeginWithTheTypedText)
{
    const ContactLog log = logOf({contact(QStringLiteral("K1AB"), QStringLiteral("20")),
                                  contact(QStringLiteral("K1ABC"), QStringLiteral("20")),
                                  contact(QStringLiteral("K1ABD"), QStringLiteral("40")),
                                  contact(QStringLiteral("W1AB"), QStringLiteral("20")),
                                  contact(QStringLiteral("k1abe"), QStringLiteral("20"))});
    EXPECT_EQ(partialDupeList(log, u"K1A", u"20"), QStringLiteral(" K1AB K1ABC k1abe"));
    // An earlier call shorter than the typed text never matches.
    EXPECT_EQ(partialDupeList(log, u"K1ABC", u"20"), QStringLiteral(" K1ABC"));
    EXPECT_EQ(partialDupeList(log, u"K1ABCD", u"20"), QString());
    EXPECT_EQ(partialDupeList(log, u"K1A", u"6"), QString());
}

TEST(PartialDupeList, StopsOnceTheListPassesTheCut)
{
    QByteArray bytes;
    for (int i = 0; i < 100; ++i) {
        bytes += ContactLog::encodeLine(
            contact(QStringLiteral("K1A%1").arg(i, 3, 10, QLatin1Char('0')), QStringLiteral("20")));
    }
    ContactLog log;
    ASSERT_TRUE(log.loadBytes(bytes).ok);
    const QString list = partialDupeList(log, u"K1", u"20");
    // Seven characters per call: the 15th pushes the list past 100 and ends the scan.
    EXPECT_EQ(list.size(), 105);
    EXPECT_TRUE(list.endsWith(QStringLiteral(" K1A014")));
}
