#pragma once
// The cluster's spot line ("DX de SPOTTER:  14025.0  DXCALL  comment  1830Z") cut at its fixed
// columns, and the country of a spotted call from the prefix table. Stateless; no I/O.
#include <QString>
#include <optional>

namespace velk {

class PrefixTable;

struct SpotLine
{
    QString call;          // line positions 27-39, trimmed
    QString frequencyText; // line positions 16-24, trimmed (kHz)
    QString record;        // the line less "DX ", trimmed
};

// True when the line is a spot: "DX" (any case) at its start, or after one or two leading
// characters as lines of the packet engine carry them.
bool isSpotLine(const QString& line);
// The line from its "DX", so that the fixed columns line up; the line itself when it has none
// near its start.
QString alignSpotLine(const QString& line);
// Cuts an (aligned) spot line at its columns. Short lines give empty or partial fields.
SpotLine parseSpotLine(const QString& line);
// A frequency as a plain decimal number above zero ("14025.0", "7003"); nothing for anything
// else (signs, exponents, NaN, infinity, commas, zero).
std::optional<double> parseFrequencyKhz(const QString& text);

// The list's columns taken from a record ("de W3LPL:     14025.0  JA1ABC ...").
struct SpotColumns
{
    QString comments; // record 1-11 trimmed, two spaces, record 35-59 trimmed
    QString prefix;   // record 62-66 trimmed
    QString time;     // record 68-71 as it is
    QString from;     // record 73-76 trimmed
};
SpotColumns spotColumns(const QString& record);

// The country of a spotted call: a short designator after "/" decides, the longest prefix of the
// table matching case-sensitively wins, and KG4 calls of six or more characters are "USA". Empty
// when nothing matches or the table is empty.
QString spotCountry(const PrefixTable& table, const QString& call);

} // namespace velk
