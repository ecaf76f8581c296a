#pragma once
// KeyTiming: the keying worker's time source: a monotonic clock in nanoseconds and a sleep to an
// absolute deadline on it. The real one is CLOCK_MONOTONIC; tests use a clock that jumps.
#include <cstdint>

namespace velk {

class KeyTiming
{
public:
    virtual ~KeyTiming() = default;
    virtual std::int64_t nowNs() = 0;
    // Returns at or after deadlineNs (at once when it has passed).
    virtual void sleepUntilNs(std::int64_t deadlineNs) = 0;
};

class MonotonicKeyTiming : public KeyTiming
{
public:
    std::int64_t nowNs() override;
    void sleepUntilNs(std::int64_t deadlineNs) override;
};

} // namespace velk
