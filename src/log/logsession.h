#pragma once
// LogSession: the contest log as the running station holds it: folders, preferences, log.txt and
// the multipliers derived from it, the prefix table, the shared XML store and the operating clock.
// Tells the panels when the band changes, a contact is logged or the log is read again.
#include "log/contactlog.h"
#include "log/folders.h"
#include "log/multipliers.h"
#include "log/operatingclock.h"
#include "log/preferences.h"
#include "log/prefixtable.h"
#include "log/xmlstore.h"

#include <QObject>
#include <functional>

namespace velk {

class LogSession : public QObject
{
    Q_OBJECT
public:
    Folders folders;
    Preferences prefs;
    ContactLog log;
    Multipliers multipliers;
    PrefixTable prefixes;
    XmlStore xml;
    OperatingClock operatingClock;
    // Frequency of the next contact as the radio last reported it, "#####.##0" or empty.
    QString pendingFrequency;
    // Announces a duplicate and calls `goOn` once the check may go on (the spoken cue has ended).
    // Unset, the check goes on at once.
    std::function<void(std::function<void()> goOn)> dupeCue;

    // Reads log.txt again and rebuilds the multipliers; logReloaded follows a good read.
    LoadResult reload();
    // Appends the contact to log.txt (synced before it returns) and counts its multipliers;
    // contactLogged follows a good write.
    WriteResult logContact(const ContactRecord& record);
    // Makes `band` current (a band text of the band list); bandChanged follows.
    void setBand(const QString& band);
    // The prefix table from the first folder that holds a readable copy: shared, data, working.
    void loadPrefixTable();
    // What the call box holds while a contact is entered; callBeingEnteredChanged follows a change.
    const QString& callBeingEntered() const { return m_callBeingEntered; }
    void setCallBeingEntered(const QString& call);

signals:
    void bandChanged(const QString& band);
    void contactLogged(const ContactRecord& record, const MultiplierChange& change);
    void logReloaded();
    void callBeingEnteredChanged(const QString& call);

private:
    QString m_callBeingEntered;
};

} // namespace velk
