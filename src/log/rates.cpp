#include "log/rates.h"

#include "common/formats.h"

namespace velk {

std::optional<RateTally> rateTally(const ContactLog& log, const QDateTime& now)
{
    constexpr qint64 twentyMinutes = 20 * 60;
    constexpr qint64 oneHour = 60 * 60;
    // Both sides without a zone, so a daylight-saving change never shifts an age.
    const qint64 nowSecond = QDateTime(now.date(), now.time(), Qt::UTC).toSecsSinceEpoch();
    RateTally tally;
    const auto& records = log.records();
    for (auto it = records.rbegin(); it != records.rend(); ++it) {
        const auto second = parseRecordSecond(it->date, it->time);
        if (!second) {
            return std::nullopt;
        }
        const qint64 age = nowSecond - *second;
        if (age >= oneHour) {
            break;
        }
        ++tally.last60;
        if (age < twentyMinutes) {
            ++tally.last20;
        }
    }
    return tally;
}

} // namespace velk
