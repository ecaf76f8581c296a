#pragma once
// A private PulseAudio server with one null sink, started for a test or a benchmark, and a
// recorder of the sink's monitor that stamps each piece of sound with its arrival time. The
// process's Qt Multimedia plays into it once start() has set PULSE_SERVER (before Qt first
// looks at the sound system).
#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace velk::testing {

class NullSink
{
public:
    static constexpr int rate = 48000;

    ~NullSink() { stop(); }

    // Empty on success, else why no server could be started.
    QString start()
    {
        const QString pulseaudio = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
        const QString parec = QStandardPaths::findExecutable(QStringLiteral("parec"));
        if (pulseaudio.isEmpty() || parec.isEmpty()) {
            return QStringLiteral("pulseaudio or parec is not installed");
        }
        if (!m_dir.isValid()) {
            return QStringLiteral("no temporary folder");
        }
        m_socket = m_dir.filePath(QStringLiteral("native"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), m_dir.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.path());
        m_server.setProcessEnvironment(env);
        m_server.setProcessChannelMode(QProcess::MergedChannels);
        m_server.start(
            pulseaudio,
            {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
             QStringLiteral("--use-pid-file=no"), QStringLiteral("--disable-shm=yes"),
             QStringLiteral("--load=module-native-protocol-unix socket=%1 auth-anonymous=1").arg(m_socket),
             QStringLiteral("--load=module-null-sink sink_name=velktest rate=%1").arg(rate)});
        if (!m_server.waitForStarted(5000)) {
            return QStringLiteral("pulseaudio did not start: ") + m_server.errorString();
        }
        for (int waited = 0; !QFileInfo::exists(m_socket); waited += 20) {
            if (waited > 5000 || m_server.state() != QProcess::Running) {
                return QStringLiteral("pulseaudio did not open its socket: ") +
                       QString::fromLocal8Bit(m_server.readAll()).simplified().left(300);
            }
            QThread::msleep(20);
        }
        qputenv("PULSE_SERVER", ("unix:" + m_socket).toLocal8Bit());
        return {};
    }

    // Starts recording the sink's monitor (mono, 16-bit); true once sound (silence) flows.
    bool startRecording()
    {
        m_recorder.setProgram(QStandardPaths::findExecutable(QStringLiteral("parec")));
        m_recorder.setArguments({QStringLiteral("--server=unix:") + m_socket, QStringLiteral("-d"),
                                 QStringLiteral("velktest.monitor"), QStringLiteral("--format=s16le"),
                                 QStringLiteral("--rate=%1").arg(rate), QStringLiteral("--channels=1"),
                                 QStringLiteral("--raw"), QStringLiteral("--latency-msec=2")});
        QObject::connect(&m_recorder, &QProcess::readyReadStandardOutput, [this] { take(); });
        m_clock.start();
        m_recorder.start();
        if (!m_recorder.waitForStarted(5000)) {
            return false;
        }
        for (int waited = 0; m_samples.empty(); waited += 10) {
            if (waited > 5000 || !m_recorder.waitForReadyRead(10)) {
                if (waited > 5000) {
                    return false;
                }
            }
            take();
        }
        return true;
    }

    // Milliseconds since recording started, on the clock the arrivals are stamped with.
    double nowMs() const { return m_clock.nsecsElapsed() / 1e6; }

    // First and last sample louder than the threshold, as indexes; -1 when there is none.
    std::pair<qint64, qint64> soundSpan(int threshold = 300) const
    {
        qint64 first = -1;
        qint64 last = -1;
        for (size_t i = 0; i < m_samples.size(); ++i) {
            if (std::abs(m_samples[i]) > threshold) {
                if (first < 0) {
                    first = static_cast<qint64>(i);
                }
                last = static_cast<qint64>(i);
            }
        }
        return {first, last};
    }

    // When sample `index` reached the sink: its piece's arrival less the samples after it in that
    // piece (the recorder's own lag of a few milliseconds is not taken off).
    double sampleTimeMs(qint64 index) const
    {
        for (const Piece& piece : m_pieces) {
            if (index < piece.endIndex) {
                return piece.arrivalMs - static_cast<double>(piece.endIndex - 1 - index) * 1000.0 / rate;
            }
        }
        return -1;
    }

    // Takes in what the recorder has delivered so far.
    void collect() { take(); }

    // Forgets what was recorded so far.
    void clear()
    {
        take();
        m_samples.clear();
        m_pieces.clear();
    }

    void stop()
    {
        if (m_recorder.state() != QProcess::NotRunning) {
            m_recorder.kill();
            m_recorder.waitForFinished(3000);
        }
        if (m_server.state() != QProcess::NotRunning) {
            m_server.terminate();
            if (!m_server.waitForFinished(3000)) {
                m_server.kill();
                m_server.waitForFinished(3000);
            }
        }
    }

private:
    struct Piece
    {
        qint64 endIndex;
        double arrivalMs;
    };

    void take()
    {
        m_pending += m_recorder.readAllStandardOutput();
        const qsizetype whole = m_pending.size() / 2 * 2;
        if (whole == 0) {
            return;
        }
        for (qsizetype i = 0; i < whole; i += 2) {
            m_samples.push_back(qFromLittleEndian<qint16>(m_pending.constData() + i));
        }
        m_pending.remove(0, whole);
        m_pieces.push_back({static_cast<qint64>(m_samples.size()), nowMs()});
    }

    QTemporaryDir m_dir;
    QString m_socket;
    QProcess m_server;
    QProcess m_recorder;
    QElapsedTimer m_clock;
    QByteArray m_pending;
    std::vector<qint16> m_samples;
    std::vector<Piece> m_pieces;
};

// A WAV file of `ms` milliseconds of a 500 Hz square wave, mono 16-bit at `sampleRate`: every
// sample is loud, so the first and the last are found exactly at the sink.
inline QByteArray squareWaveWav(int ms, int sampleRate = NullSink::rate)
{
    const qint64 frames = static_cast<qint64>(sampleRate) * ms / 1000;
    const auto u32 = [](QByteArray& out, quint32 v) {
        char raw[4];
        qToLittleEndian(v, raw);
        out.append(raw, 4);
    };
    const auto u16 = [](QByteArray& out, quint16 v) {
        char raw[2];
        qToLittleEndian(v, raw);
        out.append(raw, 2);
    };
    QByteArray out = "RIFF";
    u32(out, static_cast<quint32>(36 + frames * 2));
    out += "WAVEfmt ";
    u32(out, 16);
    u16(out, 1);
    u16(out, 1);
    u32(out, static_cast<quint32>(sampleRate));
    u32(out, static_cast<quint32>(sampleRate * 2));
    u16(out, 2);
    u16(out, 16);
    out += "data";
    u32(out, static_cast<quint32>(frames * 2));
    const qint64 half = sampleRate / 1000; // 500 Hz: a half period is rate/1000 samples
    for (qint64 i = 0; i < frames; ++i) {
        u16(out, static_cast<quint16>(static_cast<qint16>((i / half) % 2 == 0 ? 8000 : -8000)));
    }
    return out;
}

} // namespace velk::testing
