#include "log/rategraph.h"

#include "common/bands.h"
#include "common/colours.h"
#include "common/formats.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>

namespace velk {

namespace {

constexpr qint64 tenMinutes = 600;

// Seconds since 1970 (UTC); the log's own form is read quickly, a big log in a blink.
std::optional<qint64> momentOf(const ContactRecord& record)
{
    return parseRecordSecond(record.date, record.time);
}

QDateTime dateTimeOf(qint64 moment)
{
    return QDateTime::fromSecsSinceEpoch(moment, Qt::UTC);
}

// For each moment in log order: how many contacts, going back from it (itself included), are less
// than ten minutes older, the walk stopping at the first one ten minutes old or more. The last
// earlier index whose moment is at or before the limit ends the walk; only the running minima
// from the back can be that index, so they are kept on a stack (moments rising toward the top)
// and searched by halving. Linear-logarithmic, whatever the order of the moments.
std::vector<int> tenMinuteCounts(const std::vector<qint64>& moments)
{
    std::vector<int> counts(moments.size());
    std::vector<int> minima; // indexes; moments strictly rising from bottom to top
    for (int i = 0; i < static_cast<int>(moments.size()); ++i) {
        const qint64 limit = moments[static_cast<size_t>(i)] - tenMinutes;
        // The stack's entries at or below the limit form its bottom part; the last of them ends the walk.
        const auto firstAbove = std::partition_point(
            minima.begin(), minima.end(), [&](int j) { return moments[static_cast<size_t>(j)] <= limit; });
        const int stop = firstAbove == minima.begin() ? -1 : *(firstAbove - 1);
        counts[static_cast<size_t>(i)] = i - stop;
        while (!minima.empty() &&
               moments[static_cast<size_t>(minima.back())] >= moments[static_cast<size_t>(i)]) {
            minima.pop_back();
        }
        minima.push_back(i);
    }
    return counts;
}

} // namespace

std::optional<std::uint32_t> rateGraphBandColour(const QString& band)
{
    static const std::array<std::uint32_t, bandCount> colours{
        fromRgb(255, 255, 255), // 160
        fromRgb(0, 0, 255),     // 80
        fromRgb(255, 0, 0),     // 40
        fromRgb(0, 255, 0),     // 20
        fromRgb(128, 255, 255), // 15
        fromRgb(255, 0, 255),   // 10
        fromRgb(255, 255, 0),   // 6
    };
    const int index = bandIndex(band);
    if (index == 0) {
        return std::nullopt;
    }
    return colours[static_cast<size_t>(index - 1)];
}

RateGraph computeRateGraph(const std::vector<ContactRecord>& records, std::uint32_t background)
{
    RateGraph graph;
    graph.rawRate.assign(rateGraphArraySize, 0.0);
    graph.rate.assign(rateGraphArraySize, 0.0);
    graph.bandColour.assign(rateGraphArraySize, background);
    if (static_cast<int>(records.size()) < rateGraphMinimumContacts) {
        return graph;
    }

    std::vector<qint64> moments;
    std::vector<const ContactRecord*> placed;
    moments.reserve(records.size());
    placed.reserve(records.size());
    for (const ContactRecord& record : records) {
        if (const auto moment = momentOf(record)) {
            moments.push_back(*moment);
            placed.push_back(&record);
        }
    }
    if (moments.empty()) {
        return graph;
    }
    graph.drawable = true;

    // The axis runs from the earliest to the latest contact: the first and the last of a log kept
    // in time order, and still inside the plot when a later entry carries an earlier time.
    const auto [earliest, latest] = std::minmax_element(moments.begin(), moments.end());
    const qint64 start = *earliest;
    const qint64 span = *latest - start;
    for (int k = 0; k < 15; ++k) {
        const QDateTime at = dateTimeOf(start + std::llround(k * static_cast<double>(span) / 14.0));
        graph.timeLabels[static_cast<size_t>(k)] = formatDateTime(at, QStringLiteral("hh:nn"));
        graph.dateLabels[static_cast<size_t>(k)] = formatDateTime(at, QStringLiteral("mm/dd"));
    }

    graph.counts = tenMinuteCounts(moments);
    graph.columns.assign(moments.size(), 1);
    auto& raw = graph.rawRate;
    auto& rate = graph.rate;
    auto& colour = graph.bandColour;

    if (span == 0) {
        // Every contact in the same second: the rate of that moment across the whole plot.
        const double value = 6.0 * graph.counts.back();
        const auto bar = rateGraphBandColour(placed.back()->band);
        for (int x = 1; x <= rateGraphColumns; ++x) {
            raw[static_cast<size_t>(x)] = value;
            rate[static_cast<size_t>(x)] = value;
            if (bar) {
                colour[static_cast<size_t>(x)] = *bar;
            }
        }
    } else {
        raw[1] = 6;
        rate[1] = 6;
        const double secondsPerColumn = static_cast<double>(span) / rateGraphColumns;
        for (std::size_t i = 0; i < moments.size(); ++i) {
            int column = 1;
            if (i > 0) {
                const double exact = static_cast<double>(moments[i] - start) / secondsPerColumn;
                column = std::clamp(static_cast<int>(std::nearbyint(exact)), 0, rateGraphColumns);
            }
            graph.columns[i] = column;
            raw[static_cast<size_t>(column)] = 6.0 * graph.counts[i];
            if (const auto bar = rateGraphBandColour(placed[i]->band)) {
                colour[static_cast<size_t>(column)] = *bar;
            }
        }

        // Bridge gaps of up to 15 columns with a straight ramp toward the next contact.
        for (int x = 2; x <= rateGraphColumns; ++x) {
            const auto ux = static_cast<size_t>(x);
            if (raw[ux] != 0) {
                rate[ux] = raw[ux];
                continue;
            }
            int next = 0;
            for (int n = x + 1; n <= x + 15; ++n) {
                if (raw[static_cast<size_t>(n)] > 0) {
                    next = n;
                    break;
                }
            }
            if (next == 0) {
                continue;
            }
            const double before = raw[ux - 1];
            const double slope = (raw[static_cast<size_t>(next)] - before) / (next - x);
            for (int m = x; m < next; ++m) {
                const double value = before + (m - x) * slope;
                rate[static_cast<size_t>(m)] = value;
                raw[static_cast<size_t>(m)] = value;
            }
        }

        // Smooth over the seven columns up to each one.
        for (int x = 7; x <= rateGraphColumns; ++x) {
            double sum = 0;
            int positives = 0;
            for (int c = x - 6; c <= x; ++c) {
                const double value = raw[static_cast<size_t>(c)];
                if (value > 0) {
                    sum += value;
                    ++positives;
                }
            }
            if (positives > 0) {
                rate[static_cast<size_t>(x)] = sum / positives;
            }
        }
    }

    // Taken from the columns themselves: a fixed starting bound would cap the range of a huge log.
    graph.minRate = rate[1];
    graph.maxRate = rate[1];
    for (int x = 2; x <= rateGraphColumns; ++x) {
        graph.minRate = std::min(graph.minRate, rate[static_cast<size_t>(x)]);
        graph.maxRate = std::max(graph.maxRate, rate[static_cast<size_t>(x)]);
    }
    graph.flat = graph.minRate == graph.maxRate;

    // The bar keeps the band of the latest contact for as long as the rate stays above zero.
    std::uint32_t carried = background;
    for (int x = 1; x <= rateGraphColumns; ++x) {
        const auto ux = static_cast<size_t>(x);
        if (rate[ux] > 0) {
            if (colour[ux] == background) {
                colour[ux] = carried;
            } else {
                carried = colour[ux];
            }
        } else {
            carried = background;
        }
    }

    for (int k = 0; k <= 16; ++k) {
        const double value = graph.minRate + k * (graph.maxRate - graph.minRate) / 16.0;
        graph.rateLabels[static_cast<size_t>(k)] = formatNumber(value, QStringLiteral("###0.0"));
    }
    return graph;
}

RatePlotScale::RatePlotScale(const RateGraph& graph, double top, double baseline)
    : m_top(top), m_baseline(baseline), m_min(graph.minRate), m_scale(0), m_flat(graph.flat)
{
    if (!m_flat && graph.maxRate > graph.minRate) {
        m_scale = (baseline - top) / (graph.maxRate - graph.minRate) * 0.995;
    } else {
        m_flat = true;
    }
}

double RatePlotScale::y(double value) const
{
    if (m_flat) {
        return (m_top + m_baseline) / 2.0;
    }
    return m_baseline - m_scale * (value - m_min) - 0.0025 * (m_baseline - m_top);
}

} // namespace velk
