#include "common/bands.h"

#include "common/qtprinters.h"

#include <gtest/gtest.h>

using namespace velk;

TEST(Bands, TextsInIndexOrder)
{
    EXPECT_EQ(bandTexts(), (QStringList{"160", "80", "40", "20", "15", "10", "6"}));
    EXPECT_EQ(bandTexts().size(), bandCount);
}

TEST(Bands, IndexIsOneBasedAndCaseInsensitive)
{
    EXPECT_EQ(bandIndex("160"), 1);
    EXPECT_EQ(bandIndex("80"), 2);
    EXPECT_EQ(bandIndex("10"), 6);
    EXPECT_EQ(bandIndex("6"), 7);
    EXPECT_EQ(bandIndex("2"), 0);
    EXPECT_EQ(bandIndex(""), 0);
    EXPECT_EQ(bandIndex("160m"), 0);
}

TEST(Bands, FrequencyInsideEachRange)
{
    EXPECT_EQ(bandForFrequency(1.8f), "160");
    EXPECT_EQ(bandForFrequency(1.85f), "160");
    EXPECT_EQ(bandForFrequency(3.5f), "80");
    EXPECT_EQ(bandForFrequency(4.0f), "80");
    EXPECT_EQ(bandForFrequency(7.0f), "40");
    EXPECT_EQ(bandForFrequency(7.3f), "40");
    EXPECT_EQ(bandForFrequency(14.0f), "20");
    EXPECT_EQ(bandForFrequency(14.025f), "20");
    EXPECT_EQ(bandForFrequency(14.35f), "20");
    EXPECT_EQ(bandForFrequency(21.0f), "15");
    EXPECT_EQ(bandForFrequency(21.45f), "15");
    EXPECT_EQ(bandForFrequency(28.0f), "10");
    EXPECT_EQ(bandForFrequency(29.7f), "10");
}

TEST(Bands, BoundsAreExclusive)
{
    EXPECT_EQ(bandForFrequency(1.7999f), std::nullopt);
    EXPECT_EQ(bandForFrequency(2.0001f), std::nullopt);
    EXPECT_EQ(bandForFrequency(3.4999f), std::nullopt);
    EXPECT_EQ(bandForFrequency(4.0001f), std::nullopt);
    EXPECT_EQ(bandForFrequency(6.9999f), std::nullopt);
    EXPECT_EQ(bandForFrequency(7.3001f), std::nullopt);
    EXPECT_EQ(bandForFrequency(13.9999f), std::nullopt);
    EXPECT_EQ(bandForFrequency(14.3501f), std::nullopt);
    EXPECT_EQ(bandForFrequency(20.9999f), std::nullopt);
    EXPECT_EQ(bandForFrequency(21.4501f), std::nullopt);
    EXPECT_EQ(bandForFrequency(27.9999f), std::nullopt);
    EXPECT_EQ(bandForFrequency(29.7001f), std::nullopt);
}

TEST(Bands, OutsideEveryRangeAndSixMetresNeverFromFrequency)
{
    EXPECT_EQ(bandForFrequency(0.0f), std::nullopt);
    EXPECT_EQ(bandForFrequency(-14.0f), std::nullopt);
    EXPECT_EQ(bandForFrequency(10.1f), std::nullopt);
    EXPECT_EQ(bandForFrequency(50.1f), std::nullopt);
    EXPECT_EQ(bandForFrequency(52.0f), std::nullopt);
    EXPECT_EQ(bandForFrequency(144.2f), std::nullopt);
}

TEST(Bands, NextBandWrapsAndSkipsSixMetres)
{
    EXPECT_EQ(nextBand("160"), "80");
    EXPECT_EQ(nextBand("80"), "40");
    EXPECT_EQ(nextBand("40"), "20");
    EXPECT_EQ(nextBand("20"), "15");
    EXPECT_EQ(nextBand("15"), "10");
    EXPECT_EQ(nextBand("10"), "160");
    EXPECT_EQ(nextBand("6"), std::nullopt);
    EXPECT_EQ(nextBand("2"), std::nullopt);
    EXPECT_EQ(nextBand(""), std::nullopt);
}
