#include "voice/voicecues.h"

#include "log/logsession.h"

#include <utility>

namespace velk {

VoiceCues::VoiceCues(AudioPlayer& player, LogSession& session, const TimerFactory& timers, QObject* parent)
    : QObject(parent), m_player(player), m_session(session), m_timeout(timers(QStringLiteral("cueTimeout")))
{
    m_timeout->onTimeout = [this] {
        m_player.stop();
        ended();
    };
    connect(&m_player, &AudioPlayer::finished, this, &VoiceCues::ended);
    connect(&m_player, &AudioPlayer::failed, this, &VoiceCues::ended);
}

QString VoiceCues::cueFile(const QString& name) const
{
    return m_session.folders.working + QLatin1Char('/') + name + QStringLiteral(".wav");
}

NavigationLevel VoiceCues::level() const
{
    switch (m_session.prefs.audioFeedbackLevel) {
    case 1:
        return NavigationLevel::CallOnly;
    case 2:
        return NavigationLevel::AllFields;
    default:
        return NavigationLevel::Off;
    }
}

void VoiceCues::play(const QString& name, std::function<void()> then)
{
    // The cue playing is cut; whoever waited on it goes on now. If that starts a cue of its own
    // (a dupe's wait moving the focus), that cue is the newer word and this one is dropped.
    const quint64 before = ++m_plays;
    m_timeout->stop();
    m_player.stop();
    if (auto waiting = std::exchange(m_then, {})) {
        m_cutting = true;
        waiting();
        m_cutting = false;
    }
    if (m_plays != before) {
        if (then) {
            then();
        }
        return;
    }
    QString error;
    if (!m_player.load(cueFile(name), QString(), error)) {
        if (then) {
            then();
        }
        return;
    }
    m_then = std::move(then);
    m_timeout->start(static_cast<int>(std::min<qint64>(m_player.durationMs(), 60000)) + endMarginMs);
    m_player.play();
}

void VoiceCues::stop()
{
    m_timeout->stop();
    m_player.stop();
    if (auto waiting = std::exchange(m_then, {})) {
        m_cutting = true;
        waiting();
        m_cutting = false;
    }
}

void VoiceCues::ended()
{
    m_timeout->stop();
    if (auto waiting = std::exchange(m_then, {})) {
        waiting();
    }
}

void VoiceCues::boxEntered(EntryBox box)
{
    const NavigationLevel current = level();
    // "Dupe" is heard to its end: the move into the next box that came with it says nothing.
    if (current == NavigationLevel::Off || m_dupeAnnouncing) {
        return;
    }
    if (box == EntryBox::Call) {
        play(QStringLiteral("Call"));
    } else if (current == NavigationLevel::AllFields) {
        play(box == EntryBox::Name ? QStringLiteral("Name") : QStringLiteral("SPC"));
    }
}

void VoiceCues::dupe(std::function<void()> then)
{
    if (level() == NavigationLevel::Off) {
        play(QStringLiteral("Dupe"));
        if (then) {
            then();
        }
        return;
    }
    play(QStringLiteral("Dupe"), [this, then = std::move(then)] {
        m_dupeAnnouncing = false;
        if (then) {
            then();
        }
    });
    m_dupeAnnouncing = m_then != nullptr;
}

void VoiceCues::levelChosen(NavigationLevel chosen)
{
    switch (chosen) {
    case NavigationLevel::Off:
        play(QStringLiteral("NavDis"));
        break;
    case NavigationLevel::AllFields:
        play(QStringLiteral("NavEn"));
        break;
    case NavigationLevel::CallOnly:
        // "Call" follows only a "NavEn" heard to its end.
        play(QStringLiteral("NavEn"), [this] {
            if (!m_cutting) {
                play(QStringLiteral("Call"));
            }
        });
        break;
    }
}

} // namespace velk
