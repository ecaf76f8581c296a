#pragma once
// The 63 states, provinces and territories that count as multipliers, with their full names.
#include <QString>
#include <array>

namespace velk {

struct Location
{
    const char* abbreviation;
    const char* name;
};

inline constexpr int locationCount = 63;
// Index order 1..63 is the order of the multiplier grid.
const std::array<Location, locationCount>& locationTable();
// 1..63, or 0 when the text is not one of the abbreviations (case-insensitive).
int locationIndex(const QString& abbreviation);
// "NS" for a VE1 call, "NWT" for VE8 ...; empty when the call's first three characters name no
// Canadian province.
QString provinceForCall(const QString& call);

} // namespace velk
