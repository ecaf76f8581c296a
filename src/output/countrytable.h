#pragma once
// The country of a contact (for the DXCC number and the state of the exports) and the country
// table ADIFCnt.txt that maps country names to DXCC entity numbers.
#include "common/contactrecord.h"
#include "log/folders.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

namespace velk {

// Country and state of a contact from its call and location: a two-letter location is a US
// state when the call starts with A, K, N or W (Hawaii and Alaska are entities of their own),
// otherwise a Canadian province; a longer location is the DX country itself.
struct RecordCountry
{
    QString country;
    QString state;
};
RecordCountry countryOfRecord(const ContactRecord& record);

// ADIFCnt.txt: quoted country name, DXCC entity number; one entity a line.
class CountryTable
{
public:
    static constexpr int capacity = 1000;

    // Reads the table's bytes. A line that is not a name and a number is skipped; more than
    // `capacity` entries fail with `error` set.
    static std::optional<CountryTable> parse(const QByteArray& bytes, QString* error = nullptr);
    // Reads the first of the candidate files that exists; fails when none does.
    static std::optional<CountryTable> load(const QStringList& candidates, QString* error = nullptr);

    // The entity number of the first entry whose name matches (trimmed, case-insensitive);
    // 0 when there is none.
    int dxcc(const QString& country) const;
    int size() const { return static_cast<int>(m_entries.size()); }

private:
    std::vector<std::pair<QString, int>> m_entries;
    // The first entry's number by case-folded name: an export looks up every contact.
    QHash<QString, int> m_byFoldedName;
};

// Where ADIFCnt.txt is looked for, in order: the shared, data and working folders.
QStringList countryTableCandidates(const Folders& folders);

} // namespace velk
