#pragma once
// VoicePlug: the voice keyer and the spoken cues in the main window: F1-F9 and Esc in a phone log,
// Ctrl+P, the voice setup and voice navigation windows with their menu items, the cues of the
// entry boxes, and wave2.txt read at start-up.
#include "app/ui/shell.h"

#include <QObject>

class QAction;
class QKeyEvent;

namespace velk {

class PhoneWaveDialog;
class VoiceNavigationDialog;

class VoicePlug : public QObject
{
    Q_OBJECT
public:
    explicit VoicePlug(const Shell& shell);

    QAction* setupAction() const { return m_setupAction; }
    QAction* navigationAction() const { return m_navigationAction; }
    // Start-up: the voice settings from wave2.txt.
    void start();

    void showPhoneWaveDialog();
    void showVoiceNavigation();

private:
    bool handleKey(QKeyEvent* event);

    Shell m_shell;
    QAction* m_setupAction = nullptr;
    QAction* m_navigationAction = nullptr;
    PhoneWaveDialog* m_phoneWaveDialog = nullptr;
    VoiceNavigationDialog* m_navigationDialog = nullptr;
};

} // namespace velk
