#include "log/bearing.h"

#include <cmath>
#include <gtest/gtest.h>

namespace velk {
namespace {

constexpr GeoPoint origin{0.0, 0.0};

TEST(Bearing, AlongTheEquatorEastIs90AndWestIs270)
{
    // Longitudes are positive west: 90 degrees east is -90.
    const auto east = bearingAndDistance(origin, {0.0, -90.0});
    ASSERT_TRUE(east);
    EXPECT_NEAR(east->bearing, 90.0, 1e-6);
    EXPECT_NEAR(east->miles, 6213.69, 0.01);

    const auto west = bearingAndDistance(origin, {0.0, 90.0});
    ASSERT_TRUE(west);
    EXPECT_NEAR(west->bearing, 270.0, 1e-6);

    const auto oneDegree = bearingAndDistance(origin, {0.0, -1.0});
    ASSERT_TRUE(oneDegree);
    EXPECT_NEAR(oneDegree->miles, 69.04, 0.01);
}

TEST(Bearing, MatchesAnIndependentGreatCircle)
{
    // Newington, Connecticut to London and to Sydney, against a haversine on the same sphere.
    const GeoPoint newington{41.714775, 72.727260};
    const auto london = bearingAndDistance(newington, {51.5074, 0.1278});
    ASSERT_TRUE(london);
    EXPECT_NEAR(london->bearing, 52.22, 0.01);
    EXPECT_NEAR(london->miles, 3363.57, 0.05);

    const auto sydney = bearingAndDistance(newington, {-33.8688, -151.2093});
    ASSERT_TRUE(sydney);
    EXPECT_NEAR(sydney->bearing, 268.20, 0.01);
    EXPECT_NEAR(sydney->miles, 9997.25, 0.05);
}

TEST(Bearing, DueNorthAndSouthAreNumbers)
{
    const auto north = bearingAndDistance(origin, {10.0, 0.0});
    ASSERT_TRUE(north);
    EXPECT_TRUE(std::isfinite(north->bearing));
    EXPECT_NEAR(std::fmod(north->bearing, 360.0), 0.0, 1e-6);
    EXPECT_NEAR(north->miles, 690.41, 0.01);

    const auto south = bearingAndDistance({40.0, 75.0}, {-20.0, 75.0});
    ASSERT_TRUE(south);
    EXPECT_NEAR(south->bearing, 180.0, 1e-6);
}

TEST(Bearing, NoDirectionAtTheOwnPositionItsAntipodeOrAPole)
{
    EXPECT_FALSE(bearingAndDistance({45.0, 93.0}, {45.0, 93.0}));
    EXPECT_FALSE(bearingAndDistance({45.0, 93.0}, {-45.0, -87.0}));
    EXPECT_FALSE(bearingAndDistance({90.0, 0.0}, {10.0, 20.0}));
    EXPECT_FALSE(bearingAndDistance(origin, {std::nan(""), 0.0}));
}

} // namespace
} // namespace velk
