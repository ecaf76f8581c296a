#pragma once
// Correcting the log: the checks of the "Edit Contact Entry" dialog (date, time, band, dupe and
// location tests) and the edit and delete of one record followed by the rewrite of log.txt.
// Plain data over ContactLog; the dialog and the main window only read boxes and show results.
#include "log/contactlog.h"

#include <QString>
#include <vector>

namespace velk {

// The eight boxes of the edit dialog; the frequency is not shown and never changes.
struct ContactEdit
{
    QString call;
    QString name;
    QString location;
    QString continent;
    QString date;
    QString time;
    QString band;
    QString sentName;

    static ContactEdit of(const ContactRecord& record);
};

// A date the operator may type: "yyyy/mm/dd" and the other forms parseOperatorDate reads.
bool isEditDate(const QString& text);
// A time the operator may type: "hh:mm" or "hh:mm:ss" (24-hour).
bool isEditTime(const QString& text);
// One of the seven band texts, exactly ("160" ... "6").
bool isEditBand(const QString& text);

// The date as the log keeps it, "yyyy/mm/dd". A date typed in another form is rewritten, so the
// Cabrillo, ADIF and rate readers can still read it; a date already in that form is kept as typed.
QString logDate(const QString& typed);
// The time as the log keeps it: "hh:mm:ss", or "hh:mm" when typed without seconds (post-contest
// entries); a time already in that form is kept as typed.
QString logTime(const QString& typed);

// A location shorter than four characters (an abbreviation) is upper-cased; names stay as typed.
QString settleEditLocation(const QString& location);
// A two-character location must be one of the 63 abbreviations (exactly); other lengths pass.
bool editLocationPasses(const QString& location);

// Record numbers, other than the edited one, logged with exactly this call on exactly this band.
std::vector<int> editDupes(const ContactLog& log, int editedNumber, const QString& call, const QString& band);

// What "Done" finds, in the order it checks.
struct EditVerdict
{
    enum class Refusal {
        None,
        InvalidTime,
        InvalidDate,
        InvalidBand,
    };
    Refusal refusal = Refusal::None;
    std::vector<int> dupes; // other records with the same call and band
    bool locationInvalid = false;

    bool accepted() const { return refusal == Refusal::None && dupes.empty() && !locationInvalid; }
};

// The checks of "Done" on boxes whose location is already settled. A refused time, date or band
// stops before the dupe and location tests.
EditVerdict checkEdit(const ContactLog& log, int editedNumber, const ContactEdit& edit);

// The record after the edit: the boxes' texts, the date and time in the log's form, the
// frequency of the original.
ContactRecord applyEdit(const ContactRecord& original, const ContactEdit& edit);

// Replaces record `number` and rewrites the log file atomically. When the rewrite fails the file
// keeps its old content; the caller reloads it so the log in memory matches the file again.
WriteResult replaceContact(ContactLog& log, int number, const ContactRecord& record, const QString& path);
// Removes record `number`, the later ones moving up by one, and rewrites the log file likewise.
WriteResult deleteContact(ContactLog& log, int number, const QString& path);

} // namespace velk
