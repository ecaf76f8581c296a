#include "app/ui/mainwindow.h"
#include "common/qtprinters.h"
#include "output/ui/exports.h"
#include "output/ui/summarysheetdialog.h"
#include "support/platformfakes.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace velk::testing {
namespace {

const QString mainTitle =
    QStringLiteral("Varno's VELK Contest Log 2.7                    https://velk.example.org");

class ExportWindowTest : public ::testing::Test, protected PlatformFakes
{
protected:
    QTemporaryDir dir;
    LogSession session;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        session.folders.working = dir.filePath(QStringLiteral("work"));
        session.folders.data = dir.filePath(QStringLiteral("data"));
        session.folders.shared = dir.filePath(QStringLiteral("shared"));
        for (const QString& folder :
             {session.folders.working, session.folders.data, session.folders.shared}) {
            QDir().mkpath(folder);
        }
        session.xml.open(session.folders.xmlStoreFile());
        session.prefs.ownCall = QStringLiteral(" K1ABC ");
        session.prefs.ownSpc = QStringLiteral("CT");
        session.prefs.mode = QStringLiteral("CW");
        ASSERT_TRUE(
            session.log
                .loadBytes(
                    "\"N0CALL\",\"PAT\",\"MN\",\"2026/01/10\",\"18:04:31\",\"20\",\"NA\",\"BOB\","
                    "\"14.025\"\r\n"
                    "\"VE3XYZ\",\"JOE\",\"ON\",\"2026/01/10\",\"18:10\",\"160\",\"NA\",\"BOB\",\"\"\r\n")
                .ok);
        clock.setLocal(QDateTime(QDate(2026, 1, 11), QTime(9, 15, 0)));
    }

