#include "cw/linemorsesender.h"

#include "common/diagnostics.h"
#include "common/platform/keyports.h"
#include "cw/morse.h"

namespace velk {

LineMorseSender::LineMorseSender(KeyTiming& timing, RealtimePriority* priority, QObject* parent)
    : MorseSender(parent), m_timing(timing), m_priorityService(priority)
{
}

LineMorseSender::~LineMorseSender()
{
    KeyLine* line = nullptr;
    {
        std::lock_guard lock(m_mutex);
        m_buffer.clear();
        m_quit = true;
        m_abort = true;
        line = m_line;
    }
    m_changed.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
    if (line) {
        line->set(false);
    }
}

void LineMorseSender::startThread()
{
    if (!m_thread.joinable()) {
        m_thread = std::thread([this] { keyingLoop(); });
    }
}

void LineMorseSender::append(const QString& text)
{
    if (text.isEmpty()) {
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        m_buffer += text;
        m_sending = true;
        if (!m_running) {
            m_running = true;
            m_abort = false;
        }
    }
    startThread();
    m_changed.notify_all();
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
    {
        std::lock_guard lock(m_mutex);
        m_line = line;
    }
    // The thread takes its priority now, so the first element is not kept waiting for it.
    if (line) {
        startThread();
    }
}

void LineMorseSender::setWordSpace(int units)
{
    std::lock_guard lock(m_mutex);
    m_wordSpace = std::max(units, minimumWordSpace);
}

ThreadPriority LineMorseSender::priority() const
{
    std::lock_guard lock(m_mutex);
    return m_priority;
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
        std::unique_lock lock(m_mutex);
        m_buffer.clear();
        if (m_running) {
            m_abort = true;
        }
        line = m_line;
        m_changed.wait(lock, [this] { return !m_running; });
    }
    if (line) {
        line->set(false);
    }
}

void LineMorseSender::waitUntilDone()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_running; });
}

void LineMorseSender::keyingLoop()
{
    const ThreadPriority obtained = m_priorityService ? m_priorityService->raiseCurrentThread(realtimeLevel)
                                                      : ThreadPriority{ThreadPriority::Source::Normal, 0};
    std::unique_lock lock(m_mutex);
    m_priority = obtained;
    QMetaObject::invokeMethod(this, "priorityChanged", Qt::QueuedConnection);
    for (;;) {
        m_changed.wait(lock, [this] { return m_quit || m_running; });
        if (m_quit) {
            return;
        }
        lock.unlock();
        keyRun();
        lock.lock();
    }
}

// Keys the buffer until it is empty, the run is stopped or the line fails.
void LineMorseSender::keyRun()
{
    std::int64_t originNs = m_timing.nowNs();
    for (;;) {
        QChar character;
        {
            std::lock_guard lock(m_mutex);
            if (m_buffer.isEmpty() || m_abort) {
                endRun(false);
                return;
            }
            character = m_buffer.front();
            m_buffer.remove(0, 1);
        }
        if (!keyCharacter(character, originNs)) {
            std::lock_guard lock(m_mutex);
            m_buffer.clear();
            endRun(true);
            return;
        }
        QMetaObject::invokeMethod(this, "reportCharacter", Qt::QueuedConnection, Q_ARG(QChar, character));
    }
}

// Keys one character from originNs and moves originNs to its end. False when the line failed.
bool LineMorseSender::keyCharacter(QChar character, std::int64_t& originNs)
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
        waitUntil(originNs, change.units * unit);
        if (m_abort) {
            line->set(false);
            return true;
        }
        if (!line->set(change.down)) {
            line->set(false);
            return false;
        }
    }
    waitUntil(originNs, schedule.lengthUnits * unit);
    originNs += schedule.lengthUnits * unit;
    return true;
}

// Sleeps to originNs + offsetNs. A late wake-up (a stall, a busy machine) moves the rest of the
// schedule later by the lateness, so no element or gap is ever keyed shorter than its length.
void LineMorseSender::waitUntil(std::int64_t& originNs, std::int64_t offsetNs)
{
    const std::int64_t deadline = originNs + offsetNs;
    m_timing.sleepUntilNs(deadline);
    const std::int64_t lateNs = m_timing.nowNs() - deadline;
    if (lateNs > 0) {
        originNs += lateNs;
        if (lateNs >= lateTraceNs) {
            qCDebug(velkCw) << "keying woke" << lateNs / 1e6 << "ms late; the rest follows that much later";
        }
    }
}

// Called with the mutex held. The end is reported before anyone waiting for it is woken, so the
// report is there for them.
void LineMorseSender::endRun(bool lineFailed)
{
    m_running = false;
    m_changed.notify_all();
    QMetaObject::invokeMethod(this, "reportEnd", Qt::QueuedConnection, Q_ARG(bool, lineFailed));
}

void LineMorseSender::reportCharacter(QChar character)
{
    emit characterSent(character);
}

void LineMorseSender::reportEnd(bool lineFailed)
{
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
}

} // namespace velk
