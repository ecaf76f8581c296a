#pragma once
// The ADIF export (VELK.adi): every contact with its DXCC entity number from the country table.
// Pure text building; the caller writes the bytes.
#include "common/contactrecord.h"
#include "output/countrytable.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace velk {

struct AdifOptions
{
    QString mode;       // log-wide "CW", "PH" or "RY"
    QString power;      // transmitter power as the operator typed it; empty: no Tx_Pwr
    QString comment;    // empty: no Comment
    QString createdBy;  // program name and version for the header
    QString exportedOn; // date and time of the export, as shown to the operator
};

// "CW", "SSB" or "RTTY".
QString adifMode(const QString& logMode);
// "hhmm" from the record's time ("18:04:31", "18:04", "9:05" ...).
QString adifTime(const QString& time);
// One record: two or three lines ending with "<eor>" and an empty line.
QString adifRecord(const ContactRecord& record, const CountryTable& countries, const AdifOptions& options);
// The whole file, Latin-1 with CR LF line ends.
QByteArray writeAdif(const std::vector<ContactRecord>& records, const CountryTable& countries,
                     const AdifOptions& options);

} // namespace velk
