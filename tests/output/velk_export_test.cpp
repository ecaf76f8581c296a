// The velk-export command-line tool, run as a separate process on a temporary working folder.
#include "common/qtprinters.h"
#include "log/callhistory.h"
#include "log/contactlog.h"
#include "log/preferences.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace velk {
namespace {

struct ToolRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

class VelkExportTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString work;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QFileInfo(tool()).isExecutable()) << "build velk-export first: " << tool().toStdString();
        work = dir.filePath(QStringLiteral("work"));
        QDir().mkpath(work);
        QDir().mkpath(dir.filePath(QStringLiteral("home/Documents")));
        writeFile(work + QStringLiteral("/log.txt"),
                  "\"N0CALL\",\"PAT\",\"MN\",\"2026/01/10\",\"18:04:31\",\"20\",\"NA\",\"BOB\",\"14.025\"\r\n"
                  "\"VE3XYZ\",\"JOE\",\"ON\",\"2026/01/10\",\"18:10\",\"160\",\"NA\",\"BOB\",\"\"\r\n"
                  "\"W1AW\",\"HAL\",\"CT\",\"2026/01/10\",\"18:12:00\",\"20\",\"NA\",\"BOB\",\"14.030\"\r\n");
        Preferences prefs;
        prefs.ownCall = QStringLiteral("K1ABC");
        prefs.ownSpc = QStringLiteral("CT");
        prefs.mode = QStringLiteral("PH");
        ASSERT_TRUE(savePreferences(work + QStringLiteral("/VELKpref.txt"), prefs).ok);
    }

    // The tool is built beside the test executable's folder.
    static QString tool()
    {
        return QDir(QCoreApplication::applicationDirPath())
            .absoluteFilePath(QStringLiteral("../velk-export"));
    }

    ToolRun run(const QStringList& arguments)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), dir.filePath(QStringLiteral("home")));
        environment.remove(QStringLiteral("USERPROFILE"));
        environment.remove(QStringLiteral("APPDATA"));
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(dir.path());
        process.start(tool(), arguments);
        ToolRun result;
        if (!process.waitForFinished(30000)) {
            process.kill();
            process.waitForFinished();
            return result;
        }
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
        result.err = QString::fromLocal8Bit(process.readAllStandardError());
        return result;
    }

    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QByteArray readFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(VelkExportTest, HelpExplainsEveryCommandAndOption)
{
    const ToolRun result = run({QStringLiteral("--help")});
    EXPECT_EQ(result.exitCode, 0);
    for (const char* word :
         {"cabrillo", "adif", "transfer", "score", "history", "--folder", "--output", "--operators",
          "--category", "--power-category", "--name", "--address1", "--address2", "--email", "--soapbox",
          "--tx-power", "--comment", "--mode", "--country-table"}) {
        EXPECT_TRUE(result.out.contains(QLatin1String(word))) << word;
    }
}

TEST_F(VelkExportTest, ScorePrintsContactsMultipliersAndClaimedScore)
{
    const ToolRun result = run({QStringLiteral("score"), QStringLiteral("--folder"), work});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    // MN and CT on 20 m, ON on 160 m.
    EXPECT_EQ(result.out, QStringLiteral("Contacts: 3\nMultipliers: 3\nClaimed score: 9\n"));
}