    static QByteArray readFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    template <typename T> static T* child(QWidget* window, const char* name)
    {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
};

TEST_F(ExportWindowTest, SummarySheetOpensWithRememberedAddressAndDefaults)
{
    settings.values[QStringLiteral("UserAddressName")] = QStringLiteral("Robert Smith");
    settings.values[QStringLiteral("UserEMail")] = QStringLiteral("k1abc@example.org");
    SummarySheetDialog form(platform, session, mainTitle);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Summary Sheet Information"));
    EXPECT_EQ(child<QLineEdit>(&form, "sectionBox")->text(), QStringLiteral("CT"));
    EXPECT_EQ(child<QLineEdit>(&form, "nameBox")->text(), QStringLiteral("Robert Smith"));
    EXPECT_TRUE(child<QLineEdit>(&form, "addressLine1Box")->text().isEmpty());
    EXPECT_EQ(child<QLineEdit>(&form, "emailBox")->text(), QStringLiteral("k1abc@example.org"));
    EXPECT_TRUE(child<QRadioButton>(&form, "singleOption")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(&form, "lowPowerOption")->isChecked());
    EXPECT_EQ(child<QPushButton>(&form, "writeButton")->text(), QStringLiteral("Write Cabrillo File"));
    EXPECT_EQ(child<QPushButton>(&form, "doneButton")->text(), QStringLiteral("Done"));

    form.show();
    QLineEdit* operators = child<QLineEdit>(&form, "operatorsBox");
    operators->setFocus();
    QTest::keyClicks(operators, QStringLiteral("k1abc w1xyz"));
    EXPECT_EQ(operators->text(), QStringLiteral("K1ABC W1XYZ"));
}

TEST_F(ExportWindowTest, WriteCabrilloFileWritesReportsAndRemembersTheAddress)
{
    SummarySheetDialog form(platform, session, mainTitle);
    form.show();
    QTest::keyClicks(child<QLineEdit>(&form, "nameBox"), QStringLiteral(" Robert Smith "));
    QTest::keyClicks(child<QLineEdit>(&form, "addressLine1Box"), QStringLiteral("12 Main St"));
    QTest::keyClicks(child<QLineEdit>(&form, "emailBox"), QStringLiteral("k1abc@example.org "));
    child<QRadioButton>(&form, "qrpOption")->click();
    child<QRadioButton>(&form, "multiTwoOption")->click();
    child<QPlainTextEdit>(&form, "soapboxBox")->setPlainText(QStringLiteral("Fun!"));

    const QString path = dir.filePath(QStringLiteral("K1ABC.log"));
    prompter.fileAnswers.push_back(path);
    QTest::mouseClick(child<QPushButton>(&form, "writeButton"), Qt::LeftButton);

    ASSERT_EQ(prompter.fileDialogs.size(), 1u);
    EXPECT_EQ(prompter.fileDialogs[0].proposedName, session.folders.data + QStringLiteral("/K1ABC.log"));
    EXPECT_EQ(prompter.fileDialogs[0].filter, QStringLiteral("LOG Files (*.log) | *.log"));
    EXPECT_EQ(session.prefs.ownCall, QStringLiteral("K1ABC"));

    // Two contacts, MN on 20 m and ON on 160 m: two multipliers.
    const QByteArray expected =
        "START-OF-LOG: 2.0\r\n"
        "CREATED-BY: Varno's VELK Contest Log 2.7\r\n"
        "CONTEST: VELK-CW\r\n"
        "CALLSIGN: K1ABC\r\n"
        "CATEGORY: MULTI-TWO ALL QRP\r\n"
        "CATEGORY-ASSISTED: NON-ASSISTED\r\n"
        "CLAIMED-SCORE:  4 \r\n"
        "OPERATORS: K1ABC\r\n"
        "NAME:  Robert Smith \r\n"
        "ADDRESS: 12 Main St\r\n"
        "ADDRESS: \r\n"
        "ADDRESS: (e-mail) k1abc@example.org \r\n"
        "SOAPBOX: Fun!\r\n"
        "QSO: 14000 CW 2026-01-10 1804 K1ABC           BOB        CT  N0CALL          PAT    "
        "    MN\r\n"
        "QSO:  1800 CW 2026-01-10 1810 K1ABC           BOB        CT  VE3XYZ          JOE    "
        "    ON\r\n"
        "END-OF-LOG:\r\n";
    EXPECT_EQ(QString::fromLatin1(readFile(path)), QString::fromLatin1(expected));

    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("File Written Successfully."));
    EXPECT_EQ(
        prompter.messages[0].text,
        QStringLiteral("The file was successfully written to the directory:\r\n\r\n") + path +
            QStringLiteral(".\r\n\r\nAttach this file to an e-mail addressed for contest submission.  If you "
                           "wish to print this file, you can open it with Notepad or Wordpad to print."));
    EXPECT_EQ(prompter.messages[1].title, QStringLiteral("  Thanks!"));
    EXPECT_TRUE(prompter.messages[1].text.startsWith(
        QLatin1String("Thanks for using this program.  I hope that you enjoyed it!  If so, please tell a "
                      "friend!\r\n\r\n")));

    EXPECT_EQ(settings.values.value(QStringLiteral("UserAddressName")), QStringLiteral("Robert Smith"));
    EXPECT_EQ(settings.values.value(QStringLiteral("UserAddressLine1")), QStringLiteral("12 Main St"));
    EXPECT_EQ(settings.values.value(QStringLiteral("UserAddressLine2")), QString());
    EXPECT_EQ(settings.values.value(QStringLiteral("UserEMail")), QStringLiteral("k1abc@example.org"));
    const QString xml = QString::fromLatin1(readFile(session.folders.xmlStoreFile()));
    EXPECT_TRUE(xml.contains(QLatin1String(">Robert Smith<"))) << xml.toStdString();
    EXPECT_TRUE(xml.contains(QLatin1String("<OWN_EMAIL>k1abc@example.org</OWN_EMAIL>"))) << xml.toStdString();
}

