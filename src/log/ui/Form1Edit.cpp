// Form1: correcting the log (edit and delete of a listed contact) and the activity graph.
#include "log/contactedit.h"
#include "log/contactlistmodel.h"
#include "log/ui/Form1.h"
#include "log/ui/frmEditCon.h"
#include "windows/ui/GraphQSO.h"

#include <QSortFilterProxyModel>
#include <QTableView>

namespace velk {

void Form1::cmdEdit_Click(int recordNumber)
{
    if (m_editCon || recordNumber < 1 || recordNumber > m_session.log.count()) {
        return;
    }
    auto* dialog = new frmEditCon(m_platform, m_session.log, m_prefixTable, recordNumber, this);
    m_editCon = dialog;
    connect(dialog, &QDialog::finished, this, [this, dialog](int result) { editFinished(dialog, result); });
    dialog->Form_Load();
    dialog->open();
}

void Form1::editFinished(frmEditCon* dialog, int result)
{
    if (dialog != m_editCon) {
        return;
    }
    m_editCon = nullptr;
    dialog->deleteLater();
    const int number = dialog->recordNumber();
    if (result == frmEditCon::DeleteDupeResult) {
        if (deleteRecord(number)) {
            return;
        }
    } else if (result == QDialog::Accepted && number >= 1 && number <= m_session.log.count()) {
        m_session.log.replace(number, dialog->editedRecord());
    }
    RefreshContactList();
    showEditButtons(false);
    rewriteAndReload();
}

void Form1::cmdDelete_Click()
{
    const int number = selectedRecord();
    if (number == 0) {
        showEditButtons(false);
        return;
    }
    deleteRecord(number);
}

bool Form1::deleteRecord(int number)
{
    if (number < 1 || number > m_session.log.count()) {
        return false;
    }
    const MessageAnswer answer =
        m_platform.prompter.message(QStringLiteral("Are you sure?"), QStringLiteral("Are you sure?"),
                                    MessageIcon::Question, MessageButtons::YesNo);
    showEditButtons(false);
    if (answer == MessageAnswer::No) {
        return false;
    }
    const WriteResult written = deleteContact(m_session.log, number, m_session.folders.logFile());
    if (!written.ok) {
        reportRewriteFailure(written);
    }
    mnuOpen2();
    return true;
}

void Form1::rewriteAndReload()
{
    const WriteResult written = m_session.log.rewrite(m_session.folders.logFile());
    if (!written.ok) {
        reportRewriteFailure(written);
    }
    mnuOpen2();
}

void Form1::reportRewriteFailure(const WriteResult& written)
{
    // The old log.txt is still whole (the rewrite goes through a temporary file); the reload that
    // follows puts the log back to what it holds.
    m_platform.prompter.bell();
    m_platform.prompter.message(
        tr("The log file could not be rewritten, so the change was NOT saved.\n\n%1").arg(written.error),
        tr("Unable to write the log file"), MessageIcon::Critical);
}

int Form1::selectedRecord() const
{
    const QModelIndex current = m_listSorter->mapToSource(m_listView->currentIndex());
    return current.isValid() ? m_listModel->recordAt(current.row()) : 0;
}

void Form1::mnuGraph_Click()
{
    auto* graph = new GraphQSO(m_platform, m_session.log, this);
    graph->setAttribute(Qt::WA_DeleteOnClose);
    graph->Form_Load();
    graph->open();
}

} // namespace velk
