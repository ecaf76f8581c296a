#include "log/ui/Form1.h"

#include "common/bands.h"
#include "common/colours.h"
#include "common/formats.h"
#include "common/quotedlist.h"
#include "log/contactlistmodel.h"
#include "log/locations.h"
#include "output/ui/exports.h"
#include "windows/ui/frmHelp.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTimeZone>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace velk {

namespace {

constexpr int keyBackspace = 8;
constexpr int keyTab = 9;
constexpr int keyEnter = 13;
constexpr int keySpace = 32;
constexpr int keyQuote = 34;

const QString fileErrorText = QStringLiteral(
    "Error opening file.  This error is annoying but probably correctable.  In all likelihood, a character "
    "such as a quote got into your data or one of your entries has an invalid date/time format.  Close this "
    "program and open log.txt in the program's working directory with a text editor such as notepad.  "
    "Inspect "
    "the data and fix any errors you see (remove any extra quotes and make sure your date and time entries "
    "are "
    "valid).");

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
    const QString text = event->text();
    if (text.size() != 1 || text.at(0).unicode() < 32 || text.at(0).unicode() > 255) {
        return 0;
    }
    return text.at(0).unicode();
}

// Wall-clock value without a time zone, so adding an offset never trips over daylight saving.
QDateTime naive(const QDateTime& moment)
{
    return QDateTime(moment.date(), moment.time(), Qt::UTC);
}

} // namespace

Form1::Form1(Platform& platform, LogSession& session, QWidget* parent)
    : QMainWindow(parent), m_platform(platform), m_session(session)
{
    buildWindow();
    // One application-wide filter: the window sees every key before its boxes do, and the
    // focus, mouse and hover events of its own controls.
    qApp->installEventFilter(this);
}

Form1::~Form1()
{
    qApp->removeEventFilter(this);
}

// ---------------------------------------------------------------------------------------------
// Start-up and shut-down

bool Form1::startUp()
{
    setWindowTitle(programName() + QStringLiteral("                              https://velk.example.org"));
    setStatus(tr("Select a band. Click Log \"Time On\" below!"));
    m_partialDupesOn = true;

    Preferences& prefs = m_session.prefs;
    if (loadPreferences(m_session.folders.preferencesFile(), prefs) == PrefLoadStatus::Unreadable) {
        m_platform.prompter.message(QStringLiteral("Error opening file"),
                                    QStringLiteral("Error opeining file"), MessageIcon::Critical);
        return false;
    }
    if (bandIndex(prefs.currentBand) == 0) {
        prefs.currentBand = QStringLiteral("20");
    }
    mnuListPrevious->setChecked(prefs.listPrevious == 1);
    mnuTaskbar->setChecked(prefs.taskbar == 1);

    checkUtcOffset();
    applyWindowSize();

    for (QAction* item : m_bandItems) {
        item->setChecked(item->text() == prefs.currentBand);
    }
    Label24->setText(prefs.currentBand);
    LoadPrefixTable();
    showStationDialog();

    const MessageAnswer answer = m_platform.prompter.message(
        QStringLiteral(
            "Do you want to continue an existing contest? (Yes opens your existing log, No erases any "
            "existing log and starts a new log.)"),
        QStringLiteral("Open existing log?"), MessageIcon::Question, MessageButtons::YesNo);
    if (answer == MessageAnswer::Yes) {
        mnuOpen2();
    } else {
        mnuNew_Click();
    }
    if (m_ended) {
        return false;
    }
    showEditButtons(false);

    m_runningSeconds = prefs.accumulatedSeconds;
    showOperatingTime();
    Timer2->start();
    Timer2_Timer();
    activateWindow(); // back from the start-up dialogs
    txtCall->setFocus();
    return true;
}

