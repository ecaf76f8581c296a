#include "spots/ui/spotlistpanel.h"

#include "spots/spotlistmodel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>
#include <QVBoxLayout>

namespace velk {

SpotListPanel::SpotListPanel(SpotListModel& model, QWidget* parent) : QWidget(parent), m_model(model)
{
    setObjectName(QStringLiteral("spotListPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("spotList"));
    m_table->setAccessibleName(tr("DX spots"));
    m_table->setModel(&m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setTabKeyNavigation(false);
    m_table->installEventFilter(this);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setColumnWidth(SpotListModel::CommentsColumn, 260);
    layout->addWidget(m_table);
    connect(m_table, &QTableView::clicked, this, &SpotListPanel::chooseRow);
    connect(m_table, &QTableView::doubleClicked, this, [this] { emit spectrumMapRequested(); });
}

bool SpotListPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_table && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            chooseRow(m_table->currentIndex());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SpotListPanel::chooseRow(const QModelIndex& index)
{
    if (!index.isValid() || index.row() >= m_model.rowCount()) {
        return;
    }
    const SpotListEntry& entry = m_model.entry(index.row());
    if (entry.frequencyMhz > 0) {
        emit tuneRequested(entry.frequencyMhz);
    }
    emit callChosen(entry.call);
}

} // namespace velk
