#pragma once
// The radio types the rig interface knows (the nineteen serial ones and Hamlib's daemon): each type's family
// (which codec speaks to it), the serial settings and query strings filled in when it is chosen, and its
// pauses.
#include "common/platform/serialdevice.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace velk {

enum class RadioFamily {
    None,
    Kenwood,     // "FA;" / "MD;" text replies ended by ';' (Kenwood, Elecraft)
    KenwoodIf,   // one "IF;" status reply
    FtDx9000,    // "FA;" / "MD0;" alternating
    CiV,         // Icom CI-V frames (Icom, Icom 735, Ten-Tec Omni VI)
    TenTecPanel, // "?A"/"?M" binary replies
    TenTecOrion, // "?AF"/"?RMM" replies ended by CR
    Pegasus,     // file exchange, no serial traffic
    Yaesu5,      // 5-byte commands, 5-byte BCD reply (FT-817 family)
    YaesuStatus, // 5-byte commands, status-block reply
    Other,       // operator's own strings, replies only shown
    Hamlib       // rigctld over TCP, any radio Hamlib knows
};

// Which status-block layout a Yaesu model answers with.
enum class YaesuModel { None, Ft757, Ft890, Ft920, Ft990, Ft1000D, Ft1000 };

struct RadioType
{
    QString name;
    // As the setup list shows it, when it differs from the stored name.
    QString caption;
    RadioFamily family = RadioFamily::None;
    YaesuModel yaesuModel = YaesuModel::None;
    // Defaults filled in when the type is picked; nothing = keep the current setting.
    std::optional<int> baud;
    std::optional<int> dataBits;
    std::optional<int> stopBits;
    std::optional<char> parity;
    QString frequencyQuery;
    QString modeQuery;
    bool hexQueries = false;
    // Pause after the mode command before the frequency command, and a second one after it.
    int firstPauseMs = 205;
    int secondPauseMs = 0;
    // CI-V frequency width in bytes (the IC-735 takes four).
    int civFrequencyBytes = 5;
};

// The types in the order the setup list shows them.
const QList<RadioType>& radioTypes();
// The type with exactly this name (case-sensitive); the "None" type for an unknown name.
const RadioType& radioType(const QString& name);
QStringList radioTypeNames();
// The text the setup list shows for the type.
QString radioTypeCaption(const RadioType& type);

} // namespace velk
