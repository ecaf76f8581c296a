// Hard faults around log.txt: a full file system under appends and rewrites (a small tmpfs, or
// /dev/full where no tmpfs can be mounted), and hostile log.txt contents through the real main
// window. The operator is told, the old file stays whole and nothing logged is lost in memory.
#include "log/contactedit.h"
#include "log/contactlog.h"
#include "log/logbuilder.h"
#include "log/ui/mainwindow_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <vector>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>
#endif

namespace velk::testing {

namespace {

constexpr qsizetype pageSize = 4096;

ContactRecord contactNumber(int n, const QString& name)
{
    return {QStringLiteral("W%1AB").arg(n),
            name,
            QStringLiteral("CT"),
            QStringLiteral("2026/01/10"),
            QStringLiteral("17:%1:00").arg(n % 60, 2, 10, QLatin1Char('0')),
            QStringLiteral("20"),
            QStringLiteral("NA"),
            QStringLiteral("LEE"),
            QStringLiteral("14.025")};
}

// A log whose file is exactly `size` bytes long: numbered contacts, the last one's name padded.
std::vector<ContactRecord> logOfSize(qsizetype size)
{
    std::vector<ContactRecord> records;
    qsizetype used = 0;
    for (int n = 1;; ++n) {
        ContactRecord record = contactNumber(n, QStringLiteral("OP%1").arg(n));
        const qsizetype length = ContactLog::encodeLine(record).size();
        if (size - used - length < 2 * length) {
            record.name += QString(size - used - length, QLatin1Char('X'));
            records.push_back(record);
            return records;
        }
        records.push_back(record);
        used += length;
    }
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// A tmpfs of a few pages mounted over a folder for the life of the object; needs root (or
// CAP_SYS_ADMIN). filled() writes a filler file until the file system has no page left.
class SmallFileSystem
{
public:
    explicit SmallFileSystem(const QString& folder) : m_folder(folder)
    {
#ifdef Q_OS_LINUX
        m_mounted =
            ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=64k,mode=0755") == 0;
#endif
    }
    ~SmallFileSystem()
    {
#ifdef Q_OS_LINUX
        if (m_mounted) {
            ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
        }
#endif
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool mounted() const
    {
        return m_mounted;
    }
    QString fillerPath() const
    {
        return m_folder + QStringLiteral("/filler");
    }

    // Fills every free page; true when the file system then refused a write with ENOSPC.
    bool fill()
    {
#ifdef Q_OS_LINUX
        const int fd =
            ::open(QFile::encodeName(fillerPath()).constData(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (fd < 0) {
            return false;
        }
        const std::vector<char> page(static_cast<size_t>(pageSize), 'F');
        bool full = false;
        for (int i = 0; i < 1000 && !full; ++i) {
            const ssize_t n = ::write(fd, page.data(), page.size());
            full = n < 0 && errno == ENOSPC;
        }
        ::close(fd);
        return full;
#else
        return false;
#endif
    }
    void release()
    {
        QFile::remove(fillerPath());
    }

private:
    QString m_folder;
    bool m_mounted = false;
};

#define REQUIRE_SMALL_FILE_SYSTEM(fs)                                                                        \
    if (!(fs).mounted()) {                                                                                   \
        GTEST_SKIP() << "cannot mount a tmpfs here (needs root); the /dev/full tests still run";             \
    }

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The log file on a full file system

class FullFileSystemTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString logPath() const { return dir.filePath(QStringLiteral("log.txt")); }

    // A log whose file ends `slack` bytes before a page boundary, on a file system then filled.
    void prepare(SmallFileSystem& fs, ContactLog& log, qsizetype slack)
    {
        const QByteArray bytes = encodeAll(logOfSize(2 * pageSize - slack));
        ASSERT_EQ(bytes.size(), 2 * pageSize - slack);
        writeBytes(logPath(), bytes);
        ASSERT_TRUE(log.load(logPath()).ok);
        ASSERT_TRUE(fs.fill());
    }
};

TEST_F(FullFileSystemTest, AppendAtAPageBoundaryFailsAndKeepsFileAndMemory)
{
    SmallFileSystem fs(dir.path());
    REQUIRE_SMALL_FILE_SYSTEM(fs);
    ContactLog log;
    prepare(fs, log, 0);
    const QByteArray before = readBytes(logPath());
    const std::vector<ContactRecord> inMemory = log.records();

    const WriteResult written = log.append(contactNumber(900, QStringLiteral("NEW")), logPath());
    EXPECT_FALSE(written.ok);
    EXPECT_TRUE(written.error.contains(QStringLiteral("log.txt"))) << written.error.toStdString();
    EXPECT_TRUE(readBytes(logPath()) == before);
    EXPECT_TRUE(log.records() == inMemory);

    fs.release();
    ASSERT_TRUE(log.append(contactNumber(900, QStringLiteral("NEW")), logPath()).ok);
    EXPECT_EQ(readBytes(logPath()),
              before + ContactLog::encodeLine(contactNumber(900, QStringLiteral("NEW"))));
}

TEST_F(FullFileSystemTest, AppendCutShortByTheFullDiskTakesThePartialLineBack)
{
    SmallFileSystem fs(dir.path());
    REQUIRE_SMALL_FILE_SYSTEM(fs);
    ContactLog log;
    // Thirty bytes of the new line still fit into the file's last page; the rest does not.
    prepare(fs, log, 30);
    const QByteArray before = readBytes(logPath());
    const int count = log.count();

    EXPECT_FALSE(log.append(contactNumber(900, QStringLiteral("NEW")), logPath()).ok);
    EXPECT_TRUE(readBytes(logPath()) == before);
    EXPECT_EQ(log.count(), count);
    ContactLog reloaded;
    EXPECT_TRUE(reloaded.load(logPath()).ok);
    EXPECT_TRUE(reloaded.records() == log.records());
}

TEST_F(FullFileSystemTest, RewriteFailsAndLeavesTheOldFileWhole)
{
    SmallFileSystem fs(dir.path());
    REQUIRE_SMALL_FILE_SYSTEM(fs);
    ContactLog log;
    prepare(fs, log, 100);
    const QByteArray before = readBytes(logPath());
    const QStringList files = filesIn(dir.path());

    ContactRecord edited = log.record(3);
    edited.name = QStringLiteral("EDITED");
    EXPECT_FALSE(replaceContact(log, 3, edited, logPath()).ok);
    EXPECT_TRUE(readBytes(logPath()) == before);
    EXPECT_FALSE(deleteContact(log, 1, logPath()).ok);
    EXPECT_TRUE(readBytes(logPath()) == before);
    // No temporary file is left behind to fill the disk further.
    EXPECT_EQ(filesIn(dir.path()), files);

    fs.release();
    ASSERT_TRUE(log.rewrite(logPath()).ok);
    EXPECT_TRUE(readBytes(logPath()) == encodeAll(log.records()));
}

TEST(InjectedWriteFailure, AppendToAFullDeviceFailsAndKeepsMemory)
{
#ifdef Q_OS_LINUX
    if (!QFileInfo::exists(QStringLiteral("/dev/full"))) {
        GTEST_SKIP() << "no /dev/full";
    }
    ContactLog log;
    ASSERT_TRUE(log.loadBytes(encodeAll({contactNumber(1, QStringLiteral("AL"))})).ok);
    const WriteResult written =
        log.append(contactNumber(2, QStringLiteral("BO")), QStringLiteral("/dev/full"));
    EXPECT_FALSE(written.ok);
    EXPECT_FALSE(written.error.isEmpty());
    EXPECT_EQ(log.count(), 1);
#else
    GTEST_SKIP() << "no /dev/full";
#endif
}

TEST(InjectedWriteFailure, RewriteOverAFolderFailsAndKeepsTheFolder)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    ASSERT_TRUE(QDir().mkpath(path));
    ContactLog log;
    ASSERT_TRUE(log.loadBytes(encodeAll({contactNumber(1, QStringLiteral("AL"))})).ok);
    EXPECT_FALSE(log.rewrite(path).ok);
    EXPECT_TRUE(QFileInfo(path).isDir());
    EXPECT_EQ(log.count(), 1);
}

// The real main window with its working folder on a small tmpfs.
class MainWindowFullDiskTest : public MainWindowTest
{
protected:
    std::unique_ptr<SmallFileSystem> fs;
    QByteArray initialLog;

    void SetUp() override
    {
        MainWindowTest::SetUp();
        fs = std::make_unique<SmallFileSystem>(session.folders.working);
        if (!fs->mounted()) {
            return;
        }
        writeFile(session.folders.working + QStringLiteral("/arrlpre2.txt"), smallPrefixTable());
        initialLog = encodeAll(logOfSize(2 * pageSize - 30));
        writeFile(session.folders.logFile(), initialLog);
        writePreferences();
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        fs.reset();
    }
    const ShownMessage* shown(const QString& title) const
    {
        for (const ShownMessage& message : prompter.messages) {
            if (message.title == title) {
                return &message;
            }
        }
        return nullptr;
    }
};

TEST_F(MainWindowFullDiskTest, EnterOnAFullDiskTellsTheOperatorAndKeepsTheEntry)
{
    REQUIRE_SMALL_FILE_SYSTEM(*fs);
    start();
    ASSERT_TRUE(started);
    const int count = session.log.count();
    ASSERT_TRUE(fs->fill());

    enterContact(QStringLiteral("K1XYZ"), QStringLiteral("BOB"), QStringLiteral("CT"));
    const ShownMessage* failure = shown(QStringLiteral("Unable to write the log file"));
    ASSERT_NE(failure, nullptr);
    EXPECT_TRUE(failure->text.startsWith(QStringLiteral("The contact was NOT logged.")));
    EXPECT_TRUE(failure->text.contains(QStringLiteral("No space left on device")))
        << failure->text.toStdString();
    EXPECT_EQ(failure->icon, MessageIcon::Critical);
    EXPECT_EQ(session.log.count(), count);
    EXPECT_TRUE(readFile(session.folders.logFile()) == initialLog);
    EXPECT_EQ(box("callBox")->text(), QStringLiteral("K1XYZ"));
    EXPECT_EQ(box("nameBox")->text(), QStringLiteral("BOB"));
    EXPECT_EQ(box("locationBox")->text(), QStringLiteral("CT"));

    // Once there is room again the same Enter logs the contact.
    fs->release();
    keyAtFocus(Qt::Key_Return);
    EXPECT_EQ(session.log.count(), count + 1);
    EXPECT_EQ(session.log.record(count + 1).call, QStringLiteral("K1XYZ"));
    const QByteArray now = readFile(session.folders.logFile());
    EXPECT_TRUE(now.startsWith(initialLog));
    EXPECT_TRUE(now.endsWith(ContactLog::encodeLine(session.log.record(count + 1))));
    EXPECT_TRUE(box("callBox")->text().isEmpty());
}

TEST_F(MainWindowFullDiskTest, DeleteOnAFullDiskTellsTheOperatorAndKeepsEveryContact)
{
    REQUIRE_SMALL_FILE_SYSTEM(*fs);
    start();
    ASSERT_TRUE(started);
    const std::vector<ContactRecord> before = session.log.records();
    ASSERT_TRUE(fs->fill());

    form->contactList().view()->setCurrentIndex(listed()->index(0, 0));
    form->logFiles().deleteContact(form->contactList().selectedRecord());
    ASSERT_NE(shown(QStringLiteral("Unable to write the log file")), nullptr);
    EXPECT_TRUE(readFile(session.folders.logFile()) == initialLog);
    EXPECT_TRUE(session.log.records() == before);
    EXPECT_FALSE(form->hasEnded());
}

// ---------------------------------------------------------------------------------------------
// Hostile log.txt contents through the real main window

namespace {

const QString fileErrorText = QStringLiteral(
    "Error opening file.  This error is annoying but probably correctable.  In all likelihood, a character "
    "such as a quote got into your data or one of your entries has an invalid date/time format.  Close this "
    "program and open log.txt in the program's working directory with a text editor such as notepad.  "
    "Inspect the data and fix any errors you see (remove any extra quotes and make sure your date and time "
    "entries are valid).");

QByteArray goodLines()
{
    return encodeAll({contactNumber(1, QStringLiteral("AL")), contactNumber(2, QStringLiteral("BO"))});
}

struct HostileLog
{
    const char* name;
    QByteArray bytes;
};

std::vector<HostileLog> unreadableLogs()
{
    QByteArray junk;
    quint32 seed = 12345;
    for (int i = 0; i < 4096; ++i) {
        seed = seed * 1103515245u + 12345u;
        junk += static_cast<char>(seed >> 24);
    }
    junk.prepend("\x00\x01\"\xff", 4);
    return {
        {"stray quote", goodLines() + "\"K1AB\",\"BO\"B\",\"CT\",\"2026/01/10\",\"17:03:00\",\"20\",\"NA\","
                                      "\"LEE\",\"\"\r\n"},
        {"truncated last line", goodLines() + "\"K1AB\",\"BOB\",\"CT\",\"2026/01/1"},
        {"line cut between fields", goodLines() + "\"K1AB\",\"BOB\",\"CT\""},
        {"binary junk", goodLines() + junk},
        {"megabyte line", goodLines() + QByteArray(1 << 20, 'A') + "\r\n"},
        {"megabyte open quote", goodLines() + '"' + QByteArray(1 << 20, 'B')},
        {"eight fields", goodLines() + "\"K1AB\",\"BOB\",\"CT\",\"2026/01/10\",\"17:03:00\",\"20\",\"NA\","
                                       "\"LEE\"\r\n"},
        {"ten fields", goodLines() + "\"K1AB\",\"BOB\",\"CT\",\"2026/01/10\",\"17:03:00\",\"20\",\"NA\","
                                     "\"LEE\",\"\",\"\"\r\n"},
        {"only a comma", goodLines() + ",\r\n"},
    };
}

} // namespace

class MainWindowHostileLogTest : public MainWindowTest
{
};

TEST_F(MainWindowHostileLogTest, UnreadableLogShowsFileErrorEndsTheProgramAndLeavesTheFile)
{
    for (const HostileLog& hostile : unreadableLogs()) {
        SCOPED_TRACE(hostile.name);
        writeFile(session.folders.logFile(), hostile.bytes);
        const QDateTime modified = QFileInfo(session.folders.logFile()).lastModified();
        prompter.messages.clear();
        start();
        EXPECT_FALSE(started);
        EXPECT_TRUE(form->hasEnded());
        ASSERT_FALSE(prompter.messages.empty());
        EXPECT_EQ(prompter.messages.back().title, QStringLiteral("File Error"));
        EXPECT_EQ(prompter.messages.back().text, fileErrorText);
        EXPECT_TRUE(readFile(session.folders.logFile()) == hostile.bytes);
        EXPECT_EQ(QFileInfo(session.folders.logFile()).lastModified(), modified);
        // Nothing was backed up or saved on the way out.
        EXPECT_TRUE(QDir(session.folders.backup).entryList(QDir::Files).isEmpty());
        form->close();
        EXPECT_TRUE(readFile(session.folders.logFile()) == hostile.bytes);
        form.reset();
    }
}

TEST_F(MainWindowHostileLogTest, OddButReadableLogsLoadAndTheWindowKeepsWorking)
{
    const QByteArray megabyteName = QByteArray(1 << 20, 'M');
    const std::vector<HostileLog> readable = {
        {"last line without its line end", goodLines().chopped(2)},
        {"bare LF and CR line ends", goodLines().replace("\r\n", "\n") + goodLines().replace("\r\n", "\r")},
        {"blank lines", "\r\n\r\n" + goodLines() + "   \r\n\r\n"},
        {"NUL and high bytes inside fields",
         QByteArrayLiteral(
             "\"K1\x00X\",\"\xe9\xff\",\"CT\",\"2026/01/10\",\"17:03:00\",\"20\",\"NA\",\"LEE\",\"\"\r\n")},
        {"megabyte name", "\"K1AB\",\"" + megabyteName +
                              "\",\"CT\",\"2026/01/10\",\"17:03:00\",\"20\",\"NA\",\"LEE\",\"\"\r\n"},
        {"megabyte call", "\"K" + megabyteName +
                              "\",\"BOB\",\"CT\",\"2026/01/10\",\"17:03:00\",\"20\",\"NA\",\"LEE\",\"\"\r\n"},
        {"unknown band and bad date", "\"K1AB\",\"BOB\",\"CT\",\"2026/13/45\",\"99:99\",\"2\",\"NA\",\"LEE\","
                                      "\"\"\r\n"},
    };
    for (const HostileLog& odd : readable) {
        SCOPED_TRACE(odd.name);
        writeFile(session.folders.logFile(), odd.bytes);
        prompter.messages.clear();
        start();
        ASSERT_TRUE(started);
        EXPECT_FALSE(form->hasEnded());
        EXPECT_GT(session.log.count(), 0);
        EXPECT_TRUE(readFile(session.folders.logFile()) == odd.bytes);
        // A few keys in the call box (partial list, prefix lookup), leaving it (full check) and a
        // band change (reload) still work on such a log.
        type("callBox", QStringLiteral("K1"));
        focusOn("nameBox");
        station.selectBand(QStringLiteral("40"));
        EXPECT_FALSE(form->hasEnded());
        EXPECT_TRUE(readFile(session.folders.logFile()) == odd.bytes);
        form->entryPanel().clearEntry();
        form.reset();
        session.prefs.currentBand = QStringLiteral("20");
    }
}

} // namespace velk::testing

namespace velk::testing {

// A reload keeps what was read only while the file is byte for byte what the log read or wrote;
// any other change to the file, or to the log in memory, makes it read the file again.
TEST(ContactLogReload, ReadsTheFileAgainWheneverFileOrMemoryChanged)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    const std::vector<ContactRecord> two{contactNumber(1, QStringLiteral("AL")),
                                         contactNumber(2, QStringLiteral("BO"))};
    writeBytes(path, encodeAll(two));
    ContactLog log;
    ASSERT_TRUE(log.load(path).ok);
    ASSERT_TRUE(log.append(contactNumber(3, QStringLiteral("CY")), path).ok);
    ASSERT_TRUE(log.load(path).ok);
    ASSERT_EQ(log.count(), 3);
    EXPECT_EQ(log.record(3).name, QStringLiteral("CY"));

    // Changed outside the program, same length.
    QByteArray bytes = readBytes(path);
    bytes.replace("\"AL\"", "\"AX\"");
    writeBytes(path, bytes);
    ASSERT_TRUE(log.load(path).ok);
    EXPECT_EQ(log.record(1).name, QStringLiteral("AX"));

    // Changed in memory without a rewrite: the reload restores the file's records.
    log.replace(2, contactNumber(2, QStringLiteral("ZZ")));
    ASSERT_TRUE(log.load(path).ok);
    EXPECT_EQ(log.record(2).name, QStringLiteral("BO"));
    log.remove(1);
    ASSERT_TRUE(log.load(path).ok);
    EXPECT_EQ(log.count(), 3);
    EXPECT_EQ(log.record(1).name, QStringLiteral("AX"));

    // A damaged file fails the load even right after a good one.
    writeBytes(path, bytes + "\"K1\",\"BO\"B\"\r\n");
    EXPECT_FALSE(log.load(path).ok);
    EXPECT_EQ(log.count(), 0);
    ContactLog fresh;
    writeBytes(path, bytes);
    ASSERT_TRUE(fresh.load(path).ok);
    ASSERT_TRUE(log.load(path).ok);
    EXPECT_TRUE(log.records() == fresh.records());
    ASSERT_EQ(log.recordKeys().size(), 3u);
    EXPECT_EQ(log.recordKeys()[0].band, 4);
}

} // namespace velk::testing
