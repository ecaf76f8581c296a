#include "common/quotedlist.h"

#include "common/formats.h"

#include <QRegularExpression>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace velk {

namespace {

bool isBlankChar(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isLineEnd(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

// Blanks are spaces and tabs only: a Latin-1 no-break space (0xA0) is text.
qsizetype skipBlanks(const QString& text, qsizetype pos)
{
    while (pos < text.size() && isBlankChar(text.at(pos)))
        ++pos;
    return pos;
}

// Plain positional notation of digits d1 d2 ... with d1 at 10^exponent.
std::string positional(const std::string& digits, int exponent)
{
    std::string out;
    const int count = static_cast<int>(digits.size());
    if (exponent < 0) {
        out = "0.";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
    } else if (exponent + 1 >= count) {
        out = digits;
        out.append(static_cast<std::size_t>(exponent + 1 - count), '0');
    } else {
        out = digits.substr(0, static_cast<std::size_t>(exponent + 1));
        out += '.';
        out += digits.substr(static_cast<std::size_t>(exponent + 1));
    }
    return out;
}

} // namespace

std::optional<QStringList> parseQuotedLine(const QString& line)
{
    QStringList values;
    qsizetype pos = skipBlanks(line, 0);
    if (pos >= line.size())
        return values; // an empty (or blank) line has no values

    while (true) {
        pos = skipBlanks(line, pos);
        if (pos >= line.size()) {
            values.append(QString()); // after a final comma: one last empty value
            return values;
        }
        if (line.at(pos) == QLatin1Char('"')) {
            const qsizetype close = line.indexOf(QLatin1Char('"'), pos + 1);
            if (close < 0)
                return std::nullopt; // unclosed quote
            values.append(line.mid(pos + 1, close - pos - 1));
            pos = skipBlanks(line, close + 1);
            if (pos >= line.size())
                return values;
            if (line.at(pos) != QLatin1Char(','))
                return std::nullopt; // text after the closing quote, e.g. "N0"CALL"
            ++pos;
        } else {
            qsizetype comma = line.indexOf(QLatin1Char(','), pos);
            const bool last = comma < 0;
            if (last)
                comma = line.size();
            qsizetype valueEnd = comma;
            while (valueEnd > pos && isBlankChar(line.at(valueEnd - 1)))
                --valueEnd;
            const QString value = line.mid(pos, valueEnd - pos);
            // No value can hold a double quote, so one inside a bare value means the line is
            // damaged (e.g. 5"x or a quote opened after other text).
            if (value.contains(QLatin1Char('"')))
                return std::nullopt;
            values.append(value);
            if (last)
                return values;
            pos = comma + 1;
        }
    }
}

QuotedListReader::QuotedListReader(const QByteArray& bytes) : m_text(QString::fromLatin1(bytes)) {}

bool QuotedListReader::atEnd() const
{
    // At the end when only blank lines remain.
    for (qsizetype i = m_pos; i < m_text.size(); ++i) {
        const QChar c = m_text.at(i);
        if (!isBlankChar(c) && !isLineEnd(c))
            return false;
    }
    return true;
}

// Moves past whole blank lines, counting each as a physical line. m_lineNumber is the number of
// the physical lines consumed so far.
void QuotedListReader::skipBlankLines()
{
    while (m_pos < m_text.size()) {
        qsizetype i = m_pos;
        while (i < m_text.size() && isBlankChar(m_text.at(i)))
            ++i;
        if (i < m_text.size() && !isLineEnd(m_text.at(i)))
            return; // this line has content
        // A blank line: consume it with its line end (CR LF, LF or CR).
        if (i < m_text.size()) {
            if (m_text.at(i) == QLatin1Char('\r') && i + 1 < m_text.size() &&
                m_text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            ++i;
        }
        m_pos = i;
        ++m_lineNumber;
    }
}

std::optional<QStringList> QuotedListReader::nextLine()
{
    skipBlankLines();
    if (m_pos >= m_text.size())
        return std::nullopt; // called past the end
    qsizetype end = m_pos;
    while (end < m_text.size() && !isLineEnd(m_text.at(end)))
        ++end;
    const QString line = m_text.mid(m_pos, end - m_pos);
    if (end < m_text.size()) {
        if (m_text.at(end) == QLatin1Char('\r') && end + 1 < m_text.size() &&
            m_text.at(end + 1) == QLatin1Char('\n'))
            ++end;
        ++end;
    }
    m_pos = end;
    ++m_lineNumber;
    return parseQuotedLine(line);
}

QuotedListWriter& QuotedListWriter::text(const QString& value)
{
    separate();
    // The format escapes nothing: a double quote, CR or LF inside a value would break the line
    // (and every line after it) when read back. Callers never pass them, but should one slip
    // through it is dropped here so the file can never be corrupted.
    QString clean = value;
    clean.remove(QLatin1Char('"'));
    clean.remove(QLatin1Char('\r'));
    clean.remove(QLatin1Char('\n'));
    m_out += QLatin1Char('"');
    m_out += clean;
    m_out += QLatin1Char('"');
    return *this;
}

QuotedListWriter& QuotedListWriter::number(double value)
{
    separate();
    m_out += formatSettingsNumber(value);
    return *this;
}

QuotedListWriter& QuotedListWriter::integer(long long value)
{
    separate();
    m_out += QString::number(value);
    return *this;
}

QuotedListWriter& QuotedListWriter::word(const QString& value)
{
    separate();
    m_out += value;
    return *this;
}

QuotedListWriter& QuotedListWriter::endLine()
{
    m_out += QLatin1String("\r\n");
    m_lineStarted = false;
    return *this;
}

QByteArray QuotedListWriter::bytes() const
{
    // Characters outside Latin-1 cannot be stored and become '?'.
    return m_out.toLatin1();
}

void QuotedListWriter::separate()
{
    if (m_lineStarted)
        m_out += QLatin1Char(',');
    m_lineStarted = true;
}

QString formatSettingsNumber(double value)
{
    const float single = static_cast<float>(value);
    if (single == 0.0f)
        return QStringLiteral("0"); // also for -0
    if (!std::isfinite(single)) {
        // Beyond single precision (or not a number): keep the double's shortest text.
        if (std::isnan(value))
            return QStringLiteral("0");
        char buffer[64];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
        return QString::fromLatin1(buffer, result.ptr - buffer);
    }
    const float magnitude = std::fabs(single);
    if (magnitude < 1e-6f || magnitude > 1e12f) {
        // Outside the plain range the shortest general form may use an exponent.
        char buffer[64];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, single);
        return QString::fromLatin1(buffer, result.ptr - buffer);
    }
    const DecimalDigits shortest = shortestDigits(magnitude);
    std::string text = positional(shortest.digits, shortest.exponent);
    if (single < 0)
        text.insert(text.begin(), '-');
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::optional<double> parseSettingsNumber(const QString& text)
{
    static const QRegularExpression numeric(
        QStringLiteral("^[+-]?(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)(?:[eE][+-]?[0-9]+)?$"));
    QString trimmed = text.trimmed();
    if (!numeric.match(trimmed).hasMatch())
        return std::nullopt;
    bool negative = false;
    if (trimmed.startsWith(QLatin1Char('+')) || trimmed.startsWith(QLatin1Char('-'))) {
        negative = trimmed.at(0) == QLatin1Char('-');
        trimmed.remove(0, 1);
    }
    const QByteArray bytes = trimmed.toLatin1();
    double value = 0;
    const auto result = std::from_chars(bytes.constData(), bytes.constData() + bytes.size(), value);
    if (result.ec != std::errc() || result.ptr != bytes.constData() + bytes.size())
        return std::nullopt; // e.g. out of range
    return negative ? -value : value;
}

} // namespace velk
