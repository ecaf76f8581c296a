#include "log/ui/contactlistpanel.h"

#include "log/contactlistmodel.h"
#include "log/logsession.h"
#include "log/ui/widgetparts.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

namespace velk {

namespace {

constexpr int newestShown = 20;

} // namespace

ContactListPanel::ContactListPanel(Platform& platform, LogSession& session, QWidget* parent)
    : QWidget(parent), m_platform(platform), m_session(session)
{
    setObjectName(QStringLiteral("contactListPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buildButtonRow());
    buildView();
    layout->addWidget(m_view, 1);
    connect(&m_session, &LogSession::logReloaded, this, &ContactListPanel::refresh);
    connect(&m_session, &LogSession::contactLogged, this, &ContactListPanel::refresh);
}

QWidget* ContactListPanel::buildButtonRow()
{
    auto* row = new QWidget(this);
    auto* buttons = new QHBoxLayout(row);
    buttons->setContentsMargins(0, 0, 0, 0);
    m_listAllButton = makeButton(QStringLiteral("listAllButton"), tr("All"), row);
    m_listAllButton->setToolTip(tr("List all contacts or the last 20"));
    m_editButton = makeButton(QStringLiteral("editContactButton"), tr("Edit Contact"), row);
    m_deleteButton = makeButton(QStringLiteral("deleteContactButton"), tr("Delete Contact"), row);
    m_editButton->hide();
    m_deleteButton->hide();
    buttons->addWidget(new QLabel(tr("List:"), row));
    buttons->addWidget(m_listAllButton);
    buttons->addStretch(1);
    buttons->addWidget(m_editButton);
    buttons->addWidget(m_deleteButton);

    connect(m_listAllButton, &QPushButton::clicked, this, &ContactListPanel::toggleListAll);
    connect(m_editButton, &QPushButton::clicked, this, [this] {
        if (const int number = selectedRecord(); number > 0) {
            emit editRequested(number);
        }
    });
    connect(m_deleteButton, &QPushButton::clicked, this, [this] {
        const int number = selectedRecord();
        if (number == 0) {
            showEditButtons(false);
            return;
        }
        emit deleteRequested(number);
    });
    return row;
}

void ContactListPanel::buildView()
{
    m_model = new ContactListModel(m_session.log, this);
    m_sorter = new QSortFilterProxyModel(this);
    m_sorter->setSourceModel(m_model);
    m_sorter->setSortRole(Qt::UserRole);
    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("contactList"));
    m_view->setAccessibleName(tr("Previous contacts"));
    m_view->setModel(m_sorter);
    m_view->setSortingEnabled(true);
    m_view->sortByColumn(-1, Qt::AscendingOrder); // keep the newest-first order until a header is clicked
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setTabKeyNavigation(false); // Tab goes on to the next control; the arrows move in the list
    m_view->setAlternatingRowColors(true);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setDefaultSectionSize(QFontMetrics(m_view->font()).height() + 6);
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_view->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    for (const auto& [column, width] :
         {std::pair{0, 55}, {1, 110}, {2, 95}, {3, 90}, {4, 50}, {5, 105}, {6, 45}}) {
        m_view->setColumnWidth(column, width);
    }
    m_view->installEventFilter(this);
    m_view->viewport()->installEventFilter(this);
}

void ContactListPanel::refresh()
{
    if (m_listAll) {
        m_model->showAll();
    } else {
        m_model->showNewest(newestShown);
    }
}

void ContactListPanel::toggleListAll()
{
    m_listAll = !m_listAll;
    m_listAllButton->setText(m_listAll ? tr("Last 20") : tr("All"));
    refresh();
    emit doneWithList();
}

void ContactListPanel::showRecords(const std::vector<int>& records)
{
    m_model->showRecords(records);
}

void ContactListPanel::showEditButtons(bool visible)
{
    m_editButton->setVisible(visible);
    m_deleteButton->setVisible(visible);
}

void ContactListPanel::callBoxEntered(bool callEmpty)
{
    showEditButtons(false);
    const int shown = m_model->rowCount();
    if (callEmpty && shown < m_session.log.count() && shown < newestShown - 2) {
        refresh();
    }
}

void ContactListPanel::copyToClipboard()
{
    QString text = ContactListModel::headers().join(QLatin1Char('\t')) + QStringLiteral("\r\n");
    const int columns = m_sorter->columnCount();
    for (int row = 0; row < m_sorter->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < columns; ++column) {
            cells << m_sorter->index(row, column).data().toString();
        }
        text += cells.join(QLatin1Char('\t')) + QStringLiteral("\r\n");
    }
    m_platform.prompter.setClipboardText(text);
}

int ContactListPanel::selectedRecord() const
{
    const QModelIndex current = m_sorter->mapToSource(m_view->currentIndex());
    return current.isValid() ? m_model->recordAt(current.row()) : 0;
}

bool ContactListPanel::eventFilter(QObject* watched, QEvent* event)
{
    const bool holdsRows = m_model->rowCount() > 0;
    if (watched == m_view->viewport() && event->type() == QEvent::MouseButtonRelease && holdsRows) {
        showEditButtons(true);
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QModelIndex at = m_sorter->mapToSource(m_view->indexAt(mouse->position().toPoint()));
        if (mouse->button() == Qt::RightButton && at.isValid()) {
            emit editRequested(m_model->recordAt(at.row()));
        }
    } else if (watched == m_view && event->type() == QEvent::FocusOut && holdsRows) {
        showEditButtons(true);
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace velk
