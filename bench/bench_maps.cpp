// The band map and the HF spectrum map, offscreen at 1280 x 800 with a full spot ring: one new
// spot, the redraw it causes and the repaint, timed together; and a stream of 200 spots a second
// into both open maps, reporting the longest time the event loop was kept from running.
#include "common/platform/fake/fakeplatform.h"
#include "spots/bandmapgeometry.h"
#include "spots/ui/bandmappanel.h"
#include "spots/ui/spectrummapwindow.h"
#include "spots/ui/spotmapview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

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

void settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

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
    state.counters["labels"] = static_cast<double>(panel.view().picture().labels.size());
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
    state.counters["labels"] = static_cast<double>(map.view().picture().labels.size());
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
    double longestMs = 0;
    long posted = 0;
    for (auto _ : state) {
        QElapsedTimer wall;
        wall.start();
        long sent = 0;
        while (wall.elapsed() < 2000) {
            QElapsedTimer step;
            step.start();
            if (wall.elapsed() >= sent * 5) {
                rig.postOne();
                panel.refresh();
                map.refresh();
                ++sent;
            }
            QCoreApplication::processEvents();
            longestMs = std::max(longestMs, static_cast<double>(step.nsecsElapsed()) / 1e6);
        }
        posted += sent;
    }
    state.counters["max_stall_ms"] = longestMs;
    state.counters["spots"] = static_cast<double>(posted);
}

} // namespace

BENCHMARK(BM_BandMapRepaint)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SpectrumMapRepaint)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MapsUnderSpotStream)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
