#pragma once
// CallHistory: the name and location last known for each call, read from a call-history file,
// the comma-separated format contest loggers share: a "!!Order!!,Call,Name,Loc1,..." line names
// the columns of the lines after it, "#" starts a comment line. Plain data; reads files only.
#include <QIODevice>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velk {

struct HistoryEntry
{
    QString name;
    QString location;
    bool operator==(const HistoryEntry&) const = default;
};

class CallHistory
{
public:
    // Values are cut to what the entry boxes take.
    static constexpr int maxNameLength = 20;
    static constexpr int maxLocationLength = 32;

    // A station for the history (call text as CallIndex keeps it; name and location in Latin-1).
    // Until finish() a later add of the same call replaces the earlier one.
    void add(std::string_view call, std::string_view name, std::string_view location);
    // Sorts for lookup; returns how many earlier lines of a call were dropped.
    int finish();

    std::optional<HistoryEntry> find(QStringView call) const;
    int size() const { return static_cast<int>(m_rows.size()); }
    std::size_t memoryBytes() const { return m_text.capacity() + m_rows.capacity() * sizeof(Row); }

private:
    struct Row
    {
        std::uint32_t offset; // call, name and location follow one another in m_text
        std::uint8_t callLength;
        std::uint8_t nameLength;
        std::uint8_t locationLength;
    };
    std::string m_text; // Latin-1
    std::vector<Row> m_rows;

    std::string_view callOf(const Row& row) const
    {
        return std::string_view(m_text).substr(row.offset, row.callLength);
    }
};

struct CallHistoryRead
{
    std::shared_ptr<CallHistory> history; // null when the file gave no station
    QString report;                       // one line for the status line
};

namespace historyLimits {
inline constexpr int maxStations = 300000;
inline constexpr qint64 maxBytes = 32 * 1024 * 1024;
inline constexpr int maxLineBytes = 1024;
} // namespace historyLimits

// The columns taken: Call; Name; the location from Loc1, else State, else VEProv. Others are
// ignored. A file without a "!!Order!!" line is read as calls in its first column. Lines in UTF-8
// are taken as such, others as Latin-1; a value with characters outside Latin-1 is left out.
CallHistoryRead readCallHistory(QIODevice& device, const QString& name);
CallHistoryRead readCallHistoryFile(const QString& path);

} // namespace velk
