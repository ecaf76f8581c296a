#include "spots/spotline.h"

#include "log/prefixtable.h"

namespace velk {

namespace {

// How far into a line its "DX" may start: one character of the packet engine's frame, or two.
constexpr qsizetype maxSpotOffset = 2;

qsizetype dxOffset(const QString& line)
{
    for (qsizetype i = 0; i <= maxSpotOffset && i + 1 < line.size(); ++i) {
        if (line.mid(i, 2).compare(QLatin1String("DX"), Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

// 1-based positions first..last of text, as far as it reaches.
QString columns(const QString& text, qsizetype first, qsizetype last)
{
    return text.mid(first - 1, last - first + 1);
}

} // namespace

bool isSpotLine(const QString& line)
{
    return dxOffset(line) >= 0;
}

QString alignSpotLine(const QString& line)
{
    const qsizetype offset = dxOffset(line);
    return offset > 0 ? line.mid(offset) : line;
}

SpotLine parseSpotLine(const QString& line)
{
    SpotLine spot;
    spot.call = columns(line, 27, 39).trimmed();
    spot.frequencyText = columns(line, 16, 24).trimmed();
    spot.record = line.mid(3).trimmed();
    return spot;
}

std::optional<double> parseFrequencyKhz(const QString& text)
{
    qsizetype digits = 0;
    qsizetype points = 0;
    for (const QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            ++digits;
        } else if (c == QLatin1Char('.')) {
            ++points;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0 || points > 1) {
        return std::nullopt;
    }
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !(value > 0) || value > 1e9) {
        return std::nullopt;
    }
    return value;
}

SpotColumns spotColumns(const QString& record)
{
    SpotColumns result;
    result.comments =
        columns(record, 1, 11).trimmed() + QStringLiteral("  ") + columns(record, 35, 59).trimmed();
    result.prefix = columns(record, 62, 66).trimmed();
    result.time = columns(record, 68, 71);
    result.from = columns(record, 73, 76).trimmed();
    return result;
}

QString spotCountry(const PrefixTable& table, const QString& spottedCall)
{
    QString call = spottedCall;
    const qsizetype slash = call.indexOf(QLatin1Char('/'));
    if (slash >= 0) {
        const qsizetype rest = call.size() - slash - 1;
        if (rest > 1 && rest * 2 < call.size()) {
            call = call.right(rest);
        }
    }
    if (call.isEmpty() || table.isEmpty()) {
        return {};
    }
    const int match = table.longestMatch(call, Qt::CaseSensitive);
    if (match < 0) {
        return {};
    }
    if (call.startsWith(QLatin1String("KG4")) && call.size() > 5) {
        return QStringLiteral("USA");
    }
    return table.at(match).country;
}

} // namespace velk
