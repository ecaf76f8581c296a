// Element timing of the keying worker on the real ioctl path: LinuxKeyPorts opens a socat
// pseudo-terminal as serial port 1 (the preloaded modem-line shim gives it RTS and DTR; each
// edge is still a TIOCMBIS/TIOCMBIC system call) and the worker keys "PARIS " at 13, 25, 40 and
// 60 WPM. Each edge's time is taken right after the ioctl returns and compared with the ideal
// schedule from the moment the text was appended. Meanwhile the GUI thread runs a zero-interval
// timer and records its longest gap, and the time of each call into the sender. Runs once with
// the default policy and once asking for SCHED_FIFO (reported when the process may not).
//   velk_keying_bench [seconds per speed, default 6]
#include "common/platform/fake/fakeplatform.h"
#include "common/platform/qt/linuxkeyports.h"
#include "cw/linemorsesender.h"
#include "cw/morse.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unistd.h>
#include <vector>

using namespace velk;

namespace {

// Times each edge just after the line switched.
class TimedLine : public KeyLine
{
public:
    TimedLine(KeyLine& line, KeyTiming& timing) : m_line(line), m_timing(timing) {}
    bool set(bool down) override
    {
        const bool ok = m_line.set(down);
        std::lock_guard lock(m_mutex);
        if (down != m_down) {
            m_edges.push_back({m_timing.nowNs(), down});
            m_down = down;
        }
        return ok;
    }
    std::vector<TimedChange> take()
    {
        std::lock_guard lock(m_mutex);
        std::vector<TimedChange> edges;
        edges.swap(m_edges);
        return edges;
    }

private:
    KeyLine& m_line;
    KeyTiming& m_timing;
    std::mutex m_mutex;
    std::vector<TimedChange> m_edges;
    bool m_down = false;
};

struct Figures
{
    double meanUs = 0;
    double p99Us = 0;
    double maxUs = 0;
    // Against the schedule anchored at the first edge: the jitter without the start latency.
    double anchoredMeanUs = 0;
    double anchoredP99Us = 0;
    double anchoredMaxUs = 0;
    double guiGapMs = 0;
    double guiCallMs = 0;
    size_t edges = 0;
    bool realtime = false;
};

Figures runSpeed(KeyLine& port, int wpm, bool realtime, double seconds)
{
    MonotonicKeyTiming timing;
    TimedLine line(port, timing);
    LineMorseSender sender(timing);
    sender.setRealtime(realtime);
    sender.setLine(&line);
    sender.setSpeed(wpm);
    const int words = std::max(1, static_cast<int>(std::ceil(seconds * 1e9 / (54.0 * unitNs(wpm)))));
    const QString text = QStringLiteral("PARIS ").repeated(words);

    Figures figures;
    QElapsedTimer gap;
    double longestGapMs = 0;
    QTimer ticker;
    ticker.setInterval(0);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestGapMs = std::max(longestGapMs, gap.nsecsElapsed() / 1e6);
        gap.restart();
    });
    bool done = false;
    QObject::connect(&sender, &MorseSender::idle, [&] { done = true; });
    // The GUI thread's calls while sending: removing and adding a character now and then.
    QTimer poke;
    poke.setInterval(97);
    double longestCallMs = 0;
    QObject::connect(&poke, &QTimer::timeout, [&] {
        QElapsedTimer call;
        call.start();
        (void)sender.isSending();
        (void)sender.unsent();
        longestCallMs = std::max(longestCallMs, call.nsecsElapsed() / 1e6);
    });

    QElapsedTimer appendCall;
    appendCall.start();
    const std::int64_t start = timing.nowNs();
    sender.append(text);
    longestCallMs = appendCall.nsecsElapsed() / 1e6;
    gap.start();
    ticker.start();
    poke.start();
    while (!done) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    ticker.stop();
    poke.stop();
    figures.realtime = sender.realtimeGranted();

    const std::vector<TimedChange> ideal = textSchedule(text, wpm, 0);
    const std::vector<TimedChange> actual = line.take();
    const size_t count = std::min(ideal.size(), actual.size());
    figures.edges = count;
    if (count == 0) {
        return figures;
    }
    auto summarise = [&](std::int64_t anchor, double& mean, double& p99, double& max) {
        std::vector<double> errors;
        for (size_t i = 0; i < count; ++i) {
            errors.push_back(std::abs(static_cast<double>(actual[i].atNs - anchor - ideal[i].atNs)) / 1000.0);
        }
        std::sort(errors.begin(), errors.end());
        double sum = 0;
        for (double error : errors) {
            sum += error;
        }
        mean = sum / static_cast<double>(errors.size());
        p99 = errors[std::min(errors.size() - 1, static_cast<size_t>(std::ceil(errors.size() * 0.99)) - 1)];
        max = errors.back();
    };
    summarise(start, figures.meanUs, figures.p99Us, figures.maxUs);
    summarise(actual[0].atNs - ideal[0].atNs, figures.anchoredMeanUs, figures.anchoredP99Us,
              figures.anchoredMaxUs);
    if (actual.size() != ideal.size()) {
        std::fprintf(stderr, "edge count %zu, ideal %zu\n", actual.size(), ideal.size());
    }
    figures.guiGapMs = longestGapMs;
    figures.guiCallMs = longestCallMs;
    return figures;
}

} // namespace

