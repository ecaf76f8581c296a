// Text command sets ended by ';': Kenwood and Elecraft ("FA;" "MD;"), Kenwood's one "IF;" status
// reply, and the FTdx9000 ("FA;" / "MD0;" in turn).
#include "rig/rigcodec.h"

#include <array>

namespace velk::kenwood {

namespace {

struct ModeDigit
{
    const char* mode;
    char kenwood; // MDn; of Kenwood and Elecraft (0: none)
    char ftdx;    // MD0n; of the FTdx9000 (0: none)
};

constexpr std::array<ModeDigit, 11> modeDigits{{
    {"CW", '3', '3'},
    {"LSB", '1', '1'},
    {"USB", '2', '2'},
    {"AM", '5', '5'},
    {"FM", '4', '4'},
    {"RTTY", '6', '6'},
    {"FSK", '6', 0},
    {"CW-R", 0, '7'},
    {"RTTY-R", 0, 0},
    {"DIG", 0, 0},
    {"PKT", 0, 0},
}};

bool allDigits(const QByteArray& text)
{
    if (text.isEmpty()) {
        return false;
    }
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

// The first whole field "<marker><digits>;" with exactly `width` digits; nothing when none.
std::optional<QByteArray> field(const QByteArray& buffer, const QByteArray& marker, int width)
{
    for (qsizetype pos = buffer.indexOf(marker); pos >= 0; pos = buffer.indexOf(marker, pos + 1)) {
        const qsizetype start = pos + marker.size();
        if (start + width < buffer.size() && buffer.at(start + width) == ';') {
            const QByteArray digits = buffer.mid(start, width);
            if (allDigits(digits)) {
                return digits;
            }
        }
    }
    return std::nullopt;
}

std::optional<double> hzField(const QByteArray& buffer, const QByteArray& marker, int width)
{
    if (const auto digits = field(buffer, marker, width)) {
        return saneMhz(digits->toLongLong() / 1000000.0);
    }
    return std::nullopt;
}

} // namespace

PollQuery poll(const RadioType& type, const RigSettings& settings, bool queryToggle)
{
    PollQuery query;
    query.reply.kind = ReplyShape::Kind::Terminators;
    query.reply.terminator = ';';
    if (type.family == RadioFamily::FtDx9000) {
        const QString& text = queryToggle ? settings.modeQuery : settings.frequencyQuery;
        if (text.size() >= 2) {
            query.bytes = text.toLatin1();
        }
        query.reply.frequencyReply = !queryToggle;
        query.queryToggle = !queryToggle;
        query.reply.count = 1;
        return query;
    }
    for (const QString& text : {settings.frequencyQuery, settings.modeQuery}) {
        if (!text.isEmpty()) {
            query.bytes += text.toLatin1();
            ++query.reply.count;
        }
    }
    return query;
}

RigReading decode(const RadioType& type, const RigSettings& settings, const QByteArray& buffer)
{
    RigReading reading;
    if (type.family == RadioFamily::KenwoodIf) {
        // IF, 11 digits of Hz, ..., the mode at offset 29 and the VFO at 30, ';' at 37.
        for (qsizetype pos = buffer.indexOf("IF"); pos >= 0; pos = buffer.indexOf("IF", pos + 1)) {
            const qsizetype end = buffer.indexOf(';', pos);
            if (end < 0 || end - pos < 31) {
                continue;
            }
            const QByteArray digits = buffer.mid(pos + 2, 11);
            const char vfo = buffer.at(pos + 30);
            if (!allDigits(digits) || vfo < '0' || vfo > '9') {
                continue;
            }
            reading.mhz = saneMhz(digits.toLongLong() / 1000000.0);
            if (!reading.mhz) {
                return {};
            }
            reading.mode = buffer.at(pos + 29) == '3' ? QStringLiteral("CW") : QStringLiteral("PH");
            reading.activeVfo = vfo - '0';
            return reading;
        }
        return reading;
    }
    if (type.family == RadioFamily::FtDx9000) {
        if (settings.frequencyQuery.size() >= 2) {
            reading.mhz = hzField(buffer, settings.frequencyQuery.left(2).toLatin1(), 8);
        }
        if (settings.modeQuery.size() >= 3) {
            if (const auto digit = field(buffer, settings.modeQuery.left(3).toLatin1(), 1)) {
                reading.mode = digit->at(0) == '3' ? QStringLiteral("CW") : QStringLiteral("PH");
            }
        }
        return reading;
    }
    if (settings.frequencyQuery.size() >= 3) {
        reading.mhz = hzField(buffer, settings.frequencyQuery.left(2).toLatin1(), 11);
    }
    if (const auto digit = field(buffer, QByteArrayLiteral("MD"), 1)) {
        const char d = digit->at(0);
        reading.mode = (d == '3' || d == '7') ? QStringLiteral("CW") : QStringLiteral("PH");
    }
    return reading;
}

QByteArray frequency(const RadioType& type, const RigSettings& settings, double mhz, int activeVfo)
{
    const long long hz = frequencyUnits(mhz, 1);
    if (type.family == RadioFamily::FtDx9000) {
        if (hz <= 0 || hz > 99999999 || settings.frequencyQuery.size() < 2) {
            return {};
        }
        return settings.frequencyQuery.left(2).toLatin1() + QByteArray::number(hz).rightJustified(8, '0') +
               ';';
    }
    if (hz <= 0 || hz > 99999999999LL) {
        return {};
    }
    QByteArray prefix = QByteArrayLiteral("FA");
    if (type.family == RadioFamily::KenwoodIf) {
        prefix = activeVfo == 1 ? QByteArrayLiteral("FB") : QByteArrayLiteral("FA");
    } else if (type.name == QLatin1String("Kenwood")) {
        if (settings.frequencyQuery.size() < 2) {
            return {};
        }
        prefix = settings.frequencyQuery.left(2).toLatin1();
    }
    return prefix + QByteArray::number(hz).rightJustified(11, '0') + ';';
}

QByteArray mode(const RadioType& type, const RigSettings& settings, const QString& mode)
{
    for (const ModeDigit& row : modeDigits) {
        if (mode != QLatin1String(row.mode)) {
            continue;
        }
        if (type.family == RadioFamily::FtDx9000) {
            if (!row.ftdx || settings.modeQuery.size() < 3) {
                return {};
            }
            return settings.modeQuery.left(3).toLatin1() + row.ftdx + ';';
        }
        if (!row.kenwood) {
            return {};
        }
        return QByteArrayLiteral("MD") + row.kenwood + ';';
    }
    return {};
}

} // namespace velk::kenwood
