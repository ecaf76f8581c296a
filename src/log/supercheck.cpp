#include "log/supercheck.h"

#include "log/scpfile.h"

#include <QFileInfo>
#include <QFutureWatcher>
#include <QPromise>
#include <QThreadPool>

namespace velk {

CallFiles readCallFiles(const QString& databasePath, const QString& historyPath)
{
    CallFiles files;
    if (databasePath.isEmpty()) {
        files.report = QStringLiteral("Partial matches off");
    } else {
        ScpRead read = readScpFile(databasePath);
        files.database = std::move(read.calls);
        files.report = (files.database ? QStringLiteral("Partial matches from ")
                                       : QStringLiteral("Partial matches off: ")) +
                       read.report;
    }
    if (!historyPath.isEmpty()) {
        CallHistoryRead read = readCallHistoryFile(historyPath);
        files.history = std::move(read.history);
        files.report += (files.history ? QStringLiteral("; call history from ")
                                       : QStringLiteral("; call history off: ")) +
                        read.report;
    }
    return files;
}

QStringList defaultDatabaseFiles(const QString& workingFolder)
{
    return {workingFolder + QStringLiteral("/MASTER.SCP"),
            QStringLiteral("/usr/share/hamradio-files/MASTER.SCP")};
}

SuperCheck::SuperCheck(SettingsStore& settings, QStringList defaultDatabaseFiles, QObject* parent)
    : QObject(parent), m_settings(settings), m_defaults(std::move(defaultDatabaseFiles))
{
}

QString SuperCheck::databaseFile() const
{
    if (const auto chosen = m_settings.value(databaseKey)) {
        return *chosen;
    }
    for (const QString& path : m_defaults) {
        if (QFileInfo(path).isFile()) {
            return path;
        }
    }
    return m_defaults.isEmpty() ? QString() : m_defaults.first();
}

QString SuperCheck::historyFile() const
{
    return m_settings.value(historyKey).value_or(QString());
}

void SuperCheck::chooseFiles(const QString& databasePath, const QString& historyPath)
{
    m_settings.setValue(databaseKey, databasePath.trimmed());
    m_settings.setValue(historyKey, historyPath.trimmed());
    load();
}

void SuperCheck::load()
{
    const quint64 generation = ++m_started;
    // The promise travels with the work, so nothing on the worker refers to this object.
    auto promise = std::make_shared<QPromise<CallFiles>>();
    auto* watcher = new QFutureWatcher<CallFiles>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        if (watcher->future().resultCount() > 0) {
            apply(generation, watcher->result());
        }
    });
    watcher->setFuture(promise->future());
    QThreadPool::globalInstance()->start(
        [promise, databasePath = databaseFile(), historyPath = historyFile()] {
            promise->start();
            promise->addResult(readCallFiles(databasePath, historyPath));
            promise->finish();
        });
}

void SuperCheck::apply(quint64 generation, const CallFiles& files)
{
    if (generation != m_started) {
        return; // a newer choice is on its way
    }
    m_applied = generation;
    m_matcher.setDatabase(files.database);
    m_history = files.history;
    emit statusReport(files.report);
    emit loaded();
}

MatchList SuperCheck::matches(QStringView typed, QStringView band, int limit) const
{
    return isOn() ? m_matcher.match(typed, band, limit) : MatchList();
}

std::optional<HistoryEntry> SuperCheck::prefillFor(QStringView call) const
{
    if (!m_history) {
        return std::nullopt;
    }
    const std::string key = CallIndex::normalized(call.toLatin1().toStdString());
    if (key.empty() || m_matcher.logCalls().index().find(key)) {
        return std::nullopt;
    }
    return m_history->find(call);
}

} // namespace velk
