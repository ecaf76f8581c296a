#include "common/quotedlist.h"

#include "common/qtprinters.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <cmath>

using namespace velk;

// ---- parseQuotedLine ----

TEST(ParseQuotedLine, QuotedTextsAndBareNumbers)
{
    EXPECT_EQ(parseQuotedLine(R"("VE3ABC","JOHN","ON",14.025,5)"),
              (QStringList{"VE3ABC", "JOHN", "ON", "14.025", "5"}));
}

TEST(ParseQuotedLine, SpacesAroundValuesAreSkipped)
{
    EXPECT_EQ(parseQuotedLine(" \"A\" ,\t\"B\"\t, 12 ,-3.5  "), (QStringList{"A", "B", "12", "-3.5"}));
}

TEST(ParseQuotedLine, SpacesInsideQuotesAreKept)
{
    EXPECT_EQ(parseQuotedLine(R"(" NEW YORK ","a,b")"), (QStringList{" NEW YORK ", "a,b"}));
}

TEST(ParseQuotedLine, EmptyValues)
{
    EXPECT_EQ(parseQuotedLine(R"("","X",,"")"), (QStringList{"", "X", "", ""}));
    EXPECT_EQ(parseQuotedLine(R"("A",)"), (QStringList{"A", ""}));
    EXPECT_EQ(parseQuotedLine(","), (QStringList{"", ""}));
    EXPECT_EQ(parseQuotedLine(""), QStringList{});
    EXPECT_EQ(parseQuotedLine("   "), QStringList{});
}

