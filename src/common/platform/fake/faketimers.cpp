#include "common/platform/fake/faketimers.h"

#include <algorithm>
#include <limits>

namespace velk {

class FakeTimers::Timer : public OneShotTimer
{
public:
    Timer(std::shared_ptr<State> state, const QString& name) : m_state(std::move(state))
    {
        m_self = m_state->timers.emplace(name, this);
    }
    ~Timer() override { m_state->timers.erase(m_self); }
    void start(int ms) override
    {
        active = true;
        due = m_state->now + ms;
    }
    void stop() override { active = false; }
    bool isActive() const override { return active; }

    bool active = false;
    std::int64_t due = 0;

private:
    std::shared_ptr<State> m_state;
    std::multimap<QString, Timer*>::iterator m_self;
};

TimerFactory FakeTimers::factory()
{
    return [this](const QString& name) -> std::unique_ptr<OneShotTimer> {
        return std::make_unique<Timer>(m_state, name);
    };
}

void FakeTimers::advanceMs(std::int64_t ms)
{
    const std::int64_t end = m_state->now + ms;
    for (;;) {
        Timer* next = nullptr;
        for (const auto& [name, timer] : m_state->timers) {
            if (timer->active && timer->due <= end && (next == nullptr || timer->due < next->due)) {
                next = timer;
            }
        }
        if (next == nullptr) {
            break;
        }
        m_state->now = std::max(m_state->now, next->due);
        next->active = false;
        if (next->onTimeout) {
            next->onTimeout();
        }
    }
    m_state->now = end;
}

bool FakeTimers::isActive(const QString& name) const
{
    const auto [first, last] = m_state->timers.equal_range(name);
    for (auto it = first; it != last; ++it) {
        if (it->second->active) {
            return true;
        }
    }
    return false;
}

std::int64_t FakeTimers::dueMs(const QString& name) const
{
    const auto [first, last] = m_state->timers.equal_range(name);
    for (auto it = first; it != last; ++it) {
        if (it->second->active) {
            return it->second->due;
        }
    }
    return std::numeric_limits<std::int64_t>::max();
}

} // namespace velk
