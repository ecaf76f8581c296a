#pragma once
// SuperCheck: the partial matches and the call history of the running station. Reads the chosen
// Super Check Partial and call-history files (kept in the per-user settings) on a worker thread
// and takes the result on the GUI thread, keeps the log's calls in step, and reports every load
// in one line for the status line. Talks to the SettingsStore; QtCore only.
#include "common/platform/settingsstore.h"
#include "log/callhistory.h"
#include "log/partialmatcher.h"

#include <QObject>
#include <QStringList>
#include <memory>
#include <optional>

namespace velk {

// What a load of the two files gives; either part may be missing.
struct CallFiles
{
    std::shared_ptr<const CallIndex> database;
    std::shared_ptr<const CallHistory> history;
    QString report; // one line
};

// Reads both files (an empty path is a file not chosen); blocks, so it runs off the GUI thread.
CallFiles readCallFiles(const QString& databasePath, const QString& historyPath);

// Where the database is looked for when the operator has chosen none: the working folder, then
// the copy Debian's hamradio-files package installs.
QStringList defaultDatabaseFiles(const QString& workingFolder);

class SuperCheck : public QObject
{
    Q_OBJECT
public:
    static inline const QString databaseKey = QStringLiteral("UserScpFile");
    static inline const QString historyKey = QStringLiteral("UserCallHistoryFile");

    SuperCheck(SettingsStore& settings, QStringList defaultDatabaseFiles, QObject* parent = nullptr);

    // The chosen files; an empty text is a file switched off. Without a choice the database is
    // the first default file that exists, and there is no history.
    QString databaseFile() const;
    QString historyFile() const;
    // Where the database is looked for when the operator has chosen none.
    void setDefaultDatabaseFiles(QStringList files) { m_defaults = std::move(files); }
    // Stores the choice and loads it.
    void chooseFiles(const QString& databasePath, const QString& historyPath);
    // Reads the chosen files on a worker thread; loaded() follows on this thread. A newer load
    // supersedes one still running.
    void load();
    bool isLoading() const { return m_applied != m_started; }

    // Partial matches are on while a database is loaded.
    bool isOn() const { return m_matcher.database() != nullptr; }
    const PartialMatcher& matcher() const { return m_matcher; }
    const CallHistory* history() const { return m_history.get(); }

    void rebuildLog(const ContactLog& log) { m_matcher.logCalls().rebuild(log); }
    void addContact(const ContactRecord& record) { m_matcher.logCalls().add(record); }

    // The matches for the call box text; none while off.
    MatchList matches(QStringView typed, QStringView band, int limit = PartialMatcher::defaultLimit) const;
    // The name and location the history knows for a call that is not in this log: the log's own
    // contacts always win.
    std::optional<HistoryEntry> prefillFor(QStringView call) const;

signals:
    void loaded();
    void statusReport(const QString& line);

private:
    SettingsStore& m_settings;
    QStringList m_defaults;
    PartialMatcher m_matcher;
    std::shared_ptr<const CallHistory> m_history;
    quint64 m_started = 0;
    quint64 m_applied = 0;

    void apply(quint64 generation, const CallFiles& files);
};

} // namespace velk
