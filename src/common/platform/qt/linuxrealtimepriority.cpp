#include "common/platform/qt/linuxrealtimepriority.h"

#include "common/diagnostics.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <optional>
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace velk {

namespace {

const QString service = QStringLiteral("org.freedesktop.RealtimeKit1");
const QString path = QStringLiteral("/org/freedesktop/RealtimeKit1");
constexpr int busTimeoutMs = 2000;

std::optional<qlonglong> kitProperty(QDBusConnection& bus, const QString& name)
{
    QDBusMessage get = QDBusMessage::createMethodCall(
        service, path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << service << name;
    const QDBusMessage reply = bus.call(get, QDBus::Block, busTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        qCDebug(velkCw) << "RealtimeKit property" << name << "unavailable:" << reply.errorMessage();
        return std::nullopt;
    }
    bool ok = false;
    const qlonglong value = reply.arguments().constFirst().value<QDBusVariant>().variant().toLongLong(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

// The service refuses a process whose threads could run real-time without limit: the CPU time a
// real-time thread may take without sleeping must be capped at or below the service's maximum.
bool capRealtimeCpu(qlonglong maximumUs)
{
    rlimit limit{};
    if (getrlimit(RLIMIT_RTTIME, &limit) != 0) {
        return false;
    }
    const auto cap = static_cast<rlim_t>(maximumUs);
    if (limit.rlim_max == RLIM_INFINITY || limit.rlim_max > cap) {
        limit.rlim_max = cap;
    }
    if (limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur > limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
    }
    return setrlimit(RLIMIT_RTTIME, &limit) == 0;
}

std::optional<int> askRealtimeKit(int level)
{
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        qCDebug(velkCw) << "no system bus for RealtimeKit";
        return std::nullopt;
    }
    const std::optional<qlonglong> maximumLevel = kitProperty(bus, QStringLiteral("MaxRealtimePriority"));
    const std::optional<qlonglong> maximumCpuUs = kitProperty(bus, QStringLiteral("RTTimeUSecMax"));
    if (!maximumLevel || !maximumCpuUs || *maximumLevel < 1 || !capRealtimeCpu(*maximumCpuUs)) {
        return std::nullopt;
    }
    const int granted = static_cast<int>(std::min<qlonglong>(level, *maximumLevel));
    QDBusMessage make =
        QDBusMessage::createMethodCall(service, path, service, QStringLiteral("MakeThreadRealtime"));
    make << QVariant::fromValue(static_cast<qulonglong>(syscall(SYS_gettid)))
         << QVariant::fromValue(static_cast<uint>(granted));
    const QDBusMessage reply = bus.call(make, QDBus::Block, busTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        qCDebug(velkCw) << "RealtimeKit refused:" << reply.errorName() << reply.errorMessage();
        return std::nullopt;
    }
    const int policy = sched_getscheduler(0) & ~SCHED_RESET_ON_FORK;
    if (policy != SCHED_FIFO && policy != SCHED_RR) {
        return std::nullopt;
    }
    return granted;
}

} // namespace

ThreadPriority LinuxRealtimePriority::raiseCurrentThread(int level)
{
    sched_param priority{};
    priority.sched_priority = level;
    if (pthread_setschedparam(pthread_self(), SCHED_FIFO, &priority) == 0) {
        qCDebug(velkCw) << "keying thread runs SCHED_FIFO at priority" << level;
        return {ThreadPriority::Source::Scheduler, level};
    }
    if (const std::optional<int> granted = askRealtimeKit(level)) {
        qCDebug(velkCw) << "keying thread runs real-time at priority" << *granted << "through RealtimeKit";
        return {ThreadPriority::Source::RealtimeKit, *granted};
    }
    qCDebug(velkCw) << "keying thread runs at normal priority: real-time was refused";
    return {ThreadPriority::Source::Normal, 0};
}

} // namespace velk
