#include "common/contactrecord.h"

namespace velk {

ContactRecord ContactRecord::fromFields(const QStringList& f)
{
    // QStringList::value() gives an empty text past the end: missing fields stay empty and
    // fields beyond the ninth are ignored.
    ContactRecord r;
    r.call = f.value(0);
    r.name = f.value(1);
    r.location = f.value(2);
    r.date = f.value(3);
    r.time = f.value(4);
    r.band = f.value(5);
    r.continent = f.value(6);
    r.sentName = f.value(7);
    r.frequency = f.value(8);
    return r;
}

} // namespace velk
