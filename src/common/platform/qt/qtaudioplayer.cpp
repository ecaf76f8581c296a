#include "common/platform/qt/qtaudioplayer.h"

#include <QAudioSink>
#include <QFile>
#include <QMediaDevices>

#include <algorithm>

namespace velk {

namespace {

// Larger files are not voice messages; they would only tie up memory.
constexpr qint64 largestFileBytes = 64 * 1024 * 1024;
// The sink's buffer: long enough to ride out a busy moment of the GUI thread; the end is told
// only once the server has taken every byte, whatever the buffer holds.
constexpr qint64 sinkBufferUs = 250000;
// How often the sink is topped up and, after the last byte, looked at until it has taken all.
constexpr int feedIntervalMs = 5;
// Held after the sink has taken the last byte, for the output device's own buffer. On a
// PulseAudio null sink (no device) the last sample is out 0-5 ms before the sink reports all
// taken (bench/voice_latency.cpp); a sound card adds its period, typically 10-25 ms.
constexpr int serverLatencyMs = 25;
// A sink that never takes its last bytes is given up after this long.
constexpr qint64 longestDrainMs = 2000;

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
    m_feed.setTimerType(Qt::PreciseTimer);
    m_feed.setInterval(feedIntervalMs);
    connect(&m_feed, &QTimer::timeout, this, &QtAudioPlayer::feed);
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
    m_sink = std::make_unique<QAudioSink>(m_device, m_format);
    m_sink->setBufferSize(static_cast<qsizetype>(m_format.bytesForDuration(sinkBufferUs)));
    connect(m_sink.get(), &QAudioSink::stateChanged, this, &QtAudioPlayer::onStateChanged);
    m_playing = true;
    m_started = false;
    m_written = 0;
    m_output = m_sink->start();
    if (m_output == nullptr || m_sink->error() != QAudio::NoError) {
        fail(tr("the sound output could not be opened"));
        return;
    }
    feed();
    m_feed.start();
}

void QtAudioPlayer::stop()
{
    ++m_generation;
    m_feed.stop();
    m_drain.stop();
    m_playing = false;
    m_output = nullptr;
    if (m_sink) {
        // The sink is deleted later: this may run inside its own state signal.
        QAudioSink* sink = m_sink.release();
        sink->disconnect(this);
        sink->stop();
        sink->deleteLater();
    }
}

void QtAudioPlayer::feed()
{
    if (!m_sink || !m_playing || m_drain.isActive()) {
        return;
    }
    const qint64 size = m_samples.size();
    if (m_written < size) {
        const qint64 room = std::min<qint64>(m_sink->bytesFree(), size - m_written);
        const qint64 frame = m_format.bytesPerFrame();
        const qint64 chunk = room - room % frame;
        if (chunk > 0) {
            const qint64 took = m_output->write(m_samples.constData() + m_written, chunk);
            if (took > 0) {
                m_written += took;
            }
        }
        if (m_written >= size) {
            m_sinceLastByte.start();
        }
        return;
    }
    // Every byte is written; PTT stays keyed until the sink has taken them all and the server
    // has passed them on.
    const bool taken = m_sink->bytesFree() >= m_sink->bufferSize();
    if (taken || m_sinceLastByte.elapsed() > longestDrainMs) {
        m_feed.stop();
        m_lastDrainMs = m_sinceLastByte.elapsed() + serverLatencyMs;
        m_drain.start(serverLatencyMs);
    }
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
    if (state == QAudio::StoppedState && error != QAudio::NoError) {
        fail(error == QAudio::OpenError ? tr("the sound output could not be opened")
                                        : tr("the sound output failed"));
    }
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
