#include "common/bands.h"

namespace velk {

namespace {

struct BandRange
{
    const char* band;
    float lowExclusive;
    float highExclusive;
};

// Compared in single precision against float literals, so the exclusive bounds hold for the
// float the caller read (2.0001f and 1.7999f are outside, 1.8f is inside).
constexpr BandRange bandRanges[] = {
    {"160", 1.7999f, 2.0001f},  {"80", 3.4999f, 4.0001f},   {"40", 6.9999f, 7.3001f},
    {"20", 13.9999f, 14.3501f}, {"15", 20.9999f, 21.4501f}, {"10", 27.9999f, 29.7001f},
};

} // namespace

const QStringList& bandTexts()
{
    static const QStringList texts{QStringLiteral("160"), QStringLiteral("80"), QStringLiteral("40"),
                                   QStringLiteral("20"),  QStringLiteral("15"), QStringLiteral("10"),
                                   QStringLiteral("6")};
    return texts;
}

int bandIndex(const QString& band)
{
    // Band texts are digits only, so an exact compare is also the case-insensitive one.
    const qsizetype index = bandTexts().indexOf(band);
    return index < 0 ? 0 : static_cast<int>(index) + 1;
}

std::optional<QString> bandForFrequency(float mhz)
{
    for (const BandRange& range : bandRanges) {
        if (mhz > range.lowExclusive && mhz < range.highExclusive)
            return QString::fromLatin1(range.band);
    }
    return std::nullopt;
}

std::optional<QString> nextBand(const QString& band)
{
    const int index = bandIndex(band);
    if (index < 1 || index >= bandCount) // not a band, or 6 m
        return std::nullopt;
    const int next = index == bandCount - 1 ? 1 : index + 1; // 10 m wraps to 160 m
    return bandTexts().at(next - 1);
}

} // namespace velk
