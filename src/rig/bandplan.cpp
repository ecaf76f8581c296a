#include "rig/bandplan.h"

#include "common/formats.h"
#include "common/settingsfile.h"

#include <array>

namespace velk {

namespace {

// The effective text, then five-value records whatever the line breaks, one a line when written.
const SettingsFile<BandPlan>& headerFile()
{
    static const SettingsFile<BandPlan> file({.maxBytes = 1024 * 1024},
                                             {{"effective", FieldKind::Text, member(&BandPlan::effective)}});
    return file;
}

const SettingsFile<PlanRow>& rowFile()
{
    using R = PlanRow;
    static const SettingsFile<PlanRow> file({.lines = LineLayout::RecordPerLine},
                                            {
                                                {"band", FieldKind::Text, member(&R::band)},
                                                {"class", FieldKind::Text, member(&R::classCode)},
                                                {"mode", FieldKind::Text, member(&R::mode)},
                                                {"lower edge", FieldKind::Real, member(&R::lower)},
                                                {"upper edge", FieldKind::Real, member(&R::upper)},
                                            });
    return file;
}

} // namespace

std::optional<BandPlan> parseBandPlan(const QByteArray& bytes)
{
    settingsfile::ValueSource source(bytes, headerFile().rules().layout);
    BandPlan plan;
    if (headerFile().readFrom(source, plan).fieldsRead == 0) {
        return std::nullopt;
    }
    // A record cut short at the end, or one that does not read, ends the plan.
    while (plan.rows.size() < maxPlanRows) {
        PlanRow row;
        const SettingsReadReport report = rowFile().readFrom(source, row);
        if (!report.complete || !report.faults.isEmpty() || row.upper <= row.lower) {
            break;
        }
        plan.rows << row;
    }
    return plan;
}

QByteArray encodeBandPlan(const BandPlan& plan)
{
    QByteArray bytes = headerFile().write(plan);
    for (const PlanRow& row : plan.rows) {
        bytes += rowFile().write(row);
    }
    return bytes;
}

std::optional<BandPlan> loadBandPlan(const QString& path)
{
    SettingsFileState state = SettingsFileState::Missing;
    const auto bytes = settingsfile::readFile(path, headerFile().rules().maxBytes, state);
    if (!bytes) {
        return std::nullopt;
    }
    return parseBandPlan(*bytes);
}

QList<PlanRow> extraRows(const BandPlan& plan)
{
    QList<PlanRow> rows;
    for (const PlanRow& row : plan.rows) {
        if (row.classCode == QLatin1String("E")) {
            rows << row;
        }
    }
    return rows;
}

QList<ChartBand> privilegeChart(const BandPlan& plan, const QString& classCode)
{
    QList<ChartBand> bands;
    for (qsizetype i = 0; i < plan.rows.size() && bands.size() < 20; ++i) {
        const PlanRow& own = plan.rows.at(i);
        if (own.classCode != QLatin1String("O")) {
            continue;
        }
        ChartBand band{own.band, own.lower, own.upper, {}};
        const double span = own.upper - own.lower;
        for (qsizetype k = i + 1; k < plan.rows.size() && plan.rows.at(k).band == own.band; ++k) {
            const PlanRow& row = plan.rows.at(k);
            if (row.classCode != classCode || row.classCode == QLatin1String("O")) {
                continue;
            }
            ChartSegment segment;
            segment.lower = row.lower;
            segment.upper = row.upper;
            segment.cw = row.mode == QLatin1String("CW");
            segment.left = (row.lower - own.lower) / span;
            segment.width = (row.upper - row.lower) / span;
            band.segments << segment;
        }
        if (!band.segments.isEmpty()) {
            bands << band;
        }
    }
    return bands;
}

QString edgesText(float lower, float upper)
{
    const QString pattern = QStringLiteral("#,###.##0");
    return formatNumber(lower, pattern) + QStringLiteral(" - ") + formatNumber(upper, pattern);
}

QString planModeForFrequency(const QList<PlanRow>& extra, float mhz)
{
    for (const PlanRow& row : extra) {
        if (row.lower < mhz && mhz < row.upper) {
            if (row.band == QLatin1String("160")) {
                return {};
            }
            if (row.mode == QLatin1String("PH")) {
                // US 60 m phone is upper sideband (47 CFR 97.303(h)).
                const bool lower = row.band == QLatin1String("80") || row.band == QLatin1String("40");
                return lower ? QStringLiteral("LSB") : QStringLiteral("USB");
            }
            return row.mode;
        }
    }
    return {};
}

std::optional<QString> modeFromFrequency(float mhz)
{
    struct Range
    {
        float from;
        float to;
        bool cw;
    };
    static constexpr std::array<Range, 18> ranges{{
        {3.5f, 3.6f, true},
        {3.6f, 4.0f, false},
        {7.0f, 7.125f, true},
        {7.125f, 7.3f, false},
        {10.1f, 10.15f, true},
        {14.0f, 14.15f, true},
        {14.15f, 14.35f, false},
        {18.068f, 18.11f, true},
        {18.11f, 18.168f, false},
        {21.0f, 21.2f, true},
        {21.2f, 21.45f, false},
        {24.89f, 24.93f, true},
        {24.93f, 24.99f, false},
        {28.0f, 28.3f, true},
        {28.3f, 29.7f, false},
        {50.0f, 50.1f, true},
        {50.1f, 54.0f, false},
        {144.0f, 144.1f, true},
    }};
    for (const Range& range : ranges) {
        if (range.from < mhz && mhz < range.to) {
            return range.cw ? QStringLiteral("CW") : QStringLiteral("PH");
        }
    }
    if (144.1f < mhz && mhz < 148.0f) {
        return QStringLiteral("PH");
    }
    return std::nullopt;
}

} // namespace velk
