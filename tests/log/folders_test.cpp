#include "log/folders.h"

#include "common/qtprinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace {

class MapEnvironment : public velk::Environment
{
public:
    QMap<QString, QString> variables;
    QString value(const QString& name) const override { return variables.value(name); }
};

class FoldersTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    MapEnvironment env;
    QString profile() const { return dir.path(); }
    void makeFolder(const QString& name) { ASSERT_TRUE(QDir(profile()).mkpath(name)); }
    // A regular file where a folder must go: nothing can be made below it, even by root.
    QString makeBlockingFile(const QString& name)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return path;
    }
};

bool isFolder(const QString& path)
{
    return QFileInfo(path).isDir();
}

// How the system words the failure to make a folder below a regular file.
QString notAFolder()
{
    return QString::fromLocal8Bit(std::make_error_code(std::errc::not_a_directory).message());
}

std::string describe(const QList<velk::FolderError>& errors)
{
    QString text;
    for (const velk::FolderError& error : errors) {
        text += QStringLiteral("[%1] %2\n").arg(error.title, error.text);
    }
    return text.toStdString();
}

} // namespace

TEST_F(FoldersTest, DocumentsFolderIsUsedWhenPresent)
{
    makeFolder(QStringLiteral("Documents"));
    env.variables[QStringLiteral("USERPROFILE")] = profile();
    const velk::Folders folders = velk::resolveFolders(env, QStringLiteral("/work"));
    EXPECT_TRUE(folders.errors.isEmpty()) << describe(folders.errors);
    EXPECT_EQ(folders.working, QStringLiteral("/work"));
    EXPECT_EQ(folders.data, profile() + QStringLiteral("/Documents/Varno Software/VELK"));
    EXPECT_EQ(folders.shared, profile() + QStringLiteral("/Documents/Varno Software/Shared"));
    EXPECT_EQ(folders.backup, folders.data + QStringLiteral("/BACKUP"));
    EXPECT_TRUE(isFolder(folders.data));
    EXPECT_TRUE(isFolder(folders.shared));
    EXPECT_TRUE(isFolder(folders.backup));
    EXPECT_EQ(folders.logFile(), QStringLiteral("/work/log.txt"));
    EXPECT_EQ(folders.xmlStoreFile(), folders.shared + QStringLiteral("/SharedUserPreferences.xml"));
}

TEST_F(FoldersTest, MyDocumentsWinsOverDocuments)
{
    makeFolder(QStringLiteral("Documents"));
    makeFolder(QStringLiteral("My Documents"));
    env.variables[QStringLiteral("USERPROFILE")] = profile();
    QString error;
    const QString maker =
        velk::findDocumentsFolder(env, QStringLiteral("/Varno Software"), QStringLiteral("/VELK"), &error);
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(maker, profile() + QStringLiteral("/My Documents/Varno Software"));
    EXPECT_TRUE(isFolder(maker + QStringLiteral("/VELK")));
    EXPECT_FALSE(isFolder(profile() + QStringLiteral("/Documents/Varno Software")));
}

TEST_F(FoldersTest, ProfileItselfWhenNoDocumentsFolder)
{
    env.variables[QStringLiteral("USERPROFILE")] = profile();
    const velk::Folders folders = velk::resolveFolders(env, QStringLiteral("/work"));
    EXPECT_EQ(folders.data, profile() + QStringLiteral("/Varno Software/VELK"));
    EXPECT_TRUE(isFolder(folders.backup));
}

TEST_F(FoldersTest, HomeWhenUserProfileUnset)
{
    makeFolder(QStringLiteral("Documents"));
    env.variables[QStringLiteral("HOME")] = profile();
    const velk::Folders folders = velk::resolveFolders(env, QStringLiteral("/work"));
    EXPECT_EQ(folders.data, profile() + QStringLiteral("/Documents/Varno Software/VELK"));
    EXPECT_TRUE(isFolder(folders.data));
}

TEST_F(FoldersTest, AppDataWhenTheProfileCannotHoldTheFolder)
{
    const QString blocked = makeBlockingFile(QStringLiteral("profile-file"));
    makeFolder(QStringLiteral("AppData"));
    env.variables[QStringLiteral("USERPROFILE")] = blocked;
    env.variables[QStringLiteral("APPDATA")] = dir.filePath(QStringLiteral("AppData"));
    QString error;
    const QString maker =
        velk::findDocumentsFolder(env, QStringLiteral("/Varno Software"), QStringLiteral("/VELK"), &error);
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(maker, dir.filePath(QStringLiteral("AppData/Varno Software")));
    EXPECT_TRUE(isFolder(maker + QStringLiteral("/VELK")));
}

TEST_F(FoldersTest, FailureIsReportedWithTheSystemsReason)
{
    const QString blocked = makeBlockingFile(QStringLiteral("profile-file"));
    env.variables[QStringLiteral("USERPROFILE")] = blocked;
    QString error;
    velk::findDocumentsFolder(env, QStringLiteral("/Varno Software"), QStringLiteral("/VELK"), &error);
    EXPECT_EQ(error, notAFolder());

    // The data and shared folders both fail on the documents folder; the backup folder below
    // the data folder fails in turn.
    const velk::Folders folders = velk::resolveFolders(env, QStringLiteral("/work"));
    const QList<velk::FolderError> expected = {
        {QStringLiteral("User Access Directory Error"), notAFolder()},
        {QStringLiteral("User Access Directory Error"), notAFolder()},
        {QStringLiteral("Unable to create directory."), folders.backup + QStringLiteral("  ") + notAFolder()},
    };
    EXPECT_EQ(folders.errors, expected) << describe(folders.errors);
}

