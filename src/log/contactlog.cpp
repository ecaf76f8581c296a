#include "log/contactlog.h"

#include "common/bands.h"
#include "common/formats.h"
#include "common/quotedlist.h"
#include "common/wholefile.h"
#include "log/folders.h"
#include "log/locations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace velk {

namespace {

QString describe(const QString& what, const QString& path, const QString& cause)
{
    return QStringLiteral("%1 %2: %3").arg(what, QDir::toNativeSeparators(path), cause);
}

// Pushes the file's data past the operating system's cache, so a contact survives a power cut
// the moment it is logged.
bool syncToDisk(QFile& file, QString* cause)
{
    const int fd = file.handle();
    if (fd < 0) {
        *cause = QStringLiteral("no file descriptor");
        return false;
    }
#ifdef Q_OS_WIN
    const int rc = ::_commit(fd);
#else
    const int rc = ::fsync(fd);
#endif
    if (rc != 0) {
        *cause = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    return true;
}

// True when the file is non-empty and its last byte is not a line end: a line appended to it
// would otherwise be glued onto the previous contact.
bool lacksFinalLineEnd(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.isSequential() || file.size() <= 0) {
        return false;
    }
    if (!file.seek(file.size() - 1)) {
        return false;
    }
    char last = 0;
    if (!file.getChar(&last)) {
        return false;
    }
    return last != '\n' && last != '\r';
}

WriteResult writeAtomically(const QString& path, const QByteArray& bytes)
{
    // A short file never replaces the old log: the bytes reach the disk before the rename.
    if (const auto cause = replaceFileContents(path, bytes)) {
        return {false, describe(QStringLiteral("Cannot write"), path, *cause)};
    }
    return {true, {}};
}

bool isBlankByte(char c)
{
    return c == ' ' || c == '\t';
}

QString latin1Text(std::string_view bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// A text several records hold (a name, a location, a date...), read once; for the band and the
// location also its index, so the records' keys need not look it up again.
struct SharedText
{
    QString text;
    std::uint8_t index = 0;
};

// Looks texts up by their bytes without making a string first.
struct TextHash
{
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

// The texts of one field read so far, each once. Most are at most seven bytes (names, states,
// bands, continents): those are found by one number, their bytes and length packed together,
// first among the texts found last, by a multiply and a compare (the map divides by its bucket
// count). A longer text (a date, a DX country) is most often the previous record's.
class SharedTexts
{
public:
    // The index stored with a new text: the band's or the location's, depending on the field.
    using Indexer = int (*)(const QString&);
    explicit SharedTexts(Indexer indexer) : m_indexer(indexer) {}

    const SharedText& find(std::string_view bytes)
    {
        return bytes.size() < sizeof(std::uint64_t) ? findShort(bytes) : findLong(bytes);
    }

private:
    const SharedText& findShort(std::string_view bytes)
    {
        std::uint64_t code = bytes.size();
        for (size_t i = 0; i < bytes.size(); ++i) {
            code |= std::uint64_t{static_cast<unsigned char>(bytes[i])} << (8 * (i + 1));
        }
        auto& recent = m_recent[(code * 0x9E3779B97F4A7C15ull) >> 56];
        if (recent.second != nullptr && recent.first == code) {
            return *recent.second;
        }
        auto found = m_short.find(code);
        if (found == m_short.end()) {
            found = m_short.emplace(code, make(bytes)).first;
        }
        recent = {code, &found->second};
        return found->second;
    }

    const SharedText& findLong(std::string_view bytes)
    {
        if (m_lastLong.second != nullptr && m_lastLong.first == bytes) {
            return *m_lastLong.second;
        }
        auto found = m_long.find(bytes);
        if (found == m_long.end()) {
            found = m_long.emplace(std::string(bytes), make(bytes)).first;
        }
        m_lastLong = {found->first, &found->second};
        return found->second;
    }

    SharedText make(std::string_view bytes) const
    {
        SharedText shared{latin1Text(bytes), 0};
        if (m_indexer != nullptr) {
            shared.index = static_cast<std::uint8_t>(m_indexer(shared.text));
        }
        return shared;
    }

    Indexer m_indexer;
    std::unordered_map<std::uint64_t, SharedText> m_short;
    std::array<std::pair<std::uint64_t, const SharedText*>, 256> m_recent{};
    std::unordered_map<std::string, SharedText, TextHash, std::equal_to<>> m_long;
    std::pair<std::string_view, const SharedText*> m_lastLong{};
};

// Sets a fresh key's call from its Latin-1 bytes, as RecordKey::ofCall does from its text. Done in
// place: a key built apart and copied in would be read back before its bytes reached memory.
void setKeyCall(RecordKey& key, std::string_view latin1)
{
    if (latin1.size() > RecordKey::capacity) {
        return;
    }
    std::memcpy(key.text.data(), latin1.data(), latin1.size());
    bool ascii = true;
    for (char& c : key.text) { // the zero padding included: no early exit, a word at a time
        const auto byte = static_cast<unsigned char>(c);
        ascii &= byte < 0x80;
        c = static_cast<char>(byte >= 'a' && byte <= 'z' ? byte - ('a' - 'A') : byte);
    }
    if (!ascii) {
        key.text = {};
        return;
    }
    key.length = static_cast<std::uint8_t>(latin1.size());
    key.plain = true;
}

// The fields of a line, as views into the file's bytes.
using LineValues = std::array<std::string_view, ContactRecord::fieldCount>;

// Splits one line (without its line end) into exactly nine values by the quoted-list rules;
// false when it holds anything the general reader must decide on.
bool splitLooseLine(const char* pos, const char* lineEnd, LineValues& values)
{
    constexpr int fields = ContactRecord::fieldCount;
    int count = 0;
    while (true) {
        while (pos < lineEnd && isBlankByte(*pos)) {
            ++pos;
        }
        if (count == fields) {
            return false; // a tenth value
        }
        if (pos >= lineEnd) {
            values[static_cast<size_t>(count++)] = {}; // after a final comma
            break;
        }
        if (*pos == '"') {
            const char* close = std::find(pos + 1, lineEnd, '"');
            if (close == lineEnd) {
                return false;
            }
            values[static_cast<size_t>(count++)] =
                std::string_view(pos + 1, static_cast<size_t>(close - pos - 1));
            pos = close + 1;
            while (pos < lineEnd && isBlankByte(*pos)) {
                ++pos;
            }
            if (pos >= lineEnd) {
                break;
            }
            if (*pos != ',') {
                return false;
            }
            ++pos;
        } else {
            const char* comma = std::find(pos, lineEnd, ',');
            const bool last = comma == lineEnd;
            const char* valueEnd = last ? lineEnd : comma;
            while (valueEnd > pos && isBlankByte(valueEnd[-1])) {
                --valueEnd;
            }
            if (std::find(pos, valueEnd, '"') != valueEnd) {
                return false;
            }
            values[static_cast<size_t>(count++)] = std::string_view(pos, static_cast<size_t>(valueEnd - pos));
            if (last) {
                break;
            }
            pos = comma + 1;
        }
    }
    return count == fields;
}

// The same, with the form this program writes (every value quoted, nothing between them but
// commas) read straight through.
bool splitWellFormedLine(const char* pos, const char* lineEnd, LineValues& values)
{
    const char* const start = pos;
    constexpr size_t fields = ContactRecord::fieldCount;
    for (size_t f = 0; f < fields; ++f) {
        if (pos >= lineEnd || *pos != '"') {
            return splitLooseLine(start, lineEnd, values);
        }
        const char* close = std::find(pos + 1, lineEnd, '"');
        if (close == lineEnd) {
            return false;
        }
        values[f] = std::string_view(pos + 1, static_cast<size_t>(close - pos - 1));
        pos = close + 1;
        if (f + 1 < fields) {
            if (pos >= lineEnd || *pos != ',') {
                return splitLooseLine(start, lineEnd, values);
            }
            ++pos;
        }
    }
    return pos == lineEnd || splitLooseLine(start, lineEnd, values);
}

// Where the line that starts at p ends: at its CR or LF.
const char* lineEndFrom(const char* p, const char* end)
{
    const auto* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
    const char* limit = lf == nullptr ? end : lf;
    const auto* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<size_t>(limit - p)));
    return cr == nullptr ? limit : cr;
}

// The common case read fast: every line nine well-formed values, by the quoted-list rules, read
// straight from the bytes (Latin-1 is one byte a character), with each record's key. The
// values that repeat (names, locations, dates, bands, continents, sent names) share one text
// between records, so a contest-size log loads with few allocations and keeps little memory.
// Returns false at the first line that is not plainly readable; the general reader then decides
// and reports.
bool readWellFormed(const QByteArray& bytes, std::vector<ContactRecord>& records,
                    std::vector<RecordKey>& keys)
{
    constexpr size_t fields = ContactRecord::fieldCount;
    constexpr size_t locationField = 2;
    constexpr size_t bandField = 5;
    // Calls, times and frequencies mostly differ from record to record: not worth sharing.
    constexpr std::array<bool, fields> sharedField{false, true, true, true, false, true, true, true, false};
    const auto indexLocation = [](const QString& text) { return locationIndex(text); };
    const auto indexBand = [](const QString& text) { return bandIndex(text); };
    std::array<SharedTexts, fields> shared{
        SharedTexts(nullptr), SharedTexts(nullptr), SharedTexts(indexLocation),
        SharedTexts(nullptr), SharedTexts(nullptr), SharedTexts(indexBand),
        SharedTexts(nullptr), SharedTexts(nullptr), SharedTexts(nullptr)};
    LineValues values;
    std::array<const SharedText*, fields> sharedText{};
    const char* const end = bytes.constData() + bytes.size();
    const char* p = bytes.constData();
    while (true) {
        while (p < end && isBlankByte(*p)) {
            ++p;
        }
        if (p == end) {
            return true;
        }
        const char* lineEnd = lineEndFrom(p, end);
        if (lineEnd != p) { // not a blank line
            if (!splitWellFormedLine(p, lineEnd, values)) {
                return false;
            }
            for (size_t i = 0; i < fields; ++i) {
                if (sharedField[i]) {
                    sharedText[i] = &shared[i].find(values[i]);
                }
            }
            // Copies of shared texts are built in place (a reference count each), never assigned.
            records.push_back(ContactRecord{latin1Text(values[0]), sharedText[1]->text, sharedText[2]->text,
                                            sharedText[3]->text, latin1Text(values[4]), sharedText[5]->text,
                                            sharedText[6]->text, sharedText[7]->text, latin1Text(values[8])});
            RecordKey& key = keys.emplace_back();
            setKeyCall(key, values[0]);
            key.band = sharedText[bandField]->index;
            key.location = sharedText[locationField]->index;
        }
        p = lineEnd;
        if (p < end) {
            p += (*p == '\r' && p + 1 < end && p[1] == '\n') ? 2 : 1;
        }
    }
}

} // namespace

