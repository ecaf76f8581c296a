#include "spots/spotring.h"

#include <gtest/gtest.h>

namespace velk {
namespace {

const QDateTime at = QDateTime(QDate(2026, 11, 28), QTime(12, 0), Qt::UTC);

TEST(SpotRing, NewestSpotTakesTheLastSlotAndTheOldestFallsOut)
{
    SpotRing ring;
    for (int i = 0; i < 51; ++i) {
        ring.add(QStringLiteral("K%1AA").arg(i % 10) + QChar('A' + i / 10), 14.0 + i / 1000.0, at.addSecs(i));
    }
    EXPECT_EQ(ring.slot(SpotRing::newestSlot).call, QStringLiteral("K0AAF"));
    EXPECT_EQ(ring.slot(0).call, QStringLiteral("K1AAA"));
    EXPECT_DOUBLE_EQ(ring.slot(0).frequencyMhz, 14.001);
}

TEST(SpotRing, ASecondSpotOfTheSameCallWithdrawsTheFirstOnly)
{
    SpotRing ring;
    ring.add(QStringLiteral("DL1ABC"), 14.025, at);
    ring.add(QStringLiteral("W1AW"), 7.010, at);
    ring.add(QStringLiteral("dl1abc"), 21.025, at);
    EXPECT_FALSE(ring.slot(47).isShown());
    EXPECT_TRUE(ring.slot(48).isShown());
    EXPECT_DOUBLE_EQ(ring.slot(49).frequencyMhz, 21.025);
    ring.withdraw(49);
    EXPECT_FALSE(ring.slot(49).isShown());
}

TEST(SpotRing, CallPrefixFollowsTheSlashRules)
{
    const std::pair<const char*, const char*> cases[] = {
        {"K1", ""},
        {"W1AW", "W1"},
        {"DL1ABC", "DL1"},
        {"RAEM", "RAEM"},
        {"DL/W1AW", "DL"},
        {"W1AW/4", "W4"},
        {"W1AW/MM", "MM"},
        {"VK9/W1AW", "VK9"},
        // Odd lengths: the slash just before the middle still marks a prefix in front.
        {"EA8/K1A", "EA8"},
        {"VP2E/K1AB", "VP2E"},
        {"K1A/EA8", "K1A"},
        {"K1ABC/EA8", "EA8"},
        {"F/K1A", "F"},
        {"K1ABC/P", "P"},
        {"K1AB/4", "K4"},
        {"AB/K1A", "AB"},
    };
    for (const auto& [call, prefix] : cases) {
        EXPECT_EQ(callPrefix(QString::fromLatin1(call)), QString::fromLatin1(prefix)) << call;
    }
}

} // namespace
} // namespace velk
