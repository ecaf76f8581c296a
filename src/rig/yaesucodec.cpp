// Yaesu 5-byte command sets: the FT-817 family's BCD reply ("Yaesu") and the status blocks of
// the FT-757 GX II, FT-890, FT-920, FT-990, FT-1000D and FT-1000MP.
#include "rig/rigcodec.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace velk::yaesu {

namespace {

// Where a status block holds the frequency and the mode, per model.
struct StatusLayout
{
    YaesuModel model;
    int replyLength;      // bytes the status update returns
    int firstHexDigit;    // 1-based hex digit of the frequency stretch
    int hexDigits;        // its length
    double divisor;       // to MHz
    const char* cwDigits; // mode digits read as CW
    const char* phDigits; // mode digits read as phone (nullptr: every other digit)
};

constexpr std::array<StatusLayout, 5> statusLayouts{{
    {YaesuModel::Ft890, 19, 5, 6, 100000.0, "2", "0134567"},
    {YaesuModel::Ft1000, 16, 4, 6, 100000.0, "2", "0134567"},
    {YaesuModel::Ft990, 32, 3, 6, 100000.0, "2", "0134567"},
    {YaesuModel::Ft1000D, 16, 3, 6, 100000.0, "2", "0134567"},
    {YaesuModel::Ft920, 28, 3, 8, 1000000.0, "1", nullptr},
}};

constexpr int ft757ReplyLength = 75;

const StatusLayout* layoutOf(YaesuModel model)
{
    for (const StatusLayout& layout : statusLayouts) {
        if (layout.model == model) {
            return &layout;
        }
    }
    return nullptr;
}

struct ModeCode
{
    const char* mode;
    int code; // -1: no command
};

// Mode bytes of the set-mode command (opcode 0C on the status-block models, 07 on the FT-817).
constexpr std::array<ModeCode, 8> statusModes{{
    {"CW", 0x02},
    {"LSB", 0x00},
    {"USB", 0x01},
    {"AM", 0x04},
    {"FM", 0x06},
    {"RTTY", 0x08},
    {"CW-R", 0x03},
    {"PKT", 0x0A},
}};
// The FT-757 GX II has fewer modes and its FM is 05.
constexpr std::array<ModeCode, 5> ft757Modes{{
    {"CW", 0x02},
    {"LSB", 0x00},
    {"USB", 0x01},
    {"AM", 0x04},
    {"FM", 0x05},
}};
constexpr std::array<ModeCode, 8> ft817Modes{{
    {"CW", 0x02},
    {"LSB", 0x00},
    {"USB", 0x01},
    {"AM", 0x04},
    {"FM", 0x08},
    {"RTTY", 0x0A},
    {"DIG", 0x0A},
    {"PKT", 0x0C},
}};

template <size_t N> int codeOf(const std::array<ModeCode, N>& table, const QString& mode)
{
    for (const ModeCode& row : table) {
        if (mode == QLatin1String(row.mode)) {
            return row.code;
        }
    }
    return -1;
}

// Eight BCD digits from bytes taken in the given order; nothing when a nibble is not decimal.
std::optional<long long> bcd(const QByteArray& bytes, std::initializer_list<int> order)
{
    long long value = 0;
    for (const int index : order) {
        const auto byte = static_cast<quint8>(bytes.at(index));
        if ((byte >> 4) > 9 || (byte & 0x0F) > 9) {
            return std::nullopt;
        }
        value = value * 100 + (byte >> 4) * 10 + (byte & 0x0F);
    }
    return value;
}

QByteArray bcdPairs(long long tensOfHz)
{
    QByteArray bytes;
    for (int k = 0; k < 4; ++k) {
        const int pair = static_cast<int>(tensOfHz % 100);
        tensOfHz /= 100;
        bytes.prepend(static_cast<char>((pair / 10) << 4 | (pair % 10)));
    }
    return bytes;
}

RigReading decodeFt817(const QByteArray& reply)
{
    RigReading reading;
    const auto tens = bcd(reply, {0, 1, 2, 3});
    const auto modeByte = static_cast<quint8>(reply.at(4));
    // A mode byte with a hex letter (0A, 0C, 8A...) marks a reply that is not a status reply.
    if (!tens || (modeByte >> 4) > 9 || (modeByte & 0x0F) > 9) {
        return reading;
    }
    reading.mhz = saneMhz(*tens / 100000.0);
    if (!reading.mhz) {
        return {};
    }
    switch ((modeByte >> 4) * 10 + (modeByte & 0x0F)) {
    case 0:
    case 1:
    case 4:
    case 8:
    case 84:
    case 88:
        reading.mode = QStringLiteral("PH");
        break;
    case 2:
    case 3:
    case 82:
    case 83:
        reading.mode = QStringLiteral("CW");
        break;
    default:
        break;
    }
    return reading;
}

RigReading decodeFt757(const QByteArray& reply)
{
    RigReading reading;
    // The current frequency is stored least significant byte first in bytes 6-9.
    const auto tens = bcd(reply, {8, 7, 6, 5});
    if (!tens) {
        return reading;
    }
    reading.mhz = saneMhz(*tens / 100000.0);
    if (!reading.mhz) {
        return {};
    }
    const auto modeByte = static_cast<quint8>(reply.at(9));
    const int high = modeByte >> 4;
    const int low = modeByte & 0x0F;
    const int value = high > 9 ? -1 : (low > 9 ? high : high * 10 + low);
    static const std::array<const char*, 6> names{"PH", "PH", "CW", "CW", "AM", "FM"};
    if (value >= 0 && value < 6) {
        reading.mode = QString::fromLatin1(names[static_cast<size_t>(value)]);
    }
    return reading;
}

RigReading decodeStatus(const StatusLayout& layout, const QByteArray& reply)
{
    RigReading reading;
    const QString hex = bytesToCompactHex(reply);
    bool ok = false;
    const qulonglong units = hex.mid(layout.firstHexDigit - 1, layout.hexDigits).toULongLong(&ok, 16);
    if (!ok) {
        return reading;
    }
    reading.mhz = saneMhz(units / layout.divisor);
    if (!reading.mhz) {
        return {};
    }
    const char digit = hex.at(15).toLatin1();
    if (std::strchr(layout.cwDigits, digit)) {
        reading.mode = QStringLiteral("CW");
    } else if (!layout.phDigits || std::strchr(layout.phDigits, digit)) {
        reading.mode = QStringLiteral("PH");
    }
    return reading;
}

} // namespace

