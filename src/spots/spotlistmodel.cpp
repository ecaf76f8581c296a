#include "spots/spotlistmodel.h"

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
    if (m_entries.size() >= maxEntries) {
        const int last = static_cast<int>(m_entries.size()) - 1;
        beginRemoveRows({}, last, last);
        m_entries.pop_back();
        endRemoveRows();
    }
    beginInsertRows({}, 0, 0);
    m_entries.push_front(std::move(entry));
    endInsertRows();
}

} // namespace velk
