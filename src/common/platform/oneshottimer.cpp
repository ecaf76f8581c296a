#include "common/platform/oneshottimer.h"

#include <QTimer>

namespace velk {

namespace {

class EventLoopTimer : public OneShotTimer
{
public:
    explicit EventLoopTimer(const QString& name)
    {
        m_timer.setObjectName(name);
        m_timer.setSingleShot(true);
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (onTimeout) {
                onTimeout();
            }
        });
    }
    void start(int ms) override { m_timer.start(ms); }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
};

} // namespace

std::unique_ptr<OneShotTimer> makeEventLoopTimer(const QString& name)
{
    return std::make_unique<EventLoopTimer>(name);
}

} // namespace velk
