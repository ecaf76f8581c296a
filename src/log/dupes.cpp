#include "log/dupes.h"

namespace velk {

namespace {
bool sameText(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}
} // namespace

DupeScan scanForDupe(const ContactLog& log, QStringView call, QStringView band)
{
    DupeScan scan;
    const auto& records = log.records();
    for (std::size_t i = 0; i < records.size(); ++i) {
        const ContactRecord& record = records[i];
        if (!sameText(record.call, call)) {
            continue;
        }
        const int number = static_cast<int>(i) + 1;
        scan.previous.push_back(number);
        if (scan.nameDonor == 0 && !record.name.isEmpty()) {
            scan.nameDonor = number;
        }
        if (scan.locationDonor == 0 && !record.location.isEmpty()) {
            scan.locationDonor = number;
        }
        if (sameText(record.band, band)) {
            scan.dupeRecord = number;
            break;
        }
    }
    return scan;
}

QString partialDupeList(const ContactLog& log, QStringView typed, QStringView band, int cutAfter)
{
    QString list;
    if (typed.isEmpty()) {
        return list;
    }
    for (const ContactRecord& record : log.records()) {
        if (!sameText(record.band, band) || !record.call.startsWith(typed, Qt::CaseInsensitive)) {
            continue;
        }
        list += QLatin1Char(' ');
        list += record.call;
        if (list.size() > cutAfter) {
            break;
        }
    }
    return list;
}

QString dupeReport(const ContactRecord& record, int number)
{
    // The record number keeps the blank where a sign would stand.
    return QStringLiteral("Duplicate ") + record.call + QLatin1Char(' ') + record.date + QLatin1Char(' ') +
           record.time + QStringLiteral("  Rec#  ") + QString::number(number);
}

} // namespace velk
