#include "common/quotedlist.h"
#include "log/contactlog.h"
#include "log/locations.h"
#include "logbuilder.h"
#include "support/files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

using namespace velk;
using velk::testing::encodeAll;
using velk::testing::readBytes;

using velk::testing::readAll;

namespace {

ContactRecord contact(const QString& call, const QString& frequency = QStringLiteral("14.025"))
{
    return {call,
            QStringLiteral("PAT"),
            QStringLiteral("CT"),
            QStringLiteral("2026/01/10"),
            QStringLiteral("18:04:31"),
            QStringLiteral("20"),
            QStringLiteral("NA"),
            QStringLiteral("LEE"),
            frequency};
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

class ContactLogFileTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString logPath() const { return dir.filePath(QStringLiteral("log.txt")); }
};

} // namespace

TEST(ContactLogFormat, EncodesNineQuotedFieldsWithCrLf)
{
    EXPECT_EQ(
        ContactLog::encodeLine(contact(QStringLiteral("N0CALL"))),
        QByteArray(
            "\"N0CALL\",\"PAT\",\"CT\",\"2026/01/10\",\"18:04:31\",\"20\",\"NA\",\"LEE\",\"14.025\"\r\n"));
    EXPECT_EQ(
        ContactLog::encodeLine(contact(QStringLiteral("N0CALL"), QString())),
        QByteArray("\"N0CALL\",\"PAT\",\"CT\",\"2026/01/10\",\"18:04:31\",\"20\",\"NA\",\"LEE\",\"\"\r\n"));
}

TEST(ContactLogFormat, NeverLetsQuotesOrLineBreaksIntoTheFile)
{
    ContactRecord record = contact(QStringLiteral("N0CALL"));
    record.name = QStringLiteral("PA\"T\r\nX");
    const QByteArray line = ContactLog::encodeLine(record);
    EXPECT_EQ(
        line,
        QByteArray(
            "\"N0CALL\",\"PATX\",\"CT\",\"2026/01/10\",\"18:04:31\",\"20\",\"NA\",\"LEE\",\"14.025\"\r\n"));
    ContactLog log;
    ASSERT_TRUE(log.loadBytes(line).ok);
    EXPECT_EQ(log.record(1).name, QStringLiteral("PATX"));
}

TEST(ContactLogFormat, LoadsLatin1AndShortTimes)
{
    ContactLog log;
    const QByteArray bytes =
        "\"VE2XYZ\",\"J\xC9R\xD4ME\",\"QC\",\"2026/01/10\",\"18:04\",\"40\",\"NA\",\"LEE\",\"\"\r\n";
    ASSERT_TRUE(log.loadBytes(bytes).ok);
    ASSERT_EQ(log.count(), 1);
    EXPECT_EQ(log.record(1).name, QStringLiteral("J\u00C9R\u00D4ME"));
    EXPECT_EQ(log.record(1).time, QStringLiteral("18:04"));
    EXPECT_TRUE(log.record(1).frequency.isEmpty());
    EXPECT_EQ(ContactLog::encodeLine(log.record(1)), bytes);
}

TEST(ContactLogLoad, RejectsDamagedLinesAndLeavesTheLogEmpty)
{
    const QByteArray good = ContactLog::encodeLine(contact(QStringLiteral("N0CALL")));
    struct Case
    {
        const char* what;
        QByteArray bytes;
        int line;
    };
    const Case cases[] = {
        {"stray quote",
         good + "\"K1ABC\",\"P\"AT\",\"CT\",\"2026/01/10\",\"18:04:31\",\"20\",\"NA\",\"LEE\",\"\"\r\n", 2},
        {"eight fields",
         good + good + "\"K1ABC\",\"PAT\",\"CT\",\"2026/01/10\",\"18:04:31\",\"20\",\"NA\",\"LEE\"\r\n", 3},
        {"ten fields",
         "\"K1ABC\",\"PAT\",\"CT\",\"2026/01/10\",\"18:04:31\",\"20\",\"NA\",\"LEE\",\"\",\"\"\r\n", 1},
        {"truncated last line", good + "\"K1ABC\",\"PAT\",\"CT\",\"2026/01/1", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ContactLog log;
        ASSERT_TRUE(log.loadBytes(good + good).ok);
        const LoadResult result = log.loadBytes(c.bytes);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.line, c.line);
        EXPECT_FALSE(result.error.isEmpty());
        EXPECT_EQ(log.count(), 0);
    }
}

