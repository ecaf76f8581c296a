#include "log/contactlog.h"

#include "common/bands.h"
#include "common/formats.h"
#include "common/quotedlist.h"
#include "log/folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return {false, describe(QStringLiteral("Cannot write"), path, file.errorString())};
    }
    // commit() does not notice buffered data the disk refused (a full disk) and would rename the
    // short file over the old one, so the data is pushed out and checked first.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString cause = file.errorString();
        file.cancelWriting();
        return {false, describe(QStringLiteral("Cannot write"), path, cause)};
    }
    if (!file.commit()) {
        return {false, describe(QStringLiteral("Cannot write"), path, file.errorString())};
    }
    return {true, {}};
}

bool isBlankByte(char c)
{
    return c == ' ' || c == '\t';
}

bool isLineEndByte(char c)
{
    return c == '\r' || c == '\n';
}

// The common case read fast: every line nine well-formed values, by the quoted-list rules, read
// straight from the bytes (Latin-1 is one byte a character). The values that repeat (names,
// locations, dates, bands, continents, sent names) share one text between records, so a
// contest-size log loads with few allocations and keeps little memory. Returns false at the
// first line that is not plainly readable; the general reader then decides and reports.
bool readWellFormed(const QByteArray& bytes, std::vector<ContactRecord>& records)
{
    constexpr int fields = ContactRecord::fieldCount;
    // Calls, times and frequencies mostly differ from record to record: not worth sharing.
    constexpr std::array<bool, fields> sharedField{false, true, true, true, false, true, true, true, false};
    std::array<std::unordered_map<std::string_view, QString>, fields> shared;
    for (size_t i = 0; i < fields; ++i) {
        if (sharedField[i]) {
            shared[i].reserve(256);
        }
    }
    std::array<std::string_view, fields> values;
    std::array<std::string_view, fields> previous;
    std::array<QString, fields> previousText;
    const char* const end = bytes.constData() + bytes.size();
    const char* p = bytes.constData();
    while (true) {
        const char* q = p;
        while (q < end && isBlankByte(*q)) {
            ++q;
        }
        if (q == end) {
            return true;
        }
        if (isLineEndByte(*q)) { // a blank line
            p = q + ((*q == '\r' && q + 1 < end && q[1] == '\n') ? 2 : 1);
            continue;
        }
        const char* lineEnd = q;
        while (lineEnd < end && !isLineEndByte(*lineEnd)) {
            ++lineEnd;
        }
        int count = 0;
        const char* pos = q;
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
                const auto* close = static_cast<const char*>(
                    std::memchr(pos + 1, '"', static_cast<size_t>(lineEnd - pos - 1)));
                if (close == nullptr) {
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
                const auto* comma =
                    static_cast<const char*>(std::memchr(pos, ',', static_cast<size_t>(lineEnd - pos)));
                const bool last = comma == nullptr;
                const char* valueEnd = last ? lineEnd : comma;
                while (valueEnd > pos && isBlankByte(valueEnd[-1])) {
                    --valueEnd;
                }
                if (std::memchr(pos, '"', static_cast<size_t>(valueEnd - pos)) != nullptr) {
                    return false;
                }
                values[static_cast<size_t>(count++)] =
                    std::string_view(pos, static_cast<size_t>(valueEnd - pos));
                if (last) {
                    break;
                }
                pos = comma + 1;
            }
        }
        if (count != fields) {
            return false;
        }
        static constexpr std::array<QString ContactRecord::*, fields> members{
            &ContactRecord::call,      &ContactRecord::name,     &ContactRecord::location,
            &ContactRecord::date,      &ContactRecord::time,     &ContactRecord::band,
            &ContactRecord::continent, &ContactRecord::sentName, &ContactRecord::frequency};
        ContactRecord& record = records.emplace_back();
        for (size_t i = 0; i < fields; ++i) {
            const std::string_view value = values[i];
            const auto make = [&] {
                return QString::fromLatin1(value.data(), static_cast<qsizetype>(value.size()));
            };
            QString& field = record.*members[i];
            if (!sharedField[i]) {
                field = make();
                continue;
            }
            if (value != previous[i] || previousText[i].isNull()) {
                auto& known = shared[i];
                auto found = known.find(value);
                if (found == known.end()) {
                    found = known.emplace(value, make()).first;
                }
                previous[i] = value;
                previousText[i] = found->second;
            }
            field = previousText[i];
        }
        p = lineEnd;
        if (p < end) {
            p += (*p == '\r' && p + 1 < end && p[1] == '\n') ? 2 : 1;
        }
    }
}

} // namespace

CallKey CallKey::ofCall(QStringView call)
{
    CallKey key;
    if (call.size() > capacity) {
        return key;
    }
    for (qsizetype i = 0; i < call.size(); ++i) {
        const char16_t c = call.at(i).unicode();
        if (c >= 0x80) {
            return CallKey();
        }
        key.text[static_cast<size_t>(i)] = static_cast<char>(c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c);
    }
    key.length = static_cast<std::uint8_t>(call.size());
    key.plain = true;
    return key;
}

CallKey CallKey::of(const ContactRecord& record)
{
    CallKey key = ofCall(record.call);
    key.band = static_cast<std::uint8_t>(bandIndex(record.band));
    return key;
}

void ContactLog::rebuildKeys()
{
    m_keys.clear();
    m_keys.reserve(m_records.size());
    for (const ContactRecord& record : m_records) {
        m_keys.push_back(CallKey::of(record));
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
    records.reserve(static_cast<size_t>(std::count(bytes.cbegin(), bytes.cend(), '\n')) + 1);
    if (readWellFormed(bytes, records)) {
        m_records = std::move(records);
        rebuildKeys();
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
    m_keys.push_back(CallKey::of(m_records.back()));
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
    m_keys[static_cast<size_t>(number - 1)] = CallKey::of(record);
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

QString backupLog(const ContactLog& log, const QString& logPath, const QString& backupFolder,
                  const QDateTime& localNow)
{
    if (log.count() == 0 || log.count() == log.loadedBaseline()) {
        return {};
    }
    if (!QDir().mkpath(backupFolder)) {
        return {};
    }
    const QString target = backupFolder + QLatin1Char('/') +
                           formatDateTime(localNow, QStringLiteral("yyyymmddhhnn")) + QStringLiteral(".log");
    if (!copyFileAtomically(logPath, target).ok) {
        return {};
    }
    return target;
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
    return backupFolder + QLatin1Char('/') + SafeCallForFileName(ownCall) +
           formatDateTime(QDateTime(localDate, QTime(0, 0)), QStringLiteral("yyyy-mm-dd")) +
           QStringLiteral(".log");
}

} // namespace velk
