#include "log/prefixtable.h"

#include "common/quotedlist.h"

#include <QFile>
#include <algorithm>
#include <cmath>
#include <optional>

namespace velk {

namespace {

// The letter that orders a prefix within the file; a case-insensitive search folds it.
QChar firstLetter(const QString& text, Qt::CaseSensitivity cs)
{
    if (text.isEmpty()) {
        return QChar();
    }
    return cs == Qt::CaseInsensitive ? text.at(0).toUpper() : text.at(0);
}

std::optional<float> position(const QString& text)
{
    const auto value = parseSettingsNumber(text);
    if (!value || !std::isfinite(static_cast<float>(*value))) {
        return std::nullopt;
    }
    return static_cast<float>(*value);
}

std::optional<PrefixEntry> entryFromLine(const QStringList& values)
{
    if (values.size() < 5 || values.at(0).isEmpty()) {
        return std::nullopt;
    }
    const auto longitude = position(values.at(3));
    const auto latitude = position(values.at(4));
    if (!longitude || !latitude) {
        return std::nullopt;
    }
    return PrefixEntry{values.at(0), values.at(1), values.at(2), *longitude, *latitude};
}

bool isHomeCountry(const QString& country)
{
    return country == QLatin1String("USA") || country == QLatin1String("Canada");
}

} // namespace

PrefixTable PrefixTable::parse(const QByteArray& bytes)
{
    std::vector<PrefixEntry> entries;
    QuotedListReader reader(bytes);
    while (!reader.atEnd()) {
        const auto values = reader.nextLine();
        if (!values) {
            continue;
        }
        if (auto entry = entryFromLine(*values)) {
            entries.push_back(std::move(*entry));
        }
    }
    return PrefixTable(std::move(entries));
}

bool PrefixTable::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return false;
    }
    *this = parse(bytes);
    return true;
}

// 0-based index where the block of prefixes beginning with `first` should end if the table
// spread evenly over A to Z; digits and signs count as "A".
int PrefixTable::startIndex(QChar first) const
{
    const qint64 code = std::max<qint64>(first.unicode(), 'A');
    const qint64 estimate = static_cast<qint64>(size()) * (code - 64) / 26;
    return static_cast<int>(std::clamp<qint64>(estimate, 1, size())) - 1;
}

int PrefixTable::longestMatch(const QString& text, Qt::CaseSensitivity cs) const
{
    if (text.isEmpty() || isEmpty()) {
        return -1;
    }
    const QChar first = firstLetter(text, cs);
    const auto letterAt = [&](int i) { return firstLetter(at(i).prefix, cs); };

    int i = startIndex(first);
    while (i > 0 && letterAt(i) == first) {
        i = std::max(i - 5, 0);
    }
    const int step = letterAt(i) > first ? -1 : 1;

    int best = -1;
    qsizetype bestLength = 0;
    for (; i >= 0 && i < size(); i += step) {
        const QChar letter = letterAt(i);
        if ((step > 0 && letter > first) || (step < 0 && letter < first)) {
            break;
        }
        const QString& prefix = at(i).prefix;
        if (prefix.size() > bestLength && text.startsWith(prefix, cs)) {
            best = i;
            bestLength = prefix.size();
        }
    }
    return best;
}

int PrefixTable::completeCountry(const QString& typed, Qt::CaseSensitivity cs) const
{
    for (int i = size() - 1; i >= 0; --i) {
        if (at(i).country.startsWith(typed, cs)) {
            return i;
        }
    }
    return -1;
}

int PrefixTable::firstOfCountry(const QString& country) const
{
    const auto found = std::find_if(m_entries.begin(), m_entries.end(),
                                    [&](const PrefixEntry& e) { return e.country == country; });
    return found == m_entries.end() ? -1 : static_cast<int>(found - m_entries.begin());
}

QString callForLookup(const QString& callBoxText)
{
    const qsizetype slash = callBoxText.indexOf(QLatin1Char('/'));
    if (slash < 0) {
        return callBoxText;
    }
    const qsizetype rest = callBoxText.size() - slash - 1;
    // A single character after the slash is a call area or /P, /M: the home call decides.
    if (rest > 1 && rest * 2 < callBoxText.size()) {
        return callBoxText.right(rest);
    }
    return callBoxText;
}

CallLocation locateCall(const PrefixTable& table, const QString& callBoxText)
{
    CallLocation result;
    const QString call = callForLookup(callBoxText);
    if (call.isEmpty()) {
        return result;
    }
    const int match = table.longestMatch(call, Qt::CaseInsensitive);
    if (match < 0) {
        result.outcome = CallLocation::Outcome::NotFound;
        return result;
    }
    const QString& country = table.at(match).country;
    if (isHomeCountry(country)) {
        result.outcome = CallLocation::Outcome::HomeCountry;
        return result;
    }
    result.outcome = CallLocation::Outcome::Found;
    // Guantanamo Bay calls have five characters; other KG4 calls are stateside.
    const bool stateside =
        call.startsWith(QLatin1String("KG4"), Qt::CaseInsensitive) && (call.size() == 4 || call.size() > 5);
    if (stateside) {
        result.entry = table.firstOfCountry(QStringLiteral("USA"));
        return result;
    }
    result.entry = match;
    if (country == QLatin1String("Alaska")) {
        result.location = QStringLiteral("AK");
    } else if (country == QLatin1String("Hawaii")) {
        result.location = QStringLiteral("HI");
    } else {
        result.location = country;
    }
    return result;
}

} // namespace velk