TEST(ContactLogLoad, ReadsEveryLineAsTheQuotedListReaderDoes)
{
    // Texts that share their first bytes or their length, long and short, quoted or not, with
    // blanks, upper and lower case: each record must get its own text back, and its key the
    // band and location of that text.
    const QList<QByteArray> lines{
        "\"K1ABC\",\"ED\",\"CT\",\"2026/01/10\",\"00:00:01\",\"20\",\"NA\",\"LEE\",\"14.025\"",
        "\"K1ABD\",\"EDD\",\"ct\",\"2026/01/11\",\"00:00:02\",\"40\",\"NA\",\"LEE\",\"7.025\"",
        "\"HI3A\",\"ED\",\"Dominican Republic\",\"2026/01/10\",\"00:00:03\",\"20\",\"NA\",\"LEE\",\"\"",
        "\"J73A\",\"\xC9"
        "D\",\"Dominica\",\"2026/01/10\",\"00:00:04\",\"20\",\"NA\",\"LEE\",\"\"",
        "  \"k2abc\" , \"BOBBY\" ,\"NY\",2026/01/10,00:00:05, 80 ,NA,LEE,3.525  ",
        "\"VE3AAA/VY0XYZ\",\"BOBBYJOE\",\"NU\",\"2026/01/10\",\"00:00:06\",\"6\",\"NA\",\"LEE\",\"\"",
        "\"W1AW\",\"\",\"\",\"2026/01/10\",\"00:00:07\",\"17\",\"na\",\"LEE\",\"\"",
        "\"W1AX\",\"BOBBYJOE\",\"NUX\",\"2026/01/10\",\"00:00:08\",\"160\",\"NA\",\"LEE\",\"1.825\"",
    };
    ContactLog log;
    ASSERT_TRUE(log.loadBytes(lines.join("\r\n") + "\r\n").ok);
    ASSERT_EQ(log.count(), lines.size());
    ASSERT_EQ(log.recordKeys().size(), static_cast<size_t>(lines.size()));
    for (int i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(lines.at(i).constData());
        const auto fields = parseQuotedLine(QString::fromLatin1(lines.at(i)));
        ASSERT_TRUE(fields.has_value());
        const ContactRecord expected = ContactRecord::fromFields(*fields);
        EXPECT_EQ(log.record(i + 1), expected);
        const RecordKey key = log.recordKeys()[static_cast<size_t>(i)];
        const RecordKey wanted = RecordKey::of(expected);
        EXPECT_EQ(key.plain, wanted.plain);
        EXPECT_EQ(key.length, wanted.length);
        EXPECT_EQ(key.text, wanted.text);
        EXPECT_EQ(key.band, wanted.band);
        EXPECT_EQ(key.location, wanted.location);
    }
    EXPECT_EQ(log.recordKeys()[1].location, locationIndex(QStringLiteral("CT")));
    EXPECT_EQ(log.recordKeys()[4].band, 2);     // " 80 "
    EXPECT_EQ(log.recordKeys()[6].band, 0);     // not one of the seven
    EXPECT_FALSE(log.recordKeys()[5].plain);    // longer than a key holds
    EXPECT_EQ(log.recordKeys()[7].location, 0); // three letters, none of the 63
}

TEST_F(ContactLogFileTest, MissingFileFailsNamingTheFile)
{
    ContactLog log;
    const LoadResult result = log.load(logPath());
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.line, 0);
    EXPECT_TRUE(result.error.contains(QStringLiteral("log.txt")));
    EXPECT_FALSE(QFile::exists(logPath()));
}

TEST_F(ContactLogFileTest, EmptyFileLoadsNoContacts)
{
    writeAll(logPath(), QByteArray());
    ContactLog log;
    EXPECT_TRUE(log.load(logPath()).ok);
    EXPECT_EQ(log.count(), 0);
}

