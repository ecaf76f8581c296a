#include "log/callhistory.h"

#include "log/boundedlines.h"
#include "log/callindex.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringList>
#include <algorithm>

namespace velk {

void CallHistory::add(std::string_view call, const QString& name, const QString& location)
{
    const QByteArray nameBytes = name.left(maxNameLength).toLatin1();
    const QByteArray locationBytes = location.left(maxLocationLength).toLatin1();
    m_rows.push_back(Row{static_cast<std::uint32_t>(m_text.size()), static_cast<std::uint8_t>(call.size()),
                         static_cast<std::uint8_t>(nameBytes.size()),
                         static_cast<std::uint8_t>(locationBytes.size())});
    m_text.append(call);
    m_text.append(nameBytes.constData(), static_cast<std::size_t>(nameBytes.size()));
    m_text.append(locationBytes.constData(), static_cast<std::size_t>(locationBytes.size()));
}

int CallHistory::finish()
{
    // Stable: of the lines of one call, the last stays last and is the one kept.
    std::stable_sort(m_rows.begin(), m_rows.end(),
                     [this](const Row& a, const Row& b) { return callOf(a) < callOf(b); });
    std::vector<Row> kept;
    kept.reserve(m_rows.size());
    for (const Row& row : m_rows) {
        if (!kept.empty() && callOf(kept.back()) == callOf(row)) {
            kept.back() = row;
        } else {
            kept.push_back(row);
        }
    }
    const int dropped = static_cast<int>(m_rows.size() - kept.size());
    m_rows = std::move(kept);
    m_rows.shrink_to_fit();
    return dropped;
}

std::optional<HistoryEntry> CallHistory::find(QStringView call) const
{
    const std::string key = CallIndex::normalized(call.toLatin1().toStdString());
    const auto row = std::lower_bound(m_rows.begin(), m_rows.end(), key,
                                      [this](const Row& r, const std::string& k) { return callOf(r) < k; });
    if (key.empty() || row == m_rows.end() || callOf(*row) != key) {
        return std::nullopt;
    }
    const char* text = m_text.data() + row->offset + row->callLength;
    return HistoryEntry{QString::fromLatin1(text, row->nameLength),
                        QString::fromLatin1(text + row->nameLength, row->locationLength)};
}

namespace {

struct Columns
{
    int call = -1;
    int name = -1;
    int location = -1;
};

// Columns named by a "!!Order!!" line; the marker itself is not a column.
Columns columnsOf(const QStringList& header)
{
    Columns columns;
    int locationRank = 3;
    static const QStringList locationNames{QStringLiteral("loc1"), QStringLiteral("state"),
                                           QStringLiteral("veprov")};
    for (int i = 1; i < header.size(); ++i) {
        const QString column = header.at(i).trimmed().toLower();
        if (column == QLatin1String("call") && columns.call < 0) {
            columns.call = i - 1;
        } else if (column == QLatin1String("name") && columns.name < 0) {
            columns.name = i - 1;
        } else if (const auto rank = locationNames.indexOf(column); rank >= 0 && rank < locationRank) {
            columns.location = i - 1;
            locationRank = static_cast<int>(rank);
        }
    }
    return columns;
}

QString decodeLine(const QByteArray& line)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8(line);
    return utf8.hasError() ? QString::fromLatin1(line) : text;
}

// A value as the entry boxes would hold it; nothing when it has characters they refuse.
std::optional<QString> boxValue(const QStringList& fields, int column)
{
    if (column < 0 || column >= fields.size()) {
        return QString();
    }
    QString value = fields.at(column).trimmed();
    value.remove(QLatin1Char('"'));
    for (const QChar c : value) {
        if (c.unicode() > 0xFF || c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0)) {
            return std::nullopt;
        }
    }
    return value;
}

struct Tally
{
    int stations = 0;
    int noCall = 0;
    int outsideLatin1 = 0;
    bool headerWithoutCall = false;
    bool sawHeader = false;
    bool full = false;
};

