#include "common/platform/fake/fakeaudioplayer.h"

#include <QFileInfo>

namespace velk {

bool FakeAudioPlayer::load(const QString& path, const QString& outputId, QString& error)
{
    stop();
    m_loaded = false;
    if (!loadError.isEmpty()) {
        error = loadError;
        return false;
    }
    if (requireExistingFiles && !QFileInfo(path).isFile()) {
        error = QStringLiteral("No such file or directory");
        return false;
    }
    loadedPath = path;
    loadedOutput = outputId;
    const auto known = durations.find(QFileInfo(path).fileName());
    m_duration = known == durations.end() ? defaultDurationMs : known->second;
    m_loaded = true;
    return true;
}

void FakeAudioPlayer::play()
{
    if (!m_loaded) {
        emit failed(QStringLiteral("no file is loaded"));
        return;
    }
    m_playing = true;
    played << QFileInfo(loadedPath).fileName();
    if (onPlay) {
        onPlay();
    }
    emit started();
}

void FakeAudioPlayer::stop()
{
    if (m_playing) {
        ++stops;
    }
    m_playing = false;
}

void FakeAudioPlayer::finish()
{
    if (m_playing) {
        m_playing = false;
        emit finished();
    }
}

void FakeAudioPlayer::fail(const QString& error)
{
    if (m_playing) {
        m_playing = false;
        emit failed(error);
    }
}

} // namespace velk
