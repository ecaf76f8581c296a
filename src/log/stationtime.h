#pragma once
// The station's clocks: local wall-clock time and the station's UTC, which is local time plus the
// offset the operator configured. Reads the platform clock only.
#include "common/platform/clock.h"

#include <QDateTime>

namespace velk {

// Wall-clock value without a time zone, so adding an offset never trips over daylight saving.
QDateTime naiveTime(const QDateTime& moment);
QDateTime localNow(const Clock& clock);
QDateTime stationUtcNow(const Clock& clock, float utcOffsetHours);

} // namespace velk
