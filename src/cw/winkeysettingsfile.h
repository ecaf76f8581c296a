#pragma once
// WK.txt: the WinKey setup window's eight values in the data folder, one a line (the port and the
// pin and mode bytes bare, the boxes' values quoted), CR LF, Latin-1, rewritten through a
// temporary file and a rename.
#include "cw/winkeylink.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace velk {

inline constexpr const char* winKeySettingsFileName = "WK.txt";

// Reads the values in file order onto `settings`; stops at the first line that is missing or
// unreadable, keeping the defaults from there on. Values are clamped to what the device takes.
// Returns how many values were taken (0-8).
int parseWinKeySettings(const QByteArray& bytes, WinKeySettings& settings);
QByteArray encodeWinKeySettings(const WinKeySettings& settings);

// Missing file: false and the settings untouched.
bool loadWinKeySettings(const QString& path, WinKeySettings& settings);
// The operator's error text on failure.
std::optional<QString> saveWinKeySettings(const QString& path, const WinKeySettings& settings);

} // namespace velk
