// The WinKey device's bytes and WK.txt: any input decodes without crashing, status bytes keep
// their flags, and settings read from any file are ones the device takes and read back the same.
#include "cw/winkeyprotocol.h"
#include "cw/winkeysettingsfile.h"
#include "fuzz_common.h"

using namespace velk;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const auto decoded = winkey::decodeBytes(bytes);
    fuzz::require(decoded.size() == size, "one result per byte");
    for (size_t i = 0; i < size; ++i) {
        const auto byte = static_cast<std::uint8_t>(data[i]);
        if (decoded[i].kind == winkey::ByteKind::Status) {
            fuzz::require(winkey::encodeStatus(winkey::decodeStatus(byte)) == byte, "status round trip");
        }
        if (decoded[i].kind == winkey::ByteKind::SpeedPot) {
            fuzz::require(decoded[i].value < 64, "pot value in six bits");
        }
    }
    WinKeySettings settings;
    const int taken = parseWinKeySettings(bytes, settings);
    fuzz::require(taken >= 0 && taken <= 8, "at most eight values");
    fuzz::require(settings.speed >= 5 && settings.speed <= 99, "speed the device takes");
    fuzz::require(settings.weight >= 10 && settings.weight <= 90, "weight the device takes");
    fuzz::require(settings.ratio >= 33 && settings.ratio <= 66, "ratio the device takes");
    fuzz::require(settings.leadIn >= 0 && settings.leadIn <= 250 && settings.tail >= 0 &&
                      settings.tail <= 250,
                  "lead and tail the device takes");
    WinKeySettings again;
    fuzz::require(parseWinKeySettings(encodeWinKeySettings(settings), again) == 8, "saved file reads whole");
    fuzz::require(again == settings, "saved settings read back the same");
    return 0;
}
