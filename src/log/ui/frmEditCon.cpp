#include "log/ui/frmEditCon.h"
#include "log/ui/entrykeys.h"

#include "log/contactedit.h"
#include "log/contactlog.h"
#include "log/prefixtable.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>

namespace velk {

namespace {

const QString invalidDateText = QStringLiteral("You have entered an invalid date format!");
const QString invalidDateTitle = QStringLiteral("Invalid Date Format!");
const QString invalidTimeText = QStringLiteral("You have entered an invalid time format!");
const QString invalidTimeTitle = QStringLiteral("Invalid Time Format!");

QLineEdit* makeBox(const char* name, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QLabel* makeWarning(const char* name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    label->hide();
    return label;
}

} // namespace

frmEditCon::frmEditCon(Platform& platform, const ContactLog& log, const PrefixTable& prefixes,
                       int recordNumber, QWidget* parent)
    : QDialog(parent), m_platform(platform), m_log(log), m_prefixes(prefixes), m_recordNumber(recordNumber)
{
    setObjectName(QStringLiteral("frmEditCon"));
    setWindowTitle(QStringLiteral("Edit Contact Entry"));
    buildWindow();
}

void frmEditCon::buildWindow()
{
    auto* grid = new QGridLayout;
    int row = 0;
    const auto addRow = [&](const QString& caption, QLineEdit*& box, const char* name) {
        box = makeBox(name, this);
        auto* label = new QLabel(caption, this);
        label->setBuddy(box);
        grid->addWidget(label, row, 0);
        grid->addWidget(box, row, 1);
        box->installEventFilter(this);
        ++row;
    };
    addRow(tr("Callsign"), txtEditCall, "txtEditCall");
    addRow(tr("Name"), txtEditCk, "txtEditCk");
    addRow(tr("S/P/C"), txtEditPre, "txtEditPre");
    addRow(tr("Cont"), txtEditSec, "txtEditSec");
    addRow(tr("Date"), txtEditDate, "txtEditDate");
    addRow(tr("Time"), txtEditTime, "txtEditTime");
    addRow(tr("Band"), Text1, "Text1");
    addRow(tr("Name Snt"), Text2, "Text2");

    Label1 = makeWarning("Label1", QStringLiteral("  Dupe!"), this);
    Label2 = makeWarning("Label2", QStringLiteral("Invalid!"), this);
    Label6 = makeWarning("Label6", QStringLiteral("Invalid!"), this);
    grid->addWidget(Label2, 2, 2);
    grid->addWidget(Label6, 6, 2);
    grid->setColumnMinimumWidth(2, Label2->sizeHint().width());

    cmdDeleteDupe = new QPushButton(QStringLiteral("Delete Dupe"), this);
    cmdDeleteDupe->setObjectName(QStringLiteral("cmdDeleteDupe"));
    cmdDeleteDupe->setAutoDefault(false);
    cmdDeleteDupe->hide();
    cmdDone = new QPushButton(QStringLiteral("Done"), this);
    cmdDone->setObjectName(QStringLiteral("cmdDone"));
    cmdDone->setAutoDefault(false);
    connect(cmdDone, &QPushButton::clicked, this, &frmEditCon::cmdDone_Click);
    connect(cmdDeleteDupe, &QPushButton::clicked, this, &frmEditCon::cmdDeleteDupe_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Label1);
    buttons->addStretch(1);
    buttons->addWidget(cmdDeleteDupe);
    buttons->addWidget(cmdDone);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
}

void frmEditCon::Form_Load()
{
    if (m_recordNumber < 1 || m_recordNumber > m_log.count()) {
        return;
    }
    m_edited = m_log.record(m_recordNumber);
    txtEditCall->setText(m_edited.call);
    txtEditCk->setText(m_edited.name);
    txtEditPre->setText(m_edited.location);
    txtEditSec->setText(m_edited.continent);
    txtEditDate->setText(m_edited.date);
    txtEditTime->setText(m_edited.time);
    Text1->setText(m_edited.band);
    Text2->setText(m_edited.sentName);
    for (QLineEdit* box :
         {txtEditCall, txtEditCk, txtEditPre, txtEditSec, txtEditDate, txtEditTime, Text1, Text2}) {
        box->setCursorPosition(0);
    }
    txtEditCall->setFocus();
}

ContactEdit frmEditCon::boxes() const
{
    ContactEdit edit;
    edit.call = txtEditCall->text();
    edit.name = txtEditCk->text();
    edit.location = txtEditPre->text();
    edit.continent = txtEditSec->text();
    edit.date = txtEditDate->text();
    edit.time = txtEditTime->text();
    edit.band = Text1->text();
    edit.sentName = Text2->text();
    return edit;
}

// ---------------------------------------------------------------------------------------------
// Done and Delete Dupe

void frmEditCon::cmdDone_Click()
{
    if (txtEditPre->text().size() < 4) {
        txtEditPre->setText(settleEditLocation(txtEditPre->text()));
    }
    const ContactEdit edit = boxes();
    const EditVerdict verdict = checkEdit(m_log, m_recordNumber, edit);
    switch (verdict.refusal) {
    case EditVerdict::Refusal::InvalidTime:
        refuseTime();
        return;
    case EditVerdict::Refusal::InvalidDate:
        refuseDate();
        return;
    case EditVerdict::Refusal::InvalidBand:
        refuseBand();
        return;
    case EditVerdict::Refusal::None:
        break;
    }
    Label6->hide();

    Label1->setVisible(!verdict.dupes.empty());
    // "Delete Dupe" is offered only while the edit is a dupe.
    cmdDeleteDupe->setVisible(!verdict.dupes.empty());
    for (std::size_t i = 0; i < verdict.dupes.size(); ++i) {
        m_platform.prompter.bell();
    }
    Label2->setVisible(verdict.locationInvalid);
    if (verdict.locationInvalid) {
        m_platform.prompter.bell();
    }
    if (!verdict.accepted()) {
        return;
    }
    if (m_recordNumber >= 1 && m_recordNumber <= m_log.count()) {
        m_edited = applyEdit(m_log.record(m_recordNumber), edit);
    }
    accept();
}

void frmEditCon::cmdDeleteDupe_Click()
{
    hide();
    done(DeleteDupeResult);
}

// ---------------------------------------------------------------------------------------------
// Keys and focus

bool frmEditCon::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box && event->type() == QEvent::KeyPress) {
        return boxKeyPress(box, static_cast<QKeyEvent*>(event));
    }
    if (box && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Only the operator moving on within the dialog counts, not the dialog closing or a
        // message box taking the activation.
        if (isVisible() && !m_refocusing && reason != Qt::ActiveWindowFocusReason &&
            reason != Qt::PopupFocusReason) {
            boxLostFocus(box);
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool frmEditCon::boxKeyPress(QLineEdit* box, QKeyEvent* event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        return false;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        cmdDone_Click();
        return true;
    }
    const auto key = typedChar(event);
    if (!key) {
        return false; // Backspace, arrows, Delete ... edit as usual
    }
    // A double quote would break the quoted fields of log.txt.
    if (*key == QLatin1Char('"')) {
        return true;
    }
    if (box == txtEditPre) {
        return txtEditPre_KeyPress(*key);
    }
    box->insert(QString(capital(*key)));
    return true;
}

bool frmEditCon::txtEditPre_KeyPress(QChar key)
{
    int caret = caretOf(txtEditPre);
    // A key at the start replaces the whole location.
    if (txtEditPre->text().isEmpty() || caret == 0) {
        txtEditPre->clear();
        key = capital(key);
        caret = 0;
    }
    const QString typed = txtEditPre->text().left(caret) + key;
    const int found = m_prefixes.completeCountry(typed, Qt::CaseSensitive);
    if (found >= 0) {
        const QString rest = m_prefixes.at(found).country.mid(typed.size());
        txtEditPre->setText(typed + rest);
        txtEditPre->setSelection(static_cast<int>(typed.size()), static_cast<int>(rest.size()));
        return true;
    }
    txtEditPre->insert(QString(key));
    return true;
}

void frmEditCon::boxLostFocus(QLineEdit* box)
{
    if (box == txtEditDate) {
        txtEditDate_LostFocus();
    } else if (box == txtEditTime) {
        txtEditTime_LostFocus();
    } else if (box == Text1) {
        Text1_LostFocus();
    }
}

void frmEditCon::txtEditDate_LostFocus()
{
    if (!isEditDate(txtEditDate->text())) {
        refuseDate();
    }
}

void frmEditCon::txtEditTime_LostFocus()
{
    if (!isEditTime(txtEditTime->text())) {
        refuseTime();
    }
}

void frmEditCon::Text1_LostFocus()
{
    if (!isEditBand(Text1->text())) {
        refuseBand();
    } else {
        Label6->hide();
    }
}

void frmEditCon::refuseDate()
{
    m_platform.prompter.bell();
    m_platform.prompter.message(invalidDateText, invalidDateTitle);
    refocus(txtEditDate);
}

void frmEditCon::refuseTime()
{
    m_platform.prompter.bell();
    m_platform.prompter.message(invalidTimeText, invalidTimeTitle);
    refocus(txtEditTime);
}

void frmEditCon::refuseBand()
{
    m_platform.prompter.bell();
    Label6->show();
    refocus(Text1);
}

void frmEditCon::refocus(QLineEdit* box)
{
    m_refocusing = true;
    box->setFocus(Qt::OtherFocusReason);
    m_refocusing = false;
}

} // namespace velk
