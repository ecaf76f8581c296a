#pragma once
// The seven contest bands, their 1-based indexes and the frequency ranges that map to them.
#include <QString>
#include <QStringList>
#include <optional>

namespace velk {

inline constexpr int bandCount = 7;

// "160", "80", "40", "20", "15", "10", "6" in index order 1..7.
const QStringList& bandTexts();
// 1..7, or 0 when the text is not a band (case-insensitive).
int bandIndex(const QString& band);
// The band whose range holds the frequency (MHz, bounds exclusive); 6 m is never returned.
std::optional<QString> bandForFrequency(float mhz);
// The band after this one in the order 160 .. 10, wrapping to 160; none for 6 m.
std::optional<QString> nextBand(const QString& band);

} // namespace velk
