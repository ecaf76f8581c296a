#pragma once
// VoiceCues: the short spoken cues for an operator who cannot see the screen: which entry box got
// the focus (as the navigation level says), a duplicate, navigation switched on or off. Plays the
// cue files of the working folder through a player of its own; a new cue cuts the one playing.
#include "common/platform/audioplayer.h"
#include "common/platform/oneshottimer.h"

#include <QObject>
#include <functional>
#include <memory>

namespace velk {

class LogSession;

enum class NavigationLevel { Off = 0, CallOnly = 1, AllFields = 2 };
enum class EntryBox { Call, Name, Location };

class VoiceCues : public QObject
{
    Q_OBJECT
public:
    VoiceCues(AudioPlayer& player, LogSession& session, const TimerFactory& timers,
              QObject* parent = nullptr);

    // The file of a cue: the working folder, "/", the name and ".wav".
    QString cueFile(const QString& name) const;
    // Plays a cue; then runs once when it has ended, failed, been cut by another cue, or when
    // its length and a margin have passed without an end. A missing or unplayable file is
    // silent and then runs at once.
    void play(const QString& name, std::function<void()> then = {});
    void stop();

    // An entry box got the focus: its cue when the level asks for it.
    void boxEntered(EntryBox box);
    // A duplicate: "Dupe" at every level; unless the level is Off, then runs only once the cue
    // has ended.
    void dupe(std::function<void()> then);
    // The operator picks a level in the settings window: how it sounds.
    void levelChosen(NavigationLevel level);

    NavigationLevel level() const;

    // Beyond a cue's own length, how long its end may take before the waiter goes on.
    static constexpr int endMarginMs = 1500;

private:
    void ended();

    AudioPlayer& m_player;
    LogSession& m_session;
    std::unique_ptr<OneShotTimer> m_timeout;
    std::function<void()> m_then;
    quint64 m_plays = 0;
    bool m_cutting = false; // a waiter runs because its cue was cut
    bool m_dupeAnnouncing = false;
};

} // namespace velk
