#include "app/ui/mainwindow.h"

#include "app/ui/helpwindow.h"
#include "common/bands.h"
#include "common/colours.h"
#include "common/formats.h"
#include "common/programinfo.h"
#include "common/quotedlist.h"
#include "log/stationtime.h"
#include "log/ui/contactlistpanel.h"
#include "log/ui/entrypanel.h"
#include "log/ui/logfileactions.h"
#include "log/ui/preferenceprompts.h"
#include "log/ui/scorepanel.h"
#include "log/ui/stationbar.h"
#include "log/ui/statusline.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace velk {

MainWindow::MainWindow(Station& station, QWidget* parent)
    : QMainWindow(parent), m_station(station), m_platform(station.platform()), m_session(station.session())
{
    setObjectName(QStringLiteral("mainWindow"));
    arrangePanels();
    buildMenus();
    connectPanels();
    wireKeyer();
    wireWinKey();
    wireSpots();
    wireMaps();
    wireRttyLink();
    wireVoice();
    wireRig();
    // One application-wide filter: the window sees every key before its boxes do.
    qApp->installEventFilter(this);
    resize(1280, 800);
}

MainWindow::~MainWindow()
{
    qApp->removeEventFilter(this);
}

void MainWindow::arrangePanels()
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setSpacing(8);
    m_stationBar = new StationBar(m_platform, m_session, central);
    m_statusLine = new StatusLine(central);
    m_entry = new EntryPanel(m_platform, m_session, *m_statusLine, central);
    m_contactList = new ContactListPanel(m_platform, m_session, central);
    m_score = new ScorePanel(m_platform, m_session, central);
    m_logFiles = new LogFileActions(m_platform, m_session, this);
    layout->addWidget(m_stationBar);
    layout->addWidget(m_entry);
    auto* lower = new QHBoxLayout;
    lower->addWidget(m_contactList, 3);
    lower->addWidget(m_score, 2);
    layout->addLayout(lower, 1);
    setCentralWidget(central);

    m_clockTimer = new QTimer(this);
    m_clockTimer->setObjectName(QStringLiteral("clockTimer"));
    m_clockTimer->setInterval(1000);
}

void MainWindow::connectPanels()
{
    connect(m_clockTimer, &QTimer::timeout, this, &MainWindow::tick);
    connect(m_stationBar, &StationBar::bandClicked, this, [this] {
        if (const auto next = nextBand(m_session.prefs.currentBand)) {
            selectBand(*next);
        }
    });
    connect(m_entry, &EntryPanel::callBoxEntered, m_contactList, &ContactListPanel::callBoxEntered);
    connect(m_entry, &EntryPanel::previousContactsFound, m_contactList, &ContactListPanel::showRecords);
    connect(m_entry, &EntryPanel::entryFinished, m_score, &ScorePanel::showTotals);
    connect(m_contactList, &ContactListPanel::doneWithList, m_entry, &EntryPanel::focusCallBox);
    connect(m_contactList, &ContactListPanel::editRequested, m_logFiles, &LogFileActions::editContact);
    connect(m_contactList, &ContactListPanel::deleteRequested, m_logFiles, &LogFileActions::deleteContact);
    connect(m_logFiles, &LogFileActions::correctionFinished, m_contactList,
            [this] { m_contactList->showEditButtons(false); });
    connect(m_logFiles, &LogFileActions::loadFailed, this, &MainWindow::endProgram);
    connect(m_score, &ScorePanel::locationHovered, m_statusLine,
            qOverload<const QString&>(&StatusLine::showPartialDupes));
    connect(m_score, &ScorePanel::locationClicked, m_entry, &EntryPanel::setLocation);
    connect(&m_session, &LogSession::logReloaded, m_stationBar, &StationBar::showOperatingTime);
}

// ---------------------------------------------------------------------------------------------
// Start-up and shut-down

