// Start-up, shut-down and the log file commands of the main window: new log, archive, restore,
// the automatic backup and the UTC-offset question.
#include "mainwindow_fixture.h"

#include <QDirIterator>

namespace velk::testing {

namespace {

const QString openExistingText = QStringLiteral(
    "Do you want to continue an existing contest? (Yes opens your existing log, No erases any existing log "
    "and starts a new log.)");

const QString fileErrorText = QStringLiteral(
    "Error opening file.  This error is annoying but probably correctable.  In all likelihood, a character "
    "such as a quote got into your data or one of your entries has an invalid date/time format.  Close this "
    "program and open log.txt in the program's working directory with a text editor such as notepad.  "
    "Inspect the data and fix any errors you see (remove any extra quotes and make sure your date and time "
    "entries are valid).");

const QString newLogPrompt = QStringLiteral(
    "Are you sure that you want to start a new log file?  This function will ERASE the existing log file!\n\n"
    "To verify that you want to start a new log file, please type: YES");

} // namespace

class MainWindowLogFileTest : public MainWindowTest
{
protected:
    const ShownMessage* shown(const QString& title) const
    {
        for (const ShownMessage& message : prompter.messages) {
            if (message.title == title) {
                return &message;
            }
        }
        return nullptr;
    }
    QStringList backups() const { return QDir(session.folders.backup).entryList(QDir::Files, QDir::Name); }
    QString backupPath(const QString& name) const { return session.folders.backup + QLatin1Char('/') + name; }
};

TEST_F(MainWindowLogFileTest, StartUpAsksToContinueAndShowsTheStoredBand)
{
    session.prefs.currentBand = QStringLiteral("15");
    writePreferences();
    writeFile(session.folders.logFile(), numberedContacts(3));
    start();
    ASSERT_TRUE(started);
    EXPECT_TRUE(form->windowTitle().startsWith(QStringLiteral("Varno's VELK Contest Log 2.7")))
        << form->windowTitle().toStdString();
    EXPECT_EQ(status(), QStringLiteral("Select a band. Click Log \"Time On\" below!"));

    const ShownMessage* question = shown(QStringLiteral("Open existing log?"));
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(question->text, openExistingText);
    EXPECT_EQ(question->icon, MessageIcon::Question);
    EXPECT_EQ(question->buttons, MessageButtons::YesNo);

    EXPECT_EQ(session.log.count(), 3);
    EXPECT_EQ(listed()->rowCount(), 3);
    EXPECT_EQ(child<QLabel>("bandDisplay")->text(), QStringLiteral("15"));
    for (const char* name : {"band160Action", "band80Action", "band40Action", "band20Action", "band15Action",
                             "band10Action", "band6Action"}) {
        EXPECT_EQ(action(name)->isChecked(), QByteArray(name) == "band15Action") << name;
    }
    EXPECT_FALSE(session.operatingClock.isRunning());
    EXPECT_FALSE(form->contactList().listAll());
    EXPECT_TRUE(form->entryPanel().partialDupesOn());
    EXPECT_FALSE(button("editContactButton")->isVisible());
    EXPECT_FALSE(button("deleteContactButton")->isVisible());
    EXPECT_TRUE(hasFocus("callBox"));
}

TEST_F(MainWindowLogFileTest, FirstStartWithoutPreferencesStartsWithoutError)
{
    ASSERT_FALSE(QFile::exists(session.folders.preferencesFile()));
    start();
    EXPECT_TRUE(started);
    EXPECT_EQ(shown(QStringLiteral("Error opeining file")), nullptr);
    EXPECT_EQ(child<QLabel>("bandDisplay")->text(), QStringLiteral("20"));
    enterContact(QStringLiteral("K1XYZ"), QStringLiteral("PAT"), QStringLiteral("CT"));
    EXPECT_EQ(session.log.count(), 1);
}

TEST_F(MainWindowLogFileTest, UnreadablePreferencesStopTheStartUp)
{
    // Something that cannot be read as a file at all.
    ASSERT_TRUE(QDir().mkdir(session.folders.preferencesFile()));
    start();
    EXPECT_FALSE(started);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, QStringLiteral("Error opening file"));
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("Error opeining file"));
    // The rest of the start-up is skipped: no question about the log, nothing loaded.
    EXPECT_EQ(shown(QStringLiteral("Open existing log?")), nullptr);
    EXPECT_TRUE(prompter.inputs.empty());
}

