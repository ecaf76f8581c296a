#pragma once
// LogFileActions: the File menu's work on log.txt: reading it again, starting a new log (after
// the backup), archiving and restoring, and the automatic backup at exit; and the correction of
// single contacts: the edit dialog and deleting. Talks to the operator through the prompter and
// reads and writes through the LogSession, which tells the panels what changed.
#include "common/platform/platform.h"

#include <QObject>

class QWidget;

namespace velk {

class EditContactDialog;
class LogSession;
struct WriteResult;

class LogFileActions : public QObject
{
    Q_OBJECT
public:
    // `window` is the parent of the dialogs these actions open.
    LogFileActions(Platform& platform, LogSession& session, QWidget* window);

    // "&Open": reads log.txt again; false after a read failure, which is fatal (loadFailed).
    bool reload();
    // "&New": asks for YES, backs the old log up and empties it, then reads it again.
    void startNewLog();
    void archive();
    void restore();
    // The automatic backup of a log that changed in this run.
    void backUpChangedLog();

    // "Edit Contact" or a right click: the edit dialog for that record, without waiting for it;
    // when it closes the log is rewritten and read again.
    void editContact(int recordNumber);
    // "Delete Contact": deletes the record once the operator confirms.
    void deleteContact(int recordNumber);
    // The edit dialog while it is open, otherwise null.
    EditContactDialog* editDialog() const { return m_editDialog; }

signals:
    // log.txt could not be read: the program cannot go on.
    void loadFailed();
    // An edit or delete is over (done or refused): the list's edit buttons go.
    void correctionFinished();

private:
    Platform& m_platform;
    LogSession& m_session;
    QWidget* m_window;
    bool m_baselineTaken = false;
    EditContactDialog* m_editDialog = nullptr;

    void editFinished(EditContactDialog* dialog, int result);
    bool confirmAndDelete(int number);
    void rewriteAndReload();
    void reportRewriteFailure(const WriteResult& written);
};

} // namespace velk
