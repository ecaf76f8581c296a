// The entry panel's boxes and keys, and the logging of a contact.
#include "log/ui/entrypanel.h"

#include "common/colours.h"
#include "common/formats.h"
#include "log/locations.h"
#include "log/logsession.h"
#include "log/stationtime.h"
#include "log/ui/entrykeys.h"
#include "log/ui/heldinput.h"
#include "log/ui/preferenceprompts.h"
#include "log/ui/statusline.h"
#include "log/ui/widgetparts.h"

#include <QCoreApplication>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QVBoxLayout>

namespace velk {

namespace {

constexpr int keyBackspace = 8;
constexpr int keyTab = 9;
constexpr int keyEnter = 13;
constexpr int keySpace = 32;
constexpr int keyQuote = 34;

QLineEdit* makeEntryBox(const QString& objectName, const QString& accessibleName, int pointSize,
                        QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(objectName);
    box->setAccessibleName(accessibleName);
    box->setValidator(makeEntryValidator(box));
    QFont font = box->font();
    font.setPointSize(pointSize);
    font.setBold(true);
    box->setFont(font);
    box->setMinimumHeight(QFontMetrics(font).height() + 14);
    return box;
}

// The character code a key press would type, as the entry boxes see it; 0 for keys that type
// nothing (arrows, Delete, Home ...), which the boxes handle themselves.
int typedKeyCode(const QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return keyEnter;
    case Qt::Key_Backspace:
        return keyBackspace;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return keyTab;
    default:
        break;
    }
    const auto typed = typedChar(event);
    return typed ? typed->unicode() : 0;
}

int upper(int key)
{
    return capital(QChar(key)).unicode();
}

} // namespace

