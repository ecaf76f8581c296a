#include "log/ui/editcontactdialog.h"
#include "common/formats.h"
#include "log/ui/entrykeys.h"
#include "log/ui/widgetparts.h"

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

QLabel* makeWarning(const char* name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    label->hide();
    return label;
}

} // namespace

EditContactDialog::EditContactDialog(Platform& platform, const ContactLog& log, const PrefixTable& prefixes,
                                     int recordNumber, QWidget* parent)
    : QDialog(parent), m_platform(platform), m_log(log), m_prefixes(prefixes), m_recordNumber(recordNumber)
{
    setObjectName(QStringLiteral("EditContactDialog"));
    setWindowTitle(QStringLiteral("Edit Contact Entry"));
    buildWindow();
}

void EditContactDialog::buildWindow()
{
    auto* grid = new QGridLayout;
    int row = 0;
    const auto addRow = [&](const QString& caption, QLineEdit*& box, const char* name) {
        box = addEntryRow(this, grid, row++, caption, QString::fromLatin1(name));
    };
    addRow(tr("Callsign"), callBox, "callBox");
    addRow(tr("Name"), nameBox, "nameBox");
    addRow(tr("S/P/C"), locationBox, "locationBox");
    addRow(tr("Cont"), continentBox, "continentBox");
    addRow(tr("Date"), dateBox, "dateBox");
    addRow(tr("Time"), timeBox, "timeBox");
    addRow(tr("Band"), bandBox, "bandBox");
    addRow(tr("Name Snt"), sentNameBox, "sentNameBox");

    dupeWarning = makeWarning("dupeWarning", QStringLiteral("  Dupe!"), this);
    locationWarning = makeWarning("locationWarning", QStringLiteral("Invalid!"), this);
    bandWarning = makeWarning("bandWarning", QStringLiteral("Invalid!"), this);
    grid->addWidget(locationWarning, 2, 2);
    grid->addWidget(bandWarning, 6, 2);
    grid->setColumnMinimumWidth(2, locationWarning->sizeHint().width());

    deleteDupeButton = new QPushButton(QStringLiteral("Delete Dupe"), this);
    deleteDupeButton->setObjectName(QStringLiteral("deleteDupeButton"));
    deleteDupeButton->setAutoDefault(false);
    deleteDupeButton->hide();
    doneButton = new QPushButton(QStringLiteral("Done"), this);
    doneButton->setObjectName(QStringLiteral("doneButton"));
    doneButton->setAutoDefault(false);
    connect(doneButton, &QPushButton::clicked, this, &EditContactDialog::pressDone);
    connect(deleteDupeButton, &QPushButton::clicked, this, &EditContactDialog::deleteDupe);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(dupeWarning);
    buttons->addStretch(1);
    buttons->addWidget(deleteDupeButton);
    buttons->addWidget(doneButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
}

void EditContactDialog::load()
{
    if (m_recordNumber < 1 || m_recordNumber > m_log.count()) {
        return;
    }
    m_edited = m_log.record(m_recordNumber);
    callBox->setText(m_edited.call);
    nameBox->setText(m_edited.name);
    locationBox->setText(m_edited.location);
    continentBox->setText(m_edited.continent);
    dateBox->setText(m_edited.date);
    timeBox->setText(m_edited.time);
    bandBox->setText(m_edited.band);
    sentNameBox->setText(m_edited.sentName);
    for (QLineEdit* box :
         {callBox, nameBox, locationBox, continentBox, dateBox, timeBox, bandBox, sentNameBox}) {
        box->setCursorPosition(0);
    }
    callBox->setFocus();
}

ContactEdit EditContactDialog::boxes() const
{
    ContactEdit edit;
    edit.call = callBox->text();
    edit.name = nameBox->text();
    edit.location = locationBox->text();
    edit.continent = continentBox->text();
    edit.date = dateBox->text();
    edit.time = timeBox->text();
    edit.band = bandBox->text();
    edit.sentName = sentNameBox->text();
    return edit;
}

// ---------------------------------------------------------------------------------------------
// Done and Delete Dupe

void EditContactDialog::pressDone()
{
    if (locationBox->text().size() < 4) {
        locationBox->setText(settleEditLocation(locationBox->text()));
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
    bandWarning->hide();

    dupeWarning->setVisible(!verdict.dupes.empty());
    // "Delete Dupe" is offered only while the edit is a dupe.
    deleteDupeButton->setVisible(!verdict.dupes.empty());
    for (std::size_t i = 0; i < verdict.dupes.size(); ++i) {
        m_platform.prompter.bell();
    }
    locationWarning->setVisible(verdict.locationInvalid);
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

void EditContactDialog::deleteDupe()
{
    hide();
    done(DeleteDupeResult);
}

// ---------------------------------------------------------------------------------------------
// Keys and focus

bool EditContactDialog::eventFilter(QObject* watched, QEvent* event)
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

bool EditContactDialog::boxKeyPress(QLineEdit* box, QKeyEvent* event)
{
    if (isRefusedEntryKey(event)) {
        return true;
    }
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        return false;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        pressDone();
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
    if (box == locationBox) {
        return locationKeyPress(*key);
    }
    box->insert(QString(capital(*key)));
    return true;
}

bool EditContactDialog::locationKeyPress(QChar key)
{
    int caret = caretOf(locationBox);
    // A key at the start replaces the whole location.
    if (locationBox->text().isEmpty() || caret == 0) {
        locationBox->clear();
        key = capital(key);
        caret = 0;
    }
    const QString typed = locationBox->text().left(caret) + key;
    const int found = m_prefixes.completeCountry(typed, Qt::CaseSensitive);
    if (found >= 0) {
        const QString rest = m_prefixes.at(found).country.mid(typed.size());
        locationBox->setText(typed + rest);
        locationBox->setSelection(static_cast<int>(typed.size()), static_cast<int>(rest.size()));
        return true;
    }
    locationBox->insert(QString(key));
    return true;
}

void EditContactDialog::boxLostFocus(QLineEdit* box)
{
    if (box == dateBox) {
        leaveDateBox();
    } else if (box == timeBox) {
        leaveTimeBox();
    } else if (box == bandBox) {
        leaveBandBox();
    }
}

void EditContactDialog::leaveDateBox()
{
    if (!isEditDate(dateBox->text())) {
        refuseDate();
    }
}

void EditContactDialog::leaveTimeBox()
{
    if (!isEditTime(timeBox->text())) {
        refuseTime();
    }
}

void EditContactDialog::leaveBandBox()
{
    if (!isEditBand(bandBox->text())) {
        refuseBand();
    } else {
        bandWarning->hide();
    }
}

void EditContactDialog::refuseDate()
{
    m_platform.prompter.bell();
    m_platform.prompter.message(invalidDateText, invalidDateTitle);
    refocus(dateBox);
}

void EditContactDialog::refuseTime()
{
    m_platform.prompter.bell();
    m_platform.prompter.message(invalidTimeText, invalidTimeTitle);
    refocus(timeBox);
}

void EditContactDialog::refuseBand()
{
    m_platform.prompter.bell();
    bandWarning->show();
    refocus(bandBox);
}

void EditContactDialog::refocus(QLineEdit* box)
{
    m_refocusing = true;
    box->setFocus(Qt::OtherFocusReason);
    m_refocusing = false;
}

} // namespace velk
