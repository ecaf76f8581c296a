// VELKpref.txt: any file reads without crashing, and what was read saves and reads back the same.
#include "fuzz_common.h"
#include "log/preferences.h"

using namespace velk;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    bool ok = false;
    const Preferences prefs = parsePreferences(fuzz::bytesOf(data, size), &ok);
    fuzz::require(prefs.formSizePercent >= 30 && prefs.formSizePercent <= 100, "form size in range");
    bool againOk = false;
    const Preferences again = parsePreferences(encodePreferences(prefs), &againOk);
    fuzz::require(againOk, "saved preferences read back");
    fuzz::require(again == prefs, "saved preferences read back the same");
    return 0;
}
