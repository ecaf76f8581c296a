// rigctld's extended response protocol: a command with a leading '+' is answered by a block of
// its name ("get_freq:"), "Name: value" lines and "RPRT n", n 0 or Hamlib's negative error code.
#include "rig/rigcodec.h"

#include <array>

namespace velk::hamlib {

namespace {

const QByteArray reportMarker = QByteArrayLiteral("RPRT ");

struct ModeName
{
    const char* logCommand; // as the band plan and the tuning window name it
    const char* hamlib;
};

// The log's mode commands in Hamlib's words; "DIG" and "PKT" are data on the sideband.
constexpr std::array<ModeName, 11> modeNames{{
    {"CW", "CW"},
    {"LSB", "LSB"},
    {"USB", "USB"},
    {"AM", "AM"},
    {"FM", "FM"},
    {"RTTY", "RTTY"},
    {"FSK", "RTTY"},
    {"CW-R", "CWR"},
    {"RTTY-R", "RTTYR"},
    {"DIG", "PKTUSB"},
    {"PKT", "PKTLSB"},
}};

std::optional<QByteArray> value(const Answer& answer, const char* name)
{
    for (const auto& [key, text] : answer.values) {
        if (key == name) {
            return text;
        }
    }
    return std::nullopt;
}

} // namespace

PollQuery poll()
{
    PollQuery query;
    // The mode first: the cycle ends, and is decoded, the moment the dial has been read.
    query.bytes = QByteArrayLiteral("+m\n+f\n");
    query.reply.kind = ReplyShape::Kind::Reports;
    query.reply.count = 2;
    return query;
}

QList<Answer> answers(const QByteArray& buffer, qsizetype* used)
{
    QList<Answer> found;
    Answer current;
    qsizetype start = 0;
    qsizetype taken = 0;
    while (start < buffer.size()) {
        const qsizetype end = buffer.indexOf('\n', start);
        if (end < 0) {
            break;
        }
        const QByteArray line = buffer.mid(start, end - start).trimmed();
        start = end + 1;
        if (line.startsWith(reportMarker)) {
            bool ok = false;
            current.code = line.mid(reportMarker.size()).trimmed().toInt(&ok);
            if (!ok) {
                current.code = -8; // a report that is no number: a protocol error
            }
            found << current;
            current = {};
            taken = start;
            continue;
        }
        const qsizetype colon = line.indexOf(':');
        if (colon < 0) {
            continue;
        }
        const QByteArray key = line.left(colon).trimmed();
        const QByteArray text = line.mid(colon + 1).trimmed();
        if (current.command.isEmpty() && current.values.isEmpty()) {
            current.command = key;
        } else {
            current.values.append({key, text});
        }
    }
    if (used) {
        *used = taken;
    }
    return found;
}

bool complete(const ReplyShape& shape, const QByteArray& buffer)
{
    return answers(buffer).size() >= shape.count;
}

RigReading decode(const QByteArray& buffer)
{
    RigReading reading;
    for (const Answer& answer : answers(buffer)) {
        const bool frequencyAnswer = answer.command == "get_freq";
        if (!frequencyAnswer && answer.command != "get_mode") {
            continue; // a late answer to a set command
        }
        if (answer.code < 0) {
            // A radio without a mode query is no fault; one that does not answer is.
            if (frequencyAnswer || (answer.code != -4 && answer.code != -11)) {
                reading.fault = errorText(answer.code);
            }
            continue;
        }
        if (frequencyAnswer) {
            if (const auto text = value(answer, "Frequency")) {
                bool ok = false;
                const double hz = text->toDouble(&ok);
                if (ok) {
                    if (const auto mhz = saneMhz(hz / 1000000.0)) {
                        reading.mhz = *mhz;
                    }
                }
            }
        } else if (const auto text = value(answer, "Mode")) {
            const QString mode = logMode(QString::fromLatin1(*text));
            if (!mode.isEmpty()) {
                reading.mode = mode;
            }
        }
    }
    return reading;
}

QByteArray frequency(double mhz)
{
    return "+F " + QByteArray::number(frequencyUnits(mhz, 1)) + '\n';
}

QByteArray mode(const QString& mode)
{
    for (const ModeName& name : modeNames) {
        if (mode == QLatin1String(name.logCommand)) {
            // Passband 0: the radio's normal filter for the mode.
            return QByteArray("+M ") + name.hamlib + " 0\n";
        }
    }
    return {};
}

QString logMode(const QString& hamlibMode)
{
    const QString mode = hamlibMode.trimmed().toUpper();
    if (mode == QLatin1String("CW") || mode == QLatin1String("CWR")) {
        return QStringLiteral("CW");
    }
    if (mode.startsWith(QLatin1String("RTTY")) || mode.startsWith(QLatin1String("PKT"))) {
        return QStringLiteral("RY");
    }
    if (mode == QLatin1String("AM") || mode == QLatin1String("SAM") || mode == QLatin1String("AMS")) {
        return QStringLiteral("AM");
    }
    if (mode == QLatin1String("FM") || mode == QLatin1String("WFM") || mode == QLatin1String("FMN")) {
        return QStringLiteral("FM");
    }
    if (mode == QLatin1String("USB") || mode == QLatin1String("LSB") || mode == QLatin1String("DSB") ||
        mode == QLatin1String("SAL") || mode == QLatin1String("SAH")) {
        return QStringLiteral("PH");
    }
    return {};
}

QString errorText(int code)
{
    static const std::array<const char*, 23> texts{
        "no error",
        "invalid parameter",
        "invalid configuration",
        "out of memory",
        "function not implemented",
        "communication timed out",
        "input/output error",
        "internal Hamlib error",
        "protocol error",
        "command rejected by the radio",
        "argument truncated",
        "function not available",
        "VFO not targetable",
        "error talking on the bus",
        "collision on the bus",
        "invalid argument",
        "invalid VFO",
        "argument out of domain",
        "function deprecated",
        "security error",
        "radio is switched off",
        "limit exceeded",
        "access denied (is the port in use?)",
    };
    const int index = code < 0 ? -code : code;
    const QString words = index < static_cast<int>(texts.size()) ? QString::fromLatin1(texts.at(index))
                                                                 : QStringLiteral("error");
    return QStringLiteral("%1 (Hamlib error %2)").arg(words).arg(code);
}

} // namespace velk::hamlib
