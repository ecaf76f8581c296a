#pragma once
// Spoken reports: the sentences the announcer says for a logged contact, for the state of the
// contest on demand (Ctrl+T) and for the most recent spot (Ctrl+L). Pure functions of the log,
// the multipliers and the spot ring.
#include "common/contactrecord.h"
#include "log/multipliers.h"
#include "spots/spotring.h"

#include <QDateTime>
#include <QString>

namespace velk {

class LogSession;

// "20 metres"; the 70 cm band by its name.
QString spokenBand(const QString& band);
// "Logged W1AW, 20 metres, contact 37", with ", new multiplier" when it counted one.
QString loggedContactReport(const ContactRecord& record, const MultiplierChange& change, int contactNumber);
// "Score 1,369. 37 contacts, 37 multipliers, 12 on this band. Rate 45 an hour over the last 20
// minutes, 30 over the last hour."
QString contestStateReport(const LogSession& session, const QDateTime& stationNow);
// "Last spot: DL1ABC, 14.010 megahertz, 3 minutes old", or that there is none.
QString lastSpotReport(const SpotRing& ring, const QDateTime& nowUtc);

} // namespace velk
