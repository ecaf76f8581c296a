// The radio link's timing against the radio simulator on a pseudo-terminal, through the real
// serial port and the real main window: the time from a turn of the simulated dial to the band
// shown, per polling rate, the longest stall of the GUI thread while polling at 100 ms, the scan's
// step period (every step must reach the radio) and how long the CAT-off bytes take to drain; and
// the dial-to-band time through Hamlib's rigctld (started by the logger, driving the simulator as
// a Kenwood TS-2000) at the fastest polling rate.
// Usage: velk_rig_bench [--samples N] [--with-10s] [--hamlib-only]
#include "app/station.h"
#include "app/ui/mainwindow.h"
#include "common/platform/fake/fakeplatform.h"
#include "common/platform/qt/qtdevices.h"
#include "log/ui/stationdialog.h"
#include "rig/rigctld_peer.h"
#include "rig/simulated_radio.h"
#include "rig/ui/rigtuningwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

using namespace velk;

qint64 threadCpuNs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<qint64>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Measures the GUI thread's CPU time per delivered event, so the figure does not depend on what
// else the machine runs: the longest single event is the longest the window could not react.
class TimingApplication : public QApplication
{
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override
    {
        if (m_depth++ > 0) {
            const bool handled = QApplication::notify(receiver, event);
            --m_depth;
            return handled;
        }
        const qint64 start = threadCpuNs();
        const bool handled = QApplication::notify(receiver, event);
        longestNs = std::max(longestNs, threadCpuNs() - start);
        --m_depth;
        return handled;
    }
    qint64 longestNs = 0;

private:
    int m_depth = 0;
};

struct Rig
{
    QTemporaryDir dir;
    FakePrompter prompter;
    FakeClock clock;
    FakeSettingsStore store;
    FakeEnvironment environment;
    QtDevices devices{environment, store};
    Platform platform{prompter, clock, store, environment, devices};
    Station station{platform};
    std::unique_ptr<MainWindow> window;
    testing::SimulatedRadio radio;

    bool start(char pollRate, bool withRadio = true, const QString& type = QStringLiteral("Kenwood"))
    {
        if (!radio.start(QStringLiteral("Kenwood"), {QStringLiteral("--freq"), QStringLiteral("7.025")})) {
            std::fprintf(stderr, "simulator: %s\n", qPrintable(radio.reason()));
            return false;
        }
        environment.values[QStringLiteral("USERPROFILE")] = dir.path() + QStringLiteral("/profile");
        environment.values[QStringLiteral("VELK_COM1")] = radio.radioPath();
        QDir().mkpath(dir.path() + QStringLiteral("/profile/Documents"));
        QDir().mkpath(dir.path() + QStringLiteral("/work"));
        LogSession& session = station.session();
        session.folders = resolveFolders(environment, dir.path() + QStringLiteral("/work"));
        session.xml.open(session.folders.xmlStoreFile());
        QFile::copy(QStringLiteral(VELK_SOURCE_DIR "/data/arrlpre2.txt"),
                    session.folders.working + QStringLiteral("/arrlpre2.txt"));
        QFile::copy(QStringLiteral(VELK_SOURCE_DIR "/data/BandPlan.txt"),
                    session.folders.working + QStringLiteral("/BandPlan.txt"));
        QFile log(session.folders.logFile());
        log.open(QIODevice::WriteOnly);
        log.close();
        session.prefs.ownFirstName = QStringLiteral("LEE");
        session.prefs.radioType = withRadio ? type : QStringLiteral("None");
        savePreferences(session.folders.preferencesFile(), session.prefs);
        RigSettings rig;
        applyTypeDefaults(rig, radioType(type));
        rig.pollRate = pollRate;
        saveRigSettings(session.folders.working + QStringLiteral("/RigCntrl.txt"), rig);
        // The logger starts rigctld for the simulated radio, a TS-2000 at 4800 baud.
        HamlibSettings hamlib;
        hamlib.model = 2014;
        hamlib.device = radio.radioPath();
        hamlib.speed = 4800;
        hamlib.port = testing::freeLoopbackPort();
        saveHamlibSettings(session.folders.working + QStringLiteral("/RigHamlib.txt"), hamlib);
        prompter.messageAnswers.push_back(MessageAnswer::Yes);
        window = std::make_unique<MainWindow>(station);
        window->setStationDialogRunner([](StationDialog& dialog) {
            dialog.accept();
            return dialog.result();
        });
        window->show();
        return window->startUp() && station.rig().isPolling() == withRadio;
    }

