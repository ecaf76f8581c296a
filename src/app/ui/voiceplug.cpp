#include "app/ui/voiceplug.h"

#include "app/station.h"
#include "app/ui/keyrouter.h"
#include "log/ui/entrypanel.h"
#include "log/ui/statusline.h"
#include "voice/ui/entrycues.h"
#include "voice/ui/phonewavedialog.h"
#include "voice/ui/voicenavigationdialog.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>

namespace velk {

VoicePlug::VoicePlug(const Shell& shell) : QObject(&shell.window), m_shell(shell)
{
    m_setupAction = new QAction(tr("&Voice Setup"), this);
    m_setupAction->setObjectName(QStringLiteral("voiceSetupAction"));
    connect(m_setupAction, &QAction::triggered, this, &VoicePlug::showPhoneWaveDialog);
    m_navigationAction = new QAction(tr("&Voice Navigation"), this);
    m_navigationAction->setObjectName(QStringLiteral("voiceNavigationAction"));
    connect(m_navigationAction, &QAction::triggered, this, &VoicePlug::showVoiceNavigation);
    m_shell.keys.addCtrlCommand(Qt::Key_P, [this] { showPhoneWaveDialog(); });
    m_shell.keys.addKeyHandler(KeyRouter::VoiceKeyerKeys,
                               [this](QKeyEvent* event) { return handleKey(event); });

    VoiceKeyer& voice = m_shell.station.voice();
    Platform& platform = m_shell.station.platform();
    connect(&voice, &VoiceKeyer::failure, this, [this, &platform](const QString& text) {
        platform.prompter.bell();
        m_shell.status.showText(text);
    });
    connect(&voice, &VoiceKeyer::pttPortInvalid, this, [this] {
        showPhoneWaveDialog();
        m_phoneWaveDialog->reportInvalidPort();
    });
    EntryPanel& entry = m_shell.entry;
    new EntryCues(voice.cues(), entry.callBox(), entry.nameBox(), entry.locationBox(), this);
}

void VoicePlug::start()
{
    Station& station = m_shell.station;
    VoiceKeyer& voice = station.voice();
    VoiceSettings settings;
    // A first start has no voice settings yet: the defaults serve until "Done" writes them.
    if (loadVoiceSettings(voice.settingsFile(), settings) == VoiceSettingsLoad::Unreadable) {
        station.platform().prompter.message(QStringLiteral("Error opening file"),
                                            QStringLiteral("Error opeining file"), MessageIcon::Critical);
        return;
    }
    voice.setSettings(settings);
}

bool VoicePlug::handleKey(QKeyEvent* event)
{
    if (m_shell.station.session().prefs.mode.compare(QStringLiteral("PH"), Qt::CaseInsensitive) != 0) {
        return false;
    }
    VoiceKeyer& voice = m_shell.station.voice();
    const int key = event->key();
    if (key >= Qt::Key_F1 && key <= Qt::Key_F9 && event->modifiers() == Qt::NoModifier) {
        voice.playKey(key - Qt::Key_F1 + 1);
        return true;
    }
    if (key == Qt::Key_Escape && (voice.isPlaying() || voice.isRepeating())) {
        voice.stop();
        return true;
    }
    // Any other key ends the calling: no further repetition.
    voice.endRepeat();
    return false;
}

void VoicePlug::showPhoneWaveDialog()
{
    if (!m_phoneWaveDialog) {
        m_phoneWaveDialog =
            new PhoneWaveDialog(m_shell.station.platform(), m_shell.station.voice(), &m_shell.window);
    }
    if (!m_phoneWaveDialog->isVisible()) {
        m_phoneWaveDialog->showSettings();
    }
}

void VoicePlug::showVoiceNavigation()
{
    VoiceCues& cues = m_shell.station.voice().cues();
    if (!m_navigationDialog) {
        m_navigationDialog =
            new VoiceNavigationDialog(cues, m_shell.station.session().folders.working, &m_shell.window);
        connect(m_navigationDialog, &VoiceNavigationDialog::levelAccepted, this,
                [this](NavigationLevel level) {
                    m_shell.station.session().prefs.audioFeedbackLevel = static_cast<int>(level);
                    m_shell.savePreferences();
                });
    }
    m_navigationDialog->showLevel(cues.level());
}

} // namespace velk
