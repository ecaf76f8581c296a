#include "app/ui/mainwindow.h"

#include "app/ui/cwplug.h"
#include "app/ui/helpwindow.h"
#include "app/ui/rigplug.h"
#include "app/ui/rttyplug.h"
#include "app/ui/spokenreports.h"
#include "app/ui/spotsplug.h"
#include "app/ui/voiceplug.h"
#include "common/bands.h"
#include "common/formats.h"
#include "common/programinfo.h"
#include "common/quotedlist.h"
#include "common/ui/announcer.h"
#include "log/stationtime.h"
#include "log/ui/contactlistpanel.h"
#include "log/ui/entrypanel.h"
#include "log/ui/logfileactions.h"
#include "log/ui/partialmatchfilesdialog.h"
#include "log/ui/partialmatchpanel.h"
#include "log/ui/partialmatchplug.h"
#include "log/ui/preferenceprompts.h"
#include "log/ui/scorepanel.h"
#include "log/ui/stationbar.h"
#include "log/ui/statusline.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace velk {

MainWindow::MainWindow(Station& station, QWidget* parent)
    : QMainWindow(parent), m_station(station), m_platform(station.platform()), m_session(station.session())
{
    setObjectName(QStringLiteral("mainWindow"));
    arrangePanels();
    plugSubsystems();
    buildMenus();
    connectPanels();
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
    m_announcer = new Announcer(central);
    m_statusLine->setAnnouncer(m_announcer);
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

void MainWindow::plugSubsystems()
{
    const Shell shell{m_station,
                      *this,
                      *m_entry,
                      *m_statusLine,
                      *m_announcer,
                      m_keys,
                      [this] { savePreferences(); },
                      [this] { m_entry->focusCallBox(); }};
    m_cw = new CwPlug(shell);
    m_rtty = new RttyPlug(shell);
    m_voice = new VoicePlug(shell);
    m_spots = new SpotsPlug(shell);
    m_rig = new RigPlug(shell);
    connect(m_spots, &SpotsPlug::tuneRequested, &m_station, &Station::tuneToSpot);
    // The spot list or band map below the log.
    static_cast<QVBoxLayout*>(centralWidget()->layout())->addWidget(m_spots->area(), 1);
    plugPartialMatches();
}

void MainWindow::plugPartialMatches()
{
    m_partialMatches = new PartialMatchPlug(m_platform, m_session, m_station.superCheck(), this);
    PartialMatchPlug* plug = m_partialMatches;
    m_entry->placeBelowBoxes(plug->panel());
    connect(m_entry->callBox(), &QLineEdit::textChanged, plug, &PartialMatchPlug::showMatchesFor);
    connect(plug, &PartialMatchPlug::callChosen, m_entry, &EntryPanel::enterCall);
    // What the operator reads on the status line stays, unless the files cannot be used; the
    // result of a choice of files is reported.
    connect(plug->filesAction(), &QAction::triggered, this, [this] { m_partialMatchFilesChosen = true; });
    connect(plug, &PartialMatchPlug::statusText, this, [this](const QString& line) {
        if (m_partialMatchFilesChosen || !m_station.superCheck().isOn()) {
            m_statusLine->showText(line);
        }
    });
    m_entry->setHistoryPrefill([plug](const QString& call, QLineEdit* name, QLineEdit* location) {
        plug->prefill(call, name, location);
    });
    m_keys.addCtrlCommand(Qt::Key_Down, [plug] { plug->panel()->takeNext(); });
    m_keys.addCtrlCommand(Qt::Key_Up, [plug] { plug->panel()->takePrevious(); });
}

void MainWindow::connectPanels()
{
    connect(m_clockTimer, &QTimer::timeout, this, &MainWindow::tick);
    connect(m_stationBar, &StationBar::bandClicked, this, [this] {
        if (const auto next = nextBand(m_session.prefs.currentBand)) {
            m_station.selectBand(*next);
        }
    });
    // A band made current in the run: saved, and the log read again for it.
    connect(&m_station, &Station::bandSelected, this, [this] {
        savePreferences();
        m_logFiles->reload();
    });
    connect(&m_station, &Station::contactEntryRequested, m_entry, &EntryPanel::logContact);
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
    connectAnnouncements();
}

void MainWindow::connectAnnouncements()
{
    connect(&m_session, &LogSession::contactLogged, m_announcer,
            [this](const ContactRecord& record, const MultiplierChange& change) {
                m_announcer->announce(loggedContactReport(record, change, m_session.log.count()));
            });
    connect(m_entry, &EntryPanel::newMultiplierShown, m_announcer,
            [this] { m_announcer->announce(tr("New multiplier")); });
    m_keys.addCtrlCommand(Qt::Key_T, [this] {
        m_announcer->announce(
            contestStateReport(m_session, stationUtcNow(m_platform.clock, m_session.prefs.utcOffsetHours)));
    });
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
    m_cw->start();
    m_voice->start();

    m_session.operatingClock.show(prefs.accumulatedSeconds);
    m_stationBar->showOperatingTime();
    m_spots->start();
    m_clockTimer->start();
    tick();
    m_station.startRig();
    activateWindow(); // back from the start-up dialogs
    m_entry->focusCallBox();
    return true;
}

void MainWindow::checkUtcOffset()
{
    float& offset = m_session.prefs.utcOffsetHours;
    const auto advice = utcOffsetAdvice(m_platform.clock, offset);
    if (!advice) {
        return;
    }
    const QString recommendedText = formatSettingsNumber(advice->recommendedHours);
    const QString prompt =
        QStringLiteral(
            "Would you like to adjust the UTC offset in this program for your local time setting?\n\n") +
        QStringLiteral("Current System Time: ") + formatDateTime(advice->utc, QStringLiteral("hh:nn")) +
        QStringLiteral("\n\nCurrent Local Time: ") + formatDateTime(advice->local, QStringLiteral("hh:nn")) +
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
    shutDown();
    QMainWindow::closeEvent(event);
}

void MainWindow::shutDown()
{
    if (m_station.isShutDown()) {
        return;
    }
    m_clockTimer->stop();
    if (m_help) {
        m_help->close();
    }
    const bool logWasRead = !m_ended;
    m_station.shutDown();
    // A log that failed to load is left exactly as it is found.
    if (logWasRead) {
        m_logFiles->backUpChangedLog();
        savePreferences();
    }
}

void MainWindow::savePreferences()
{
    savePreferencesReporting(m_platform, m_session);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Keys are delivered to the window's focus widget even while the window is not active.
    if (event->type() == QEvent::KeyPress && watched == focusWidget() &&
        m_keys.route(static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace velk
