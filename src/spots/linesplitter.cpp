#include "spots/linesplitter.h"

#include <algorithm>
#include <cstring>

namespace velk {

namespace {

// The first LF or CR from p, or end: two vectorised searches rather than a test per byte, as a
// burst can be megabytes.
const char* nextLineEnd(const char* p, const char* end)
{
    const auto* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    const char* const stop = lf ? lf : end;
    const auto* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(stop - p)));
    return cr ? cr : stop;
}

// BEL, NUL, XON/XOFF, DEL and the rest; a tab is kept (as a space).
bool isDropped(QChar c)
{
    return (c.unicode() < 0x20 && c != QLatin1Char('\t')) || c.unicode() == 0x7f;
}

// Walks line ends as the splitter sees them: the LF of a CR LF pair ends nothing more. Returns
// the position after the `limit`-th line end (or `end`), counting them into `found`.
const char* skipLineEnds(const char* p, const char* end, qsizetype limit, bool& afterCr, qsizetype& found)
{
    found = 0;
    while (p < end && found < limit) {
        if (afterCr) {
            afterCr = false;
            if (*p == '\n') {
                ++p;
                continue;
            }
        }
        const char* const lineEnd = nextLineEnd(p, end);
        if (lineEnd == end) {
            return end;
        }
        ++found;
        afterCr = *lineEnd == '\r';
        p = lineEnd + 1;
    }
    return p;
}

} // namespace

QStringList LineSplitter::feed(const QByteArray& bytes)
{
    QStringList lines;
    if (queuedBytes() > 0) {
        enqueue(bytes);
        return take(queuedBytes());
    }
    split(bytes.constData(), bytes.constData() + bytes.size(), lines);
    return lines;
}

void LineSplitter::split(const char* p, const char* const end, QStringList& lines)
{
    // Whole runs between line ends at a time: a flood of lines or one endless line costs a scan,
    // not a step per byte.
    while (p < end) {
        if (m_afterCr) {
            m_afterCr = false;
            if (*p == '\n') {
                ++p;
                continue;
            }
        }
        const char* const lineEnd = nextLineEnd(p, end);
        append(p, lineEnd, lines);
        if (lineEnd == end) {
            break;
        }
        // An overlong line went out when it was cut; its end adds no empty line.
        if (!m_cutting) {
            lines << m_line;
        }
        m_line.clear();
        m_cutting = false;
        m_afterCr = *lineEnd == '\r';
        p = lineEnd + 1;
    }
}

void LineSplitter::append(const char* from, const char* to, QStringList& lines)
{
    if (m_cutting || from == to) {
        return;
    }
    QString text = QString::fromLatin1(from, to - from);
    if (std::any_of(text.cbegin(), text.cend(),
                    [](QChar c) { return isDropped(c) || c == QLatin1Char('\t'); })) {
        text.removeIf(isDropped);
        text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    }
    const qsizetype room = m_maxLineLength - m_line.size();
    if (text.size() > room) {
        m_line += QStringView(text).left(room);
        lines << m_line;
        m_line.clear();
        m_cutting = true;
        ++m_cutLines;
        return;
    }
    m_line += text;
}

void LineSplitter::enqueue(const QByteArray& bytes)
{
    if (m_queueRead > 0 && m_queueRead >= m_queue.size() / 2) {
        m_queue.remove(0, m_queueRead);
        m_queueRead = 0;
    }
    m_queue += bytes;
    qsizetype found = 0;
    skipLineEnds(bytes.constData(), bytes.constData() + bytes.size(), bytes.size(), m_queueEndsAfterCr,
                 found);
    m_queuedLines += found;
}

QStringList LineSplitter::take(qsizetype maxBytes)
{
    QStringList lines;
    const char* const begin = m_queue.constData() + m_queueRead;
    const char* const end = begin + std::min(maxBytes, queuedBytes());
    qsizetype ended = 0;
    bool afterCr = m_afterCr;
    skipLineEnds(begin, end, end - begin, afterCr, ended);
    split(begin, end, lines);
    m_queueRead += end - begin;
    m_queuedLines -= ended;
    if (queuedBytes() == 0) {
        m_queue.clear();
        m_queueRead = 0;
    }
    return lines;
}

qsizetype LineSplitter::dropQueuedLines(qsizetype count)
{
    if (count <= 0 || m_queuedLines == 0) {
        return 0;
    }
    const char* const begin = m_queue.constData() + m_queueRead;
    qsizetype dropped = 0;
    const char* const after = skipLineEnds(begin, m_queue.constData() + m_queue.size(),
                                           std::min(count, m_queuedLines), m_afterCr, dropped);
    m_queueRead += after - begin;
    m_queuedLines -= dropped;
    // The line in progress ended within what was dropped.
    m_line.clear();
    m_cutting = false;
    return dropped;
}

QString LineSplitter::takePending()
{
    QString pending;
    pending.swap(m_line);
    return pending;
}

void LineSplitter::reset()
{
    m_line.clear();
    m_afterCr = false;
    m_cutting = false;
    m_queue.clear();
    m_queueRead = 0;
    m_queuedLines = 0;
    m_queueEndsAfterCr = false;
}

} // namespace velk
