#include "common/formats.h"

#include <QLocale>
#include <QRegularExpression>
#include <QTimeZone>
#include <charconv>
#include <cmath>
#include <string>

namespace velk {

namespace {

template <typename Real> DecimalDigits shortestDigitsOf(Real value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    const std::string text(buffer, result.ptr);
    const auto e = text.find('e');
    DecimalDigits out;
    for (std::size_t i = 0; i < e; ++i) {
        if (text[i] >= '0' && text[i] <= '9')
            out.digits += text[i];
    }
    out.exponent = std::stoi(text.substr(e + 1));
    while (out.digits.size() > 1 && out.digits.back() == '0')
        out.digits.pop_back();
    return out;
}

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

bool matchesAt(const QString& pattern, qsizetype pos, QLatin1String token)
{
    return pattern.mid(pos, token.size()).compare(token, Qt::CaseInsensitive) == 0;
}

// "yyyy/mm/dd" or "yyyy-mm-dd" (month and day may have one digit).
std::optional<QDate> parseYearFirstDate(const QString& text)
{
    static const QRegularExpression yearFirst(QStringLiteral("^(\\d{4})([/-])(\\d{1,2})\\2(\\d{1,2})$"));
    const auto match = yearFirst.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date(match.captured(1).toInt(), match.captured(3).toInt(), match.captured(4).toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

} // namespace

DecimalDigits shortestDigits(double magnitude)
{
    return shortestDigitsOf(magnitude);
}

DecimalDigits shortestDigits(float magnitude)
{
    return shortestDigitsOf(magnitude);
}

QString formatNumber(double value, const QString& pattern)
{
    if (!std::isfinite(value))
        return QString::number(value);

    const qsizetype point = pattern.indexOf(QLatin1Char('.'));
    const QString integerPattern = point < 0 ? pattern : pattern.left(point);
    const QString fractionPattern = point < 0 ? QString() : pattern.mid(point + 1);
    // Every '#' or '0' after the point is one decimal; the patterns the program uses end their
    // fraction in '0', so '#' there is treated like '0' (fixed number of decimals).
    const int decimals =
        static_cast<int>(fractionPattern.count(QLatin1Char('#')) + fractionPattern.count(QLatin1Char('0')));
    const int minimumIntegerDigits = static_cast<int>(integerPattern.count(QLatin1Char('0')));
    const bool grouping = integerPattern.contains(QLatin1Char(','));
    const bool anyZero = pattern.contains(QLatin1Char('0'));

    // Round half away from zero on the shortest decimal text of the value, so 2.675 (stored as
    // 2.67499999...) rounds like the decimal it was written as.
    const DecimalDigits shortest = shortestDigits(std::fabs(value));
    const std::string& digits = shortest.digits;
    const int exponent = shortest.exponent;
    const int count = static_cast<int>(digits.size());
    const auto digitAt = [&](int position) -> char {
        const int index = exponent - position;
        return index >= 0 && index < count ? digits[static_cast<std::size_t>(index)] : '0';
    };
    std::string kept;
    for (int position = std::max(exponent, 0); position >= -decimals; --position)
        kept += digitAt(position);
    if (digitAt(-decimals - 1) >= '5') {
        int i = static_cast<int>(kept.size()) - 1;
        for (; i >= 0; --i) {
            if (kept[static_cast<std::size_t>(i)] == '9') {
                kept[static_cast<std::size_t>(i)] = '0';
            } else {
                ++kept[static_cast<std::size_t>(i)];
                break;
            }
        }
        if (i < 0)
            kept.insert(kept.begin(), '1');
    }
    const bool isZero = kept.find_first_not_of('0') == std::string::npos;
    if (isZero && !anyZero)
        return QString(); // "##,###" shows nothing for zero

    std::string integer = kept.substr(0, kept.size() - static_cast<std::size_t>(decimals));
    const std::string fraction = kept.substr(kept.size() - static_cast<std::size_t>(decimals));
    const auto firstSignificant = integer.find_first_not_of('0');
    integer = firstSignificant == std::string::npos ? std::string() : integer.substr(firstSignificant);
    if (static_cast<int>(integer.size()) < minimumIntegerDigits)
        integer.insert(0, static_cast<std::size_t>(minimumIntegerDigits) - integer.size(), '0');
    if (grouping) {
        for (int i = static_cast<int>(integer.size()) - 3; i > 0; i -= 3)
            integer.insert(static_cast<std::size_t>(i), 1, ',');
    }

    std::string out;
    if (value < 0 && !isZero)
        out += '-';
    out += integer;
    if (decimals > 0) {
        out += '.';
        out += fraction;
    }
    return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

QString formatDateTime(const QDateTime& moment, const QString& pattern)
{
    const QDate date = moment.date();
    const QTime time = moment.time();
    const bool twelveHour = pattern.contains(QLatin1String("AMPM"), Qt::CaseInsensitive);
    const int hour24 = time.hour();
    const int hour12 = hour24 % 12 == 0 ? 12 : hour24 % 12;
    const int hour = twelveHour ? hour12 : hour24;

    QString out;
    bool afterHour = false; // an h/hh token came last (a ':' in between keeps it)
    qsizetype pos = 0;
    while (pos < pattern.size()) {
        bool hourToken = false;
        if (matchesAt(pattern, pos, QLatin1String("AMPM"))) {
            out += hour24 < 12 ? QLatin1String("AM") : QLatin1String("PM");
            pos += 4;
        } else if (matchesAt(pattern, pos, QLatin1String("yyyy"))) {
            out += QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
            pos += 4;
        } else if (matchesAt(pattern, pos, QLatin1String("mm"))) {
            out += twoDigits(afterHour ? time.minute() : date.month());
            pos += 2;
        } else if (matchesAt(pattern, pos, QLatin1String("dd"))) {
            out += twoDigits(date.day());
            pos += 2;
        } else if (matchesAt(pattern, pos, QLatin1String("hh"))) {
            out += twoDigits(hour);
            pos += 2;
            hourToken = true;
        } else if (matchesAt(pattern, pos, QLatin1String("h"))) {
            out += QString::number(hour);
            pos += 1;
            hourToken = true;
        } else if (matchesAt(pattern, pos, QLatin1String("nn"))) {
            out += twoDigits(time.minute());
            pos += 2;
        } else if (matchesAt(pattern, pos, QLatin1String("ss"))) {
            out += twoDigits(time.second());
            pos += 2;
        } else {
            const QChar c = pattern.at(pos);
            out += c;
            pos += 1;
            if (c == QLatin1Char(':') && afterHour)
                continue;
        }
        afterHour = hourToken;
    }
    return out;
}

QString formatShortDate(const QDate& date)
{
    return QLocale::system().toString(date, QLocale::ShortFormat);
}

std::optional<QDate> parseOperatorDate(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (auto date = parseYearFirstDate(trimmed))
        return date;
    static const QRegularExpression monthFirst(QStringLiteral("^(\\d{1,2})([/-])(\\d{1,2})\\2(\\d{4})$"));
    const auto match = monthFirst.match(trimmed);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date(match.captured(4).toInt(), match.captured(1).toInt(), match.captured(3).toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

std::optional<QTime> parseOperatorTime(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,2}):(\\d{2})(?::(\\d{2}))?$"));
    const auto match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const int hours = match.captured(1).toInt();
    const int minutes = match.captured(2).toInt();
    const int seconds = match.hasCaptured(3) ? match.captured(3).toInt() : 0;
    if (hours > 23 || minutes > 59 || seconds > 59)
        return std::nullopt;
    return QTime(hours, minutes, seconds);
}

std::optional<QDateTime> parseRecordMoment(const QString& date, const QString& time)
{
    // The record's date and time are UTC by convention but are treated as naive values: they get
    // the UTC time spec only so that arithmetic between moments never meets a daylight-saving
    // shift of the system zone.
    const auto day = parseYearFirstDate(date.trimmed());
    const auto clock = parseOperatorTime(time);
    if (!day || !clock)
        return std::nullopt;
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    return QDateTime(*day, *clock, QTimeZone(QTimeZone::UTC));
#else
    return QDateTime(*day, *clock, Qt::UTC);
#endif
}

namespace {

// The ASCII digits text[from, from + count) as a number; -1 when one is not a digit.
int digitsAt(QStringView text, qsizetype from, qsizetype count)
{
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

// "yyyy/mm/dd" and "hh:mm:ss" (or "hh:mm") read without the general patterns; nothing when the
// texts have any other form, valid or not.
std::optional<qint64> writtenFormSecond(QStringView date, QStringView time)
{
    constexpr qint64 julianDayOf1970 = 2440588;
    if (date.size() != 10 || date[4] != u'/' || date[7] != u'/' || (time.size() != 8 && time.size() != 5) ||
        time[2] != u':' || (time.size() == 8 && time[5] != u':'))
        return std::nullopt;
    const int year = digitsAt(date, 0, 4);
    const int month = digitsAt(date, 5, 2);
    const int day = digitsAt(date, 8, 2);
    const int hours = digitsAt(time, 0, 2);
    const int minutes = digitsAt(time, 3, 2);
    const int seconds = time.size() == 8 ? digitsAt(time, 6, 2) : 0;
    if (year < 0 || month < 0 || day < 0 || hours < 0 || minutes < 0 || seconds < 0 ||
        !QDate::isValid(year, month, day) || hours > 23 || minutes > 59 || seconds > 59)
        return std::nullopt;
    const qint64 days = QDate(year, month, day).toJulianDay() - julianDayOf1970;
    return days * 86400 + hours * 3600 + minutes * 60 + seconds;
}

} // namespace

std::optional<qint64> parseRecordSecond(const QString& date, const QString& time)
{
    if (const auto quick = writtenFormSecond(date, time))
        return quick;
    const auto moment = parseRecordMoment(date, time);
    if (!moment)
        return std::nullopt;
    return moment->toSecsSinceEpoch();
}

QString formatOperatingTime(double seconds)
{
    if (!(seconds > 0)) // negative or not a number: nothing operated yet
        seconds = 0;
    const double wholeMinutes = std::floor(seconds / 60);
    const double hours = std::floor(seconds / 3600);
    const double minutes = wholeMinutes - 60 * hours;
    const double secs = std::trunc(seconds - 60 * wholeMinutes);
    const auto field = [](double v) {
        return QStringLiteral("%1").arg(static_cast<long long>(v), 2, 10, QLatin1Char('0'));
    };
    return field(hours) + QLatin1Char(':') + field(minutes) + QLatin1Char(':') + field(secs);
}

QChar capital(QChar key)
{
    return (key >= QLatin1Char('a') && key <= QLatin1Char('z')) ? QChar(key.unicode() - 32) : key;
}

} // namespace velk
