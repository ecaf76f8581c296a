// The real main window, offscreen, on a generated log: one key in the call box, Enter on a
// complete contact and a band change, each timed from the event to the window being ready for
// the next key (the event handled and every event it queued, painting included, processed).
#include "benchwindow.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <benchmark/benchmark.h>

using namespace velk;
using namespace velk::bench;

namespace {

void settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

std::map<long long, std::unique_ptr<WindowRig>>& rigs()
{
    static std::map<long long, std::unique_ptr<WindowRig>> windows;
    return windows;
}

WindowRig& rig(long long contacts)
{
    auto& slot = rigs()[contacts];
    if (!slot) {
        slot = std::make_unique<WindowRig>(logPath(contacts));
    }
    return *slot;
}

void BM_WindowCallBoxKey(benchmark::State& state)
{
    WindowRig& window = rig(state.range(0));
    QLineEdit* call = window.box("callBox");
    const QString keys = QStringLiteral("K1ZQW9QXVE3QZ");
    qsizetype i = 0;
    for (auto _ : state) {
        if (i % 4 == 0) {
            state.PauseTiming();
            call->clear();
            call->setFocus();
            settle();
            state.ResumeTiming();
        }
        QTest::keyClick(call, keys.at(i++ % keys.size()).toLatin1());
        settle();
    }
}

void BM_WindowEnter(benchmark::State& state)
{
    WindowRig& window = rig(state.range(0));
    const int before = window.session().log.count();
    for (auto _ : state) {
        state.PauseTiming();
        window.fillEntry();
        settle();
        state.ResumeTiming();
        QTest::keyClick(window.box("locationBox"), Qt::Key_Return);
        settle();
    }
    if (window.session().log.count() - before != static_cast<int>(state.iterations())) {
        state.SkipWithError("a contact was not logged");
    }
}

void BM_WindowBandChange(benchmark::State& state)
{
    WindowRig& window = rig(state.range(0));
    QAction* bands[] = {window.action("band40Action"), window.action("band20Action")};
    int i = 0;
    for (auto _ : state) {
        bands[i++ % 2]->trigger();
        settle();
    }
}

} // namespace

// The windows must go before the application object does.
void velk::bench::closeWindows()
{
    rigs().clear();
}

BENCHMARK(BM_WindowCallBoxKey)->Arg(12000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WindowEnter)->Arg(12000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WindowBandChange)->Arg(12000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
