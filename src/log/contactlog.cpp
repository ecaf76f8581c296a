#include "log/contactlog.h"

#include "common/formats.h"
#include "common/quotedlist.h"
#include "log/folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

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

} // namespace

LoadResult ContactLog::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_records.clear();
        return {false, describe(QStringLiteral("Cannot open"), path, file.errorString()), 0};
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        m_records.clear();
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
    std::vector<ContactRecord> records;
    records.reserve(static_cast<size_t>(bytes.count('\n')) + 1);
    QuotedListReader reader(bytes);
    while (!reader.atEnd()) {
        const std::optional<QStringList> values = reader.nextLine();
        if (!values) {
            m_records.clear();
            return {false, QStringLiteral("line %1 is not readable").arg(reader.lineNumber()),
                    reader.lineNumber()};
        }
        if (values->size() != ContactRecord::fieldCount) {
            m_records.clear();
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

    if (file.write(line) != line.size()) {
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
    } else {
        m_records.push_back(record);
    }
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
}

void ContactLog::replace(int number, const ContactRecord& record)
{
    if (number < 1 || number > count()) {
        return;
    }
    m_records[static_cast<size_t>(number - 1)] = record;
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