TEST_F(FoldersTest, EachFailureCarriesItsOwnTitle)
{
    struct Case
    {
        const char* name;
        std::function<std::optional<velk::FolderError>()> fail;
        QString title;
        QString text;
    };
    const QString blocked = makeBlockingFile(QStringLiteral("file"));
    const QString below = blocked + QStringLiteral("/sub");
    const std::vector<Case> cases = {
        {"documents folder cannot be made",
         [&]() -> std::optional<velk::FolderError> {
             env.variables[QStringLiteral("USERPROFILE")] = blocked;
             const velk::Folders folders = velk::resolveFolders(env, QStringLiteral("/work"));
             if (folders.errors.isEmpty()) {
                 return std::nullopt;
             }
             return folders.errors.front();
         },
         QStringLiteral("User Access Directory Error"), notAFolder()},
        {"empty path", [] { return velk::ensureFolder(QString()); },
         QStringLiteral("Unable to Create Directory"), QStringLiteral("Invalid Path")},
        {"folder below a file", [&] { return velk::ensureFolder(below); },
         QStringLiteral("Unable to create directory."), below + QStringLiteral("  ") + notAFolder()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<velk::FolderError> error = c.fail();
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->title, c.title);
        EXPECT_EQ(error->text, c.text);
    }
}

TEST_F(FoldersTest, ensureFolder)
{
    const QString nested = dir.filePath(QStringLiteral("a/b/c"));
    EXPECT_FALSE(velk::ensureFolder(nested).has_value());
    EXPECT_TRUE(isFolder(nested));
    EXPECT_FALSE(velk::ensureFolder(nested).has_value()) << "an existing folder is fine";
}

TEST_F(FoldersTest, WorkingFolderIsVelkHomeElseVelkUnderHome)
{
    env.variables[QStringLiteral("HOME")] = QStringLiteral("/home/op");
    EXPECT_EQ(velk::defaultWorkingFolder(env), QStringLiteral("/home/op/VELK"));
    env.variables[QStringLiteral("VELK_HOME")] = QStringLiteral("/srv/contest");
    EXPECT_EQ(velk::defaultWorkingFolder(env), QStringLiteral("/srv/contest"));
}

// A first start gets the shipped files and an empty log; a later one only what went missing,
// never replacing what the operator changed or logged.
TEST_F(FoldersTest, SeedingFillsGapsAndKeepsTheOperatorsFiles)
{
    const QString shipped = dir.filePath(QStringLiteral("share/velk"));
    makeFolder(QStringLiteral("share/velk"));
    const auto write = [](const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    const auto read = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    };
    write(shipped + QStringLiteral("/arrlpre2.txt"), "\"K\",\"USA\"\r\n");
    write(shipped + QStringLiteral("/BandPlan.txt"), "shipped plan");

    const QString working = dir.filePath(QStringLiteral("home/VELK"));
    EXPECT_TRUE(velk::seedWorkingFolder(shipped, working).isEmpty());
    EXPECT_EQ(read(working + QStringLiteral("/arrlpre2.txt")), QByteArray("\"K\",\"USA\"\r\n"));
    EXPECT_EQ(read(working + QStringLiteral("/log.txt")), QByteArray());

    write(working + QStringLiteral("/BandPlan.txt"), "operator's plan");
    write(working + QStringLiteral("/log.txt"), "\"W1AW\"\r\n");
    QFile::remove(working + QStringLiteral("/arrlpre2.txt"));
    EXPECT_TRUE(velk::seedWorkingFolder(shipped, working).isEmpty());
    EXPECT_EQ(read(working + QStringLiteral("/BandPlan.txt")), QByteArray("operator's plan"));
    EXPECT_EQ(read(working + QStringLiteral("/log.txt")), QByteArray("\"W1AW\"\r\n"));
    EXPECT_EQ(read(working + QStringLiteral("/arrlpre2.txt")), QByteArray("\"K\",\"USA\"\r\n"));

    // Without shipped data (a program run from its build folder) only the log is started.
    const QString bare = dir.filePath(QStringLiteral("bare"));
    EXPECT_TRUE(velk::seedWorkingFolder(dir.filePath(QStringLiteral("nowhere")), bare).isEmpty());
    EXPECT_EQ(QDir(bare).entryList(QDir::Files), QStringList{QStringLiteral("log.txt")});

    // A working folder that cannot be made is told once, with its path.
    const QString blocked = makeBlockingFile(QStringLiteral("blocked")) + QStringLiteral("/VELK");
    const QList<velk::FolderError> errors = velk::seedWorkingFolder(shipped, blocked);
    ASSERT_EQ(errors.size(), 1) << describe(errors);
    EXPECT_EQ(errors.first().title, QStringLiteral("Unable to create directory."));
    EXPECT_TRUE(errors.first().text.startsWith(blocked)) << errors.first().text.toStdString();
}

TEST(safeCallForFileName, KeepsTheLeadingCapitalsAndDigits)
{
    EXPECT_EQ(velk::safeCallForFileName(QStringLiteral("N0CALL")), QStringLiteral("N0CALL"));
    EXPECT_EQ(velk::safeCallForFileName(QStringLiteral("N0CALL/4")), QStringLiteral("N0CALL"));
    EXPECT_EQ(velk::safeCallForFileName(QStringLiteral("VE3abc")), QStringLiteral("VE3"));
    EXPECT_EQ(velk::safeCallForFileName(QStringLiteral("../etc")), QStringLiteral("YourCall"));
    EXPECT_EQ(velk::safeCallForFileName(QString()), QStringLiteral("YourCall"));
}
