#include "log/stationtime.h"

#include <QTimeZone>
#include <cmath>

namespace velk {

QDateTime naiveTime(const QDateTime& moment)
{
    return QDateTime(moment.date(), moment.time(), Qt::UTC);
}

QDateTime localNow(const Clock& clock)
{
    return naiveTime(clock.localNow());
}

QDateTime stationUtcNow(const Clock& clock, float utcOffsetHours)
{
    return localNow(clock).addSecs(std::lround(utcOffsetHours * 3600.0));
}

std::optional<UtcOffsetAdvice> utcOffsetAdvice(const Clock& clock, float configuredHours)
{
    UtcOffsetAdvice advice;
    advice.local = localNow(clock);
    advice.utc = naiveTime(clock.utcNow());
    const double minutes = std::round(advice.local.secsTo(advice.utc) / 60.0);
    advice.recommendedHours = std::round(minutes / 60.0 * 100.0) / 100.0;
    if (std::abs(advice.recommendedHours - configuredHours) < 0.005) {
        return std::nullopt;
    }
    return advice;
}

} // namespace velk
