#pragma once
// AudioPlayer: plays one WAV file at a time on a chosen sound output, telling when the sound has
// really started and ended so that PTT can be keyed around it. Talks to the desktop's sound system;
// tests drive a fake with a known duration.
#include <QList>
#include <QObject>
#include <QString>

namespace velk {

struct AudioOutput
{
    QString id; // empty: the system's default output
    QString description;
};

class AudioPlayer : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~AudioPlayer() override = default;

    // The outputs the operator may choose from; the first is always the system default.
    virtual QList<AudioOutput> outputs() const = 0;
    // Stops whatever plays, then opens and checks the file for the output (empty id: default)
    // without playing it. False with error set when the file cannot be played there.
    virtual bool load(const QString& path, const QString& outputId, QString& error) = 0;
    // Milliseconds of sound in the loaded file.
    virtual qint64 durationMs() const = 0;
    // Plays the loaded file. started follows when the sound begins, then finished once the
    // last sample has left the output, or failed.
    virtual void play() = 0;
    // Stops at once; neither finished nor failed follows.
    virtual void stop() = 0;
    virtual bool isPlaying() const = 0;

signals:
    void started();
    void finished();
    void failed(const QString& error);
};

} // namespace velk