void Form1::checkUtcOffset()
{
    const QDateTime local = naive(m_platform.clock.localNow());
    const QDateTime utc = naive(m_platform.clock.utcNow());
    const double minutes = std::round(local.secsTo(utc) / 60.0);
    const double recommended = std::round(minutes / 60.0 * 100.0) / 100.0;
    float& offset = m_session.prefs.utcOffsetHours;
    if (std::abs(recommended - offset) < 0.005) {
        return;
    }
    const QString recommendedText = formatSettingsNumber(recommended);
    const QString prompt =
        QStringLiteral(
            "Would you like to adjust the UTC offset in this program for your local time setting?\n\n") +
        QStringLiteral("Current System Time: ") + formatDateTime(utc, QStringLiteral("hh:nn")) +
        QStringLiteral("\n\nCurrent Local Time: ") + formatDateTime(local, QStringLiteral("hh:nn")) +
        QStringLiteral("\n\nRecommended Offset Setting: ") + recommendedText +
        QStringLiteral("\n\nCurrent Offset Setting: ") + formatSettingsNumber(offset) +
        QStringLiteral(
            "\n\nPlease click OK to accept the recommended change or Cancel to keep the current setting.");
    const auto answer = m_platform.prompter.input(
        prompt, QStringLiteral("Update the Local Time / UTC Offset?"), recommendedText);
    if (answer) {
        if (const auto value = parseSettingsNumber(*answer)) {
            offset = static_cast<float>(*value);
        }
    }
    SavePref();
}

void Form1::endProgram()
{
    m_ended = true;
    Timer2->stop();
    emit programEnded(1);
}

void Form1::closeEvent(QCloseEvent* event)
{
    shutDown();
    QMainWindow::closeEvent(event);
}

void Form1::shutDown()
{
    if (m_shutDownDone || m_ended) {
        return;
    }
    m_shutDownDone = true;
    Timer2->stop();
    if (m_help) {
        m_help->close();
    }
    Backup();
    SavePref();
}

// ---------------------------------------------------------------------------------------------
// Keyboard

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    // Keys are delivered to the window's focus widget even while the window is not active.
    if (type == QEvent::KeyPress && watched == focusWidget()) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (Form_KeyDown(key)) {
            return true;
        }
        if (auto* box = qobject_cast<QLineEdit*>(watched)) {
            return entryKeyPress(box, key);
        }
        return false;
    }
    if (watched == txtCall && type == QEvent::FocusOut) {
        txtCall_LostFocus();
    } else if (watched == txtCall && type == QEvent::FocusIn) {
        txtCall_GotFocus();
    } else if (watched == txtPostConDate && type == QEvent::FocusIn) {
        txtPostConDate_GotFocus();
    } else if (watched == txtPostConTime && type == QEvent::FocusIn) {
        QTimer::singleShot(0, txtPostConTime, &QLineEdit::selectAll);
    } else if (const auto grid = std::find(Label10.begin(), Label10.end(), watched); grid != Label10.end()) {
        if (locationLabelEvent(static_cast<int>(grid - Label10.begin()), event)) {
            return true;
        }
    } else if (watched == Label24 && type == QEvent::MouseButtonRelease) {
        Label24_Click();
    } else if (watched == m_listView->viewport() && type == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (m_listModel->rowCount() > 0) {
            showEditButtons(true);
            const QModelIndex at =
                m_listSorter->mapToSource(m_listView->indexAt(mouse->position().toPoint()));
            if (mouse->button() == Qt::RightButton && at.isValid()) {
                emit editContactRequested(m_listModel->recordAt(at.row()));
            }
        }
    } else if (watched == m_listView && type == QEvent::FocusOut && m_listModel->rowCount() > 0) {
        showEditButtons(true);
    }
    return QMainWindow::eventFilter(watched, event);
}

bool Form1::Form_KeyDown(QKeyEvent* event)
{
    // Ctrl shortcuts reach the station windows; the keystroke types nothing.
    if (event->modifiers() & Qt::ControlModifier) {
        switch (event->key()) {
        case Qt::Key_B: // spectrum map
        case Qt::Key_C: // CW keyer
        case Qt::Key_S:
        case Qt::Key_D: // DX spotting
        case Qt::Key_F: // band plan
        case Qt::Key_G: // rig tuning
        case Qt::Key_P: // voice keyer
        case Qt::Key_R: // rig interface
        case Qt::Key_W: // CW message editor
            return true;
        default:
            break;
        }
    }
    return false;
}

