#include "log/operatingclock.h"

#include <cmath>

namespace velk {

void OperatingClock::start(const QDateTime& localNow)
{
    m_startedAt = localNow;
    m_running = true;
}

double OperatingClock::stop()
{
    m_running = false;
    return m_seconds;
}

void OperatingClock::update(double storedSeconds, const QDateTime& localNow)
{
    if (m_running) {
        m_seconds = std::abs(storedSeconds + static_cast<double>(m_startedAt.secsTo(localNow)));
    }
}

} // namespace velk