TEST_F(MainWindowLogFileTest, MalformedPreferencesStopTheStartUp)
{
    // The UTC offset on line 3 is not a number.
    writeFile(session.folders.preferencesFile(), QByteArray("\"N0CALL\"\r\n\"CT\"\r\nfive\r\n\"CW\"\r\n"));
    writeFile(session.folders.logFile(), numberedContacts(2));
    start();
    EXPECT_FALSE(started);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("Error opeining file"));
    EXPECT_EQ(session.log.count(), 0);
    EXPECT_EQ(readFile(session.folders.logFile()), numberedContacts(2));
}

TEST_F(MainWindowLogFileTest, MissingLogWhenContinuingEndsTheProgram)
{
    ASSERT_TRUE(QFile::remove(session.folders.logFile()));
    start(MessageAnswer::Yes);
    EXPECT_FALSE(started);
    EXPECT_TRUE(form->hasEnded());
    const ShownMessage* error = shown(QStringLiteral("File Error"));
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->text, fileErrorText);
    // Loading never creates the file; the new-log flow does.
    EXPECT_FALSE(QFile::exists(session.folders.logFile()));
}

TEST_F(MainWindowLogFileTest, UnreadableLogLineEndsTheProgramAndLeavesTheFileAlone)
{
    const QByteArray damaged = numberedContacts(2) + "\"W3AA\",\"B\"OB\",\"CT\",\"2026/01/10\"\r\n";
    writeFile(session.folders.logFile(), damaged);
    start(MessageAnswer::Yes);
    EXPECT_FALSE(started);
    EXPECT_TRUE(form->hasEnded());
    ASSERT_NE(shown(QStringLiteral("File Error")), nullptr);
    EXPECT_EQ(readFile(session.folders.logFile()), damaged);
}

TEST_F(MainWindowLogFileTest, NoAtStartErasesTheLogWhenYesIsTyped)
{
    writeFile(session.folders.logFile(), numberedContacts(3));
    prompter.inputAnswers.push_back(QStringLiteral("yes"));
    start(MessageAnswer::No);
    ASSERT_TRUE(started);
    ASSERT_EQ(prompter.inputs.size(), 1u);
    EXPECT_EQ(prompter.inputs[0].title, QStringLiteral("WARNING - Your existing log file will be ERASED!"));
    EXPECT_EQ(prompter.inputs[0].prompt, newLogPrompt);

    EXPECT_TRUE(QFile::exists(session.folders.logFile()));
    EXPECT_TRUE(readFile(session.folders.logFile()).isEmpty());
    EXPECT_EQ(session.log.count(), 0);
    EXPECT_EQ(listed()->rowCount(), 0);
    // The erased log is kept as a backup first, although it was never read.
    EXPECT_EQ(backups(), QStringList{QStringLiteral("202601101304.log")});
    // The new log saves the preferences.
    EXPECT_TRUE(QFile::exists(session.folders.preferencesFile()));

    enterContact(QStringLiteral("K1XYZ"), QStringLiteral("PAT"), QStringLiteral("CT"));
    EXPECT_EQ(session.log.count(), 1);
    EXPECT_EQ(listed()->rowCount(), 1);
}

TEST_F(MainWindowLogFileTest, NoAtStartKeepsTheLogUnlessYesIsTyped)
{
    for (const std::optional<QString>& answer :
         {std::optional<QString>(QStringLiteral("no")), std::optional<QString>(QStringLiteral("YES please")),
          std::optional<QString>()}) {
        SCOPED_TRACE(answer.value_or(QStringLiteral("<cancel>")).toStdString());
        writeFile(session.folders.logFile(), numberedContacts(3));
        prompter.inputAnswers.push_back(answer);
        start(MessageAnswer::No);
        ASSERT_TRUE(started);
        EXPECT_EQ(readFile(session.folders.logFile()), numberedContacts(3));
        EXPECT_EQ(session.log.count(), 3);
        EXPECT_EQ(listed()->rowCount(), 3);
        form.reset();
    }
}

