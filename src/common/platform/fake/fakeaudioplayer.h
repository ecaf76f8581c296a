#pragma once
// A WAV player driven by hand: files have a known duration, the test says when the sound ends
// or fails, and every load and play is recorded.
#include "common/platform/audioplayer.h"

#include <QStringList>
#include <functional>
#include <map>

namespace velk {

class FakeAudioPlayer : public AudioPlayer
{
    Q_OBJECT
public:
    QList<AudioOutput> outputs() const override { return outputList; }
    bool load(const QString& path, const QString& outputId, QString& error) override;
    qint64 durationMs() const override { return m_duration; }
    void play() override;
    void stop() override;
    bool isPlaying() const override { return m_playing; }

    // The sound ends (finished) or breaks off (failed); nothing happens when not playing.
    void finish();
    void fail(const QString& error = QStringLiteral("sound output failed"));

    QList<AudioOutput> outputList{{QString(), QStringLiteral("System default output")},
                                  {QStringLiteral("usb-radio"), QStringLiteral("USB Audio CODEC")}};
    // Loads fail with this text when set.
    QString loadError;
    // Loads of files that do not exist on disk fail, as they would on the desktop.
    bool requireExistingFiles = true;
    // Duration of every file not named in durations (by file name).
    qint64 defaultDurationMs = 2000;
    std::map<QString, qint64> durations;
    // Runs inside play(), before started is told (to look at PTT at that moment).
    std::function<void()> onPlay;

    QString loadedPath;
    QString loadedOutput;
    QStringList played; // file names (without folder) in the order played
    int stops = 0;

private:
    qint64 m_duration = 0;
    bool m_playing = false;
    bool m_loaded = false;
};

} // namespace velk
