#pragma once
// Number and date/time formats in the notation the log's displays and files use:
// "#####.##0", "###,##0", "hh:nn:ss", "h:nn:ss AMPM", "yyyy/mm/dd", "mm/dd", "yyyymmddhhnn" ...
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <optional>
#include <string>

namespace velk {

// The shortest decimal digits that read back to the same value, and the decimal exponent of the
// first digit: 14.025 gives ("14025", 1), 77.0333f gives ("770333", 1). Locale-independent.
struct DecimalDigits
{
    std::string digits;
    int exponent = 0;
};
DecimalDigits shortestDigits(double magnitude);
DecimalDigits shortestDigits(float magnitude);

// Formats a number by a pattern of "#", "0", "," and ".": "0" forces a digit, "#" shows one
// only when significant, a "," in the integer part groups thousands, the digits after "."
// give the rounding. Example: 14.025 with "#####.##0" is "14.025"; 1234 with "###,##0" is
// "1,234"; 0 with "##,###" is "".
QString formatNumber(double value, const QString& pattern);

// Formats a date/time by a pattern of yyyy, mm (month, or minutes right after h/hh), dd, hh, h,
// nn, ss and AMPM (upper-case AM/PM). Other characters are copied.
QString formatDateTime(const QDateTime& moment, const QString& pattern);

// Date in the system's short date format (for status messages).
QString formatShortDate(const QDate& date);

// A date typed by the operator: "yyyy/mm/dd", "yyyy-mm-dd", "mm/dd/yyyy", "m/d/yyyy",
// "mm-dd-yyyy", "yyyy/m/d"; nothing when it is not a real calendar date.
std::optional<QDate> parseOperatorDate(const QString& text);
// A time typed by the operator: "h:mm", "hh:mm" or "hh:mm:ss", 24-hour; nothing when invalid.
std::optional<QTime> parseOperatorTime(const QString& text);

// The date and time fields of a log record; nothing when either cannot be read.
std::optional<QDateTime> parseRecordMoment(const QString& date, const QString& time);
// The same moment as seconds since 1970-01-01 00:00, the record read as UTC; quick for the form
// the log is written in, which the scans over the whole log meet on every record.
std::optional<qint64> parseRecordSecond(const QString& date, const QString& time);

// Operating time in seconds as "hh:mm:ss" (hours may exceed 99).
QString formatOperatingTime(double seconds);

// Calls, names and abbreviations are logged in capitals; only a-z change.
QChar capital(QChar key);

} // namespace velk