TEST_F(MainWindowLogFileTest, NewLogFromTheMenuBacksUpContactsOfThisRun)
{
    session.prefs.accumulatedSeconds = 1200;
    writePreferences();
    writeFile(session.folders.logFile(), numberedContacts(2));
    start();
    enterContact(QStringLiteral("K1XYZ"), QStringLiteral("PAT"), QStringLiteral("CT"));
    const QByteArray threeContacts = readFile(session.folders.logFile());
    ASSERT_EQ(session.log.count(), 3);

    prompter.inputAnswers.push_back(QStringLiteral("YES"));
    action("newLogAction")->trigger();
    EXPECT_EQ(prompter.inputs.back().title,
              QStringLiteral("WARNING - Your existing log file will be ERASED!"));
    // The backup is named by the local date and time, to the minute.
    EXPECT_EQ(backups(), QStringList{QStringLiteral("202601101304.log")});
    EXPECT_EQ(readFile(backupPath(QStringLiteral("202601101304.log"))), threeContacts);
    EXPECT_TRUE(readFile(session.folders.logFile()).isEmpty());
    EXPECT_EQ(session.log.count(), 0);
    EXPECT_EQ(listed()->rowCount(), 0);
    // The operating time starts again from nothing, and that is saved.
    EXPECT_EQ(child<QLabel>("operatingTimeDisplay")->text(), QStringLiteral("00:00:00"));
    EXPECT_EQ(preferenceLine(5), QByteArray("0"));
}

TEST_F(MainWindowLogFileTest, NewLogAnsweredNoKeepsAndReloadsTheLog)
{
    writeFile(session.folders.logFile(), numberedContacts(2));
    start();
    enterContact(QStringLiteral("K1XYZ"), QStringLiteral("PAT"), QStringLiteral("CT"));
    const QByteArray threeContacts = readFile(session.folders.logFile());

    prompter.inputAnswers.push_back(QStringLiteral("no"));
    action("newLogAction")->trigger();
    EXPECT_EQ(readFile(session.folders.logFile()), threeContacts);
    EXPECT_EQ(session.log.count(), 3);
    EXPECT_EQ(listed()->rowCount(), 3);
    EXPECT_TRUE(backups().isEmpty());
}

TEST_F(MainWindowLogFileTest, ClosingAfterLoggingBacksUpTheLogAndSavesThePreferences)
{
    writeFile(session.folders.logFile(), numberedContacts(2));
    start();
    enterContact(QStringLiteral("K1XYZ"), QStringLiteral("PAT"), QStringLiteral("CT"));
    QFile::remove(session.folders.preferencesFile());

    form->close();
    EXPECT_EQ(backups(), QStringList{QStringLiteral("202601101304.log")});
    EXPECT_EQ(readFile(backupPath(QStringLiteral("202601101304.log"))), readFile(session.folders.logFile()));
    EXPECT_EQ(readFile(session.folders.preferencesFile()), encodePreferences(session.prefs));
    EXPECT_EQ(preferenceLine(12), QByteArray("\"20\""));
}

TEST_F(MainWindowLogFileTest, ClosingWithoutNewContactsWritesNoBackup)
{
    writeFile(session.folders.logFile(), numberedContacts(2));
    start();
    QFile::remove(session.folders.preferencesFile());
    form->close();
    EXPECT_TRUE(backups().isEmpty());
    EXPECT_TRUE(QFile::exists(session.folders.preferencesFile()));
}

TEST_F(MainWindowLogFileTest, ClosingAnEmptyLogWritesNoBackup)
{
    start();
    form->close();
    EXPECT_TRUE(backups().isEmpty());
}

TEST_F(MainWindowLogFileTest, ArchiveProposesTheCallAndDateAndCopiesTheLog)
{
    session.prefs.ownCall = QStringLiteral("N0CALL/4");
    writePreferences();
    writeFile(session.folders.logFile(), numberedContacts(4));
    start();

    const QString target = backupPath(QStringLiteral("N0CALL2026-01-10.log"));
    prompter.fileAnswers.push_back(target);
    action("archiveLogAction")->trigger();

    const ShownMessage* info = shown(QStringLiteral("Archive Information"));
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->text,
              QStringLiteral("This function is used to create a permanent copy of your currently "
                             "open log file.  To open your log file at a later date, click File > "
                             "Restore from Archive or Backup."));
    ASSERT_EQ(prompter.fileDialogs.size(), 1u);
    EXPECT_EQ(prompter.fileDialogs[0].folder, session.folders.backup);
    EXPECT_EQ(prompter.fileDialogs[0].filter, QStringLiteral("Log Files (*.log) | *.log"));
    EXPECT_EQ(QDir::cleanPath(prompter.fileDialogs[0].proposedName), QDir::cleanPath(target));
    EXPECT_EQ(readFile(target), numberedContacts(4));
    // The log itself is untouched.
    EXPECT_EQ(readFile(session.folders.logFile()), numberedContacts(4));
    EXPECT_EQ(session.log.count(), 4);
}

