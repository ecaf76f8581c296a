#pragma once
// PartialMatcher: the known calls for the text in the call box, from the Super Check Partial
// database and from this log: the calls containing the text (those starting with it first), or,
// when none does, the calls one character away. Marks each as a dupe on the current band, worked
// on another band, or new. Reads ContactLog only; plain data, QtCore at most.
#include "log/callindex.h"
#include "log/contactlog.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <memory>
#include <vector>

namespace velk {

enum class MatchStatus : std::uint8_t { New, WorkedOtherBand, Dupe };

struct CallMatch
{
    QString call;
    MatchStatus status = MatchStatus::New;
    bool operator==(const CallMatch&) const = default;
};

struct MatchList
{
    std::vector<CallMatch> calls;
    // No call contains the text: these are one substitution, insertion or deletion away ("N+1").
    bool nearMatches = false;
    bool operator==(const MatchList&) const = default;
};

// The calls of the log with the bands each was worked on, kept in step with the log.
class LogCalls
{
public:
    void rebuild(const ContactLog& log);
    void add(const ContactRecord& record);
    const CallIndex& index() const { return m_index; }
    // Bit b - 1 set for each band index b (bandIndex()) the call was worked on; 0 when never.
    std::uint8_t bandsOf(std::string_view call) const;

private:
    CallIndex m_index;
    std::vector<std::uint8_t> m_bands;
    void addCall(std::string_view call, int band);
};

class PartialMatcher
{
public:
    // Matching starts with the second character typed.
    static constexpr int minTypedLength = 2;
    static constexpr int defaultLimit = 40;

    void setDatabase(std::shared_ptr<const CallIndex> database) { m_database = std::move(database); }
    const CallIndex* database() const { return m_database.get(); }
    LogCalls& logCalls() { return m_log; }
    const LogCalls& logCalls() const { return m_log; }

    // At most `limit` calls: those containing `typed` (either case, "/" included), the ones that
    // start with it first, each group in alphabetical order so a call keeps its place while
    // more is typed. Without any, the near matches in alphabetical order.
    MatchList match(QStringView typed, QStringView band, int limit = defaultLimit) const;

private:
    std::shared_ptr<const CallIndex> m_database;
    LogCalls m_log;
};

} // namespace velk
