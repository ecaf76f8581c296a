#pragma once
// Form1: the main logging window. Owns the entry boxes and the entry state, logs contacts into
// the ContactLog and log.txt, and ties the menus, keyboard, list of previous contacts, start-up
// and shut-down together. Talks to the platform services and the session objects main() builds.
#include "common/platform/platform.h"
#include "common/programinfo.h"
#include "log/contactlog.h"
#include "log/folders.h"
#include "log/multipliers.h"
#include "log/preferences.h"
#include "log/prefixtable.h"
#include "log/xmlstore.h"

#include <QDateTime>
#include <QMainWindow>
#include <array>
#include <functional>

class QAction;
class QActionGroup;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class QTimer;
class QListWidget;

namespace velk {

class ContactListModel;
class frmHelp;
class frmStationID;
class frmEditCon;

// The objects that live for the whole run and that several windows share.
struct LogSession
{
    Folders folders;
    Preferences prefs;
    ContactLog log;
    XmlStore xml;
    // Frequency of the next contact as the radio last reported it, "#####.##0" or empty.
    QString pendingFrequency;
};

class Form1 : public QMainWindow
{
    Q_OBJECT
public:
    Form1(Platform& platform, LogSession& session, QWidget* parent = nullptr);
    ~Form1() override;

    static QString programName() { return velk::programName(); }

    // Start-up sequence; false when it stopped on a failure or the program was ended.
    bool startUp();
    // True once a fatal load failure has ended the program.
    bool hasEnded() const { return m_ended; }

    // Entry and logging.
    void Mains();
    void cmdLogOn_Click();
    void cmdClear_Click();
    void Timer2_Timer();
    static int Capital(int key);
    static int number(int key);

    // Log file and band.
    bool mnuOpen2();
    void mnuNew_Click();
    void mnuArchive_Click();
    void mnuRestore_Click();
    void Backup();
    void BandFreqConversion(float mhz);
    void ModeSelection(const QString& mode);
    void selectBand(const QString& band);
    void Label24_Click();

    // Preferences.
    void SavePref();
    void mnuFormSize_Click();
    void mnuTaskbar_Click();
    void mnuListPrevious_Click();
    void mnuPostContest_Click();

    // List of previous contacts.
    void RefreshContactList();
    void cmdList_Click();
    void cmdDup_Click();
    void mnuCopyList_Click();
    void mnuHelp_Click();

    // Submission and export files.
    void mnuWriteSumm_Click();
    void mnuExportTobrel_Click();
    void mnuExportADIF_Click();

    // Hooks into the duplicate check, multipliers and location lookup.
    void DupCheck();
    void PartialDupeCheck(int key);
    void WaitDupeHold();
    void LookupCall();
    bool CompleteLocation(int key);
    void CheckShortLocation();
    void NewMultiplierIndicator();
    void MarkLocation(const ContactRecord& record);
    void Labeldisplay();
    void TimeStats();
    void LoadPrefixTable();
    void mnuColors_Click();
    void mnuSetup_Click();

    // State the tests and other windows read.
    bool timeOn() const { return m_timeOn; }
    bool postContestMode() const;
    bool listAll() const { return m_listAll; }
    bool partialDupesOn() const { return m_partialDupesOn; }
    double runningSeconds() const { return m_runningSeconds; }
    const QString& currentBand() const { return m_session.prefs.currentBand; }
    ContactListModel& contactListModel() const { return *m_listModel; }
    QTableView* contactListView() const { return m_listView; }

signals:
    // Emitted when a fatal failure ends the program; main() quits the event loop with the code.
    void programEnded(int code);
    // Right button on a listed contact: the edit dialog opens for that record number.
    void editContactRequested(int recordNumber);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    Platform& m_platform;
    LogSession& m_session;

    // Entry state.
    bool m_timeOn = false;
    bool m_entryIncomplete = false;
    bool m_locationInvalid = false;
    bool m_dupeFound = false;
    std::int64_t m_lastDupeTick = 0;
    bool m_partialDupesOn = true;
    bool m_listAll = false;
    bool m_ended = false;
    bool m_shutDownDone = false;
    bool m_baselineTaken = false;
    QDateTime m_timeOnStart;
    double m_runningSeconds = 0.0;

    // Controls, by their given names.
    QLineEdit* txtCall = nullptr;
    QLineEdit* txtRSTR = nullptr;
    QLineEdit* txtCntry = nullptr;
    QLineEdit* txtPostConTime = nullptr;
    QLineEdit* txtPostConDate = nullptr;
    QLabel* lblPostConTime = nullptr;
    QLabel* lblPostConDate = nullptr;
    QLabel* lblDialog = nullptr;
    QLabel* lblDupe = nullptr;
    QLabel* Label19 = nullptr;
    QLabel* Label22 = nullptr;
    QLabel* Label23 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label24 = nullptr;
    QLabel* lblutctime = nullptr;
    QLabel* lblCurTime = nullptr;
    QLabel* Label16 = nullptr;
    QLabel* lblttrack = nullptr;
    QLabel* lblOwnCall = nullptr;
    QLabel* lblOwnSpc = nullptr;
    QLabel* lblOwnName = nullptr;
    QLabel* lblTotCon = nullptr;
    QLabel* lblsectogo = nullptr;
    QLabel* lblTotScore = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* lblAQSO20 = nullptr;
    QLabel* lblAQSO60 = nullptr;
    QLabel* lblDxHeading = nullptr;
    QListWidget* List1 = nullptr;
    std::array<QLabel*, 63> Label10{};
    QPushButton* cmdLogOn = nullptr;
    QPushButton* cmdClear = nullptr;
    QPushButton* cmdList = nullptr;
    QPushButton* cmdDup = nullptr;
    QPushButton* cmdEdit = nullptr;
    QPushButton* cmdDelete = nullptr;
    QTableView* m_listView = nullptr;
    ContactListModel* m_listModel = nullptr;
    QSortFilterProxyModel* m_listSorter = nullptr;
    QTimer* Timer2 = nullptr;
    frmHelp* m_help = nullptr;

