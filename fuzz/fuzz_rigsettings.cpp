// RigCntrl.txt: any file reads without crashing, every field read stays in its range, and what
// was read saves and reads back the same.
#include "fuzz_common.h"
#include "rig/rigsettings.h"

using namespace velk;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    RigSettings settings;
    parseRigSettings(fuzz::bytesOf(data, size), settings);
    fuzz::require(settings.commPort >= 1 && settings.commPort <= 10, "port in range");
    fuzz::require(settings.dataBits == 7 || settings.dataBits == 8, "data bits");
    fuzz::require(settings.stopBits == 1 || settings.stopBits == 2, "stop bits");
    fuzz::require(settings.baudText.size() == 5, "baud text of five characters");
    fuzz::require(serialBaud(settings.baudText) > 0, "a usable baud rate");
    RigSettings again;
    const int fields = parseRigSettings(encodeRigSettings(settings), again);
    // Texts that hold a quote or a line end cannot be written back; the rest reads back whole.
    const auto writable = [](const QString& text) {
        return !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\r')) &&
               !text.contains(QLatin1Char('\n'));
    };
    if (writable(settings.modeQuery) && writable(settings.frequencyQuery) && writable(settings.rigType)) {
        fuzz::require(fields == 14, "saved settings read back");
        fuzz::require(again == settings, "saved settings read back the same");
    }
    return 0;
}
