// Icom CI-V frames (Icom, Icom 735, Ten-Tec Omni VI): FE FE to from command data FD, the
// frequency as BCD, least significant byte first, five bytes (four on the IC-735).
#include "rig/rigcodec.h"

#include <array>
#include <vector>

namespace velk::civ {

namespace {

constexpr quint8 preamble = 0xFE;
constexpr quint8 endOfMessage = 0xFD;
constexpr quint8 notGood = 0xFA;

struct Frame
{
    quint8 command = 0;
    QByteArray data;
};

// The whole frames in the buffer (FE FE to from command ... FD); bytes before a preamble and a
// frame cut short are skipped.
std::vector<Frame> frames(const QByteArray& buffer)
{
    std::vector<Frame> found;
    qsizetype i = 0;
    while (i + 1 < buffer.size()) {
        if (static_cast<quint8>(buffer.at(i)) != preamble ||
            static_cast<quint8>(buffer.at(i + 1)) != preamble) {
            ++i;
            continue;
        }
        qsizetype start = i + 2;
        // Some interfaces send more than two preambles.
        while (start < buffer.size() && static_cast<quint8>(buffer.at(start)) == preamble) {
            ++start;
        }
        const qsizetype end = buffer.indexOf(static_cast<char>(endOfMessage), start);
        if (end < 0) {
            break;
        }
        if (end - start >= 3) {
            Frame frame;
            frame.command = static_cast<quint8>(buffer.at(start + 2));
            frame.data = buffer.mid(start + 3, end - start - 3);
            found.push_back(frame);
        }
        i = end + 1;
    }
    return found;
}

struct ModeCode
{
    const char* mode;
    quint8 code;
};

constexpr std::array<ModeCode, 8> modeCodes{{
    {"CW", 0x03},
    {"LSB", 0x00},
    {"USB", 0x01},
    {"AM", 0x02},
    {"FM", 0x05},
    {"RTTY", 0x04},
    {"CW-R", 0x07},
    {"RTTY-R", 0x08},
}};

// The radio's bus address: the third pair of the frequency query ("FE FE 64 E0 03 FD").
std::optional<quint8> address(const RigSettings& settings)
{
    if (settings.frequencyQuery.size() < 8) {
        return std::nullopt;
    }
    const QByteArray pair = settings.frequencyQuery.mid(6, 2).toLatin1();
    bool ok = false;
    const int value = pair.toInt(&ok, 16);
    if (!ok || value < 0 || value > 0xDF) {
        return std::nullopt;
    }
    return static_cast<quint8>(value);
}

QByteArray header(quint8 to)
{
    QByteArray bytes;
    bytes.append(static_cast<char>(preamble));
    bytes.append(static_cast<char>(preamble));
    bytes.append(static_cast<char>(to));
    bytes.append(static_cast<char>(0xE0));
    return bytes;
}

} // namespace

PollQuery poll(const RigSettings& settings, bool queryToggle)
{
    PollQuery query;
    const QString& text = queryToggle ? settings.modeQuery : settings.frequencyQuery;
    if (text.size() >= 17) {
        query.bytes = spacedHexToBytes(text.left(17));
    }
    query.reply.kind = query.bytes.isEmpty() ? ReplyShape::Kind::Nothing : ReplyShape::Kind::CivFrame;
    query.reply.civCommand = queryToggle ? 0x04 : 0x03;
    query.reply.frequencyReply = !queryToggle;
    query.queryToggle = !queryToggle;
    return query;
}

bool complete(const ReplyShape& shape, const QByteArray& buffer)
{
    for (const Frame& frame : frames(buffer)) {
        // The echo of the query has no data; the radio's answer has, or says NG.
        if ((frame.command == shape.civCommand && !frame.data.isEmpty()) || frame.command == notGood) {
            return true;
        }
    }
    return false;
}

RigReading decode(const RadioType& type, const ReplyShape& shape, const QByteArray& buffer)
{
    RigReading reading;
    for (const Frame& frame : frames(buffer)) {
        if (frame.command != shape.civCommand || frame.data.isEmpty()) {
            continue;
        }
        if (shape.civCommand == 0x04) {
            reading.mode =
                static_cast<quint8>(frame.data.at(0)) == 0x03 ? QStringLiteral("CW") : QStringLiteral("PH");
            return reading;
        }
        if (frame.data.size() != 4 && frame.data.size() != 5) {
            continue;
        }
        long long hz = 0;
        bool decimal = true;
        for (qsizetype k = frame.data.size() - 1; k >= 0; --k) {
            const auto byte = static_cast<quint8>(frame.data.at(k));
            const int high = byte >> 4;
            const int low = byte & 0x0F;
            decimal = decimal && high < 10 && low < 10;
            hz = hz * 100 + high * 10 + low;
        }
        if (decimal) {
            reading.mhz = saneMhz(hz / 1000000.0);
            return reading;
        }
    }
    (void)type;
    return reading;
}

QByteArray frequency(const RadioType& type, const RigSettings& settings, double mhz)
{
    const auto to = address(settings);
    long long hz = frequencyUnits(mhz, 1);
    const int width = type.civFrequencyBytes;
    const long long limit = width == 4 ? 99999999LL : 9999999999LL;
    if (!to || hz <= 0 || hz > limit) {
        return {};
    }
    QByteArray bytes = header(*to);
    bytes.append(static_cast<char>(0x05));
    for (int k = 0; k < width; ++k) {
        const int pair = static_cast<int>(hz % 100);
        hz /= 100;
        bytes.append(static_cast<char>((pair / 10) << 4 | (pair % 10)));
    }
    bytes.append(static_cast<char>(endOfMessage));
    return bytes;
}

QByteArray mode(const RadioType& type, const RigSettings& settings, const QString& mode)
{
    // The IC-735 has no mode command in this set.
    if (type.civFrequencyBytes == 4) {
        return {};
    }
    const auto to = address(settings);
    if (!to) {
        return {};
    }
    for (const ModeCode& row : modeCodes) {
        if (mode == QLatin1String(row.mode)) {
            QByteArray bytes = header(*to);
            bytes.append(static_cast<char>(0x06));
            bytes.append(static_cast<char>(row.code));
            bytes.append(static_cast<char>(endOfMessage));
            return bytes;
        }
    }
    return {};
}

} // namespace velk::civ
