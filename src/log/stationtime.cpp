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

} // namespace velk
