#pragma once
// EditContactDialog: the "Edit Contact Entry" dialog. Shows one logged contact in eight boxes, checks
// date, time and band as the operator leaves them, and on "Done" runs the dupe and location
// tests. It never writes the log: the main window applies the edited record, or deletes the
// record when "Delete Dupe" ends the dialog, and rewrites log.txt.
#include "common/contactrecord.h"
#include "common/platform/platform.h"

#include <QDialog>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velk {

class ContactLog;
class PrefixTable;
struct ContactEdit;

class EditContactDialog : public QDialog
{
    Q_OBJECT
public:
    // Result code of the dialog when "Delete Dupe" ended it (Done ends it Accepted).
    static constexpr int DeleteDupeResult = 2;

    EditContactDialog(Platform& platform, const ContactLog& log, const PrefixTable& prefixes,
                      int recordNumber, QWidget* parent = nullptr);

    // Fills the eight boxes from the record being edited.
    void load();
    // "Done": settles the location, checks the boxes and, when all pass, ends the dialog.
    void pressDone();
    // "Delete Dupe": ends the dialog asking the main window to delete the edited record.
    void deleteDupe();

    int recordNumber() const { return m_recordNumber; }
    // The record as "Done" accepted it; the original until then.
    const ContactRecord& editedRecord() const { return m_edited; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Platform& m_platform;
    const ContactLog& m_log;
    const PrefixTable& m_prefixes;
    const int m_recordNumber;
    ContactRecord m_edited;
    // Set while the dialog itself moves the focus back, so that move is not checked again.
    bool m_refocusing = false;

    QLineEdit* callBox = nullptr;
    QLineEdit* nameBox = nullptr;
    QLineEdit* locationBox = nullptr;
    QLineEdit* continentBox = nullptr;
    QLineEdit* dateBox = nullptr;
    QLineEdit* timeBox = nullptr;
    QLineEdit* bandBox = nullptr;
    QLineEdit* sentNameBox = nullptr;
    QLabel* dupeWarning = nullptr;
    QLabel* locationWarning = nullptr;
    QLabel* bandWarning = nullptr;
    QPushButton* deleteDupeButton = nullptr;
    QPushButton* doneButton = nullptr;

    void buildWindow();
    ContactEdit boxes() const;
    // Key handlers; true when the key was consumed.
    bool boxKeyPress(QLineEdit* box, QKeyEvent* event);
    bool locationKeyPress(QChar key);
    void boxLostFocus(QLineEdit* box);
    void leaveDateBox();
    void leaveTimeBox();
    void leaveBandBox();
    void refuseDate();
    void refuseTime();
    void refuseBand();
    void refocus(QLineEdit* box);
};

} // namespace velk
