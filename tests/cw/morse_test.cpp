#include "cw/morse.h"

#include <gtest/gtest.h>

namespace velk {
namespace {

constexpr std::int64_t ms = 1'000'000;

TEST(MorseTable, PatternsEndInThreeUnitsOfSilenceAndLowerCaseKeysAsUpper)
{
    for (const char c : QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,?/-[];\\=")) {
        const QString pattern = morsePattern(QChar::fromLatin1(c));
        ASSERT_FALSE(pattern.isEmpty()) << c;
        EXPECT_TRUE(pattern.endsWith(QStringLiteral("1000"))) << c;
    }
    EXPECT_EQ(morsePattern(QLatin1Char('q')), morsePattern(QLatin1Char('Q')));
    EXPECT_EQ(morsePattern(QLatin1Char('-')), morsePattern(QLatin1Char('=')));
    EXPECT_EQ(morsePattern(QLatin1Char('%')), QString());
    EXPECT_EQ(morsePattern(QLatin1Char('!')), QString());
    EXPECT_EQ(morsePattern(QChar(0xE9)), QString()); // e acute is not e
}

TEST(MorseTable, ProsignsAreTheirLetterPairsRunTogether)
{
    EXPECT_EQ(morsePattern(QLatin1Char('[')), QStringLiteral("1011101011101000"));          // AR
    EXPECT_EQ(morsePattern(QLatin1Char(']')), QStringLiteral("101010111010111000"));        // SK
    EXPECT_EQ(morsePattern(QLatin1Char(';')), QStringLiteral("111010111011101000"));        // KN
    EXPECT_EQ(morsePattern(QLatin1Char('\\')), QStringLiteral("111010111010101110101000")); // CL
    EXPECT_EQ(morsePattern(QLatin1Char('=')), QStringLiteral("1110101010111000"));          // BT
}

TEST(MorseSchedule, EAtTwentyWpmIsSixtyMsDownThenOneHundredEightyUp)
{
    EXPECT_EQ(unitNs(20), 60 * ms);
    const std::vector<TimedChange> expected{{0, true}, {60 * ms, false}};
    EXPECT_EQ(textSchedule(QStringLiteral("E"), 20, 0), expected);
    EXPECT_EQ(textUnits(QStringLiteral("E"), 0) * unitNs(20), 240 * ms);
}

TEST(MorseSchedule, ParisWithASpaceIsFiftyFourUnits)
{
    EXPECT_EQ(textUnits(QStringLiteral("PARIS"), 0), 46);
    EXPECT_EQ(textUnits(QStringLiteral("PARIS "), 0), 54);
    // The word's elements: P = .--.
    const std::vector<TimedChange> schedule = textSchedule(QStringLiteral("PARIS "), 13, 0);
    const std::int64_t unit = unitNs(13);
    ASSERT_GE(schedule.size(), 8u);
    EXPECT_EQ(schedule[0], (TimedChange{0, true}));
    EXPECT_EQ(schedule[1], (TimedChange{1 * unit, false}));
    EXPECT_EQ(schedule[2], (TimedChange{2 * unit, true}));
    EXPECT_EQ(schedule[3], (TimedChange{5 * unit, false}));
    // S ends at unit 43; nothing after it.
    EXPECT_EQ(schedule.back(), (TimedChange{43 * unit, false}));
    // Integer units: no drift over a long text.
    const QString text = QStringLiteral("PARIS ").repeated(100);
    EXPECT_EQ(textSchedule(text, 13, 0).back().atNs, std::int64_t{99 * 54 + 43} * (1'200'000'000 / 13));
}

TEST(MorseSchedule, WordSpaceAdjustsBothWays)
{
    // Gap between two words: three units ending the last character plus the space.
    auto gap = [](int wordSpace) { return 3 + textUnits(QStringLiteral(" "), wordSpace); };
    EXPECT_EQ(gap(0), 11);
    EXPECT_EQ(gap(2), 13);
    EXPECT_EQ(gap(-3), 8);
    EXPECT_EQ(gap(-8), 3);
    EXPECT_EQ(gap(-20), 3); // never below the character gap
    EXPECT_EQ(textUnits(QStringLiteral("E E"), -8), 8);
}

TEST(MorseSchedule, CharactersOutsideTheTableTakeNoTime)
{
    EXPECT_EQ(textUnits(QStringLiteral("%!#"), 0), 0);
    EXPECT_EQ(textSchedule(QStringLiteral("E%E"), 20, 0), textSchedule(QStringLiteral("EE"), 20, 0));
}

TEST(MorseSchedule, SpeedIsBoundedAndNeverDividesByZero)
{
    EXPECT_EQ(unitNs(0), unitNs(5));
    EXPECT_EQ(unitNs(-40), unitNs(5));
    EXPECT_EQ(unitNs(500), unitNs(99));
    EXPECT_EQ(boundedWpm(25), 25);
}

TEST(MessagePlaceholders, CallReportAndNumberAreReplacedInOrder)
{
    struct Case
    {
        const char* message;
        const char* call;
        const char* sent;
    };
    const Case cases[] = {
        {"$ TU", "  K1ABC  ", "K1ABC TU"},
        {"* *", "", "5NN 5NN"},
        {"TU #", "K1ABC", "TU "},
        {"CQ TEST $$", "", "CQ TEST "},
        {"$ * LEE MA !", "W1AW", "W1AW 5NN LEE MA !"},
        {"", "W1AW", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(expandMessage(QString::fromLatin1(c.message), QString::fromLatin1(c.call)),
                  QString::fromLatin1(c.sent))
            << c.message;
    }
}

TEST(LoopCalibration, AnElapsedTimeOfZeroDoesNotDivideByZero)
{
    EXPECT_EQ(loopOffsetFrom(5'000'000, 0), 300'000'000'000.0);
    EXPECT_EQ(loopOffsetFrom(5'000'000, 60 * ms), 5'000'000.0);
    EXPECT_EQ(loopOffsetFrom(5'000'000, 120 * ms), 2'500'000.0);
    EXPECT_EQ(loopOffsetFrom(0, 0), 0.0);
    EXPECT_EQ(loopOffsetFrom(-1, -1), 0.0);
}

} // namespace
} // namespace velk
