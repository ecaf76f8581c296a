#pragma once
// The quoted-list text format shared by log.txt, VELKpref.txt and the other settings files:
// values separated by commas, texts in double quotes, numbers bare, nothing escaped, lines
// ended by CR LF, Latin-1 on disk.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace velk {

// Splits one line (without its line end) into its values. A quoted value runs to its closing
// quote and must be followed by a comma or the line end; a bare value runs to the next comma
// and is trimmed. Returns nothing when the line is malformed (an unclosed quote, text after a
// closing quote).
std::optional<QStringList> parseQuotedLine(const QString& line);

// Reads a whole file's bytes: Latin-1, lines split on CR LF, LF or CR. Blank lines are skipped.
class QuotedListReader
{
public:
    explicit QuotedListReader(const QByteArray& bytes);
    bool atEnd() const;
    // The next line's values, or nothing when that line is malformed.
    std::optional<QStringList> nextLine();
    // 1-based number of the line last returned.
    int lineNumber() const { return m_lineNumber; }

private:
    QString m_text;
    qsizetype m_pos = 0;
    int m_lineNumber = 0;
    void skipBlankLines();
};

// Builds quoted-list lines: text() quotes, number() and word() write bare, endLine() adds CR LF.
class QuotedListWriter
{
public:
    QuotedListWriter& text(const QString& value);
    QuotedListWriter& number(double value);
    QuotedListWriter& integer(long long value);
    // A bare word such as #TRUE#, written as it is.
    QuotedListWriter& word(const QString& value);
    QuotedListWriter& endLine();
    // Latin-1 bytes of everything written so far.
    QByteArray bytes() const;

private:
    QString m_out;
    bool m_lineStarted = false;
    void separate();
};

// A number as the settings files write it: shortest text that reads back to the same single.
QString formatSettingsNumber(double value);
// Reads a bare number; nothing when the text is not numeric.
std::optional<double> parseSettingsNumber(const QString& text);

} // namespace velk
