#pragma once
// Duplicate checks against the contest log: the full check of a call on a band (with the earlier
// contacts that can fill the name and location) and the partial list shown while a call is typed.
// Reads ContactLog only.
#include "log/contactlog.h"

#include <QString>
#include <QStringView>
#include <vector>

namespace velk {

struct DupeScan
{
    // Record number of the first contact with the call on the band, 0 when there is none.
    int dupeRecord = 0;
    // Earliest contacts with the call (any band, up to the dupe) holding a name or a location;
    // 0 when none has one.
    int nameDonor = 0;
    int locationDonor = 0;
    // Every contact with the call, oldest first, up to and including the dupe.
    std::vector<int> previous;
};

// Compares calls and bands case-insensitively; stops at the first contact on the band.
DupeScan scanForDupe(const ContactLog& log, QStringView call, QStringView band);

// Calls on the band that begin with `typed`, each after a blank, in log order. The scan stops as
// soon as the list is longer than `cutAfter` characters, so a busy band stays cheap to type on.
QString partialDupeList(const ContactLog& log, QStringView typed, QStringView band, int cutAfter = 100);

// The status-line report of a dupe: "Duplicate <call> <date> <time>  Rec#  <n>".
QString dupeReport(const ContactRecord& record, int number);

} // namespace velk