EntryPanel::EntryPanel(Platform& platform, LogSession& session, StatusLine& status, QWidget* parent)
    : QWidget(parent), m_platform(platform), m_session(session), m_status(status)
{
    setObjectName(QStringLiteral("entryPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addLayout(buildBoxes());
    layout->addWidget(&m_status);
    layout->addWidget(buildButtonRow());

    for (QLineEdit* box : {m_call, m_name, m_location, m_postContestTime, m_postContestDate}) {
        box->installEventFilter(this);
    }
    connect(m_call, &QLineEdit::textChanged, this, [this] { lookUpCall(); });
    connect(m_call, &QLineEdit::textChanged, &m_session, &LogSession::setCallBeingEntered);
    connect(m_location, &QLineEdit::textChanged, this, [this] { showNewMultiplier(); });
    connect(&m_session, &LogSession::bandChanged, this, [this] {
        if (!m_call->text().isEmpty()) {
            showNewMultiplier();
        }
    });
    setTabOrder(m_call, m_name);
    setTabOrder(m_name, m_location);

    m_heldInput = new HeldInput(this);
    m_holdTimer = new QTimer(this);
    m_holdTimer->setObjectName(QStringLiteral("dupeHoldTimer"));
    connect(m_holdTimer, &QTimer::timeout, this, &EntryPanel::endHoldIfDue);
}

QGridLayout* EntryPanel::buildBoxes()
{
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(2);

    m_call = makeEntryBox(QStringLiteral("callBox"), tr("Call sign"), 20, this);
    m_name = makeEntryBox(QStringLiteral("nameBox"), tr("Name"), 20, this);
    m_location = makeEntryBox(QStringLiteral("locationBox"), tr("Location"), 20, this);
    grid->addWidget(makeCaption(tr("Call"), this), 0, 0);
    grid->addWidget(makeCaption(tr("Name"), this), 0, 1);
    grid->addWidget(makeCaption(tr("S/P/C"), this), 0, 2);
    grid->addWidget(m_call, 1, 0);
    grid->addWidget(m_name, 1, 1);
    grid->addWidget(m_location, 1, 2);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(2, 4);

    m_continent = makeDisplay(QStringLiteral("continentDisplay"), tr("Continent"), this);
    m_bearing = makeDisplay(QStringLiteral("bearingDisplay"), tr("Bearing"), this);
    m_distance = makeDisplay(QStringLiteral("distanceDisplay"), tr("Miles"), this);
    auto* where = new QFormLayout;
    where->setVerticalSpacing(0);
    where->addRow(tr("Continent:"), m_continent);
    where->addRow(tr("Bearing:"), m_bearing);
    where->addRow(tr("Miles:"), m_distance);
    grid->addLayout(where, 0, 3, 2, 1);
    grid->setColumnMinimumWidth(3, 130);

    m_newMultiplier = makeDisplay(QStringLiteral("newMultiplierIndicator"), tr("New multiplier"), this);
    m_newMultiplier->setText(tr("New Multiplier!"));
    m_newMultiplier->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold; font-size: 13pt;"));
    m_newMultiplier->hide();
    grid->addWidget(m_newMultiplier, 2, 2);

    m_postContestBoxes = new QWidget(this);
    auto* post = new QHBoxLayout(m_postContestBoxes);
    post->setContentsMargins(0, 0, 0, 0);
    m_postContestTime =
        makeEntryBox(QStringLiteral("postContestTimeBox"), tr("Time"), 13, m_postContestBoxes);
    m_postContestDate =
        makeEntryBox(QStringLiteral("postContestDateBox"), tr("Date"), 13, m_postContestBoxes);
    m_postContestTime->setMaximumWidth(110);
    m_postContestDate->setMaximumWidth(150);
    auto* timeLabel = new QLabel(tr("Time"), m_postContestBoxes);
    timeLabel->setObjectName(QStringLiteral("postContestTimeLabel"));
    auto* dateLabel = new QLabel(tr("Date"), m_postContestBoxes);
    dateLabel->setObjectName(QStringLiteral("postContestDateLabel"));
    post->addWidget(timeLabel);
    post->addWidget(m_postContestTime);
    post->addWidget(dateLabel);
    post->addWidget(m_postContestDate);
    post->addStretch(1);
    grid->addWidget(m_postContestBoxes, 2, 0, 1, 2);
    m_postContestBoxes->hide();
    return grid;
}

QWidget* EntryPanel::buildButtonRow()
{
    auto* row = new QWidget(this);
    auto* buttons = new QHBoxLayout(row);
    m_buttonRow = buttons;
    buttons->setContentsMargins(0, 0, 0, 0);
    m_timeOnButton = makeButton(QStringLiteral("timeOnButton"), tr("&Log \"Time On\""), row);
    auto* clear = makeButton(QStringLiteral("clearButton"), tr("&Clear"), row);
    m_clearButton = clear;
    m_partialDupesButton = makeButton(QStringLiteral("partialDupesButton"), tr("On"), row);
    m_partialDupesButton->setToolTip(tr("Displaying partial dupes slows the program on older pc's."));
    buttons->addWidget(m_timeOnButton);
    buttons->addWidget(clear);
    buttons->addSpacing(20);
    buttons->addWidget(new QLabel(tr("Partial dupes:"), row));
    buttons->addWidget(m_partialDupesButton);
    buttons->addStretch(1);
    connect(m_timeOnButton, &QPushButton::clicked, this, &EntryPanel::toggleTimeOn);
    connect(clear, &QPushButton::clicked, this, &EntryPanel::clearEntry);
    connect(m_partialDupesButton, &QPushButton::clicked, this, &EntryPanel::togglePartialDupes);
    return row;
}

void EntryPanel::placeBelowBoxes(QWidget* widget)
{
    static_cast<QVBoxLayout*>(layout())->insertWidget(1, widget);
}

void EntryPanel::addButton(QPushButton* button)
{
    button->setParent(m_clearButton->parentWidget());
    m_buttonRow->insertWidget(m_buttonRow->indexOf(m_clearButton) + 1, button);
}

// ---------------------------------------------------------------------------------------------
// Keys

bool EntryPanel::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    if (type == QEvent::KeyPress) {
        return boxKeyPress(static_cast<QLineEdit*>(watched), static_cast<QKeyEvent*>(event));
    }
    if (watched == m_call && type == QEvent::FocusOut) {
        // Only the operator's own move to another control checks the call: not a menu, a pop-up,
        // another window, or the focus moves the logging makes itself.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
            reason == Qt::MouseFocusReason) {
            leaveCallBox();
        }
    } else if (watched == m_call && type == QEvent::FocusIn) {
        enterCallBox();
    } else if (watched == m_postContestDate && type == QEvent::FocusIn) {
        enterPostContestDate();
    } else if (watched == m_postContestTime && type == QEvent::FocusIn) {
        QTimer::singleShot(0, m_postContestTime, &QLineEdit::selectAll);
    }
    return QWidget::eventFilter(watched, event);
}

bool EntryPanel::boxKeyPress(QLineEdit* box, QKeyEvent* event)
{
    if (isRefusedEntryKey(event)) {
        return true;
    }
    const int original = typedKeyCode(event);
    if (original == 0 || original == keyTab || event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        return false;
    }
    int key = original;
    if (box == m_call) {
        key = callKey(key);
    } else if (box == m_name) {
        key = nameKey(key);
    } else if (box == m_location) {
        key = locationKey(key);
    } else {
        key = postContestKey(box, key);
    }
    if (key == keyBackspace) {
        return false; // the box deletes as usual
    }
    if (key != 0) {
        box->insert(QString(QChar(key)));
    }
    return true;
}

