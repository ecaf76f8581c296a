#include "log/bearing.h"

#include <algorithm>
#include <cmath>

namespace velk {

namespace {

constexpr double degreesPerRadian = 57.29577951;
constexpr double earthRadiusMiles = 3955.75791314991;
// Closer than this to 1 the two points coincide or are antipodes (a few metres apart).
constexpr double degenerate = 1e-12;
constexpr double nearPole = 1e-9;

} // namespace

std::optional<BearingDistance> bearingAndDistance(const GeoPoint& own, const GeoPoint& other)
{
    const double lat1 = own.latitude / degreesPerRadian;
    const double lat2 = other.latitude / degreesPerRadian;
    const double dLon = (own.longitude - other.longitude) / degreesPerRadian;

    const double x = std::sin(lat2) * std::sin(lat1) + std::cos(lat2) * std::cos(lat1) * std::cos(dLon);
    if (!std::isfinite(x) || 1.0 - std::abs(x) < degenerate) {
        return std::nullopt;
    }
    // At a pole every direction is south (or north).
    if (std::abs(std::cos(lat1)) < nearPole) {
        return std::nullopt;
    }
    const double d = std::acos(x);
    const double across = std::cos(lat1) * std::sin(d);
    // Rounding can push the cosine of a due north or south bearing just past 1.
    const double y = std::clamp((std::sin(lat2) - std::sin(lat1) * x) / across, -1.0, 1.0);
    const double b = std::acos(y) * degreesPerRadian;

    BearingDistance result;
    result.bearing = std::sin(dLon) > 0 ? b : 360.0 - b;
    result.miles = d * earthRadiusMiles;
    return result;
}

} // namespace velk
