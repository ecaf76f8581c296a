// The band map and the HF spectrum map, offscreen at 1280 x 800 with a full spot ring: one new
// spot with the redraw and the repaint it causes, timed together; the whole map painted again;
// and a stream of 200 spots a second into both open maps, reporting the longest time the event
// loop was kept from running.
#include "common/platform/fake/fakeplatform.h"
#include "spots/bandmapgeometry.h"
#include "spots/ui/bandmappanel.h"
#include "spots/ui/hfmapwindow.h"
#include "spots/ui/spotmapview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <time.h>
#include <vector>

using namespace velk;

namespace {

// Spots as a busy cluster sends them: mixed prefixes, frequencies anywhere inside a band.
class SpotSource
{
public:
    explicit SpotSource(bool onlyTwentyMetres) : m_onlyTwentyMetres(onlyTwentyMetres) {}

    void post(SpotRing& ring, const QDateTime& nowUtc)
    {
        static const char* const prefixes[] = {"DL", "W",  "K", "JA", "VK", "G",
                                               "F",  "EA", "I", "OH", "UA", "PY"};
        const auto& axes = spectrumAxes();
        const BandRange& band = m_onlyTwentyMetres ? axes[4] : axes[m_random() % axes.size()];
        std::uniform_real_distribution<double> inside(band.lowMhz + 0.0005, band.highMhz - 0.0005);
        const QString call =
            QString::fromLatin1(prefixes[m_random() % std::size(prefixes)]) +
            QString::number(m_random() % 10) + QChar('A' + static_cast<int>(m_random() % 26)) +
            QChar('A' + static_cast<int>(m_random() % 26)) + QChar('A' + static_cast<int>(m_random() % 26));
        ring.add(call, std::round(inside(m_random) * 10000) / 10000, nowUtc);
    }

private:
    bool m_onlyTwentyMetres;
    std::mt19937 m_random{20261209};
};

struct MapsRig
{
    FakeClock clock;
    SpotRing ring;
    SpotSource source;

    explicit MapsRig(bool onlyTwentyMetres) : source(onlyTwentyMetres)
    {
        clock.setUtcMinusLocalHours(5);
        for (int i = 0; i < SpotRing::slotCount; ++i) {
            postOne();
        }
    }
    // One spot 5 ms after the last: 200 spots a second.
    void postOne()
    {
        clock.advanceMs(5);
        source.post(ring, clock.utcNow());
    }
};

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

void settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// A new spot on the band map: the redraw and the repaint it asks for.
void BM_BandMapNewSpot(benchmark::State& state)
{
    MapsRig rig(true);
    BandMapPanel panel(rig.ring, rig.clock, QStringLiteral("20"));
    panel.resize(1280, 120);
    panel.show();
    settle();
    for (auto _ : state) {
        rig.postOne();
        panel.refresh();
        settle();
    }
    state.counters["labels"] = static_cast<double>(panel.view().picture().labels.size());
}

// The whole band map painted again, as on an expose or a resize.
void BM_BandMapRepaint(benchmark::State& state)
{
    MapsRig rig(true);
    BandMapPanel panel(rig.ring, rig.clock, QStringLiteral("20"));
    panel.resize(1280, 120);
    panel.show();
    settle();
    for (auto _ : state) {
        rig.postOne();
        panel.refresh();
        panel.view().repaint();
    }
}

void BM_SpectrumMapNewSpot(benchmark::State& state)
{
    MapsRig rig(false);
    SpectrumMapWindow map(rig.ring, rig.clock);
    map.resize(1280, 800);
    map.show();
    settle();
    for (auto _ : state) {
        rig.postOne();
        map.refresh();
        settle();
    }
    state.counters["labels"] = static_cast<double>(map.view().picture().labels.size());
}

void BM_SpectrumMapRepaint(benchmark::State& state)
{
    MapsRig rig(false);
    SpectrumMapWindow map(rig.ring, rig.clock);
    map.resize(1280, 800);
    map.show();
    settle();
    for (auto _ : state) {
        rig.postOne();
        map.refresh();
        map.view().repaint();
    }
}

// Both maps open while 200 spots a second arrive for two seconds, each spot redrawing both as
// the spot feed will. The longest stretch between two returns to the event loop is the stall.
void BM_MapsUnderSpotStream(benchmark::State& state)
{
    MapsRig rig(false);
    BandMapPanel panel(rig.ring, rig.clock, QStringLiteral("20"));
    panel.resize(1280, 120);
    panel.show();
    SpectrumMapWindow map(rig.ring, rig.clock);
    map.resize(1280, 800);
    map.show();
    settle();
    std::vector<double> stepsMs;
    double longestCpuMs = 0;
    long posted = 0;
    for (auto _ : state) {
        QElapsedTimer wall;
        wall.start();
        long sent = 0;
        while (wall.elapsed() < 2000) {
            QElapsedTimer step;
            step.start();
            const double cpuBefore = threadCpuMs();
            const bool due = wall.elapsed() >= sent * 5;
            if (due) {
                rig.postOne();
                panel.refresh();
                map.refresh();
                ++sent;
            }
            QCoreApplication::processEvents();
            if (due) {
                stepsMs.push_back(static_cast<double>(step.nsecsElapsed()) / 1e6);
            }
            longestCpuMs = std::max(longestCpuMs, threadCpuMs() - cpuBefore);
        }
        posted += sent;
    }
    std::sort(stepsMs.begin(), stepsMs.end());
    state.counters["max_stall_ms"] = stepsMs.empty() ? 0 : stepsMs.back();
    state.counters["p99_stall_ms"] = stepsMs.empty() ? 0 : stepsMs[stepsMs.size() * 99 / 100];
    // The longest step in processor time of this thread: the work itself, without the time other
    // processes of a busy machine held the processor.
    state.counters["max_step_cpu_ms"] = longestCpuMs;
    state.counters["spots"] = static_cast<double>(posted);
}

} // namespace

BENCHMARK(BM_BandMapNewSpot)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BandMapRepaint)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SpectrumMapNewSpot)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SpectrumMapRepaint)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MapsUnderSpotStream)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
