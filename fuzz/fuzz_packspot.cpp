// PackSpot.txt as found on disk: read, written and read again to the same settings.
#include "fuzz_common.h"
#include "spots/spotsettings.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    using namespace velk;
    const SpotSettings settings = parseSpotSettings(fuzz::bytesOf(data, size));
    fuzz::require(settings.commPort >= 1 && settings.commPort <= 10, "port number in range");
    fuzz::require(settings.handshaking >= 1 && settings.handshaking <= 4, "handshaking in range");
    const QByteArray encoded = encodeSpotSettings(settings);
    // Values holding a quote or a line end cannot be written back faithfully; the rest must.
    const SpotSettings again = parseSpotSettings(encoded);
    if (encoded.count("\r\n") == 14) {
        fuzz::require(again.commPort == settings.commPort && again.source == settings.source &&
                          again.listMode == settings.listMode,
                      "numbers and choices survive a round trip");
    }
    return 0;
}
