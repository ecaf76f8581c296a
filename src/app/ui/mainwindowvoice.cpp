// The voice keyer and the spoken cues in the main window: F1-F9 and Esc in a phone log, Ctrl+P,
// the two voice windows, the cues of the entry boxes and of a duplicate, wave2.txt at start-up.
#include "app/ui/mainwindow.h"

#include "log/ui/entrypanel.h"
#include "log/ui/preferenceprompts.h"
#include "log/ui/statusline.h"
#include "voice/ui/entrycues.h"
#include "voice/ui/phonewavedialog.h"
#include "voice/ui/voicenavigationdialog.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace velk {

void MainWindow::wireVoice()
{
    VoiceKeyer& voice = m_station.voice();
    m_ctrlCommands[Qt::Key_P] = [this] { showPhoneWaveDialog(); };
    m_keyHandlers.push_back([this](QKeyEvent* event) { return handleVoiceKey(event); });

    connect(&voice, &VoiceKeyer::failure, this, [this](const QString& text) {
        m_platform.prompter.bell();
        m_statusLine->showText(text);
    });
    connect(&voice, &VoiceKeyer::pttPortInvalid, this, [this] {
        showPhoneWaveDialog();
        m_phoneWaveDialog->reportInvalidPort();
    });

    VoiceCues& cues = voice.cues();
    new EntryCues(cues, m_entry->callBox(), m_entry->nameBox(), m_entry->locationBox(), this);
    m_entry->setDupeCue([&cues](std::function<void()> goOn) { cues.dupe(std::move(goOn)); });
}

void MainWindow::loadVoiceSettings()
{
    VoiceKeyer& voice = m_station.voice();
    VoiceSettings settings;
    // A first start has no voice settings yet: the defaults serve until "Done" writes them.
    if (velk::loadVoiceSettings(voice.settingsFile(), settings) == VoiceSettingsLoad::Unreadable) {
        m_platform.prompter.message(QStringLiteral("Error opening file"),
                                    QStringLiteral("Error opeining file"), MessageIcon::Critical);
        return;
    }
    voice.setSettings(settings);
}

bool MainWindow::handleVoiceKey(QKeyEvent* event)
{
    if (m_session.prefs.mode.compare(QStringLiteral("PH"), Qt::CaseInsensitive) != 0) {
        return false;
    }
    VoiceKeyer& voice = m_station.voice();
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

void MainWindow::showPhoneWaveDialog()
{
    if (!m_phoneWaveDialog) {
        m_phoneWaveDialog = new PhoneWaveDialog(m_platform, m_station.voice(), this);
    }
    if (!m_phoneWaveDialog->isVisible()) {
        m_phoneWaveDialog->showSettings();
    }
}

void MainWindow::showVoiceNavigation()
{
    if (!m_voiceNavigationDialog) {
        m_voiceNavigationDialog =
            new VoiceNavigationDialog(m_station.voice().cues(), m_session.folders.working, this);
        connect(m_voiceNavigationDialog, &VoiceNavigationDialog::levelAccepted, this,
                [this](NavigationLevel level) {
                    m_session.prefs.audioFeedbackLevel = static_cast<int>(level);
                    savePreferences();
                });
    }
    m_voiceNavigationDialog->showLevel(m_station.voice().cues().level());
}

} // namespace velk
