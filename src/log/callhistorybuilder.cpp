#include "log/callhistorybuilder.h"

#include "log/callindex.h"

namespace velk {

namespace {

// A value for one column: no comma (the separator) and no surrounding blanks.
QString columnValue(const QString& text)
{
    QString value = text;
    value.replace(QLatin1Char(','), QLatin1Char(' '));
    return value.trimmed();
}

// Newer or as new: of two contacts at the same moment the later one counts.
void takeIfNewer(QString& value, QString& when, const QString& candidate, const QString& moment)
{
    if (!candidate.isEmpty() && moment >= when) {
        value = candidate;
        when = moment;
    }
}

} // namespace

void CallHistoryBuilder::addLog(const ContactLog& log)
{
    for (const ContactRecord& record : log.records()) {
        const std::string call = CallIndex::normalized(record.call.toLatin1().toStdString());
        if (call.empty()) {
            ++m_skipped;
            continue;
        }
        // "yyyy/mm/dd hh:mm:ss" orders as text; a post-contest "hh:mm" sorts before its seconds.
        const QString moment = record.date + QLatin1Char(' ') + record.time;
        Latest& latest = m_stations[call];
        takeIfNewer(latest.name, latest.nameWhen, columnValue(record.name), moment);
        takeIfNewer(latest.location, latest.locationWhen, columnValue(record.location), moment);
    }
}

QByteArray CallHistoryBuilder::encode(const QString& writer) const
{
    QByteArray bytes("!!Order!!,Call,Name,Loc1\r\n");
    bytes += "# Call history written by " + writer.toLatin1() + "\r\n";
    for (const auto& [call, latest] : m_stations) {
        bytes += QByteArray::fromStdString(call) + ',' + latest.name.toLatin1() + ',' +
                 latest.location.toLatin1() + "\r\n";
    }
    return bytes;
}

} // namespace velk
