#include "log/boundedlines.h"

#include <QFileInfo>

#include <algorithm>

namespace velk {

namespace {
constexpr qint64 blockBytes = 64 * 1024;
}

BoundedLineReader::BoundedLineReader(QIODevice& device, qint64 maxBytes, int maxLineBytes)
    : m_device(device), m_maxBytes(maxBytes), m_maxLineBytes(maxLineBytes)
{
}

bool BoundedLineReader::fill()
{
    if (m_ended) {
        return false;
    }
    if (m_read >= m_maxBytes) {
        m_ended = true;
        m_stoppedAtBound = !m_device.atEnd();
        return false;
    }
    m_block.resize(std::min(blockBytes, m_maxBytes - m_read));
    const qint64 got = m_device.read(m_block.data(), m_block.size());
    if (got <= 0) {
        m_ended = true;
        m_block.clear();
        return false;
    }
    m_block.resize(got);
    m_pos = 0;
    m_read += got;
    if (m_firstBlock) {
        m_firstBlock = false;
        m_binary = m_block.contains('\0');
        // A byte-order mark some editors write is not part of the first line.
        if (m_block.startsWith("\xEF\xBB\xBF")) {
            m_pos = 3;
        }
    }
    return true;
}

bool BoundedLineReader::next(QByteArray& line)
{
    line.resize(0); // keeps the allocation for the next line
    bool overlong = false;
    for (;;) {
        if (m_pos >= m_block.size() && !fill()) {
            // The last line may lack its line end.
            if (overlong) {
                ++m_overlong;
                return false;
            }
            if (line.isEmpty()) {
                return false;
            }
            if (line.endsWith('\r')) {
                line.chop(1);
            }
            return true;
        }
        const qsizetype end = m_block.indexOf('\n', m_pos);
        const qsizetype stop = end < 0 ? m_block.size() : end;
        if (!overlong) {
            if (line.size() + (stop - m_pos) > m_maxLineBytes) {
                overlong = true;
                line.resize(0);
            } else {
                line.append(m_block.constData() + m_pos, stop - m_pos);
            }
        }
        m_pos = stop;
        if (end >= 0) {
            ++m_pos;
            if (overlong) {
                // The rest of an overlong line is dropped without being kept.
                ++m_overlong;
                overlong = false;
                continue;
            }
            if (line.endsWith('\r')) {
                line.chop(1);
            }
            return true;
        }
    }
}

QString unreadableFileProblem(QFile& file)
{
    const QFileInfo info(file.fileName());
    QString why;
    if (!info.exists()) {
        why = QStringLiteral("no such file");
    } else if (info.isDir()) {
        why = QStringLiteral("a folder, not a file");
    } else if (!file.open(QIODevice::ReadOnly)) {
        why = file.errorString();
    } else {
        return {};
    }
    return QStringLiteral("cannot read %1: %2").arg(file.fileName(), why);
}

} // namespace velk
