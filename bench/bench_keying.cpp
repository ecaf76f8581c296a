// Element timing of the keying thread on the real ioctl path: LinuxKeyPorts opens a socat
// pseudo-terminal as serial port 1 (the preloaded modem-line shim gives it RTS and DTR; each
// edge is still a TIOCMBIS/TIOCMBIC system call) and the thread keys "PARIS " at each speed.
// Each edge's time is taken right after the ioctl returns; the element error is how far each
// element and gap (edge to edge) is from its length, and an element off by half a unit or more
// would be read wrong by the ear or a decoder ("misread"). Meanwhile the GUI thread runs a
// zero-interval timer and records its longest gap, and the time of each call into the sender.
// Runs once at the default policy and once asking for real-time priority (SCHED_FIFO where the
// process may, else RealtimeKit; which one it got is printed). bench/keying_rtkit.sh runs it
// beside two CPU hogs as an unprivileged user with RealtimeKit.
//   velk_keying_bench [seconds per speed, default 6] [WPM ...; default 13 25 40 60]
#include "common/platform/fake/fakeplatform.h"
#include "common/platform/qt/linuxkeyports.h"
#include "common/platform/qt/linuxrealtimepriority.h"
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
    size_t misread = 0;
    double startMs = 0;
    double guiGapMs = 0;
    double guiCallMs = 0;
    size_t edges = 0;
    ThreadPriority priority;
};

Figures runSpeed(KeyLine& port, int wpm, RealtimePriority* priority, double seconds)
{
    MonotonicKeyTiming timing;
    TimedLine line(port, timing);
    LineMorseSender sender(timing, priority);
    sender.setLine(&line);
    sender.setSpeed(wpm);
    // The thread takes its priority when the line is set; the run starts once it has.
    QElapsedTimer settle;
    settle.start();
    while (sender.priority().source == ThreadPriority::Source::NotStarted && settle.elapsed() < 5000) {
        QThread::msleep(1);
    }
    const int words = std::max(1, static_cast<int>(std::ceil(seconds * 1e9 / (54.0 * unitNs(wpm)))));
    const QString text = QStringLiteral("PARIS ").repeated(words);

    Figures figures;
    figures.priority = sender.priority();
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
    // The GUI thread's calls while sending.
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

    const std::vector<TimedChange> ideal = textSchedule(text, wpm, 0);
    const std::vector<TimedChange> actual = line.take();
    const size_t count = std::min(ideal.size(), actual.size());
    figures.edges = count;
    if (actual.size() != ideal.size()) {
        std::fprintf(stderr, "edge count %zu, ideal %zu\n", actual.size(), ideal.size());
    }
    if (count < 2) {
        return figures;
    }
    figures.startMs = static_cast<double>(actual[0].atNs - start) / 1e6;
    std::vector<double> errors;
    const double halfUnitUs = static_cast<double>(unitNs(wpm)) / 2000.0;
    for (size_t i = 0; i + 1 < count; ++i) {
        const std::int64_t length = actual[i + 1].atNs - actual[i].atNs;
        const std::int64_t idealLength = ideal[i + 1].atNs - ideal[i].atNs;
        errors.push_back(std::abs(static_cast<double>(length - idealLength)) / 1000.0);
        if (errors.back() >= halfUnitUs) {
            ++figures.misread;
        }
    }
    std::sort(errors.begin(), errors.end());
    double sum = 0;
    for (double error : errors) {
        sum += error;
    }
    figures.meanUs = sum / static_cast<double>(errors.size());
    figures.p99Us =
        errors[std::min(errors.size() - 1, static_cast<size_t>(std::ceil(errors.size() * 0.99)) - 1)];
    figures.maxUs = errors.back();
    figures.guiGapMs = longestGapMs;
    figures.guiCallMs = longestCallMs;
    return figures;
}

const char* policyName(const ThreadPriority& priority)
{
    switch (priority.source) {
    case ThreadPriority::Source::Scheduler:
        return "SCHED_FIFO";
    case ThreadPriority::Source::RealtimeKit:
        return "RealtimeKit";
    case ThreadPriority::Source::Normal:
        return "RT-refused";
    case ThreadPriority::Source::NotStarted:
        break;
    }
    return "?";
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
    std::vector<int> speeds;
    for (int i = 2; i < argc; ++i) {
        speeds.push_back(std::atoi(argv[i]));
    }
    if (speeds.empty()) {
        speeds = {13, 25, 40, 60};
    }
    std::printf("Element error: each element and gap, edge to edge, against its length (microseconds);\n"
                "misread: elements off by half a unit or more; start: append to first edge; GUI: longest\n"
                "gap between zero-timer ticks and longest call into the sender.\n");
    std::printf("policy       WPM  edges   mean    p99     max  misread  start ms | GUI gap ms  call ms\n");
    LinuxRealtimePriority realtime;
    for (RealtimePriority* priority :
         {static_cast<RealtimePriority*>(nullptr), static_cast<RealtimePriority*>(&realtime)}) {
        for (const int wpm : speeds) {
            const Figures f = runSpeed(*line, wpm, priority, seconds);
            const char* policy = priority ? policyName(f.priority) : "default";
            std::printf("%-12s %3d %6zu %6.0f %6.0f %7.0f %8zu %9.2f | %10.2f %8.3f\n", policy, wpm, f.edges,
                        f.meanUs, f.p99Us, f.maxUs, f.misread, f.startMs, f.guiGapMs, f.guiCallMs);
            std::fflush(stdout);
        }
    }
    ports.close(PortUser::CwKeyer);
    socat.kill();
    socat.waitForFinished(5000);
    return 0;
}
