#pragma once
// Voice keyer settings: the WAV file of each function key, the PTT port and line, the repeat pause
// and the parallel-port address, kept in wave2.txt (thirteen quoted-list lines).
#include "common/platform/keyports.h"
#include "log/contactlog.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

namespace velk {

enum class PttLine { Rts = 0, Dtr = 1, Parallel = 2 };

struct VoiceSettings
{
    std::array<QString, 9> files; // F1..F9, full paths; empty: nothing
    QString pttPort = QStringLiteral("0");
    PttLine pttLine = PttLine::Rts;
    QString loopSeconds = QStringLiteral("0");
    QString parallelAddress = QStringLiteral("&H378");

    bool operator==(const VoiceSettings&) const = default;
};

enum class VoiceSettingsLoad { Loaded, Missing, Unreadable };

// Values are read in file order; a short file keeps the defaults of the values it lacks. ok is
// false when a line is malformed or the line choice is not a number (the values before it stay).
VoiceSettings parseVoiceSettings(const QByteArray& bytes, bool* ok = nullptr);
QByteArray encodeVoiceSettings(const VoiceSettings& settings);
VoiceSettingsLoad loadVoiceSettings(const QString& path, VoiceSettings& settings);
// Through a temporary file and a rename. Refuses values the file cannot hold (a double quote, a
// character outside Latin-1) rather than writing them damaged.
WriteResult saveVoiceSettings(const QString& path, const VoiceSettings& settings);

// The repeat pause of a "Loop (Sec)" text in whole milliseconds: a number from 0 up to but not
// including 60 seconds; nothing for any other text.
std::optional<int> loopPauseMs(const QString& text);
// The PTT serial port number of a port text; 0 (none) for a text that is not a whole number.
int pttPortNumber(const QString& text);
// Where PTT is keyed, or nothing when the operator keys by hand or VOX (port 0 on RTS or DTR).
std::optional<KeyLineTarget> pttTarget(const VoiceSettings& settings);

} // namespace velk
