#include "common/platform/qt/qtaudioplayer.h"

#include <QAudioSink>
#include <QFile>
#include <QMediaDevices>

#include <algorithm>

namespace velk {

namespace {

// Larger files are not voice messages; they would only tie up memory.
constexpr qint64 largestFileBytes = 64 * 1024 * 1024;
// The output never holds more than this after the last byte; a larger figure is a wrong report.
constexpr qint64 longestDrainMs = 1000;

QAudioFormat::SampleFormat sampleFormatOf(const WavLayout& layout)
{
    switch (layout.kind) {
    case WavSampleKind::UnsignedInt:
        return QAudioFormat::UInt8;
    case WavSampleKind::Float:
        return QAudioFormat::Float;
    case WavSampleKind::SignedInt:
        break;
    }
    return layout.bitsPerSample == 16 ? QAudioFormat::Int16 : QAudioFormat::Int32;
}

} // namespace

QtAudioPlayer::QtAudioPlayer(QObject* parent) : AudioPlayer(parent)
{
    m_drain.setSingleShot(true);
    m_drain.setTimerType(Qt::PreciseTimer);
    connect(&m_drain, &QTimer::timeout, this, [this] {
        stop();
        emit finished();
    });
}

QtAudioPlayer::~QtAudioPlayer()
{
    stop();
}

QList<AudioOutput> QtAudioPlayer::outputs() const
{
    QList<AudioOutput> list{{QString(), tr("System default output")}};
    for (const QAudioDevice& device : QMediaDevices::audioOutputs()) {
        list.append({QString::fromUtf8(device.id()), device.description()});
    }
    return list;
}

bool QtAudioPlayer::load(const QString& path, const QString& outputId, QString& error)
{
    stop();
    m_samples.clear();
    m_layout = {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    if (file.size() > largestFileBytes) {
        error = tr("the file is larger than %1 MB").arg(largestFileBytes / (1024 * 1024));
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return false;
    }
    const std::optional<WavLayout> layout = readWavLayout(bytes, &error);
    if (!layout) {
        return false;
    }

    m_device = QMediaDevices::defaultAudioOutput();
    if (!outputId.isEmpty()) {
        const QByteArray id = outputId.toUtf8();
        const QList<QAudioDevice> devices = QMediaDevices::audioOutputs();
        const auto chosen = std::find_if(devices.cbegin(), devices.cend(),
                                         [&id](const QAudioDevice& device) { return device.id() == id; });
        if (chosen == devices.cend()) {
            error = tr("the sound output %1 is not connected").arg(outputId);
            return false;
        }
        m_device = *chosen;
    }
    if (m_device.isNull()) {
        error = tr("no sound output is available");
        return false;
    }
    QAudioFormat format;
    format.setSampleRate(layout->sampleRate);
    format.setChannelCount(layout->channels);
    format.setSampleFormat(sampleFormatOf(*layout));
    if (!m_device.isFormatSupported(format)) {
        error = tr("the sound output cannot play %1 Hz, %2 channel(s), %3-bit samples")
                    .arg(layout->sampleRate)
                    .arg(layout->channels)
                    .arg(layout->bitsPerSample);
        return false;
    }
    m_format = format;
    m_layout = *layout;
    m_samples = bytes.mid(layout->dataOffset, layout->dataBytes);
    return true;
}

void QtAudioPlayer::play()
{
    stop();
    if (m_samples.isEmpty()) {
        fail(tr("no file is loaded"));
        return;
    }
    m_source.setData(m_samples);
    m_source.open(QIODevice::ReadOnly);
    m_sink = std::make_unique<QAudioSink>(m_device, m_format);
    connect(m_sink.get(), &QAudioSink::stateChanged, this, &QtAudioPlayer::onStateChanged);
    m_playing = true;
    m_started = false;
    m_sink->start(&m_source);
    if (m_sink && m_sink->error() != QAudio::NoError) {
        fail(tr("the sound output could not be opened"));
    }
}

void QtAudioPlayer::stop()
{
    ++m_generation;
    m_drain.stop();
    m_playing = false;
    if (m_sink) {
        // The sink is deleted later: this may run inside its own state signal.
        QAudioSink* sink = m_sink.release();
        sink->disconnect(this);
        sink->stop();
        sink->deleteLater();
    }
    m_source.close();
}

void QtAudioPlayer::onStateChanged()
{
    if (!m_sink || !m_playing) {
        return;
    }
    const QAudio::State state = m_sink->state();
    const QAudio::Error error = m_sink->error();
    if (state == QAudio::ActiveState && !m_started) {
        m_started = true;
        emit started();
        return;
    }
    if (state == QAudio::IdleState && m_source.atEnd()) {
        finishAfterDrain();
        return;
    }
    if (state == QAudio::StoppedState && error != QAudio::NoError) {
        fail(error == QAudio::OpenError ? tr("the sound output could not be opened")
                                        : tr("the sound output failed"));
    }
}

void QtAudioPlayer::finishAfterDrain()
{
    if (m_drain.isActive()) {
        return;
    }
    // The sink has taken every byte; what it reports as played tells how much the output
    // still holds. PTT stays keyed until that has been heard.
    const qint64 totalUs = m_format.durationForBytes(static_cast<qint32>(m_samples.size()));
    const qint64 bufferedUs = m_format.durationForBytes(static_cast<qint32>(m_sink->bufferSize()));
    const qint64 playedUs = m_sink->processedUSecs();
    const qint64 remainingUs = std::clamp(totalUs - playedUs, qint64{0}, bufferedUs);
    m_lastDrainMs = std::min(longestDrainMs, (remainingUs + 999) / 1000);
    m_drain.start(static_cast<int>(m_lastDrainMs));
}

void QtAudioPlayer::fail(const QString& error)
{
    stop();
    // Told from the event loop, and only if nothing has been played or stopped since.
    const quint64 generation = m_generation;
    QMetaObject::invokeMethod(
        this,
        [this, error, generation] {
            if (generation == m_generation) {
                emit failed(error);
            }
        },
        Qt::QueuedConnection);
}

} // namespace velk
