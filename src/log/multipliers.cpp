#include "log/multipliers.h"

#include <algorithm>
#include <numeric>

namespace velk {

namespace {

bool validBand(int band)
{
    return band >= 1 && band <= bandCount;
}

bool validLocation(int location)
{
    return location >= 1 && location <= locationCount;
}

std::size_t slot(int oneBased)
{
    return static_cast<std::size_t>(oneBased - 1);
}

} // namespace

bool isDxCountry(const QString& location, const QString& continent)
{
    // These names stand for the 63 (or for a call the prefix table did not know), never for a
    // DX country; a record that carries one must not count on a reload when it did not count
    // as it was logged.
    static const std::array<QLatin1String, 5> notCountries{QLatin1String("Hawaii"), QLatin1String("Alaska"),
                                                           QLatin1String("Canada"), QLatin1String("USA"),
                                                           QLatin1String("Not Found")};
    if (location.size() <= 3 || continent.compare(QLatin1String("NA"), Qt::CaseInsensitive) != 0) {
        return false;
    }
    return std::none_of(notCountries.begin(), notCountries.end(),
                        [&](QLatin1String name) { return location.compare(name, Qt::CaseInsensitive) == 0; });
}

void Multipliers::clear()
{
    *this = Multipliers();
}

void Multipliers::rebuild(const ContactLog& log)
{
    clear();
    // The log's record keys already hold each record's band and location indexes.
    const auto& records = log.records();
    const auto& keys = log.recordKeys();
    for (std::size_t i = 0; i < records.size(); ++i) {
        addIndexed(records[i], keys[i].band, keys[i].location);
    }
}

MultiplierChange Multipliers::add(const ContactRecord& record)
{
    return addIndexed(record, bandIndex(record.band), locationIndex(record.location));
}

MultiplierChange Multipliers::addIndexed(const ContactRecord& record, int band, int location)
{
    MultiplierChange change;
    if (!validBand(band)) {
        return change;
    }
    if (record.location.size() < 4) {
        if (validLocation(location) && !isWorked(band, location)) {
            m_workedGrid[slot(band)][slot(location)] = 1;
            ++m_stateMultTotal;
            change.locationIndex = location;
        }
    } else if (isNewDx(band, record.location, record.continent)) {
        m_dxLists[slot(band)].append(record.location);
        change.newDx = true;
    }
    return change;
}

bool Multipliers::isWorked(int band, int location) const
{
    return validBand(band) && validLocation(location) && m_workedGrid[slot(band)][slot(location)] != 0;
}

bool Multipliers::hasDx(int band, const QString& country) const
{
    return dxList(band).contains(country, Qt::CaseInsensitive);
}

bool Multipliers::isNewDx(int band, const QString& location, const QString& continent) const
{
    return validBand(band) && isDxCountry(location, continent) && !hasDx(band, location);
}

const QStringList& Multipliers::dxList(int band) const
{
    static const QStringList none;
    return validBand(band) ? m_dxLists[slot(band)] : none;
}

int Multipliers::total() const
{
    int dx = 0;
    for (const QStringList& list : m_dxLists) {
        dx += static_cast<int>(list.size());
    }
    return m_stateMultTotal + dx;
}

int Multipliers::bandTotal(int band) const
{
    if (!validBand(band)) {
        return 0;
    }
    const auto& row = m_workedGrid[slot(band)];
    return std::accumulate(row.begin(), row.end(), 0) + dxCount(band);
}

std::int64_t score(int contacts, int multipliers)
{
    return static_cast<std::int64_t>(contacts) * multipliers;
}

QString dxHeading(const QString& band, int count)
{
    return QStringLiteral("NA DX ") + band + QStringLiteral(" - ") + QString::number(count);
}

std::array<int, bandCount> locationBandCounts(const ContactLog& log, const QString& abbreviation)
{
    std::array<int, bandCount> counts{};
    for (const ContactRecord& record : log.records()) {
        const int band = bandIndex(record.band);
        if (validBand(band) && record.location.compare(abbreviation, Qt::CaseInsensitive) == 0) {
            ++counts[slot(band)];
        }
    }
    return counts;
}

QString locationBreakdown(const QString& fullName, const std::array<int, bandCount>& counts)
{
    constexpr int hfBands = bandCount - 1; // 6 m is not part of the breakdown
    QString bands;
    int total = 0;
    for (int i = 0; i < hfBands; ++i) {
        const int n = counts[static_cast<std::size_t>(i)];
        total += n;
        bands += QStringLiteral("  ") + bandTexts().at(i) + QStringLiteral(" = ") + QString::number(n);
    }
    return QLatin1Char(' ') + fullName + QStringLiteral("    Total = ") + QString::number(total) +
           QLatin1Char('\n') + bands;
}

} // namespace velk
