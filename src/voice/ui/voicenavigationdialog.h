#pragma once
// VoiceNavigationDialog: "Voice Navigation Settings", where the operator chooses which entry boxes
// announce themselves (Off, Call Only, All Data Fields). Each choice sounds at once through the
// voice cues; "Done" hands the level to the main window, which keeps it in the preferences.
#include "voice/voicecues.h"

#include <QDialog>

class QRadioButton;

namespace velk {

class VoiceNavigationDialog : public QDialog
{
    Q_OBJECT
public:
    VoiceNavigationDialog(VoiceCues& cues, const QString& workingFolder, QWidget* parent = nullptr);

    // Shows the window with the option of `level` selected.
    void showLevel(NavigationLevel level);
    NavigationLevel selectedLevel() const;

signals:
    void levelAccepted(NavigationLevel level);

private:
    void choose(NavigationLevel level);

    VoiceCues& m_cues;
    QRadioButton* m_off = nullptr;
    QRadioButton* m_callOnly = nullptr;
    QRadioButton* m_allFields = nullptr;
};

} // namespace velk
