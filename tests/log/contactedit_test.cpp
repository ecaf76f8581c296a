// The checks of the edit dialog and the edit and delete of a record with the rewrite of log.txt.
#include "common/qtprinters.h"
#include "log/contactedit.h"
#include "log/logbuilder.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velk;
using velk::testing::logOf;

namespace {

ContactRecord contact(const QString& call, const QString& band = QStringLiteral("20"), int minute = 4)
{
    return {call,
            QStringLiteral("PAT"),
            QStringLiteral("CT"),
            QStringLiteral("2026/01/10"),
            QStringLiteral("18:%1:31").arg(minute, 2, 10, QLatin1Char('0')),
            band,
            QStringLiteral("NA"),
            QStringLiteral("LEE"),
            QStringLiteral("14.025")};
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A log of `n` contacts W1AA .. W<n>AA on 20 m, loaded from log.txt in `dir`.
ContactLog numberedLog(const QTemporaryDir& dir, int n)
{
    QByteArray bytes;
    for (int i = 1; i <= n; ++i) {
        bytes += ContactLog::encodeLine(contact(QStringLiteral("W%1AA").arg(i), QStringLiteral("20"), i));
    }
    QFile file(dir.filePath(QStringLiteral("log.txt")));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    ContactLog log;
    EXPECT_TRUE(log.load(dir.filePath(QStringLiteral("log.txt"))).ok);
    return log;
}

} // namespace

TEST(EditDupeTest, TheEditedRecordIsNeverItsOwnDupe)
{
    const ContactLog log =
        logOf({contact(QStringLiteral("K1AB")), contact(QStringLiteral("K1AB"), QStringLiteral("40")),
               contact(QStringLiteral("N2CD"))});
    EXPECT_TRUE(editDupes(log, 1, QStringLiteral("K1AB"), QStringLiteral("20")).empty());
    // Moving it to 40 m, where the same call is record 2, makes it a dupe.
    EXPECT_EQ(editDupes(log, 1, QStringLiteral("K1AB"), QStringLiteral("40")), std::vector<int>{2});
    // Changing record 3's call to one already on its band.
    EXPECT_EQ(editDupes(log, 3, QStringLiteral("K1AB"), QStringLiteral("20")), std::vector<int>{1});
}

TEST(EditDupeTest, ComparesCallAndBandExactlyAndFindsEveryMatch)
{
    const ContactLog log = logOf(
        {contact(QStringLiteral("K1AB")), contact(QStringLiteral("K1AB")), contact(QStringLiteral("N2CD"))});
    EXPECT_EQ(editDupes(log, 3, QStringLiteral("K1AB"), QStringLiteral("20")), (std::vector<int>{1, 2}));
    EXPECT_TRUE(editDupes(log, 3, QStringLiteral("k1ab"), QStringLiteral("20")).empty());
    EXPECT_TRUE(editDupes(log, 3, QStringLiteral("K1AB"), QStringLiteral("20 ")).empty());
}

TEST(EditLocationTest, ShortLocationsAreCapitalisedAndTwoLettersMustBeAnAbbreviation)
{
    EXPECT_EQ(settleEditLocation(QStringLiteral("nwt")), QStringLiteral("NWT"));
    EXPECT_EQ(settleEditLocation(QStringLiteral("ct")), QStringLiteral("CT"));
    EXPECT_EQ(settleEditLocation(QStringLiteral("Mexico")), QStringLiteral("Mexico"));

    EXPECT_TRUE(editLocationPasses(QStringLiteral("NWT")));
    EXPECT_TRUE(editLocationPasses(QStringLiteral("CT")));
    EXPECT_TRUE(editLocationPasses(QStringLiteral("Mexico")));
    EXPECT_TRUE(editLocationPasses(QString()));
    EXPECT_FALSE(editLocationPasses(QStringLiteral("XX")));
    EXPECT_FALSE(editLocationPasses(QStringLiteral("ct"))); // exact comparison
}

TEST(EditFieldTest, DatesTimesAndBandsTheDialogAccepts)
{
    EXPECT_TRUE(isEditDate(QStringLiteral("2026/01/10")));
    EXPECT_TRUE(isEditDate(QStringLiteral("1/10/2026")));
    EXPECT_FALSE(isEditDate(QStringLiteral("2026/02/30")));
    EXPECT_FALSE(isEditDate(QStringLiteral("yesterday")));
    EXPECT_TRUE(isEditTime(QStringLiteral("18:04:31")));
    EXPECT_TRUE(isEditTime(QStringLiteral("18:04")));
    EXPECT_FALSE(isEditTime(QStringLiteral("24:00")));
    EXPECT_FALSE(isEditTime(QStringLiteral("1804")));
    EXPECT_TRUE(isEditBand(QStringLiteral("160")));
    EXPECT_TRUE(isEditBand(QStringLiteral("6")));
    EXPECT_FALSE(isEditBand(QStringLiteral("30")));
    EXPECT_FALSE(isEditBand(QStringLiteral(" 20")));
}

TEST(EditFieldTest, DatesAndTimesKeepTheLogsOwnForm)
{
    // Already in the log's form: kept exactly, so an unchanged edit rewrites identical bytes.
    EXPECT_EQ(logDate(QStringLiteral("2026/01/10")), QStringLiteral("2026/01/10"));
    EXPECT_EQ(logTime(QStringLiteral("18:04:31")), QStringLiteral("18:04:31"));
    EXPECT_EQ(logTime(QStringLiteral("18:04")), QStringLiteral("18:04"));
    // Other readable forms are written as the log's readers expect them.
    EXPECT_EQ(logDate(QStringLiteral("1/10/2026")), QStringLiteral("2026/01/10"));
    EXPECT_EQ(logDate(QStringLiteral("2026-1-9")), QStringLiteral("2026/01/09"));
    EXPECT_EQ(logTime(QStringLiteral("8:04")), QStringLiteral("08:04"));
    EXPECT_EQ(logTime(QStringLiteral("8:04:05")), QStringLiteral("08:04:05"));
}

TEST(CheckEditTest, RefusesTimeBeforeDateBeforeBandAndReportsDupeAndLocationTogether)
{
    const ContactLog log =
        logOf({contact(QStringLiteral("K1AB")), contact(QStringLiteral("N2CD"), QStringLiteral("40"))});
    ContactEdit edit = ContactEdit::of(log.record(1));
    EXPECT_TRUE(checkEdit(log, 1, edit).accepted());

    edit.time = QStringLiteral("99:00");
    edit.date = QStringLiteral("bad");
    EXPECT_EQ(checkEdit(log, 1, edit).refusal, EditVerdict::Refusal::InvalidTime);
    edit.time = QStringLiteral("18:00");
    EXPECT_EQ(checkEdit(log, 1, edit).refusal, EditVerdict::Refusal::InvalidDate);
    edit.date = QStringLiteral("2026/01/11");
    edit.band = QStringLiteral("30");
    EXPECT_EQ(checkEdit(log, 1, edit).refusal, EditVerdict::Refusal::InvalidBand);

    edit.band = QStringLiteral("40");
    edit.call = QStringLiteral("N2CD");
    edit.location = QStringLiteral("XX");
    const EditVerdict verdict = checkEdit(log, 1, edit);
    EXPECT_EQ(verdict.refusal, EditVerdict::Refusal::None);
    EXPECT_EQ(verdict.dupes, std::vector<int>{2});
    EXPECT_TRUE(verdict.locationInvalid);
    EXPECT_FALSE(verdict.accepted());
}

TEST(ApplyEditTest, TakesTheBoxesAndKeepsTheFrequency)
{
    const ContactRecord original = contact(QStringLiteral("K1AB"));
    ContactEdit edit = ContactEdit::of(original);
    edit.call = QStringLiteral("K1ABC");
    edit.location = QStringLiteral("NWT");
    edit.date = QStringLiteral("1/11/2026");
    edit.band = QStringLiteral("40");
    const ContactRecord edited = applyEdit(original, edit);
    EXPECT_EQ(edited.call, QStringLiteral("K1ABC"));
    EXPECT_EQ(edited.location, QStringLiteral("NWT"));
    EXPECT_EQ(edited.date, QStringLiteral("2026/01/11"));
    EXPECT_EQ(edited.band, QStringLiteral("40"));
    EXPECT_EQ(edited.name, original.name);
    EXPECT_EQ(edited.frequency, QStringLiteral("14.025"));
}

class EditFileTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString logPath() const { return dir.filePath(QStringLiteral("log.txt")); }
};

