#pragma once
// Clock: the station's local time, UTC and a millisecond tick. Reads the system clock;
// tests drive a fake clock by hand.
#include <QDateTime>
#include <cstdint>

namespace velk {

class Clock
{
public:
    virtual ~Clock() = default;
    // Local wall-clock time, as the operator's computer shows it (no time zone attached).
    virtual QDateTime localNow() const = 0;
    virtual QDateTime utcNow() const = 0;
    // Monotonic milliseconds, for measuring waits.
    virtual std::int64_t tickMs() const = 0;
};

} // namespace velk
