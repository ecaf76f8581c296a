// The activity graph's series: ten-minute counts, columns, gap bridging, smoothing, the band bar
// and the axis labels, computed without a window.
#include "common/colours.h"
#include "common/qtprinters.h"
#include "log/rategraph.h"

#include <QDateTime>
#include <gtest/gtest.h>

using namespace velk;

namespace {

const QDateTime contestStart(QDate(2026, 1, 10), QTime(0, 0), Qt::UTC);
const std::uint32_t white = fromRgb(255, 255, 255);
const std::uint32_t black = fromRgb(0, 0, 0);
const std::uint32_t green = fromRgb(0, 255, 0);
const std::uint32_t red = fromRgb(255, 0, 0);

ContactRecord at(qint64 secondsAfterStart, const QString& band = QStringLiteral("20"))
{
    const QDateTime moment = contestStart.addSecs(secondsAfterStart);
    ContactRecord record;
    record.call = QStringLiteral("W1AW");
    record.date = moment.toString(QStringLiteral("yyyy/MM/dd"));
    record.time = moment.toString(QStringLiteral("HH:mm:ss"));
    record.band = band;
    return record;
}

std::vector<ContactRecord> minutesApart(int count)
{
    std::vector<ContactRecord> records;
    for (int i = 0; i < count; ++i) {
        records.push_back(at(60 * i));
    }
    return records;
}

} // namespace