bool Form1::entryKeyPress(QLineEdit* box, QKeyEvent* event)
{
    const int original = typedKeyCode(event);
    if (original == 0 || original == keyTab || event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        return false;
    }
    int key = original;
    if (box == txtCall) {
        key = txtCall_KeyPress(key);
    } else if (box == txtRSTR) {
        key = txtRSTR_KeyPress(key);
    } else if (box == txtCntry) {
        key = txtCntry_KeyPress(key);
    } else {
        key = postContest_KeyPress(box, key);
    }
    if (key == keyBackspace) {
        return false; // the box deletes as usual
    }
    if (key != 0) {
        box->insert(QString(QChar(key)));
    }
    return true;
}

int Form1::Capital(int key)
{
    return (key >= 'a' && key <= 'z') ? key - 32 : key;
}

int Form1::number(int key)
{
    return (key == keyBackspace || (key >= '0' && key <= '9')) ? key : 0;
}

int Form1::txtCall_KeyPress(int key)
{
    const qsizetype before = txtCall->text().size();
    if (before < 2) {
        txtCntry->clear();
        Label19->clear();
        Label22->clear();
        Label23->clear();
    }
    if (key == keyQuote) {
        key = 0;
    }
    if (before < 3) {
        if (m_timeOn) {
            setStatus(QStringLiteral(" "));
        } else {
            setStatus(tr("Click Log \"Time On\"!"));
            m_platform.prompter.bell();
        }
    }
    if (key == keyEnter) {
        Mains();
        return 0;
    }
    if (key == keySpace) {
        txtRSTR->setFocus();
        return 0;
    }
    key = Capital(key);
    PartialDupeCheck(key);
    if (m_dupeFound) {
        WaitDupeHold();
    }
    return key;
}

int Form1::txtRSTR_KeyPress(int key)
{
    if (key == keyQuote) {
        return 0;
    }
    if (key == keyEnter) {
        Mains();
        return 0;
    }
    if (key == keySpace) {
        txtCntry->setFocus();
        return 0;
    }
    return Capital(key);
}

int Form1::txtCntry_KeyPress(int key)
{
    if (key == keyQuote) {
        return 0;
    }
    if (key == keyEnter) {
        Mains();
        return 0;
    }
    if (key == keySpace && txtCntry->cursorPosition() == 0) {
        focusNextChild();
        return 0;
    }
    return CompleteLocation(key) ? 0 : key;
}

int Form1::postContest_KeyPress(QLineEdit* box, int key)
{
    if (key == keyEnter) {
        return 0;
    }
    if (key == keySpace) {
        focusNextChild();
        return 0;
    }
    if (key == keyQuote) {
        return 0;
    }
    // The time box takes digits and the colon only.
    if (box == txtPostConTime && key != keyBackspace && (key < '0' || key > ':')) {
        return 0;
    }
    return key;
}

void Form1::txtCall_LostFocus()
{
    if (!txtCall->text().isEmpty()) {
        DupCheck();
    }
    const QString call = txtCall->text();
    if (txtCntry->text().isEmpty() && call.size() > 2) {
        const QString province = provinceForCall(call);
        if (!province.isEmpty()) {
            txtCntry->setText(province);
            txtCntry->setSelection(0, static_cast<int>(province.size()));
        }
    }
}

void Form1::txtCall_GotFocus()
{
    showEditButtons(false);
    if (txtCall->text().isEmpty() && m_listModel->rowCount() < m_session.log.count() &&
        m_listModel->rowCount() < 18) {
        RefreshContactList();
    }
}

void Form1::txtPostConDate_GotFocus()
{
    if (txtPostConDate->text().isEmpty()) {
        txtPostConDate->setText(formatDateTime(localNow(), QStringLiteral("yyyy/mm/dd")));
    }
    QTimer::singleShot(0, txtPostConDate, &QLineEdit::selectAll);
}

// ---------------------------------------------------------------------------------------------
// Logging a contact

