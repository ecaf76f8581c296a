// cw.txt: any file reads without crashing into settings the keyer can use, and what was read
// saves and reads back the same.
#include "cw/cwsettings.h"
#include "fuzz_common.h"

using namespace velk;

namespace {

bool holdsQuote(const CwSettings& settings)
{
    const QChar quote = QLatin1Char('"');
    for (const QString& message : settings.messages) {
        if (message.contains(quote)) {
            return true;
        }
    }
    for (const QString* text : {&settings.comPort, &settings.speed, &settings.wordSpace,
                                &settings.parallelAddress, &settings.repeatSeconds}) {
        if (text->contains(quote)) {
            return true;
        }
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    const CwSettings settings = parseCwSettings(fuzz::bytesOf(data, size));
    const int type = static_cast<int>(settings.keyerType);
    fuzz::require(type >= 0 && type <= 5 && type != 4, "keyer type is one of the options");
    fuzz::require(!settings.messages[8].isEmpty(), "F9 always has a message");
    if (!holdsQuote(settings)) {
        fuzz::require(parseCwSettings(cwSettingsBytes(settings)) == settings,
                      "saved settings read back the same");
    }
    return 0;
}