TEST_F(EditFileTest, DeletingAMiddleRecordMovesTheLaterOnesUp)
{
    ContactLog log = numberedLog(dir, 10);
    ASSERT_TRUE(deleteContact(log, 5, logPath()).ok);
    ASSERT_EQ(log.count(), 9);
    EXPECT_EQ(log.record(4).call, QStringLiteral("W4AA"));
    EXPECT_EQ(log.record(5).call, QStringLiteral("W6AA"));
    EXPECT_EQ(log.record(9).call, QStringLiteral("W10AA"));

    ContactLog reread;
    ASSERT_TRUE(reread.load(logPath()).ok);
    EXPECT_EQ(reread.records(), log.records());
}

TEST_F(EditFileTest, DeletingTheLastRecordOnlyShortensTheLog)
{
    ContactLog log = numberedLog(dir, 10);
    const QByteArray before = readAll(logPath());
    ASSERT_TRUE(deleteContact(log, 10, logPath()).ok);
    EXPECT_EQ(log.count(), 9);
    const QByteArray lastLine =
        ContactLog::encodeLine(contact(QStringLiteral("W10AA"), QStringLiteral("20"), 10));
    EXPECT_EQ(readAll(logPath()), before.left(before.size() - lastLine.size()));
}

TEST_F(EditFileTest, AnUnchangedEditRewritesIdenticalBytes)
{
    ContactLog log = numberedLog(dir, 4);
    const QByteArray before = readAll(logPath());
    const ContactRecord same = applyEdit(log.record(2), ContactEdit::of(log.record(2)));
    ASSERT_TRUE(replaceContact(log, 2, same, logPath()).ok);
    EXPECT_EQ(readAll(logPath()), before);
}

TEST_F(EditFileTest, AFailedRewriteIsReported)
{
    ContactLog log = numberedLog(dir, 3);
    const WriteResult written = deleteContact(log, 2, dir.filePath(QStringLiteral("nowhere/log.txt")));
    EXPECT_FALSE(written.ok);
    EXPECT_TRUE(written.error.contains(QStringLiteral("log.txt"))) << written.error.toStdString();
}

TEST_F(EditFileTest, ARecordNumberOutsideTheLogChangesNothing)
{
    ContactLog log = numberedLog(dir, 3);
    const QByteArray before = readAll(logPath());
    EXPECT_FALSE(deleteContact(log, 4, logPath()).ok);
    EXPECT_FALSE(replaceContact(log, 0, contact(QStringLiteral("X")), logPath()).ok);
    EXPECT_EQ(log.count(), 3);
    EXPECT_EQ(readAll(logPath()), before);
}
