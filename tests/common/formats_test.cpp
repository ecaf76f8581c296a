#include "common/formats.h"

#include "common/qtprinters.h"

#include <gtest/gtest.h>

#include <QLocale>

using namespace velk;

// ---- formatNumber ----

TEST(FormatNumber, FrequencyPattern)
{
    EXPECT_EQ(formatNumber(14.025, "#####.##0"), "14.025");
    EXPECT_EQ(formatNumber(14.0249999f, "#####.##0"), "14.025");
    EXPECT_EQ(formatNumber(0.5, "#####.##0"), ".500");
    EXPECT_EQ(formatNumber(7, "#####.##0"), "7.000");
    EXPECT_EQ(formatNumber(3.5255, "#####.##0"), "3.526");
    EXPECT_EQ(formatNumber(0, "#####.##0"), ".000");
    EXPECT_EQ(formatNumber(28.4999f, "#####.##0"), "28.500");
    EXPECT_EQ(formatNumber(123456.7, "#####.##0"), "123456.700");
}

TEST(FormatNumber, NoZeroInPatternShowsNothingForZero)
{
    EXPECT_EQ(formatNumber(0, "##,###"), "");
    EXPECT_EQ(formatNumber(0, "###"), "");
    EXPECT_EQ(formatNumber(0.4, "###"), "");
}

TEST(FormatNumber, RoundsHalfAwayFromZero)
{
    EXPECT_EQ(formatNumber(89.6, "###"), "90");
    EXPECT_EQ(formatNumber(0.5, "###"), "1");
    EXPECT_EQ(formatNumber(2.5, "0"), "3");
    EXPECT_EQ(formatNumber(-2.5, "0"), "-3");
    EXPECT_EQ(formatNumber(2.675, "0.00"), "2.68");
    EXPECT_EQ(formatNumber(9.9996, "#####.##0"), "10.000");
    EXPECT_EQ(formatNumber(999.5, "###,###"), "1,000");
}

TEST(FormatNumber, ThousandsGrouping)
{
    EXPECT_EQ(formatNumber(3456.7, "##,###"), "3,457");
    EXPECT_EQ(formatNumber(70, "###,###,###,##0"), "70");
    EXPECT_EQ(formatNumber(1234567, "###,###,###,##0"), "1,234,567");
    EXPECT_EQ(formatNumber(1234, "###,##0"), "1,234");
    EXPECT_EQ(formatNumber(0, "###,##0"), "0");
    EXPECT_EQ(formatNumber(123, "###,##0"), "123");
    EXPECT_EQ(formatNumber(123456, "###,##0"), "123,456");
    EXPECT_EQ(formatNumber(1234567890123.0, "###,##0"), "1,234,567,890,123");
}

TEST(FormatNumber, PatternZero)
{
    EXPECT_EQ(formatNumber(0, "0"), "0");
    EXPECT_EQ(formatNumber(42, "0"), "42");
    EXPECT_EQ(formatNumber(41.6, "0"), "42");
    EXPECT_EQ(formatNumber(5, "000"), "005");
}

TEST(FormatNumber, Negative)
{
    EXPECT_EQ(formatNumber(-1234.5, "###,##0"), "-1,235");
    EXPECT_EQ(formatNumber(-0.5, "#####.##0"), "-.500");
    EXPECT_EQ(formatNumber(-0.2, "0"), "0");
}

TEST(FormatNumber, IgnoresTheSystemLocale)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(formatNumber(1234.5, "###,##0.0"), "1,234.5");
    QLocale::setDefault(saved);
}

// ---- formatDateTime ----

namespace {
QDateTime at(int y, int mo, int d, int h, int mi, int s)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}
const QDateTime evening = at(2026, 1, 10, 18, 4, 31);
} // namespace

TEST(FormatDateTime, TwentyFourHourClock)
{
    EXPECT_EQ(formatDateTime(evening, "hh:nn:ss"), "18:04:31");
    EXPECT_EQ(formatDateTime(evening, "hh:mm"), "18:04");
    EXPECT_EQ(formatDateTime(at(2026, 1, 10, 7, 5, 9), "hh:nn:ss"), "07:05:09");
    EXPECT_EQ(formatDateTime(at(2026, 1, 10, 7, 5, 9), "h:nn"), "7:05");
}

