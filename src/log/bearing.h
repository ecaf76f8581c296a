#pragma once
// Great-circle bearing and distance from the operator's station to another point, as the
// main window shows them beside the location. Pure arithmetic.
#include <optional>

namespace velk {

struct GeoPoint
{
    double latitude = 0.0;  // degrees, positive north
    double longitude = 0.0; // degrees, positive west
};

struct BearingDistance
{
    double bearing = 0.0; // degrees from true north, clockwise, up to 360
    double miles = 0.0;   // statute miles along the great circle
};

// Nothing for a point at the own position or its antipode, where no direction exists.
std::optional<BearingDistance> bearingAndDistance(const GeoPoint& own, const GeoPoint& other);

} // namespace velk
