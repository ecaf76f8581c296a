// MASTER.SCP: any bytes read within the bounds, and every partial match on the result is a call
// of the index that holds the typed text (or is one edit away from it).
#include "fuzz_common.h"
#include "log/partialmatcher.h"
#include "log/scpfile.h"

#include <QBuffer>

using namespace velk;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    QByteArray bytes = fuzz::bytesOf(data, size);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const ScpRead read = readScp(buffer, QStringLiteral("fuzz.scp"));
    fuzz::require(!read.report.isEmpty() && !read.report.contains(QLatin1Char('\n')), "one report line");
    if (!read.calls) {
        return 0;
    }
    fuzz::require(read.calls->size() <= static_cast<std::size_t>(scpLimits::maxCalls), "call bound");
    PartialMatcher matcher;
    matcher.setDatabase(read.calls);
    QStringList typed{QStringLiteral("K1"), QStringLiteral("/"), QStringLiteral("1ab"),
                      QStringLiteral("ZZZZZZ")};
    for (std::uint32_t id = 0; id < read.calls->size() && id < 4; ++id) {
        const std::string_view call = read.calls->call(id);
        fuzz::require(CallIndex::isCallText(call), "only calls kept");
        const QString text = QString::fromLatin1(call.data(), static_cast<qsizetype>(call.size()));
        typed << text << text.mid(1) << text + QStringLiteral("X")
              << text.left(text.size() - 1) + QStringLiteral("Q");
    }
    for (const QString& text : typed) {
        const MatchList list = matcher.match(text, u"20", 10);
        fuzz::require(list.calls.size() <= 10, "limit kept");
        for (const CallMatch& match : list.calls) {
            fuzz::require(read.calls->find(match.call.toStdString()).has_value(), "a match is a known call");
            fuzz::require(list.nearMatches || match.call.contains(text.toUpper()),
                          "a partial match holds the text");
        }
    }
    return 0;
}
