#include "common/wavfile.h"

#include <QtEndian>

#include <algorithm>

namespace velk {

namespace {

constexpr quint16 formatPcm = 1;
constexpr quint16 formatFloat = 3;
constexpr quint16 formatExtensible = 0xFFFE;

quint32 u32At(const QByteArray& bytes, qint64 at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

quint16 u16At(const QByteArray& bytes, qint64 at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

std::optional<WavLayout> refuse(QString* error, const QString& why)
{
    if (error != nullptr) {
        *error = why;
    }
    return std::nullopt;
}

} // namespace

qint64 WavLayout::durationMs() const
{
    const qint64 frameBytes = bytesPerFrame();
    if (frameBytes <= 0 || sampleRate <= 0) {
        return 0;
    }
    return dataBytes / frameBytes * 1000 / sampleRate;
}

std::optional<WavLayout> readWavLayout(const QByteArray& bytes, QString* error)
{
    const qint64 size = bytes.size();
    if (size < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE") {
        return refuse(error, QStringLiteral("not a WAV file"));
    }
    std::optional<WavLayout> layout;
    quint16 format = 0;
    qint64 at = 12;
    while (at + 8 <= size) {
        const QByteArray id = bytes.mid(at, 4);
        const qint64 length = u32At(bytes, at + 4);
        const qint64 body = at + 8;
        if (id == "fmt ") {
            if (length < 16 || body + 16 > size) {
                return refuse(error, QStringLiteral("damaged WAV header"));
            }
            format = u16At(bytes, body);
            if (format == formatExtensible && length >= 40 && body + 40 <= size) {
                format = u16At(bytes, body + 24); // the sub-format's first two bytes
            }
            WavLayout found;
            found.channels = u16At(bytes, body + 2);
            found.sampleRate = static_cast<int>(std::min<quint32>(u32At(bytes, body + 4), 1u << 30));
            found.bitsPerSample = u16At(bytes, body + 14);
            layout = found;
        } else if (id == "data") {
            if (!layout) {
                return refuse(error, QStringLiteral("damaged WAV header"));
            }
            layout->dataOffset = body;
            layout->dataBytes = std::min(length, size - body);
            break;
        }
        // Chunks are padded to an even length.
        at = body + length + (length & 1);
    }
    if (!layout || layout->dataOffset == 0) {
        return refuse(error, QStringLiteral("damaged WAV header"));
    }
    WavLayout& wav = *layout;
    if (format == formatPcm) {
        if (wav.bitsPerSample != 8 && wav.bitsPerSample != 16 && wav.bitsPerSample != 32) {
            return refuse(error, QStringLiteral("%1-bit samples are not supported").arg(wav.bitsPerSample));
        }
        wav.kind = wav.bitsPerSample == 8 ? WavSampleKind::UnsignedInt : WavSampleKind::SignedInt;
    } else if (format == formatFloat) {
        if (wav.bitsPerSample != 32) {
            return refuse(error,
                          QStringLiteral("%1-bit float samples are not supported").arg(wav.bitsPerSample));
        }
        wav.kind = WavSampleKind::Float;
    } else {
        return refuse(error, QStringLiteral("compressed WAV (format %1) is not supported").arg(format));
    }
    if (wav.channels < 1 || wav.channels > 8) {
        return refuse(error, QStringLiteral("%1 channels are not supported").arg(wav.channels));
    }
    if (wav.sampleRate < 1000 || wav.sampleRate > 384000) {
        return refuse(error, QStringLiteral("sample rate %1 Hz is not supported").arg(wav.sampleRate));
    }
    wav.dataBytes -= wav.dataBytes % wav.bytesPerFrame();
    if (wav.dataBytes == 0) {
        return refuse(error, QStringLiteral("the file holds no sound"));
    }
    return layout;
}

} // namespace velk