int main(int argc, char** argv)
{
    // The shim must be loaded before the program starts: run again with it preloaded.
    if (!std::getenv("VELK_KEYING_BENCH_PRELOADED")) {
        setenv("VELK_KEYING_BENCH_PRELOADED", "1", 1);
        setenv("LD_PRELOAD", VELK_MODEM_SHIM, 1);
        execv("/proc/self/exe", argv);
        std::perror("execv");
        return 1;
    }
    QCoreApplication app(argc, argv);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 6.0;
    const QString socatPath = QStandardPaths::findExecutable(QStringLiteral("socat"));
    if (socatPath.isEmpty()) {
        std::fprintf(stderr, "socat is not installed\n");
        return 1;
    }
    QTemporaryDir dir;
    const QString port = dir.filePath(QStringLiteral("ttyKey"));
    QProcess socat;
    socat.start(socatPath, {QStringLiteral("pty,raw,echo=0,link=") + port,
                            QStringLiteral("pty,raw,echo=0,link=") + dir.filePath(QStringLiteral("ttyFar"))});
    socat.waitForStarted(5000);
    for (int i = 0; i < 500 && !QFileInfo::exists(dir.filePath(QStringLiteral("ttyFar"))); ++i) {
        QThread::msleep(10);
    }
    FakeEnvironment environment;
    environment.values[QStringLiteral("VELK_COM1")] = port;
    FakeSettingsStore settings;
    LinuxKeyPorts ports(environment, settings);
    QString error;
    KeyLineTarget target;
    target.comPort = 1;
    KeyLine* line = ports.open(PortUser::CwKeyer, target, error);
    if (!line) {
        std::fprintf(stderr, "cannot open the key line: %s\n", qPrintable(error));
        return 1;
    }
    std::printf(
        "Edge error in microseconds from the moment of append (all) and against the schedule anchored\n"
        "at the first edge (jitter); GUI: longest gap between zero-timer ticks and longest call.\n");
    std::printf(
        "policy      WPM  edges  mean   p99    max  | jitter mean  p99    max  | GUI gap ms  call ms\n");
    for (const bool realtime : {false, true}) {
        for (const int wpm : {13, 25, 40, 60}) {
            const Figures f = runSpeed(*line, wpm, realtime, seconds);
            const char* policy = !realtime ? "default" : (f.realtime ? "SCHED_FIFO" : "FIFO-denied");
            std::printf("%-11s %3d %6zu %6.0f %6.0f %6.0f | %11.0f %6.0f %6.0f | %10.2f %8.3f\n", policy, wpm,
                        f.edges, f.meanUs, f.p99Us, f.maxUs, f.anchoredMeanUs, f.anchoredP99Us,
                        f.anchoredMaxUs, f.guiGapMs, f.guiCallMs);
            std::fflush(stdout);
        }
    }
    ports.close(PortUser::CwKeyer);
    socat.kill();
    socat.waitForFinished(5000);
    return 0;
}
