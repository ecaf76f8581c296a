#pragma once
// The Cabrillo 2.0 submission file: header lines from the station and the summary sheet, one
// QSO line per contact at fixed columns. Pure text building; the caller writes the bytes.
#include "common/contactrecord.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace velk {

enum class CabrilloPower { None, High, Low, Qrp };

// What the summary sheet adds to the log.
struct CabrilloSummary
{
    QString operators; // empty: the own call
    bool multiTwo = false;
    CabrilloPower power = CabrilloPower::Low;
    QString name;
    QString address1;
    QString address2;
    QString email;
    QString soapbox; // each line becomes a SOAPBOX line of its own
};

struct CabrilloStation
{
    QString ownCall;     // already trimmed
    QString ownLocation; // the own state, province or country
    QString mode;        // log-wide "CW", "PH" or "RY"
    QString createdBy;   // program name and version
};

// "VELK-CW", "VELK-SSB" or "VELK-RTTY".
QString cabrilloContest(const QString& mode);
// " 1800", " 3500", ... "50"; empty for a band that is not one of the seven.
QString cabrilloFrequency(const QString& band);
// The claimed score as a printed number: " 5400 ".
QString cabrilloClaimedScore(long long score);
// One QSO line, without its line end.
QString cabrilloQsoLine(const ContactRecord& record, const CabrilloStation& station);
// The whole file, Latin-1 with CR LF line ends. The claimed score is the number of records times
// `multipliers`.
QByteArray writeCabrillo(const std::vector<ContactRecord>& records, const CabrilloStation& station,
                         const CabrilloSummary& summary, int multipliers);

} // namespace velk
