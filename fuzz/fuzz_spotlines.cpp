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
