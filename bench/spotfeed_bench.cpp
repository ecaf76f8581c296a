// The spot feed under load, through the real spot list and setup window offscreen: a burst of
// spot lines in one arrival (5,000 unless told), a 1 MB line without a line end, then 200 lines
// a second. Reports the parse-and-post time per spot, the longest stall of the GUI thread (the
// largest gap between ticks of a 1 ms timer) and the resident memory as the run goes on.
//   velk_spot_bench [--seconds N] [--burst LINES]   (defaults 60 and 5000)
#include "common/platform/fake/fakeplatform.h"
#include "common/platform/platform.h"
#include "log/logsession.h"
#include "spots/spotfeed.h"
#include "spots/ui/spotlistpanel.h"
#include "spots/ui/spotsetupwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <unistd.h>

using namespace velk;

namespace {

// CPU time of this thread: between two heartbeats it is the work that held the GUI thread, also
// when a busy machine stretches the wall-clock gap.
qint64 threadCpuNs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<qint64>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

double residentMiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1
               ? fields[1].toDouble() * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0)
               : 0;
}

QByteArray spotLine(int n)
{
    static const char* const calls[] = {"JA1ABC", "DL1XYZ", "VK2ABC", "OH2BH",
                                        "ZS6ABC", "F6XYZ",  "K1ABC",  "XE1XYZ"};
    const double khz = 14000.0 + (n % 350) * 0.1;
    return QString::asprintf("DX de %-9s%9.1f  %-13s%-31s%04dZ\r\n", "W3LPL:", khz,
                             (QByteArray(calls[n % 8]) + QByteArray::number(n % 97)).constData(), "CQ CQ",
                             n % 2400)
        .toLatin1();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int seconds = 60;
    int burstLines = 5000;
    for (int i = 1; i + 1 < argc; ++i) {
        if (QByteArray(argv[i]) == "--seconds") {
            seconds = QByteArray(argv[i + 1]).toInt();
        } else if (QByteArray(argv[i]) == "--burst") {
            burstLines = QByteArray(argv[i + 1]).toInt();
        }
    }

    QTemporaryDir dir;
    FakePrompter prompter;
    FakeClock clock;
    FakeSettingsStore settings;
    FakeEnvironment environment;
    FakeDevices devices;
    Platform platform{prompter, clock, settings, environment, devices};
    LogSession session;
    session.folders.working = dir.path();
    session.prefs.ownCall = QStringLiteral("W1AW");
    session.loadPrefixTable();
    if (session.prefixes.isEmpty()) {
        session.prefixes.load(QStringLiteral(VELK_SOURCE_DIR "/data/arrlpre2.txt"));
    }
    SpotFeed feed(platform, session);
    SpotListPanel panel(feed.list());
    panel.resize(900, 400);
    if (qEnvironmentVariableIsEmpty("VELK_BENCH_NO_LIST")) {
        panel.show();
    }
    SpotSetupWindow window(feed);
    window.load(); // no PackSpot.txt: source None, as on a first run
    if (qEnvironmentVariableIsEmpty("VELK_BENCH_NO_MONITOR")) {
        window.show();
    }

    feed.settings().source = SpotSource::Telnet;
    feed.settings().telnetHost = QStringLiteral("bench");
    feed.open();
    FakeTcpConnection& tcp = *devices.tcpConnections.back();
    tcp.accept();

    // The GUI thread's heartbeat: a stall is the longest gap between two ticks.
    QElapsedTimer clockwork;
    clockwork.start();
    qint64 lastTick = 0;
    qint64 longestGapMs = 0;
    qint64 lastTickCpu = threadCpuNs();
    qint64 longestBusyNs = 0;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    heartbeat.setInterval(1);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        const qint64 now = clockwork.elapsed();
        longestGapMs = std::max(longestGapMs, now - lastTick);
        lastTick = now;
        const qint64 cpu = threadCpuNs();
        longestBusyNs = std::max(longestBusyNs, cpu - lastTickCpu);
        lastTickCpu = cpu;
    });

    // The windows' first paint is not part of the burst.
    QElapsedTimer shown;
    shown.start();
    while (shown.elapsed() < 200) {
        app.processEvents();
    }
    const double startMiB = residentMiB();
    int n = 0;
    QByteArray burst;
    for (int i = 0; i < burstLines; ++i) {
        burst += spotLine(n++);
    }
    lastTick = clockwork.elapsed();
    lastTickCpu = threadCpuNs();
    heartbeat.start();
    QElapsedTimer timer;
    timer.start();
    tcp.deliver(burst);
    const qint64 firstSliceNs = timer.nsecsElapsed();
    // The rest of the burst is worked off between other events, the heartbeat's among them.
    while (feed.backlog() > 0) {
        app.processEvents();
    }
    const qint64 burstNs = timer.nsecsElapsed();
    app.processEvents(); // the monitor's repaint the burst scheduled
    const qint64 burstWithPaintNs = timer.nsecsElapsed();
    const qint64 burstStallMs = std::max(longestGapMs, firstSliceNs / 1000000);
    const double lines = burstLines;
    std::printf(
        "burst: %d lines in one arrival, all posted in %.1f ms (%.2f us/spot, %.0f lines/s), %.1f ms with "
        "the repaint; first slice %.1f ms; longest GUI stall during the burst %lld ms; %d lines dropped\n",
        burstLines, static_cast<double>(burstNs) / 1e6, static_cast<double>(burstNs) / lines / 1e3,
        lines / (static_cast<double>(burstNs) / 1e9), static_cast<double>(burstWithPaintNs) / 1e6,
        static_cast<double>(firstSliceNs) / 1e6, static_cast<long long>(burstStallMs), feed.droppedLines());
    std::printf("  longest GUI work between heartbeats (thread CPU) during the burst: %.1f ms\n",
                static_cast<double>(longestBusyNs) / 1e6);
    std::printf("memory after burst: %.1f MiB (start %.1f MiB); list rows %d, feed %s\n", residentMiB(),
                startMiB, feed.list().rowCount(), feed.isListening() ? "listening" : "closed");

    // A 1 MB line without a line end, in the pieces a socket delivers, then its end and a spot.
    longestGapMs = 0;
    lastTick = clockwork.elapsed();
    longestBusyNs = 0;
    lastTickCpu = threadCpuNs();
    timer.restart();
    qint64 longestPieceNs = 0;
    const QByteArray piece(64 * 1024, 'x');
    for (int i = 0; i < 16; ++i) {
        QElapsedTimer one;
        one.start();
        tcp.deliver(piece);
        longestPieceNs = std::max(longestPieceNs, one.nsecsElapsed());
        app.processEvents();
    }
    tcp.deliver("\r\n" + spotLine(n++));
    while (feed.backlog() > 0) {
        app.processEvents();
    }
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 200) {
        app.processEvents(); // the monitor's repaint of the cut line
    }
    std::printf(
        "1 MB line in 64 KiB pieces: %.1f ms in all, longest piece %.2f ms, longest GUI stall %lld ms\n",
        static_cast<double>(timer.nsecsElapsed() - settle.nsecsElapsed()) / 1e6,
        static_cast<double>(longestPieceNs) / 1e6, static_cast<long long>(longestGapMs));
    std::printf("  longest GUI work between heartbeats (thread CPU) with the long line: %.1f ms\n",
                static_cast<double>(longestBusyNs) / 1e6);
    longestGapMs = 0;
    longestBusyNs = 0;

    qint64 steadyNs = 0;
    int steadyLines = 0;
    qint64 worstLineNs = 0;
    QTimer feeder;
    feeder.setTimerType(Qt::PreciseTimer);
    feeder.setInterval(5); // 200 lines a second
    QObject::connect(&feeder, &QTimer::timeout, [&] {
        const QByteArray line = spotLine(n++);
        QElapsedTimer one;
        one.start();
        tcp.deliver(line);
        const qint64 ns = one.nsecsElapsed();
        steadyNs += ns;
        worstLineNs = std::max(worstLineNs, ns);
        ++steadyLines;
    });
    QTimer report;
    report.setInterval(10000);
    QObject::connect(&report, &QTimer::timeout, [&] {
        std::printf("  t=%llds: %d lines, memory %.1f MiB, longest GUI stall so far %lld ms\n",
                    static_cast<long long>(clockwork.elapsed() / 1000), steadyLines, residentMiB(),
                    longestGapMs);
        std::fflush(stdout);
    });
    QTimer::singleShot(seconds * 1000, &app, &QApplication::quit);
    lastTick = clockwork.elapsed();
    lastTickCpu = threadCpuNs();
    feeder.start();
    report.start();
    app.exec();

    std::printf("steady: %d lines at 200/s: mean %.2f us/spot parse+post, worst %.3f ms\n", steadyLines,
                steadyLines ? static_cast<double>(steadyNs) / steadyLines / 1e3 : 0.0,
                static_cast<double>(worstLineNs) / 1e6);
    std::printf("longest GUI stall during the steady run (heartbeat gap): %lld ms; longest GUI work between "
                "heartbeats (thread CPU) %.1f ms\n",
                longestGapMs, static_cast<double>(longestBusyNs) / 1e6);
    std::printf("memory at end: %.1f MiB; list rows %d (cap 200); monitor %lld chars (cap 10000)\n",
                residentMiB(), feed.list().rowCount(), static_cast<long long>(feed.monitor().size()));
    return 0;
}
