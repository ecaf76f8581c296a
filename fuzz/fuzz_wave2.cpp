// wave2.txt: any file reads without crashing, and settings the file can hold save and read back
// the same.
#include "fuzz_common.h"
#include "voice/voicesettings.h"

using namespace velk;

namespace {

bool storable(const VoiceSettings& settings)
{
    QStringList values(settings.files.cbegin(), settings.files.cend());
    values << settings.pttPort << settings.loopSeconds << settings.parallelAddress;
    for (const QString& value : values) {
        if (value.contains(QLatin1Char('"'))) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    bool ok = false;
    const VoiceSettings settings = parseVoiceSettings(fuzz::bytesOf(data, size), &ok);
    const QByteArray encoded = encodeVoiceSettings(settings);
    fuzz::require(encoded.count("\r\n") == 13, "thirteen lines written");
    if (storable(settings)) {
        bool againOk = false;
        const VoiceSettings again = parseVoiceSettings(encoded, &againOk);
        fuzz::require(againOk, "saved settings read back");
        fuzz::require(again == settings, "saved settings read back the same");
    }
    (void)loopPauseMs(settings.loopSeconds);
    (void)pttTarget(settings);
    return 0;
}
