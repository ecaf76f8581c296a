// Radio replies: any bytes, for every radio type and both queries, decode without crashing and
// never to a frequency outside 0.1-500 MHz; a reply judged whole or not never crashes either.
#include "fuzz_common.h"
#include "rig/rigcodec.h"

using namespace velk;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    const QByteArray reply = fuzz::bytesOf(data, size);
    for (const RadioType& type : radioTypes()) {
        RigSettings settings;
        applyTypeDefaults(settings, type);
        for (const bool toggle : {false, true}) {
            const ReplyShape shape = pollQuery(type, settings, toggle).reply;
            replyComplete(shape, reply);
            const RigReading reading = decodeReply(type, settings, shape, reply);
            if (reading.mhz) {
                fuzz::require(*reading.mhz >= 0.1 && *reading.mhz <= 500.0, "frequency in the radio range");
            }
            if (reading.mode) {
                const QString& mode = *reading.mode;
                fuzz::require(mode == QLatin1String("CW") || mode == QLatin1String("PH") ||
                                  mode == QLatin1String("AM") || mode == QLatin1String("FM") ||
                                  mode == QLatin1String("RY"),
                              "a known mode");
            }
        }
    }
    return 0;
}
