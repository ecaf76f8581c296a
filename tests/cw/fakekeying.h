#pragma once
// A keying clock that jumps to each deadline at once (or later, for a stall), and a key line that records
// each change with the fake time it happened at; a hook lets a test act at a given moment of the sending.
#include "common/platform/keyports.h"
#include "cw/keytiming.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

namespace velk::testing {

class JumpingKeyTiming : public KeyTiming
{
public:
    std::int64_t nowNs() override { return m_now; }
    void sleepUntilNs(std::int64_t deadlineNs) override
    {
        if (deadlineNs > m_now) {
            m_now = deadlineNs;
        }
        if (onSleep) {
            onSleep(m_now);
        }
    }
    // Runs on the worker thread after each sleep, with the time reached.
    std::function<void(std::int64_t)> onSleep;
    // A stall: the clock runs on while the thread is stopped (call from onSleep).
    void advance(std::int64_t ns) { m_now += ns; }

private:
    std::atomic<std::int64_t> m_now{1'000'000'000};
};

struct RecordedChange
{
    std::int64_t atNs;
    bool down;
};

class RecordingKeyLine : public KeyLine
{
public:
    explicit RecordingKeyLine(KeyTiming& timing) : m_timing(timing) {}
    bool set(bool down) override
    {
        std::lock_guard lock(m_mutex);
        if (failAfter == 0) {
            return false;
        }
        if (failAfter > 0) {
            --failAfter;
        }
        m_changes.push_back({m_timing.nowNs(), down});
        m_down = down;
        return true;
    }
    std::vector<RecordedChange> changes() const
    {
        std::lock_guard lock(m_mutex);
        return m_changes;
    }
    bool down() const
    {
        std::lock_guard lock(m_mutex);
        return m_down;
    }
    // Changes accepted before set() starts failing; -1 never fails.
    int failAfter = -1;

private:
    KeyTiming& m_timing;
    mutable std::mutex m_mutex;
    std::vector<RecordedChange> m_changes;
    bool m_down = false;
};

} // namespace velk::testing

namespace velk::testing {

// A keying clock whose sleeps wait until the test lets them pass, so a test can act while a
// character is being keyed. Time jumps to each deadline as a sleep passes.
class GatedKeyTiming : public KeyTiming
{
public:
    std::int64_t nowNs() override { return m_now; }
    void sleepUntilNs(std::int64_t deadlineNs) override
    {
        std::unique_lock lock(m_mutex);
        ++m_waiting;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_permits != 0; });
        if (m_permits > 0) {
            --m_permits;
        }
        --m_waiting;
        if (deadlineNs > m_now) {
            m_now = deadlineNs;
        }
    }
    // Lets n more sleeps pass; -1 lets every sleep pass from now on.
    void allow(int n)
    {
        std::lock_guard lock(m_mutex);
        m_permits = n < 0 ? -1 : m_permits + n;
        m_changed.notify_all();
    }
    // Waits until the worker sits in a sleep.
    void waitUntilBlocked()
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_waiting > 0; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_permits = 0;
    int m_waiting = 0;
    std::atomic<std::int64_t> m_now{1'000'000'000};
};

} // namespace velk::testing
