#include "common/qtprinters.h"
#include "common/wavfile.h"

#include <QtEndian>
#include <gtest/gtest.h>

using namespace velk;

namespace {

void put16(QByteArray& bytes, quint16 value)
{
    char raw[2];
    qToLittleEndian(value, raw);
    bytes.append(raw, 2);
}

void put32(QByteArray& bytes, quint32 value)
{
    char raw[4];
    qToLittleEndian(value, raw);
    bytes.append(raw, 4);
}

QByteArray wav(quint16 format, quint16 channels, quint32 rate, quint16 bits, qint64 dataBytes,
               const QByteArray& extraChunk = {})
{
    QByteArray body = "WAVE";
    body += extraChunk;
    body += "fmt ";
    put32(body, 16);
    put16(body, format);
    put16(body, channels);
    put32(body, rate);
    put32(body, rate * channels * bits / 8);
    put16(body, static_cast<quint16>(channels * bits / 8));
    put16(body, bits);
    body += "data";
    put32(body, static_cast<quint32>(dataBytes));
    body += QByteArray(dataBytes, '\0');
    QByteArray file = "RIFF";
    put32(file, static_cast<quint32>(body.size()));
    return file + body;
}

TEST(WavLayout, ReadsUncompressedFormats)
{
    struct Case
    {
        quint16 format, channels;
        quint32 rate;
        quint16 bits;
        WavSampleKind kind;
    };
    const Case cases[] = {{1, 1, 8000, 8, WavSampleKind::UnsignedInt},
                          {1, 1, 22050, 16, WavSampleKind::SignedInt},
                          {1, 2, 44100, 16, WavSampleKind::SignedInt},
                          {1, 2, 48000, 32, WavSampleKind::SignedInt},
                          {3, 1, 48000, 32, WavSampleKind::Float}};
    for (const Case& c : cases) {
        const qint64 bytes = c.rate * c.channels * c.bits / 8 / 2; // half a second
        QString error;
        const auto layout = readWavLayout(wav(c.format, c.channels, c.rate, c.bits, bytes), &error);
        ASSERT_TRUE(layout) << error.toStdString();
        EXPECT_EQ(layout->channels, c.channels);
        EXPECT_EQ(layout->sampleRate, static_cast<int>(c.rate));
        EXPECT_EQ(layout->kind, c.kind);
        EXPECT_EQ(layout->dataOffset, 44);
        EXPECT_EQ(layout->dataBytes, bytes);
        EXPECT_EQ(layout->durationMs(), 500);
    }
}

TEST(WavLayout, SkipsOtherChunksWithPadding)
{
    QByteArray list = "LIST";
    put32(list, 3);
    list += "abc";
    list += '\0'; // pad byte
    const auto layout = readWavLayout(wav(1, 1, 8000, 16, 1600, list));
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->dataOffset, 44 + 12);
    EXPECT_EQ(layout->durationMs(), 100);
}

TEST(WavLayout, DataLongerThanTheFileIsCutToWholeFrames)
{
    QByteArray file = wav(1, 2, 8000, 16, 1000);
    file.chop(3);
    const auto layout = readWavLayout(file);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->dataBytes, 996);
}

TEST(WavLayout, RefusesWhatCannotBePlayed)
{
    const QByteArray cases[] = {
        QByteArray(),
        QByteArray("RIFF\0\0\0\0WAVX", 12),
        wav(2, 1, 8000, 4, 100),                            // ADPCM
        wav(1, 1, 8000, 24, 300),                           // 24-bit
        wav(1, 0, 8000, 16, 100),                           // no channels
        wav(1, 1, 100, 16, 100),                            // rate out of range
        wav(1, 1, 8000, 16, 0),                             // no sound
        wav(3, 1, 8000, 64, 800),                           // double floats
        QByteArray("RIFF\0\0\0\0WAVEdata\4\0\0\0abcd", 24), // data before fmt
    };
    for (const QByteArray& bytes : cases) {
        QString error;
        EXPECT_FALSE(readWavLayout(bytes, &error)) << bytes.left(40).toHex().toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
}

} // namespace
