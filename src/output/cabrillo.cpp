#include "output/cabrillo.h"

#include "output/adif.h"
#include "output/exportfile.h"

#include <QStringList>

namespace velk {

namespace {

// Puts `item` so that it starts at `column` (counted from 1). When the text before it already
// reaches that column, one blank keeps the items apart so the line still splits into fields.
void placeAt(QString& line, int column, const QString& item)
{
    const qsizetype start = column - 1;
    if (line.size() < start) {
        line += QString(start - line.size(), QLatin1Char(' '));
    } else {
        line += QLatin1Char(' ');
    }
    line += item;
}

QString powerSuffix(CabrilloPower power)
{
    switch (power) {
    case CabrilloPower::High:
        return QStringLiteral(" HIGH");
    case CabrilloPower::Low:
        return QStringLiteral(" LOW");
    case CabrilloPower::Qrp:
        return QStringLiteral(" QRP");
    case CabrilloPower::None:
        break;
    }
    return {};
}

} // namespace

QString cabrilloContest(const QString& mode)
{
    if (mode == QLatin1String("PH")) {
        return QStringLiteral("VELK-SSB");
    }
    if (mode == QLatin1String("RY")) {
        return QStringLiteral("VELK-RTTY");
    }
    return QStringLiteral("VELK-CW");
}

QString cabrilloFrequency(const QString& band)
{
    static const QStringList bands{QStringLiteral("160"), QStringLiteral("80"), QStringLiteral("40"),
                                   QStringLiteral("20"),  QStringLiteral("15"), QStringLiteral("10"),
                                   QStringLiteral("6")};
    static const QStringList kilohertz{
        QStringLiteral(" 1800"), QStringLiteral(" 3500"), QStringLiteral(" 7000"), QStringLiteral("14000"),
        QStringLiteral("21000"), QStringLiteral("28000"), QStringLiteral("50")};
    const qsizetype index = bands.indexOf(band.trimmed());
    return index < 0 ? QString() : kilohertz.at(index);
}

QString cabrilloClaimedScore(long long score)
{
    // A printed number: sign position (blank when positive), digits, one trailing blank.
    const QString digits = QString::number(score < 0 ? -score : score);
    return (score < 0 ? QStringLiteral("-") : QStringLiteral(" ")) + digits + QLatin1Char(' ');
}

QString cabrilloQsoLine(const ContactRecord& record, const CabrilloStation& station)
{
    QString line = QStringLiteral("QSO:");
    placeAt(line, 6, cabrilloFrequency(record.band));
    placeAt(line, 12, station.mode);
    placeAt(line, 15, QString(record.date).replace(QLatin1Char('/'), QLatin1Char('-')));
    // The ADIF rule: "18:04:31" and "18:04" give 1804 as in the log, and a hand-edited "9:05"
    // still gives four digits (0905) instead of breaking the columns.
    placeAt(line, 26, adifTime(record.time));
    placeAt(line, 31, station.ownCall.left(7));
    placeAt(line, 47, record.sentName.left(10));
    placeAt(line, 58, station.ownLocation);
    placeAt(line, 62, record.call.left(10));
    placeAt(line, 78, record.name.left(10));
    placeAt(line, 89, record.location.left(9));
    return line;
}

QByteArray writeCabrillo(const std::vector<ContactRecord>& records, const CabrilloStation& station,
                         const CabrilloSummary& summary, int multipliers)
{
    QString out;
    auto line = [&out](const QString& text) {
        out += text;
        out += QLatin1String("\r\n");
    };

    line(QStringLiteral("START-OF-LOG: 2.0"));
    line(QStringLiteral("CREATED-BY: ") + singleLine(station.createdBy));
    line(QStringLiteral("CONTEST: ") + cabrilloContest(station.mode));
    line(QStringLiteral("CALLSIGN: ") + singleLine(station.ownCall));
    line(QStringLiteral("CATEGORY: ") +
         (summary.multiTwo ? QStringLiteral("MULTI-TWO ALL") : QStringLiteral("SINGLE-OP ALL")) +
         powerSuffix(summary.power));
    line(QStringLiteral("CATEGORY-ASSISTED: NON-ASSISTED"));
    const long long score = static_cast<long long>(records.size()) * multipliers;
    line(QStringLiteral("CLAIMED-SCORE: ") + cabrilloClaimedScore(score));
    line(QStringLiteral("OPERATORS: ") +
         singleLine(summary.operators.isEmpty() ? station.ownCall : summary.operators));
    line(QStringLiteral("NAME: ") + singleLine(summary.name));
    line(QStringLiteral("ADDRESS: ") + singleLine(summary.address1));
    line(QStringLiteral("ADDRESS: ") + singleLine(summary.address2));
    line(QStringLiteral("ADDRESS: (e-mail) ") + singleLine(summary.email));
    // Every line typed into the soapbox becomes a SOAPBOX line of its own.
    QString soapbox = summary.soapbox;
    soapbox.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (const QString& text : soapbox.split(QLatin1Char('\n'))) {
        line(QStringLiteral("SOAPBOX: ") + text);
    }
    for (const ContactRecord& record : records) {
        line(cabrilloQsoLine(record, station));
    }
    line(QStringLiteral("END-OF-LOG:"));
    return out.toLatin1();
}

} // namespace velk