TEST_F(ContactLogFileTest, FailedLoadLeavesFileUntouched)
{
    const QByteArray bytes = "\"N0CALL\",\"PAT\"\r\nrubbish \"\r\n";
    writeAll(logPath(), bytes);
    ContactLog log;
    const LoadResult result = log.load(logPath());
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.line, 1);
    EXPECT_TRUE(result.error.contains(QStringLiteral("log.txt")));
    EXPECT_EQ(readAll(logPath()), bytes);
}

TEST_F(ContactLogFileTest, AppendWritesExactBytesAndCreatesTheFile)
{
    ContactLog log;
    ASSERT_TRUE(log.append(contact(QStringLiteral("N0CALL")), logPath()).ok);
    ASSERT_TRUE(log.append(contact(QStringLiteral("K1ABC"), QString()), logPath()).ok);
    EXPECT_EQ(readAll(logPath()),
              QByteArray(
                  "\"N0CALL\",\"PAT\",\"CT\",\"2026/01/10\",\"18:04:31\",\"20\",\"NA\",\"LEE\",\"14.025\"\r\n"
                  "\"K1ABC\",\"PAT\",\"CT\",\"2026/01/10\",\"18:04:31\",\"20\",\"NA\",\"LEE\",\"\"\r\n"));
    EXPECT_EQ(log.count(), 2);
}

TEST_F(ContactLogFileTest, AppendAfterALastLineWithoutLineEndStartsANewLine)
{
    writeAll(logPath(), ContactLog::encodeLine(contact(QStringLiteral("N0CALL"))).chopped(2));
    ContactLog log;
    ASSERT_TRUE(log.append(contact(QStringLiteral("K1ABC")), logPath()).ok);
    ContactLog reloaded;
    ASSERT_TRUE(reloaded.load(logPath()).ok);
    ASSERT_EQ(reloaded.count(), 2);
    EXPECT_EQ(reloaded.record(2).call, QStringLiteral("K1ABC"));
}

TEST_F(ContactLogFileTest, HundredContactsRoundTrip)
{
    ContactLog log;
    for (int i = 0; i < 100; ++i) {
        ContactRecord record = contact(QStringLiteral("K%1ABC").arg(i));
        record.time = QStringLiteral("18:%1:00").arg(i % 60, 2, 10, QLatin1Char('0'));
        record.frequency = i % 2 ? QStringLiteral("7.030") : QString();
        ASSERT_TRUE(log.append(record, logPath()).ok) << i;
    }
    ContactLog reloaded;
    ASSERT_TRUE(reloaded.load(logPath()).ok);
    EXPECT_EQ(reloaded.records(), log.records());
}

TEST_F(ContactLogFileTest, AppendFailureReportsCauseAndLeavesMemory)
{
    ContactLog log;
    ASSERT_TRUE(log.append(contact(QStringLiteral("N0CALL")), logPath()).ok);

    const QString missingFolder = dir.filePath(QStringLiteral("nowhere/log.txt"));
    WriteResult result = log.append(contact(QStringLiteral("K1ABC")), missingFolder);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains(QStringLiteral("log.txt")));
    EXPECT_EQ(log.count(), 1);

    result = log.append(contact(QStringLiteral("K1ABC")), dir.path());
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_EQ(log.count(), 1);
}

#ifdef Q_OS_LINUX
TEST(ContactLogAppend, FullDiskReportsFailure)
{
    // /dev/full accepts the open and fails the write-out, as a full disk does.
    if (!QFile::exists(QStringLiteral("/dev/full"))) {
        GTEST_SKIP();
    }
    ContactLog log;
    const WriteResult result = log.append(contact(QStringLiteral("N0CALL")), QStringLiteral("/dev/full"));
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_EQ(log.count(), 0);
}
#endif

