#pragma once
// The station's clocks: local wall-clock time and the station's UTC, which is local time plus the
// offset the operator configured. Reads the platform clock only.
#include "common/platform/clock.h"

#include <QDateTime>
#include <optional>

namespace velk {

// Wall-clock value without a time zone, so adding an offset never trips over daylight saving.
QDateTime naiveTime(const QDateTime& moment);
QDateTime localNow(const Clock& clock);
QDateTime stationUtcNow(const Clock& clock, float utcOffsetHours);

// The UTC offset the computer's clocks suggest, when it differs from the configured one.
struct UtcOffsetAdvice
{
    QDateTime local;
    QDateTime utc;
    double recommendedHours = 0; // rounded to the minute, then to two decimals
};
std::optional<UtcOffsetAdvice> utcOffsetAdvice(const Clock& clock, float configuredHours);

} // namespace velk
