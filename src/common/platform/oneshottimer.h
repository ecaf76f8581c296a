#pragma once
// OneShotTimer: a single-shot wait on the GUI thread (a repeat pause, a playback watchdog). A
// QTimer on the desktop; tests make fake ones they fire by hand or by advancing fake time.
#include <QString>
#include <functional>
#include <memory>

namespace velk {

class OneShotTimer
{
public:
    virtual ~OneShotTimer() = default;
    // (Re)starts the wait; onTimeout runs once when it ends.
    virtual void start(int ms) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;

    std::function<void()> onTimeout;
};

// Makes a named timer; the name lets tests find it.
using TimerFactory = std::function<std::unique_ptr<OneShotTimer>(const QString& name)>;

// Timers on the GUI's event loop.
std::unique_ptr<OneShotTimer> makeEventLoopTimer(const QString& name);

} // namespace velk
