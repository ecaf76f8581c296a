#pragma once
// OperatingClock: the operator's "Time On" / "Time Off" clock. Adds the time since "Time On" to
// the total stored in the preferences; the window's one-second tick brings it up to date.
#include <QDateTime>

namespace velk {

class OperatingClock
{
public:
    bool isRunning() const { return m_running; }
    // The total as last brought up to date, in seconds.
    double seconds() const { return m_seconds; }

    // Shows a stored total (start-up, a new log) without starting or stopping the clock.
    void show(double storedSeconds) { m_seconds = storedSeconds; }
    void start(const QDateTime& localNow);
    // "Time Off": stops and returns the total to store.
    double stop();
    // While running: the stored total plus the time since "Time On".
    void update(double storedSeconds, const QDateTime& localNow);

private:
    bool m_running = false;
    QDateTime m_startedAt;
    double m_seconds = 0.0;
};

} // namespace velk
