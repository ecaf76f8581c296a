#pragma once
// Timers on fake time: tests advance the time by hand and the timers due by then fire in order.
#include "common/platform/oneshottimer.h"

#include <map>
#include <memory>

namespace velk {

class FakeTimers
{
public:
    FakeTimers() = default;
    FakeTimers(const FakeTimers&) = delete;
    FakeTimers& operator=(const FakeTimers&) = delete;

    // Makes timers that run on this fake time.
    TimerFactory factory();
    // Moves the time on, firing every timer that falls due on the way.
    void advanceMs(std::int64_t ms);
    std::int64_t nowMs() const { return m_state->now; }
    // Whether the named timer is running, and when it will fire (fake time).
    bool isActive(const QString& name) const;
    std::int64_t dueMs(const QString& name) const;

private:
    class Timer;
    // Shared with the timers, which may outlive this object in a test's teardown.
    struct State
    {
        std::int64_t now = 0;
        std::multimap<QString, Timer*> timers; // alive timers by name
    };
    std::shared_ptr<State> m_state = std::make_shared<State>();
};

} // namespace velk
