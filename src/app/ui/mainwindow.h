#pragma once
// MainWindow: the station's main window shell. Arranges the log's panels, builds the menus, runs
// start-up and shut-down in their order and connects the panels and the station's subsystems to
// one another. Holds no subsystem logic: each command calls the subsystem that owns it.
#include "app/station.h"

#include <QMainWindow>
#include <array>
#include <functional>
#include <map>
#include <vector>

class QAction;
class QKeyEvent;
class QTimer;

namespace velk {

class ContactListPanel;
class RigSetupWindow;
class EntryPanel;
class HelpWindow;
class LogFileActions;
class ScorePanel;
class StationBar;
class StationDialog;
class StatusLine;

class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(Station& station, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up sequence; false when it stopped on a failure or the program was ended.
    bool startUp();
    // True once a fatal failure has ended the program.
    bool hasEnded() const { return m_ended; }

    // Shows the station dialog and returns its result code. The default runs it modally; tests
    // install a runner that fills the boxes and presses "Done" instead of waiting for a person.
    using StationDialogRunner = std::function<int(StationDialog&)>;
    void setStationDialogRunner(StationDialogRunner runner) { m_stationDialogRunner = std::move(runner); }

    // Makes `band` current: menus, band display, preferences, and the log read again.
    void selectBand(const QString& band);
    // The radio reports its dial: the band follows and the next contact takes the frequency.
    void followRadioFrequency(float mhz);
    // The one-second tick of the clocks.
    void tick();

    EntryPanel& entryPanel() const { return *m_entry; }
    ContactListPanel& contactList() const { return *m_contactList; }
    LogFileActions& logFiles() const { return *m_logFiles; }

signals:
    // A fatal failure ends the program; main() quits the event loop with the code.
    void programEnded(int code);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    Station& m_station;
    Platform& m_platform;
    LogSession& m_session;

    StationBar* m_stationBar = nullptr;
    StatusLine* m_statusLine = nullptr;
    EntryPanel* m_entry = nullptr;
    ContactListPanel* m_contactList = nullptr;
    ScorePanel* m_score = nullptr;
    LogFileActions* m_logFiles = nullptr;
    HelpWindow* m_help = nullptr;
    StationDialog* m_stationDialog = nullptr;
    StationDialogRunner m_stationDialogRunner;
    QTimer* m_clockTimer = nullptr;
    RigSetupWindow* m_rigSetup = nullptr;

    QAction* m_listPreviousAction = nullptr;
    QAction* m_postContestAction = nullptr;
    QAction* m_taskbarAction = nullptr;
    std::array<QAction*, 7> m_bandActions{};

    // Ctrl+key commands and the keys subsystems take in the main window (function keys, keyer
    // keys); each subsystem's wiring adds its own.
    std::map<int, std::function<void()>> m_ctrlCommands;
    std::vector<std::function<bool(QKeyEvent*)>> m_keyHandlers;

    bool m_ended = false;
    bool m_shutDownDone = false;

    // Construction and wiring (mainwindow.cpp).
    void arrangePanels();
    void connectPanels();
    bool handleShortcut(QKeyEvent* event);
    void checkUtcOffset();
    void applyWindowSize();
    void endProgram();
    void shutDown();
    void savePreferences();

    // Menus and their commands (mainwindowmenus.cpp).
    void buildMenus();
    void buildFileMenu();
    void buildOptionsMenu();
    void buildBandMenu();
    void showStationDialog();
    void chooseFormSize();
    void toggleTaskbar();
    void chooseColours();
    void showHelp();
    void showRateGraph();

    // The radio link (mainwindowrig.cpp).
    void wireRig();
    void startRig();
    void showRigSetup();
    void showRigTuning();
    void showPrivileges();
};

} // namespace velk
