#pragma once
// BoundedLineReader: the lines of a text file from outside the program (the call databases), read
// in blocks with a bound on the bytes read and on the length of one line, so neither a huge file
// nor a file without line ends can take the memory. Reads a QIODevice; knows nothing of formats.
#include <QByteArray>
#include <QFile>
#include <QIODevice>
#include <QString>

namespace velk {

class BoundedLineReader
{
public:
    BoundedLineReader(QIODevice& device, qint64 maxBytes, int maxLineBytes);

    // The next line without its CR LF or LF; false once the file or the byte bound has ended.
    // A line longer than the bound is skipped and counted.
    bool next(QByteArray& line);

    int overlongLines() const { return m_overlong; }
    // The byte bound ended the reading before the end of the file.
    bool stoppedAtBound() const { return m_stoppedAtBound; }
    // The file's first block holds a NUL byte: not a text file.
    bool looksBinary() const { return m_binary; }

private:
    QIODevice& m_device;
    qint64 m_maxBytes;
    int m_maxLineBytes;
    qint64 m_read = 0;
    QByteArray m_block;
    qsizetype m_pos = 0;
    bool m_ended = false;
    bool m_firstBlock = true;
    bool m_binary = false;
    bool m_stoppedAtBound = false;
    int m_overlong = 0;

    bool fill();
};

// Opens the file for reading; empty when it is open, otherwise why not, in one line that names it.
QString unreadableFileProblem(QFile& file);

} // namespace velk
