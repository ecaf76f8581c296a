#pragma once
// The Ten-Tec Pegasus exchange: the radio's control program writes PEGASUS.OUT (frequency, mode)
// and reads PEGASUS.IN (frequency, mode) in a folder both programs share.
#include "rig/rigcodec.h"

namespace velk {

// The frequency and mode of PEGASUS.OUT; empty when the file is missing or unreadable.
RigReading readPegasusReply(const QString& folder);
// Writes PEGASUS.IN through a temporary file; false with `error` set when the write fails.
bool writePegasusCommand(const QString& folder, double mhz, const QString& mode, QString* error);

} // namespace velk