void Form1::Mains()
{
    if (!m_timeOn) {
        cmdLogOn_Click();
    }
    QString date;
    QString time;
    if (postContestMode() && !takePostContestMoment(date, time)) {
        return;
    }

    m_locationInvalid = false;
    frmcmp();
    // An empty location is already reported as missing.
    if (!txtCntry->text().isEmpty() && txtCntry->text().size() < 4) {
        CheckShortLocation();
    }
    DupCheck();

    if (!m_dupeFound && !m_entryIncomplete && !m_locationInvalid) {
        if (!postContestMode()) {
            const QDateTime utc = stationUtcNow();
            date = formatDateTime(utc, QStringLiteral("yyyy/mm/dd"));
            time = formatDateTime(utc, QStringLiteral("hh:nn:ss"));
        }
        const ContactRecord record = contactFromEntry(date, time);
        const WriteResult written = m_session.log.append(record, m_session.folders.logFile());
        if (!written.ok) {
            // Nothing is counted and the entry stays for another try once the disk is fixed.
            m_platform.prompter.bell();
            m_platform.prompter.message(tr("The contact was NOT logged.\n\n%1").arg(written.error),
                                        tr("Unable to write the log file"), MessageIcon::Critical);
            setStatus(tr("Contact not logged: the log file could not be written!"));
            return;
        }
        RefreshContactList();
        setStatusColour(colour::statusNormal);
        setStatus(QString());
        MarkLocation(record);
    }

    QCoreApplication::processEvents();
    Labeldisplay();
    if (!m_locationInvalid && !m_entryIncomplete) {
        txtCall->clear();
        txtRSTR->clear();
        txtCntry->clear();
        clearEntryDisplays();
        txtCall->setFocus();
    }
    QCoreApplication::processEvents();
    resetPartialDupeDisplay();
    TimeStats();
    m_session.pendingFrequency.clear();
}

bool Form1::takePostContestMoment(QString& date, QString& time)
{
    const auto day = parseOperatorDate(txtPostConDate->text());
    if (!day) {
        setStatus(tr("Invalid date format!"));
        m_platform.prompter.bell();
        return false;
    }
    txtPostConDate->setText(day->toString(QStringLiteral("yyyy/MM/dd")));

    QString typed = txtPostConTime->text().trimmed();
    static const QRegularExpression bareDigits(QStringLiteral("^\\d{3,4}$"));
    if (bareDigits.match(typed).hasMatch()) {
        typed.insert(typed.size() - 2, QLatin1Char(':'));
    }
    const auto clock = parseOperatorTime(typed);
    if (!clock) {
        setStatus(tr("Invalid time format!"));
        m_platform.prompter.bell();
        return false;
    }
    txtPostConTime->setText(clock->toString(QStringLiteral("HH:mm")));
    date = txtPostConDate->text();
    time = txtPostConTime->text();
    return true;
}

ContactRecord Form1::contactFromEntry(const QString& date, const QString& time) const
{
    QString location = txtCntry->text();
    if (location.compare(QStringLiteral("Alaska"), Qt::CaseInsensitive) == 0) {
        location = QStringLiteral("AK");
    } else if (location.compare(QStringLiteral("Hawaii"), Qt::CaseInsensitive) == 0) {
        location = QStringLiteral("HI");
    }
    ContactRecord record;
    record.call = txtCall->text().toUpper();
    record.name = txtRSTR->text().toUpper();
    record.location = location;
    record.date = date;
    record.time = time;
    record.band = m_session.prefs.currentBand;
    record.continent = Label19->text();
    record.sentName = m_session.prefs.ownFirstName;
    record.frequency = m_session.pendingFrequency;
    return record;
}

void Form1::frmcmp()
{
    m_entryIncomplete = false;
    auto fail = [this](const QString& message, QLineEdit* focus) {
        m_platform.prompter.bell();
        setStatus(message);
        m_entryIncomplete = true;
        focus->setFocus();
    };
    if (txtCntry->text().size() < 2) {
        fail(tr("Need S/P/C!"), txtCall);
    }
    if (txtRSTR->text().isEmpty()) {
        fail(tr("Need Name!"), txtRSTR);
    }
    if (txtCall->text().size() < 3) {
        fail(tr("Need Call Sign!"), txtCall);
    }
}

void Form1::clearEntryDisplays()
{
    Label19->clear();
    Label22->clear();
    Label23->clear();
}