int EntryPanel::callKey(int key)
{
    const qsizetype before = m_call->text().size();
    if (before < 2) {
        m_location->clear();
        clearLocationDisplays();
    }
    if (key == keyQuote) {
        key = 0;
    }
    if (before < 3) {
        if (m_session.operatingClock.isRunning()) {
            reportStatus(QStringLiteral(" "));
        } else {
            reportStatus(tr("Click Log \"Time On\"!"));
            m_platform.prompter.bell();
        }
    }
    if (key == keyEnter) {
        logContact();
        return 0;
    }
    if (key == keySpace) {
        m_name->setFocus(Qt::TabFocusReason); // as Tab: the call box is left
        return 0;
    }
    key = upper(key);
    showPartialDupes(key);
    if (holdsAfterDupe()) {
        holdAfterDupe(key);
        return 0;
    }
    m_dupeFound = false;
    return key;
}

int EntryPanel::nameKey(int key)
{
    if (key == keyQuote) {
        return 0;
    }
    if (key == keyEnter) {
        logContact();
        return 0;
    }
    if (key == keySpace) {
        m_location->setFocus();
        return 0;
    }
    return upper(key);
}

int EntryPanel::locationKey(int key)
{
    if (key == keyQuote) {
        return 0;
    }
    if (key == keyEnter) {
        logContact();
        return 0;
    }
    if (key == keySpace && m_location->cursorPosition() == 0) {
        focusNextChild();
        return 0;
    }
    return completeLocation(key) ? 0 : key;
}

int EntryPanel::postContestKey(QLineEdit* box, int key)
{
    if (key == keyEnter || key == keyQuote) {
        return 0;
    }
    if (key == keySpace) {
        focusNextChild();
        return 0;
    }
    // The time box takes digits and the colon only.
    if (box == m_postContestTime && key != keyBackspace && (key < '0' || key > ':')) {
        return 0;
    }
    return key;
}

void EntryPanel::leaveCallBox()
{
    if (!m_call->text().isEmpty()) {
        checkDupe();
    }
    const QString call = m_call->text();
    // A station worked in earlier contests: what the call history knows fills the empty boxes.
    if (!m_dupeFound && !call.isEmpty() && m_historyPrefill) {
        m_historyPrefill(call, m_name, m_location);
    }
    if (m_location->text().isEmpty() && call.size() > 2) {
        const QString province = provinceForCall(call);
        if (!province.isEmpty()) {
            m_location->setText(province);
            m_location->setSelection(0, static_cast<int>(province.size()));
        }
    }
}

void EntryPanel::enterCallBox()
{
    emit callBoxEntered(m_call->text().isEmpty());
}

void EntryPanel::enterPostContestDate()
{
    if (m_postContestDate->text().isEmpty()) {
        m_postContestDate->setText(formatDateTime(localNow(m_platform.clock), QStringLiteral("yyyy/mm/dd")));
    }
    QTimer::singleShot(0, m_postContestDate, &QLineEdit::selectAll);
}

// ---------------------------------------------------------------------------------------------
// Logging a contact

void EntryPanel::logContact()
{
    if (!m_session.operatingClock.isRunning()) {
        toggleTimeOn();
    }
    QString date;
    QString time;
    if (m_postContestMode && !takePostContestMoment(date, time)) {
        return;
    }

    m_locationInvalid = false;
    checkComplete();
    // An empty location is already reported as missing.
    if (!m_location->text().isEmpty() && m_location->text().size() < 4) {
        checkShortLocation();
    }
    checkDupe();

    if (!m_dupeFound && !m_entryIncomplete && !m_locationInvalid) {
        if (!m_postContestMode) {
            const QDateTime utc = stationUtcNow(m_platform.clock, m_session.prefs.utcOffsetHours);
            date = formatDateTime(utc, QStringLiteral("yyyy/mm/dd"));
            time = formatDateTime(utc, QStringLiteral("hh:nn:ss"));
        }
        const WriteResult written = m_session.logContact(contactFromEntry(date, time));
        if (!written.ok) {
            // Nothing is counted and the entry stays for another try once the disk is fixed.
            m_platform.prompter.bell();
            m_platform.prompter.message(tr("The contact was NOT logged.\n\n%1").arg(written.error),
                                        tr("Unable to write the log file"), MessageIcon::Critical);
            reportStatus(tr("Contact not logged: the log file could not be written!"));
            return;
        }
        m_status.setColour(colour::statusNormal);
        reportStatus(QString());
    }

    // A dupe still being announced clears the entry itself when the cue has ended.
    if (!m_locationInvalid && !m_entryIncomplete && !m_dupeCuePending) {
        m_call->clear();
        m_name->clear();
        m_location->clear();
        clearLocationDisplays();
        m_call->setFocus();
    }
    m_status.resetPartialDupes();
    emit entryFinished();
    m_session.pendingFrequency.clear();
}

