// log.txt: the reader must never crash, and whatever it loads must write back and load again to
// the same records. The consumers of loaded records (multipliers, rates, dupe checks, the export
// lines) run over every loaded log too.
#include "common/quotedlist.h"
#include "fuzz_common.h"
#include "log/contactlog.h"
#include "log/dupes.h"
#include "log/multipliers.h"
#include "log/rates.h"
#include "output/adif.h"
#include "output/cabrillo.h"
#include "output/countrytable.h"

#include <QDateTime>

using namespace velk;

namespace {

// The records the general quoted-list reader makes of the bytes; nothing when a line is not
// nine readable values. The log's own (faster) reader must agree with it on every input.
std::optional<std::vector<ContactRecord>> referenceRecords(const QByteArray& bytes)
{
    std::vector<ContactRecord> records;
    QuotedListReader reader(bytes);
    while (!reader.atEnd()) {
        const auto values = reader.nextLine();
        if (!values || values->size() != ContactRecord::fieldCount) {
            return std::nullopt;
        }
        records.push_back(ContactRecord::fromFields(*values));
    }
    return records;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    ContactLog log;
    const LoadResult loaded = log.loadBytes(bytes);
    const auto reference = referenceRecords(bytes);
    fuzz::require(loaded.ok == reference.has_value(), "the log reader and the quoted-list reader agree");
    fuzz::require(log.recordKeys().size() == log.records().size(), "one key per record");
    if (!loaded.ok) {
        fuzz::require(log.count() == 0, "a failed load leaves the log empty");
        fuzz::require(!loaded.error.isEmpty(), "a failed load says why");
        return 0;
    }

    fuzz::require(log.records() == *reference, "the log reader reads what the quoted-list reader reads");
    for (int i = 1; i <= log.count(); ++i) {
        const RecordKey expected = RecordKey::of(log.record(i));
        const RecordKey& key = log.recordKeys()[static_cast<size_t>(i - 1)];
        fuzz::require(key.plain == expected.plain && key.length == expected.length &&
                          key.band == expected.band && key.location == expected.location &&
                          key.text == expected.text,
                      "record keys match their records");
    }

    QByteArray written;
    for (const ContactRecord& record : log.records()) {
        written += ContactLog::encodeLine(record);
    }
    ContactLog again;
    fuzz::require(again.loadBytes(written).ok, "a written log loads");
    fuzz::require(again.records() == log.records(), "a written log loads to the same records");

    Multipliers multipliers;
    multipliers.rebuild(log);
    fuzz::require(multipliers.total() >= 0, "multiplier total");
    rateTally(log, QDateTime(QDate(2026, 1, 10), QTime(18, 0), Qt::UTC));
    if (log.count() > 0) {
        const ContactRecord& first = log.record(1);
        const DupeScan scan = scanForDupe(log, first.call, first.band);
        // The packed-key scans answer as a plain scan of the records would.
        int firstOnBand = 0;
        QString partial;
        const QString typed = first.call.left(2);
        for (int i = 1; i <= log.count(); ++i) {
            const ContactRecord& r = log.record(i);
            if (firstOnBand == 0 && r.call.compare(first.call, Qt::CaseInsensitive) == 0 &&
                r.band.compare(first.band, Qt::CaseInsensitive) == 0) {
                firstOnBand = i;
            }
            if (partial.size() <= 100 && r.band.compare(first.band, Qt::CaseInsensitive) == 0 &&
                r.call.startsWith(typed, Qt::CaseInsensitive)) {
                partial += QLatin1Char(' ') + r.call;
            }
        }
        fuzz::require(scan.dupeRecord == firstOnBand,
                      "the dupe is the first contact with the call on the band");
        fuzz::require(typed.isEmpty() || partialDupeList(log, typed, first.band) == partial,
                      "the partial list is the plain scan's");
        fuzz::require(scan.dupeRecord == 0 || scan.dupeRecord <= log.count(), "dupe record in range");
        partialDupeList(log, first.call.left(2), first.band);
        dupeReport(first, 1);
    }
    const CabrilloStation station{QStringLiteral("N0CALL"), QStringLiteral("CT"), QStringLiteral("CW"),
                                  QStringLiteral("fuzz")};
    const CountryTable countries = CountryTable::parse("\"Mexico\",50\r\n\"Canada\",1\r\n").value();
    AdifOptions adif;
    adif.mode = QStringLiteral("CW");
    for (const ContactRecord& record : log.records()) {
        cabrilloQsoLine(record, station);
        adifRecord(record, countries, adif);
        countryOfRecord(record);
    }
    return 0;
}