void Form1::resetPartialDupeDisplay()
{
    lblDupe->setStyleSheet(QStringLiteral("background-color: %1;").arg(styleSheetColour(colour::buttonFace)));
    lblDupe->clear();
}

void Form1::setStatus(const QString& text)
{
    lblDialog->setText(text);
}

void Form1::setStatusColour(std::uint32_t bgr)
{
    lblDialog->setStyleSheet(
        QStringLiteral("background-color: %1; color: black;").arg(styleSheetColour(bgr)));
}

void Form1::showEditButtons(bool visible)
{
    cmdEdit->setVisible(visible);
    cmdDelete->setVisible(visible);
}

void Form1::cmdClear_Click()
{
    txtCall->clear();
    txtRSTR->clear();
    txtCntry->clear();
    resetPartialDupeDisplay();
    setStatusColour(colour::statusNormal);
    setStatus(QString());
    clearEntryDisplays();
    txtCall->setFocus();
}

// ---------------------------------------------------------------------------------------------
// Clocks

QDateTime Form1::localNow() const
{
    return naive(m_platform.clock.localNow());
}

QDateTime Form1::stationUtcNow() const
{
    return localNow().addSecs(std::lround(m_session.prefs.utcOffsetHours * 3600.0));
}

void Form1::cmdLogOn_Click()
{
    if (!m_timeOn) {
        m_timeOnStart = localNow();
        m_timeOn = true;
        cmdLogOn->setText(tr("&Log \"Time Off\""));
        setStatus(QStringLiteral(" "));
    } else {
        m_timeOn = false;
        cmdLogOn->setText(tr("&Log \"Time On\""));
        m_session.prefs.accumulatedSeconds = static_cast<float>(m_runningSeconds);
        const QDateTime utc = stationUtcNow();
        setStatus(QStringLiteral("Logged Off at ") + formatShortDate(utc.date()) + QLatin1Char(' ') +
                  formatDateTime(utc, QStringLiteral("hh:nn:ss")));
        SavePref();
    }
    txtCall->setFocus();
}

void Form1::Timer2_Timer()
{
    lblutctime->setText(formatDateTime(stationUtcNow(), QStringLiteral("hh:nn:ss")));
    const QString local = formatDateTime(localNow(), QStringLiteral("h:nn:ss AMPM"));
    lblCurTime->setText(local.left(local.size() - 3));
    Label16->setText(local.right(2));
    if (m_timeOn) {
        m_runningSeconds = std::abs(m_session.prefs.accumulatedSeconds + m_timeOnStart.secsTo(localNow()));
        showOperatingTime();
    }
}

void Form1::showOperatingTime()
{
    lblttrack->setText(formatOperatingTime(m_runningSeconds));
}

bool Form1::postContestMode() const
{
    return mnuPostContest->isChecked();
}

void Form1::mnuPostContest_Click()
{
    const bool on = mnuPostContest->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(lblPostConTime), static_cast<QWidget*>(lblPostConDate),
                       static_cast<QWidget*>(txtPostConTime), static_cast<QWidget*>(txtPostConDate)}) {
        w->setVisible(on);
    }
}

// ---------------------------------------------------------------------------------------------
// The log file

bool Form1::mnuOpen2()
{
    const LoadResult loaded = m_session.log.load(m_session.folders.logFile());
    if (!loaded.ok) {
        m_platform.prompter.message(fileErrorText, QStringLiteral("File Error"), MessageIcon::Critical);
        endProgram();
        return false;
    }
    RefreshContactList();
    rebuildScoreDisplays();
    // The backup compares against the log as the run first found it; taking a later count (after
    // contacts were logged into an empty log) would skip the backup on exit.
    if (!m_baselineTaken) {
        m_session.log.setLoadedBaseline(m_session.log.count());
        m_baselineTaken = true;
    }
    return true;
}