TEST_F(ExportWindowTest, CancelledOrFailedCabrilloWriteStoresNothing)
{
    SummarySheetDialog form(platform, session, mainTitle);
    form.show();
    QTest::keyClicks(child<QLineEdit>(&form, "nameBox"), QStringLiteral("Robert Smith"));

    prompter.fileAnswers.push_back(std::nullopt);
    QTest::mouseClick(child<QPushButton>(&form, "writeButton"), Qt::LeftButton);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(settings.values.isEmpty());

    prompter.fileAnswers.push_back(dir.filePath(QStringLiteral("missing/folder/K1ABC.log")));
    QTest::mouseClick(child<QPushButton>(&form, "writeButton"), Qt::LeftButton);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("Unable to write file."));
    EXPECT_FALSE(prompter.messages[0].text.isEmpty());
    EXPECT_EQ(prompter.bells, 1);
    EXPECT_TRUE(settings.values.isEmpty());
    EXPECT_FALSE(QFile::exists(session.folders.xmlStoreFile()));
}

TEST_F(ExportWindowTest, MenuCommandRunsTheSummarySheetModally)
{
    QWidget mainWindow;
    mainWindow.setWindowTitle(mainTitle);
    const QString path = dir.filePath(QStringLiteral("contest.log"));
    prompter.fileAnswers.push_back(path);
    QTimer operatorHand;
    QObject::connect(&operatorHand, &QTimer::timeout, [] {
        auto* sheet = qobject_cast<SummarySheetDialog*>(QApplication::activeModalWidget());
        if (sheet != nullptr) {
            sheet->findChild<QPushButton*>(QStringLiteral("writeButton"))->click();
            sheet->findChild<QPushButton*>(QStringLiteral("doneButton"))->click();
        }
    });
    operatorHand.start(10);
    runCabrilloExport(platform, session, &mainWindow);
    EXPECT_TRUE(
        readFile(path).startsWith("START-OF-LOG: 2.0\r\nCREATED-BY: Varno's VELK Contest Log 2.7\r\n"));
    EXPECT_EQ(prompter.messageTitles(),
              (QStringList{QStringLiteral("File Written Successfully."), QStringLiteral("  Thanks!")}));
    EXPECT_TRUE(mainWindow.findChildren<SummarySheetDialog*>().isEmpty());
}

TEST_F(ExportWindowTest, AdifExportAsksWritesAndReadsTheCountryTableOnce)
{
    QWidget mainWindow;
    mainWindow.setWindowTitle(mainTitle);
    const QString table = session.folders.working + QStringLiteral("/ADIFCnt.txt");
    writeFile(table, "\"Canada\",1\r\n\"USA\",291\r\n");
    const QString path = dir.filePath(QStringLiteral("VELK.adi"));
    prompter.inputAnswers = {QStringLiteral("100"), QStringLiteral("VELK Contest")};
    prompter.fileAnswers.push_back(path);
    runAdifExport(platform, session, &mainWindow);

    ASSERT_EQ(prompter.inputs.size(), 2u);
    EXPECT_EQ(prompter.inputs[0].title, QStringLiteral("Please enter your transmitter output power."));
    EXPECT_EQ(prompter.inputs[0].initial, QStringLiteral("100"));
    EXPECT_EQ(prompter.inputs[1].title, QStringLiteral("Please enter a comment."));
    EXPECT_EQ(prompter.inputs[1].initial, QStringLiteral("VELK Contest"));
    ASSERT_EQ(prompter.fileDialogs.size(), 1u);
    EXPECT_EQ(prompter.fileDialogs[0].proposedName, session.folders.data + QStringLiteral("/VELK.adi"));
    EXPECT_EQ(prompter.fileDialogs[0].filter, QStringLiteral("ADIF Files (*.adi) | *.adi"));

    const QString written = QString::fromLatin1(readFile(path));
    EXPECT_TRUE(written.startsWith(QLatin1String("ADIF Export from Varno's VELK Contest Log 2.7\r\n")));
    EXPECT_TRUE(
        written.contains(QLatin1String("\r\n<EOH>\r\n\r\n<Call:6>N0CALL <Qso_Date:8:d>20260110 <Band:3>20M "
                                       "<Mode:2>CW\r\n<Tx_Pwr:3>100 <Freq:6>14.025 <Time_On:4>1804 "
                                       "<DXCC:3>291 <State:2>MN <Cont:2>NA <Name:3>PAT <Comment:12>VELK "
                                       "Contest\r\n<eor>\r\n\r\n")))
        << written.toStdString();
    EXPECT_TRUE(written.contains(QLatin1String("<DXCC:1>1 <Cont:2>NA <Name:3>JOE")));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("File Written Successfully."));
    EXPECT_EQ(prompter.messages[0].text,
              QStringLiteral("The file was successfully written to the directory:\r\n\r\n") + path +
                  QLatin1Char('.'));

    // The table stays loaded for the rest of the run; cancelled questions leave the fields out.
    QFile::remove(table);
    prompter.fileAnswers.push_back(path);
    runAdifExport(platform, session, &mainWindow);
    EXPECT_EQ(prompter.messageTitles().last(), QStringLiteral("File Written Successfully."));
    const QString again = QString::fromLatin1(readFile(path));
    EXPECT_FALSE(again.contains(QLatin1String("<Tx_Pwr:")));
    EXPECT_FALSE(again.contains(QLatin1String("<Comment:")));
    EXPECT_TRUE(again.contains(QLatin1String("<DXCC:3>291")));
}

