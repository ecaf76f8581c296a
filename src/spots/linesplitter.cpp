#include "spots/linesplitter.h"

namespace velk {

QStringList LineSplitter::feed(const QByteArray& bytes)
{
    QStringList lines;
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        if (code == '\n' || code == '\r') {
            // The LF of a CR LF pair ends nothing more.
            if (code == '\n' && m_afterCr) {
                m_afterCr = false;
                continue;
            }
            m_afterCr = code == '\r';
            // An overlong line went out when it was cut; its end adds no empty line.
            if (!m_cutting) {
                lines << m_line;
            }
            m_line.clear();
            m_cutting = false;
            continue;
        }
        m_afterCr = false;
        if (m_cutting) {
            continue;
        }
        if (code < 0x20 && code != '\t') {
            continue; // BEL, NUL, XON/XOFF and the rest
        }
        if (code == 0x7f) {
            continue;
        }
        if (m_line.size() >= m_maxLineLength) {
            lines << m_line;
            m_line.clear();
            m_cutting = true;
            ++m_cutLines;
            continue;
        }
        m_line += code == '\t' ? QChar(QLatin1Char(' ')) : QChar(code);
    }
    return lines;
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
