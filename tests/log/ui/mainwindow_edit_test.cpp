// Correcting the log from the main window: the "Edit Contact Entry" dialog with its key rules,
// completion, focus checks, dupe and location tests, "Delete Contact", the rewrite of log.txt, and
// the "&Graph" menu item.
#include "log/ui/editcontactdialog.h"
#include "log/ui/rategraphwindow.h"
#include "mainwindow_fixture.h"

#include <QTableView>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/resource.h>
#endif

namespace velk::testing {

namespace {

// One contact in log.txt form, on 2026/01/10 at 17:mm:00.
QStringList fields(const QString& call, const QString& band, int minute, const QString& location = "CT")
{
    return {call,
            QStringLiteral("OP"),
            location,
            QStringLiteral("2026/01/10"),
            QStringLiteral("17:%1:00").arg(minute, 2, 10, QLatin1Char('0')),
            band,
            QStringLiteral("NA"),
            QStringLiteral("LEE"),
            QStringLiteral("14.025")};
}

} // namespace

class MainWindowEditTest : public MainWindowTest
{
protected:
    // Shows the window on a log and makes the row of `record` the selected one.
    void startWith(const QByteArray& log)
    {
        writeFile(session.folders.logFile(), log);
        start();
        ASSERT_TRUE(started);
    }

    int rowOf(int record) const
    {
        const QStringList numbers = listedColumn(0);
        return static_cast<int>(numbers.indexOf(QString::number(record)));
    }
    void clickRecord(int record, Qt::MouseButton button = Qt::LeftButton)
    {
        QTableView* view = form->contactList().view();
        const int row = rowOf(record);
        ASSERT_GE(row, 0);
        QTest::mouseClick(view->viewport(), button, {}, view->visualRect(listed()->index(row, 1)).center());
    }

    // Right-clicks the record's row and waits for the dialog to take the keyboard.
    EditContactDialog* openEditor(int record)
    {
        clickRecord(record, Qt::RightButton);
        EditContactDialog* dialog = form->logFiles().editDialog();
        if (dialog) {
            QApplication::setActiveWindow(dialog);
            EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
        }
        return dialog;
    }

    QLineEdit* editBox(const char* name) const
    {
        return form->logFiles().editDialog()->findChild<QLineEdit*>(name);
    }
    QLabel* editLabel(const char* name) const
    {
        return form->logFiles().editDialog()->findChild<QLabel*>(name);
    }
    QPushButton* editButton(const char* name) const
    {
        return form->logFiles().editDialog()->findChild<QPushButton*>(name);
    }

    // Replaces a box's text as the operator would: focus, select all, type.
    void retype(const char* name, const QString& text)
    {
        QLineEdit* target = editBox(name);
        target->setFocus();
        target->selectAll();
        QTest::keyClick(target, Qt::Key_Delete);
        QTest::keyClicks(target, text);
    }

