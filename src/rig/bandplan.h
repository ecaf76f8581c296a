#pragma once
// The band plan of BandPlan.txt (which segments each licence class may use, CW or phone) and
// the mode rules built on it: the mode set when the radio is tuned, and the mode read from the
// frequency when the operator chose "Mode by: Frequency".
#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace velk {

struct PlanRow
{
    QString band;      // "160", "80", "60", "40", "20" ...
    QString classCode; // "O" the band's own limits, else N, T, P, G, A or E
    QString mode;      // "CW", else phone
    float lower = 0.0f;
    float upper = 0.0f;
    bool operator==(const PlanRow&) const = default;
};

struct BandPlan
{
    QString effective; // "Frequencies Effective: " + this
    QList<PlanRow> rows;
};

inline constexpr int maxPlanRows = 200;

// Reads the file's bytes: the effective text, then five-value records to the end (at most 200);
// reading stops at the first record that does not read. Nothing when the first value is missing.
std::optional<BandPlan> parseBandPlan(const QByteArray& bytes);
std::optional<BandPlan> loadBandPlan(const QString& path);
// The file as the reader takes it: the effective text on its line, then a record a line.
QByteArray encodeBandPlan(const BandPlan& plan);
// The Extra-class rows, in file order: the ones the radio's mode is chosen from.
QList<PlanRow> extraRows(const BandPlan& plan);

// One band of the privileges chart for a licence class: its limits and the class's segments as
// fractions of the bar (left, width), CW or phone.
struct ChartSegment
{
    float lower = 0.0f;
    float upper = 0.0f;
    bool cw = false;
    double left = 0.0;
    double width = 0.0;
};
struct ChartBand
{
    QString band;
    float lower = 0.0f;
    float upper = 0.0f;
    QList<ChartSegment> segments;
};
// The bands that hold a segment of `classCode`, in file order, at most 20.
QList<ChartBand> privilegeChart(const BandPlan& plan, const QString& classCode);
// "#,###.##0" edges: "14.000 - 14.350".
QString edgesText(float lower, float upper);

// The mode to set for a frequency: the first Extra row with lower < f < upper; none on 160 m or
// outside every row; phone is USB, LSB on 80 and 40 m (60 m phone is USB).
QString planModeForFrequency(const QList<PlanRow>& extra, float mhz);

// "Mode by: Frequency": CW or PH from the fixed sub-bands, none outside them (all of 160 m).
std::optional<QString> modeFromFrequency(float mhz);

} // namespace velk
