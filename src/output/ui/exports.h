#pragma once
// The main window's export commands: the Cabrillo summary sheet, the ADIF export and the
// transfer file for Tobrel. Each is one call from a menu item; they read the session's log and
// preferences and talk to the operator through the platform's prompter.
#include "common/platform/platform.h"

#include <QString>

class QWidget;

namespace velk {

class LogSession;

// "&Write Cabrillo File": opens the summary sheet modally over `mainWindow` and unloads it when
// it closes. `mainWindow`'s title gives the program's name for the file.
void runCabrilloExport(Platform& platform, LogSession& session, QWidget* mainWindow);

// "Ex&port ADIF Format": the power and comment questions, the save dialog, VELK.adi. The country
// table is read at the first export of the run and kept with `mainWindow`.
void runAdifExport(Platform& platform, const LogSession& session, QWidget* mainWindow);

// "E&xport for Tobrel Import": the power and mode questions, LogExp.txt in the working folder.
void runTransferExport(Platform& platform, const LogSession& session);

} // namespace velk
