#include "cw/linemorsesender.h"

#include "common/platform/keyports.h"
#include "cw/morse.h"

#include <pthread.h>
#include <sched.h>

namespace velk {

namespace {

// Above ordinary threads, below the kernel's own real-time work.
constexpr int realtimePriority = 10;

} // namespace

LineMorseSender::LineMorseSender(KeyTiming& timing, QObject* parent) : MorseSender(parent), m_timing(timing)
{
}

LineMorseSender::~LineMorseSender()
{
    stop();
}

void LineMorseSender::append(const QString& text)
{
    if (text.isEmpty()) {
        return;
    }
    std::lock_guard lock(m_mutex);
    m_buffer += text;
    m_sending = true;
    if (m_running) {
        return;
    }
    // The previous run has handed its last report over; its thread is ending.
    if (m_worker.joinable()) {
        m_worker.join();
    }
    m_running = true;
    m_abort = false;
    m_worker = std::thread([this] { run(); });
    if (m_realtime) {
        // Raised from here at once, so a busy machine does not delay the run's first element.
        sched_param priority{};
        priority.sched_priority = realtimePriority;
        pthread_setschedparam(m_worker.native_handle(), SCHED_FIFO, &priority);
    }
}

bool LineMorseSender::removeLastUnsent()
{
    std::lock_guard lock(m_mutex);
    if (m_buffer.isEmpty()) {
        return false;
    }
    m_buffer.chop(1);
    return true;
}

void LineMorseSender::clear()
{
    std::lock_guard lock(m_mutex);
    m_buffer.clear();
}

void LineMorseSender::setSpeed(int wpm)
{
    m_wpm = boundedWpm(wpm);
}

void LineMorseSender::setLine(KeyLine* line)
{
    std::lock_guard lock(m_mutex);
    m_line = line;
}

void LineMorseSender::setWordSpace(int units)
{
    std::lock_guard lock(m_mutex);
    m_wordSpace = std::max(units, minimumWordSpace);
}

QString LineMorseSender::unsent() const
{
    std::lock_guard lock(m_mutex);
    return m_buffer;
}

void LineMorseSender::stop()
{
    KeyLine* line = nullptr;
    {
        std::lock_guard lock(m_mutex);
        m_buffer.clear();
        m_abort = true;
        line = m_line;
    }
    if (m_worker.joinable()) {
        m_worker.join();
    }
    if (line) {
        line->set(false);
    }
}

void LineMorseSender::waitUntilDone()
{
    std::thread finished;
    {
        std::lock_guard lock(m_mutex);
        finished.swap(m_worker);
    }
    if (finished.joinable()) {
        finished.join();
    }
}

void LineMorseSender::run()
{
    if (m_realtime) {
        sched_param priority{};
        priority.sched_priority = realtimePriority;
        m_realtimeGranted = pthread_setschedparam(pthread_self(), SCHED_FIFO, &priority) == 0;
    }
    std::int64_t startNs = m_timing.nowNs();
    for (;;) {
        QChar character;
        {
            std::lock_guard lock(m_mutex);
            if (m_buffer.isEmpty() || m_abort) {
                m_running = false;
                break;
            }
            character = m_buffer.front();
            m_buffer.remove(0, 1);
        }
        if (!keyCharacter(character, startNs)) {
            return;
        }
        QMetaObject::invokeMethod(
            this, [this, character] { emit characterSent(character); }, Qt::QueuedConnection);
    }
    finishRun(false);
}

// Keys one character from startNs and moves startNs to its end. False when the line failed.
bool LineMorseSender::keyCharacter(QChar character, std::int64_t& startNs)
{
    KeyLine* line = nullptr;
    int wordSpace = 0;
    {
        std::lock_guard lock(m_mutex);
        line = m_line;
        wordSpace = m_wordSpace;
    }
    if (!line) {
        return true;
    }
    const CharacterSchedule schedule = scheduleOf(character, wordSpace);
    if (schedule.lengthUnits == 0) {
        return true; // not keyed, and no time passes
    }
    const std::int64_t unit = unitNs(m_wpm);
    for (const KeyChange& change : schedule.changes) {
        m_timing.sleepUntilNs(startNs + change.units * unit);
        if (m_abort) {
            line->set(false);
            return true;
        }
        if (!line->set(change.down)) {
            line->set(false);
            finishRun(true);
            return false;
        }
    }
    startNs += schedule.lengthUnits * unit;
    m_timing.sleepUntilNs(startNs);
    return true;
}

void LineMorseSender::finishRun(bool lineFailed)
{
    if (lineFailed) {
        std::lock_guard lock(m_mutex);
        m_buffer.clear();
        m_running = false;
    }
    QMetaObject::invokeMethod(
        this,
        [this, lineFailed] {
            // A new run may have started meanwhile: it reports its own end.
            {
                std::lock_guard lock(m_mutex);
                if (m_running) {
                    return;
                }
            }
            m_sending = false;
            if (lineFailed) {
                emit failed(tr("The key line could not be switched; sending has stopped."));
            } else {
                emit idle();
            }
        },
        Qt::QueuedConnection);
}

} // namespace velk
