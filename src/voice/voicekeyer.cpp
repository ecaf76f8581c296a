#include "voice/voicekeyer.h"

#include "common/diagnostics.h"
#include "log/logsession.h"

namespace velk {

namespace {

const QString outputKey = QStringLiteral("VoiceOutputDevice");

} // namespace

VoiceKeyer::VoiceKeyer(Platform& platform, LogSession& session, const TimerFactory& timers, QObject* parent)
    : QObject(parent), m_platform(platform), m_session(session),
      m_player(platform.devices.createAudioPlayer()), m_cuePlayer(platform.devices.createAudioPlayer()),
      m_cues(std::make_unique<VoiceCues>(*m_cuePlayer, session, timers)),
      m_repeatTimer(timers(QStringLiteral("voiceRepeat"))),
      m_watchdog(timers(QStringLiteral("voiceWatchdog")))
{
    connect(m_player.get(), &AudioPlayer::finished, this, &VoiceKeyer::onFinished);
    connect(m_player.get(), &AudioPlayer::failed, this, &VoiceKeyer::onFailed);
    m_watchdog->onTimeout = [this] { onWatchdog(); };
    m_repeatTimer->onTimeout = [this] {
        if (m_repeating) {
            playKey(1);
        }
    };
}

VoiceKeyer::~VoiceKeyer()
{
    m_player->disconnect(this);
    m_player->stop();
    releasePtt();
}

QString VoiceKeyer::settingsFile() const
{
    return m_session.folders.working + QStringLiteral("/wave2.txt");
}

QString VoiceKeyer::outputId() const
{
    return m_platform.settings.value(outputKey).value_or(QString());
}

void VoiceKeyer::setOutputId(const QString& id)
{
    m_platform.settings.setValue(outputKey, id);
}

void VoiceKeyer::playKey(int key)
{
    if (key < 1 || key > 9) {
        return;
    }
    endPlayback();
    m_repeatTimer->stop();
    const QString file = m_settings.files[static_cast<size_t>(key - 1)].trimmed();
    const std::optional<int> pause = loopPauseMs(m_settings.loopSeconds);
    setRepeating(key == 1 && pause.value_or(0) > 0 && !file.isEmpty());
    if (file.isEmpty()) {
        return;
    }
    // The file is checked before the transmitter is keyed: no carrier without a message.
    QString error;
    if (!m_player->load(file, outputId(), error)) {
        setRepeating(false);
        emit failure(tr("F%1 not played: %2 (%3)").arg(key).arg(error, file));
        return;
    }
    if (!keyPtt(key)) {
        setRepeating(false);
        return;
    }
    m_playingKey = key;
    qCDebug(velkVoice) << "F" << key << "plays" << file << m_player->durationMs() << "ms";
    emit playingChanged(true);
    m_watchdog->start(static_cast<int>(std::min<qint64>(m_player->durationMs(), 3600000)) + endMarginMs);
    m_player->play();
}

bool VoiceKeyer::keyPtt(int key)
{
    const std::optional<KeyLineTarget> target = pttTarget(m_settings);
    if (!target) {
        return true; // keyed by hand or by VOX
    }
    QString error;
    KeyLine* line = m_platform.devices.keyPorts().open(PortUser::VoicePtt, *target, error);
    if (line == nullptr) {
        emit failure(tr("F%1 not played: the PTT port could not be opened (%2)").arg(key).arg(error));
        emit pttPortInvalid();
        return false;
    }
    if (!line->set(true)) {
        m_platform.devices.keyPorts().close(PortUser::VoicePtt);
        emit failure(tr("F%1 not played: PTT could not be keyed").arg(key));
        return false;
    }
    m_pttKeyed = true;
    qCDebug(velkVoice) << "PTT keyed";
    return true;
}

void VoiceKeyer::releasePtt()
{
    // The line is never kept: another user may have taken the port since it was opened.
    // Closing releases the line first, and does nothing when the port is no longer ours.
    if (m_pttKeyed) {
        m_pttKeyed = false;
        m_platform.devices.keyPorts().close(PortUser::VoicePtt);
        qCDebug(velkVoice) << "PTT released";
    }
}

void VoiceKeyer::endPlayback()
{
    m_watchdog->stop();
    m_player->stop();
    releasePtt();
    if (m_playingKey != 0) {
        m_playingKey = 0;
        emit playingChanged(false);
    }
}

void VoiceKeyer::onFinished()
{
    if (m_playingKey == 0) {
        return;
    }
    endPlayback();
    // The pause counts from the end of the sound.
    if (m_repeating) {
        m_repeatTimer->start(loopPauseMs(m_settings.loopSeconds).value_or(0));
    }
}

void VoiceKeyer::onFailed(const QString& error)
{
    const int key = m_playingKey;
    if (key == 0) {
        return;
    }
    endPlayback();
    setRepeating(false);
    emit failure(tr("F%1 stopped, PTT released: %2").arg(key).arg(error));
}

void VoiceKeyer::onWatchdog()
{
    const int key = m_playingKey;
    if (key == 0) {
        return;
    }
    endPlayback();
    setRepeating(false);
    emit failure(tr("F%1 stopped, PTT released: the sound output did not report the end").arg(key));
}

void VoiceKeyer::stop()
{
    m_repeatTimer->stop();
    setRepeating(false);
    endPlayback();
}

void VoiceKeyer::endRepeat()
{
    m_repeatTimer->stop();
    setRepeating(false);
}

bool VoiceKeyer::checkPttPort(QString& error)
{
    const std::optional<KeyLineTarget> target = pttTarget(m_settings);
    if (!target || target->kind == KeyLineKind::Parallel) {
        return true;
    }
    if (isPlaying()) {
        return true; // the port is in use and works
    }
    KeyPorts& ports = m_platform.devices.keyPorts();
    if (ports.open(PortUser::VoicePtt, *target, error) == nullptr) {
        return false;
    }
    ports.close(PortUser::VoicePtt);
    return true;
}

void VoiceKeyer::setRepeating(bool repeating)
{
    if (m_repeating != repeating) {
        m_repeating = repeating;
        emit repeatChanged(repeating);
    }
}

} // namespace velk
