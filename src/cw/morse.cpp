#include "cw/morse.h"

#include <QHash>
#include <algorithm>
#include <cmath>

namespace velk {

namespace {

const QHash<QChar, QString>& patterns()
{
    static const QHash<QChar, QString> table = [] {
        const std::pair<char, const char*> rows[] = {
            {' ', "00000000"},
            {'A', "10111000"},
            {'B', "111010101000"},
            {'C', "11101011101000"},
            {'D', "1110101000"},
            {'E', "1000"},
            {'F', "101011101000"},
            {'G', "111011101000"},
            {'H', "1010101000"},
            {'I', "101000"},
            {'J', "1011101110111000"},
            {'K', "111010111000"},
            {'L', "101110101000"},
            {'M', "1110111000"},
            {'N', "11101000"},
            {'O', "11101110111000"},
            {'P', "10111011101000"},
            {'Q', "1110111010111000"},
            {'R', "1011101000"},
            {'S', "10101000"},
            {'T', "111000"},
            {'U', "1010111000"},
            {'V', "101010111000"},
            {'W', "101110111000"},
            {'X', "11101010111000"},
            {'Y', "1110101110111000"},
            {'Z', "11101110101000"},
            {'0', "1110111011101110111000"},
            {'1', "10111011101110111000"},
            {'2', "101011101110111000"},
            {'3', "1010101110111000"},
            {'4', "10101010111000"},
            {'5', "101010101000"},
            {'6', "11101010101000"},
            {'7', "1110111010101000"},
            {'8', "111011101110101000"},
            {'9', "11101110111011101000"},
            {'.', "10111010111010111000"},
            {',', "1110111010101110111000"},
            {'?', "101011101110101000"},
            {'/', "1110101011101000"},
            {'-', "1110101010111000"},
            {'[', "1011101011101000"},          // AR
            {']', "101010111010111000"},        // SK
            {';', "111010111011101000"},        // KN
            {'\\', "111010111010101110101000"}, // CL
            {'=', "1110101010111000"},          // BT
        };
        QHash<QChar, QString> built;
        for (const auto& [character, pattern] : rows) {
            built.insert(QChar::fromLatin1(character), QString::fromLatin1(pattern));
        }
        return built;
    }();
    return table;
}

} // namespace

int boundedWpm(int wpm)
{
    return std::clamp(wpm, minimumWpm, maximumWpm);
}

std::int64_t unitNs(int wpm)
{
    return std::int64_t{1'200'000'000} / boundedWpm(wpm);
}

QString morsePattern(QChar character, int wordSpace)
{
    // Only a-z change case: other letters have no pattern anyway.
    if (character >= QLatin1Char('a') && character <= QLatin1Char('z')) {
        character = QChar(character.unicode() - 'a' + 'A');
    }
    QString pattern = patterns().value(character);
    if (character == QLatin1Char(' ')) {
        const int adjust = std::max(wordSpace, minimumWordSpace);
        if (adjust > 0) {
            pattern = QString(adjust, QLatin1Char('0')) + pattern;
        } else if (adjust < 0) {
            pattern.truncate(8 + adjust);
        }
    }
    return pattern;
}

CharacterSchedule scheduleOf(QChar character, int wordSpace)
{
    const QString pattern = morsePattern(character, wordSpace);
    CharacterSchedule schedule;
    schedule.lengthUnits = static_cast<int>(pattern.size());
    bool down = false;
    for (int unit = 0; unit < pattern.size(); ++unit) {
        const bool wanted = pattern.at(unit) == QLatin1Char('1');
        if (wanted != down) {
            schedule.changes.push_back({unit, wanted});
            down = wanted;
        }
    }
    if (down) {
        schedule.changes.push_back({schedule.lengthUnits, false});
    }
    return schedule;
}

std::vector<TimedChange> textSchedule(const QString& text, int wpm, int wordSpace)
{
    std::vector<TimedChange> changes;
    const std::int64_t unit = unitNs(wpm);
    std::int64_t start = 0;
    for (const QChar character : text) {
        const CharacterSchedule schedule = scheduleOf(character, wordSpace);
        for (const KeyChange& change : schedule.changes) {
            changes.push_back({(start + change.units) * unit, change.down});
        }
        start += schedule.lengthUnits;
    }
    return changes;
}

int textUnits(const QString& text, int wordSpace)
{
    int units = 0;
    for (const QChar character : text) {
        units += scheduleOf(character, wordSpace).lengthUnits;
    }
    return units;
}

QString expandMessage(const QString& message, const QString& call)
{
    QString expanded = message;
    expanded.replace(QLatin1Char('$'), call.trimmed());
    expanded.remove(QLatin1Char('#'));
    expanded.replace(QLatin1Char('*'), QStringLiteral("5NN"));
    return expanded;
}

double loopOffsetFrom(std::int64_t passes, std::int64_t elapsedNs)
{
    // Compiled code counts millions of passes in well under a millisecond: a run too short to
    // measure counts as one microsecond, and the result stays a finite whole number.
    constexpr double ceiling = 1e12;
    const double elapsed = static_cast<double>(std::max<std::int64_t>(elapsedNs, 1000));
    const double perSixtyMs = static_cast<double>(std::max<std::int64_t>(passes, 0)) / elapsed * 60e6;
    return std::min(std::nearbyint(perSixtyMs), ceiling);
}

} // namespace velk
