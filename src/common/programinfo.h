#pragma once
// The program's name and version, as the main window's caption and the files it writes show it.
#include <QString>

namespace velk {

inline QString programName()
{
    return QStringLiteral("Varno's VELK Contest Log 2.7");
}

} // namespace velk
