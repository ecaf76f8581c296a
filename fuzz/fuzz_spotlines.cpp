// Bytes from a cluster node or TNC: split into lines, each parsed as a spot line.
#include "fuzz_common.h"
#include "spots/linesplitter.h"
#include "spots/spotline.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    using namespace velk;
    LineSplitter splitter(256);
    const QByteArray bytes = fuzz::bytesOf(data, size);
    // Fed in two pieces cut where the first byte says, so pieces split anywhere.
    const qsizetype cut = size > 0 ? data[0] % static_cast<qsizetype>(size) : 0;
    QStringList lines = splitter.feed(bytes.left(cut));
    lines += splitter.feed(bytes.mid(cut));
    // The same bytes queued, some oldest lines dropped, the rest taken in small slices.
    LineSplitter queued(256);
    queued.enqueue(bytes.left(cut));
    queued.enqueue(bytes.mid(cut));
    const qsizetype before = queued.queuedLines();
    const qsizetype dropped = queued.dropQueuedLines(size > 1 ? data[1] % 8 : 0);
    fuzz::require(dropped >= 0 && queued.queuedLines() == before - dropped, "drops are counted");
    while (queued.queuedBytes() > 0) {
        for (const QString& line : queued.take(size > 2 ? data[2] % 64 + 1 : 1)) {
            fuzz::require(line.size() <= 256, "queued lines stay bounded");
        }
        fuzz::require(queued.queuedLines() >= 0, "the queue's line count stays whole");
    }
    fuzz::require(queued.queuedLines() == 0, "an empty queue holds no lines");
    const QString pending = splitter.takePending();
    fuzz::require(pending.size() <= 256, "pending text stays bounded");
    for (const QString& line : lines) {
        fuzz::require(line.size() <= 256, "lines stay bounded");
        for (const QChar c : line) {
            fuzz::require(c.unicode() >= 0x20 && c.unicode() != 0x7f, "no control characters");
        }
        if (isSpotLine(line)) {
            const SpotLine spot = parseSpotLine(alignSpotLine(line));
            if (const auto khz = parseFrequencyKhz(spot.frequencyText)) {
                fuzz::require(*khz > 0 && std::isfinite(*khz), "frequency is finite and positive");
            }
            spotColumns(spot.record);
        }
    }
    return 0;
}