QString reportOf(const QString& name, const Tally& tally, int duplicates, const BoundedLineReader& lines)
{
    QStringList notes;
    if (!tally.sawHeader) {
        notes << QStringLiteral("no !!Order!! line, first column read as the call");
    }
    if (tally.headerWithoutCall) {
        notes << QStringLiteral("an !!Order!! line without a Call column, its lines skipped");
    }
    if (tally.noCall > 0) {
        notes << QStringLiteral("%1 lines without a call skipped").arg(tally.noCall);
    }
    if (tally.outsideLatin1 > 0) {
        notes << QStringLiteral("%1 values outside Latin-1 left out").arg(tally.outsideLatin1);
    }
    if (lines.overlongLines() > 0) {
        notes << QStringLiteral("%1 overlong lines skipped").arg(lines.overlongLines());
    }
    if (duplicates > 0) {
        notes << QStringLiteral("%1 repeated calls, the last line kept").arg(duplicates);
    }
    if (tally.full) {
        notes << QStringLiteral("stopped at %1 stations").arg(historyLimits::maxStations);
    } else if (lines.stoppedAtBound()) {
        notes << QStringLiteral("read stopped after %1 MB").arg(historyLimits::maxBytes / (1024 * 1024));
    }
    const QString tail = notes.isEmpty()
                             ? QString()
                             : QStringLiteral(" (") + notes.join(QStringLiteral(", ")) + QLatin1Char(')');
    if (tally.stations == 0) {
        return QStringLiteral("%1 holds no stations").arg(name) + tail;
    }
    return QStringLiteral("%1: %2 stations").arg(name).arg(tally.stations - duplicates) + tail;
}

} // namespace

CallHistoryRead readCallHistory(QIODevice& device, const QString& name)
{
    CallHistoryRead result;
    BoundedLineReader lines(device, historyLimits::maxBytes, historyLimits::maxLineBytes);
    auto history = std::make_shared<CallHistory>();
    Tally tally;
    Columns columns{0, -1, -1};
    QByteArray line;
    while (lines.next(line) && !lines.looksBinary()) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith('#')) {
            continue;
        }
        const QStringList fields = decodeLine(trimmed).split(QLatin1Char(','));
        if (fields.first().trimmed().compare(QLatin1String("!!Order!!"), Qt::CaseInsensitive) == 0) {
            tally.sawHeader = true;
            columns = columnsOf(fields);
            tally.headerWithoutCall = tally.headerWithoutCall || columns.call < 0;
            continue;
        }
        if (columns.call < 0) {
            continue;
        }
        const std::string call = columns.call < fields.size()
                                     ? CallIndex::normalized(fields.at(columns.call).toLatin1().toStdString())
                                     : std::string();
        if (call.empty()) {
            ++tally.noCall;
            continue;
        }
        if (tally.stations >= historyLimits::maxStations) {
            tally.full = true;
            break;
        }
        const std::optional<QString> personName = boxValue(fields, columns.name);
        std::optional<QString> location = boxValue(fields, columns.location);
        tally.outsideLatin1 += (personName ? 0 : 1) + (location ? 0 : 1);
        // Abbreviations are typed upper case; country names keep their case.
        if (location && location->size() <= 3) {
            *location = location->toUpper();
        }
        history->add(call, personName.value_or(QString()).toUpper(), location.value_or(QString()));
        ++tally.stations;
    }
    if (lines.looksBinary()) {
        result.report = QStringLiteral("%1 is not a text file; no stations read").arg(name);
        return result;
    }
    const int duplicates = history->finish();
    result.report = reportOf(name, tally, duplicates, lines);
    if (history->size() > 0) {
        result.history = std::move(history);
    }
    return result;
}

CallHistoryRead readCallHistoryFile(const QString& path)
{
    QFile file(path);
    if (const QString problem = unreadableFileProblem(file); !problem.isEmpty()) {
        return CallHistoryRead{nullptr, problem};
    }
    return readCallHistory(file, QFileInfo(path).fileName());
}

} // namespace velk