TEST_F(ExportWindowTest, AdifExportWithoutCountryTableOrWithCancelWritesNothing)
{
    QWidget mainWindow;
    const QString path = dir.filePath(QStringLiteral("VELK.adi"));
    prompter.fileAnswers.push_back(path);
    runAdifExport(platform, session, &mainWindow);
    EXPECT_TRUE(prompter.fileDialogs.empty());
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("Unable to write file."));
    EXPECT_EQ(prompter.bells, 1);
    EXPECT_FALSE(QFile::exists(path));

    writeFile(session.folders.shared + QStringLiteral("/ADIFCnt.txt"), "\"USA\",291\r\n");
    prompter.fileAnswers = {std::nullopt};
    runAdifExport(platform, session, &mainWindow);
    EXPECT_EQ(prompter.messages.size(), 1u);
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(ExportWindowTest, TransferFileInTheWorkingFolder)
{
    prompter.inputAnswers = {QStringLiteral("100"), QStringLiteral("cw")};
    runTransferExport(platform, session);
    ASSERT_EQ(prompter.inputs.size(), 2u);
    EXPECT_EQ(prompter.inputs[0].title, QStringLiteral("Please enter the power value."));
    EXPECT_EQ(prompter.inputs[0].prompt,
              QStringLiteral("Please enter the power value you would like to record."));
    EXPECT_TRUE(prompter.inputs[0].initial.isEmpty());
    EXPECT_EQ(prompter.inputs[1].title, QStringLiteral("Please enter your contest mode."));
    EXPECT_EQ(
        QString::fromLatin1(readFile(session.folders.working + QStringLiteral("/LogExp.txt"))),
        QStringLiteral("\"N0CALL\",\"2026/01/10\",\"20\",\"CW\",\"100\",\"18:04:31\",,,,\"USA\",\"MN\",,,,,"
                       "\"VELK Contest  PAT\"\r\n"
                       "\"VE3XYZ\",\"2026/01/10\",\"160\",\"CW\",\"100\",\"18:10\",,,,\"Canada\",\"\",,,,,"
                       "\"VELK Contest  JOE\"\r\n"));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("Export Successful!"));
    EXPECT_TRUE(prompter.messages[0].text.startsWith(
        QStringLiteral("LogExp.txt has been written to this program's working directory ") +
        session.folders.working + QStringLiteral(".  Import these contacts")));
    EXPECT_EQ(prompter.bells, 1);

    // A working folder that is gone: the failure is reported and the program goes on.
    session.folders.working = dir.filePath(QStringLiteral("gone"));
    runTransferExport(platform, session);
    EXPECT_EQ(prompter.messageTitles().last(), QStringLiteral("Unable to write file."));
}

} // namespace
} // namespace velk::testing