    QByteArray logBytes() const { return readFile(session.folders.logFile()); }
};

TEST_F(MainWindowEditTest, RightClickShowsTheRecordAndDoneUnchangedRewritesTheSameBytes)
{
    const QByteArray log = numberedContacts(4);
    startWith(log);
    EditContactDialog* dialog = openEditor(3);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Edit Contact Entry"));
    EXPECT_EQ(editBox("callBox")->text(), QStringLiteral("W3AA"));
    EXPECT_EQ(editBox("nameBox")->text(), QStringLiteral("OP3"));
    EXPECT_EQ(editBox("locationBox")->text(), QStringLiteral("CT"));
    EXPECT_EQ(editBox("continentBox")->text(), QStringLiteral("NA"));
    EXPECT_EQ(editBox("dateBox")->text(), QStringLiteral("2026/01/10"));
    EXPECT_EQ(editBox("timeBox")->text(), QStringLiteral("17:03:00"));
    EXPECT_EQ(editBox("bandBox")->text(), QStringLiteral("20"));
    EXPECT_EQ(editBox("sentNameBox")->text(), QStringLiteral("LEE"));
    for (const char* hidden : {"dupeWarning", "locationWarning", "bandWarning"}) {
        EXPECT_FALSE(editLabel(hidden)->isVisible()) << hidden;
    }
    EXPECT_FALSE(editButton("deleteDupeButton")->isVisible());

    QTest::mouseClick(editButton("doneButton"), Qt::LeftButton);
    EXPECT_EQ(form->logFiles().editDialog(), nullptr);
    EXPECT_EQ(logBytes(), log);
    EXPECT_EQ(session.log.count(), 4);
    EXPECT_FALSE(button("editContactButton")->isVisible());
    EXPECT_FALSE(button("deleteContactButton")->isVisible());
}

TEST_F(MainWindowEditTest, TypedKeysAreCapitalisedAndTheLocationCompletesFromThePrefixTable)
{
    startWith(logLine(fields("K1AB", "20", 1)) + logLine(fields("N2CD", "20", 2)));
    ASSERT_NE(openEditor(2), nullptr);

    retype("nameBox", QStringLiteral("bob\""));
    EXPECT_EQ(editBox("nameBox")->text(), QStringLiteral("BOB"));

    // A key at the start of the location replaces it; a country name is offered as it is typed.
    QLineEdit* location = editBox("locationBox");
    location->setFocus();
    location->setCursorPosition(0);
    QTest::keyClicks(location, QStringLiteral("me"));
    EXPECT_EQ(location->text(), QStringLiteral("Mexico"));
    EXPECT_EQ(location->selectedText(), QStringLiteral("xico"));
    // Enter anywhere is "Done".
    QTest::keyClick(location, Qt::Key_Return);
    ASSERT_EQ(form->logFiles().editDialog(), nullptr);

    QStringList expected = fields("N2CD", "20", 2, "Mexico");
    expected[1] = QStringLiteral("BOB");
    EXPECT_EQ(logBytes(), logLine(fields("K1AB", "20", 1)) + logLine(expected));
    EXPECT_EQ(session.log.record(2).location, QStringLiteral("Mexico"));
    // The list shows the corrected contact.
    EXPECT_TRUE(listedColumn(3).contains(QStringLiteral("Mexico")));
}

TEST_F(MainWindowEditTest, ShortLocationsAreCapitalisedAndAnUnknownAbbreviationKeepsTheDialogOpen)
{
    const QByteArray log = logLine(fields("K1AB", "20", 1)) + logLine(fields("VE8XY", "20", 2));
    startWith(log);
    ASSERT_NE(openEditor(2), nullptr);
    QLineEdit* location = editBox("locationBox");
    location->setFocus();
    location->setCursorPosition(0);
    QTest::keyClicks(location, QStringLiteral("xx"));
    EXPECT_EQ(location->text(), QStringLiteral("Xx"));
    const int bells = prompter.bells;
    QTest::mouseClick(editButton("doneButton"), Qt::LeftButton);
    ASSERT_NE(form->logFiles().editDialog(), nullptr);
    EXPECT_EQ(location->text(), QStringLiteral("XX"));
    EXPECT_TRUE(editLabel("locationWarning")->isVisible());
    EXPECT_EQ(editLabel("locationWarning")->text(), QStringLiteral("Invalid!"));
    EXPECT_EQ(prompter.bells, bells + 1);
    EXPECT_EQ(logBytes(), log);

    location->setFocus();
    location->setCursorPosition(0);
    QTest::keyClicks(location, QStringLiteral("nwt"));
    QTest::mouseClick(editButton("doneButton"), Qt::LeftButton);
    ASSERT_EQ(form->logFiles().editDialog(), nullptr);
    EXPECT_EQ(session.log.record(2).location, QStringLiteral("NWT"));
    EXPECT_EQ(logBytes(), logLine(fields("K1AB", "20", 1)) + logLine(fields("VE8XY", "20", 2, "NWT")));
}

TEST_F(MainWindowEditTest, LeavingABadDateTimeOrBandBringsTheFocusBack)
{
    startWith(numberedContacts(2));
    ASSERT_NE(openEditor(1), nullptr);

    retype("dateBox", QStringLiteral("2026/13/01"));
    QTest::keyClick(editBox("dateBox"), Qt::Key_Tab);
    ASSERT_EQ(prompter.messages.size(), 2u); // the start-up question, then this
    EXPECT_EQ(prompter.messages.back().text, QStringLiteral("You have entered an invalid date format!"));
    EXPECT_EQ(prompter.messages.back().title, QStringLiteral("Invalid Date Format!"));
    EXPECT_EQ(QApplication::focusWidget(), editBox("dateBox"));

    retype("dateBox", QStringLiteral("2026/01/11"));
    QTest::keyClick(editBox("dateBox"), Qt::Key_Tab);
    EXPECT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(QApplication::focusWidget(), editBox("timeBox"));

    retype("timeBox", QStringLiteral("25:00"));
    QTest::keyClick(editBox("timeBox"), Qt::Key_Tab);
    EXPECT_EQ(prompter.messages.back().text, QStringLiteral("You have entered an invalid time format!"));
    EXPECT_EQ(prompter.messages.back().title, QStringLiteral("Invalid Time Format!"));
    EXPECT_EQ(QApplication::focusWidget(), editBox("timeBox"));
    retype("timeBox", QStringLiteral("17:30"));
    QTest::keyClick(editBox("timeBox"), Qt::Key_Tab);

    const int bells = prompter.bells;
    retype("bandBox", QStringLiteral("30"));
    QTest::keyClick(editBox("bandBox"), Qt::Key_Tab);
    EXPECT_TRUE(editLabel("bandWarning")->isVisible());
    EXPECT_EQ(prompter.bells, bells + 1);
    EXPECT_EQ(QApplication::focusWidget(), editBox("bandBox"));
    // Done refuses the band as well.
    QTest::mouseClick(editButton("doneButton"), Qt::LeftButton);
    ASSERT_NE(form->logFiles().editDialog(), nullptr);

    retype("bandBox", QStringLiteral("40"));
    QTest::keyClick(editBox("bandBox"), Qt::Key_Tab);
    EXPECT_FALSE(editLabel("bandWarning")->isVisible());
    QTest::mouseClick(editButton("doneButton"), Qt::LeftButton);
    ASSERT_EQ(form->logFiles().editDialog(), nullptr);
    EXPECT_EQ(session.log.record(1).date, QStringLiteral("2026/01/11"));
    EXPECT_EQ(session.log.record(1).time, QStringLiteral("17:30"));
    EXPECT_EQ(session.log.record(1).band, QStringLiteral("40"));
}

TEST_F(MainWindowEditTest, DoneChecksTheTimeBeforeTheDateAndKeepsTheDialogOpen)
{
    const QByteArray log = numberedContacts(2);
    startWith(log);
    ASSERT_NE(openEditor(2), nullptr);
    editBox("dateBox")->setText(QStringLiteral("someday"));
    editBox("timeBox")->setText(QStringLiteral("noon"));
    QTest::keyClick(editBox("callBox"), Qt::Key_Return);
    ASSERT_NE(form->logFiles().editDialog(), nullptr);
    EXPECT_EQ(prompter.messages.back().title, QStringLiteral("Invalid Time Format!"));
    EXPECT_EQ(QApplication::focusWidget(), editBox("timeBox"));

    editBox("timeBox")->setText(QStringLiteral("17:02:00"));
    QTest::mouseClick(editButton("doneButton"), Qt::LeftButton);
    ASSERT_NE(form->logFiles().editDialog(), nullptr);
    EXPECT_EQ(prompter.messages.back().title, QStringLiteral("Invalid Date Format!"));
    EXPECT_EQ(QApplication::focusWidget(), editBox("dateBox"));
    EXPECT_EQ(logBytes(), log);
}

TEST_F(MainWindowEditTest, ADupeOnTheNewBandOffersDeleteDupe)
{
    const QByteArray k1ab20 = logLine(fields("K1AB", "20", 1));
    const QByteArray n2cd = logLine(fields("N2CD", "20", 2));
    const QByteArray k1ab40 = logLine(fields("K1AB", "40", 3));
    startWith(k1ab20 + n2cd + k1ab40);
    ASSERT_NE(openEditor(3), nullptr);

    retype("bandBox", QStringLiteral("20"));
    const int bells = prompter.bells;
    QTest::mouseClick(editButton("doneButton"), Qt::LeftButton);
    ASSERT_NE(form->logFiles().editDialog(), nullptr);
    EXPECT_TRUE(editLabel("dupeWarning")->isVisible());
    EXPECT_EQ(editLabel("dupeWarning")->text(), QStringLiteral("  Dupe!"));
    EXPECT_TRUE(editButton("deleteDupeButton")->isVisible());
    EXPECT_EQ(editButton("deleteDupeButton")->text(), QStringLiteral("Delete Dupe"));
    EXPECT_EQ(prompter.bells, bells + 1);
    EXPECT_EQ(logBytes(), k1ab20 + n2cd + k1ab40);

    prompter.messageAnswers.push_back(MessageAnswer::Yes);
    QTest::mouseClick(editButton("deleteDupeButton"), Qt::LeftButton);
    EXPECT_EQ(form->logFiles().editDialog(), nullptr);
    EXPECT_EQ(prompter.messages.back().text, QStringLiteral("Are you sure?"));
    EXPECT_EQ(prompter.messages.back().title, QStringLiteral("Are you sure?"));
    EXPECT_EQ(prompter.messages.back().buttons, MessageButtons::YesNo);
    EXPECT_EQ(logBytes(), k1ab20 + n2cd);
    EXPECT_EQ(session.log.count(), 2);
    EXPECT_EQ(listed()->rowCount(), 2);
}

TEST_F(MainWindowEditTest, EditingBackToItsOwnCallAndBandIsNoDupe)
{
    startWith(logLine(fields("K1AB", "20", 1)) + logLine(fields("K1AB", "40", 2)));
    ASSERT_NE(openEditor(2), nullptr);
    retype("callBox", QStringLiteral("k1ab"));
    retype("bandBox", QStringLiteral("40"));
    QTest::keyClick(editBox("bandBox"), Qt::Key_Return);
    EXPECT_EQ(form->logFiles().editDialog(), nullptr);
}

TEST_F(MainWindowEditTest, DeleteContactRemovesTheSelectedRecordAfterConfirmation)
{
    startWith(numberedContacts(10));
    clickRecord(5);
    ASSERT_TRUE(button("deleteContactButton")->isVisible());
    prompter.messageAnswers.push_back(MessageAnswer::Yes);
    QTest::mouseClick(button("deleteContactButton"), Qt::LeftButton);

    EXPECT_EQ(prompter.messages.back().title, QStringLiteral("Are you sure?"));
    QByteArray expected;
    const QList<QByteArray> lines = numberedContacts(10).split('\n');
    for (int i = 0; i < 10; ++i) {
        if (i != 4) {
            expected += lines.at(i) + '\n';
        }
    }
    EXPECT_EQ(logBytes(), expected);
    EXPECT_EQ(session.log.count(), 9);
    EXPECT_EQ(session.log.record(5).call, QStringLiteral("W6AA"));
    EXPECT_FALSE(listedColumn(1).contains(QStringLiteral("W5AA")));
    EXPECT_FALSE(button("editContactButton")->isVisible());
    EXPECT_FALSE(button("deleteContactButton")->isVisible());

    // The last record goes without moving anything.
    clickRecord(9);
    prompter.messageAnswers.push_back(MessageAnswer::Yes);
    QTest::mouseClick(button("deleteContactButton"), Qt::LeftButton);
    EXPECT_EQ(session.log.count(), 8);
    EXPECT_EQ(logBytes(), expected.left(expected.size() - lines.at(9).size() - 1));
}

TEST_F(MainWindowEditTest, AnsweringNoLeavesTheLogButHidesTheButtons)
{
    const QByteArray log = numberedContacts(3);
    startWith(log);
    const QDateTime written = QFileInfo(session.folders.logFile()).lastModified();
    clickRecord(2);
    prompter.messageAnswers.push_back(MessageAnswer::No);
    QTest::mouseClick(button("deleteContactButton"), Qt::LeftButton);
    EXPECT_EQ(logBytes(), log);
    EXPECT_EQ(QFileInfo(session.folders.logFile()).lastModified(), written);
    EXPECT_EQ(session.log.count(), 3);
    EXPECT_FALSE(button("editContactButton")->isVisible());
    EXPECT_FALSE(button("deleteContactButton")->isVisible());
}

#ifdef Q_OS_LINUX
TEST_F(MainWindowEditTest, AFailedRewriteIsReportedAndTheLogStaysAsTheFileSays)
{
    // Larger than the file buffer, so the short write shows at once.
    QByteArray log;
    for (int i = 1; i <= 400; ++i) {
        log += logLine(fields(QStringLiteral("W%1AA").arg(i), QStringLiteral("20"), i % 60));
    }
    ASSERT_GT(log.size(), 20000);
    startWith(log);
    ASSERT_NE(openEditor(399), nullptr);
    retype("callBox", QStringLiteral("K9ZZ"));

    // A file-size limit below the log's size makes writing the new log fail, as a full disk does.
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QTest::mouseClick(editButton("doneButton"), Qt::LeftButton);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(form->logFiles().editDialog(), nullptr);
    EXPECT_EQ(prompter.messages.back().title, QStringLiteral("Unable to write the log file"));
    EXPECT_EQ(prompter.messages.back().icon, MessageIcon::Critical);
    EXPECT_EQ(logBytes(), log);
    EXPECT_EQ(session.log.record(399).call, QStringLiteral("W399AA"));
    EXPECT_FALSE(listedColumn(1).contains(QStringLiteral("K9ZZ")));
    EXPECT_FALSE(form->hasEnded());
}
#endif

TEST_F(MainWindowEditTest, TheGraphMenuOpensTheActivityGraph)
{
    startWith(numberedContacts(8));
    QAction* graph = action("graphAction");
    ASSERT_NE(graph, nullptr);
    EXPECT_TRUE(graph->isEnabled());
    graph->trigger();
    auto* window = form->findChild<RateGraphWindow*>();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->graph().drawable);
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("timeLabel_0"))->text(), QStringLiteral("17:01"));
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form->findChild<RateGraphWindow*>(), nullptr);
}

TEST_F(MainWindowEditTest, TheGraphOfAShortLogSaysWhy)
{
    startWith(numberedContacts(3));
    action("graphAction")->trigger();
    EXPECT_EQ(prompter.messages.back().title, QStringLiteral("Not Enough Contacts to Graph."));
}

} // namespace velk::testing