TEST_F(MainWindowLogFileTest, ArchiveCancelledWritesNothing)
{
    writeFile(session.folders.logFile(), numberedContacts(1));
    start();
    action("archiveLogAction")->trigger(); // the fake cancels the dialog
    EXPECT_EQ(prompter.fileDialogs.size(), 1u);
    EXPECT_TRUE(
        QFileInfo(prompter.fileDialogs[0].proposedName).fileName().startsWith(QStringLiteral("YourCall")));
    EXPECT_TRUE(backups().isEmpty());
    EXPECT_EQ(shown(QStringLiteral("Error Archiving Log")), nullptr);
}

TEST_F(MainWindowLogFileTest, ArchiveFailureIsReported)
{
    writeFile(session.folders.logFile(), numberedContacts(1));
    start();
    prompter.fileAnswers.push_back(dir.path() + QStringLiteral("/no/such/folder/x.log"));
    action("archiveLogAction")->trigger();
    EXPECT_NE(shown(QStringLiteral("Error Archiving Log")), nullptr);
}

TEST_F(MainWindowLogFileTest, RestoreOnAnEmptyLogCopiesTheArchiveAndReloads)
{
    const QString archive = backupPath(QStringLiteral("N0CALL2025-01-10.log"));
    writeFile(archive, numberedContacts(5));
    start();
    prompter.fileAnswers.push_back(archive);
    action("restoreLogAction")->trigger();

    EXPECT_NE(shown(QStringLiteral("Opening Archived Data Information")), nullptr);
    EXPECT_EQ(shown(QStringLiteral("Are your sure?")), nullptr) << "nothing to lose, nothing to ask";
    ASSERT_EQ(prompter.fileDialogs.size(), 1u);
    EXPECT_EQ(prompter.fileDialogs[0].folder, session.folders.backup);
    EXPECT_EQ(prompter.fileDialogs[0].filter, QStringLiteral("Log Files (*.log) | *.log"));
    EXPECT_EQ(readFile(session.folders.logFile()), numberedContacts(5));
    EXPECT_EQ(session.log.count(), 5);
    EXPECT_EQ(listed()->rowCount(), 5);
    EXPECT_EQ(readFile(archive), numberedContacts(5));
}

TEST_F(MainWindowLogFileTest, RestoreOverContactsAsksFirst)
{
    const QString archive = backupPath(QStringLiteral("old.log"));
    writeFile(archive, numberedContacts(5));
    writeFile(session.folders.logFile(), numberedContacts(2));
    start();

    // The information message, then No.
    prompter.messageAnswers = {MessageAnswer::Ok, MessageAnswer::No};
    prompter.fileAnswers.push_back(archive);
    action("restoreLogAction")->trigger();
    const ShownMessage* sure = shown(QStringLiteral("Are your sure?"));
    ASSERT_NE(sure, nullptr);
    EXPECT_EQ(sure->text,
              QStringLiteral("Are you sure that you want to open an archived log?  This action will "
                             "clear and replace existing QSO data."));
    EXPECT_EQ(sure->buttons, MessageButtons::YesNo);
    EXPECT_TRUE(prompter.fileDialogs.empty());
    EXPECT_EQ(readFile(session.folders.logFile()), numberedContacts(2));
    EXPECT_EQ(session.log.count(), 2);

    prompter.messageAnswers = {MessageAnswer::Ok, MessageAnswer::Yes};
    action("restoreLogAction")->trigger();
    EXPECT_EQ(prompter.fileDialogs.size(), 1u);
    EXPECT_EQ(readFile(session.folders.logFile()), numberedContacts(5));
    EXPECT_EQ(session.log.count(), 5);
    EXPECT_EQ(listed()->rowCount(), 5);
}

TEST_F(MainWindowLogFileTest, RestoreCancelledKeepsTheLog)
{
    writeFile(session.folders.logFile(), numberedContacts(2));
    start();
    prompter.messageAnswers = {MessageAnswer::Ok, MessageAnswer::Yes};
    action("restoreLogAction")->trigger(); // the fake cancels the dialog
    EXPECT_EQ(readFile(session.folders.logFile()), numberedContacts(2));
    EXPECT_EQ(session.log.count(), 2);
    EXPECT_EQ(shown(QStringLiteral("Error Restoring Log")), nullptr);
}

