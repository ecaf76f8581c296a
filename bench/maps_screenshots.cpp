// Saves pictures of the main window with its band map and of the HF spectrum map, 1280 x 800,
// with a full spot ring of the last hour (all three age colours), drawn offscreen:
//   velk_maps_screenshots <folder>   ->  <folder>/bandmap.png, <folder>/hfmap.png
#include "app/ui/spotsplug.h"
#include "benchwindow.h"
#include "spots/bandmapgeometry.h"
#include "spots/ui/hfmapwindow.h"

#include <QApplication>
#include <QTemporaryFile>

#include <cstdio>
#include <random>

using namespace velk;

namespace {

void settle()
{
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

// 50 spots over the last 55 minutes, oldest first; about half on 20 m so the band map is busy.
void fillRing(SpotRing& ring, const QDateTime& nowUtc)
{
    static const char* const prefixes[] = {"DL", "W", "K",  "JA", "VK", "G", "F",
                                           "EA", "I", "OH", "UA", "PY", "VE"};
    std::mt19937 random(1280800);
    const auto& axes = spectrumAxes();
    for (int i = 0; i < SpotRing::slotCount; ++i) {
        const BandRange& band = i % 2 == 0 ? axes[4] : axes[random() % axes.size()];
        std::uniform_real_distribution<double> inside(band.lowMhz + 0.002, band.highMhz - 0.002);
        const QString call = QString::fromLatin1(prefixes[random() % std::size(prefixes)]) +
                             QString::number(random() % 10) + QChar('A' + static_cast<int>(random() % 26)) +
                             QChar('A' + static_cast<int>(random() % 26)) +
                             QChar('A' + static_cast<int>(random() % 26));
        const qint64 ageSeconds = (SpotRing::slotCount - 1 - i) * 66;
        ring.add(call, std::round(inside(random) * 1000) / 1000, nowUtc.addSecs(-ageSeconds));
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: velk_maps_screenshots <folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QTemporaryFile emptyLog;
    if (!emptyLog.open()) {
        std::fprintf(stderr, "cannot make an empty log\n");
        return 1;
    }
    emptyLog.close();

    int result = 0;
    {
        bench::WindowRig rig(emptyLog.fileName());
        MainWindow& form = rig.form();
        fillRing(rig.station().spotRing(), rig.clock().utcNow());
        form.resize(1280, 800);
        settle();
        form.spots().refreshMaps();
        settle();
        if (!form.grab().save(folder + QStringLiteral("/bandmap.png"))) {
            result = 1;
        }
        form.spots().showSpectrumMap();
        SpectrumMapWindow* map = form.spots().spectrumMap();
        map->resize(1280, 800);
        settle();
        if (!map->grab().save(folder + QStringLiteral("/hfmap.png"))) {
            result = 1;
        }
        map->close();
        settle();
    }
    if (result != 0) {
        std::fprintf(stderr, "cannot write the pictures into %s\n", argv[1]);
    }
    return result;
}
