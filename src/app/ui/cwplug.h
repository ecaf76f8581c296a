#pragma once
// CwPlug: CW keying in the main window: the keyer window, the CW message editor and the WinKey
// setup window with their menu item and Ctrl keys; the function keys, the speed keys and keyboard
// sending of a CW log; what the keyer reports on the status line.
#include "app/ui/shell.h"

#include <QObject>

class QAction;
class QKeyEvent;

namespace velk {

class CwStringsWindow;
class KeyerWindow;
class WinKeySetupDialog;

class CwPlug : public QObject
{
    Q_OBJECT
public:
    explicit CwPlug(const Shell& shell);

    QAction* setupAction() const { return m_setupAction; }
    // Start-up: the keyer's settings from the working folder.
    void start();

    void showKeyerWindow();
    void showStringsWindow();
    // The " WinKey Setup" window, shown modally over the main window ("Configure Winkey").
    void showWinKeySetup();
    WinKeySetupDialog* winKeySetup() const { return m_winKeySetup; }

private:
    void reportOnStatusLine();
    void buildWinKeySetup();
    KeyerWindow* keyerWindow();
    CwStringsWindow* stringsWindow();
    bool handleKey(QKeyEvent* event);

    Shell m_shell;
    QAction* m_setupAction = nullptr;
    KeyerWindow* m_keyerWindow = nullptr;
    CwStringsWindow* m_stringsWindow = nullptr;
    WinKeySetupDialog* m_winKeySetup = nullptr;
};

} // namespace velk
