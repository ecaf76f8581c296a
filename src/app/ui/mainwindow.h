#pragma once
// MainWindow: the station's main window shell. Arranges the log's panels, builds the menus, runs
// start-up and shut-down in their order and connects the panels and the station's subsystems to
// one another. Holds no subsystem logic: each command calls the subsystem that owns it.
#include "app/station.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <map>
#include <vector>

class QAction;
class QKeyEvent;
class QStackedWidget;
class QTimer;

namespace velk {

class BandMapPanel;
class ContactListPanel;
class DigitalSourceWindow;
class RigSetupWindow;
class EntryPanel;
class HelpWindow;
class LogFileActions;
class PhoneWaveDialog;
class ScorePanel;
class SpectrumMapWindow;
class SpotListPanel;
class SpotSetupWindow;
class StationBar;
class StationDialog;
class StatusLine;
class WinKeySetupDialog;
class VoiceNavigationDialog;

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

    // The spot ring changed: the band map, and the spectrum map while it is open, draw it again.
    void refreshSpotMaps();
    // Opens the HF spectrum map (menu, Ctrl+B, double click on the band map's header).
    void showSpectrumMap();
    BandMapPanel& bandMap() const { return *m_bandMap; }
    // The open spectrum map, if any.
    SpectrumMapWindow* spectrumMap() const;

    EntryPanel& entryPanel() const { return *m_entry; }
    ContactListPanel& contactList() const { return *m_contactList; }
    LogFileActions& logFiles() const { return *m_logFiles; }
    // The " WinKey Setup" window, shown modally over the main window ("Configure Winkey").
    void showWinKeySetup();
    WinKeySetupDialog* winKeySetup() const { return m_winKeySetup; }

signals:
    // A fatal failure ends the program; main() quits the event loop with the code.
    void programEnded(int code);
    // A click on a band-map spot asks to tune the radio there (MHz).
    void spotTuneRequested(double mhz);

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
    WinKeySetupDialog* m_winKeySetup = nullptr;
    PhoneWaveDialog* m_phoneWaveDialog = nullptr;
    VoiceNavigationDialog* m_voiceNavigationDialog = nullptr;
    QTimer* m_clockTimer = nullptr;
    BandMapPanel* m_bandMap = nullptr;
    QPointer<SpectrumMapWindow> m_spectrumMap;
    // DX spotting: the list (and the band map beside it) in one area; the setup window.
    QStackedWidget* m_spotArea = nullptr;
    SpotListPanel* m_spotList = nullptr;
    SpotSetupWindow* m_spotWindow = nullptr;
    RigSetupWindow* m_rigSetup = nullptr;

    QAction* m_listPreviousAction = nullptr;
    QAction* m_postContestAction = nullptr;
    QAction* m_taskbarAction = nullptr;
    std::array<QAction*, 7> m_bandActions{};

    // Ctrl+key commands and the keys subsystems take in the main window (function keys, keyer
    // keys); each subsystem's wiring adds its own.
    std::map<int, std::function<void()>> m_ctrlCommands;
    std::vector<std::function<bool(QKeyEvent*)>> m_keyHandlers;

    // The RTTY terminal link (mainwindowrtty.cpp).
    DigitalSourceWindow* m_digitalSource = nullptr;
    void wireRttyLink();
    void applyRttyLink();
    bool rttyKey(QKeyEvent* event);
    void showDigitalSource();

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
    // The WinKey keyer: its settings, its setup window and its reports (mainwindowwinkey.cpp).
    void wireWinKey();

    // The band map and the spectrum map (mainwindowmaps.cpp).
    void wireMaps();

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

    // CW keying (mainwindowcw.cpp).
    void wireKeyer();
    void loadKeyerSettings();
    // DX spotting (mainwindowspots.cpp).
    void wireSpots();
    void applySpotSettings();
    void showSpotWindow();
    void arrangeSpotArea();
    // Voice keyer and spoken cues (mainwindowvoice.cpp).
    void wireVoice();
    void loadVoiceSettings();
    bool handleVoiceKey(QKeyEvent* event);
    void showPhoneWaveDialog();
    void showVoiceNavigation();
    // The radio link (mainwindowrig.cpp).
    void wireRig();
    void startRig();
    void showRigSetup();
    void showRigTuning();
    void showPrivileges();
};

} // namespace velk
