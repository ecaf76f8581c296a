#include "common/platform/realtimepriority.h"

#include <QCoreApplication>

namespace velk {

QString describeThreadPriority(const ThreadPriority& priority)
{
    switch (priority.source) {
    case ThreadPriority::Source::NotStarted:
        return QCoreApplication::translate("velk", "not started yet");
    case ThreadPriority::Source::Normal:
        return QCoreApplication::translate("velk", "normal (real-time refused)");
    case ThreadPriority::Source::Scheduler:
        return QCoreApplication::translate("velk", "real-time, priority %1").arg(priority.level);
    case ThreadPriority::Source::RealtimeKit:
        return QCoreApplication::translate("velk", "real-time, priority %1 (through RealtimeKit)")
            .arg(priority.level);
    }
    return {};
}

} // namespace velk
