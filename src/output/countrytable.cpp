#include "output/countrytable.h"

#include "common/quotedlist.h"

#include <QFile>
#include <QFileInfo>

namespace velk {

RecordCountry countryOfRecord(const ContactRecord& record)
{
    RecordCountry result;
    const QString& location = record.location;
    if (location.size() == 2) {
        const QChar first = record.call.isEmpty() ? QChar() : record.call.at(0).toUpper();
        const bool usCall = first == QLatin1Char('A') || first == QLatin1Char('K') ||
                            first == QLatin1Char('N') || first == QLatin1Char('W');
        if (!usCall) {
            result.country = QStringLiteral("Canada");
            return result;
        }
        result.state = location;
        if (location.compare(QLatin1String("HI"), Qt::CaseInsensitive) == 0) {
            result.country = QStringLiteral("Hawaii");
        } else if (location.compare(QLatin1String("AK"), Qt::CaseInsensitive) == 0) {
            result.country = QStringLiteral("Alaska");
        } else {
            result.country = QStringLiteral("USA");
        }
    } else if (location.size() > 2) {
        result.country = location;
    }
    return result;
}

std::optional<CountryTable> CountryTable::parse(const QByteArray& bytes, QString* error)
{
    CountryTable table;
    QuotedListReader reader(bytes);
    while (!reader.atEnd()) {
        const auto values = reader.nextLine();
        if (!values || values->size() < 2 || values->at(0).trimmed().isEmpty()) {
            continue;
        }
        bool ok = false;
        const int number = values->at(1).trimmed().toInt(&ok);
        if (!ok) {
            continue;
        }
        if (table.size() >= capacity) {
            if (error != nullptr) {
                *error =
                    QStringLiteral("The country table ADIFCnt.txt holds more than %1 entries.").arg(capacity);
            }
            return std::nullopt;
        }
        const QString name = values->at(0).trimmed();
        table.m_entries.emplace_back(name, number);
        const QString folded = name.toCaseFolded();
        if (!table.m_byFoldedName.contains(folded)) { // an earlier entry of the name stays first
            table.m_byFoldedName.insert(folded, number);
        }
    }
    return table;
}

std::optional<CountryTable> CountryTable::load(const QStringList& candidates, QString* error)
{
    for (const QString& path : candidates) {
        if (!QFileInfo(path).isFile()) {
            continue;
        }
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            if (error != nullptr) {
                *error = path + QStringLiteral(": ") + file.errorString();
            }
            return std::nullopt;
        }
        return parse(file.readAll(), error);
    }
    if (error != nullptr) {
        *error = QStringLiteral("File not found: ADIFCnt.txt");
    }
    return std::nullopt;
}

QStringList countryTableCandidates(const Folders& folders)
{
    const QString name = QStringLiteral("/ADIFCnt.txt");
    return {folders.shared + name, folders.data + name, folders.working + name};
}

int CountryTable::dxcc(const QString& country) const
{
    const QString name = country.trimmed();
    if (name.isEmpty()) {
        return 0;
    }
    return m_byFoldedName.value(name.toCaseFolded(), 0);
}

} // namespace velk
