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
        // Below 10 MHz the radio pads the field to eight places with a space: "@AF 7150000".
        const QByteArray digits = end > at ? buffer.mid(at + 3, end - at - 3).trimmed() : QByteArray();
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

// The length of the front-panel record starting at `at` ('A' or 'M' ... CR), 0 when none starts there.
int panelRecordAt(const QByteArray& buffer, qsizetype at)
{
    const char letter = buffer.at(at);
    const int length = letter == 'A' ? panelFrequencyReply : letter == 'M' ? panelModeReply : 0;
    if (length == 0 || at + length > buffer.size() || buffer.at(at + length - 1) != '\r') {
        return 0;
    }
    return length;
}

std::optional<QString> panelMode(char receiveMode)
{
    switch (receiveMode & 0x0F) {
    case 0:
    case 1:
    case 2:
    case 4:
        return QStringLiteral("PH");
    case 3:
        return QStringLiteral("CW");
    default:
        return std::nullopt;
    }
}

// Every record in the buffer is taken by its leading letter, whichever query it answers: a radio
// slower than the poll answers the frequency while the mode is awaited.
RigReading decodePanel(const QByteArray& buffer)
{
    RigReading reading;
    qsizetype at = 0;
    while (at < buffer.size()) {
        const int length = panelRecordAt(buffer, at);
        if (length == panelFrequencyReply) {
            quint32 hz = 0;
            for (int k = 1; k <= 4; ++k) {
                hz = hz << 8 | static_cast<quint8>(buffer.at(at + k));
            }
            reading.mhz = saneMhz(hz / 1000000.0);
        } else if (length == panelModeReply) {
            if (const auto mode = panelMode(buffer.at(at + 1))) {
                reading.mode = mode;
            }
        }
        at += std::max(length, 1);
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
    query.reply.kind = query.bytes.isEmpty() ? ReplyShape::Kind::Nothing : ReplyShape::Kind::PanelRecord;
    query.reply.frequencyReply = !queryToggle;
    query.queryToggle = !queryToggle;
    return query;
}

RigReading decode(const RadioType& type, const QByteArray& buffer)
{
    return type.family == RadioFamily::TenTecOrion ? decodeOrion(buffer) : decodePanel(buffer);
}

bool panelRecordComplete(const QByteArray& buffer)
{
    for (qsizetype at = 0; at < buffer.size(); ++at) {
        if (panelRecordAt(buffer, at) > 0) {
            return true;
        }
    }
    return false;
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