TEST_F(VelkExportTest, CabrilloTakesTheSummaryFromOptions)
{
    const ToolRun result =
        run({QStringLiteral("cabrillo"), QStringLiteral("-f"), work, QStringLiteral("--category"),
             QStringLiteral("multi-two"), QStringLiteral("--power-category"), QStringLiteral("HIGH"),
             QStringLiteral("--operators"), QStringLiteral("k1abc w1xyz"), QStringLiteral("--name"),
             QStringLiteral("Robert Smith"), QStringLiteral("--email"), QStringLiteral("k1abc@example.org"),
             QStringLiteral("--soapbox"), QStringLiteral("Fun.\nAgain!")});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QString path = work + QStringLiteral("/K1ABC.log");
    EXPECT_EQ(result.out.trimmed(), QDir::toNativeSeparators(path));
    const QString text = QString::fromLatin1(readFile(path));
    EXPECT_TRUE(
        text.startsWith(QLatin1String("START-OF-LOG: 2.0\r\nCREATED-BY: Varno's VELK Contest Log 2.7\r\n"
                                      "CONTEST: VELK-SSB\r\nCALLSIGN: K1ABC\r\n"
                                      "CATEGORY: MULTI-TWO ALL HIGH\r\n"
                                      "CATEGORY-ASSISTED: NON-ASSISTED\r\nCLAIMED-SCORE:  9 \r\n"
                                      "OPERATORS: K1ABC W1XYZ\r\nNAME: Robert Smith\r\n")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(
        QLatin1String("ADDRESS: (e-mail) k1abc@example.org\r\nSOAPBOX: Fun.\r\nSOAPBOX: Again!\r\n")));
    EXPECT_TRUE(text.contains(QLatin1String("QSO: 14000 PH 2026-01-10 1812 K1ABC           BOB        CT  "
                                            "W1AW            HAL        CT\r\nEND-OF-LOG:\r\n")));

    const ToolRun wrong = run({QStringLiteral("cabrillo"), QStringLiteral("-f"), work,
                               QStringLiteral("--category"), QStringLiteral("multi-three")});
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_TRUE(wrong.err.contains(QLatin1String("--category")));
}

TEST_F(VelkExportTest, AdifAndTransferFiles)
{
    writeFile(work + QStringLiteral("/ADIFCnt.txt"), "\"Canada\",1\r\n\"USA\",291\r\n");
    const QString adi = dir.filePath(QStringLiteral("out.adi"));
    ToolRun result = run({QStringLiteral("adif"), QStringLiteral("--folder"), work, QStringLiteral("-o"), adi,
                          QStringLiteral("--comment"), QString()});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QString text = QString::fromLatin1(readFile(adi));
    EXPECT_TRUE(text.startsWith(QLatin1String("ADIF Export from Varno's VELK Contest Log 2.7\r\n")));
    EXPECT_TRUE(
        text.contains(QLatin1String("<Call:6>VE3XYZ <Qso_Date:8:d>20260110 <Band:4>160M <Mode:3>SSB\r\n"
                                    "<Tx_Pwr:3>100 <Time_On:4>1810 <DXCC:1>1 <Cont:2>NA <Name:3>JOE "
                                    "<eor>\r\n\r\n")))
        << text.toStdString();

    result = run({QStringLiteral("transfer"), QStringLiteral("--folder"), work, QStringLiteral("--tx-power"),
                  QStringLiteral("5")});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_TRUE(
        readFile(work + QStringLiteral("/LogExp.txt"))
            .startsWith("\"N0CALL\",\"2026/01/10\",\"20\",\"SSB\",\"5\",\"18:04:31\",,,,\"USA\",\"MN\",,,,,"
                        "\"VELK Contest  PAT\"\r\n"));
}

TEST_F(VelkExportTest, FailuresGoToStandardErrorWithNonZeroStatus)
{
    QFile::remove(work + QStringLiteral("/log.txt"));
    for (const char* command : {"cabrillo", "adif", "transfer", "score"}) {
        const ToolRun result = run({QString::fromLatin1(command), QStringLiteral("--folder"), work});
        EXPECT_EQ(result.exitCode, 1) << command;
        EXPECT_TRUE(result.err.contains(QLatin1String("log.txt"))) << command << result.err.toStdString();
        EXPECT_TRUE(result.out.isEmpty()) << command;
    }
    EXPECT_EQ(QDir(work).entryList(QDir::Files), QStringList{QStringLiteral("VELKpref.txt")});

    ToolRun result = run({QStringLiteral("publish")});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_FALSE(result.err.isEmpty());
    result = run({});
    EXPECT_EQ(result.exitCode, 2);

    // No country table anywhere: the ADIF file is not written.
    writeFile(work + QStringLiteral("/log.txt"), {});
    result = run({QStringLiteral("adif"), QStringLiteral("--folder"), work});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains(QLatin1String("ADIFCnt.txt"))) << result.err.toStdString();
    EXPECT_FALSE(QFile::exists(work + QStringLiteral("/VELK.adi")));
}

