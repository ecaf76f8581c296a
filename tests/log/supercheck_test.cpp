// The running partial matches: file choice in the per-user settings, loading off the GUI thread,
// the one-line reports, and the history pre-fill that the log's own contacts override.
#include "log/logbuilder.h"
#include "log/supercheck.h"

#include "common/platform/fake/fakeplatform.h"
#include "common/qtprinters.h"
#include "support/waitfor.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velk;
using velk::testing::logOf;
using velk::testing::waitFor;

namespace {

class SuperCheckTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    FakeSettingsStore settings;
    QString database;
    QString history;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        database = dir.filePath(QStringLiteral("MASTER.SCP"));
        history = dir.filePath(QStringLiteral("history.txt"));
        writeFile(database, "# test\r\nK1ABC\r\nK1ABD\r\nW1AW\r\n");
        writeFile(history, "!!Order!!,Call,Name,Loc1\r\nK1ABC,BOB,MA\r\nW1AW,HAL,CT\r\n");
    }

    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // Loads and waits for the result on this thread; returns the reports made.
    static QStringList loadAndWait(SuperCheck& superCheck, const std::function<void()>& start)
    {
        QSignalSpy reports(&superCheck, &SuperCheck::statusReport);
        start();
        EXPECT_TRUE(superCheck.isLoading());
        EXPECT_TRUE(waitFor([&] { return !superCheck.isLoading(); }));
        QStringList lines;
        for (const auto& report : reports) {
            lines << report.at(0).toString();
        }
        return lines;
    }
};

} // namespace

TEST_F(SuperCheckTest, FindsTheDefaultDatabaseAndKeepsTheOperatorsChoice)
{
    const QString missing = dir.filePath(QStringLiteral("elsewhere/MASTER.SCP"));
    SuperCheck superCheck(settings, {missing, database});
    // Nothing chosen: the first default that exists, no history.
    EXPECT_EQ(superCheck.databaseFile(), database);
    EXPECT_EQ(superCheck.historyFile(), QString());
    EXPECT_FALSE(superCheck.isOn());

    EXPECT_EQ(loadAndWait(superCheck, [&] { superCheck.load(); }),
              QStringList{QStringLiteral("Partial matches from MASTER.SCP: 3 calls")});
    EXPECT_TRUE(superCheck.isOn());
    EXPECT_EQ(superCheck.matches(u"1AB", u"20").calls.size(), 2u);

    EXPECT_EQ(loadAndWait(superCheck, [&] { superCheck.chooseFiles(database, history); }),
              QStringList{QStringLiteral(
                  "Partial matches from MASTER.SCP: 3 calls; call history from history.txt: 2 stations")});
    EXPECT_EQ(settings.values.value(SuperCheck::databaseKey), database);
    EXPECT_EQ(settings.values.value(SuperCheck::historyKey), history);
    ASSERT_TRUE(superCheck.history());

    // An empty choice is a file switched off, not the default.
    EXPECT_EQ(loadAndWait(superCheck, [&] { superCheck.chooseFiles(QString(), history); }),
              QStringList{QStringLiteral("Partial matches off; call history from history.txt: 2 stations")});
    EXPECT_FALSE(superCheck.isOn());
    EXPECT_TRUE(superCheck.matches(u"1AB", u"20").calls.empty());
    EXPECT_EQ(superCheck.databaseFile(), QString());
}

TEST_F(SuperCheckTest, AMissingFileTurnsItsPartOffInOneLine)
{
    SuperCheck superCheck(settings, {database});
    settings.values[SuperCheck::databaseKey] = dir.filePath(QStringLiteral("gone.scp"));
    settings.values[SuperCheck::historyKey] = dir.path();
    const QStringList reports = loadAndWait(superCheck, [&] { superCheck.load(); });
    ASSERT_EQ(reports.size(), 1);
    EXPECT_EQ(
        reports.first(),
        QStringLiteral("Partial matches off: cannot read %1: no such file; call history off: cannot read %2: "
                       "a folder, not a file")
            .arg(dir.filePath(QStringLiteral("gone.scp")), dir.path()));
    EXPECT_FALSE(superCheck.isOn());
    EXPECT_FALSE(superCheck.history());
}

TEST_F(SuperCheckTest, OnlyTheNewestOfTwoQuickChoicesIsTaken)
{
    SuperCheck superCheck(settings, {});
    const QString other = dir.filePath(QStringLiteral("other.scp"));
    writeFile(other, "N0CALL\r\n");
    const QStringList reports = loadAndWait(superCheck, [&] {
        superCheck.chooseFiles(database, QString());
        superCheck.chooseFiles(other, QString());
    });
    EXPECT_EQ(reports, QStringList{QStringLiteral("Partial matches from other.scp: 1 calls")});
    EXPECT_EQ(superCheck.matches(u"0CA", u"20").calls.size(), 1u);
}

TEST_F(SuperCheckTest, HistoryPrefillsOnlyCallsThatAreNotInTheLog)
{
    SuperCheck superCheck(settings, {});
    loadAndWait(superCheck, [&] { superCheck.chooseFiles(database, history); });
    ContactRecord w1aw{QStringLiteral("W1AW"),       QStringLiteral("HIRAM"),    QStringLiteral("CT"),
                       QStringLiteral("2026/01/10"), QStringLiteral("18:04:31"), QStringLiteral("40"),
                       QStringLiteral("NA"),         QStringLiteral("LEE"),      QString()};
    superCheck.rebuildLog(logOf({w1aw}));

    EXPECT_EQ(superCheck.prefillFor(u"k1abc"), (HistoryEntry{QStringLiteral("BOB"), QStringLiteral("MA")}));
    EXPECT_FALSE(superCheck.prefillFor(u"W1AW")); // the log's own contact fills it
    EXPECT_FALSE(superCheck.prefillFor(u"K9XYZ"));

    // A contact logged afterwards counts at once.
    w1aw.call = QStringLiteral("K1ABC");
    superCheck.addContact(w1aw);
    EXPECT_FALSE(superCheck.prefillFor(u"K1ABC"));
    EXPECT_EQ(superCheck.matches(u"K1AB", u"40").calls.front().status, MatchStatus::Dupe);
}
