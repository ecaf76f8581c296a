#pragma once
// LineMorseSender: keys Morse on a key line (serial RTS/DTR or the parallel port). One worker
// thread per run takes characters from the front of the guarded buffer and switches the line at
// absolute deadlines; the GUI thread only appends, removes unsent text and empties the buffer.
// Talks to a KeyLine (from KeyPorts) and a KeyTiming; reports by queued signals.
#include "cw/keytiming.h"
#include "cw/morsesender.h"

#include <atomic>
#include <mutex>
#include <thread>

namespace velk {

class KeyLine;

class LineMorseSender : public MorseSender
{
    Q_OBJECT
public:
    explicit LineMorseSender(KeyTiming& timing, QObject* parent = nullptr);
    // Stops after the element being keyed and leaves the key up.
    ~LineMorseSender() override;

    void append(const QString& text) override;
    bool removeLastUnsent() override;
    void clear() override;
    void setSpeed(int wpm) override;
    bool isSending() const override { return m_sending; }

    // The line to key; null keys nothing and lets the text pass at once. Takes effect from the
    // next character.
    void setLine(KeyLine* line);
    // Units added to (or taken from) the eight of a space.
    void setWordSpace(int units);
    int speed() const { return m_wpm; }
    // The worker asks for SCHED_FIFO where the process may use it; silently not otherwise.
    void setRealtime(bool on) { m_realtime = on; }
    bool realtimeGranted() const { return m_realtimeGranted; }
    // Text not yet started.
    QString unsent() const;
    // Stops at once after the element being keyed, drops what is unsent and waits for the worker.
    void stop();
    // Waits until the run in progress has ended (tests and the benchmark).
    void waitUntilDone();

private:
    void run();
    bool keyCharacter(QChar character, std::int64_t& startNs);
    void finishRun(bool lineFailed);

    KeyTiming& m_timing;
    mutable std::mutex m_mutex;
    QString m_buffer;          // guarded
    KeyLine* m_line = nullptr; // guarded
    int m_wordSpace = 0;       // guarded
    bool m_running = false;    // guarded: a worker owns the buffer's front
    std::thread m_worker;
    std::atomic<int> m_wpm{13};
    std::atomic<bool> m_abort{false};
    std::atomic<bool> m_realtime{false};
    std::atomic<bool> m_realtimeGranted{false};
    bool m_sending = false; // GUI thread: from append until idle or failed arrives
};

} // namespace velk