TEST_F(ContactLogFileTest, RewriteAfterRemoveRenumbers)
{
    ContactLog log;
    for (int i = 1; i <= 10; ++i) {
        ASSERT_TRUE(log.append(contact(QStringLiteral("K%1ABC").arg(i)), logPath()).ok);
    }
    log.remove(5);
    ASSERT_TRUE(log.rewrite(logPath()).ok);

    ContactLog reloaded;
    ASSERT_TRUE(reloaded.load(logPath()).ok);
    ASSERT_EQ(reloaded.count(), 9);
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(reloaded.record(n).call, QStringLiteral("K%1ABC").arg(n));
    }
    EXPECT_EQ(reloaded.record(5).call, QStringLiteral("K6ABC"));
    EXPECT_EQ(reloaded.record(9).call, QStringLiteral("K10ABC"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("log.txt")});
}

TEST_F(ContactLogFileTest, RewriteFailureKeepsTheOldFile)
{
    ContactLog log;
    ASSERT_TRUE(log.append(contact(QStringLiteral("N0CALL")), logPath()).ok);
    const QByteArray before = readAll(logPath());
    log.clear();
    const WriteResult result = log.rewrite(dir.filePath(QStringLiteral("nowhere/log.txt")));
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_EQ(readAll(logPath()), before);
}

TEST(ContactLogEdit, OutOfRangeNumbersAreIgnored)
{
    ContactLog log;
    ASSERT_TRUE(log.loadBytes(ContactLog::encodeLine(contact(QStringLiteral("N0CALL"))) +
                              ContactLog::encodeLine(contact(QStringLiteral("K1ABC"))))
                    .ok);
    log.remove(0);
    log.remove(3);
    log.remove(-1);
    log.replace(0, contact(QStringLiteral("W1AW")));
    log.replace(3, contact(QStringLiteral("W1AW")));
    ASSERT_EQ(log.count(), 2);
    EXPECT_EQ(log.record(1).call, QStringLiteral("N0CALL"));
    EXPECT_EQ(log.record(2).call, QStringLiteral("K1ABC"));

    log.replace(2, contact(QStringLiteral("W1AW")));
    EXPECT_EQ(log.record(2).call, QStringLiteral("W1AW"));
    log.remove(1);
    ASSERT_EQ(log.count(), 1);
    EXPECT_EQ(log.record(1).call, QStringLiteral("W1AW"));
}

TEST_F(ContactLogFileTest, TruncateEmptiesOrCreatesTheFile)
{
    ContactLog log;
    ASSERT_TRUE(log.append(contact(QStringLiteral("N0CALL")), logPath()).ok);
    ASSERT_TRUE(truncateLogFile(logPath()).ok);
    EXPECT_TRUE(QFile::exists(logPath()));
    EXPECT_EQ(QFileInfo(logPath()).size(), 0);

    const QString fresh = dir.filePath(QStringLiteral("new.txt"));
    ASSERT_TRUE(truncateLogFile(fresh).ok);
    EXPECT_TRUE(QFile::exists(fresh));
    EXPECT_FALSE(truncateLogFile(dir.filePath(QStringLiteral("nowhere/log.txt"))).ok);
}

TEST_F(ContactLogFileTest, BackupOnlyWhenTheLogHasChanged)
{
    const QString backup = dir.filePath(QStringLiteral("VELK/BACKUP"));
    const QDateTime localNow(QDate(2026, 1, 10), QTime(18, 4, 59));
    ContactLog log;

    ASSERT_TRUE(truncateLogFile(logPath()).ok);
    EXPECT_TRUE(backupLog(log, logPath(), backup, localNow).isEmpty()) << "empty log";

    ASSERT_TRUE(log.append(contact(QStringLiteral("N0CALL")), logPath()).ok);
    log.setLoadedBaseline(1);
    EXPECT_TRUE(backupLog(log, logPath(), backup, localNow).isEmpty()) << "unchanged since load";
    EXPECT_FALSE(QDir(backup).exists());

    ASSERT_TRUE(log.append(contact(QStringLiteral("K1ABC")), logPath()).ok);
    const QString written = backupLog(log, logPath(), backup, localNow);
    EXPECT_EQ(written, backup + QStringLiteral("/202601101804.log"));
    EXPECT_EQ(readAll(written), readAll(logPath()));

    // Same minute: the earlier copy stays as it was, the new one takes the next name.
    const QByteArray earlier = readBytes(written);
    ASSERT_TRUE(log.append(contact(QStringLiteral("W1AW")), logPath()).ok);
    const QString second = backupLog(log, logPath(), backup, localNow);
    EXPECT_EQ(second, backup + QStringLiteral("/202601101804-2.log"));
    EXPECT_EQ(readBytes(second), readBytes(logPath()));
    EXPECT_EQ(readBytes(written), earlier);
    EXPECT_EQ(QDir(backup).entryList(QDir::Files).size(), 2);
}