TEST_F(VelkExportTest, HistoryFromPastLogsKeepsTheMostRecentNameAndLocation)
{
    // Last year's log, generated, and this year's working folder log with two of its stations.
    const QString generated = dir.filePath(QStringLiteral("2025.log"));
    QProcess generator;
    generator.start(QStringLiteral("python3"), {QStringLiteral(VELK_SOURCE_DIR "/tools/make_test_log.py"),
                                                QStringLiteral("3000"), generated});
    ASSERT_TRUE(generator.waitForFinished(60000));
    ASSERT_EQ(generator.exitCode(), 0) << generator.readAllStandardError().toStdString();
    ContactLog old;
    ASSERT_TRUE(old.load(generated).ok);
    const ContactRecord& first = old.record(1);
    const ContactRecord& last = old.record(old.count());
    QByteArray thisYear = ContactLog::encodeLine({first.call.toLower(),
                                                  QStringLiteral("NEWNAME"),
                                                  QStringLiteral("NH"),
                                                  QStringLiteral("2027/01/09"),
                                                  QStringLiteral("18:00:00"),
                                                  QStringLiteral("20"),
                                                  QStringLiteral("NA"),
                                                  QStringLiteral("LEE"),
                                                  {}});
    // Older than last year's contact with the same call: last year's name stays.
    thisYear += ContactLog::encodeLine({last.call,
                                        QStringLiteral("OLDNAME"),
                                        QStringLiteral("VT"),
                                        QStringLiteral("2020/01/09"),
                                        QStringLiteral("18:00"),
                                        QStringLiteral("20"),
                                        QStringLiteral("NA"),
                                        QStringLiteral("LEE"),
                                        {}});
    // Not a call sign: left out, and said so.
    thisYear += ContactLog::encodeLine({QStringLiteral("K1 ABC"),
                                        QStringLiteral("X"),
                                        QStringLiteral("MA"),
                                        QStringLiteral("2027/01/09"),
                                        QStringLiteral("18:00:00"),
                                        QStringLiteral("20"),
                                        QStringLiteral("NA"),
                                        QStringLiteral("LEE"),
                                        {}});
    writeFile(work + QStringLiteral("/log.txt"), thisYear);

    const ToolRun result = run({QStringLiteral("history"), generated, work + QStringLiteral("/log.txt"),
                                QStringLiteral("-f"), work});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QString path = work + QStringLiteral("/CallHistory.txt");
    EXPECT_EQ(result.out.trimmed(), QDir::toNativeSeparators(path));
    QSet<QString> calls;
    for (const ContactRecord& record : old.records()) {
        calls.insert(record.call);
    }
    EXPECT_EQ(result.err,
              QStringLiteral("velk-export: %1 stations from 2 logs; 1 contacts without a valid call "
                             "left out\n")
                  .arg(calls.size()));

    const QByteArray bytes = readFile(path);
    EXPECT_TRUE(bytes.startsWith("!!Order!!,Call,Name,Loc1\r\n# Call history written by Varno's VELK Contest "
                                 "Log 2.7\r\n"));
    // The file reads back as the logger reads a history.
    const CallHistoryRead read = readCallHistoryFile(path);
    ASSERT_TRUE(read.history);
    EXPECT_EQ(read.history->size(), calls.size());
    EXPECT_EQ(read.history->find(first.call),
              (HistoryEntry{QStringLiteral("NEWNAME"), QStringLiteral("NH")}));
    EXPECT_EQ(read.history->find(last.call), (HistoryEntry{last.name, last.location}));
    for (int i = 1; i <= old.count(); i += 250) {
        const ContactRecord& record = old.record(i);
        if (record.call != first.call && record.call != last.call) {
            EXPECT_EQ(read.history->find(record.call), (HistoryEntry{record.name, record.location}))
                << record.call.toStdString();
        }
    }

    // Without logs: the working folder's log.txt. A log that cannot be read writes nothing.
    EXPECT_EQ(run({QStringLiteral("history"), QStringLiteral("-f"), work, QStringLiteral("-o"),
                   dir.filePath(QStringLiteral("h.txt"))})
                  .exitCode,
              0);
    EXPECT_EQ(readCallHistoryFile(dir.filePath(QStringLiteral("h.txt"))).history->size(), 2);
    const ToolRun missing =
        run({QStringLiteral("history"), generated, dir.filePath(QStringLiteral("none.log")),
             QStringLiteral("-o"), dir.filePath(QStringLiteral("never.txt"))});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains(QLatin1String("none.log"))) << missing.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("never.txt"))));
    // Other commands take no log files.
    EXPECT_EQ(run({QStringLiteral("score"), generated, QStringLiteral("-f"), work}).exitCode, 2);
}

} // namespace
} // namespace velk
