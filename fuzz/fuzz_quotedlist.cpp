// The quoted-list settings format: every line the reader returns writes back and reads again to
// the same values; numbers read, format and read again to the same single.
#include "common/quotedlist.h"
#include "fuzz_common.h"

#include <cmath>

using namespace velk;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    QuotedListReader reader(fuzz::bytesOf(data, size));
    int lines = 0;
    while (!reader.atEnd()) {
        const int before = reader.lineNumber();
        const std::optional<QStringList> values = reader.nextLine();
        fuzz::require(reader.lineNumber() > before, "the reader moves on");
        fuzz::require(++lines <= static_cast<int>(size) + 1, "no more lines than bytes");
        if (!values || values->isEmpty()) {
            continue;
        }
        QuotedListWriter writer;
        for (const QString& value : *values) {
            writer.text(value);
            if (const auto number = parseSettingsNumber(value)) {
                const float single = static_cast<float>(*number);
                if (std::isfinite(single)) {
                    const auto back = parseSettingsNumber(formatSettingsNumber(single));
                    fuzz::require(back.has_value(), "a formatted number reads back");
                    fuzz::require(static_cast<float>(*back) == single, "a formatted number keeps its value");
                }
            }
        }
        writer.endLine();
        QuotedListReader again(writer.bytes());
        const std::optional<QStringList> reread = again.nextLine();
        fuzz::require(reread.has_value() && *reread == *values, "a written line reads back the same");
        fuzz::require(again.atEnd(), "a written line is one line");
    }
    return 0;
}