TEST(FormatDateTime, TwelveHourClock)
{
    EXPECT_EQ(formatDateTime(evening, "h:nn:ss AMPM"), "6:04:31 PM");
    EXPECT_EQ(formatDateTime(at(2026, 1, 10, 0, 5, 0), "h:nn:ss AMPM"), "12:05:00 AM");
    EXPECT_EQ(formatDateTime(at(2026, 1, 10, 12, 0, 0), "h:nn:ss AMPM"), "12:00:00 PM");
    EXPECT_EQ(formatDateTime(at(2026, 1, 10, 11, 59, 59), "h:nn:ss AMPM"), "11:59:59 AM");
    EXPECT_EQ(formatDateTime(evening, "hh:nn AMPM"), "06:04 PM");
}

TEST(FormatDateTime, Dates)
{
    EXPECT_EQ(formatDateTime(evening, "yyyy/mm/dd"), "2026/01/10");
    EXPECT_EQ(formatDateTime(evening, "yyyy-mm-dd"), "2026-01-10");
    EXPECT_EQ(formatDateTime(evening, "mm/dd"), "01/10");
    EXPECT_EQ(formatDateTime(evening, "yyyymmddhhnn"), "202601101804");
    EXPECT_EQ(formatDateTime(at(2025, 12, 31, 23, 59, 0), "yyyy/mm/dd hh:mm"), "2025/12/31 23:59");
}

TEST(FormatDateTime, MonthAfterHourOnlyWhenAdjacent)
{
    // "mm" right after the hour (a ':' between is fine) means minutes; elsewhere the month.
    EXPECT_EQ(formatDateTime(evening, "hh:mm mm"), "18:04 01");
    EXPECT_EQ(formatDateTime(evening, "hhmm"), "1804");
}

TEST(FormatDateTime, IgnoresTheSystemLocale)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(formatDateTime(evening, "h:nn AMPM"), "6:04 PM");
    QLocale::setDefault(saved);
}

TEST(FormatShortDate, UsesTheSystemShortFormat)
{
    const QDate d(2026, 1, 10);
    EXPECT_EQ(formatShortDate(d), QLocale::system().toString(d, QLocale::ShortFormat));
    EXPECT_FALSE(formatShortDate(d).isEmpty());
}

// ---- parsing ----

TEST(ParseOperatorDate, AcceptedForms)
{
    const QDate d(2026, 1, 10);
    EXPECT_EQ(parseOperatorDate("2026/01/10"), d);
    EXPECT_EQ(parseOperatorDate("2026-01-10"), d);
    EXPECT_EQ(parseOperatorDate("2026/1/10"), d);
    EXPECT_EQ(parseOperatorDate("01/10/2026"), d);
    EXPECT_EQ(parseOperatorDate("1/10/2026"), d);
    EXPECT_EQ(parseOperatorDate("01-10-2026"), d);
    EXPECT_EQ(parseOperatorDate("  2026/01/10 "), d);
    EXPECT_EQ(parseOperatorDate("2024/02/29"), QDate(2024, 2, 29));
}

TEST(ParseOperatorDate, Rejected)
{
    EXPECT_EQ(parseOperatorDate("2026/02/30"), std::nullopt);
    EXPECT_EQ(parseOperatorDate("2025/02/29"), std::nullopt);
    EXPECT_EQ(parseOperatorDate("2026/13/01"), std::nullopt);
    EXPECT_EQ(parseOperatorDate("13/01/2026"), std::nullopt);
    EXPECT_EQ(parseOperatorDate("abc"), std::nullopt);
    EXPECT_EQ(parseOperatorDate(""), std::nullopt);
    EXPECT_EQ(parseOperatorDate("01/10/26"), std::nullopt);
    EXPECT_EQ(parseOperatorDate("2026/01-10"), std::nullopt);
    EXPECT_EQ(parseOperatorDate("2026/01/10x"), std::nullopt);
}

TEST(ParseOperatorTime, AcceptedForms)
{
    EXPECT_EQ(parseOperatorTime("9:15"), QTime(9, 15));
    EXPECT_EQ(parseOperatorTime("09:15"), QTime(9, 15));
    EXPECT_EQ(parseOperatorTime("18:04:31"), QTime(18, 4, 31));
    EXPECT_EQ(parseOperatorTime("0:00"), QTime(0, 0));
    EXPECT_EQ(parseOperatorTime("23:59:59"), QTime(23, 59, 59));
    EXPECT_EQ(parseOperatorTime(" 12:30 "), QTime(12, 30));
}

