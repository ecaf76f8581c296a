// Latency of the voice keyer on the real sound path: a PulseAudio null sink started here, the
// real main window offscreen in a phone log, F1 pressed in the call box. Measures, per press:
//   key press -> PTT on           (goal <= 30 ms)
//   PTT on -> first sample at the sink
//   last sample at the sink -> PTT off (goal <= 50 ms; must not be negative: PTT cut the tail)
// The sink's monitor is recorded by parec; a sample's time is when its piece arrived less the
// samples after it, so the recorder's own lag (a few ms) makes first samples look later and
// last samples look later (PTT-off figures smaller) by that lag.
// Usage: velk_voice_latency [presses, default 10]
#include "app/station.h"
#include "app/ui/mainwindow.h"
#include "common/platform/fake/fakeplatform.h"
#include "common/platform/qt/qtaudioplayer.h"
#include "log/folders.h"
#include "log/ui/entrypanel.h"
#include "log/ui/stationdialog.h"
#include "support/nullsink.h"
#include "voice/voicesettings.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace velk;

namespace {

// PTT lines that note when they switch, on the recorder's clock.
class TimedKeyPorts : public KeyPorts
{
public:
    explicit TimedKeyPorts(const testing::NullSink& sink) : m_line(*this), m_sink(sink) {}
    KeyLine* open(PortUser, const KeyLineTarget&, QString&) override { return &m_line; }
    void claim(PortUser, std::function<void()>) override {}
    void close(PortUser) override { m_line.set(false); }

    double onMs = -1;
    double offMs = -1;
    std::function<void()> released;

private:
    struct Line : KeyLine
    {
        explicit Line(TimedKeyPorts& owner) : owner(owner) {}
        bool set(bool down) override
        {
            if (down) {
                owner.onMs = owner.m_sink.nowMs();
            } else if (owner.onMs >= 0 && owner.offMs < 0) {
                owner.offMs = owner.m_sink.nowMs();
                if (owner.released) {
                    owner.released();
                }
            }
            return true;
        }
        TimedKeyPorts& owner;
    };
    Line m_line;
    const testing::NullSink& m_sink;
};

class BenchDevices : public FakeDevices
{
public:
    explicit BenchDevices(TimedKeyPorts& ports) : m_ports(ports) {}
    KeyPorts& keyPorts() override { return m_ports; }
    std::unique_ptr<AudioPlayer> createAudioPlayer() override { return std::make_unique<QtAudioPlayer>(); }

private:
    TimedKeyPorts& m_ports;
};

struct Figures
{
    std::vector<double> keyToPtt, pttToFirst, lastToOff;
};

void printRow(const char* what, std::vector<double> values, double goal)
{
    std::sort(values.begin(), values.end());
    const double median = values[values.size() / 2];
    std::printf("  %-34s min %7.1f  median %7.1f  max %7.1f ms   goal <= %.0f ms: %s\n", what, values.front(),
                median, values.back(), goal, values.back() <= goal ? "met" : "NOT met");
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int presses = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 10;

    testing::NullSink sink;
    if (const QString error = sink.start(); !error.isEmpty()) {
        std::printf("No sound server could be started: %s\n", qPrintable(error));
        return 2;
    }
    if (!sink.startRecording()) {
        std::printf("The null sink's monitor could not be recorded\n");
        return 2;
    }

    QTemporaryDir dir;
    FakePrompter prompter;
    FakeClock clock;
    FakeSettingsStore settings;
    FakeEnvironment environment;
    TimedKeyPorts ports(sink);
    BenchDevices devices(ports);
    Platform platform{prompter, clock, settings, environment, devices};
    Station station(platform);
    LogSession& session = station.session();

    environment.values[QStringLiteral("USERPROFILE")] = dir.filePath(QStringLiteral("profile"));
    QDir().mkpath(dir.filePath(QStringLiteral("profile/Documents")));
    QDir().mkpath(dir.filePath(QStringLiteral("work")));
    session.folders = resolveFolders(environment, dir.filePath(QStringLiteral("work")));
    session.prefs.mode = QStringLiteral("PH");
    clock.setUtcMinusLocalHours(0);
    savePreferences(session.folders.preferencesFile(), session.prefs);
    QFile(session.folders.logFile()).open(QIODevice::WriteOnly);
    const QString tone = dir.filePath(QStringLiteral("tone.wav"));
    {
        QFile file(tone);
        file.open(QIODevice::WriteOnly);
        file.write(testing::squareWaveWav(500));
    }
    VoiceSettings voice;
    voice.files[0] = tone;
    voice.pttPort = QStringLiteral("1");
    saveVoiceSettings(session.folders.working + QStringLiteral("/wave2.txt"), voice);

    MainWindow window(station);
    window.setStationDialogRunner([](StationDialog& dialog) {
        dialog.accept();
        return dialog.result();
    });
    window.show();
    QApplication::setActiveWindow(&window);
    if (!window.startUp()) {
        std::printf("The main window did not start\n");
        return 1;
    }
    QLineEdit* callBox = window.entryPanel().callBox();
    callBox->setFocus();

    Figures figures;
    for (int press = 0; press < presses; ++press) {
        sink.clear();
        ports.onMs = -1;
        ports.offMs = -1;
        QEventLoop loop;
        ports.released = [&loop] { QTimer::singleShot(300, &loop, &QEventLoop::quit); };
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        const double pressMs = sink.nowMs();
        QTest::keyClick(callBox, Qt::Key_F1);
        loop.exec();
        sink.collect();
        const auto [first, last] = sink.soundSpan();
        if (ports.onMs < 0 || ports.offMs < 0 || first < 0) {
            std::printf("press %d: no complete playback (PTT on %.1f, off %.1f, sound %lld)\n", press + 1,
                        ports.onMs, ports.offMs, static_cast<long long>(first));
            return 1;
        }
        figures.keyToPtt.push_back(ports.onMs - pressMs);
        figures.pttToFirst.push_back(sink.sampleTimeMs(first) - ports.onMs);
        figures.lastToOff.push_back(ports.offMs - sink.sampleTimeMs(last));
    }

    std::printf("Voice keyer latency, %d presses of F1 (500 ms tone, PulseAudio null sink):\n", presses);
    printRow("key press -> PTT on", figures.keyToPtt, 30);
    printRow("PTT on -> first sample at the sink", figures.pttToFirst, 50);
    printRow("last sample -> PTT off", figures.lastToOff, 50);
    const bool cut = *std::min_element(figures.lastToOff.begin(), figures.lastToOff.end()) < 0;
    std::printf("  PTT released before the last sample: %s\n", cut ? "YES (tail cut)" : "never");
    window.hide();
    return 0;
}
