#pragma once
// ContactListPanel: the list of previous contacts (the last 20 or all, newest first, sortable by
// column), its "All" / "Last 20" switch and the "Edit Contact" and "Delete Contact" buttons.
// Reads the LogSession's log and follows its signals; asks for edits and deletes by signal.
#include "common/platform/platform.h"

#include <QWidget>
#include <vector>

class QPushButton;
class QSortFilterProxyModel;
class QTableView;

namespace velk {

class ContactListModel;
class LogSession;

class ContactListPanel : public QWidget
{
    Q_OBJECT
public:
    ContactListPanel(Platform& platform, LogSession& session, QWidget* parent = nullptr);

    // Refills the list: all records or the last 20.
    void refresh();
    void toggleListAll();
    bool listAll() const { return m_listAll; }
    void showRecords(const std::vector<int>& records);
    void showEditButtons(bool visible);
    // The call box got the focus: the edit buttons go; with an empty call box a short list
    // catches up with the log.
    void callBoxEntered(bool callEmpty);
    // "&Copy Listed Items to Clipboard": the headers and every listed row, Tab and CR LF.
    void copyToClipboard();
    // Record number of the selected row, 0 when none is selected.
    int selectedRecord() const;

    ContactListModel& model() const { return *m_model; }
    QTableView* view() const { return m_view; }

signals:
    void editRequested(int recordNumber);
    void deleteRequested(int recordNumber);
    // The list switch was used: the call box takes the focus back.
    void doneWithList();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Platform& m_platform;
    LogSession& m_session;
    bool m_listAll = false;
    ContactListModel* m_model = nullptr;
    QSortFilterProxyModel* m_sorter = nullptr;
    QTableView* m_view = nullptr;
    QPushButton* m_listAllButton = nullptr;
    QPushButton* m_editButton = nullptr;
    QPushButton* m_deleteButton = nullptr;

    QWidget* buildButtonRow();
    void buildView();
};

} // namespace velk