bool EntryPanel::takePostContestMoment(QString& date, QString& time)
{
    const auto day = parseOperatorDate(m_postContestDate->text());
    if (!day) {
        reportStatus(tr("Invalid date format!"));
        m_platform.prompter.bell();
        return false;
    }
    m_postContestDate->setText(day->toString(QStringLiteral("yyyy/MM/dd")));

    QString typed = m_postContestTime->text().trimmed();
    static const QRegularExpression bareDigits(QStringLiteral("^\\d{3,4}$"));
    if (bareDigits.match(typed).hasMatch()) {
        typed.insert(typed.size() - 2, QLatin1Char(':'));
    }
    const auto clock = parseOperatorTime(typed);
    if (!clock) {
        reportStatus(tr("Invalid time format!"));
        m_platform.prompter.bell();
        return false;
    }
    m_postContestTime->setText(clock->toString(QStringLiteral("HH:mm")));
    date = m_postContestDate->text();
    time = m_postContestTime->text();
    return true;
}

ContactRecord EntryPanel::contactFromEntry(const QString& date, const QString& time) const
{
    QString location = m_location->text();
    if (location.compare(QStringLiteral("Alaska"), Qt::CaseInsensitive) == 0) {
        location = QStringLiteral("AK");
    } else if (location.compare(QStringLiteral("Hawaii"), Qt::CaseInsensitive) == 0) {
        location = QStringLiteral("HI");
    }
    ContactRecord record;
    record.call = m_call->text().toUpper();
    record.name = m_name->text().toUpper();
    record.location = location;
    record.date = date;
    record.time = time;
    record.band = m_session.prefs.currentBand;
    record.continent = m_continent->text();
    record.sentName = m_session.prefs.ownFirstName;
    record.frequency = m_session.pendingFrequency;
    return record;
}

void EntryPanel::checkComplete()
{
    m_entryIncomplete = false;
    auto fail = [this](const QString& message, QLineEdit* focus) {
        m_platform.prompter.bell();
        reportStatus(message);
        m_entryIncomplete = true;
        focus->setFocus();
    };
    if (m_location->text().size() < 2) {
        fail(tr("Need S/P/C!"), m_call);
    }
    if (m_name->text().isEmpty()) {
        fail(tr("Need Name!"), m_name);
    }
    if (m_call->text().size() < 3) {
        fail(tr("Need Call Sign!"), m_call);
    }
}

void EntryPanel::clearLocationDisplays()
{
    m_continent->clear();
    m_bearing->clear();
    m_distance->clear();
}

void EntryPanel::reportStatus(const QString& text)
{
    m_status.showText(text);
}

void EntryPanel::clearEntry()
{
    m_call->clear();
    m_name->clear();
    m_location->clear();
    m_status.resetPartialDupes();
    m_status.setColour(colour::statusNormal);
    reportStatus(QString());
    clearLocationDisplays();
    m_call->setFocus();
}

void EntryPanel::toggleTimeOn()
{
    OperatingClock& clock = m_session.operatingClock;
    if (!clock.isRunning()) {
        clock.start(localNow(m_platform.clock));
        m_timeOnButton->setText(tr("&Log \"Time Off\""));
        reportStatus(QStringLiteral(" "));
    } else {
        m_timeOnButton->setText(tr("&Log \"Time On\""));
        m_session.prefs.accumulatedSeconds = static_cast<float>(clock.stop());
        const QDateTime utc = stationUtcNow(m_platform.clock, m_session.prefs.utcOffsetHours);
        reportStatus(QStringLiteral("Logged Off at ") + formatShortDate(utc.date()) + QLatin1Char(' ') +
                     formatDateTime(utc, QStringLiteral("hh:nn:ss")));
        savePreferencesReporting(m_platform, m_session);
    }
    m_call->setFocus();
}

void EntryPanel::togglePartialDupes()
{
    m_partialDupesOn = !m_partialDupesOn;
    m_partialDupesButton->setText(m_partialDupesOn ? tr("On") : tr("Off"));
    m_status.resetPartialDupes();
    m_call->setFocus();
}

void EntryPanel::setPostContestMode(bool on)
{
    m_postContestMode = on;
    m_postContestBoxes->setVisible(on);
}

void EntryPanel::setLocation(const QString& location)
{
    m_location->setText(location);
}

void EntryPanel::setName(const QString& name)
{
    m_name->setText(name);
}

void EntryPanel::focusCallBox()
{
    m_call->setFocus();
}

void EntryPanel::enterCall(const QString& call)
{
    m_call->setFocus();
    m_call->setText(call);
}

void EntryPanel::enterCallAndLeave(const QString& call)
{
    enterCall(call);
    leaveCallBox();
    // A dupe empties the call box and keeps the focus there; otherwise the focus moves on as Tab
    // does, without running the leave step a second time.
    if (!m_call->text().isEmpty()) {
        m_name->setFocus(Qt::OtherFocusReason);
    }
}

} // namespace velk