bool MainWindow::startUp()
{
    setWindowTitle(programName() + QStringLiteral("                              https://velk.example.org"));
    m_statusLine->showText(tr("Select a band. Click Log \"Time On\" below!"));

    Preferences& prefs = m_session.prefs;
    if (loadPreferences(m_session.folders.preferencesFile(), prefs) == PrefLoadStatus::Unreadable) {
        m_platform.prompter.message(QStringLiteral("Error opening file"),
                                    QStringLiteral("Error opeining file"), MessageIcon::Critical);
        // Nothing is logged against a log that was never read, and the damaged file is kept.
        endProgram();
        return false;
    }
    if (bandIndex(prefs.currentBand) == 0) {
        prefs.currentBand = QStringLiteral("20");
    }
    m_listPreviousAction->setChecked(prefs.listPrevious == 1);
    m_taskbarAction->setChecked(prefs.taskbar == 1);

    checkUtcOffset();
    applyWindowSize();
    m_session.setBand(prefs.currentBand);
    m_session.loadPrefixTable();
    showStationDialog();

    const MessageAnswer answer = m_platform.prompter.message(
        QStringLiteral(
            "Do you want to continue an existing contest? (Yes opens your existing log, No erases any "
            "existing log and starts a new log.)"),
        QStringLiteral("Open existing log?"), MessageIcon::Question, MessageButtons::YesNo);
    if (answer == MessageAnswer::Yes) {
        m_logFiles->reload();
    } else {
        m_logFiles->startNewLog();
    }
    if (m_ended) {
        return false;
    }
    m_contactList->showEditButtons(false);
    loadKeyerSettings();
    loadVoiceSettings();

    m_session.operatingClock.show(prefs.accumulatedSeconds);
    m_stationBar->showOperatingTime();
    applySpotSettings();
    m_clockTimer->start();
    tick();
    startRig();
    activateWindow(); // back from the start-up dialogs
    m_entry->focusCallBox();
    return true;
}

void MainWindow::checkUtcOffset()
{
    const QDateTime local = localNow(m_platform.clock);
    const QDateTime utc = naiveTime(m_platform.clock.utcNow());
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
    savePreferences();
}

void MainWindow::applyWindowSize()
{
    const QScreen* screen = QApplication::primaryScreen();
    if (!screen) {
        return;
    }
    // With the taskbar option the window leaves room for the panel; otherwise it may cover it.
    const QRect area = m_session.prefs.taskbar ? screen->availableGeometry() : screen->geometry();
    const double share = std::clamp(m_session.prefs.formSizePercent, 30, 100) / 100.0;
    const QSize size(static_cast<int>(area.width() * share), static_cast<int>(area.height() * share));
    resize(size.expandedTo(minimumSizeHint()));
    move(area.center() - rect().center());
}

void MainWindow::tick()
{
    m_stationBar->tick();
}

void MainWindow::endProgram()
{
    m_ended = true;
    m_clockTimer->stop();
    // Until the event loop ends the program, the window takes no more contacts.
    centralWidget()->setEnabled(false);
    emit programEnded(1);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    m_station.voice().stop(); // no transmitter stays keyed once the window is gone
    shutDown();
    QMainWindow::closeEvent(event);
}

void MainWindow::shutDown()
{
    if (m_shutDownDone || m_ended) {
        return;
    }
    m_shutDownDone = true;
    m_clockTimer->stop();
    if (m_help) {
        m_help->close();
    }
    m_station.winKey().close();
    m_station.rig().shutDown();
    m_logFiles->backUpChangedLog();
    // Time that runs while the program closes counts, as if "Time Off" had been clicked.
    OperatingClock& operating = m_session.operatingClock;
    if (operating.isRunning()) {
        operating.update(m_session.prefs.accumulatedSeconds, localNow(m_platform.clock));
        m_session.prefs.accumulatedSeconds = static_cast<float>(operating.stop());
    }
    savePreferences();
}

void MainWindow::savePreferences()
{
    savePreferencesReporting(m_platform, m_session);
}

// ---------------------------------------------------------------------------------------------
// Keyboard and band

namespace {

// Ctrl keys that belong to the station windows even when the window is not built: they never type.
bool isReservedCtrlKey(int key)
{
    switch (key) {
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
        return false;
    }
}

} // namespace

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Keys are delivered to the window's focus widget even while the window is not active.
    if (event->type() == QEvent::KeyPress && watched == focusWidget() &&
        handleShortcut(static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::handleShortcut(QKeyEvent* event)
{
    // Ctrl shortcuts reach the station windows; the keystroke types nothing.
    if (event->modifiers() & Qt::ControlModifier) {
        const auto command = m_ctrlCommands.find(event->key());
        if (command != m_ctrlCommands.end()) {
            command->second();
            return true;
        }
        return isReservedCtrlKey(event->key());
    }
    // Function keys and the keyer's keys: the first subsystem that takes the key wins.
    for (const auto& handler : m_keyHandlers) {
        if (handler(event)) {
            return true;
        }
    }
    return false;
}

void MainWindow::selectBand(const QString& band)
{
    const int index = bandIndex(band);
    if (index == 0) {
        return;
    }
    m_session.setBand(bandTexts().at(index - 1));
    savePreferences();
    m_logFiles->reload();
}

void MainWindow::followRadioFrequency(float mhz)
{
    const auto band = bandForFrequency(mhz);
    if (band && band->compare(m_session.prefs.currentBand, Qt::CaseInsensitive) != 0) {
        selectBand(*band);
    }
    m_session.pendingFrequency = formatNumber(mhz, QStringLiteral("#####.##0"));
}

} // namespace velk
