#pragma once
// Contact rates: how many contacts the log holds from the last 20 and the last 60 minutes.
// Reads ContactLog only.
#include "log/contactlog.h"

#include <QDateTime>
#include <optional>

namespace velk {

struct RateTally
{
    int last20 = 0; // contacts less than 20 minutes old
    int last60 = 0; // contacts less than 60 minutes old
    // Contacts per hour as the displays show them.
    int perHour20() const { return last20 * 3; }
    int perHour60() const { return last60; }
};

// Walks back from the newest contact to the first one an hour old or more. `now` is the
// station's UTC as a naive value (the record times are naive too). Nothing when a record in
// that stretch has a date or time that cannot be read, so the displays keep what they showed.
std::optional<RateTally> rateTally(const ContactLog& log, const QDateTime& now);

} // namespace velk
