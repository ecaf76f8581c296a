#pragma once
// Readable gtest failure messages for Qt values (found by argument-dependent lookup).
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTime>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* os)
{
    *os << '{';
    for (qsizetype i = 0; i < list.size(); ++i)
        *os << (i ? ", " : "") << '"' << list.at(i).toStdString() << '"';
    *os << '}';
}

inline void PrintTo(const QByteArray& bytes, std::ostream* os)
{
    *os << '"' << bytes.toHex(' ').toStdString() << "\" (hex)";
}

inline void PrintTo(const QDate& d, std::ostream* os)
{
    *os << d.toString(Qt::ISODate).toStdString();
}

inline void PrintTo(const QTime& t, std::ostream* os)
{
    *os << t.toString(Qt::ISODate).toStdString();
}

inline void PrintTo(const QDateTime& m, std::ostream* os)
{
    *os << m.toString(Qt::ISODate).toStdString();
}
