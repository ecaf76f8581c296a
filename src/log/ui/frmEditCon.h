#pragma once
// frmEditCon: the "Edit Contact Entry" dialog. Shows one logged contact in eight boxes, checks
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

class frmEditCon : public QDialog
{
    Q_OBJECT
public:
    // Result code of the dialog when "Delete Dupe" ended it (Done ends it Accepted).
    static constexpr int DeleteDupeResult = 2;

    frmEditCon(Platform& platform, const ContactLog& log, const PrefixTable& prefixes, int recordNumber,
               QWidget* parent = nullptr);

    // Fills the eight boxes from the record being edited.
    void Form_Load();
    // "Done": settles the location, checks the boxes and, when all pass, ends the dialog.
    void cmdDone_Click();
    // "Delete Dupe": ends the dialog asking the main window to delete the edited record.
    void cmdDeleteDupe_Click();

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

    QLineEdit* txtEditCall = nullptr;
    QLineEdit* txtEditCk = nullptr;
    QLineEdit* txtEditPre = nullptr;
    QLineEdit* txtEditSec = nullptr;
    QLineEdit* txtEditDate = nullptr;
    QLineEdit* txtEditTime = nullptr;
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label6 = nullptr;
    QPushButton* cmdDeleteDupe = nullptr;
    QPushButton* cmdDone = nullptr;

    void buildWindow();
    ContactEdit boxes() const;
    // Key handlers; true when the key was consumed.
    bool boxKeyPress(QLineEdit* box, QKeyEvent* event);
    bool txtEditPre_KeyPress(QChar key);
    void boxLostFocus(QLineEdit* box);
    void txtEditDate_LostFocus();
    void txtEditTime_LostFocus();
    void Text1_LostFocus();
    void refuseDate();
    void refuseTime();
    void refuseBand();
    void refocus(QLineEdit* box);
};

} // namespace velk
