#pragma once
// Where the benchmarks find their generated logs (tools/make_test_log.py): the folder named by
// VELK_BENCH_LOGS, holding log12000.txt and log100000.txt.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstdio>
#include <cstdlib>

namespace velk::bench {

inline QString logPath(long long contacts)
{
    const QString folder = qEnvironmentVariable("VELK_BENCH_LOGS");
    return folder + QStringLiteral("/log%1.txt").arg(contacts);
}

inline QByteArray readOrDie(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s (run scripts/bench.sh, which generates the logs)\n",
                     qPrintable(path));
        std::exit(2);
    }
    return file.readAll();
}

inline QString sourcePath(const QString& relative)
{
    return QStringLiteral(VELK_SOURCE_DIR "/") + relative;
}

} // namespace velk::bench
