#include "output/transferfile.h"

#include "output/countrytable.h"

namespace velk {

namespace {

// A quoted field. The format has no escape for a quote inside a value, so one would split the
// field: quotes are dropped and line breaks become blanks.
QString quoted(const QString& value)
{
    QString text = value;
    text.remove(QLatin1Char('"'));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

QByteArray writeTransferFile(const std::vector<ContactRecord>& records, const TransferOptions& options)
{
    const QString mode = quoted(options.mode.toUpper());
    const QString power = quoted(options.power);
    QString out;
    for (const ContactRecord& record : records) {
        const RecordCountry country = countryOfRecord(record);
        out += quoted(record.call) + QLatin1Char(',');
        out += quoted(record.date) + QLatin1Char(',');
        out += quoted(record.band) + QLatin1Char(',');
        out += mode + QLatin1Char(',') + power + QLatin1Char(',');
        out += quoted(record.time) + QLatin1Char(',');
        out += QStringLiteral(",,,"); // fields 7 to 9
        out += quoted(country.country) + QLatin1Char(',');
        out += quoted(country.state) + QLatin1Char(',');
        out += QStringLiteral(",,,,"); // fields 12 to 15
        out += quoted(QStringLiteral("VELK Contest  ") + record.name);
        out += QStringLiteral("\r\n");
    }
    return out.toLatin1();
}

} // namespace velk
