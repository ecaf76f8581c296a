#include "common/qtprinters.h"
#include "output/adif.h"

#include <gtest/gtest.h>

namespace velk {
namespace {

ContactRecord contact(const QString& call, const QString& name, const QString& location, const QString& date,
                      const QString& time, const QString& band, const QString& continent,
                      const QString& frequency)
{
    return ContactRecord{call, name, location, date, time, band, continent, QStringLiteral("BOB"), frequency};
}

CountryTable smallTable()
{
    return *CountryTable::parse("\"Canada\",1\r\n\"Alaska\",6\r\n\"Hawaii\",110\r\n\"USA\",291\r\n"
                                "\"Puerto Rico\",202\r\n\"usa\",999\r\n");
}

AdifOptions options(const QString& power = QStringLiteral("100"),
                    const QString& comment = QStringLiteral("VELK Contest"))
{
    return AdifOptions{QStringLiteral("CW"), power, comment, QStringLiteral("Varno's VELK Contest Log 2.7"),
                       QStringLiteral("2026-01-11 09:15:00")};
}

TEST(AdifRecord, ExampleContactOnThreeLines)
{
    const ContactRecord record = contact(
        QStringLiteral("N0CALL"), QStringLiteral("PAT"), QStringLiteral("CT"), QStringLiteral("2026/01/10"),
        QStringLiteral("18:04:31"), QStringLiteral("20"), QStringLiteral("NA"), QStringLiteral("14.025"));
    EXPECT_EQ(
        adifRecord(record, smallTable(), options()),
        QStringLiteral("<Call:6>N0CALL <Qso_Date:8:d>20260110 <Band:3>20M <Mode:2>CW\r\n"
                       "<Tx_Pwr:3>100 <Freq:6>14.025 <Time_On:4>1804 <DXCC:3>291 <State:2>CT <Cont:2>NA "
                       "<Name:3>PAT <Comment:12>VELK Contest\r\n"
                       "<eor>\r\n"
                       "\r\n"));
}

TEST(AdifRecord, ModeFollowsTheLog)
{
    EXPECT_EQ(adifMode(QStringLiteral("CW")), QStringLiteral("CW"));
    EXPECT_EQ(adifMode(QStringLiteral("PH")), QStringLiteral("SSB"));
    EXPECT_EQ(adifMode(QStringLiteral("RY")), QStringLiteral("RTTY"));
}

TEST(AdifRecord, TimeBecomesFourDigits)
{
    EXPECT_EQ(adifTime(QStringLiteral("18:04:31")), QStringLiteral("1804"));
    EXPECT_EQ(adifTime(QStringLiteral("18:04")), QStringLiteral("1804"));
    EXPECT_EQ(adifTime(QStringLiteral("9:05")), QStringLiteral("0905"));
    EXPECT_EQ(adifTime(QStringLiteral(" 9:05 ")), QStringLiteral("0905"));
    EXPECT_EQ(adifTime(QStringLiteral("1804")), QStringLiteral("1804"));
    EXPECT_EQ(adifTime(QString()), QStringLiteral("0000"));
}

TEST(AdifRecord, CountryStateAndDxccRules)
{
    const CountryTable table = smallTable();
    auto record = [](const QString& call, const QString& location) {
        return ContactRecord{call,
                             QStringLiteral("AL"),
                             location,
                             QStringLiteral("2026/01/10"),
                             QStringLiteral("18:04"),
                             QStringLiteral("20"),
                             QString(),
                             QString(),
                             QString()};
    };
    // VE3 in Ontario: Canada's number, no state.
    QString text = adifRecord(record(QStringLiteral("VE3ABC"), QStringLiteral("ON")), table, options());
    EXPECT_TRUE(text.contains(QLatin1String("<DXCC:1>1 <Name:")));
    EXPECT_FALSE(text.contains(QLatin1String("<State:")));
    // KH6 in Hawaii: Hawaii's number and the state.
    text = adifRecord(record(QStringLiteral("KH6XX"), QStringLiteral("HI")), table, options());
    EXPECT_TRUE(text.contains(QLatin1String("<DXCC:3>110 <State:2>HI ")));
    // Lower-case calls still count as US calls; Alaska is an entity of its own.
    text = adifRecord(record(QStringLiteral("kl7aa"), QStringLiteral("AK")), table, options());
    EXPECT_TRUE(text.contains(QLatin1String("<DXCC:1>6 <State:2>AK ")));
    // A three-letter location is neither a state nor, unless the table has it, a country.
    text = adifRecord(record(QStringLiteral("VE8ABC"), QStringLiteral("NWT")), table, options());
    EXPECT_FALSE(text.contains(QLatin1String("<DXCC:")));
    EXPECT_FALSE(text.contains(QLatin1String("<State:")));
    // A DX country name, matched case-insensitively; the first entry wins.
    text = adifRecord(record(QStringLiteral("KP4ABC"), QStringLiteral("PUERTO RICO")), table, options());
    EXPECT_TRUE(text.contains(QLatin1String("<DXCC:3>202 <Name:")));
    EXPECT_EQ(table.dxcc(QStringLiteral(" usa ")), 291);
}

TEST(AdifFile, HeaderAndRecordsForEveryEdge)
{
    const std::vector<ContactRecord> records{
        contact(QStringLiteral("W1AW"), QStringLiteral("HAL"), QStringLiteral("CT"),
                QStringLiteral("2026/01/10"), QStringLiteral("01:02:03"), QStringLiteral("160"),
                QStringLiteral("NA"), QStringLiteral("1.825")),
        contact(QStringLiteral("KH6XX"), QStringLiteral("KAI"), QStringLiteral("HI"),
                QStringLiteral("2026/02/30"), QStringLiteral("9:05"), QStringLiteral("6"),
                QStringLiteral("OC"), QString()),
        contact(QStringLiteral("VE3ABC"), QString(), QStringLiteral("ON"), QStringLiteral("2026/01/10"),
                QStringLiteral("23:59"), QString(), QString(), QStringLiteral(" 7.0 ")),
    };
    const QByteArray expected =
        "ADIF Export from Varno's VELK Contest Log 2.7\r\n"
        "Program by Varno Software, written for the VELK contest.\r\n"
        "Each contact of the contest log follows as one ADIF record.\r\n"
        "Log exported on: 2026-01-11 09:15:00\r\n"
        "\r\n"
        "<EOH>\r\n"
        "\r\n"
        "<Call:4>W1AW <Qso_Date:8:d>20260110 <Band:4>160M <Mode:2>CW\r\n"
        "<Freq:5>1.825 <Time_On:4>0102 <DXCC:3>291 <State:2>CT <Cont:2>NA <Name:3>HAL "
        "<eor>\r\n"
        "\r\n"
        "<Call:5>KH6XX <Band:2>6M <Mode:2>CW\r\n"
        "<Time_On:4>0905 <DXCC:3>110 <State:2>HI <Cont:2>OC <Name:3>KAI <eor>\r\n"
        "\r\n"
        "<Call:6>VE3ABC <Qso_Date:8:d>20260110 <Mode:2>CW\r\n"
        "<Freq:3>7.0 <Time_On:4>2359 <DXCC:1>1 <eor>\r\n"
        "\r\n";
    // Empty power and empty comment: neither field, and <eor> ends the second line.
    EXPECT_EQ(QString::fromLatin1(writeAdif(records, smallTable(), options(QString(), QString()))),
              QString::fromLatin1(expected));
}

TEST(AdifFile, PowerLosesTrailingBlanksAndEmptyLogHasOnlyTheHeader)
{
    const ContactRecord record = contact(
        QStringLiteral("N0CALL"), QStringLiteral("PAT"), QStringLiteral("CT"), QStringLiteral("2026/01/10"),
        QStringLiteral("18:04:31"), QStringLiteral("20"), QStringLiteral("NA"), QString());
    EXPECT_TRUE(adifRecord(record, smallTable(), options(QStringLiteral("5 W  ")))
                    .contains(QLatin1String("<Tx_Pwr:3>5 W ")));
    EXPECT_FALSE(
        adifRecord(record, smallTable(), options(QStringLiteral("   "))).contains(QLatin1String("<Tx_Pwr:")));
    EXPECT_TRUE(writeAdif({}, smallTable(), options()).endsWith("\r\n<EOH>\r\n\r\n"));
}

} // namespace
} // namespace velk
