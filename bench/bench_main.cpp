// The benchmark runner. With --rss-of=<log> it instead starts the main window on that log and
// prints the resident memory once the window is ready (scripts/bench.sh compares a 100,000
// contact log with an empty one, each in a fresh process).
#include "benchwindow.h"

#include <QApplication>
#include <QFile>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

namespace {

long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    return -1;
}

int reportResidentMemory(const QString& log)
{
    velk::bench::WindowRig rig(log);
    if (!rig.started()) {
        std::fprintf(stderr, "the window did not start on %s\n", qPrintable(log));
        return 1;
    }
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
    }
    std::printf("%ld kB resident with %d contacts\n", residentKb(), rig.session().log.count());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--rss-of=", 9) == 0) {
            return reportResidentMemory(QString::fromLocal8Bit(argv[i] + 9));
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    velk::bench::closeWindows();
    benchmark::Shutdown();
    return 0;
}