TEST_F(ContactLogFileTest, BackupsNeverOverwriteOneAnother)
{
    struct Case
    {
        const char* name;
        QStringList present; // backups already in the folder
        QString expected;    // name of the new backup
    };
    const std::vector<Case> cases = {
        {"free minute", {}, QStringLiteral("202601101804.log")},
        {"other minutes only",
         {QStringLiteral("202601101803.log"), QStringLiteral("202601101805.log")},
         QStringLiteral("202601101804.log")},
        {"minute taken", {QStringLiteral("202601101804.log")}, QStringLiteral("202601101804-2.log")},
        {"minute and -2 taken",
         {QStringLiteral("202601101804.log"), QStringLiteral("202601101804-2.log")},
         QStringLiteral("202601101804-3.log")},
        {"first gap is used",
         {QStringLiteral("202601101804.log"), QStringLiteral("202601101804-3.log")},
         QStringLiteral("202601101804-2.log")},
        {"a folder holds the name",
         {QStringLiteral("202601101804.log/")},
         QStringLiteral("202601101804-2.log")},
    };
    const QDateTime localNow(QDate(2026, 1, 10), QTime(18, 4, 59));
    using Backup = std::function<QString(const QString& logPath, const QString& backupFolder)>;
    const std::vector<std::pair<const char*, Backup>> backups = {
        {"backupLog",
         [&](const QString& path, const QString& folder) {
             ContactLog log;
             EXPECT_TRUE(log.load(path).ok);
             log.setLoadedBaseline(0);
             return backupLog(log, path, folder, localNow);
         }},
        {"backupLogFile",
         [&](const QString& path, const QString& folder) { return backupLogFile(path, folder, localNow); }},
    };
    writeAll(logPath(), encodeAll({contact(QStringLiteral("N0CALL")), contact(QStringLiteral("K1ABC"))}));
    int run = 0;
    for (const auto& [function, backup] : backups) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(function) + ": " + c.name);
            const QString folder = dir.filePath(QStringLiteral("BACKUP%1").arg(++run));
            ASSERT_TRUE(QDir().mkpath(folder));
            for (const QString& name : c.present) {
                if (name.endsWith(QLatin1Char('/'))) {
                    ASSERT_TRUE(QDir(folder).mkdir(name.chopped(1)));
                } else {
                    writeAll(folder + QLatin1Char('/') + name, "earlier\r\n");
                }
            }
            const QString written = backup(logPath(), folder);
            EXPECT_EQ(written, folder + QLatin1Char('/') + c.expected);
            EXPECT_EQ(readBytes(written), readBytes(logPath()));
            for (const QString& name : c.present) {
                if (!name.endsWith(QLatin1Char('/'))) {
                    EXPECT_EQ(readBytes(folder + QLatin1Char('/') + name), QByteArray("earlier\r\n"))
                        << name.toStdString();
                }
            }
            EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot).size(),
                      c.present.size() + 1);
        }
    }
}

TEST_F(ContactLogFileTest, LogFileBackupCopiesAnyNonEmptyFile)
{
    // Before a new log erases log.txt: the in-memory log may be empty, not loaded yet, or
    // unchanged since it was loaded; the file is copied all the same.
    const QString backup = dir.filePath(QStringLiteral("VELK/BACKUP"));
    const QDateTime localNow(QDate(2026, 1, 10), QTime(18, 4, 59));
    writeAll(logPath(), encodeAll({contact(QStringLiteral("N0CALL"))}));

    const QString first = backupLogFile(logPath(), backup, localNow);
    EXPECT_EQ(first, backup + QStringLiteral("/202601101804.log"));
    EXPECT_EQ(readBytes(first), readBytes(logPath()));

    // Even bytes the log could not load are kept: the operator's file is what is at stake.
    writeAll(logPath(), "not a log line\r\n");
    const QString second = backupLogFile(logPath(), backup, localNow);
    EXPECT_EQ(second, backup + QStringLiteral("/202601101804-2.log"));
    EXPECT_EQ(readBytes(second), QByteArray("not a log line\r\n"));
    EXPECT_EQ(readBytes(first), encodeAll({contact(QStringLiteral("N0CALL"))}));
}

