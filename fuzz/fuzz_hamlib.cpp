// What comes from Hamlib's programs and the Hamlib settings file: rigctld's answer blocks, the
// model list of `rigctl -l` and RigHamlib.txt read without crashing, within their bounds, and the
// settings read back the same once saved.
#include "fuzz_common.h"
#include "rig/hamlibsettings.h"
#include "rig/rigcodec.h"

using namespace velk;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    qsizetype used = 0;
    const QList<hamlib::Answer> answers = hamlib::answers(bytes, &used);
    fuzz::require(used >= 0 && used <= bytes.size(), "answers taken from within the bytes");
    fuzz::require(answers.size() <= bytes.count('\n'), "an answer per report line at most");
    for (const HamlibModel& model : parseHamlibModels(bytes)) {
        fuzz::require(model.number > 0, "a model has a number");
    }
    HamlibSettings settings;
    readHamlibSettings(bytes, settings);
    fuzz::require(settings.model >= 1 && settings.port >= 1 && settings.port <= 65535, "settings in range");
    const auto writable = [](const QString& text) {
        return !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\r')) &&
               !text.contains(QLatin1Char('\n')) && text == text.trimmed();
    };
    if (writable(settings.device) && writable(settings.host)) {
        HamlibSettings again;
        readHamlibSettings(encodeHamlibSettings(settings), again);
        fuzz::require(again == settings, "saved settings read back the same");
    }
    return 0;
}
