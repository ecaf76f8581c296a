#pragma once
// Multipliers: which of the 63 states and provinces and which North American DX countries have
// been worked on each band, rebuilt from the contest log and kept up to date as contacts are
// logged; with the totals and score derived from them. Reads ContactLog and the location table.
#include "common/bands.h"
#include "log/contactlog.h"
#include "log/locations.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

namespace velk {

// True when a location with this continent counts as a North American DX country: continent
// "NA", longer than 3 characters, and not a name that stands for the 63 (or a failed lookup).
bool isDxCountry(const QString& location, const QString& continent);

// What logging one contact changed.
struct MultiplierChange
{
    int locationIndex = 0; // 1..63 when a state or province became worked on the band
    bool newDx = false;    // the DX country joined the band's list
};

class Multipliers
{
public:
    void clear();
    // Rebuilds every table from the log, in file order.
    void rebuild(const ContactLog& log);
    // Counts one more contact.
    MultiplierChange add(const ContactRecord& record);

    // Bands are indexes 1..7, locations 1..63; anything else reads as not worked.
    bool isWorked(int band, int location) const;
    bool hasDx(int band, const QString& country) const;
    // A DX country that would be a new multiplier on the band if logged now.
    bool isNewDx(int band, const QString& location, const QString& continent) const;
    const QStringList& dxList(int band) const;
    int dxCount(int band) const { return static_cast<int>(dxList(band).size()); }

    // Worked cells of the grid over the seven bands.
    int stateMultTotal() const { return m_stateMultTotal; }
    // Every multiplier: the grid's cells plus the DX countries of every band.
    int total() const;
    // The multipliers of one band: its worked locations plus its DX countries.
    int bandTotal(int band) const;

private:
    MultiplierChange addIndexed(const ContactRecord& record, int band, int location);
    std::array<std::array<std::uint8_t, locationCount>, bandCount> m_workedGrid{};
    std::array<QStringList, bandCount> m_dxLists;
    int m_stateMultTotal = 0;
};

// Contacts times multipliers.
std::int64_t score(int contacts, int multipliers);

// The DX list heading: "NA DX 20 - 3".
QString dxHeading(const QString& band, int count);

// Contacts with a location on each band (index 0 = 160 m ... 6 = 6 m), case-insensitive.
std::array<int, bandCount> locationBandCounts(const ContactLog& log, const QString& abbreviation);
// The hover breakdown of a location: " Texas    Total = 3\n  160 = 0  80 = 1 ..." over the six
// HF bands; 6 m contacts are left out of it and of the total.
QString locationBreakdown(const QString& fullName, const std::array<int, bandCount>& counts);

} // namespace velk
