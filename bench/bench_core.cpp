// The contact log core at contest scale: loading log.txt against reading and splitting its lines,
// one key in the call box, the full duplicate check, logging one contact, the export files.
#include "benchlogs.h"
#include "common/quotedlist.h"
#include "log/contactlog.h"
#include "log/dupes.h"
#include "log/multipliers.h"
#include "log/prefixtable.h"
#include "log/rates.h"
#include "output/adif.h"
#include "output/cabrillo.h"
#include "output/countrytable.h"
#include "output/exportfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace velk;
using namespace velk::bench;

namespace {

const QDateTime rateMoment(QDate(2026, 1, 12), QTime(0, 0), Qt::UTC);

struct LoadedLog
{
    ContactLog log;
    Multipliers multipliers;
    PrefixTable prefixes;
};

const LoadedLog& loaded(long long contacts)
{
    static std::map<long long, std::unique_ptr<LoadedLog>> cache;
    auto& slot = cache[contacts];
    if (!slot) {
        slot = std::make_unique<LoadedLog>();
        if (!slot->log.load(logPath(contacts)).ok) {
            std::fprintf(stderr, "cannot load %s\n", qPrintable(logPath(contacts)));
            std::exit(2);
        }
        slot->multipliers.rebuild(slot->log);
        slot->prefixes.load(sourcePath(QStringLiteral("data/arrlpre2.txt")));
    }
    return *slot;
}

// Baseline: the file's bytes read and split into lines.
void BM_ReadAndSplitLines(benchmark::State& state)
{
    const QString path = logPath(state.range(0));
    readOrDie(path);
    for (auto _ : state) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        const QByteArray bytes = file.readAll();
        const QList<QByteArray> lines = bytes.split('\n');
        benchmark::DoNotOptimize(lines.size());
    }
}

// Loading log.txt with every derived table rebuilt (multipliers and DX lists, rates), into a log
// that has never read it: what an edit or a delete costs, and the start-up.
void BM_LoadLogAndRebuild(benchmark::State& state)
{
    const QString path = logPath(state.range(0));
    int contacts = 0;
    for (auto _ : state) {
        ContactLog log;
        Multipliers multipliers;
        if (!log.load(path).ok) {
            state.SkipWithError("load failed");
            break;
        }
        multipliers.rebuild(log);
        benchmark::DoNotOptimize(rateTally(log, rateMoment));
        contacts = log.count();
        state.PauseTiming(); // the old log is freed outside the measurement
        log.clear();
        state.ResumeTiming();
    }
    state.counters["contacts"] = contacts;
}

// The same reload when the file has not changed since the log read or appended it: a band change.
void BM_ReloadUnchangedAndRebuild(benchmark::State& state)
{
    const QString path = logPath(state.range(0));
    ContactLog log;
    Multipliers multipliers;
    log.load(path);
    for (auto _ : state) {
        if (!log.load(path).ok) {
            state.SkipWithError("load failed");
            break;
        }
        multipliers.rebuild(log);
        benchmark::DoNotOptimize(rateTally(log, rateMoment));
    }
}

// The work of one key in the call box: the partial list, the prefix lookup, the new-multiplier
// indicator. Calls typed a key at a time, on the busiest band.
void BM_CallBoxKey(benchmark::State& state)
{
    const LoadedLog& core = loaded(state.range(0));
    const QStringList typed{QStringLiteral("K"),    QStringLiteral("K1"),   QStringLiteral("K1Z"),
                            QStringLiteral("K1ZQ"), QStringLiteral("W"),    QStringLiteral("W9"),
                            QStringLiteral("W9Q"),  QStringLiteral("W9QX"), QStringLiteral("XE"),
                            QStringLiteral("XE2"),  QStringLiteral("XE2Q"), QStringLiteral("VE3"),
                            QStringLiteral("VE3Q"), QStringLiteral("VE3QZ")};
    const QString band = QStringLiteral("20");
    qsizetype i = 0;
    for (auto _ : state) {
        const QString& text = typed.at(i++ % typed.size());
        const QString list = partialDupeList(core.log, text, band, 100);
        const CallLocation where = locateCall(core.prefixes, text);
        const QString location =
            where.entry >= 0 ? core.prefixes.at(where.entry).country : QStringLiteral("Mexico");
        const bool isNew = core.multipliers.isNewDx(4, location, QStringLiteral("NA"));
        benchmark::DoNotOptimize(list.size());
        benchmark::DoNotOptimize(isNew);
    }
}

// The worst key: a call nobody on the band begins with, so the partial list scans the whole log.
void BM_CallBoxKeyNoMatch(benchmark::State& state)
{
    const LoadedLog& core = loaded(state.range(0));
    const QString text = QStringLiteral("Q9Z");
    for (auto _ : state) {
        const QString list = partialDupeList(core.log, text, QStringLiteral("20"), 100);
        const CallLocation where = locateCall(core.prefixes, text);
        benchmark::DoNotOptimize(list.size());
        benchmark::DoNotOptimize(where.entry);
        benchmark::DoNotOptimize(core.multipliers.isNewDx(4, QStringLiteral("Mexico"), QStringLiteral("NA")));
    }
}

