#pragma once
// RealtimePriority: lifts a thread that keeps time (the Morse keying thread) above ordinary work:
// through the scheduler where the process may, else through the desktop's RealtimeKit service.
#include <QString>

namespace velk {

struct ThreadPriority
{
    enum class Source { NotStarted, Normal, Scheduler, RealtimeKit };
    Source source = Source::NotStarted;
    int level = 0; // real-time priority 1-99; 0 unless real-time
    bool operator==(const ThreadPriority&) const = default;
};

// What the operator reads, e.g. "real-time, priority 10 (through RealtimeKit)".
QString describeThreadPriority(const ThreadPriority& priority);

class RealtimePriority
{
public:
    virtual ~RealtimePriority() = default;
    // Called on the thread to lift, before it keeps time; may block for a round trip to the
    // service. A refusal leaves the thread as it was and is said in the result, never shown.
    virtual ThreadPriority raiseCurrentThread(int level) = 0;
};

} // namespace velk