RecordKey RecordKey::ofCall(QStringView call)
{
    RecordKey key;
    if (call.size() > capacity) {
        return key;
    }
    for (qsizetype i = 0; i < call.size(); ++i) {
        const char16_t c = call.at(i).unicode();
        if (c >= 0x80) {
            return RecordKey();
        }
        key.text[static_cast<size_t>(i)] = static_cast<char>(c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c);
    }
    key.length = static_cast<std::uint8_t>(call.size());
    key.plain = true;
    return key;
}

RecordKey RecordKey::of(const ContactRecord& record)
{
    RecordKey key = ofCall(record.call);
    key.band = static_cast<std::uint8_t>(bandIndex(record.band));
    key.location = static_cast<std::uint8_t>(locationIndex(record.location));
    return key;
}

void ContactLog::rebuildKeys()
{
    m_keys.clear();
    m_keys.reserve(m_records.size());
    for (const ContactRecord& record : m_records) {
        m_keys.push_back(RecordKey::of(record));
    }
}

LoadResult ContactLog::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        clear();
        return {false, describe(QStringLiteral("Cannot open"), path, file.errorString()), 0};
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        clear();
        return {false, describe(QStringLiteral("Cannot read"), path, file.errorString()), 0};
    }
    LoadResult result = loadBytes(bytes);
    if (!result.ok) {
        result.error = describe(QStringLiteral("Cannot read"), path, result.error);
    }
    return result;
}

