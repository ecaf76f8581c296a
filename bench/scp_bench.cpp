// Super Check Partial at contest scale: loading MASTER.SCP (85,000 calls) with a call history of
// the same calls, the longest stall of the event loop while that load runs, rebuilding the log's
// calls from a 100,000-contact log, and the matches for every key of calls typed in the call box.
// A plain program: it reports medians and maxima of single keys, which Google Benchmark does not.
//   velk_scp_bench [--scp MASTER.SCP] [--log log100000.txt]
#include "benchlogs.h"
#include "common/platform/settingsstore.h"
#include "log/scpfile.h"
#include "log/supercheck.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <map>
#include <unistd.h>

using namespace velk;

namespace {

// Goals.
constexpr double keyMedianGoalMs = 0.5;
constexpr double keyMaxGoalMs = 2.0;
constexpr double loadGoalMs = 50.0;
constexpr double memoryGoalMb = 20.0;
constexpr double stallGoalMs = 16.0;

class MemorySettings : public SettingsStore
{
public:
    std::optional<QString> value(const QString& key) const override
    {
        const auto found = values.find(key);
        return found == values.end() ? std::nullopt : std::optional<QString>(found->second);
    }
    void setValue(const QString& key, const QString& value) override { values[key] = value; }
    std::map<QString, QString> values;
};

double residentMb()
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

double msSince(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void verdict(const char* what, double value, double goal, const char* unit)
{
    std::printf("  %-52s %9.3f %s  (goal <= %g %s) %s\n", what, value, unit, goal, unit,
                value <= goal ? "ok" : "MISSED");
}

QString argument(const QStringList& arguments, const QString& name, const QString& fallback)
{
    const auto at = arguments.indexOf(name);
    return at >= 0 && at + 1 < arguments.size() ? arguments.at(at + 1) : fallback;
}

// The calls typed: known ones from both sources and ones with a copying error, for N+1.
QStringList typedCalls(const CallIndex& database, const ContactLog& log)
{
    QRandomGenerator random(20260110);
    QStringList calls;
    for (int i = 0; i < 1000; ++i) {
        const std::string_view call = database.call(random.bounded(static_cast<quint32>(database.size())));
        calls << QString::fromLatin1(call.data(), static_cast<qsizetype>(call.size()));
    }
    for (int i = 0; i < 1000; ++i) {
        calls << log.record(static_cast<int>(random.bounded(log.count())) + 1).call;
    }
    for (int i = 0; i < 500; ++i) {
        QString busted = calls.at(i);
        busted[static_cast<qsizetype>(random.bounded(busted.size()))] =
            QLatin1Char("QXZJ"[random.bounded(4)]);
        calls << busted;
    }
    return calls;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const QString scpPath =
        argument(arguments, QStringLiteral("--scp"), QStringLiteral("/usr/share/hamradio-files/MASTER.SCP"));
    const QString logPath = argument(arguments, QStringLiteral("--log"), bench::logPath(100000));

    ContactLog log;
    if (!log.loadBytes(bench::readOrDie(logPath)).ok) {
        std::fprintf(stderr, "cannot read the log %s\n", qPrintable(logPath));
        return 2;
    }
    // A call history as large as the database: a name and a location for each of its calls.
    QTemporaryDir dir;
    const QString historyPath = dir.filePath(QStringLiteral("history.txt"));
    {
        const ScpRead read = readScpFile(scpPath);
        if (!read.calls) {
            std::fprintf(stderr, "%s\n", qPrintable(read.report));
            return 2;
        }
        QByteArray bytes("!!Order!!,Call,Name,Loc1\r\n");
        const char* names[] = {"BOB", "JIM", "ANN", "PIERRE", "JUAN"};
        const char* locations[] = {"MA", "ON", "TX", "Mexico", "BC"};
        for (std::uint32_t id = 0; id < read.calls->size(); ++id) {
            bytes += QByteArray::fromStdString(std::string(read.calls->call(id))) + ',' + names[id % 5] +
                     ',' + locations[id % 5] + "\r\n";
        }
        QFile file(historyPath);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }
    bench::readOrDie(historyPath);

    std::printf("Super Check Partial: %s and %s, log %s (%d contacts)\n", qPrintable(scpPath),
                qPrintable(historyPath), qPrintable(logPath), log.count());

    // Loading, the first time in this process: the memory it adds stays.
    const double residentBefore = residentMb();
    QElapsedTimer timer;
    timer.start();
    const CallFiles kept = readCallFiles(scpPath, historyPath);
    const double firstLoadMs = msSince(timer);
    const double addedMb = residentMb() - residentBefore;
    if (!kept.database || !kept.history) {
        std::fprintf(stderr, "%s\n", qPrintable(kept.report));
        return 2;
    }
    std::vector<double> loads;
    for (int i = 0; i < 5; ++i) {
        timer.restart();
        const CallFiles files = readCallFiles(scpPath, historyPath);
        loads.push_back(msSince(timer));
    }
    std::vector<double> databaseLoads;
    std::vector<double> historyLoads;
    for (int i = 0; i < 5; ++i) {
        timer.restart();
        readCallFiles(scpPath, QString());
        databaseLoads.push_back(msSince(timer));
        timer.restart();
        readCallFiles(QString(), historyPath);
        historyLoads.push_back(msSince(timer));
    }
    std::printf("  %s\n", qPrintable(kept.report));
    std::printf("  SCP alone %.1f ms, history alone %.1f ms (medians of 5)\n", median(databaseLoads),
                median(historyLoads));
    std::printf("  index %.1f MB, history %.1f MB (counted), first load %.1f ms\n",
                static_cast<double>(kept.database->memoryBytes()) / (1024.0 * 1024.0),
                static_cast<double>(kept.history->memoryBytes()) / (1024.0 * 1024.0), firstLoadMs);

    // The same load through SuperCheck, with a 1 ms timer measuring how long the loop stalls.
    MemorySettings settings;
    settings.setValue(SuperCheck::databaseKey, scpPath);
    settings.setValue(SuperCheck::historyKey, historyPath);
    SuperCheck superCheck(settings, {});
    double longestStallMs = 0;
    QElapsedTimer sinceTick;
    QTimer ticker;
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestStallMs = std::max(longestStallMs, msSince(sinceTick));
        sinceTick.restart();
    });
    for (int round = 0; round < 3; ++round) {
        ticker.start();
        sinceTick.start();
        superCheck.load();
        while (superCheck.isLoading()) {
            app.processEvents(QEventLoop::WaitForMoreEvents);
        }
        ticker.stop();
    }

