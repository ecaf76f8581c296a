#include "log/callhistory.h"

#include "log/boundedlines.h"
#include "log/callindex.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringList>
#include <algorithm>

namespace velk {

void CallHistory::add(std::string_view call, std::string_view name, std::string_view location)
{
    name = name.substr(0, maxNameLength);
    location = location.substr(0, maxLocationLength);
    m_rows.push_back(Row{static_cast<std::uint32_t>(m_text.size()), static_cast<std::uint8_t>(call.size()),
                         static_cast<std::uint8_t>(name.size()), static_cast<std::uint8_t>(location.size())});
    m_text.append(call);
    m_text.append(name);
    m_text.append(location);
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
Columns columnsOf(const std::vector<std::string_view>& header)
{
    Columns columns;
    int locationRank = 3;
    static const QStringList locationNames{QStringLiteral("loc1"), QStringLiteral("state"),
                                           QStringLiteral("veprov")};
    for (int i = 1; i < static_cast<int>(header.size()); ++i) {
        const std::string_view name = header[static_cast<std::size_t>(i)];
        const QString column =
            QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())).trimmed().toLower();
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

std::string_view trimmedView(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// A value as the entry boxes would hold it, in Latin-1: the bytes as they are when they are
// ASCII or not UTF-8, else decoded from UTF-8; double quotes dropped. Nothing when it holds a
// control character or, decoded, a character outside Latin-1.
std::optional<std::string> boxValue(std::string_view field)
{
    field = trimmedView(field);
    std::string value;
    const bool ascii = std::all_of(field.begin(), field.end(), [](char c) { return (c & 0x80) == 0; });
    if (ascii) {
        value.assign(field);
    } else {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        const QString text = utf8(QByteArrayView(field.data(), static_cast<qsizetype>(field.size())));
        if (utf8.hasError()) {
            value.assign(field);
        } else if (std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() > 0xFF; })) {
            return std::nullopt;
        } else {
            value = text.toLatin1().toStdString();
        }
    }
    std::erase(value, '"');
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || (byte >= 0x7F && byte < 0xA0)) {
            return std::nullopt;
        }
    }
    return value;
}

// Upper case as the entry boxes type it, Latin-1 letters included.
void toUpperLatin1(std::string& text)
{
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7)) {
            c = static_cast<char>(byte - 0x20);
        }
    }
}

std::string_view fieldAt(const std::vector<std::string_view>& fields, int column)
{
    return column >= 0 && column < static_cast<int>(fields.size()) ? fields[static_cast<std::size_t>(column)]
                                                                   : std::string_view();
}

void splitFields(std::string_view line, std::vector<std::string_view>& fields)
{
    fields.clear();
    for (;;) {
        const auto comma = line.find(',');
        fields.push_back(line.substr(0, comma));
        if (comma == std::string_view::npos) {
            return;
        }
        line.remove_prefix(comma + 1);
    }
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
    std::vector<std::string_view> fields;
    while (lines.next(line) && !lines.looksBinary()) {
        const std::string_view text =
            trimmedView(std::string_view(line.constData(), static_cast<std::size_t>(line.size())));
        if (text.empty() || text.front() == '#') {
            continue;
        }
        splitFields(text, fields);
        const std::string_view first = trimmedView(fields.front());
        if (QLatin1StringView(first.data(), static_cast<qsizetype>(first.size()))
                .compare(QLatin1StringView("!!Order!!"), Qt::CaseInsensitive) == 0) {
            tally.sawHeader = true;
            columns = columnsOf(fields);
            tally.headerWithoutCall = tally.headerWithoutCall || columns.call < 0;
            continue;
        }
        if (columns.call < 0) {
            continue;
        }
        const std::string call = CallIndex::normalized(fieldAt(fields, columns.call));
        if (call.empty()) {
            ++tally.noCall;
            continue;
        }
        if (tally.stations >= historyLimits::maxStations) {
            tally.full = true;
            break;
        }
        std::optional<std::string> personName = boxValue(fieldAt(fields, columns.name));
        std::optional<std::string> location = boxValue(fieldAt(fields, columns.location));
        tally.outsideLatin1 += (personName ? 0 : 1) + (location ? 0 : 1);
        if (personName) {
            toUpperLatin1(*personName);
        }
        // Abbreviations are typed upper case; country names keep their case.
        if (location && location->size() <= 3) {
            toUpperLatin1(*location);
        }
        history->add(call, personName.value_or(std::string()), location.value_or(std::string()));
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