// The full duplicate check when the call box is left: a new call (the whole log is scanned) and
// a call worked before.
void BM_FullDupeCheck(benchmark::State& state)
{
    const LoadedLog& core = loaded(state.range(0));
    const QString worked = core.log.record(core.log.count() / 2).call;
    const QStringList calls{QStringLiteral("WQ0ZZZZ"), worked};
    qsizetype i = 0;
    for (auto _ : state) {
        const DupeScan scan = scanForDupe(core.log, calls.at(i++ % 2), QStringLiteral("20"));
        benchmark::DoNotOptimize(scan.dupeRecord);
    }
}

// The rates shown after every contact, with the station clock set a day behind the log: every
// contact looks recent, so the whole log is walked.
void BM_RateTallyClockBehind(benchmark::State& state)
{
    const LoadedLog& core = loaded(state.range(0));
    const QDateTime dayBefore(QDate(2026, 1, 9), QTime(0, 0), Qt::UTC);
    for (auto _ : state) {
        benchmark::DoNotOptimize(rateTally(core.log, dayBefore));
    }
}

ContactRecord newContact(long long n)
{
    QString suffix;
    for (long long v = n; suffix.size() < 4; v /= 26) {
        suffix += QChar('A' + static_cast<int>(v % 26));
    }
    return {QStringLiteral("WQ0") + suffix, QStringLiteral("BOB"),      QStringLiteral("CT"),
            QStringLiteral("2026/01/12"),   QStringLiteral("00:00:01"), QStringLiteral("20"),
            QStringLiteral("NA"),           QStringLiteral("LEE"),      QStringLiteral("14.025")};
}

// Logging one contact as Enter does: the line appended to log.txt, flushed and synced to disk,
// and the multipliers counted. The file lies in the build folder, on the same disk as a real log.
void BM_LogContactSynced(benchmark::State& state)
{
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    QFile::copy(logPath(state.range(0)), path);
    ContactLog log;
    log.load(path);
    Multipliers multipliers;
    multipliers.rebuild(log);
    long long n = 0;
    for (auto _ : state) {
        const ContactRecord record = newContact(n++);
        if (!log.append(record, path).ok) {
            state.SkipWithError("append failed");
            break;
        }
        benchmark::DoNotOptimize(multipliers.add(record));
    }
}

// The same without the sync: the line written and the file closed, nothing more.
void BM_LogContactUnsynced(benchmark::State& state)
{
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    QFile::copy(logPath(state.range(0)), path);
    ContactLog log;
    log.load(path);
    std::vector<ContactRecord> records = log.records();
    Multipliers multipliers;
    multipliers.rebuild(log);
    long long n = 0;
    for (auto _ : state) {
        const ContactRecord record = newContact(n++);
        const QByteArray line = ContactLog::encodeLine(record);
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered);
        file.write(line);
        file.close();
        records.push_back(record);
        benchmark::DoNotOptimize(multipliers.add(record));
    }
}

void BM_WriteCabrillo(benchmark::State& state)
{
    const LoadedLog& core = loaded(state.range(0));
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-XXXXXX"));
    const CabrilloStation station{QStringLiteral("N0CALL"), QStringLiteral("CT"), QStringLiteral("CW"),
                                  QStringLiteral("VELK 2.7")};
    CabrilloSummary summary;
    summary.name = QStringLiteral("Lee");
    for (auto _ : state) {
        const QByteArray bytes =
            writeCabrillo(core.log.records(), station, summary, core.multipliers.total());
        if (!writeExportFile(dir.filePath(QStringLiteral("velk.log")), bytes).ok) {
            state.SkipWithError("write failed");
            break;
        }
    }
}

void BM_WriteAdif(benchmark::State& state)
{
    const LoadedLog& core = loaded(state.range(0));
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-XXXXXX"));
    const auto countries = CountryTable::parse(readOrDie(sourcePath(QStringLiteral("data/ADIFCnt.txt"))));
    AdifOptions options;
    options.mode = QStringLiteral("CW");
    options.createdBy = QStringLiteral("VELK 2.7");
    for (auto _ : state) {
        const QByteArray bytes = writeAdif(core.log.records(), *countries, options);
        if (!writeExportFile(dir.filePath(QStringLiteral("VELK.adi")), bytes).ok) {
            state.SkipWithError("write failed");
            break;
        }
    }
}

} // namespace

BENCHMARK(BM_ReadAndSplitLines)->Arg(12000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadLogAndRebuild)->Arg(12000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReloadUnchangedAndRebuild)
    ->Arg(12000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_CallBoxKey)->Arg(12000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CallBoxKeyNoMatch)->Arg(12000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FullDupeCheck)->Arg(12000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RateTallyClockBehind)->Arg(12000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LogContactSynced)->Arg(12000)->Arg(100000)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_LogContactUnsynced)->Arg(12000)->Arg(100000)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_WriteCabrillo)->Arg(12000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteAdif)->Arg(12000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
