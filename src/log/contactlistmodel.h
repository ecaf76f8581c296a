#pragma once
// ContactListModel: the rows of the list of previous contacts, read straight from the log so a
// list of every contact appears at once. Talks to ContactLog only.
#include "log/contactlog.h"

#include <QAbstractTableModel>
#include <vector>

namespace velk {

class ContactListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit ContactListModel(const ContactLog& log, QObject* parent = nullptr);

    static const QStringList& headers();

    // Newest first: every record, or the last `limit`.
    void showNewest(int limit);
    void showAll();
    // Exactly these record numbers, in this order.
    void showRecords(std::vector<int> numbers);
    void clearRows();

    int recordAt(int row) const { return m_numbers.at(static_cast<size_t>(row)); }
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The cells of one record as the list shows them.
    static QStringList cells(int number, const ContactRecord& record);
    static QString cell(int number, const ContactRecord& record, int column);

private:
    const ContactLog& m_log;
    std::vector<int> m_numbers;
};

} // namespace velk
