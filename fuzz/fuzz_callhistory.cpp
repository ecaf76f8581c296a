// Call-history files: any bytes read within the bounds; every station kept is found again with
// values the entry boxes can hold.
#include "fuzz_common.h"
#include "log/callhistory.h"
#include "log/callindex.h"

#include <QBuffer>

using namespace velk;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    QByteArray bytes = fuzz::bytesOf(data, size);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const CallHistoryRead read = readCallHistory(buffer, QStringLiteral("fuzz.txt"));
    fuzz::require(!read.report.isEmpty() && !read.report.contains(QLatin1Char('\n')), "one report line");
    if (!read.history) {
        return 0;
    }
    fuzz::require(read.history->size() <= historyLimits::maxStations, "station bound");
    // Calls that may be in the input: each field of the first lines.
    for (const QByteArray& line : bytes.left(4096).split('\n')) {
        for (const QByteArray& field : line.split(',')) {
            const std::string call = CallIndex::normalized(field.toStdString());
            if (call.empty()) {
                continue;
            }
            if (const auto entry = read.history->find(QString::fromStdString(call))) {
                fuzz::require(entry->name.size() <= CallHistory::maxNameLength, "name fits its box");
                fuzz::require(entry->location.size() <= CallHistory::maxLocationLength,
                              "location fits its box");
                for (const QString& value : {entry->name, entry->location}) {
                    for (const QChar c : value) {
                        fuzz::require(c.unicode() >= 0x20 && c.unicode() <= 0xFF && c != QLatin1Char('"'),
                                      "Latin-1 without quotes or control characters");
                    }
                }
            }
        }
    }
    return 0;
}
