// Duplicate checks on the call box: the full check when the call box is left and when a contact
// is logged, the partial list while a call is typed, and the hold after a dupe.
#include "log/ui/Form1.h"

#include "common/colours.h"
#include "log/contactlistmodel.h"
#include "log/dupes.h"

#include <QAction>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace velk {

namespace {

// A dupe holds the next key in the call box this long, so a fast operator does not type the
// next call over the dupe report before reading it.
constexpr std::int64_t dupeHoldMs = 3000;
// How often the hold looks at the clock; the window keeps painting in between.
constexpr int dupeHoldPollMs = 20;
// The partial list is cut after this many characters.
constexpr int partialListCut = 100;

void paintBackground(QLabel* label, std::uint32_t bgr)
{
    label->setStyleSheet(QStringLiteral("background-color: %1;").arg(styleSheetColour(bgr)));
}

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

void Form1::DupCheck()
{
    m_dupeFound = false;
    const QString call = txtCall->text();
    const DupeScan scan = scanForDupe(m_session.log, call, m_session.prefs.currentBand);
    if (mnuListPrevious->isChecked()) {
        m_listModel->showRecords(scan.previous);
    }
    if (scan.nameDonor > 0) {
        fillAndSelect(txtRSTR, m_session.log.record(scan.nameDonor).name);
    }
    if (scan.locationDonor > 0) {
        fillAndSelect(txtCntry, m_session.log.record(scan.locationDonor).location);
    }
    if (scan.dupeRecord == 0) {
        return;
    }

    setStatus(dupeReport(m_session.log.record(scan.dupeRecord), scan.dupeRecord));
    setStatusColour(colour::dupeReport);
    resetPartialDupeDisplay();
    m_platform.prompter.bell();
    SayDupe();
    m_dupeFound = true;
    m_lastDupeTick = m_platform.clock.tickMs();
    txtCall->setFocus();
    txtCntry->clear();
    txtCall->clear();
    txtRSTR->clear();
    clearEntryDisplays();
}

void Form1::SayDupe() {}

void Form1::PartialDupeCheck(int key)
{
    setStatusColour(colour::statusNormal);
    resetPartialDupeDisplay();
    const QString before = txtCall->text();
    const QString typed = before + QChar(key);
    const bool typesCallCharacter = key > 45 && key < 91;

    QString list;
    if (m_partialDupesOn && typesCallCharacter) {
        list = partialDupeList(m_session.log, typed, m_session.prefs.currentBand, partialListCut);
        paintBackground(lblDupe, list.isEmpty() ? colour::buttonFace : colour::statusNormal);
        lblDupe->setText(list);
    }

    if (before.size() > 2 && !list.isEmpty()) {
        setStatus(tr("Possible Duplicate!"));
    } else if (m_timeOn) {
        setStatus(QStringLiteral(" "));
    }

    if (typed.size() == 3 && typesCallCharacter) {
        if (isDigitOrSlash(typed.at(2)) || isDigitOrSlash(typed.at(1))) {
            setStatus(QStringLiteral(" "));
        } else {
            m_platform.prompter.bell();
            setStatus(tr("The second or third character is not numeric!"));
        }
    }
}

void Form1::WaitDupeHold()
{
    const std::int64_t until = m_lastDupeTick + dupeHoldMs;
    if (m_platform.clock.tickMs() < until) {
        // The window keeps painting and its timers keep running; keys and clicks stay queued
        // until the hold is over, so they arrive afterwards in the order they were typed.
        QEventLoop hold;
        QTimer poll;
        poll.setInterval(dupeHoldPollMs);
        connect(&poll, &QTimer::timeout, &hold, [&] {
            if (m_platform.clock.tickMs() >= until) {
                hold.quit();
            }
        });
        poll.start();
        hold.exec(QEventLoop::ExcludeUserInputEvents);
    }
    m_dupeFound = false;
}

} // namespace velk
