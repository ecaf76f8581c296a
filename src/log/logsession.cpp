#include "log/logsession.h"

#include "common/diagnostics.h"

#include <QFileInfo>

namespace velk {

LoadResult LogSession::reload()
{
    const LoadResult loaded = log.load(folders.logFile());
    qCDebug(velkLog) << "log read:" << (loaded.ok ? "ok" : "failed") << log.count() << "contacts";
    if (loaded.ok) {
        multipliers.rebuild(log);
        emit logReloaded();
    }
    return loaded;
}

WriteResult LogSession::logContact(const ContactRecord& record)
{
    const WriteResult written = log.append(record, folders.logFile());
    qCDebug(velkLog) << "contact" << record.call << record.band << record.frequency
                     << (written.ok ? "appended" : "NOT written") << written.error;
    if (written.ok) {
        const MultiplierChange change = multipliers.add(record);
        emit contactLogged(record, change);
    }
    return written;
}

void LogSession::setBand(const QString& band)
{
    prefs.currentBand = band;
    qCDebug(velkLog) << "band" << band;
    emit bandChanged(band);
}

void LogSession::setCallBeingEntered(const QString& call)
{
    if (call != m_callBeingEntered) {
        m_callBeingEntered = call;
        emit callBeingEnteredChanged(call);
    }
}

void LogSession::loadPrefixTable()
{
    for (const QString& folder : {folders.shared, folders.data, folders.working}) {
        const QString path = folder + QStringLiteral("/arrlpre2.txt");
        // An unreadable copy should not hide a good one further down the list.
        if (!folder.isEmpty() && QFileInfo::exists(path) && prefixes.load(path)) {
            return;
        }
    }
    prefixes = PrefixTable();
}

} // namespace velk
