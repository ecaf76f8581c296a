#pragma once
// ContactRecord: one logged contact, nine text fields in log-file order.
#include <QString>
#include <QStringList>

namespace velk {

struct ContactRecord
{
    QString call;
    QString name;
    QString location;
    QString date; // UTC "yyyy/mm/dd"
    QString time; // UTC "hh:mm:ss", or "hh:mm" when entered after the contest
    QString band;
    QString continent;
    QString sentName;
    QString frequency; // MHz as "#####.##0", or empty

    static constexpr int fieldCount = 9;
    QStringList fields() const
    {
        return {call, name, location, date, time, band, continent, sentName, frequency};
    }
    static ContactRecord fromFields(const QStringList& f);
    bool operator==(const ContactRecord&) const = default;
};

} // namespace velk