    QString band() const { return window->findChild<QLabel*>(QStringLiteral("bandDisplay"))->text(); }
};

// Runs the event loop flat out until the band shows `expected`; milliseconds, or -1.
double timeToBand(Rig& rig, const QString& command, const QString& expected, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    rig.radio.send(command);
    while (rig.band() != expected) {
        if (timer.elapsed() > timeoutMs) {
            return -1.0;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    return timer.nsecsElapsed() / 1e6;
}

void latency(char pollRate, int samples, const QString& type = QStringLiteral("Kenwood"))
{
    Rig rig;
    if (!rig.start(pollRate, true, type)) {
        std::printf("rate %c: could not start\n", pollRate);
        return;
    }
    const int period = pollPeriodMs(pollRate);
    // rigctld opens the radio before it answers.
    testing::SimulatedRadio::waitUntil([&] { return rig.band() == QStringLiteral("40"); },
                                       3 * period + 10000);
    std::vector<double> times;
    for (int i = 0; i < samples; ++i) {
        const bool toTwenty = i % 2 == 0;
        const double ms =
            timeToBand(rig, toTwenty ? QStringLiteral("freq 14.0325") : QStringLiteral("freq 7.025"),
                       toTwenty ? QStringLiteral("20") : QStringLiteral("40"), 3 * period + 2000);
        if (ms >= 0) {
            times.push_back(ms);
        }
        // Let the dial settle for a random part of the period, as an operator's hand would.
        testing::SimulatedRadio::waitUntil([] { return false; }, (i * 37) % period);
    }
    std::sort(times.begin(), times.end());
    if (times.empty()) {
        std::printf("%6d ms poll: no band change seen\n", period);
        return;
    }
    const double p95 = times[std::min(times.size() - 1, times.size() * 95 / 100)];
    std::printf(
        "%6d ms poll%s: dial -> band shown: median %.1f ms, 95th percentile %.1f ms, max %.1f ms over %zu "
        "turns (goal <= %d ms)\n",
        period, type == QLatin1String("Hamlib") ? " through rigctld" : "", times[times.size() / 2], p95,
        times.back(), times.size(), period + 5);
}

void stall(int seconds, bool bandChanges, bool withRadio = true)
{
    Rig rig;
    if (!rig.start('F', withRadio)) {
        std::printf("stall: could not start\n");
        return;
    }
    QElapsedTimer clock;
    clock.start();
    qint64 last = clock.nsecsElapsed();
    qint64 longest = 0;
    int turns = 0;
    QTimer turn;
    // The dial moves every 700 ms: between bands (band changes and log reloads run too) or
    // within one band (only the poll and the pending frequency).
    QObject::connect(&turn, &QTimer::timeout, [&] {
        ++turns;
        if (bandChanges) {
            rig.radio.send(turns % 2 ? QStringLiteral("freq 14.0325") : QStringLiteral("freq 7.025"));
        } else {
            rig.radio.send(turns % 2 ? QStringLiteral("freq 7.0301") : QStringLiteral("freq 7.025"));
        }
    });
    turn.start(700);
    QTimer idle;
    QObject::connect(&idle, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    idle.start(0);
    auto* timing = static_cast<TimingApplication*>(QCoreApplication::instance());
    timing->longestNs = 0;
    testing::SimulatedRadio::waitUntil([] { return false; }, seconds * 1000);
    const double longestEventMs = timing->longestNs / 1e6;
    std::printf("polling every 100 ms for %d s, %d dial turns %s: longest event %.2f ms of GUI-thread CPU "
                "(goal <= 2 ms); longest wall-clock gap %.2f ms\n",
                seconds, turns,
                !withRadio    ? "(baseline: no radio polled)"
                : bandChanges ? "across bands"
                              : "within 40 m",
                longestEventMs, longest / 1e6);
}

// The tuning window scans 20 m in 2.5 kHz steps: each step must reach the radio, in order; the
// period is the tune's (mode, pauses, frequency) when that is longer than the 299 ms tick.
void scan(int steps)
{
    Rig rig;
    if (!rig.start('F')) {
        std::printf("scan: could not start\n");
        return;
    }
    RigTuningWindow tuning(rig.station.rig());
    tuning.show();
    tuning.findChild<QLineEdit*>(QStringLiteral("tuneFrequencyBox"))->setText(QStringLiteral("14.1"));
    tuning.findChild<QLineEdit*>(QStringLiteral("scanFromBox"))->setText(QStringLiteral("14.0"));
    tuning.findChild<QLineEdit*>(QStringLiteral("scanToBox"))->setText(QStringLiteral("14.35"));
    tuning.findChild<QRadioButton*>(QStringLiteral("scanStep4"))->click();
    tuning.findChild<QCheckBox*>(QStringLiteral("scanCheck"))->setChecked(true);
    QElapsedTimer timer;
    timer.start();
    std::vector<double> periods;
    double last = 0.0;
    int reached = 0;
    for (int i = 1; i <= steps; ++i) {
        const QString line = QStringLiteral("set freq %1").arg(14100000 + 2500 * i);
        if (!rig.radio.waitForLine(line, 3000)) {
            break;
        }
        ++reached;
        const double now = timer.nsecsElapsed() / 1e6;
        if (i > 1) {
            periods.push_back(now - last);
        }
        last = now;
    }
    tuning.findChild<QCheckBox*>(QStringLiteral("scanCheck"))->setChecked(false);
    std::sort(periods.begin(), periods.end());
    std::printf("scan, Kenwood, 2.5 kHz steps: %d of %d steps reached the radio in order; step period "
                "median %.0f ms, max %.0f ms (tick 299 ms)\n",
                reached, steps, periods.empty() ? 0.0 : periods[periods.size() / 2],
                periods.empty() ? 0.0 : periods.back());
}

// An FT-847's CAT off at shut-down: time from shutDown() to the port closed, the bytes on the line.
void catOffDrain(int samples)
{
    FakePrompter prompter;
    FakeClock clock;
    FakeSettingsStore store;
    FakeEnvironment environment;
    QtDevices devices{environment, store};
    Platform platform{prompter, clock, store, environment, devices};
    testing::SimulatedRadio radio;
    if (!radio.start(QStringLiteral("Yaesu"))) {
        std::printf("CAT off: could not start the simulator\n");
        return;
    }
    environment.values[QStringLiteral("VELK_COM1")] = radio.radioPath();
    RigLink link{platform};
    RigSettings settings;
    applyTypeDefaults(settings, radioType(QStringLiteral("Yaesu")));
    link.setSettings(settings);
    link.setYaesuCatSwitch(true);
    std::vector<double> times;
    int arrived = 0;
    for (int i = 0; i < samples; ++i) {
        if (!link.start()) {
            break;
        }
        bool finished = false;
        QObject::connect(
            &link, &RigLink::shutDownFinished, &link, [&finished] { finished = true; },
            Qt::SingleShotConnection);
        QElapsedTimer timer;
        timer.start();
        link.shutDown();
        testing::SimulatedRadio::waitUntil([&] { return finished; }, 2000);
        times.push_back(timer.nsecsElapsed() / 1e6);
        arrived += radio.waitForLine(QStringLiteral("lock off"), 1000) ? 1 : 0;
    }
    std::sort(times.begin(), times.end());
    std::printf(
        "CAT off at 4800 baud on a pseudo-terminal: shutDown -> port closed median %.2f ms, max %.2f ms; "
        "%d of %zu reached the radio\n",
        times.empty() ? 0.0 : times[times.size() / 2], times.empty() ? 0.0 : times.back(), arrived,
        times.size());
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TimingApplication app(argc, argv);
    int samples = 20;
    bool tenSeconds = false;
    bool hamlibOnly = false;
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]) == "--samples" && i + 1 < argc) {
            samples = std::max(1, QByteArray(argv[++i]).toInt());
        } else if (QByteArray(argv[i]) == "--with-10s") {
            tenSeconds = true;
        } else if (QByteArray(argv[i]) == "--hamlib-only") {
            hamlibOnly = true;
        }
    }
    if (testing::hamlibInstalled()) {
        latency('F', samples, QStringLiteral("Hamlib"));
    } else {
        std::printf("rigctld is not installed: no figure through Hamlib\n");
    }
    if (hamlibOnly) {
        return 0;
    }
    for (const char rate : {'F', 'M', 'S'}) {
        latency(rate, rate == 'S' ? std::max(2, samples / 4) : samples);
    }
    if (tenSeconds) {
        latency('R', 3);
    }
    stall(10, false, false);
    stall(10, false);
    stall(10, true);
    scan(10);
    catOffDrain(10);
    return 0;
}
