#include "app/ui/spokenreports.h"

#include "common/bands.h"
#include "common/formats.h"
#include "log/logsession.h"
#include "log/rates.h"
#include "spots/bandmapgeometry.h"

namespace velk {

namespace {

QString counted(qint64 count, const QString& one, const QString& many)
{
    return QStringLiteral("%1 %2").arg(count).arg(count == 1 ? one : many);
}

} // namespace

QString spokenBand(const QString& band)
{
    if (band == QLatin1String("440")) {
        return QStringLiteral("70 centimetres");
    }
    return band + QStringLiteral(" metres");
}

QString loggedContactReport(const ContactRecord& record, const MultiplierChange& change, int contactNumber)
{
    QString report = QStringLiteral("Logged %1, %2, contact %3")
                         .arg(record.call, spokenBand(record.band))
                         .arg(contactNumber);
    if (change.locationIndex > 0 || change.newDx) {
        report += QStringLiteral(", new multiplier");
    }
    return report;
}

QString contestStateReport(const LogSession& session, const QDateTime& stationNow)
{
    const int contacts = session.log.count();
    const Multipliers& multipliers = session.multipliers;
    const int total = multipliers.total();
    const QString band = session.prefs.currentBand;
    QString report =
        QStringLiteral("Score %1. %2, %3, %4 on %5.")
            .arg(formatNumber(static_cast<double>(score(contacts, total)), QStringLiteral("###,###,###,##0")),
                 counted(contacts, QStringLiteral("contact"), QStringLiteral("contacts")),
                 counted(total, QStringLiteral("multiplier"), QStringLiteral("multipliers")),
                 QString::number(multipliers.bandTotal(bandIndex(band))), spokenBand(band));
    if (const auto tally = rateTally(session.log, stationNow)) {
        report += QStringLiteral(" Rate %1 an hour over the last 20 minutes, %2 over the last hour.")
                      .arg(tally->perHour20())
                      .arg(tally->perHour60());
    }
    return report;
}

QString lastSpotReport(const SpotRing& ring, const QDateTime& nowUtc)
{
    // A withdrawn spot is no longer on the maps; the newest one still there is meant.
    for (int slot = SpotRing::newestSlot; slot >= 0; --slot) {
        if (ring.slot(slot).isShown()) {
            return QStringLiteral("Last spot: ") + spokenSpot(ring.slot(slot), nowUtc);
        }
    }
    return QStringLiteral("No spot yet.");
}

} // namespace velk