TEST(RateGraphCountTest, SevenContactsAMinuteApartEndAtFortyTwo)
{
    const RateGraph graph = computeRateGraph(minutesApart(7), white);
    ASSERT_TRUE(graph.drawable);
    EXPECT_EQ(graph.counts, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(graph.columns.front(), 1);
    EXPECT_EQ(graph.columns.back(), rateGraphColumns);
    EXPECT_DOUBLE_EQ(graph.rawRate[rateGraphColumns], 42.0);
}

TEST(RateGraphCountTest, ContactsSixHundredSecondsApartDoNotCountForEachOther)
{
    const std::vector<ContactRecord> records{at(0),    at(600),  at(1199), at(1799),
                                             at(1800), at(2400), at(2400)};
    const RateGraph graph = computeRateGraph(records, white);
    EXPECT_EQ(graph.counts, (std::vector<int>{1, 1, 2, 1, 2, 1, 2}));
}

TEST(RateGraphCountTest, TheBackwardWalkStopsAtTheFirstOldContactEvenOutOfOrder)
{
    // A post-contest entry timed an hour early sits between on-time contacts: the later-timed
    // contacts before it count for it, and the walk back from the ones after it stops there.
    const std::vector<ContactRecord> records{at(3600), at(3660), at(3720), at(0),
                                             at(3780), at(3840), at(3900)};
    const RateGraph graph = computeRateGraph(records, white);
    EXPECT_EQ(graph.counts, (std::vector<int>{1, 2, 3, 4, 1, 2, 3}));
    for (const int column : graph.columns) {
        EXPECT_GE(column, 0);
        EXPECT_LE(column, rateGraphColumns);
    }
}

TEST(RateGraphSeriesTest, GapsAreBridgedAndSmoothed)
{
    // 90,000 seconds: one column per minute, column = minutes after the start.
    const std::vector<ContactRecord> records{at(0),         at(100 * 60),  at(105 * 60), at(1497 * 60),
                                             at(1498 * 60), at(1499 * 60), at(1500 * 60)};
    const RateGraph graph = computeRateGraph(records, white);
    EXPECT_EQ(graph.columns, (std::vector<int>{1, 100, 105, 1497, 1498, 1499, 1500}));
    const auto& raw = graph.rawRate;
    // A short gap ramps from the column before it toward the next contact.
    EXPECT_DOUBLE_EQ(raw[101], 6.0);
    EXPECT_DOUBLE_EQ(raw[102], 7.5);
    EXPECT_DOUBLE_EQ(raw[104], 10.5);
    EXPECT_DOUBLE_EQ(raw[105], 12.0);
    // A long gap stays at zero until its last fifteen columns, which ramp up from zero.
    EXPECT_DOUBLE_EQ(raw[84], 0.0);
    EXPECT_DOUBLE_EQ(raw[85], 0.0);
    EXPECT_NEAR(raw[86], 0.4, 1e-9);
    EXPECT_NEAR(raw[99], 5.6, 1e-9);
    // The plotted value is the mean of the positive values of the last seven columns.
    EXPECT_NEAR(graph.rate[105], (5.6 + 6 + 6 + 7.5 + 9 + 10.5 + 12) / 7, 1e-9);
    EXPECT_DOUBLE_EQ(graph.rate[50], 0.0);
    EXPECT_NEAR(graph.rate[1500], (4.8 + 5.2 + 5.6 + 6 + 12 + 18 + 24) / 7, 1e-9);
    EXPECT_DOUBLE_EQ(graph.maxRate, 12.0);
    EXPECT_DOUBLE_EQ(graph.minRate, 0.0);
    EXPECT_FALSE(graph.flat);
}

TEST(RateGraphSeriesTest, AxisLabelsSpanTheLog)
{
    const std::vector<ContactRecord> records{at(0),         at(100 * 60),  at(105 * 60), at(1497 * 60),
                                             at(1498 * 60), at(1499 * 60), at(1500 * 60)};
    const RateGraph graph = computeRateGraph(records, white);
    EXPECT_EQ(graph.timeLabels[0], QStringLiteral("00:00"));
    EXPECT_EQ(graph.dateLabels[0], QStringLiteral("01/10"));
    EXPECT_EQ(graph.timeLabels[7], QStringLiteral("12:30"));
    EXPECT_EQ(graph.timeLabels[14], QStringLiteral("01:00"));
    EXPECT_EQ(graph.dateLabels[14], QStringLiteral("01/11"));
    EXPECT_EQ(graph.rateLabels[0], QStringLiteral("0.0"));
    EXPECT_EQ(graph.rateLabels[16], QString::number(graph.maxRate, 'f', 1));
    EXPECT_EQ(graph.rateLabels[8], QString::number(graph.maxRate / 2, 'f', 1));
}

TEST(RateGraphBarTest, TheBarShowsTheLatestKnownBandWhileTheRateLasts)
{
    const std::vector<ContactRecord> records{at(0),
                                             at(100 * 60, QStringLiteral("40")),
                                             at(100 * 60 + 10, QStringLiteral("30")),
                                             at(1497 * 60),
                                             at(1498 * 60),
                                             at(1499 * 60, QStringLiteral("30")),
                                             at(1500 * 60, QStringLiteral("30"))};
    const RateGraph graph = computeRateGraph(records, black);
    // An unknown band in the same column leaves the 40 m colour in place.
    EXPECT_EQ(graph.bandColour[100], red);
    // Its own columns carry on the colour of the band before it.
    EXPECT_EQ(graph.bandColour[1499], green);
    EXPECT_EQ(graph.bandColour[1500], green);
    // Where the rate has fallen to zero the bar is the background.
    EXPECT_EQ(graph.bandColour[50], black);
    EXPECT_FALSE(rateGraphBandColour(QStringLiteral("30")).has_value());
    EXPECT_EQ(rateGraphBandColour(QStringLiteral("15")), fromRgb(128, 255, 255));
}

TEST(RateGraphEdgeTest, FewerThanSevenContactsDrawNothing)
{
    EXPECT_FALSE(computeRateGraph(minutesApart(6), white).drawable);
    EXPECT_FALSE(computeRateGraph({}, white).drawable);
}

TEST(RateGraphEdgeTest, AllContactsInOneSecondGiveALevelLine)
{
    const std::vector<ContactRecord> records(9, at(120));
    const RateGraph graph = computeRateGraph(records, white);
    ASSERT_TRUE(graph.drawable);
    EXPECT_TRUE(graph.flat);
    EXPECT_DOUBLE_EQ(graph.minRate, 54.0);
    EXPECT_DOUBLE_EQ(graph.maxRate, 54.0);
    for (const QString& label : graph.rateLabels) {
        EXPECT_EQ(label, QStringLiteral("54.0"));
    }
    EXPECT_EQ(graph.timeLabels[0], graph.timeLabels[14]);
    EXPECT_EQ(graph.bandColour[750], green);

    const RatePlotScale scale(graph, 20, 420);
    EXPECT_DOUBLE_EQ(scale.y(54.0), 220.0);
    EXPECT_DOUBLE_EQ(scale.y(0.0), 220.0);
}

TEST(RateGraphEdgeTest, AnEvenRateEverywhereIsFlatToo)
{
    // One contact per column, each ten minutes after the last: every column plots 6.
    std::vector<ContactRecord> records;
    for (int i = 0; i <= rateGraphColumns; ++i) {
        records.push_back(at(600LL * i));
    }
    const RateGraph graph = computeRateGraph(records, white);
    EXPECT_TRUE(graph.flat);
    EXPECT_DOUBLE_EQ(graph.minRate, 6.0);
    EXPECT_DOUBLE_EQ(graph.maxRate, 6.0);
}

TEST(RateGraphEdgeTest, UnreadableMomentsAreLeftOut)
{
    std::vector<ContactRecord> records = minutesApart(8);
    records[3].time = QStringLiteral("garbage");
    records[5].date = QString();
    const RateGraph graph = computeRateGraph(records, white);
    ASSERT_TRUE(graph.drawable);
    EXPECT_EQ(graph.counts.size(), 6u);
    EXPECT_EQ(graph.counts.back(), 6);

    for (ContactRecord& record : records) {
        record.time = QStringLiteral("?");
    }
    EXPECT_FALSE(computeRateGraph(records, white).drawable);
}

TEST(RateGraphEdgeTest, PostContestTimesWithoutSecondsAreRead)
{
    std::vector<ContactRecord> records = minutesApart(7);
    for (ContactRecord& record : records) {
        record.time = record.time.left(5);
    }
    const RateGraph graph = computeRateGraph(records, white);
    EXPECT_EQ(graph.counts.back(), 7);
}

TEST(RateGraphEdgeTest, AHundredThousandContactsInOneSecondOrSpreadOut)
{
    // The ten-minute counts must not walk back over every earlier contact.
    const std::vector<ContactRecord> same(100000, at(0));
    const RateGraph burst = computeRateGraph(same, white);
    EXPECT_EQ(burst.counts.back(), 100000);
    EXPECT_TRUE(burst.flat);

    std::vector<ContactRecord> spread;
    spread.reserve(100000);
    for (int i = 0; i < 100000; ++i) {
        spread.push_back(at(i * 3));
    }
    const RateGraph busy = computeRateGraph(spread, white);
    EXPECT_EQ(busy.counts.back(), 200);
    EXPECT_DOUBLE_EQ(busy.rawRate[rateGraphColumns], 1200.0);
}

TEST(RatePlotScaleTest, TheLowestAndHighestRatesSitJustInsideThePlot)
{
    const RateGraph graph = computeRateGraph(minutesApart(7), white);
    const RatePlotScale scale(graph, 20, 420);
    EXPECT_NEAR(scale.y(graph.minRate), 420 - 0.0025 * 400, 1e-9);
    EXPECT_NEAR(scale.y(graph.maxRate), 20 + 0.0025 * 400, 1e-9);
}
