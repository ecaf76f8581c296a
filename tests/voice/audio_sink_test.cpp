// The real sound path: Qt Multimedia playing into a PulseAudio null sink this test starts, the
// sink's monitor recorded to check what was heard and when the player said it had finished.
#include "common/platform/qt/qtaudioplayer.h"
#include "common/wavfile.h"
#include "support/nullsink.h"

#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <gtest/gtest.h>

namespace velk::testing {

namespace {

class AudioSinkTest : public ::testing::Test
{
protected:
    static NullSink* sink;
    static QString startError;

    static void SetUpTestSuite()
    {
        sink = new NullSink;
        startError = sink->start();
        if (startError.isEmpty() && !sink->startRecording()) {
            startError = QStringLiteral("the null sink's monitor could not be recorded");
        }
    }
    static void TearDownTestSuite()
    {
        delete sink;
        sink = nullptr;
    }

    void SetUp() override
    {
        if (!startError.isEmpty()) {
            GTEST_SKIP() << "No sound server could be started: " << startError.toStdString();
        }
    }

    struct Heard
    {
        bool started = false;
        bool finished = false;
        QString failure;
        double playMs = -1;
        double finishedMs = -1;
        double firstMs = -1;
        double lastMs = -1;
        double soundMs = 0;
    };

    // Plays the file and records until the player has finished and a little after.
    Heard play(const QString& path)
    {
        Heard heard;
        QtAudioPlayer player;
        QString error;
        EXPECT_TRUE(player.load(path, QString(), error)) << error.toStdString();
        sink->clear();
        QEventLoop loop;
        QObject::connect(&player, &AudioPlayer::started, [&] { heard.started = true; });
        QObject::connect(&player, &AudioPlayer::finished, [&] {
            heard.finished = true;
            heard.finishedMs = sink->nowMs();
            QTimer::singleShot(300, &loop, &QEventLoop::quit);
        });
        QObject::connect(&player, &AudioPlayer::failed, [&](const QString& text) {
            heard.failure = text;
            loop.quit();
        });
        QTimer::singleShot(player.durationMs() + 5000, &loop, &QEventLoop::quit);
        heard.playMs = sink->nowMs();
        player.play();
        loop.exec();
        sink->collect(); // what is still in the pipe
        const auto [first, last] = sink->soundSpan();
        if (first >= 0) {
            heard.firstMs = sink->sampleTimeMs(first);
            heard.lastMs = sink->sampleTimeMs(last);
            heard.soundMs = (last - first + 1) * 1000.0 / NullSink::rate;
        }
        return heard;
    }
};

NullSink* AudioSinkTest::sink = nullptr;
QString AudioSinkTest::startError;

TEST_F(AudioSinkTest, GeneratedWaveIsHeardWholeAndFinishedComesAfterItsLastSample)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tone.wav"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(squareWaveWav(700));
    file.close();

    const Heard heard = play(path);
    EXPECT_TRUE(heard.started);
    ASSERT_TRUE(heard.finished) << heard.failure.toStdString();
    ASSERT_GE(heard.firstMs, 0) << "nothing was heard at the sink";
    // Nothing may be missing; a machine busy with other work may stretch it by an underrun.
    EXPECT_GE(heard.soundMs, 695);
    EXPECT_LE(heard.soundMs, 950);
    // PTT follows finished: it must not fall before the last sample has been heard. The
    // recorder's own lag makes the sample look a little later than it was, never earlier.
    EXPECT_GE(heard.finishedMs, heard.lastMs - 5);
}

TEST_F(AudioSinkTest, ShippedCuesAreHeardForTheirLength)
{
    for (const char* cue : {"Call", "Name", "SPC", "Dupe", "NavEn", "NavDis"}) {
        const QString path =
            QStringLiteral(VELK_SOURCE_DIR "/data/") + QString::fromLatin1(cue) + QStringLiteral(".wav");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << cue;
        const QByteArray bytes = file.readAll();
        const auto layout = readWavLayout(bytes);
        ASSERT_TRUE(layout) << cue;
        // The span of sound in the file itself, at the same threshold.
        qint64 first = -1;
        qint64 last = -1;
        for (qint64 i = 0; i < layout->dataBytes / 2; ++i) {
            const qint16 sample = qFromLittleEndian<qint16>(bytes.constData() + layout->dataOffset + i * 2);
            if (std::abs(sample) > 300) {
                first = first < 0 ? i : first;
                last = i;
            }
        }
        ASSERT_GE(first, 0) << cue;
        const double expectedMs = (last - first + 1) * 1000.0 / layout->sampleRate;

        const Heard heard = play(path);
        ASSERT_TRUE(heard.finished) << cue << ": " << heard.failure.toStdString();
        EXPECT_GE(heard.soundMs, expectedMs - 15) << cue;
        EXPECT_LE(heard.soundMs, expectedMs + 250) << cue;
    }
}

TEST_F(AudioSinkTest, FileThatIsNotAWaveIsRefusedBeforeAnythingPlays)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("notes.wav"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("These are not samples.");
    file.close();
    QtAudioPlayer player;
    QString error;
    EXPECT_FALSE(player.load(path, QString(), error));
    EXPECT_EQ(error, QStringLiteral("not a WAV file"));
    EXPECT_FALSE(player.load(dir.filePath(QStringLiteral("missing.wav")), QString(), error));
    EXPECT_FALSE(player.load(path, QStringLiteral("no-such-output"), error));
}

} // namespace

} // namespace velk::testing
