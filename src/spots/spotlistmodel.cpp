#include "spots/spotlistmodel.h"

#include <algorithm>

namespace velk {

QString formatSpotFrequency(double mhz)
{
    return QString::number(mhz, 'g', 10);
}

int SpotListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
}

int SpotListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SpotListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const SpotListEntry& e = entry(index.row());
    if (role == frequencyRole) {
        return e.frequencyMhz;
    }
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) {
        return {};
    }
    switch (index.column()) {
    case CallColumn:
        return e.call;
    case FrequencyColumn:
        return formatSpotFrequency(e.frequencyMhz);
    case QthColumn:
        return e.country;
    case StatusColumn:
        return QString();
    case CommentsColumn:
        return e.comments;
    case PrefixColumn:
        return e.prefix;
    case TimeColumn:
        return e.time;
    case FromColumn:
        return e.from;
    default:
        return {};
    }
}

QVariant SpotListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    static const char* const headers[ColumnCount] = {"Call",     "Frequency", "QTH",  "Status",
                                                     "Comments", "Prefix",    "Time", "From"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(headers[section]) : QVariant();
}

void SpotListModel::addSpot(SpotListEntry entry)
{
    std::vector<SpotListEntry> one;
    one.push_back(std::move(entry));
    addSpots(std::move(one));
}

void SpotListModel::addSpots(std::vector<SpotListEntry> entries)
{
    const auto newest = std::min(entries.size(), std::size_t{maxEntries});
    if (newest == 0) {
        return;
    }
    const auto overflow = m_entries.size() + newest > maxEntries ? m_entries.size() + newest - maxEntries : 0;
    if (overflow > 0) {
        const int last = static_cast<int>(m_entries.size()) - 1;
        beginRemoveRows({}, last - static_cast<int>(overflow) + 1, last);
        m_entries.resize(m_entries.size() - overflow);
        endRemoveRows();
    }
    beginInsertRows({}, 0, static_cast<int>(newest) - 1);
    for (auto entry = entries.end() - static_cast<std::ptrdiff_t>(newest); entry != entries.end(); ++entry) {
        m_entries.push_front(std::move(*entry));
    }
    endInsertRows();
}

} // namespace velk