void Form1::mnuNew_Click()
{
    const auto answer = m_platform.prompter.input(
        QStringLiteral(
            "Are you sure that you want to start a new log file?  This function will ERASE the "
            "existing log file!\n\nTo verify that you want to start a new log file, please type: YES"),
        QStringLiteral("WARNING - Your existing log file will be ERASED!"));
    if (answer && answer->toUpper() == QStringLiteral("YES")) {
        Backup();
        m_session.prefs.accumulatedSeconds = 0;
        m_runningSeconds = 0;
        const WriteResult emptied = truncateLogFile(m_session.folders.logFile());
        if (!emptied.ok) {
            m_platform.prompter.message(emptied.error, tr("Unable to start a new log"),
                                        MessageIcon::Critical);
        }
        m_session.log.clear();
        SavePref();
    }
    m_runningSeconds = m_session.prefs.accumulatedSeconds;
    showOperatingTime();
    mnuOpen2();
}

void Form1::Backup()
{
    backupLog(m_session.log, m_session.folders.logFile(), m_session.folders.backup, localNow());
}

void Form1::mnuArchive_Click()
{
    m_platform.prompter.message(
        QStringLiteral(
            "This function is used to create a permanent copy of your currently open log file.  To open "
            "your log file at a later date, click File > Restore from Archive or Backup."),
        QStringLiteral("Archive Information"));
    FileDialogRequest request;
    request.title = tr("Archive Current Log");
    request.folder = m_session.folders.backup;
    request.filter = QStringLiteral("Log Files (*.log) | *.log");
    request.proposedName =
        proposedArchivePath(m_session.folders.backup, m_session.prefs.ownCall, localNow().date());
    const auto target = m_platform.prompter.saveFile(request);
    if (!target) {
        return;
    }
    const WriteResult copied = copyFileAtomically(m_session.folders.logFile(), *target);
    if (!copied.ok) {
        m_platform.prompter.message(copied.error, QStringLiteral("Error Archiving Log"),
                                    MessageIcon::Critical);
    }
}

void Form1::mnuRestore_Click()
{
    m_platform.prompter.message(
        QStringLiteral(
            "This action will open an archived log or backup file and creates a working file called "
            "log.txt.  If you make any changes to your archived data that you would like to permanently "
            "save, before you click File > New to start a new contest, be sure to click File > Archive to "
            "save your changes."),
        QStringLiteral("Opening Archived Data Information"));
    if (m_session.log.count() > 0) {
        const auto sure = m_platform.prompter.message(
            QStringLiteral(
                "Are you sure that you want to open an archived log?  This action will clear and replace "
                "existing QSO data."),
            QStringLiteral("Are your sure?"), MessageIcon::Question, MessageButtons::YesNo);
        if (sure != MessageAnswer::Yes) {
            return;
        }
    }
    FileDialogRequest request;
    request.title = tr("Restore from Archive or Backup");
    request.folder = m_session.folders.backup;
    request.filter = QStringLiteral("Log Files (*.log) | *.log");
    const auto source = m_platform.prompter.openFile(request);
    if (!source) {
        return;
    }
    const WriteResult copied = copyFileAtomically(*source, m_session.folders.logFile());
    if (!copied.ok) {
        m_platform.prompter.message(copied.error, QStringLiteral("Error Restoring Log"),
                                    MessageIcon::Critical);
        return;
    }
    mnuOpen2();
}

// ---------------------------------------------------------------------------------------------
// Bands

void Form1::selectBand(const QString& band)
{
    const int index = bandIndex(band);
    if (index == 0) {
        return;
    }
    m_session.prefs.currentBand = bandTexts().at(index - 1);
    for (QAction* item : m_bandItems) {
        item->setChecked(false);
    }
    if (!txtCall->text().isEmpty()) {
        NewMultiplierIndicator();
    }
    m_bandItems[static_cast<size_t>(index - 1)]->setChecked(true);
    Label24->setText(m_session.prefs.currentBand);
    SavePref();
    mnuOpen2();
}

void Form1::Label24_Click()
{
    if (const auto next = nextBand(m_session.prefs.currentBand)) {
        selectBand(*next);
    }
}

void Form1::BandFreqConversion(float mhz)
{
    const auto band = bandForFrequency(mhz);
    if (band && band->compare(m_session.prefs.currentBand, Qt::CaseInsensitive) != 0) {
        selectBand(*band);
    }
    m_session.pendingFrequency = formatNumber(mhz, QStringLiteral("#####.##0"));
}

