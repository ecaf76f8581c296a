#include "common/qtprinters.h"
#include "output/exportfile.h"
#include "output/transferfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace velk {
namespace {

TEST(TransferFile, SixteenFieldsPerContact)
{
    const std::vector<ContactRecord> records{
        {QStringLiteral("W1AW"), QStringLiteral("HAL"), QStringLiteral("CT"), QStringLiteral("2026/01/10"),
         QStringLiteral("18:04:31"), QStringLiteral("20"), QStringLiteral("NA"), QStringLiteral("BOB"),
         QStringLiteral("14.025")},
        {QStringLiteral("VE3ABC"), QStringLiteral("JOE"), QStringLiteral("ON"), QStringLiteral("2026/01/10"),
         QStringLiteral("18:05"), QStringLiteral("160"), QStringLiteral("NA"), QStringLiteral("BOB"),
         QString()},
        {QStringLiteral("KP4XX"), QStringLiteral("ANA"), QStringLiteral("Puerto Rico"),
         QStringLiteral("2026/01/10"), QStringLiteral("18:06:00"), QStringLiteral("6"), QStringLiteral("NA"),
         QStringLiteral("BOB"), QString()},
        {QStringLiteral("K1XX"), QStringLiteral("ED"), QStringLiteral("C"), QStringLiteral("2026/01/10"),
         QStringLiteral("18:07:00"), QStringLiteral("40"), QStringLiteral("NA"), QStringLiteral("BOB"),
         QString()},
    };
    // Quotes in the answers would split their fields: they are dropped.
    const QByteArray bytes = writeTransferFile(records, {QStringLiteral("ss\"b"), QStringLiteral("100")});
    const QByteArray expected =
        "\"W1AW\",\"2026/01/10\",\"20\",\"SSB\",\"100\",\"18:04:31\",,,,\"USA\",\"CT\",,,,,"
        "\"VELK Contest  HAL\"\r\n"
        "\"VE3ABC\",\"2026/01/10\",\"160\",\"SSB\",\"100\",\"18:05\",,,,\"Canada\",\"\",,,,,"
        "\"VELK Contest  JOE\"\r\n"
        "\"KP4XX\",\"2026/01/10\",\"6\",\"SSB\",\"100\",\"18:06:00\",,,,\"Puerto Rico\",\"\",,,,,"
        "\"VELK Contest  ANA\"\r\n"
        "\"K1XX\",\"2026/01/10\",\"40\",\"SSB\",\"100\",\"18:07:00\",,,,\"\",\"\",,,,,"
        "\"VELK Contest  ED\"\r\n";
    EXPECT_EQ(QString::fromLatin1(bytes), QString::fromLatin1(expected));
    EXPECT_TRUE(writeTransferFile({}, {}).isEmpty());
}

TEST(ExportFile, ReplacesTheWholeFileOrReportsWhyNot)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("VELK.adi"));
    ASSERT_TRUE(writeExportFile(path, "a much longer old content\r\n").ok);
    ASSERT_TRUE(writeExportFile(path, "new\r\n").ok);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("new\r\n"));

    const WriteResult missingFolder =
        writeExportFile(dir.filePath(QStringLiteral("no/such/folder/x.log")), "x");
    EXPECT_FALSE(missingFolder.ok);
    EXPECT_FALSE(missingFolder.error.isEmpty());
    // A folder in the way of the file: the folder stays a folder.
    QDir().mkpath(dir.filePath(QStringLiteral("taken.log")));
    EXPECT_FALSE(writeExportFile(dir.filePath(QStringLiteral("taken.log")), "x").ok);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("VELK.adi")});
}

TEST(ExportFile, ProgramNameComesFromTheWindowTitle)
{
    const QString title =
        QStringLiteral("Varno's VELK Contest Log 2.7                    https://velk.example.org");
    EXPECT_EQ(programNameFromTitle(title, 50), QStringLiteral("Varno's VELK Contest Log 2.7"));
    EXPECT_EQ(programNameFromTitle(title, 40), QStringLiteral("Varno's VELK Contest Log 2.7"));
    EXPECT_EQ(programNameFromTitle(QStringLiteral("  VELK 2.7"), 50), QStringLiteral("VELK 2.7"));
    EXPECT_EQ(programNameFromTitle(QStringLiteral("VELK Contest Log"), 8), QStringLiteral("VELK Con"));
}

} // namespace
} // namespace velk
