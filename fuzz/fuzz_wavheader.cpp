// WAV headers: any bytes read without crashing, and a layout found lies inside the file.
#include "common/wavfile.h"
#include "fuzz_common.h"

using namespace velk;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    QString error;
    const auto layout = readWavLayout(bytes, &error);
    if (!layout) {
        fuzz::require(!error.isEmpty(), "a refusal says why");
        return 0;
    }
    fuzz::require(layout->dataBytes > 0, "sound in the file");
    fuzz::require(layout->dataOffset >= 12 && layout->dataOffset + layout->dataBytes <= bytes.size(),
                  "samples inside the file");
    fuzz::require(layout->dataBytes % layout->bytesPerFrame() == 0, "whole frames");
    fuzz::require(layout->durationMs() >= 0, "duration not negative");
    return 0;
}
