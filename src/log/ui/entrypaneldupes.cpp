// Duplicate checks on the call box: the full check when the call box is left and when a contact
// is logged, the partial list while a call is typed, and the hold after a dupe.
#include "common/colours.h"
#include "log/dupes.h"
#include "log/logsession.h"
#include "log/ui/entrypanel.h"
#include "log/ui/heldinput.h"
#include "log/ui/statusline.h"

#include <QLineEdit>
#include <QPointer>
#include <QTimer>

namespace velk {

namespace {

// A dupe holds the next key in the call box this long, so a fast operator does not type the
// next call over the dupe report before reading it.
constexpr std::int64_t dupeHoldMs = 3000;
// How often the hold looks at the clock; the window keeps running in between.
constexpr int dupeHoldPollMs = 20;
// The partial list is cut after this many characters.
constexpr int partialListCut = 100;

// "/" or a digit: every call has one in the second or third place.
bool isDigitOrSlash(QChar c)
{
    return c.unicode() >= '/' && c.unicode() <= '9';
}

void fillAndSelect(QLineEdit* box, const QString& text)
{
    if (box->text().isEmpty()) {
        box->setText(text);
        box->selectAll();
    }
}

} // namespace

void EntryPanel::checkDupe()
{
    m_dupeFound = false;
    const ContactLog& log = m_session.log;
    const DupeScan scan = scanForDupe(log, m_call->text(), m_session.prefs.currentBand);
    if (m_session.prefs.listPrevious == 1) {
        emit previousContactsFound(scan.previous);
    }
    if (scan.nameDonor > 0) {
        fillAndSelect(m_name, log.record(scan.nameDonor).name);
    }
    if (scan.locationDonor > 0) {
        fillAndSelect(m_location, log.record(scan.locationDonor).location);
    }
    if (scan.dupeRecord == 0) {
        return;
    }

    reportStatus(dupeReport(log.record(scan.dupeRecord), scan.dupeRecord));
    m_status.setColour(colour::dupeReport);
    m_status.resetPartialDupes();
    m_platform.prompter.bell();
    m_dupeFound = true;
    m_lastDupeTick = m_platform.clock.tickMs();
    if (!m_session.dupeCue) {
        clearAfterDupe();
        return;
    }
    // The check goes on once the cue has been heard; moving the focus earlier would cut it.
    m_dupeCuePending = true;
    m_session.dupeCue([panel = QPointer<EntryPanel>(this)] {
        if (panel && panel->m_dupeCuePending) {
            panel->clearAfterDupe();
        }
    });
}

void EntryPanel::clearAfterDupe()
{
    m_dupeCuePending = false;
    m_call->setFocus();
    m_location->clear();
    m_call->clear();
    m_name->clear();
    clearLocationDisplays();
}

void EntryPanel::showPartialDupes(int key)
{
    m_status.setColour(colour::statusNormal);
    m_status.resetPartialDupes();
    const QString before = m_call->text();
    const QString typed = before + QChar(key);
    const bool typesCallCharacter = key > 45 && key < 91;

    QString list;
    if (m_partialDupesOn && typesCallCharacter) {
        list = partialDupeList(m_session.log, typed, m_session.prefs.currentBand, partialListCut);
        m_status.showPartialDupes(list, list.isEmpty() ? colour::buttonFace : colour::statusNormal);
    }

    if (before.size() > 2 && !list.isEmpty()) {
        reportStatus(tr("Possible Duplicate!"));
    } else if (m_session.operatingClock.isRunning()) {
        reportStatus(QStringLiteral(" "));
    }

    if (typed.size() == 3 && typesCallCharacter) {
        if (isDigitOrSlash(typed.at(2)) || isDigitOrSlash(typed.at(1))) {
            reportStatus(QStringLiteral(" "));
        } else {
            m_platform.prompter.bell();
            reportStatus(tr("The second or third character is not numeric!"));
        }
    }
}

bool EntryPanel::holdsAfterDupe() const
{
    return m_dupeFound && m_platform.clock.tickMs() < m_lastDupeTick + dupeHoldMs;
}

void EntryPanel::holdAfterDupe(int key)
{
    // The key waits, and every key and click after it waits behind it; the window keeps running
    // (spots, the radio, the links) and gets the input in the order it was typed once the hold
    // is over.
    m_heldKey = key;
    m_heldInput->hold();
    m_holdTimer->start(dupeHoldPollMs);
}

void EntryPanel::endHoldIfDue()
{
    if (holdsAfterDupe()) {
        return;
    }
    m_holdTimer->stop();
    m_dupeFound = false;
    if (const int key = std::exchange(m_heldKey, 0); key != 0) {
        m_call->insert(QString(QChar(key)));
    }
    m_heldInput->release();
}

} // namespace velk
