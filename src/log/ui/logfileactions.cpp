#include "log/ui/logfileactions.h"

#include "log/contactedit.h"
#include "log/logsession.h"
#include "log/stationtime.h"
#include "log/ui/editcontactdialog.h"
#include "log/ui/preferenceprompts.h"

#include <QWidget>

namespace velk {

namespace {

const QString fileErrorText = QStringLiteral(
    "Error opening file.  This error is annoying but probably correctable.  In all likelihood, a character "
    "such as a quote got into your data or one of your entries has an invalid date/time format.  Close this "
    "program and open log.txt in the program's working directory with a text editor such as notepad.  "
    "Inspect "
    "the data and fix any errors you see (remove any extra quotes and make sure your date and time entries "
    "are "
    "valid).");

} // namespace

LogFileActions::LogFileActions(Platform& platform, LogSession& session, QWidget* window)
    : QObject(window), m_platform(platform), m_session(session), m_window(window)
{
}

bool LogFileActions::reload()
{
    if (!m_session.reload().ok) {
        m_platform.prompter.message(fileErrorText, QStringLiteral("File Error"), MessageIcon::Critical);
        emit loadFailed();
        return false;
    }
    // The backup compares against the log as the run first found it; taking a later count (after
    // contacts were logged into an empty log) would skip the backup on exit.
    if (!m_baselineTaken) {
        m_session.log.setLoadedBaseline(m_session.log.count());
        m_baselineTaken = true;
    }
    return true;
}

void LogFileActions::startNewLog()
{
    const auto answer = m_platform.prompter.input(
        QStringLiteral(
            "Are you sure that you want to start a new log file?  This function will ERASE the "
            "existing log file!\n\nTo verify that you want to start a new log file, please type: YES"),
        QStringLiteral("WARNING - Your existing log file will be ERASED!"));
    if (answer && answer->toUpper() == QStringLiteral("YES")) {
        // Whatever log.txt holds is kept, even when it was not read yet (No at start-up).
        backupLogFile(m_session.folders.logFile(), m_session.folders.backup, localNow(m_platform.clock));
        m_session.prefs.accumulatedSeconds = 0;
        const WriteResult emptied = truncateLogFile(m_session.folders.logFile());
        if (!emptied.ok) {
            m_platform.prompter.message(emptied.error, tr("Unable to start a new log"),
                                        MessageIcon::Critical);
        }
        m_session.log.clear();
        savePreferencesReporting(m_platform, m_session);
        m_baselineTaken = false; // the new log is what the exit backup compares with
    }
    m_session.operatingClock.show(m_session.prefs.accumulatedSeconds);
    reload();
}

void LogFileActions::backUpChangedLog()
{
    backupLog(m_session.log, m_session.folders.logFile(), m_session.folders.backup,
              localNow(m_platform.clock));
}

void LogFileActions::archive()
{
    m_platform.prompter.message(
        QStringLiteral(
            "This function is used to create a permanent copy of your currently open log file.  To open "
            "your log file at a later date, click File > Restore from Archive or Backup."),
        QStringLiteral("Archive Information"));
    FileDialogRequest request;
    request.title = tr("Archive Current Log");
    request.folder = m_session.folders.backup;
    request.filter = QStringLiteral("Log Files (*.log) | *.log");
    request.proposedName = proposedArchivePath(m_session.folders.backup, m_session.prefs.ownCall,
                                               localNow(m_platform.clock).date());
    const auto target = m_platform.prompter.saveFile(request);
    if (!target) {
        return;
    }
    const WriteResult copied = copyFileAtomically(m_session.folders.logFile(), *target);
    if (!copied.ok) {
        m_platform.prompter.message(copied.error, QStringLiteral("Error Archiving Log"),
                                    MessageIcon::Critical);
    }
}

void LogFileActions::restore()
{
    m_platform.prompter.message(
        QStringLiteral(
            "This action will open an archived log or backup file and creates a working file called "
            "log.txt.  If you make any changes to your archived data that you would like to permanently "
            "save, before you click File > New to start a new contest, be sure to click File > Archive to "
            "save your changes."),
        QStringLiteral("Opening Archived Data Information"));
    if (m_session.log.count() > 0) {
        const auto sure = m_platform.prompter.message(
            QStringLiteral(
                "Are you sure that you want to open an archived log?  This action will clear and replace "
                "existing QSO data."),
            QStringLiteral("Are your sure?"), MessageIcon::Question, MessageButtons::YesNo);
        if (sure != MessageAnswer::Yes) {
            return;
        }
    }
    FileDialogRequest request;
    request.title = tr("Restore from Archive or Backup");
    request.folder = m_session.folders.backup;
    request.filter = QStringLiteral("Log Files (*.log) | *.log");
    const auto source = m_platform.prompter.openFile(request);
    if (!source) {
        return;
    }
    const WriteResult copied = copyFileAtomically(*source, m_session.folders.logFile());
    if (!copied.ok) {
        m_platform.prompter.message(copied.error, QStringLiteral("Error Restoring Log"),
                                    MessageIcon::Critical);
        return;
    }
    m_baselineTaken = false; // the restored log is what the exit backup compares with
    reload();
}

// ---------------------------------------------------------------------------------------------
// Correcting single contacts

void LogFileActions::editContact(int recordNumber)
{
    if (m_editDialog || recordNumber < 1 || recordNumber > m_session.log.count()) {
        return;
    }
    auto* dialog =
        new EditContactDialog(m_platform, m_session.log, m_session.prefixes, recordNumber, m_window);
    m_editDialog = dialog;
    connect(dialog, &QDialog::finished, this, [this, dialog](int result) { editFinished(dialog, result); });
    dialog->load();
    dialog->open();
}

void LogFileActions::editFinished(EditContactDialog* dialog, int result)
{
    if (dialog != m_editDialog) {
        return;
    }
    m_editDialog = nullptr;
    dialog->deleteLater();
    const int number = dialog->recordNumber();
    if (result == EditContactDialog::DeleteDupeResult) {
        if (confirmAndDelete(number)) {
            return;
        }
    } else if (result == QDialog::Accepted && number >= 1 && number <= m_session.log.count()) {
        m_session.log.replace(number, dialog->editedRecord());
    }
    emit correctionFinished();
    rewriteAndReload();
}

void LogFileActions::deleteContact(int recordNumber)
{
    confirmAndDelete(recordNumber);
}

bool LogFileActions::confirmAndDelete(int number)
{
    if (number < 1 || number > m_session.log.count()) {
        return false;
    }
    const MessageAnswer answer =
        m_platform.prompter.message(QStringLiteral("Are you sure?"), QStringLiteral("Are you sure?"),
                                    MessageIcon::Question, MessageButtons::YesNo);
    emit correctionFinished();
    if (answer == MessageAnswer::No) {
        return false;
    }
    const WriteResult written = velk::deleteContact(m_session.log, number, m_session.folders.logFile());
    if (!written.ok) {
        reportRewriteFailure(written);
    }
    reload();
    return true;
}

void LogFileActions::rewriteAndReload()
{
    const WriteResult written = m_session.log.rewrite(m_session.folders.logFile());
    if (!written.ok) {
        reportRewriteFailure(written);
    }
    reload();
}

void LogFileActions::reportRewriteFailure(const WriteResult& written)
{
    // The old log.txt is still whole (the rewrite goes through a temporary file); the reload that
    // follows puts the log back to what it holds.
    m_platform.prompter.bell();
    m_platform.prompter.message(
        tr("The log file could not be rewritten, so the change was NOT saved.\n\n%1").arg(written.error),
        tr("Unable to write the log file"), MessageIcon::Critical);
}

} // namespace velk
