#pragma once
// The spot window's texts for the error numbers of the TCP client.
#include <QString>

namespace velk {

// "ERROR: ..." for a known number, otherwise "Error number " and the number.
QString socketErrorMessage(int number);

} // namespace velk