    // Menu items.
    QAction* mnuListPrevious = nullptr;
    QAction* mnuPostContest = nullptr;
    QAction* mnuTaskbar = nullptr;
    std::array<QAction*, 7> m_bandItems{};

    // Construction (Form1Ui.cpp).
    void buildWindow();
    void buildMenus();
    QWidget* buildStationBar();
    QWidget* buildEntryPanel();
    QWidget* buildButtonRow();
    QWidget* buildLocationGrid();
    QWidget* buildTotalsPanel();
    void applyWindowSize();

    // Key handling; each returns true when the key was consumed.
    bool Form_KeyDown(QKeyEvent* event);
    bool entryKeyPress(QLineEdit* box, QKeyEvent* event);
    int txtCall_KeyPress(int key);
    int txtRSTR_KeyPress(int key);
    int txtCntry_KeyPress(int key);
    int postContest_KeyPress(QLineEdit* box, int key);
    void txtCall_LostFocus();
    void txtCall_GotFocus();
    void txtPostConDate_GotFocus();

    // Logging steps.
    void frmcmp();
    bool takePostContestMoment(QString& date, QString& time);
    ContactRecord contactFromEntry(const QString& date, const QString& time) const;
    void clearEntryDisplays();
    void resetPartialDupeDisplay();
    void setStatus(const QString& text);
    void setStatusColour(std::uint32_t bgr);
    void showEditButtons(bool visible);

    // Clock helpers: local time and the station's UTC (local plus the configured offset).
    QDateTime localNow() const;
    QDateTime stationUtcNow() const;
    void showOperatingTime();
    void checkUtcOffset();
    void endProgram();
    void shutDown();
    void showStationLabels();

    // --- Duplicate check, multipliers and score (Form1Dupes.cpp, Form1Score.cpp) ---
    // Rebuilds the derived tables from the freshly loaded log and refreshes every score display.
    void rebuildScoreDisplays();
    // Hover and click on location label `index` (0-based); true when the event was handled.
    bool locationLabelEvent(int index, QEvent* event);
    // The "Dupe" cue of the audio feedback for blind operators; the cue arrives with the
    // audio-feedback window, until then a dupe is reported by the status line and the bell.
    void SayDupe();
    // Fills List1 and its heading with the current band's DX countries.
    void ShowDxList();
    // Paints the 63 location labels in the worked / not-worked colours of the current band.
    void paintLocationGrid();
    void paintLocationLabel(int location, bool worked);
    Multipliers m_multipliers;
    // --- end of duplicate check, multipliers and score ---

    // --- Location lookup and station information (Form1Lookup.cpp, Form1Station.cpp) ---
public:
    // Bearing and distance from the own station to the point, into Label22 and Label23.
    void HDCalc(double latitude, double longitude);
    const PrefixTable& prefixTable() const { return m_prefixTable; }
    // The RTTY-program link: connect (true once the link is up) and hand over the station data.
    bool ConnectWithDumo();
    void SendToDumo();
    // Shows the station dialog and returns its result code. The default runs it modally; tests
    // install a runner that fills the boxes and presses "Done" instead of waiting for a person.
    using StationDialogRunner = std::function<int(frmStationID&)>;
    void setStationDialogRunner(StationDialogRunner runner) { m_stationDialogRunner = std::move(runner); }

private:
    // Start-up and "&Setup": shows the station information dialog and applies what it holds.
    void showStationDialog();
    void applyStationInformation(const frmStationID& dialog);
    // The location box's caret as the operator sees it: the start of the selection, if any.
    int locationCaret() const;
    void showLocationOf(int entry);
    PrefixTable m_prefixTable;
    frmStationID* m_stationId = nullptr;
    StationDialogRunner m_stationDialogRunner;
    // --- end of location lookup and station information ---

    // --- Editing and deleting contacts, rate graph (Form1Edit.cpp) ---
public:
    // "Edit Contact" and the right click on a listed contact: opens the edit dialog for that
    // record (window-modal, without waiting); when it closes the log is rewritten and reloaded.
    void cmdEdit_Click(int recordNumber);
    // "Delete Contact": deletes the selected record once the operator confirms.
    void cmdDelete_Click();
    // "&Graph": opens the activity graph window.
    void mnuGraph_Click();
    // The edit dialog while it is open, otherwise null.
    frmEditCon* editDialog() const { return m_editCon; }

private:
    void editFinished(frmEditCon* dialog, int result);
    // Asks "Are you sure?" and deletes record `number`; true when it was deleted (and the log
    // rewritten and reloaded).
    bool deleteRecord(int number);
    // Rewrites log.txt from the log in memory, reports a failed rewrite, and reloads the file so
    // the log in memory is what the file holds.
    void rewriteAndReload();
    void reportRewriteFailure(const WriteResult& written);
    // Record number of the selected row of the list, 0 when none is selected.
    int selectedRecord() const;
    frmEditCon* m_editCon = nullptr;
    // --- end ---
};

} // namespace velk
