// Where the other station is: prefix lookup, location completion, the short-location check and
// the bearing and distance from the own station.
#include "log/ui/Form1.h"

#include "common/formats.h"
#include "log/bearing.h"
#include "log/locations.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>

namespace velk {

namespace {

constexpr int keySpace = 32;
const QString notFound = QStringLiteral("Not Found");

} // namespace

void Form1::LoadPrefixTable()
{
    const Folders& folders = m_session.folders;
    for (const QString& folder : {folders.shared, folders.data, folders.working}) {
        const QString path = folder + QStringLiteral("/arrlpre2.txt");
        // An unreadable copy should not hide a good one further down the list.
        if (!folder.isEmpty() && QFileInfo::exists(path) && m_prefixTable.load(path)) {
            return;
        }
    }
    m_prefixTable = PrefixTable();
}

void Form1::LookupCall()
{
    const CallLocation found = locateCall(m_prefixTable, txtCall->text());
    switch (found.outcome) {
    case CallLocation::Outcome::Nothing:
        return;
    case CallLocation::Outcome::Found:
        if (found.entry >= 0) {
            Label19->setText(m_prefixTable.at(found.entry).continent);
        } else {
            Label19->clear();
        }
        txtCntry->setText(found.location);
        if (found.entry >= 0) {
            HDCalc(m_prefixTable.at(found.entry).latitude, m_prefixTable.at(found.entry).longitude);
        }
        break;
    case CallLocation::Outcome::HomeCountry:
        // The operator types the state or province; the continent is known.
        Label19->setText(QStringLiteral("NA"));
        break;
    case CallLocation::Outcome::NotFound:
        txtCntry->setText(notFound);
        break;
    }
    // Typing in the location box replaces what the lookup put there.
    txtCntry->selectAll();
    if (txtCntry->text() == notFound) {
        clearEntryDisplays();
    }
}

int Form1::locationCaret() const
{
    return txtCntry->hasSelectedText() ? txtCntry->selectionStart() : txtCntry->cursorPosition();
}

bool Form1::CompleteLocation(int key)
{
    int caret = locationCaret();
    if (caret == 0 && key != keySpace) {
        txtCntry->clear(); // a new entry replaces the old one
    }
    const QString text = txtCntry->text();
    if (text.isEmpty() || caret < 3) {
        key = Capital(key); // state and province abbreviations
    } else if (caret == 3 && key != keySpace) {
        // Past an abbreviation's length it is a country name: "MEX" becomes "Mex".
        const int selected = static_cast<int>(txtCntry->selectedText().size());
        txtCntry->setText(text.left(1) + text.mid(1).toLower());
        txtCntry->setSelection(caret, selected);
        key = QChar(key).toLower().unicode();
    }
    if (key < keySpace) {
        return false; // Backspace edits as usual
    }
    if (txtCntry->text().size() > 1) {
        const QString typed = txtCntry->text().left(caret) + QChar(key);
        const int found = m_prefixTable.completeCountry(typed, Qt::CaseInsensitive);
        if (found >= 0) {
            const QString rest = m_prefixTable.at(found).country.mid(typed.size());
            txtCntry->setText(typed + rest);
            txtCntry->setSelection(static_cast<int>(typed.size()), static_cast<int>(rest.size()));
            showLocationOf(found);
            return true;
        }
        if (key == keySpace) {
            focusNextChild();
            return true;
        }
    }
    txtCntry->insert(QString(QChar(key)));
    return true;
}

void Form1::showLocationOf(int entry)
{
    const PrefixEntry& where = m_prefixTable.at(entry);
    Label19->setText(where.continent);
    HDCalc(where.latitude, where.longitude);
}

void Form1::CheckShortLocation()
{
    if (locationIndex(txtCntry->text()) > 0) {
        m_locationInvalid = false;
        if (Label19->text().isEmpty()) {
            Label19->setText(QStringLiteral("NA"));
        }
        return;
    }
    m_locationInvalid = true;
    m_platform.prompter.bell();
    setStatus(QStringLiteral("Invald Section!"));
    txtCntry->setFocus();
}

void Form1::HDCalc(double latitude, double longitude)
{
    const auto path = bearingAndDistance({m_session.prefs.ownLatitude, m_session.prefs.ownLongitude},
                                         {latitude, longitude});
    // At the own position or its antipode there is no direction: the labels stay as they were.
    if (!path) {
        return;
    }
    Label22->setText(formatNumber(path->bearing, QStringLiteral("###")) + QLatin1Char(' '));
    Label23->setText(formatNumber(path->miles, QStringLiteral("##,###")) + QLatin1Char(' '));
}

} // namespace velk