LoadResult ContactLog::loadBytes(const QByteArray& bytes)
{
    if (m_sourceKnown && bytes == m_source) {
        return {true, {}, 0};
    }
    std::vector<ContactRecord> records;
    std::vector<RecordKey> keys;
    const auto lines = static_cast<size_t>(std::count(bytes.cbegin(), bytes.cend(), '\n')) + 1;
    records.reserve(lines);
    keys.reserve(lines);
    if (readWellFormed(bytes, records, keys)) {
        m_records = std::move(records);
        m_keys = std::move(keys);
        m_source = bytes;
        m_sourceKnown = true;
        return {true, {}, 0};
    }
    records.clear();
    QuotedListReader reader(bytes);
    while (!reader.atEnd()) {
        const std::optional<QStringList> values = reader.nextLine();
        if (!values) {
            clear();
            return {false, QStringLiteral("line %1 is not readable").arg(reader.lineNumber()),
                    reader.lineNumber()};
        }
        if (values->size() != ContactRecord::fieldCount) {
            clear();
            return {false,
                    QStringLiteral("line %1 holds %2 values instead of %3")
                        .arg(reader.lineNumber())
                        .arg(values->size())
                        .arg(ContactRecord::fieldCount),
                    reader.lineNumber()};
        }
        records.push_back(ContactRecord::fromFields(*values));
    }
    m_records = std::move(records);
    rebuildKeys();
    m_source = bytes;
    m_sourceKnown = true;
    return {true, {}, 0};
}

