#pragma once
// WAV files: the layout of a RIFF/WAVE file's sound (PCM or float samples) read from its header,
// so a file can be checked before a transmitter is keyed for it.
#include <QByteArray>
#include <QString>
#include <optional>

namespace velk {

enum class WavSampleKind { UnsignedInt, SignedInt, Float };

struct WavLayout
{
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    WavSampleKind kind = WavSampleKind::SignedInt;
    qint64 dataOffset = 0; // where the samples start in the file
    qint64 dataBytes = 0;  // whole frames only

    int bytesPerFrame() const { return channels * (bitsPerSample / 8); }
    qint64 durationMs() const;
};

// Reads the header of a whole file's bytes. Nothing, with error set to the reason, when the bytes
// are not a WAV file of uncompressed 8/16/32-bit integer or 32-bit float samples, 1 to 8
// channels, 1 kHz to 384 kHz, with sound in it. A data chunk longer than the file is cut to it.
std::optional<WavLayout> readWavLayout(const QByteArray& bytes, QString* error = nullptr);

} // namespace velk
