#include "log/contactedit.h"

#include "common/bands.h"
#include "common/formats.h"
#include "log/locations.h"

#include <QRegularExpression>

namespace velk {

ContactEdit ContactEdit::of(const ContactRecord& record)
{
    return {record.call, record.name, record.location, record.continent,
            record.date, record.time, record.band,     record.sentName};
}

bool isEditDate(const QString& text)
{
    return parseOperatorDate(text).has_value();
}

bool isEditTime(const QString& text)
{
    return parseOperatorTime(text).has_value();
}

bool isEditBand(const QString& text)
{
    return bandTexts().contains(text, Qt::CaseSensitive);
}

QString logDate(const QString& typed)
{
    static const QRegularExpression logForm(QStringLiteral("^\\d{4}/\\d{2}/\\d{2}$"));
    const auto date = parseOperatorDate(typed);
    if (!date || logForm.match(typed).hasMatch()) {
        return typed;
    }
    return date->toString(QStringLiteral("yyyy/MM/dd"));
}

QString logTime(const QString& typed)
{
    static const QRegularExpression logForm(QStringLiteral("^\\d{2}:\\d{2}(:\\d{2})?$"));
    const auto time = parseOperatorTime(typed);
    if (!time || logForm.match(typed).hasMatch()) {
        return typed;
    }
    const bool withSeconds = typed.count(QLatin1Char(':')) == 2;
    return time->toString(withSeconds ? QStringLiteral("HH:mm:ss") : QStringLiteral("HH:mm"));
}

QString settleEditLocation(const QString& location)
{
    return location.size() < 4 ? location.toUpper() : location;
}

bool editLocationPasses(const QString& location)
{
    if (location.size() != 2) {
        return true;
    }
    for (const Location& known : locationTable()) {
        if (location == QLatin1String(known.abbreviation)) {
            return true;
        }
    }
    return false;
}

std::vector<int> editDupes(const ContactLog& log, int editedNumber, const QString& call, const QString& band)
{
    std::vector<int> found;
    const auto& records = log.records();
    for (int number = 1; number <= static_cast<int>(records.size()); ++number) {
        const ContactRecord& other = records[static_cast<size_t>(number - 1)];
        if (number != editedNumber && other.band == band && other.call == call) {
            found.push_back(number);
        }
    }
    return found;
}

EditVerdict checkEdit(const ContactLog& log, int editedNumber, const ContactEdit& edit)
{
    EditVerdict verdict;
    if (!isEditTime(edit.time)) {
        verdict.refusal = EditVerdict::Refusal::InvalidTime;
        return verdict;
    }
    if (!isEditDate(edit.date)) {
        verdict.refusal = EditVerdict::Refusal::InvalidDate;
        return verdict;
    }
    // A contact on no known band would count for no band's multipliers and break the
    // Cabrillo line, so Done refuses it as leaving the band box does.
    if (!isEditBand(edit.band)) {
        verdict.refusal = EditVerdict::Refusal::InvalidBand;
        return verdict;
    }
    verdict.dupes = editDupes(log, editedNumber, edit.call, edit.band);
    verdict.locationInvalid = !editLocationPasses(edit.location);
    return verdict;
}

ContactRecord applyEdit(const ContactRecord& original, const ContactEdit& edit)
{
    ContactRecord record = original;
    record.call = edit.call;
    record.name = edit.name;
    record.location = edit.location;
    record.continent = edit.continent;
    record.date = logDate(edit.date);
    record.time = logTime(edit.time);
    record.band = edit.band;
    record.sentName = edit.sentName;
    return record;
}

WriteResult replaceContact(ContactLog& log, int number, const ContactRecord& record, const QString& path)
{
    if (number < 1 || number > log.count()) {
        return {false, QStringLiteral("Record %1 is not in the log.").arg(number)};
    }
    log.replace(number, record);
    return log.rewrite(path);
}

WriteResult deleteContact(ContactLog& log, int number, const QString& path)
{
    if (number < 1 || number > log.count()) {
        return {false, QStringLiteral("Record %1 is not in the log.").arg(number)};
    }
    log.remove(number);
    return log.rewrite(path);
}

} // namespace velk
