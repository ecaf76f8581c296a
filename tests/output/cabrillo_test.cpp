#include "common/qtprinters.h"
#include "output/cabrillo.h"

#include <gtest/gtest.h>

namespace velk {
namespace {

ContactRecord contact(const QString& call, const QString& name, const QString& location, const QString& date,
                      const QString& time, const QString& band,
                      const QString& sentName = QStringLiteral("BOB"))
{
    return ContactRecord{call, name, location, date, time, band, QStringLiteral("NA"), sentName, QString()};
}

CabrilloStation k1abc()
{
    return CabrilloStation{QStringLiteral("K1ABC"), QStringLiteral("CT"), QStringLiteral("CW"),
                           QStringLiteral("Varno's VELK Contest Log 2.7")};
}

TEST(CabrilloQsoLine, ExampleContactLandsOnTheFixedColumns)
{
    const ContactRecord record =
        contact(QStringLiteral("N0CALL"), QStringLiteral("PAT"), QStringLiteral("CT"),
                QStringLiteral("2026/01/10"), QStringLiteral("18:04:31"), QStringLiteral("20"));
    const QString line = cabrilloQsoLine(record, k1abc());
    EXPECT_EQ(line, QStringLiteral(
                        "QSO: 14000 CW 2026-01-10 1804 K1ABC           BOB        CT  N0CALL          PAT"
                        "        CT"));
    EXPECT_EQ(line.size(), 90);
    // Columns counted from 1.
    const std::pair<const char*, int> columns[] = {
        {"QSO:", 1},   {"14000", 6}, {"CW", 12},  {"2026-01-10", 15}, {"1804", 26},
        {"K1ABC", 31}, {"BOB", 47},  {"CT ", 58}, {"N0CALL", 62},     {"PAT", 78}};
    for (const auto& [item, column] : columns) {
        EXPECT_EQ(line.indexOf(QLatin1String(item)) + 1, column) << item;
    }
    EXPECT_EQ(line.lastIndexOf(QLatin1String("CT")) + 1, 89);
}

TEST(CabrilloQsoLine, BandsGiveTheirLowerBandEdge)
{
    const QStringList bands{QStringLiteral("160"), QStringLiteral("80"), QStringLiteral("40"),
                            QStringLiteral("20"),  QStringLiteral("15"), QStringLiteral("10"),
                            QStringLiteral("6"),   QStringLiteral("2")};
    const QStringList expected{
        QStringLiteral(" 1800"), QStringLiteral(" 3500"), QStringLiteral(" 7000"), QStringLiteral("14000"),
        QStringLiteral("21000"), QStringLiteral("28000"), QStringLiteral("50"),    QString()};
    for (qsizetype i = 0; i < bands.size(); ++i) {
        EXPECT_EQ(cabrilloFrequency(bands.at(i)), expected.at(i)) << bands.at(i).toStdString();
    }
    ContactRecord sixMetres =
        contact(QStringLiteral("W1AW"), QStringLiteral("HAL"), QStringLiteral("CT"),
                QStringLiteral("2026/01/10"), QStringLiteral("18:04"), QStringLiteral("6"));
    EXPECT_TRUE(
        cabrilloQsoLine(sixMetres, k1abc()).startsWith(QLatin1String("QSO: 50    CW 2026-01-10 1804 ")));
}

TEST(CabrilloQsoLine, TimesOfLiveAndPostContestEntriesGiveFourDigits)
{
    ContactRecord record =
        contact(QStringLiteral("N0CALL"), QStringLiteral("PAT"), QStringLiteral("CT"),
                QStringLiteral("2026/01/10"), QStringLiteral("18:04:31"), QStringLiteral("20"));
    const std::pair<const char*, const char*> times[] = {
        {"18:04:31", "1804"}, {"18:04", "1804"}, {"9:05", "0905"}};
    for (const auto& [stored, written] : times) {
        record.time = QString::fromLatin1(stored);
        const QString line = cabrilloQsoLine(record, k1abc());
        EXPECT_EQ(line.mid(25, 5), QString::fromLatin1(written) + QLatin1Char(' ')) << stored;
        EXPECT_EQ(line.size(), 90) << stored;
    }
}

TEST(CabrilloQsoLine, LongItemsAreCutToTheirWidths)
{
    CabrilloStation station = k1abc();
    station.ownCall = QStringLiteral("VE3ABCDEF");
    station.ownLocation = QStringLiteral("ON");
    const ContactRecord record =
        contact(QStringLiteral("VE3XYZABCDE"), QStringLiteral("ALEXANDERTHEGREAT"),
                QStringLiteral("Puerto Rico"), QStringLiteral("2026/01/11"), QStringLiteral("23:59"),
                QStringLiteral("160"), QStringLiteral("BOBBYJOEJIM"));
    EXPECT_EQ(cabrilloQsoLine(record, station),
              QStringLiteral(
                  "QSO:  1800 CW 2026-01-11 2359 VE3ABCD         BOBBYJOEJI ON  VE3XYZABCD      ALEXANDERT "
                  "Puerto Ri"));
}

TEST(CabrilloQsoLine, LongOwnLocationIsFollowedByOneBlank)
{
    const ContactRecord record =
        contact(QStringLiteral("N0CALL"), QStringLiteral("PAT"), QStringLiteral("CT"),
                QStringLiteral("2026/01/10"), QStringLiteral("18:04:31"), QStringLiteral("20"));
    CabrilloStation station{QStringLiteral("XE1ABC"), QStringLiteral("Cuba"), QStringLiteral("PH"),
                            QString()};
    EXPECT_EQ(cabrilloQsoLine(record, station),
              QStringLiteral(
                  "QSO: 14000 PH 2026-01-10 1804 XE1ABC          BOB        Cuba N0CALL         PAT        "
                  "CT"));
    station.ownLocation = QStringLiteral("Mexico");
    const QString line = cabrilloQsoLine(record, station);
    EXPECT_EQ(line, QStringLiteral(
                        "QSO: 14000 PH 2026-01-10 1804 XE1ABC          BOB        Mexico N0CALL       PAT  "
                        "      CT"));
    EXPECT_EQ(line.split(QLatin1Char(' '), Qt::SkipEmptyParts).size(), 11);
}

TEST(CabrilloHeader, ScoreContestAndCategoryTexts)
{
    EXPECT_EQ(cabrilloClaimedScore(5400), QStringLiteral(" 5400 "));
    EXPECT_EQ(cabrilloClaimedScore(0), QStringLiteral(" 0 "));
    EXPECT_EQ(cabrilloContest(QStringLiteral("CW")), QStringLiteral("VELK-CW"));
    EXPECT_EQ(cabrilloContest(QStringLiteral("PH")), QStringLiteral("VELK-SSB"));
    EXPECT_EQ(cabrilloContest(QStringLiteral("RY")), QStringLiteral("VELK-RTTY"));
    EXPECT_EQ(cabrilloContest(QStringLiteral("XX")), QStringLiteral("VELK-CW"));
}

TEST(CabrilloFile, EmptyLogWithTheDefaults)
{
    const QByteArray expected = "START-OF-LOG: 2.0\r\n"
                                "CREATED-BY: Varno's VELK Contest Log 2.7\r\n"
                                "CONTEST: VELK-CW\r\n"
                                "CALLSIGN: K1ABC\r\n"
                                "CATEGORY: SINGLE-OP ALL LOW\r\n"
                                "CATEGORY-ASSISTED: NON-ASSISTED\r\n"
                                "CLAIMED-SCORE:  0 \r\n"
                                "OPERATORS: K1ABC\r\n"
                                "NAME: \r\n"
                                "ADDRESS: \r\n"
                                "ADDRESS: \r\n"
                                "ADDRESS: (e-mail) \r\n"
                                "SOAPBOX: \r\n"
                                "END-OF-LOG:\r\n";
    EXPECT_EQ(QString::fromLatin1(writeCabrillo({}, k1abc(), CabrilloSummary{}, 7)),
              QString::fromLatin1(expected));
}

TEST(CabrilloFile, WholeLogWithSummaryEntries)
{
    CabrilloStation station = k1abc();
    station.mode = QStringLiteral("RY");
    CabrilloSummary summary;
    summary.operators = QStringLiteral("K1ABC W1XYZ");
    summary.multiTwo = true;
    summary.power = CabrilloPower::Qrp;
    summary.name = QStringLiteral("Robert Smith");
    summary.address1 = QStringLiteral("12 Main St");
    summary.address2 = QStringLiteral("Hartford, CT 06101");
    summary.email = QStringLiteral("k1abc@example.org");
    summary.soapbox = QStringLiteral("Great fun.\nSee you next year!");
    const std::vector<ContactRecord> records{
        contact(QStringLiteral("N0CALL"), QStringLiteral("PAT"), QStringLiteral("MN"),
                QStringLiteral("2026/01/10"), QStringLiteral("18:04:31"), QStringLiteral("40")),
        contact(QStringLiteral("VE3XYZ"), QStringLiteral("JOS\xC9"), QStringLiteral("ON"),
                QStringLiteral("2026/01/10"), QStringLiteral("09:30"), QStringLiteral("160")),
    };
    const QByteArray expected =
        "START-OF-LOG: 2.0\r\n"
        "CREATED-BY: Varno's VELK Contest Log 2.7\r\n"
        "CONTEST: VELK-RTTY\r\n"
        "CALLSIGN: K1ABC\r\n"
        "CATEGORY: MULTI-TWO ALL QRP\r\n"
        "CATEGORY-ASSISTED: NON-ASSISTED\r\n"
        "CLAIMED-SCORE:  90 \r\n"
        "OPERATORS: K1ABC W1XYZ\r\n"
        "NAME: Robert Smith\r\n"
        "ADDRESS: 12 Main St\r\n"
        "ADDRESS: Hartford, CT 06101\r\n"
        "ADDRESS: (e-mail) k1abc@example.org\r\n"
        "SOAPBOX: Great fun.\r\n"
        "SOAPBOX: See you next year!\r\n"
        "QSO:  7000 RY 2026-01-10 1804 K1ABC           BOB        CT  N0CALL          PAT    "
        "    MN\r\n"
        "QSO:  1800 RY 2026-01-10 0930 K1ABC           BOB        CT  VE3XYZ          JOS\xC9   "
        "    ON\r\n"
        "END-OF-LOG:\r\n";
    // 2 contacts x 45 multipliers.
    EXPECT_EQ(writeCabrillo(records, station, summary, 45), expected);
}

TEST(CabrilloFile, PowerCategoryCanBeLeftOut)
{
    CabrilloSummary summary;
    summary.power = CabrilloPower::None;
    EXPECT_TRUE(writeCabrillo({}, k1abc(), summary, 0).contains("\r\nCATEGORY: SINGLE-OP ALL\r\n"));
    summary.power = CabrilloPower::High;
    EXPECT_TRUE(writeCabrillo({}, k1abc(), summary, 0).contains("\r\nCATEGORY: SINGLE-OP ALL HIGH\r\n"));
}

} // namespace
} // namespace velk