int replyLength(const RadioType& type)
{
    if (type.family == RadioFamily::Yaesu5) {
        return 5;
    }
    if (type.yaesuModel == YaesuModel::Ft757) {
        return ft757ReplyLength;
    }
    const StatusLayout* layout = layoutOf(type.yaesuModel);
    return layout ? layout->replyLength : 5;
}

PollQuery poll(const RadioType& type, const RigSettings& settings)
{
    PollQuery query;
    if (settings.frequencyQuery.size() > 13) {
        query.bytes = spacedHexToBytes(settings.frequencyQuery.left(14));
    }
    if (query.bytes.size() == 5) {
        query.reply.kind = ReplyShape::Kind::Length;
        query.reply.count = replyLength(type);
    } else {
        query.bytes.clear();
    }
    return query;
}

RigReading decode(const RadioType& type, const QByteArray& buffer)
{
    const int length = replyLength(type);
    if (buffer.size() < length) {
        return {};
    }
    const QByteArray reply = buffer.left(length);
    if (type.family == RadioFamily::Yaesu5) {
        return decodeFt817(reply);
    }
    if (type.yaesuModel == YaesuModel::Ft757) {
        return decodeFt757(reply);
    }
    const StatusLayout* layout = layoutOf(type.yaesuModel);
    return layout ? decodeStatus(*layout, reply) : RigReading{};
}

QByteArray frequency(const RadioType& type, double mhz)
{
    const long long tens = frequencyUnits(mhz, 10);
    if (tens <= 0 || tens > 99999999) {
        return {};
    }
    QByteArray pairs = bcdPairs(tens);
    if (type.family == RadioFamily::Yaesu5) {
        return pairs + '\x01';
    }
    std::reverse(pairs.begin(), pairs.end());
    return pairs + '\x0A';
}

QByteArray mode(const RadioType& type, const QString& mode)
{
    if (type.family == RadioFamily::Yaesu5) {
        const int code = codeOf(ft817Modes, mode);
        if (code < 0) {
            return {};
        }
        return QByteArray(1, static_cast<char>(code)) + QByteArray::fromHex("00000007");
    }
    const int code =
        type.yaesuModel == YaesuModel::Ft757 ? codeOf(ft757Modes, mode) : codeOf(statusModes, mode);
    if (code < 0) {
        return {};
    }
    return QByteArray::fromHex("000000") + static_cast<char>(code) + '\x0C';
}

} // namespace velk::yaesu
