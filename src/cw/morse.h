#pragma once
// Morse: the pattern of every character the keyer sends, the message placeholders, and the key
// schedule of a character as line changes at whole units after its start. Pure functions only.
#include <QString>
#include <cstdint>
#include <vector>

namespace velk {

inline constexpr int minimumWpm = 5;
inline constexpr int maximumWpm = 99;
// Word-space adjustment below this is refused: a space can lose at most its own eight units.
inline constexpr int minimumWordSpace = -8;

int boundedWpm(int wpm);

// One unit in nanoseconds: 1200 ms / WPM (50 units per word), speed bounded to 5-99.
std::int64_t unitNs(int wpm);

// Units as "1" (key down) and "0" (key up); empty for characters that are not keyed (and "!").
// Letters are looked up upper-cased. A space is eight units of silence, adjusted by wordSpace:
// positive adds units, negative keeps 8 + wordSpace of them.
QString morsePattern(QChar character, int wordSpace = 0);

// A line change `units` units after the start of the character.
struct KeyChange
{
    int units = 0;
    bool down = false;
    bool operator==(const KeyChange&) const = default;
};

struct CharacterSchedule
{
    std::vector<KeyChange> changes; // only where the line changes; always ends key up
    int lengthUnits = 0;            // the character's whole time, gaps included
};

CharacterSchedule scheduleOf(QChar character, int wordSpace = 0);

// Absolute line changes of a text in nanoseconds from its start: what a keyer at a constant speed
// does. Offsets are whole units times the unit, so nothing accumulates.
struct TimedChange
{
    std::int64_t atNs = 0;
    bool down = false;
    bool operator==(const TimedChange&) const = default;
};
std::vector<TimedChange> textSchedule(const QString& text, int wpm, int wordSpace);
// Total length of a text in units.
int textUnits(const QString& text, int wordSpace);

// The message of a function key as sent: "$" becomes the call (blanks trimmed), "#" is removed,
// "*" becomes "5NN", in that order; "!" stays for the keyer to log the contact.
QString expandMessage(const QString& message, const QString& call);

// Passes of the counting loop per 60 ms from a calibration run; never divides by zero.
double loopOffsetFrom(std::int64_t passes, std::int64_t elapsedNs);

} // namespace velk
