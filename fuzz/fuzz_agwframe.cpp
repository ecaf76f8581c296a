// Bytes from the packet engine: frames decoded until the stream runs out or is refused.
#include "fuzz_common.h"
#include "spots/agwframe.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    using namespace velk;
    QByteArray buffer = fuzz::bytesOf(data, size);
    while (true) {
        const AgwDecodeResult result = decodeAgwFrame(buffer);
        if (result.status != AgwDecodeResult::Status::Frame) {
            break;
        }
        fuzz::require(result.consumed >= agwHeaderSize && result.consumed <= buffer.size(),
                      "frame inside buffer");
        fuzz::require(result.frame.data.size() <= static_cast<qsizetype>(agwMaxDataLength), "data bounded");
        fuzz::require(result.frame.callFrom.size() <= 10, "call bounded");
        // What decodes encodes to the same header fields.
        const AgwDecodeResult again = decodeAgwFrame(encodeAgwFrame(result.frame));
        fuzz::require(again.status == AgwDecodeResult::Status::Frame && again.frame.data == result.frame.data,
                      "round trip keeps the data");
        buffer.remove(0, result.consumed);
    }
    return 0;
}
