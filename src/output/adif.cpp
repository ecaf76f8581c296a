#include "output/adif.h"

#include "common/formats.h"

namespace velk {

namespace {

const QString lineEnd = QStringLiteral("\r\n");

// "<Tag:n>value" followed by `after` (a blank, or the line end).
void field(QString& out, const QString& tag, const QString& value, const QString& after = QStringLiteral(" "))
{
    out += tag + QString::number(value.size()) + QLatin1Char('>') + value + after;
}

QString withoutBlanks(const QString& text)
{
    QString out = text;
    out.remove(QLatin1Char(' '));
    return out;
}

QString withoutTrailingBlanks(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' ')) {
        --end;
    }
    return text.left(end);
}

} // namespace

QString adifMode(const QString& logMode)
{
    if (logMode == QLatin1String("PH")) {
        return QStringLiteral("SSB");
    }
    if (logMode == QLatin1String("RY")) {
        return QStringLiteral("RTTY");
    }
    return QStringLiteral("CW");
}

QString adifTime(const QString& time)
{
    QString hhmm = withoutBlanks(time);
    const qsizetype colon = hhmm.indexOf(QLatin1Char(':'));
    if (colon >= 0) {
        hhmm = hhmm.left(colon) + hhmm.mid(colon + 1, 2);
    }
    hhmm.truncate(4);
    while (hhmm.size() < 4) {
        hhmm.prepend(QLatin1Char('0'));
    }
    return hhmm;
}

QString adifRecord(const ContactRecord& record, const CountryTable& countries, const AdifOptions& options)
{
    QString out;
    if (!record.call.isEmpty()) {
        field(out, QStringLiteral("<Call:"), record.call);
    }
    if (const auto date = parseOperatorDate(record.date)) {
        out +=
            QStringLiteral("<Qso_Date:8:d>") + date->toString(QStringLiteral("yyyyMMdd")) + QLatin1Char(' ');
    }
    if (!record.band.isEmpty()) {
        field(out, QStringLiteral("<Band:"), record.band + QLatin1Char('M'));
    }
    field(out, QStringLiteral("<Mode:"), adifMode(options.mode), lineEnd);

    const QString power = withoutTrailingBlanks(options.power);
    if (!power.isEmpty()) {
        field(out, QStringLiteral("<Tx_Pwr:"), power);
    }
    const QString frequency = withoutBlanks(record.frequency);
    if (!frequency.isEmpty()) {
        field(out, QStringLiteral("<Freq:"), frequency);
    }
    field(out, QStringLiteral("<Time_On:"), adifTime(record.time));
    const RecordCountry country = countryOfRecord(record);
    if (const int dxcc = countries.dxcc(country.country); dxcc > 0) {
        field(out, QStringLiteral("<DXCC:"), QString::number(dxcc));
    }
    if (!country.state.isEmpty()) {
        field(out, QStringLiteral("<State:"), country.state);
    }
    if (!record.continent.isEmpty()) {
        field(out, QStringLiteral("<Cont:"), record.continent);
    }
    if (!record.name.isEmpty()) {
        field(out, QStringLiteral("<Name:"), record.name);
    }
    if (!options.comment.isEmpty()) {
        field(out, QStringLiteral("<Comment:"), options.comment, lineEnd);
    }
    out += QStringLiteral("<eor>") + lineEnd + lineEnd;
    return out;
}

QByteArray writeAdif(const std::vector<ContactRecord>& records, const CountryTable& countries,
                     const AdifOptions& options)
{
    // The header is free text up to <EOH>; nothing in it may look like a tag.
    auto headerText = [](const QString& text) {
        QString out = text;
        out.replace(QLatin1Char('<'), QLatin1Char('('));
        out.replace(QLatin1Char('>'), QLatin1Char(')'));
        out.replace(QLatin1Char('\r'), QLatin1Char(' '));
        out.replace(QLatin1Char('\n'), QLatin1Char(' '));
        return out;
    };
    QString out;
    out += QStringLiteral("ADIF Export from ") + headerText(options.createdBy) + lineEnd;
    out += QStringLiteral("Program by Varno Software, written for the VELK contest.") + lineEnd;
    out += QStringLiteral("Each contact of the contest log follows as one ADIF record.") + lineEnd;
    out += QStringLiteral("Log exported on: ") + headerText(options.exportedOn) + lineEnd;
    out += lineEnd;
    out += QStringLiteral("<EOH>") + lineEnd;
    out += lineEnd;
    for (const ContactRecord& record : records) {
        out += adifRecord(record, countries, options);
    }
    return out.toLatin1();
}

} // namespace velk
