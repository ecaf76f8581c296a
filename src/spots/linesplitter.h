#pragma once
// LineSplitter: turns the bytes a spot source delivers in arbitrary pieces into whole lines.
// Lines end at LF, at CR alone (TNCs without auto-linefeed) or at CR LF; control characters and
// NULs are dropped, and a line longer than the limit is cut and counted.
//
// Bytes can also be queued and split a slice at a time: a burst of tens of thousands of lines
// in one read is counted at once (a scan for line ends) but made into text only as it is worked
// off, and the oldest queued lines can be dropped without ever being made into text.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace velk {

class LineSplitter
{
public:
    static constexpr qsizetype defaultMaxLineLength = 4096;

    explicit LineSplitter(qsizetype maxLineLength = defaultMaxLineLength) : m_maxLineLength(maxLineLength) {}

    // Latin-1 bytes in; the lines they complete out, without their line ends. Queued bytes go
    // first.
    QStringList feed(const QByteArray& bytes);

    // Queues bytes to be split later.
    void enqueue(const QByteArray& bytes);
    // Splits about `maxBytes` of the queue (to the end of the line they reach, or of the queue).
    QStringList take(qsizetype maxBytes);
    // Whole lines waiting in the queue, and the queue's size.
    qsizetype queuedLines() const { return m_queuedLines; }
    qsizetype queuedBytes() const { return m_queue.size() - m_queueRead; }
    // Forgets the oldest `count` queued lines (at most those there are); returns how many.
    qsizetype dropQueuedLines(qsizetype count);

    // The unterminated text so far (a prompt such as "login: "), handed back once and forgotten.
    // Meaningful once the queue is empty.
    QString takePending();
    // Text after the last line end, queued or not.
    bool hasPending() const
    {
        return queuedBytes() > 0 ? m_queue.back() != '\n' && m_queue.back() != '\r' : !m_line.isEmpty();
    }
    // Lines cut because they ran past the limit.
    int cutLines() const { return m_cutLines; }
    // Forgets the line in progress and the queue.
    void reset();

private:
    qsizetype m_maxLineLength;
    QString m_line;
    bool m_afterCr = false;
    bool m_cutting = false; // dropping the rest of an overlong line
    int m_cutLines = 0;
    QByteArray m_queue;
    qsizetype m_queueRead = 0;
    qsizetype m_queuedLines = 0;
    bool m_queueEndsAfterCr = false; // for counting the line ends of the next piece

    void split(const char* p, const char* end, QStringList& lines);
    void append(const char* from, const char* to, QStringList& lines);
};

} // namespace velk