void Form1::ModeSelection(const QString& mode)
{
    Q_UNUSED(mode); // the log's mode comes from the station information, not from the radio
}

// ---------------------------------------------------------------------------------------------
// Preferences and options

void Form1::SavePref()
{
    const WriteResult saved = savePreferences(m_session.folders.preferencesFile(), m_session.prefs);
    if (!saved.ok) {
        m_platform.prompter.message(saved.error, tr("Unable to save the preferences"), MessageIcon::Warning);
    }
}

void Form1::mnuFormSize_Click()
{
    const auto answer = m_platform.prompter.input(
        QStringLiteral(
            "Enter the % of the screen you would like the form to cover.  Try between 90 and 100 for best "
            "results.  Values below 75 do not display well."),
        QStringLiteral("Please enter screen percentage."), QString::number(m_session.prefs.formSizePercent));
    if (!answer) {
        return;
    }
    const auto value = parseSettingsNumber(*answer);
    if (!value) {
        m_platform.prompter.message(QStringLiteral("Please enter only numeric values."),
                                    QStringLiteral("Numeric Values Required"));
        return;
    }
    m_session.prefs.formSizePercent = static_cast<int>(std::clamp(std::round(*value), 30.0, 100.0));
    SavePref();
    m_platform.prompter.message(
        QStringLiteral("This program must be closed and restarted for this setting to take effect."),
        QStringLiteral("For this setting to take effect please restart this program."));
}

void Form1::mnuTaskbar_Click()
{
    if (m_session.prefs.formSizePercent != 100) {
        mnuTaskbar->setChecked(false);
        m_platform.prompter.message(
            QStringLiteral("The form size must be set to 100% to use the taskbar display option."),
            QStringLiteral("Please set your form size to 100% to use this option."));
        return;
    }
    m_session.prefs.taskbar = mnuTaskbar->isChecked() ? 1 : 0;
    SavePref();
    applyWindowSize();
}

void Form1::mnuListPrevious_Click()
{
    m_session.prefs.listPrevious = mnuListPrevious->isChecked() ? 1 : 0;
    SavePref();
}

// ---------------------------------------------------------------------------------------------
// List of previous contacts

void Form1::RefreshContactList()
{
    if (m_listAll) {
        m_listModel->showAll();
    } else {
        m_listModel->showNewest(20);
    }
}

void Form1::cmdList_Click()
{
    m_listAll = !m_listAll;
    cmdList->setText(m_listAll ? tr("Last 20") : tr("All"));
    RefreshContactList();
    txtCall->setFocus();
}

void Form1::cmdDup_Click()
{
    m_partialDupesOn = !m_partialDupesOn;
    cmdDup->setText(m_partialDupesOn ? tr("On") : tr("Off"));
    resetPartialDupeDisplay();
    txtCall->setFocus();
}

void Form1::mnuCopyList_Click()
{
    QString text = ContactListModel::headers().join(QLatin1Char('\t')) + QStringLiteral("\r\n");
    const int columns = m_listSorter->columnCount();
    for (int row = 0; row < m_listSorter->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < columns; ++column) {
            cells << m_listSorter->index(row, column).data().toString();
        }
        text += cells.join(QLatin1Char('\t')) + QStringLiteral("\r\n");
    }
    m_platform.prompter.setClipboardText(text);
}

void Form1::mnuHelp_Click()
{
    if (!m_help) {
        m_help = new frmHelp(m_session.folders.working, this);
    }
    m_help->showText(QStringLiteral("readvelk.txt"));
    m_help->show();
    m_help->raise();
}

void Form1::mnuWriteSumm_Click()
{
    runCabrilloExport(m_platform, m_session, this);
}

void Form1::mnuExportTobrel_Click()
{
    runTransferExport(m_platform, m_session);
}

void Form1::mnuExportADIF_Click()
{
    runAdifExport(m_platform, m_session, this);
}

// ---------------------------------------------------------------------------------------------
// Station labels

void Form1::showStationLabels()
{
    lblOwnCall->setText(m_session.prefs.ownCall);
    lblOwnSpc->setText(m_session.prefs.ownSpc);
    lblOwnName->setText(m_session.prefs.ownFirstName);
}

} // namespace velk
