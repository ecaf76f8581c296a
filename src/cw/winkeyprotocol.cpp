#include "cw/winkeyprotocol.h"

#include <algorithm>
#include <array>

namespace velk::winkey {

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    out.reserve(static_cast<qsizetype>(values.size()));
    for (int value : values) {
        out.append(static_cast<char>(value & 0xFF));
    }
    return out;
}

struct Prosign
{
    char character;
    char first;
    char second;
};

// The keyer's prosign characters and the letters the device merges for them.
constexpr std::array<Prosign, 4> prosigns{
    {{'[', 'A', 'R'}, {']', 'S', 'K'}, {';', 'K', 'N'}, {'\\', 'C', 'L'}}};

constexpr std::uint8_t statusMask = 0xE0;
constexpr std::uint8_t statusTag = 0xC0;
constexpr std::uint8_t potMask = 0xC0;
constexpr std::uint8_t potTag = 0x80;

} // namespace

int clampSpeed(int wpm)
{
    return std::clamp(wpm, minSpeed, maxSpeed);
}

int clampWeight(int weight)
{
    return std::clamp(weight, minWeight, maxWeight);
}

int clampRatio(int ratio)
{
    return std::clamp(ratio, minRatio, maxRatio);
}

int clampLeadTail(int tenMs)
{
    return std::clamp(tenMs, 0, maxLeadTail);
}

QByteArray echoTest(std::uint8_t probe)
{
    return bytes({0x00, 0x04, probe});
}

QByteArray hostOpen()
{
    return bytes({0x00, 0x02});
}

QByteArray hostClose()
{
    return bytes({0x00, 0x03});
}

QByteArray setSpeed(int wpm)
{
    return bytes({0x02, clampSpeed(wpm)});
}

QByteArray setWeight(int weight)
{
    return bytes({0x03, clampWeight(weight)});
}

QByteArray setLeadTail(int lead, int tail)
{
    return bytes({0x04, clampLeadTail(lead), clampLeadTail(tail)});
}

QByteArray setPinConfig(std::uint8_t value)
{
    return bytes({0x09, value});
}

QByteArray setMode(std::uint8_t value)
{
    return bytes({0x0E, value});
}

QByteArray setRatio(int ratio)
{
    return bytes({0x17, clampRatio(ratio)});
}

QByteArray clearBuffer()
{
    return bytes({0x0A});
}

QByteArray backspace()
{
    return bytes({0x08});
}

QByteArray mergeLetters(char first, char second)
{
    return bytes({0x1B, first, second});
}

QByteArray encodeCharacter(QChar character)
{
    const char16_t code = character.toUpper().unicode();
    if ((code >= u'A' && code <= u'Z') || (code >= u'0' && code <= u'9')) {
        return QByteArray(1, static_cast<char>(code));
    }
    switch (code) {
    case u' ':
    case u'.':
    case u',':
    case u'?':
    case u'/':
    case u'=':
        return QByteArray(1, static_cast<char>(code));
    case u'-':
        return QByteArray(1, '='); // the keyer's table keys "-" as BT
    default:
        break;
    }
    for (const Prosign& prosign : prosigns) {
        if (code == static_cast<char16_t>(prosign.character)) {
            return mergeLetters(prosign.first, prosign.second);
        }
    }
    return {};
}

DeviceByte decodeByte(std::uint8_t byte)
{
    if ((byte & statusMask) == statusTag) {
        return {ByteKind::Status, byte};
    }
    if ((byte & potMask) == potTag) {
        return {ByteKind::SpeedPot, static_cast<std::uint8_t>(byte & 0x3F)};
    }
    if (byte >= 0x80) {
        // 111xxxxx is not assigned: read as a status byte it would fake the flags.
        return {ByteKind::Unknown, byte};
    }
    return {ByteKind::Data, byte};
}

std::vector<DeviceByte> decodeBytes(const QByteArray& bytes)
{
    std::vector<DeviceByte> out;
    out.reserve(static_cast<size_t>(bytes.size()));
    for (char byte : bytes) {
        out.push_back(decodeByte(static_cast<std::uint8_t>(byte)));
    }
    return out;
}

Status decodeStatus(std::uint8_t byte)
{
    Status status;
    status.xoff = (byte & 0x01) != 0;
    status.breakIn = (byte & 0x02) != 0;
    status.busy = (byte & 0x04) != 0;
    status.keyDown = (byte & 0x08) != 0;
    status.wait = (byte & 0x10) != 0;
    return status;
}

std::uint8_t encodeStatus(const Status& status)
{
    return static_cast<std::uint8_t>(statusTag | (status.xoff ? 0x01 : 0) | (status.breakIn ? 0x02 : 0) |
                                     (status.busy ? 0x04 : 0) | (status.keyDown ? 0x08 : 0) |
                                     (status.wait ? 0x10 : 0));
}

} // namespace velk::winkey
