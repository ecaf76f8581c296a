#pragma once
// LineSplitter: turns the bytes a spot source delivers in arbitrary pieces into whole lines.
// Lines end at LF, at CR alone (TNCs without auto-linefeed) or at CR LF; control characters and
// NULs are dropped, and a line longer than the limit is cut and counted.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace velk {

class LineSplitter
{
public:
    static constexpr qsizetype defaultMaxLineLength = 4096;

    explicit LineSplitter(qsizetype maxLineLength = defaultMaxLineLength) : m_maxLineLength(maxLineLength) {}

    // Latin-1 bytes in; the lines they complete out, without their line ends.
    QStringList feed(const QByteArray& bytes);
    // The unterminated text so far (a prompt such as "login: "), handed back once and forgotten.
    QString takePending();
    bool hasPending() const { return !m_line.isEmpty(); }
    // Lines cut because they ran past the limit.
    int cutLines() const { return m_cutLines; }
    void reset();

private:
    qsizetype m_maxLineLength;
    QString m_line;
    bool m_afterCr = false;
    bool m_cutting = false; // dropping the rest of an overlong line
    int m_cutLines = 0;

    void append(const char* from, const char* to, QStringList& lines);
};

} // namespace velk