WriteResult ContactLog::append(const ContactRecord& record, const QString& path)
{
    const QByteArray encoded = encodeLine(record);
    QByteArray line = encoded;
    if (lacksFinalLineEnd(path)) {
        line.prepend("\r\n");
    }

    // Unbuffered, so a write the disk cuts short is known at once and can be taken back: with a
    // buffer the pending bytes would make the resize below fail and leave half a line behind.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        return {false, describe(QStringLiteral("Cannot open"), path, file.errorString())};
    }
    const qint64 sizeBefore = file.size();
    const auto fail = [&](const QString& cause) {
        // Take a partial line back off, so the log still loads next time.
        if (!file.resize(sizeBefore)) {
            file.close();
            QFile::resize(path, sizeBefore);
        }
        file.close();
        return WriteResult{false, describe(QStringLiteral("Cannot write"), path, cause)};
    };

    qint64 written = file.write(line);
    if (written >= 0 && written < line.size()) {
        // Cut short (a full disk): a second try reports why.
        const qint64 more = file.write(line.constData() + written, line.size() - written);
        written = more < 0 ? -1 : written + more;
    }
    if (written != line.size()) {
        return fail(file.errorString());
    }
    if (!file.flush()) {
        return fail(file.errorString());
    }
    QString cause;
    if (!syncToDisk(file, &cause)) {
        return fail(cause);
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        return {false, describe(QStringLiteral("Cannot write"), path, file.errorString())};
    }
    // Keep in memory what a reload would read: the file cannot hold quotes, line breaks or
    // characters outside Latin-1.
    const std::optional<QStringList> stored = parseQuotedLine(QString::fromLatin1(encoded.chopped(2)));
    if (stored && stored->size() == ContactRecord::fieldCount) {
        m_records.push_back(ContactRecord::fromFields(*stored));
        if (m_sourceKnown) {
            m_source += line; // what a reload of the file reads the new record from
        }
    } else {
        m_records.push_back(record);
        forgetSource();
    }
    m_keys.push_back(RecordKey::of(m_records.back()));
    return {true, {}};
}

WriteResult ContactLog::rewrite(const QString& path) const
{
    QuotedListWriter writer;
    for (const ContactRecord& record : m_records) {
        for (const QString& field : record.fields()) {
            writer.text(field);
        }
        writer.endLine();
    }
    return writeAtomically(path, writer.bytes());
}

void ContactLog::remove(int number)
{
    if (number < 1 || number > count()) {
        return;
    }
    m_records.erase(m_records.begin() + (number - 1));
    forgetSource();
    m_keys.erase(m_keys.begin() + (number - 1));
}

void ContactLog::replace(int number, const ContactRecord& record)
{
    if (number < 1 || number > count()) {
        return;
    }
    m_records[static_cast<size_t>(number - 1)] = record;
    forgetSource();
    m_keys[static_cast<size_t>(number - 1)] = RecordKey::of(record);
}

QByteArray ContactLog::encodeLine(const ContactRecord& record)
{
    QuotedListWriter writer;
    for (const QString& field : record.fields()) {
        writer.text(field);
    }
    writer.endLine();
    return writer.bytes();
}

WriteResult truncateLogFile(const QString& path)
{
    return writeAtomically(path, QByteArray());
}

WriteResult copyFileAtomically(const QString& from, const QString& to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        return {false, describe(QStringLiteral("Cannot open"), from, source.errorString())};
    }
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError) {
        return {false, describe(QStringLiteral("Cannot read"), from, source.errorString())};
    }
    return writeAtomically(to, bytes);
}

QString proposedArchivePath(const QString& backupFolder, const QString& ownCall, const QDate& localDate)
{
    return backupFolder + QLatin1Char('/') + safeCallForFileName(ownCall) +
           formatDateTime(QDateTime(localDate, QTime(0, 0)), QStringLiteral("yyyy-mm-dd")) +
           QStringLiteral(".log");
}

} // namespace velk
