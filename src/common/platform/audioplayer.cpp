// The player interface's meta-object, and the player of a station without sound output.
#include "common/platform/audioplayer.h"

#include "common/platform/devices.h"

namespace velk {

namespace {

class NoAudioPlayer : public AudioPlayer
{
public:
    QList<AudioOutput> outputs() const override { return {{QString(), QStringLiteral("No sound output")}}; }
    bool load(const QString&, const QString&, QString& error) override
    {
        error = QStringLiteral("no sound output is available");
        return false;
    }
    qint64 durationMs() const override { return 0; }
    void play() override { emit failed(QStringLiteral("no sound output is available")); }
    void stop() override {}
    bool isPlaying() const override { return false; }
};

} // namespace

std::unique_ptr<AudioPlayer> Devices::createAudioPlayer()
{
    return std::make_unique<NoAudioPlayer>();
}

} // namespace velk
