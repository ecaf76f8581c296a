#include "log/dupes.h"

#include "common/bands.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace velk {

namespace {
bool sameText(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The scans read the log's packed record keys: a short ASCII call compares there; any other call
// (and any other typed text or band) is compared as text, exactly as before.
// A key's text as two words, compared under a mask of the typed characters.
struct Words
{
    std::uint64_t low;
    std::uint64_t high;
};
static_assert(sizeof(RecordKey) == sizeof(Words), "a record key is two words");

Words wordsOf(const RecordKey& key)
{
    Words words{};
    std::memcpy(&words, &key, sizeof words);
    return words;
}

struct KeyQuery
{
    RecordKey call;
    int band = 0;
    Words text; // the query's text
    Words mask; // its characters
    bool usable() const { return call.plain && band != 0; }
};

KeyQuery keyQuery(QStringView call, QStringView band)
{
    KeyQuery query{RecordKey::ofCall(call), bandIndex(band.toString()), {}, {}};
    query.text = wordsOf(query.call);
    RecordKey ones;
    std::fill_n(ones.text.begin(), query.call.length, '\xff');
    query.mask = wordsOf(ones);
    return query;
}

bool textBegins(const RecordKey& key, const KeyQuery& query)
{
    const Words words = wordsOf(key);
    return (((words.low ^ query.text.low) & query.mask.low) |
            ((words.high ^ query.text.high) & query.mask.high)) == 0;
}

// The tests combine with & rather than &&: on a whole-log scan the branches of a short-circuit
// would be mispredicted on nearly every record.
bool sameCall(const RecordKey& key, const KeyQuery& query, const ContactRecord& record, QStringView call)
{
    if (!key.plain) {
        return sameText(record.call, call);
    }
    return (key.length == query.call.length) & textBegins(key, query);
}

bool callBegins(const RecordKey& key, const KeyQuery& query, const ContactRecord& record, QStringView typed)
{
    if (!key.plain) {
        return record.call.startsWith(typed, Qt::CaseInsensitive);
    }
    return (key.length >= query.call.length) & textBegins(key, query);
}
} // namespace

DupeScan scanForDupe(const ContactLog& log, QStringView call, QStringView band)
{
    DupeScan scan;
    const auto& records = log.records();
    const auto& keys = log.recordKeys();
    const KeyQuery query = keyQuery(call, band);
    const bool useKeys = query.usable() && keys.size() == records.size();
    for (std::size_t i = 0; i < records.size(); ++i) {
        const ContactRecord& record = records[i];
        if (useKeys ? !sameCall(keys[i], query, record, call) : !sameText(record.call, call)) {
            continue;
        }
        const int number = static_cast<int>(i) + 1;
        scan.previous.push_back(number);
        if (scan.nameDonor == 0 && !record.name.isEmpty()) {
            scan.nameDonor = number;
        }
        if (scan.locationDonor == 0 && !record.location.isEmpty()) {
            scan.locationDonor = number;
        }
        if (useKeys ? keys[i].band == query.band : sameText(record.band, band)) {
            scan.dupeRecord = number;
            break;
        }
    }
    return scan;
}

QString partialDupeList(const ContactLog& log, QStringView typed, QStringView band, int cutAfter)
{
    QString list;
    if (typed.isEmpty()) {
        return list;
    }
    const auto& records = log.records();
    const auto& keys = log.recordKeys();
    const KeyQuery query = keyQuery(typed, band);
    const bool useKeys = query.usable() && keys.size() == records.size();
    const auto band8 = static_cast<std::uint8_t>(query.band);
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (useKeys) {
            const RecordKey& key = keys[i];
            if (key.plain) {
                if (!((key.band == band8) & (key.length >= query.call.length) & textBegins(key, query))) {
                    continue;
                }
            } else if (key.band != band8 || !callBegins(key, query, records[i], typed)) {
                continue;
            }
        } else if (!sameText(records[i].band, band) ||
                   !records[i].call.startsWith(typed, Qt::CaseInsensitive)) {
            continue;
        }
        const ContactRecord& record = records[i];
        list += QLatin1Char(' ');
        list += record.call;
        if (list.size() > cutAfter) {
            break;
        }
    }
    return list;
}

QString dupeReport(const ContactRecord& record, int number)
{
    // The record number keeps the blank where a sign would stand.
    return QStringLiteral("Duplicate ") + record.call + QLatin1Char(' ') + record.date + QLatin1Char(' ') +
           record.time + QStringLiteral("  Rec#  ") + QString::number(number);
}

} // namespace velk
