#include "log/contactlistmodel.h"

namespace velk {

ContactListModel::ContactListModel(const ContactLog& log, QObject* parent)
    : QAbstractTableModel(parent), m_log(log)
{
}

const QStringList& ContactListModel::headers()
{
    static const QStringList names{QStringLiteral("Rec#"), QStringLiteral("Call"),
                                   QStringLiteral("Name"), QStringLiteral("SPC"),
                                   QStringLiteral("Cont"), QStringLiteral("Date/Time"),
                                   QStringLiteral("Bnd"),  QStringLiteral("Name Snt")};
    return names;
}

void ContactListModel::showNewest(int limit)
{
    std::vector<int> numbers;
    const int last = m_log.count();
    const int first = std::max(1, last - limit + 1);
    numbers.reserve(static_cast<size_t>(last - first + 1));
    for (int n = last; n >= first; --n) {
        numbers.push_back(n);
    }
    showRecords(std::move(numbers));
}

void ContactListModel::showAll()
{
    showNewest(m_log.count());
}

void ContactListModel::showRecords(std::vector<int> numbers)
{
    beginResetModel();
    m_numbers = std::move(numbers);
    endResetModel();
}

void ContactListModel::clearRows()
{
    showRecords({});
}

int ContactListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_numbers.size());
}

int ContactListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(headers().size());
}

QString ContactListModel::cell(int number, const ContactRecord& record, int column)
{
    switch (column) {
    case 0:
        return QString::number(number);
    case 1:
        return record.call;
    case 2:
        return record.name;
    case 3:
        return record.location;
    case 4:
        return record.continent;
    case 5:
        // "mm/dd" of "yyyy/mm/dd" and "hh:nn" of "hh:nn:ss".
        return record.date.mid(5, 5) + QLatin1Char(' ') + record.time.left(5);
    case 6:
        return record.band;
    case 7:
        return record.sentName;
    default:
        return {};
    }
}

QStringList ContactListModel::cells(int number, const ContactRecord& record)
{
    QStringList row;
    for (int column = 0; column < headers().size(); ++column) {
        row << cell(number, record, column);
    }
    return row;
}

QVariant ContactListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const int number = recordAt(index.row());
    if (number < 1 || number > m_log.count()) {
        return {};
    }
    if (role == Qt::UserRole && index.column() == 0) {
        return number; // record numbers sort as numbers, every other column as text
    }
    if (role != Qt::DisplayRole && role != Qt::UserRole) {
        return {};
    }
    return cell(number, m_log.record(number), index.column());
}

QVariant ContactListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < headers().size()) {
        return headers().at(section);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace velk
