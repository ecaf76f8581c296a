#pragma once
// EntryPanel: the call, name and location boxes with their whole keystroke flow (filtering,
// upper-casing, partial dupes, prefix lookup, location completion, the dupe check on leaving the
// call box), the completeness check and the logging of a contact, the post-contest date and time
// boxes, and the "Time On", "Clear" and partial-dupes buttons. Logs through the LogSession and
// reports in the StatusLine; talks to the operator through the platform's prompter.
#include "common/contactrecord.h"
#include "common/platform/platform.h"

#include <QWidget>
#include <functional>
#include <vector>

class QGridLayout;
class QHBoxLayout;
class QTimer;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velk {

class HeldInput;
class LogSession;
class StatusLine;

class EntryPanel : public QWidget
{
    Q_OBJECT
public:
    EntryPanel(Platform& platform, LogSession& session, StatusLine& status, QWidget* parent = nullptr);

    // Enter in any box: checks the entry and, when it is complete and no dupe, logs it.
    void logContact();
    void clearEntry();
    // "Time On" / "Time Off".
    void toggleTimeOn();
    void togglePartialDupes();
    bool partialDupesOn() const { return m_partialDupesOn; }
    void setPostContestMode(bool on);
    bool postContestMode() const { return m_postContestMode; }
    // A location picked elsewhere (the grid) goes into the location box.
    void setLocation(const QString& location);
    // A name picked elsewhere (the RTTY terminal) goes into the name box.
    void setName(const QString& name);
    void focusCallBox();
    // A call picked on the band map: the call box takes it and is left as with Tab, so the dupe
    // check and the pre-fill of name and location run; then the name box has the focus.
    void enterCallAndLeave(const QString& call);
    // A call chosen elsewhere (the spot list, the spectrum map): focus and text go to the call box, whose
    // change runs the lookup as for typed text.
    void enterCall(const QString& call);
    QLineEdit* callBox() const { return m_call; }
    QLineEdit* nameBox() const { return m_name; }
    QLineEdit* locationBox() const { return m_location; }
    // A button of another part of the station, placed after "Clear" in the button row.
    void addButton(QPushButton* button);
    // A line shown between the boxes and the status line (the partial matches).
    void placeBelowBoxes(QWidget* widget);
    // Fills the name and location boxes from what is known of a call when the call box is left
    // without a dupe; it fills only empty boxes.
    using HistoryPrefill =
        std::function<void(const QString& call, QLineEdit* nameBox, QLineEdit* locationBox)>;
    void setHistoryPrefill(HistoryPrefill prefill) { m_historyPrefill = std::move(prefill); }

signals:
    // The call box got the focus; `empty` when it holds no call.
    void callBoxEntered(bool empty);
    // The earlier contacts of the call just checked, for the list of previous contacts.
    void previousContactsFound(const std::vector<int>& records);
    // Enter was handled, logged or not: totals and rates are due.
    void entryFinished();
    // The new-multiplier indicator appeared for the entry being made.
    void newMultiplierShown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Platform& m_platform;
    LogSession& m_session;
    StatusLine& m_status;

    bool m_entryIncomplete = false;
    bool m_locationInvalid = false;
    bool m_dupeFound = false;
    bool m_partialDupesOn = true;
    bool m_postContestMode = false;
    std::int64_t m_lastDupeTick = 0;
    bool m_dupeCuePending = false;
    // The dupe hold: the key that waits, the input behind it, and the look at the clock.
    int m_heldKey = 0;
    HeldInput* m_heldInput = nullptr;
    QTimer* m_holdTimer = nullptr;
    QHBoxLayout* m_buttonRow = nullptr;
    QPushButton* m_clearButton = nullptr;
    HistoryPrefill m_historyPrefill;

    QLineEdit* m_call = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_location = nullptr;
    QLineEdit* m_postContestTime = nullptr;
    QLineEdit* m_postContestDate = nullptr;
    QWidget* m_postContestBoxes = nullptr;
    QLabel* m_continent = nullptr;
    QLabel* m_bearing = nullptr;
    QLabel* m_distance = nullptr;
    QLabel* m_newMultiplier = nullptr;
    QPushButton* m_timeOnButton = nullptr;
    QPushButton* m_partialDupesButton = nullptr;

    QGridLayout* buildBoxes();
    QWidget* buildButtonRow();

    // Keys (entrypanel.cpp); each returns the character to type, 0 for none.
    bool boxKeyPress(QLineEdit* box, QKeyEvent* event);
    int callKey(int key);
    int nameKey(int key);
    int locationKey(int key);
    int postContestKey(QLineEdit* box, int key);
    void leaveCallBox();
    void enterCallBox();
    void enterPostContestDate();

    // Logging steps.
    void checkComplete();
    bool takePostContestMoment(QString& date, QString& time);
    ContactRecord contactFromEntry(const QString& date, const QString& time) const;
    void clearLocationDisplays();
    void reportStatus(const QString& text);

    // Dupes (entrypaneldupes.cpp).
    void checkDupe();
    void clearAfterDupe();
    void showPartialDupes(int key);
    bool holdsAfterDupe() const;
    void holdAfterDupe(int key);
    void endHoldIfDue();

    // Where the other station is (entrypanellookup.cpp).
    void lookUpCall();
    bool completeLocation(int key);
    void checkShortLocation();
    void showNewMultiplier();
    void showLocationOf(int entry);
    void showBearingTo(double latitude, double longitude);
};

} // namespace velk