TEST_F(ContactLogFileTest, LogFileBackupSkipsAnEmptyOrMissingFileAndFailsSilently)
{
    const QString backup = dir.filePath(QStringLiteral("VELK/BACKUP"));
    const QDateTime localNow(QDate(2026, 1, 10), QTime(18, 4));

    ASSERT_TRUE(truncateLogFile(logPath()).ok);
    EXPECT_TRUE(backupLogFile(logPath(), backup, localNow).isEmpty()) << "empty file";
    EXPECT_TRUE(backupLogFile(dir.filePath(QStringLiteral("gone.txt")), backup, localNow).isEmpty())
        << "missing file";
    EXPECT_FALSE(QDir(backup).exists());

    writeAll(logPath(), encodeAll({contact(QStringLiteral("N0CALL"))}));
    // The backup folder cannot be made where a file stands.
    EXPECT_TRUE(backupLogFile(logPath(), logPath(), localNow).isEmpty());
    EXPECT_EQ(readBytes(logPath()), encodeAll({contact(QStringLiteral("N0CALL"))}));
}

TEST_F(ContactLogFileTest, BackupFailureIsSilent)
{
    ContactLog log;
    ASSERT_TRUE(log.append(contact(QStringLiteral("N0CALL")), logPath()).ok);
    const QDateTime localNow(QDate(2026, 1, 10), QTime(18, 4));
    // The backup folder cannot be made where a file stands.
    EXPECT_TRUE(backupLog(log, logPath(), logPath(), localNow).isEmpty());
    // The log itself is missing.
    EXPECT_TRUE(backupLog(log, dir.filePath(QStringLiteral("gone.txt")), dir.path(), localNow).isEmpty());
}

TEST_F(ContactLogFileTest, CopyFileAtomically)
{
    const QString from = dir.filePath(QStringLiteral("a.txt"));
    const QString to = dir.filePath(QStringLiteral("b.txt"));
    writeAll(from, "new\r\n");
    writeAll(to, "old and longer\r\n");
    ASSERT_TRUE(copyFileAtomically(from, to).ok);
    EXPECT_EQ(readAll(to), QByteArray("new\r\n"));

    const WriteResult missing = copyFileAtomically(dir.filePath(QStringLiteral("none.txt")), to);
    EXPECT_FALSE(missing.ok);
    EXPECT_TRUE(missing.error.contains(QStringLiteral("none.txt")));
    EXPECT_EQ(readAll(to), QByteArray("new\r\n"));
}

TEST(ContactLogArchive, NameFromCallAndDate)
{
    const QDate date(2026, 1, 10);
    EXPECT_EQ(proposedArchivePath(QStringLiteral("/b"), QStringLiteral("N0CALL/4"), date),
              QStringLiteral("/b/N0CALL2026-01-10.log"));
    EXPECT_EQ(proposedArchivePath(QStringLiteral("/b"), QString(), date),
              QStringLiteral("/b/YourCall2026-01-10.log"));
}

TEST(ContactLogPerformance, LoadsALargeLogInOnePass)
{
    // A log far larger than any contest; a quadratic load would not finish in reasonable time.
    const QByteArray line = ContactLog::encodeLine(contact(QStringLiteral("N0CALL")));
    QByteArray bytes;
    bytes.reserve(line.size() * 100000);
    for (int i = 0; i < 100000; ++i) {
        bytes += line;
    }
    ContactLog log;
    ASSERT_TRUE(log.loadBytes(bytes).ok);
    EXPECT_EQ(log.count(), 100000);
    EXPECT_EQ(log.record(100000), contact(QStringLiteral("N0CALL")));
}
