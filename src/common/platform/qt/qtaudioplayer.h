#pragma once
// The sound output on the desktop: WAV samples pushed from memory into a Qt Multimedia sink with a
// short buffer, so the end of the file is known exactly and the output's own buffer is waited out
// before finished is told.
#include "common/platform/audioplayer.h"
#include "common/wavfile.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QElapsedTimer>
#include <QTimer>
#include <memory>

class QAudioSink;

namespace velk {

class QtAudioPlayer : public AudioPlayer
{
    Q_OBJECT
public:
    explicit QtAudioPlayer(QObject* parent = nullptr);
    ~QtAudioPlayer() override;

    QList<AudioOutput> outputs() const override;
    bool load(const QString& path, const QString& outputId, QString& error) override;
    qint64 durationMs() const override { return m_layout.durationMs(); }
    void play() override;
    void stop() override;
    bool isPlaying() const override { return m_playing; }

    // How long the output still held sound when the sink had taken the last byte (last play).
    qint64 lastDrainMs() const { return m_lastDrainMs; }

private:
    void onStateChanged();
    void feed();
    void fail(const QString& error);

    WavLayout m_layout;
    QAudioDevice m_device;
    QAudioFormat m_format;
    QByteArray m_samples;
    qint64 m_written = 0;
    QIODevice* m_output = nullptr; // owned by the sink
    std::unique_ptr<QAudioSink> m_sink;
    QTimer m_feed;
    QTimer m_drain;
    QElapsedTimer m_sinceLastByte;
    bool m_playing = false;
    bool m_started = false;
    qint64 m_lastDrainMs = 0;
    quint64 m_generation = 0;
};

} // namespace velk