    // The log's calls, as every reload rebuilds them.
    std::vector<double> rebuilds;
    for (int i = 0; i < 5; ++i) {
        timer.restart();
        superCheck.rebuildLog(log);
        rebuilds.push_back(msSince(timer));
    }

    // Every key of every call: each key repeated, its median counts (scheduler noise aside).
    std::vector<double> keys;
    int nearKeys = 0;
    for (const QString& call : typedCalls(*kept.database, log)) {
        for (qsizetype typed = PartialMatcher::minTypedLength; typed <= call.size(); ++typed) {
            std::vector<double> runs;
            for (int run = 0; run < 5; ++run) {
                timer.restart();
                const MatchList list = superCheck.matches(call.left(typed), u"20");
                runs.push_back(msSince(timer));
                nearKeys += run == 0 && list.nearMatches ? 1 : 0;
            }
            keys.push_back(median(runs));
        }
    }
    std::sort(keys.begin(), keys.end());

    std::printf("\n  %zu keys (%d of them near matches)\n", keys.size(), nearKeys);
    verdict("load SCP + history, median of 5", median(loads), loadGoalMs, "ms");
    verdict("resident memory added by the first load", addedMb, memoryGoalMb, "MB");
    verdict("longest event-loop stall while loading", longestStallMs, stallGoalMs, "ms");
    std::printf("  %-52s %9.3f ms\n", "rebuild the log's calls (100,000 contacts), median", median(rebuilds));
    verdict("work per key, median", keys[keys.size() / 2], keyMedianGoalMs, "ms");
    std::printf("  %-52s %9.3f ms\n", "work per key, 99th percentile", keys[keys.size() * 99 / 100]);
    verdict("work per key, max", keys.back(), keyMaxGoalMs, "ms");
    return 0;
}
