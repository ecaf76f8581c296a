// arrlpre2.txt: any table parses, and every search on it ends with a valid answer, sorted or not.
#include "fuzz_common.h"
#include "log/prefixtable.h"

#include <QStringList>

using namespace velk;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const PrefixTable table = PrefixTable::parse(bytes);
    QStringList calls{QStringLiteral("K1ABC"),    QStringLiteral("VE3XYZ"),   QStringLiteral("KG4AB"),
                      QStringLiteral("XE1/W1AW"), QStringLiteral("w1aw/kh6"), QStringLiteral("0"),
                      QStringLiteral("\xff")};
    // Calls from the input itself reach the table's own prefixes.
    for (int i = 0; i < table.size() && i < 8; ++i) {
        calls << table.at(i).prefix + QStringLiteral("1AB") << table.at(i).prefix;
    }
    calls << QString::fromLatin1(bytes.left(12));
    for (const QString& call : calls) {
        for (const auto cs : {Qt::CaseInsensitive, Qt::CaseSensitive}) {
            const int match = table.longestMatch(call, cs);
            fuzz::require(match >= -1 && match < table.size(), "match in range");
            if (match >= 0) {
                fuzz::require(call.startsWith(table.at(match).prefix, cs), "a match is a prefix of the call");
            }
            const int completed = table.completeCountry(call.left(3), cs);
            fuzz::require(completed >= -1 && completed < table.size(), "completion in range");
        }
        const CallLocation where = locateCall(table, call);
        fuzz::require(where.entry >= -1 && where.entry < table.size(), "located entry in range");
        callForLookup(call);
    }
    if (!table.isEmpty()) {
        const int first = table.firstOfCountry(table.at(table.size() - 1).country);
        fuzz::require(first >= 0 && first < table.size(), "a country of the table is found");
    }
    return 0;
}
