#pragma once
// MainWindow: the station's main window shell. Arranges the log's panels and the plugs of the
// other subsystems (radio, CW, voice, spots, RTTY link), builds the menus from them, forwards
// keys through the key router, and runs start-up and shut-down in their order. The rules between
// subsystems live in the Station.
#include "app/station.h"
#include "app/ui/keyrouter.h"

#include <QMainWindow>
#include <array>
#include <functional>

class QAction;
class QKeyEvent;
class QTimer;

namespace velk {

class Announcer;
class ContactListPanel;
class CwPlug;
class EntryPanel;
class HelpWindow;
class LogFileActions;
class PartialMatchPlug;
class RigPlug;
class RttyPlug;
class ScorePanel;
class SpotsPlug;
class StationBar;
class StationDialog;
class StatusLine;
class VoicePlug;

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

    // The one-second tick of the clocks.
    void tick();

    EntryPanel& entryPanel() const { return *m_entry; }
    ContactListPanel& contactList() const { return *m_contactList; }
    LogFileActions& logFiles() const { return *m_logFiles; }
    RigPlug& rig() const { return *m_rig; }
    CwPlug& cw() const { return *m_cw; }
    VoicePlug& voice() const { return *m_voice; }
    SpotsPlug& spots() const { return *m_spots; }
    RttyPlug& rtty() const { return *m_rtty; }
    PartialMatchPlug& partialMatches() const { return *m_partialMatches; }
    Announcer& announcer() const { return *m_announcer; }

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
    Announcer* m_announcer = nullptr;
    EntryPanel* m_entry = nullptr;
    ContactListPanel* m_contactList = nullptr;
    ScorePanel* m_score = nullptr;
    LogFileActions* m_logFiles = nullptr;
    HelpWindow* m_help = nullptr;
    StationDialog* m_stationDialog = nullptr;
    StationDialogRunner m_stationDialogRunner;
    QTimer* m_clockTimer = nullptr;
    KeyRouter m_keys;

    RigPlug* m_rig = nullptr;
    CwPlug* m_cw = nullptr;
    VoicePlug* m_voice = nullptr;
    SpotsPlug* m_spots = nullptr;
    RttyPlug* m_rtty = nullptr;
    PartialMatchPlug* m_partialMatches = nullptr;

    QAction* m_listPreviousAction = nullptr;
    QAction* m_postContestAction = nullptr;
    QAction* m_taskbarAction = nullptr;
    std::array<QAction*, 7> m_bandActions{};

    bool m_ended = false;
    bool m_partialMatchFilesChosen = false;

    // Construction (mainwindow.cpp).
    void arrangePanels();
    void plugSubsystems();
    void plugPartialMatches();
    void connectPanels();
    void connectAnnouncements();
    void setTabOrder();
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
};

} // namespace velk