TEST(ParseOperatorTime, Rejected)
{
    EXPECT_EQ(parseOperatorTime("25:00"), std::nullopt);
    EXPECT_EQ(parseOperatorTime("24:00"), std::nullopt);
    EXPECT_EQ(parseOperatorTime("12:60"), std::nullopt);
    EXPECT_EQ(parseOperatorTime("12:30:60"), std::nullopt);
    EXPECT_EQ(parseOperatorTime("12:5"), std::nullopt);
    EXPECT_EQ(parseOperatorTime("1230"), std::nullopt);
    EXPECT_EQ(parseOperatorTime(""), std::nullopt);
    EXPECT_EQ(parseOperatorTime("ab:cd"), std::nullopt);
    EXPECT_EQ(parseOperatorTime("9:15 PM"), std::nullopt);
}

TEST(ParseRecordMoment, ReadsDateAndTime)
{
    const auto m = parseRecordMoment("2026/01/10", "18:04:31");
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(m->date(), QDate(2026, 1, 10));
    EXPECT_EQ(m->time(), QTime(18, 4, 31));
    EXPECT_EQ(m->offsetFromUtc(), 0);

    const auto short_ = parseRecordMoment("2026/01/10", "18:04");
    ASSERT_TRUE(short_.has_value());
    EXPECT_EQ(short_->time(), QTime(18, 4));
    EXPECT_EQ(short_->secsTo(*m), 31);
}

TEST(ParseRecordMoment, ArithmeticAcrossMidnight)
{
    const auto before = parseRecordMoment("2025/12/31", "23:59:30");
    const auto after = parseRecordMoment("2026/01/01", "00:00:15");
    ASSERT_TRUE(before && after);
    EXPECT_EQ(before->secsTo(*after), 45);
}

TEST(ParseRecordMoment, RejectsBadFields)
{
    EXPECT_EQ(parseRecordMoment("", "18:04:31"), std::nullopt);
    EXPECT_EQ(parseRecordMoment("2026/01/10", ""), std::nullopt);
    EXPECT_EQ(parseRecordMoment("2026/02/30", "18:04:31"), std::nullopt);
    EXPECT_EQ(parseRecordMoment("2026/01/10", "25:00:00"), std::nullopt);
}

TEST(ParseRecordSecond, AgreesWithTheMomentForEveryForm)
{
    const QList<std::pair<QString, QString>> cases{
        {"2026/01/10", "18:04:31"},
        {"2026/01/10", "18:04"},
        {"2026/01/10", "9:05"},
        {"2026-01-10", "18:04:31"},
        {" 2026/01/10 ", "18:04:31"},
        {"2026/1/5", "18:04:31"},
        {"2026/01/10", " 18:04:31"},
        {"1969/12/31", "23:59:59"},
        {"2024/02/29", "00:00:00"},
        {"2026/02/30", "18:04:31"},
        {"2026/13/10", "18:04:31"},
        {"2026/01/10", "24:00:00"},
        {"2026/01/10", "18:60:00"},
        {"2026/01/10", "18:04:60"},
        {"2026/01/1x", "18:04:31"},
        {"2026/01-10", "18:04:31"},
        {"2026/01/10", "18-04-31"},
        {"", ""},
        {QStringLiteral("2026/01/\uFF11\uFF10"), "18:04:31"}, // full-width digits
    };
    for (const auto& [date, time] : cases) {
        SCOPED_TRACE(qPrintable(date + QLatin1Char('|') + time));
        const auto moment = parseRecordMoment(date, time);
        const auto second = parseRecordSecond(date, time);
        ASSERT_EQ(moment.has_value(), second.has_value());
        if (moment) {
            EXPECT_EQ(*second, moment->toSecsSinceEpoch());
        }
    }
    EXPECT_EQ(parseRecordSecond("1970/01/02", "00:00:01"), 86401);
}

// ---- formatOperatingTime ----

TEST(FormatOperatingTime, HoursMinutesSeconds)
{
    EXPECT_EQ(formatOperatingTime(3725.4), "01:02:05");
    EXPECT_EQ(formatOperatingTime(0), "00:00:00");
    EXPECT_EQ(formatOperatingTime(59.999), "00:00:59");
    EXPECT_EQ(formatOperatingTime(60), "00:01:00");
    EXPECT_EQ(formatOperatingTime(3599), "00:59:59");
    EXPECT_EQ(formatOperatingTime(36000), "10:00:00");
    EXPECT_EQ(formatOperatingTime(100 * 3600 + 61), "100:01:01");
}
