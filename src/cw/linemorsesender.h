#pragma once
// LineMorseSender: keys Morse on a key line (serial RTS/DTR or the parallel port). One keying
// thread, started with the first line or text and lifted to real-time priority once, takes
// characters from the front of the guarded buffer and switches the line at deadlines; the GUI
// thread only appends, removes unsent text and empties the buffer. Talks to a KeyLine (from
// KeyPorts), a KeyTiming and a RealtimePriority; reports by queued signals.
#include "common/platform/realtimepriority.h"
#include "cw/keytiming.h"
#include "cw/morsesender.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace velk {

class KeyLine;

class LineMorseSender : public MorseSender
{
    Q_OBJECT
public:
    // The real-time priority the keying thread asks for: above ordinary threads, below the
    // kernel's own real-time work and within what RealtimeKit grants by default.
    static constexpr int realtimeLevel = 10;
    // A wake-up this late is traced (the schedule moves on by any lateness).
    static constexpr std::int64_t lateTraceNs = 1'000'000;

    // priority may be null: the keying thread then keeps the process's policy.
    LineMorseSender(KeyTiming& timing, RealtimePriority* priority, QObject* parent = nullptr);
    // Stops after the element being keyed, leaves the key up and ends the keying thread.
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
    // What the keying thread runs at; NotStarted until it has asked.
    ThreadPriority priority() const;
    // Text not yet started.
    QString unsent() const;
    // Stops at once after the element being keyed, drops what is unsent and waits for that.
    void stop();
    // Waits until the run in progress has ended and reported (tests and the benchmark).
    void waitUntilDone();

signals:
    // The keying thread has its priority (see priority()).
    void priorityChanged();

private:
    void startThread();
    void keyingLoop();
    void keyRun();
    bool keyCharacter(QChar character, std::int64_t& originNs);
    void waitUntil(std::int64_t& originNs, std::int64_t offsetNs);
    void endRun(bool lineFailed);
    // Reports on the GUI thread. Invoked by name, so no slot object is shared with the keying
    // thread (ThreadSanitizer cannot see the reference counts inside Qt).
    Q_INVOKABLE void reportCharacter(QChar character);
    Q_INVOKABLE void reportEnd(bool lineFailed);

    KeyTiming& m_timing;
    RealtimePriority* m_priorityService;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    QString m_buffer;          // guarded
    KeyLine* m_line = nullptr; // guarded
    int m_wordSpace = 0;       // guarded
    bool m_running = false;    // guarded: a run owns the buffer's front
    bool m_quit = false;       // guarded
    ThreadPriority m_priority; // guarded
    std::thread m_thread;      // started and joined by the GUI thread
    std::atomic<int> m_wpm{13};
    std::atomic<bool> m_abort{false};
    bool m_sending = false; // GUI thread: from append until idle or failed arrives
};

} // namespace velk
