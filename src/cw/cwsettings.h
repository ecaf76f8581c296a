#pragma once
// CwSettings: the keyer window's settings as cw.txt holds them (eighteen values, one a line, in
// the quoted-list style), with the reader and the writer of that file.
#include <QByteArray>
#include <QString>
#include <array>

namespace velk {

enum class KeyerType { None = 0, Rts = 1, Dtr = 2, Parallel = 3, WinKey = 5 };

inline constexpr int cwMessageCount = 11;
inline const QString defaultTestMessage = QStringLiteral("VVV DE ");

struct CwSettings
{
    // F1-F9, then F10 and F11.
    std::array<QString, cwMessageCount> messages{
        {{}, {}, {}, {}, {}, {}, {}, {}, defaultTestMessage, {}, {}}};
    QString comPort = QStringLiteral("0");
    QString speed = QStringLiteral("13");
    QString wordSpace = QStringLiteral("0");
    KeyerType keyerType = KeyerType::None;
    QString parallelAddress = QStringLiteral("&H378");
    bool showText = false;
    QString repeatSeconds = QStringLiteral("0");

    bool operator==(const CwSettings&) const = default;
};

// Reads cw.txt; values missing at the end (or after one that cannot be read) keep their defaults.
// An empty F9 message becomes "VVV DE "; an unknown keyer type counts as none.
CwSettings parseCwSettings(const QByteArray& bytes);
QByteArray cwSettingsBytes(const CwSettings& settings);

// Whole-file rewrite through a temporary file; false with error set when it failed.
bool saveCwSettings(const QString& path, const CwSettings& settings, QString& error);
// Defaults when the file is missing.
CwSettings loadCwSettings(const QString& path);

KeyerType keyerTypeFromNumber(int number);

} // namespace velk
