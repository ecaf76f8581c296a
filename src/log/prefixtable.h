#pragma once
// PrefixTable: the call-sign prefixes of arrlpre2.txt with their country, continent and position,
// and the searches the call box, the location box and the station dialog make in it.
// Pure data; the windows read the file through load() and paint what the searches return.
#include <QByteArray>
#include <QString>
#include <vector>

namespace velk {

struct PrefixEntry
{
    QString prefix;         // e.g. "VE3"
    QString country;        // as the location box shows it; "USA" and "Canada" are the home countries
    QString continent;      // two letters, e.g. "NA"
    float longitude = 0.0f; // degrees, positive west
    float latitude = 0.0f;  // degrees, positive north
};

class PrefixTable
{
public:
    PrefixTable() = default;
    explicit PrefixTable(std::vector<PrefixEntry> entries) : m_entries(std::move(entries)) {}

    // Lines of "prefix","country","continent",longitude,latitude and three ignored values, in
    // file order. A damaged line is skipped; the rest still loads.
    static PrefixTable parse(const QByteArray& bytes);
    // Replaces the table with the file's; false (table left as it was) when it cannot be read.
    bool load(const QString& path);

    int size() const { return static_cast<int>(m_entries.size()); }
    bool isEmpty() const { return m_entries.empty(); }
    const PrefixEntry& at(int index) const { return m_entries.at(static_cast<std::size_t>(index)); }

    // Longest prefix the text begins with, by the table's own search: start near where the first
    // letter's block should lie on an even A-Z spread, back off to the block's start and scan
    // toward it; of equally long prefixes the first met wins. The search relies on the file
    // being sorted, but it ends on any table. Index, or -1 when nothing matches.
    int longestMatch(const QString& text, Qt::CaseSensitivity cs) const;

    // The last entry whose country name begins with `typed`; -1 when none does.
    int completeCountry(const QString& typed, Qt::CaseSensitivity cs) const;

    // The first entry of that country (exact name); -1 when the table has none.
    int firstOfCountry(const QString& country) const;

private:
    std::vector<PrefixEntry> m_entries;

    int startIndex(QChar first) const;
};

// What the call box tells about the other station, after the logger's rules: a prefix written
// after a "/" decides, the home countries leave the location to the operator, and KG4 calls
// other than the five-character Guantanamo Bay ones count as USA.
struct CallLocation
{
    enum class Outcome {
        Nothing,     // empty call: nothing looked up
        NotFound,    // no prefix matches
        HomeCountry, // USA or Canada: the operator types the state or province
        Found,
    };
    Outcome outcome = Outcome::Nothing;
    QString location; // location box text when Found ("AK", "HI", the country, or empty)
    int entry = -1;   // entry giving continent and position when Found; -1 when none
};

// The part of the call box text that is looked up: a designator of two or more characters
// after the first "/" replaces the call when it is shorter than half the whole text.
QString callForLookup(const QString& callBoxText);
CallLocation locateCall(const PrefixTable& table, const QString& callBoxText);

} // namespace velk
