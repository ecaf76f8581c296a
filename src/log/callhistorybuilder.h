#pragma once
// CallHistoryBuilder: a call-history file made from past logs, with the most recent name and
// location of each call, in the format CallHistory reads ("!!Order!!,Call,Name,Loc1", CR LF,
// Latin-1). Reads ContactLog records; writes bytes, never a file itself.
#include "log/contactlog.h"

#include <QByteArray>
#include <QString>
#include <map>
#include <string>

namespace velk {

class CallHistoryBuilder
{
public:
    // Adds the log's contacts; a later contact (by its date and time) replaces what an earlier
    // one gave, and of two at the same moment the one added last wins. Contacts whose call is not
    // a call sign are counted and left out.
    void addLog(const ContactLog& log);

    int stationCount() const { return static_cast<int>(m_stations.size()); }
    int skippedContacts() const { return m_skipped; }
    // The file: the order line, a comment naming the writer, one station a line by call.
    QByteArray encode(const QString& writer) const;

private:
    struct Latest
    {
        QString name;
        QString nameWhen;
        QString location;
        QString locationWhen;
    };
    std::map<std::string, Latest> m_stations;
    int m_skipped = 0;
};

} // namespace velk
