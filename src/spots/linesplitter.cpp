#include "spots/linesplitter.h"

#include <algorithm>

namespace velk {

namespace {

bool isLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

// BEL, NUL, XON/XOFF, DEL and the rest; a tab is kept (as a space).
bool isDropped(QChar c)
{
    return (c.unicode() < 0x20 && c != QLatin1Char('\t')) || c.unicode() == 0x7f;
}

} // namespace

QStringList LineSplitter::feed(const QByteArray& bytes)
{
    // Whole runs between line ends at a time: a flood of lines or one endless line costs a scan,
    // not a step per byte.
    QStringList lines;
    const char* p = bytes.constData();
    const char* const end = p + bytes.size();
    while (p < end) {
        if (m_afterCr) {
            m_afterCr = false;
            // The LF of a CR LF pair ends nothing more.
            if (*p == '\n') {
                ++p;
                continue;
            }
        }
        const char* const lineEnd = std::find_if(p, end, isLineEnd);
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
    return lines;
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
}

} // namespace velk
