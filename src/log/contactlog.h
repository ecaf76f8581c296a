#pragma once
// ContactLog: the in-memory contest log, mirrored record for record in log.txt. Reads and writes
// that file; appends are synced before they return and rewrites replace the file atomically.
#include "common/contactrecord.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace velk {

struct LoadResult
{
    bool ok = false;
    QString error; // what went wrong, for the operator
    int line = 0;  // line that could not be read, 0 when the file itself failed
};

struct WriteResult
{
    bool ok = false;
    QString error;
};

// A record's call, band and location packed for the scans of the whole log: the duplicate checks
// on every key in the call box, the multipliers on every reload. The call is upper-cased in place
// when it is short ASCII. The log keeps one per record, so a scan reads one compact array instead
// of every record's strings.
struct RecordKey
{
    static constexpr int capacity = 12;
    std::array<char, capacity> text{}; // upper-case call, zero-padded; valid when plain
    std::uint8_t length = 0;           // call length when plain
    std::uint8_t band = 0;             // bandIndex() of the band text, 0 when not one of the seven
    std::uint8_t location = 0;         // locationIndex() of the location text, 0 when not one of the 63
    bool plain = false;                // ASCII and at most `capacity` characters
    // The key of a call alone (band and location 0).
    static RecordKey ofCall(QStringView call);
    static RecordKey of(const ContactRecord& record);
};

class ContactLog
{
public:
    int count() const { return static_cast<int>(m_records.size()); }
    // 1-based, as the list of previous contacts numbers them.
    const ContactRecord& record(int number) const { return m_records.at(static_cast<size_t>(number - 1)); }
    const std::vector<ContactRecord>& records() const { return m_records; }
    // One key per record, in record order.
    const std::vector<RecordKey>& recordKeys() const { return m_keys; }

    // Count the automatic backup compares against; set by the first load of the run.
    int loadedBaseline() const { return m_loadedBaseline; }
    void setLoadedBaseline(int count) { m_loadedBaseline = count; }

    // Replaces the records with the file's. A missing file, an unreadable line or a line
    // without nine values fails the load and leaves the log empty; the file is not touched.
    LoadResult load(const QString& path);
    // Parses log-file bytes (the same rules as load).
    LoadResult loadBytes(const QByteArray& bytes);

    // Appends one line to the file, flushed and synced, then adds the record. On failure the
    // in-memory log is unchanged.
    WriteResult append(const ContactRecord& record, const QString& path);
    // Writes every record to a temporary file beside path and renames it over path.
    WriteResult rewrite(const QString& path) const;
    // Removes record `number` (1-based) from memory; the caller rewrites and reloads.
    void remove(int number);
    void replace(int number, const ContactRecord& record);
    void clear()
    {
        m_records.clear();
        m_keys.clear();
        forgetSource();
    }

    // One log-file line (with CR LF) for a record.
    static QByteArray encodeLine(const ContactRecord& record);

private:
    std::vector<ContactRecord> m_records;
    std::vector<RecordKey> m_keys;
    // The file bytes the records are exactly what they read to, while m_sourceKnown: a reload of
    // an unchanged file (every band change) then keeps the records instead of reading them again.
    QByteArray m_source;
    bool m_sourceKnown = false;
    void rebuildKeys();
    void forgetSource()
    {
        m_source.clear();
        m_sourceKnown = false;
    }
    int m_loadedBaseline = 0;
};

// Truncates (or creates) the log file to zero length, atomically.
WriteResult truncateLogFile(const QString& path);

// Backups go to backupFolder/yyyymmddhhnn.log (local time); when a backup of the same minute is
// already there, to the first free yyyymmddhhnn-2.log, -3... so none ever replaces another.
// Failures are silent by design; both return the path written, or empty when nothing was written.

// Automatic backup: copies the log file when the log holds contacts and its count differs from
// the one it was loaded with.
QString backupLog(const ContactLog& log, const QString& logPath, const QString& backupFolder,
                  const QDateTime& localNow);
// Backup before a new log erases the file: copies it whenever it is not empty, whatever the
// in-memory log holds (it may not be loaded yet).
QString backupLogFile(const QString& logPath, const QString& backupFolder, const QDateTime& localNow);

// Copies a file over another through a temporary file and a rename.
WriteResult copyFileAtomically(const QString& from, const QString& to);

// Archive name: backupFolder/<call reduced to its leading letters and digits><yyyy-mm-dd>.log.
QString proposedArchivePath(const QString& backupFolder, const QString& ownCall, const QDate& localDate);

} // namespace velk
