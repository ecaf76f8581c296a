#pragma once
// The radio command sets: for each radio family a stateless pair of encoders (poll queries, set
// frequency, set mode) and decoders (a whole reply -> frequency in MHz and mode). The link that
// owns the port only moves these bytes; which bytes they are is decided here.
#include "rig/radiotype.h"
#include "rig/rigsettings.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace velk {

// What a poll expects back, so that the link can tell a whole reply from a partial one.
struct ReplyShape
{
    // PanelRecord: a Ten-Tec front-panel record of either kind, taken by its leading letter.
    // Reports: rigctld answer blocks, each ended by its "RPRT n" line.
    enum class Kind { Nothing, Terminators, Length, CivFrame, PanelRecord, AnyBytes, Reports };
    Kind kind = Kind::Nothing;
    int count = 0;         // terminators or bytes
    char terminator = ';'; // for Kind::Terminators
    quint8 civCommand = 0; // for Kind::CivFrame
    bool frequencyReply = true;
};

struct PollQuery
{
    QByteArray bytes; // empty: nothing to send this cycle
    ReplyShape reply;
    bool queryToggle = false; // the toggle after this query (alternating families)
};

struct RigReading
{
    std::optional<double> mhz;
    std::optional<QString> mode; // "CW", "PH", "AM", "FM" or "RY"
    std::optional<int> activeVfo;
    // The peer answered a poll with an error of its own (rigctld cannot reach the radio).
    std::optional<QString> fault;
};

// Longest reply the link collects (the FT-757 GX II's status block is 75 bytes).
inline constexpr int maxReplyBytes = 512;

// The query of one poll cycle; `queryToggle` is the state after the previous query.
PollQuery pollQuery(const RadioType& type, const RigSettings& settings, bool queryToggle);
// True once `buffer` holds the whole reply of this shape.
bool replyComplete(const ReplyShape& shape, const QByteArray& buffer);
// Decodes a whole reply; fields the reply does not give stay empty. Frequencies outside
// 0.1-500 MHz are never returned.
RigReading decodeReply(const RadioType& type, const RigSettings& settings, const ReplyShape& shape,
                       const QByteArray& buffer);

// The bytes that tune the radio to `mhz`; empty when the family has none.
QByteArray frequencyCommand(const RadioType& type, const RigSettings& settings, double mhz, int activeVfo);
// The bytes that put the radio in `mode` ("CW", "LSB", "USB", "AM", "FM", "RTTY", "FSK", "CW-R",
// "RTTY-R", "DIG", "PKT"); empty when the family has no command for it.
QByteArray modeCommand(const RadioType& type, const RigSettings& settings, const QString& mode);
// Sent after the port opens and before it closes (CAT on/off), empty when none. The 5-byte
// "Yaesu" type serves the FT-817/857/897, for which these bytes are dial LOCK ON / OFF, and the
// FT-847, which takes no command before CAT ON: `catSwitch` says the radio is an FT-847.
QByteArray openingBytes(const RadioType& type, bool catSwitch);
QByteArray closingBytes(const RadioType& type, bool catSwitch);

// Every decoded dial is given to 10 Hz: a reading this close to a commanded frequency has taken it.
inline constexpr int readingResolutionHz = 10;

// Per-family parts (one file each).
namespace kenwood {
PollQuery poll(const RadioType& type, const RigSettings& settings, bool queryToggle);
RigReading decode(const RadioType& type, const RigSettings& settings, const QByteArray& buffer);
QByteArray frequency(const RadioType& type, const RigSettings& settings, double mhz, int activeVfo);
QByteArray mode(const RadioType& type, const RigSettings& settings, const QString& mode);
} // namespace kenwood
namespace civ {
PollQuery poll(const RigSettings& settings, bool queryToggle);
RigReading decode(const RadioType& type, const ReplyShape& shape, const QByteArray& buffer);
bool complete(const ReplyShape& shape, const QByteArray& buffer);
QByteArray frequency(const RadioType& type, const RigSettings& settings, double mhz);
QByteArray mode(const RadioType& type, const RigSettings& settings, const QString& mode);
} // namespace civ
namespace yaesu {
PollQuery poll(const RadioType& type, const RigSettings& settings);
RigReading decode(const RadioType& type, const QByteArray& buffer);
QByteArray frequency(const RadioType& type, double mhz);
QByteArray mode(const RadioType& type, const QString& mode);
int replyLength(const RadioType& type);
} // namespace yaesu
namespace tentec {
PollQuery poll(const RadioType& type, const RigSettings& settings, bool queryToggle);
RigReading decode(const RadioType& type, const QByteArray& buffer);
bool panelRecordComplete(const QByteArray& buffer);
QByteArray frequency(const RadioType& type, double mhz);
} // namespace tentec

namespace hamlib {
// rigctld's extended protocol: "+m" and "+f" asked in one cycle, answered by two blocks.
PollQuery poll();
bool complete(const ReplyShape& shape, const QByteArray& buffer);
RigReading decode(const QByteArray& buffer);
QByteArray frequency(double mhz);
QByteArray mode(const QString& mode);
// The log's mode for a Hamlib mode ("CWR" -> "CW", "PKTUSB" -> "RY"); empty when unknown.
QString logMode(const QString& hamlibMode);
// Hamlib's words for its error code (negative, as RPRT gives it).
QString errorText(int code);
// One answer block: the command it answers ("get_freq"), its "Name: value" lines and its code.
struct Answer
{
    QByteArray command;
    QList<std::pair<QByteArray, QByteArray>> values;
    int code = 0;
};
// The whole blocks at the start of `buffer`; `used` is set to the bytes they take.
QList<Answer> answers(const QByteArray& buffer, qsizetype* used = nullptr);
} // namespace hamlib

// Shared helpers of the codecs.
std::optional<double> saneMhz(double mhz);
// `mhz` in whole units of `unitHz` (1 Hz, 10 Hz), rounded.
long long frequencyUnits(double mhz, int unitHz);

} // namespace velk
