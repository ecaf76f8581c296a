#pragma once
// VoiceKeyer: the recorded voice messages of F1-F9 in a phone log. Checks the file, keys PTT
// through the station's key-line owner, plays the file on the chosen output and releases PTT when
// the sound has ended, or at once on any failure, Esc, closing or exit; repeats F1 after the loop
// pause. Owns the spoken cues as well. Talks to the platform's audio player and key ports.
#include "common/platform/audioplayer.h"
#include "common/platform/oneshottimer.h"
#include "common/platform/platform.h"
#include "voice/voicecues.h"
#include "voice/voicesettings.h"

#include <QObject>
#include <memory>

namespace velk {

class LogSession;

class VoiceKeyer : public QObject
{
    Q_OBJECT
public:
    VoiceKeyer(Platform& platform, LogSession& session, const TimerFactory& timers = makeEventLoopTimer,
               QObject* parent = nullptr);
    ~VoiceKeyer() override;

    const VoiceSettings& settings() const { return m_settings; }
    void setSettings(const VoiceSettings& settings) { m_settings = settings; }
    // wave2.txt in the working folder.
    QString settingsFile() const;

    // The sound output for the messages (the radio's sound card); empty: the system default.
    // Kept in the per-user settings store.
    QString outputId() const;
    void setOutputId(const QString& id);

    // F1 (1) ... F9 (9): plays that key's file with PTT around it; F1 repeats when a loop pause
    // is set. A message playing is cut first.
    void playKey(int key);
    // Esc, closing, exit: stops the sound and the repeat, PTT released.
    void stop();
    // A key on the main window: no further repetition; the message playing ends normally.
    void endRepeat();
    // Opens and releases the PTT port as the settings say; false with error when it cannot open.
    bool checkPttPort(QString& error);

    bool isPlaying() const { return m_playingKey != 0; }
    bool isRepeating() const { return m_repeating; }
    bool isPttKeyed() const { return m_pttKeyed; }

    AudioPlayer& player() { return *m_player; }
    VoiceCues& cues() { return *m_cues; }

    // Beyond a message's own length, how long its end may take before PTT is released anyway.
    static constexpr int endMarginMs = 2000;

signals:
    // A message could not be played or was broken off: what failed, for the status line.
    void failure(const QString& text);
    // The PTT port would not open ("Invalid port.").
    void pttPortInvalid();
    void playingChanged(bool playing);
    void repeatChanged(bool repeating);

private:
    void onFinished();
    void onFailed(const QString& error);
    void onWatchdog();
    bool keyPtt(int key);
    void releasePtt();
    void endPlayback();
    void setRepeating(bool repeating);

    Platform& m_platform;
    LogSession& m_session;
    VoiceSettings m_settings;
    std::unique_ptr<AudioPlayer> m_player;
    std::unique_ptr<AudioPlayer> m_cuePlayer;
    std::unique_ptr<VoiceCues> m_cues;
    std::unique_ptr<OneShotTimer> m_repeatTimer;
    std::unique_ptr<OneShotTimer> m_watchdog;
    int m_playingKey = 0;
    bool m_repeating = false;
    bool m_pttKeyed = false;
};

} // namespace velk
