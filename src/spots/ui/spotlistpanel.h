#pragma once
// SpotListPanel: the main window's list of received spots, newest on top. A click offers the
// spot to the entry (its call) and to the radio (its frequency); a double click asks for the
// spectrum map. From the keyboard, Enter on a row does what the click does; Tab leaves the list.
#include <QWidget>

class QModelIndex;
class QTableView;

namespace velk {

class SpotListModel;

class SpotListPanel : public QWidget
{
    Q_OBJECT
public:
    explicit SpotListPanel(SpotListModel& model, QWidget* parent = nullptr);
    QTableView* table() const { return m_table; }

signals:
    void tuneRequested(double mhz);
    void callChosen(const QString& call);
    void spectrumMapRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    SpotListModel& m_model;
    QTableView* m_table = nullptr;

    void chooseRow(const QModelIndex& index);
};

} // namespace velk