TEST(ParseQuotedLine, StrayQuoteInsideFieldIsMalformed)
{
    EXPECT_EQ(parseQuotedLine(R"("N0"CALL","PAT")"), std::nullopt);
    EXPECT_EQ(parseQuotedLine(R"("A" "B")"), std::nullopt);
    EXPECT_EQ(parseQuotedLine(R"(12"x","B")"), std::nullopt);
    EXPECT_EQ(parseQuotedLine(R"(5 "A")"), std::nullopt);
}

TEST(ParseQuotedLine, UnclosedQuoteIsMalformed)
{
    EXPECT_EQ(parseQuotedLine(R"("VE3ABC","JOHN)"), std::nullopt);
    EXPECT_EQ(parseQuotedLine(R"(")"), std::nullopt);
}

TEST(ParseQuotedLine, SingleValues)
{
    EXPECT_EQ(parseQuotedLine("42"), QStringList{"42"});
    EXPECT_EQ(parseQuotedLine(R"("x")"), QStringList{"x"});
}

// ---- QuotedListReader ----

TEST(QuotedListReader, CrLfLines)
{
    QuotedListReader reader("\"A\",1\r\n\"B\",2\r\n");
    ASSERT_FALSE(reader.atEnd());
    EXPECT_EQ(reader.nextLine(), (QStringList{"A", "1"}));
    EXPECT_EQ(reader.lineNumber(), 1);
    ASSERT_FALSE(reader.atEnd());
    EXPECT_EQ(reader.nextLine(), (QStringList{"B", "2"}));
    EXPECT_EQ(reader.lineNumber(), 2);
    EXPECT_TRUE(reader.atEnd());
}

TEST(QuotedListReader, LfAndLoneCrLinesAndNoFinalLineEnd)
{
    QuotedListReader reader("\"A\"\n\"B\"\r\"C\"\r\n\"D\"");
    EXPECT_EQ(reader.nextLine(), QStringList{"A"});
    EXPECT_EQ(reader.nextLine(), QStringList{"B"});
    EXPECT_EQ(reader.nextLine(), QStringList{"C"});
    EXPECT_FALSE(reader.atEnd());
    EXPECT_EQ(reader.nextLine(), QStringList{"D"});
    EXPECT_EQ(reader.lineNumber(), 4);
    EXPECT_TRUE(reader.atEnd());
}

TEST(QuotedListReader, BlankLinesAreSkippedButCounted)
{
    QuotedListReader reader("\r\n  \r\n\"A\"\r\n\t\r\n\r\n\"B\"\r\n\r\n \r\n");
    EXPECT_EQ(reader.nextLine(), QStringList{"A"});
    EXPECT_EQ(reader.lineNumber(), 3);
    EXPECT_EQ(reader.nextLine(), QStringList{"B"});
    EXPECT_EQ(reader.lineNumber(), 6);
    EXPECT_TRUE(reader.atEnd());
}

TEST(QuotedListReader, EmptyAndBlankFilesAreAtEnd)
{
    EXPECT_TRUE(QuotedListReader(QByteArray()).atEnd());
    EXPECT_TRUE(QuotedListReader("\r\n \r\n\n").atEnd());
}

TEST(QuotedListReader, MalformedLineIsReportedAndReadingGoesOn)
{
    QuotedListReader reader("\"OK\"\r\n\"N0\"CALL\",\"PAT\"\r\n\"NEXT\"\r\n");
    EXPECT_EQ(reader.nextLine(), QStringList{"OK"});
    EXPECT_EQ(reader.nextLine(), std::nullopt);
    EXPECT_EQ(reader.lineNumber(), 2);
    EXPECT_EQ(reader.nextLine(), QStringList{"NEXT"});
    EXPECT_EQ(reader.lineNumber(), 3);
}

TEST(QuotedListReader, QuotesDoNotSpanLines)
{
    QuotedListReader reader("\"open\r\n\"B\"\r\n");
    EXPECT_EQ(reader.nextLine(), std::nullopt);
    EXPECT_EQ(reader.nextLine(), QStringList{"B"});
}

TEST(QuotedListReader, ReadsLatin1)
{
    const QByteArray bytes("\"\xC9TIENNE\",\"Qu\xE9"
                           "bec\"\r\n");
    QuotedListReader reader(bytes);
    EXPECT_EQ(reader.nextLine(), (QStringList{QString::fromUtf8("ÉTIENNE"), QString::fromUtf8("Québec")}));
}

// ---- QuotedListWriter ----

TEST(QuotedListWriter, WritesQuotedTextsBareNumbersAndCrLf)
{
    QuotedListWriter w;
    w.text("VE3ABC").text("JOHN").number(14.025f).integer(5).endLine();
    w.number(-3.5).text("").endLine();
    w.endLine();
    EXPECT_EQ(w.bytes(), QByteArray("\"VE3ABC\",\"JOHN\",14.025,5\r\n-3.5,\"\"\r\n\r\n"));
}

TEST(QuotedListWriter, EmptyWriter)
{
    EXPECT_TRUE(QuotedListWriter().bytes().isEmpty());
}

TEST(QuotedListWriter, LargeIntegers)
{
    QuotedListWriter w;
    w.integer(-1234567890123LL).endLine();
    EXPECT_EQ(w.bytes(), QByteArray("-1234567890123\r\n"));
}

TEST(QuotedListWriter, DropsQuotesAndLineEndsInsideTexts)
{
    QuotedListWriter w;
    w.text("N0\"CALL").text("two\r\nlines").endLine();
    EXPECT_EQ(w.bytes(), QByteArray("\"N0CALL\",\"twolines\"\r\n"));
}

TEST(QuotedListWriter, Latin1IsWrittenAsSingleBytes)
{
    QuotedListWriter w;
    w.text(QString::fromUtf8("É")).endLine();
    EXPECT_EQ(w.bytes(), QByteArray("\"\xC9\"\r\n"));
}

TEST(QuotedList, RoundTripOfWriterOutput)
{
    QuotedListWriter w;
    w.text(QString::fromUtf8("ÉCOLE"))
        .text(" spaced ")
        .text("a,b")
        .text("")
        .number(77.0333f)
        .integer(-7)
        .endLine();
    w.number(0.1f).number(1e6).number(0).endLine();

    QuotedListReader reader(w.bytes());
    const auto first = reader.nextLine();
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(*first, (QStringList{QString::fromUtf8("ÉCOLE"), " spaced ", "a,b", "", "77.0333", "-7"}));
    EXPECT_EQ(static_cast<float>(*parseSettingsNumber(first->at(4))), 77.0333f);
    EXPECT_EQ(reader.nextLine(), (QStringList{"0.1", "1000000", "0"}));
    EXPECT_TRUE(reader.atEnd());
}

// ---- numbers ----

TEST(SettingsNumber, FormatsShortestSingleText)
{
    EXPECT_EQ(formatSettingsNumber(5), "5");
    EXPECT_EQ(formatSettingsNumber(-5), "-5");
    EXPECT_EQ(formatSettingsNumber(3.5), "3.5");
    EXPECT_EQ(formatSettingsNumber(0.1f), "0.1");
    EXPECT_EQ(formatSettingsNumber(0.1), "0.1");
    EXPECT_EQ(formatSettingsNumber(77.0333f), "77.0333");
    EXPECT_EQ(formatSettingsNumber(14.025f), "14.025");
    EXPECT_EQ(formatSettingsNumber(-0.25), "-0.25");
    EXPECT_EQ(formatSettingsNumber(1200), "1200");
}

TEST(SettingsNumber, ZeroHasNoSign)
{
    EXPECT_EQ(formatSettingsNumber(0), "0");
    EXPECT_EQ(formatSettingsNumber(-0.0), "0");
}

TEST(SettingsNumber, NoExponentInPlainRange)
{
    EXPECT_EQ(formatSettingsNumber(1e6), "1000000");
    EXPECT_EQ(formatSettingsNumber(2.5e9), "2500000000");
    EXPECT_EQ(formatSettingsNumber(1e-6f), "0.000001");
    EXPECT_EQ(formatSettingsNumber(0.00025), "0.00025");
    EXPECT_EQ(formatSettingsNumber(1e11), "100000000000");
    EXPECT_EQ(formatSettingsNumber(1e12), "1000000000000");
}

TEST(SettingsNumber, ShortestTextReadsBackToTheSameSingle)
{
    for (float f : {0.1f, 0.2f, 0.3f, 1.0f / 3.0f, 2.0f / 3.0f, 14.0249999f, 7.0001f, 123456.789f,
                    16777216.0f, 3.4e10f, 0.000123f, -98.7654f, 1.17549435e-38f, 3.40282347e38f}) {
        const QString text = formatSettingsNumber(f);
        const auto back = parseSettingsNumber(text);
        ASSERT_TRUE(back.has_value()) << text.toStdString();
        EXPECT_EQ(static_cast<float>(*back), f) << text.toStdString();
        if (std::fabs(f) >= 1e-6f && std::fabs(f) < 1e12f) {
            EXPECT_FALSE(text.contains(QLatin1Char('e'))) << text.toStdString();
        }
    }
}

TEST(SettingsNumber, IgnoresTheSystemLocale)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(formatSettingsNumber(3.5), "3.5");
    EXPECT_EQ(formatSettingsNumber(1234567), "1234567");
    EXPECT_EQ(parseSettingsNumber("3.5"), 3.5);
    EXPECT_EQ(parseSettingsNumber("3,5"), std::nullopt);
    QLocale::setDefault(saved);
}

TEST(SettingsNumber, ParsesBareNumbers)
{
    EXPECT_EQ(parseSettingsNumber("5"), 5.0);
    EXPECT_EQ(parseSettingsNumber("-5"), -5.0);
    EXPECT_EQ(parseSettingsNumber("+5"), 5.0);
    EXPECT_EQ(parseSettingsNumber("3.5"), 3.5);
    EXPECT_EQ(parseSettingsNumber(".5"), 0.5);
    EXPECT_EQ(parseSettingsNumber("-.5"), -0.5);
    EXPECT_EQ(parseSettingsNumber("5."), 5.0);
    EXPECT_EQ(parseSettingsNumber("  14.025 "), 14.025);
    EXPECT_EQ(parseSettingsNumber("1e3"), 1000.0);
    EXPECT_EQ(parseSettingsNumber("0"), 0.0);
}

TEST(SettingsNumber, RejectsNonNumbers)
{
    EXPECT_EQ(parseSettingsNumber(""), std::nullopt);
    EXPECT_EQ(parseSettingsNumber("  "), std::nullopt);
    EXPECT_EQ(parseSettingsNumber("."), std::nullopt);
    EXPECT_EQ(parseSettingsNumber("-"), std::nullopt);
    EXPECT_EQ(parseSettingsNumber("abc"), std::nullopt);
    EXPECT_EQ(parseSettingsNumber("5x"), std::nullopt);
    EXPECT_EQ(parseSettingsNumber("1.2.3"), std::nullopt);
    EXPECT_EQ(parseSettingsNumber("1,5"), std::nullopt);
    EXPECT_EQ(parseSettingsNumber("\"5\""), std::nullopt);
    EXPECT_EQ(parseSettingsNumber("inf"), std::nullopt);
    EXPECT_EQ(parseSettingsNumber("nan"), std::nullopt);
    EXPECT_EQ(parseSettingsNumber("0x10"), std::nullopt);
    EXPECT_EQ(parseSettingsNumber("- 5"), std::nullopt);
}
