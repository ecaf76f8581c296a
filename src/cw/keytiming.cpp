#include "cw/keytiming.h"

#include <cerrno>
#include <ctime>

namespace velk {

std::int64_t MonotonicKeyTiming::nowNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

void MonotonicKeyTiming::sleepUntilNs(std::int64_t deadlineNs)
{
    timespec deadline{};
    deadline.tv_sec = static_cast<time_t>(deadlineNs / 1'000'000'000);
    deadline.tv_nsec = static_cast<long>(deadlineNs % 1'000'000'000);
    // Absolute deadlines: a signal that wakes the sleep early costs nothing on resuming.
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
}

} // namespace velk
