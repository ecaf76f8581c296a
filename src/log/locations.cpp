#include "log/locations.h"

#include <cstdint>

namespace velk {

const std::array<Location, locationCount>& locationTable()
{
    static constexpr std::array<Location, locationCount> table{{
        {"CT", "Connecticut"},
        {"MA", "Massachusetts"},
        {"ME", "Maine"},
        {"NH", "New Hampshire"},
        {"RI", "Rhode Island"},
        {"VT", "Vermont"},
        {"NY", "New York"},
        {"NJ", "New Jersey"},
        {"DE", "Delaware"},
        {"PA", "Pennsylvania"},
        {"MD", "Maryland"},
        {"AL", "Alabama"},
        {"GA", "Georgia"},
        {"KY", "Kentucky"},
        {"NC", "North Carolina"},
        {"FL", "Florida"},
        {"SC", "South Carolina"},
        {"TN", "Tennessee"},
        {"VA", "Virginia"},
        {"AR", "Arkansas"},
        {"LA", "Louisiana"},
        {"MS", "Mississippi"},
        {"NM", "New Mexico"},
        {"TX", "Texas"},
        {"OK", "Oklahoma"},
        {"CA", "California"},
        {"HI", "Hawaii"},
        {"AZ", "Arizona"},
        {"WA", "Washington"},
        {"ID", "Idaho"},
        {"MT", "Montana"},
        {"NV", "Nevada"},
        {"OR", "Oregon"},
        {"UT", "Utah"},
        {"WY", "Wyoming"},
        {"AK", "Alaska"},
        {"MI", "Michigan"},
        {"OH", "Ohio"},
        {"WV", "West Virginia"},
        {"IL", "Illinois"},
        {"IN", "Indiana"},
        {"WI", "Wisconsin"},
        {"CO", "Colorado"},
        {"IA", "Iowa"},
        {"KS", "Kansas"},
        {"MN", "Minnesota"},
        {"MO", "Missouri"},
        {"NE", "Nebraska"},
        {"ND", "North Dakota"},
        {"SD", "South Dakota"},
        {"NB", "New Brunswick"},
        {"NS", "Nova Scotia"},
        {"QC", "Quebec"},
        {"ON", "Ontario"},
        {"MB", "Manitoba"},
        {"SK", "Saskatchewan"},
        {"AB", "Alberta"},
        {"BC", "British Columbia"},
        {"NWT", "Northwest Territories"},
        {"YT", "Yukon Territory"},
        {"NL", "Newfoundland / Labrador"},
        {"PE", "Prince Edward"},
        {"NU", "Nunavut"},
    }};
    return table;
}

namespace {

// Two or three ASCII letters packed upper-case into one number; 0 for any other text.
std::uint32_t packedAbbreviation(QStringView text)
{
    if (text.size() < 2 || text.size() > 3) {
        return 0;
    }
    std::uint32_t code = 0;
    for (const QChar c : text) {
        char16_t u = c.unicode();
        if (u >= 'a' && u <= 'z') {
            u -= 'a' - 'A';
        }
        if (u < 'A' || u > 'Z') {
            return 0;
        }
        code = code << 8 | u;
    }
    return code;
}

} // namespace

int locationIndex(const QString& abbreviation)
{
    const auto& table = locationTable();
    // Every abbreviation is two or three letters: such a text is found by its packed code (the
    // whole log is looked up on every reload); any other text by the case-insensitive compare.
    static const auto codes = [&table] {
        std::array<std::uint32_t, locationCount> packed{};
        for (std::size_t i = 0; i < packed.size(); ++i) {
            packed[i] = packedAbbreviation(QString::fromLatin1(table[i].abbreviation));
        }
        return packed;
    }();
    if (const std::uint32_t code = packedAbbreviation(abbreviation)) {
        for (std::size_t i = 0; i < codes.size(); ++i) {
            if (codes[i] == code)
                return static_cast<int>(i) + 1;
        }
        return 0;
    }
    for (int i = 0; i < locationCount; ++i) {
        if (abbreviation.compare(QLatin1String(table[static_cast<std::size_t>(i)].abbreviation),
                                 Qt::CaseInsensitive) == 0)
            return i + 1;
    }
    return 0;
}

QString provinceForCall(const QString& call)
{
    struct Prefix
    {
        const char* prefix;
        const char* province;
    };
    static constexpr Prefix prefixes[] = {
        {"VE1", "NS"}, {"VE2", "QC"}, {"VE3", "ON"},  {"VE4", "MB"}, {"VE5", "SK"},
        {"VE6", "AB"}, {"VE7", "BC"}, {"VE8", "NWT"}, {"VE9", "NB"}, {"VO1", "NL"},
        {"VO2", "NL"}, {"VY1", "YT"}, {"VY2", "PE"},
    };
    if (call.size() <= 2)
        return QString();
    const QString start = call.left(3);
    for (const Prefix& p : prefixes) {
        if (start.compare(QLatin1String(p.prefix), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(p.province);
    }
    return QString();
}

} // namespace velk
