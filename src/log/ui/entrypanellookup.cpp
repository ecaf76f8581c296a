// Where the other station is: prefix lookup, location completion, the short-location check, the
// new-multiplier indicator and the bearing and distance from the own station.
#include "common/bands.h"
#include "common/formats.h"
#include "log/bearing.h"
#include "log/locations.h"
#include "log/logsession.h"
#include "log/ui/entrykeys.h"
#include "log/ui/entrypanel.h"
#include "log/ui/statusline.h"

#include <QLabel>
#include <QLineEdit>

namespace velk {

namespace {

constexpr int keySpace = 32;
const QString notFound = QStringLiteral("Not Found");

} // namespace

void EntryPanel::lookUpCall()
{
    const PrefixTable& prefixes = m_session.prefixes;
    const CallLocation found = locateCall(prefixes, m_call->text());
    switch (found.outcome) {
    case CallLocation::Outcome::Nothing:
        return;
    case CallLocation::Outcome::Found:
        if (found.entry >= 0) {
            m_continent->setText(prefixes.at(found.entry).continent);
        } else {
            m_continent->clear();
        }
        m_location->setText(found.location);
        if (found.entry >= 0) {
            showBearingTo(prefixes.at(found.entry).latitude, prefixes.at(found.entry).longitude);
        }
        break;
    case CallLocation::Outcome::HomeCountry:
        // The operator types the state or province; the continent is known, and no earlier DX
        // country's bearing and distance stay on screen.
        m_continent->setText(QStringLiteral("NA"));
        m_bearing->clear();
        m_distance->clear();
        break;
    case CallLocation::Outcome::NotFound:
        m_location->setText(notFound);
        break;
    }
    // Typing in the location box replaces what the lookup put there.
    m_location->selectAll();
    if (m_location->text() == notFound) {
        clearLocationDisplays();
    }
}

bool EntryPanel::completeLocation(int key)
{
    const int caret = caretOf(m_location);
    if (caret == 0 && key != keySpace) {
        m_location->clear(); // a new entry replaces the old one
    }
    const QString text = m_location->text();
    if (text.isEmpty() || caret < 3) {
        key = capital(QChar(key)).unicode(); // state and province abbreviations
    } else if (caret == 3 && key != keySpace) {
        // Past an abbreviation's length it is a country name: "MEX" becomes "Mex".
        const int selected = static_cast<int>(m_location->selectedText().size());
        m_location->setText(text.left(1) + text.mid(1).toLower());
        m_location->setSelection(caret, selected);
        key = QChar(key).toLower().unicode();
    }
    if (key < keySpace) {
        return false; // Backspace edits as usual
    }
    if (m_location->text().size() > 1) {
        const QString typed = m_location->text().left(caret) + QChar(key);
        const int found = m_session.prefixes.completeCountry(typed, Qt::CaseInsensitive);
        if (found >= 0) {
            const QString rest = m_session.prefixes.at(found).country.mid(typed.size());
            m_location->setText(typed + rest);
            m_location->setSelection(static_cast<int>(typed.size()), static_cast<int>(rest.size()));
            showLocationOf(found);
            showNewMultiplier(); // against the completed country's continent
            return true;
        }
        if (key == keySpace) {
            focusNextChild();
            return true;
        }
    }
    m_location->insert(QString(QChar(key)));
    return true;
}

void EntryPanel::showLocationOf(int entry)
{
    const PrefixEntry& where = m_session.prefixes.at(entry);
    m_continent->setText(where.continent);
    showBearingTo(where.latitude, where.longitude);
}

void EntryPanel::checkShortLocation()
{
    if (locationIndex(m_location->text()) > 0) {
        m_locationInvalid = false;
        if (m_continent->text().isEmpty()) {
            m_continent->setText(QStringLiteral("NA"));
        }
        return;
    }
    m_locationInvalid = true;
    m_platform.prompter.bell();
    reportStatus(QStringLiteral("Invald Section!"));
    m_location->setFocus();
}

void EntryPanel::showNewMultiplier()
{
    const bool isNew = m_session.multipliers.isNewDx(bandIndex(m_session.prefs.currentBand),
                                                     m_location->text(), m_continent->text());
    const bool wasShown = !m_newMultiplier->isHidden();
    m_newMultiplier->setVisible(isNew);
    if (isNew && !wasShown) {
        emit newMultiplierShown();
    }
}

void EntryPanel::showBearingTo(double latitude, double longitude)
{
    const auto path = bearingAndDistance({m_session.prefs.ownLatitude, m_session.prefs.ownLongitude},
                                         {latitude, longitude});
    // At the own position or its antipode there is no direction: the labels stay as they were.
    if (!path) {
        return;
    }
    m_bearing->setText(formatNumber(path->bearing, QStringLiteral("###")) + QLatin1Char(' '));
    m_distance->setText(formatNumber(path->miles, QStringLiteral("##,###")) + QLatin1Char(' '));
}

} // namespace velk
