#include "rig/rigcodec.h"

#include <charconv>
#include <cmath>

namespace velk {

std::optional<double> saneMhz(double mhz)
{
    if (!std::isfinite(mhz) || mhz < 0.1 || mhz > 500.0) {
        return std::nullopt;
    }
    return std::round(mhz * 100000.0) / 100000.0;
}

long long frequencyUnits(double mhz, int unitHz)
{
    // The caller's single-precision MHz, taken as the shortest decimal that single precision
    // stands for: 21.03 is 21,030,000 Hz, not the 21,030,001 its binary value widens to.
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, static_cast<float>(mhz)).ptr;
    double decimal = 0.0;
    std::from_chars(text, end, decimal);
    return std::llround(decimal * 1000000.0 / unitHz);
}

PollQuery pollQuery(const RadioType& type, const RigSettings& settings, bool queryToggle)
{
    switch (type.family) {
    case RadioFamily::Kenwood:
    case RadioFamily::KenwoodIf:
    case RadioFamily::FtDx9000:
    case RadioFamily::TenTecOrion:
        return type.family == RadioFamily::TenTecOrion ? tentec::poll(type, settings, queryToggle)
                                                       : kenwood::poll(type, settings, queryToggle);
    case RadioFamily::CiV:
        return civ::poll(settings, queryToggle);
    case RadioFamily::TenTecPanel:
        return tentec::poll(type, settings, queryToggle);
    case RadioFamily::Yaesu5:
    case RadioFamily::YaesuStatus:
        return yaesu::poll(type, settings);
    case RadioFamily::Other: {
        PollQuery query;
        for (const QString& text : {settings.frequencyQuery, settings.modeQuery}) {
            if (!text.isEmpty()) {
                query.bytes += settings.sendAsHex ? spacedHexToBytes(text) : text.toLatin1();
            }
        }
        query.reply.kind = ReplyShape::Kind::AnyBytes;
        return query;
    }
    case RadioFamily::Hamlib:
        return hamlib::poll();
    case RadioFamily::Pegasus:
    case RadioFamily::None:
        break;
    }
    return {};
}

bool replyComplete(const ReplyShape& shape, const QByteArray& buffer)
{
    switch (shape.kind) {
    case ReplyShape::Kind::Nothing:
        return true;
    case ReplyShape::Kind::Terminators:
        return buffer.count(shape.terminator) >= shape.count;
    case ReplyShape::Kind::Length:
        return buffer.size() >= shape.count;
    case ReplyShape::Kind::CivFrame:
        return civ::complete(shape, buffer);
    case ReplyShape::Kind::PanelRecord:
        return tentec::panelRecordComplete(buffer);
    case ReplyShape::Kind::AnyBytes:
        return !buffer.isEmpty();
    case ReplyShape::Kind::Reports:
        return hamlib::complete(shape, buffer);
    }
    return false;
}

RigReading decodeReply(const RadioType& type, const RigSettings& settings, const ReplyShape& shape,
                       const QByteArray& buffer)
{
    if (buffer.size() > maxReplyBytes) {
        return {};
    }
    switch (type.family) {
    case RadioFamily::Kenwood:
    case RadioFamily::KenwoodIf:
    case RadioFamily::FtDx9000:
        return kenwood::decode(type, settings, buffer);
    case RadioFamily::CiV:
        return civ::decode(type, shape, buffer);
    case RadioFamily::TenTecPanel:
    case RadioFamily::TenTecOrion:
        return tentec::decode(type, buffer);
    case RadioFamily::Yaesu5:
    case RadioFamily::YaesuStatus:
        return yaesu::decode(type, buffer);
    case RadioFamily::Hamlib:
        return hamlib::decode(buffer);
    default:
        return {};
    }
}

QByteArray frequencyCommand(const RadioType& type, const RigSettings& settings, double mhz, int activeVfo)
{
    switch (type.family) {
    case RadioFamily::Kenwood:
    case RadioFamily::KenwoodIf:
    case RadioFamily::FtDx9000:
        return kenwood::frequency(type, settings, mhz, activeVfo);
    case RadioFamily::CiV:
        return civ::frequency(type, settings, mhz);
    case RadioFamily::TenTecPanel:
    case RadioFamily::TenTecOrion:
        return tentec::frequency(type, mhz);
    case RadioFamily::Yaesu5:
    case RadioFamily::YaesuStatus:
        return yaesu::frequency(type, mhz);
    case RadioFamily::Hamlib:
        return hamlib::frequency(mhz);
    default:
        return {};
    }
}

QByteArray modeCommand(const RadioType& type, const RigSettings& settings, const QString& mode)
{
    switch (type.family) {
    case RadioFamily::Kenwood:
    case RadioFamily::KenwoodIf:
    case RadioFamily::FtDx9000:
        return kenwood::mode(type, settings, mode);
    case RadioFamily::CiV:
        return civ::mode(type, settings, mode);
    case RadioFamily::Yaesu5:
    case RadioFamily::YaesuStatus:
        return yaesu::mode(type, mode);
    case RadioFamily::Hamlib:
        return hamlib::mode(mode);
    default:
        return {};
    }
}

QByteArray openingBytes(const RadioType& type, bool catSwitch)
{
    // The status-block models have no opcode 00 and ignore it.
    if ((type.family == RadioFamily::Yaesu5 && catSwitch) || type.family == RadioFamily::YaesuStatus) {
        return QByteArray(5, '\0');
    }
    if (type.family == RadioFamily::TenTecOrion) {
        return QByteArrayLiteral("X\r");
    }
    return {};
}

QByteArray closingBytes(const RadioType& type, bool catSwitch)
{
    if ((type.family == RadioFamily::Yaesu5 && catSwitch) || type.family == RadioFamily::YaesuStatus) {
        return QByteArray::fromHex("0000000080");
    }
    return {};
}

} // namespace velk
