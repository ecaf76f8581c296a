// Ten-Tec command sets: the front-panel protocol ("?A" / "?M", binary replies) and the Orion
// ("?AF" / "?RMM", text replies ended by CR).
#include "rig/rigcodec.h"

namespace velk::tentec {

namespace {

constexpr int panelFrequencyReply = 6; // 'A', four bytes of Hz, CR
constexpr int panelModeReply = 4;      // 'M', receive mode, transmit mode, CR

RigReading decodeOrion(const QByteArray& buffer)
{
    RigReading reading;
    const qsizetype at = buffer.indexOf("@AF");
    if (at >= 0) {
        const qsizetype end = buffer.indexOf('\r', at);
        const QByteArray digits = end > at ? buffer.mid(at + 3, end - at - 3) : QByteArray();
        bool ok = !digits.isEmpty() && digits.size() <= 10;
        for (const char c : digits) {
            ok = ok && c >= '0' && c <= '9';
        }
        if (ok) {
            reading.mhz = saneMhz(digits.toLongLong() / 1000000.0);
        }
    }
    const qsizetype modeAt = buffer.indexOf("@RMM");
    if (modeAt >= 0 && modeAt + 5 < buffer.size() && buffer.at(modeAt + 5) == '\r') {
        const char digit = buffer.at(modeAt + 4);
        reading.mode = (digit == '2' || digit == '3') ? QStringLiteral("CW") : QStringLiteral("PH");
    }
    return reading;
}

RigReading decodePanel(const ReplyShape& shape, const QByteArray& buffer)
{
    RigReading reading;
    if (shape.frequencyReply) {
        if (buffer.size() < panelFrequencyReply || buffer.at(0) != 'A' || buffer.at(5) != '\r') {
            return reading;
        }
        quint32 hz = 0;
        for (int k = 1; k <= 4; ++k) {
            hz = hz << 8 | static_cast<quint8>(buffer.at(k));
        }
        reading.mhz = saneMhz(hz / 1000000.0);
        return reading;
    }
    if (buffer.size() < panelModeReply || buffer.at(0) != 'M' || buffer.at(3) != '\r') {
        return reading;
    }
    switch (buffer.at(1) & 0x0F) {
    case 0:
    case 1:
    case 2:
    case 4:
        reading.mode = QStringLiteral("PH");
        break;
    case 3:
        reading.mode = QStringLiteral("CW");
        break;
    default:
        break;
    }
    return reading;
}

} // namespace

PollQuery poll(const RadioType& type, const RigSettings& settings, bool queryToggle)
{
    PollQuery query;
    if (type.family == RadioFamily::TenTecOrion) {
        query.reply.kind = ReplyShape::Kind::Terminators;
        query.reply.terminator = '\r';
        for (const QString& text : {settings.frequencyQuery, settings.modeQuery}) {
            if (!text.isEmpty()) {
                query.bytes += text.toLatin1() + '\r';
                ++query.reply.count;
            }
        }
        return query;
    }
    const QString& text = queryToggle ? settings.modeQuery : settings.frequencyQuery;
    if (text.size() >= 7) {
        query.bytes = spacedHexToBytes(text.left(8));
    }
    query.reply.kind = query.bytes.isEmpty() ? ReplyShape::Kind::Nothing : ReplyShape::Kind::Length;
    query.reply.count = queryToggle ? panelModeReply : panelFrequencyReply;
    query.reply.frequencyReply = !queryToggle;
    query.queryToggle = !queryToggle;
    return query;
}

RigReading decode(const RadioType& type, const ReplyShape& shape, const QByteArray& buffer)
{
    return type.family == RadioFamily::TenTecOrion ? decodeOrion(buffer) : decodePanel(shape, buffer);
}

QByteArray frequency(const RadioType& type, double mhz)
{
    const long long hz = frequencyUnits(mhz, 1);
    if (hz <= 0 || hz > 0xFFFFFFFFLL) {
        return {};
    }
    if (type.family == RadioFamily::TenTecOrion) {
        return QByteArrayLiteral("*AF") + QByteArray::number(hz) + '\r';
    }
    QByteArray bytes = QByteArrayLiteral("*A");
    for (int shift = 24; shift >= 0; shift -= 8) {
        bytes.append(static_cast<char>((hz >> shift) & 0xFF));
    }
    return bytes + '\r';
}

} // namespace velk::tentec
