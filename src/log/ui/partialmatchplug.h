#pragma once
// PartialMatchPlug: what the partial matches bring to the main window: the match line, the
// "Super Check Partial Files..." action with its dialog, the keys that take a match, and the
// pre-fill of name and location from the call history. Keeps SuperCheck in step with the
// LogSession; reports through statusText (one line), never a box.
#include "common/platform/platform.h"
#include "log/supercheck.h"

#include <QObject>
#include <QPointer>

class QAction;
class QKeyEvent;
class QLineEdit;
class QWidget;

namespace velk {

class LogSession;
class PartialMatchFilesDialog;
class PartialMatchPanel;

class PartialMatchPlug : public QObject
{
    Q_OBJECT
public:
    // Builds the panel (for the shell to place) and starts reading the chosen files.
    PartialMatchPlug(Platform& platform, LogSession& session, SuperCheck& superCheck, QWidget* window);

    PartialMatchPanel* panel() const { return m_panel; }
    // For the Options menu.
    QAction* filesAction() const { return m_filesAction; }
    PartialMatchFilesDialog* filesDialog() const { return m_dialog; }

    // The call box text after each change. The call just taken from the line keeps the line as it
    // is, so the take key walks along it.
    void showMatchesFor(const QString& callText);
    // Ctrl+Down takes the next match, Ctrl+Up the one before; false for every other key.
    bool handleKey(const QKeyEvent* event);
    // On leaving the call box: the history's name and location go into whichever of the two boxes
    // is still empty, selected so typing replaces them, when the call is not in this log.
    void prefill(const QString& call, QLineEdit* nameBox, QLineEdit* locationBox) const;
    // Opens the file choice (window-modal, without a nested event loop).
    void chooseFiles();

signals:
    // A match taken by click or key, for the call box as if typed.
    void callChosen(const QString& call);
    // One line for the status line: what was loaded, or why the feature is off.
    void statusText(const QString& line);

private:
    Platform& m_platform;
    LogSession& m_session;
    SuperCheck& m_superCheck;
    QWidget* m_window;
    PartialMatchPanel* m_panel;
    QAction* m_filesAction;
    QPointer<PartialMatchFilesDialog> m_dialog;
    QString m_callText;
    QString m_taken;

    void refresh();
};

} // namespace velk