TEST_F(MainWindowLogFileTest, UtcOffsetQuestionOffersTheSystemOffset)
{
    session.prefs.utcOffsetHours = 4;
    writePreferences();
    prompter.inputAnswers.push_back(QStringLiteral("5"));
    start();
    ASSERT_EQ(prompter.inputs.size(), 1u);
    const ShownInput& question = prompter.inputs[0];
    EXPECT_EQ(question.title, QStringLiteral("Update the Local Time / UTC Offset?"));
    EXPECT_EQ(question.initial, QStringLiteral("5"));
    qsizetype at = 0;
    for (const QString& part :
         {QStringLiteral(
              "Would you like to adjust the UTC offset in this program for your local time setting?"),
          QStringLiteral("Current System Time: 18:04"), QStringLiteral("Current Local Time: 13:04"),
          QStringLiteral("Recommended Offset Setting: 5"), QStringLiteral("Current Offset Setting: 4"),
          QStringLiteral("Please click OK to accept the recommended change or Cancel to keep the current "
                         "setting.")}) {
        const qsizetype found = question.prompt.indexOf(part, at);
        EXPECT_GE(found, at) << part.toStdString() << " in " << question.prompt.toStdString();
        at = std::max(at, found);
    }
    EXPECT_FLOAT_EQ(session.prefs.utcOffsetHours, 5.0f);
    EXPECT_EQ(preferenceLine(3), QByteArray("5"));

    enterContact(QStringLiteral("K1XYZ"), QStringLiteral("PAT"), QStringLiteral("CT"));
    ASSERT_EQ(session.log.count(), 1);
    EXPECT_EQ(session.log.record(1).time, QStringLiteral("18:04:31"));
}

TEST_F(MainWindowLogFileTest, UtcOffsetQuestionCancelledKeepsTheStoredOffset)
{
    session.prefs.utcOffsetHours = 4;
    writePreferences();
    start(); // the fake cancels the input box
    ASSERT_EQ(prompter.inputs.size(), 1u);
    EXPECT_FLOAT_EQ(session.prefs.utcOffsetHours, 4.0f);
    EXPECT_EQ(preferenceLine(3), QByteArray("4"));
    enterContact(QStringLiteral("K1XYZ"), QStringLiteral("PAT"), QStringLiteral("CT"));
    ASSERT_EQ(session.log.count(), 1);
    EXPECT_EQ(session.log.record(1).time, QStringLiteral("17:04:31"));
}

TEST_F(MainWindowLogFileTest, UtcOffsetQuestionTakesOnlyANumber)
{
    session.prefs.utcOffsetHours = 4;
    writePreferences();
    prompter.inputAnswers.push_back(QStringLiteral("five"));
    start();
    EXPECT_FLOAT_EQ(session.prefs.utcOffsetHours, 4.0f);
    EXPECT_TRUE(started);
}

TEST_F(MainWindowLogFileTest, UtcOffsetQuestionHandlesHalfHourZones)
{
    clock.setUtcMinusLocalHours(-5.5);
    session.prefs.utcOffsetHours = 5;
    writePreferences();
    prompter.inputAnswers.push_back(QStringLiteral("-5.5"));
    start();
    ASSERT_EQ(prompter.inputs.size(), 1u);
    EXPECT_EQ(prompter.inputs[0].initial, QStringLiteral("-5.5"));
    EXPECT_FLOAT_EQ(session.prefs.utcOffsetHours, -5.5f);
    EXPECT_EQ(preferenceLine(3), QByteArray("-5.5"));
}

TEST_F(MainWindowLogFileTest, MatchingUtcOffsetAsksNothing)
{
    writePreferences(); // offset 5, as the fake clock
    start();
    EXPECT_TRUE(prompter.inputs.empty());
}

} // namespace velk::testing

namespace velk::testing {

// A run that starts on an empty log and changes band after logging still backs up on exit.
TEST_F(MainWindowLogFileTest, ContactsLoggedIntoAnEmptyLogAreBackedUpAfterABandChange)
{
    start();
    enterContact(QStringLiteral("K1XYZ"), QStringLiteral("PAT"), QStringLiteral("CT"));
    station.selectBand(QStringLiteral("40"));
    form->close();
    EXPECT_EQ(backups(), QStringList{QStringLiteral("202601101304.log")});
}

} // namespace velk::testing
