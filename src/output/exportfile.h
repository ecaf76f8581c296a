#pragma once
// Writing an export file (Cabrillo, ADIF, LogExp.txt) in one piece: the bytes go to a temporary
// file beside the target, which is renamed over it only when every byte is on disk.
#include "log/contactlog.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace velk {

// On failure the old file of that name, if any, is left as it was and `error` holds the
// system's description of what went wrong.
WriteResult writeExportFile(const QString& path, const QByteArray& bytes);

// The program's name and version from the main window's title: at most `width` characters,
// blanks trimmed, and nothing from the first run of two blanks on (the title carries a web
// address there).
QString programNameFromTitle(const QString& title, int width);

// Values typed into one-line header fields: line breaks become blanks so that a value can
// never start a line of its own in the file.
QString singleLine(const QString& value);

// The ADIF header's "Log exported on:" text: local date in the system's short format and the
// time with seconds.
QString exportDateText(const QDateTime& localNow);

} // namespace velk
