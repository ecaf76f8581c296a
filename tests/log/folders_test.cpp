#include "log/folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
};

bool isFolder(const QString& path)
{
    return QFileInfo(path).isDir();
}

} // namespace

TEST_F(FoldersTest, DocumentsFolderIsUsedWhenPresent)
{
    makeFolder(QStringLiteral("Documents"));
    env.variables[QStringLiteral("USERPROFILE")] = profile();
    const velk::Folders folders = velk::resolveFolders(env, QStringLiteral("/work"));
    EXPECT_TRUE(folders.errors.isEmpty()) << folders.errors.join(QLatin1Char('\n')).toStdString();
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
        velk::FindDocumentsFolder(env, QStringLiteral("/Varno Software"), QStringLiteral("/VELK"), &error);
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
    // A file where the profile folder should be: nothing can be made below it.
    const QString blocked = dir.filePath(QStringLiteral("profile-file"));
    QFile file(blocked);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    makeFolder(QStringLiteral("AppData"));
    env.variables[QStringLiteral("USERPROFILE")] = blocked;
    env.variables[QStringLiteral("APPDATA")] = dir.filePath(QStringLiteral("AppData"));
    QString error;
    const QString maker =
        velk::FindDocumentsFolder(env, QStringLiteral("/Varno Software"), QStringLiteral("/VELK"), &error);
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(maker, dir.filePath(QStringLiteral("AppData/Varno Software")));
    EXPECT_TRUE(isFolder(maker + QStringLiteral("/VELK")));
}

TEST_F(FoldersTest, FailureIsReportedWithTheSystemsReason)
{
    const QString blocked = dir.filePath(QStringLiteral("profile-file"));
    QFile file(blocked);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    env.variables[QStringLiteral("USERPROFILE")] = blocked;
    QString error;
    velk::FindDocumentsFolder(env, QStringLiteral("/Varno Software"), QStringLiteral("/VELK"), &error);
    EXPECT_FALSE(error.isEmpty());

    const velk::Folders folders = velk::resolveFolders(env, QStringLiteral("/work"));
    EXPECT_FALSE(folders.errors.isEmpty());
}

TEST_F(FoldersTest, EnsureFolder)
{
    EXPECT_EQ(velk::EnsureFolder(QString()), QStringLiteral("Invalid Path"));
    const QString nested = dir.filePath(QStringLiteral("a/b/c"));
    EXPECT_TRUE(velk::EnsureFolder(nested).isEmpty());
    EXPECT_TRUE(isFolder(nested));
    EXPECT_TRUE(velk::EnsureFolder(nested).isEmpty()) << "an existing folder is fine";

    const QString blocked = dir.filePath(QStringLiteral("file"));
    QFile file(blocked);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const QString error = velk::EnsureFolder(blocked + QStringLiteral("/sub"));
    EXPECT_TRUE(error.startsWith(blocked + QStringLiteral("/sub  "))) << error.toStdString();
    EXPECT_GT(error.size(), blocked.size() + 6);
}

TEST(SafeCallForFileName, KeepsTheLeadingCapitalsAndDigits)
{
    EXPECT_EQ(velk::SafeCallForFileName(QStringLiteral("N0CALL")), QStringLiteral("N0CALL"));
    EXPECT_EQ(velk::SafeCallForFileName(QStringLiteral("N0CALL/4")), QStringLiteral("N0CALL"));
    EXPECT_EQ(velk::SafeCallForFileName(QStringLiteral("VE3abc")), QStringLiteral("VE3"));
    EXPECT_EQ(velk::SafeCallForFileName(QStringLiteral("../etc")), QStringLiteral("YourCall"));
    EXPECT_EQ(velk::SafeCallForFileName(QString()), QStringLiteral("YourCall"));
}
