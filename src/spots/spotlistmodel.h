#pragma once
// SpotListModel: the main window's spot list, newest first, at most 200 entries, eight columns.
// The frequency column keeps its MHz value as item data, so a click reads a number, not text.
#include <QAbstractTableModel>
#include <QString>
#include <deque>
#include <vector>

namespace velk {

struct SpotListEntry
{
    QString call;
    double frequencyMhz = 0;
    QString country;
    QString comments;
    QString prefix;
    QString time;
    QString from;
};

class SpotListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int maxEntries = 200;
    enum Column {
        CallColumn,
        FrequencyColumn,
        QthColumn,
        StatusColumn,
        CommentsColumn,
        PrefixColumn,
        TimeColumn,
        FromColumn,
        ColumnCount
    };
    // The frequency in MHz of every cell of a row, as a double.
    static constexpr int frequencyRole = Qt::UserRole + 1;

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void addSpot(SpotListEntry entry);
    // Several spots at once, oldest first (a burst worked off): one change for the views.
    void addSpots(std::vector<SpotListEntry> entries);
    const SpotListEntry& entry(int row) const { return m_entries.at(static_cast<std::size_t>(row)); }

private:
    std::deque<SpotListEntry> m_entries; // newest first
};

// The frequency column's text: the MHz value in the shortest form ("14.025").
QString formatSpotFrequency(double mhz);

} // namespace velk
