#pragma once
// RateGraph: the series the activity graph plots. For each contact the number of contacts in the
// ten minutes up to it times six (an hourly rate), spread over 1500 columns from the first to the
// last contact, gaps bridged and smoothed, with the band of the latest contact per column and the
// labels of both axes. Reads log records only; the RateGraphWindow window paints the result.
#include "common/contactrecord.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace velk {

// Columns 1..1500 are plotted; the arrays run 0..1600.
inline constexpr int rateGraphColumns = 1500;
inline constexpr int rateGraphArraySize = 1601;
// Fewer contacts than this draw nothing.
inline constexpr int rateGraphMinimumContacts = 7;

// &HBBGGRR colour of a band's part of the bar; nothing for a text that is not one of the seven.
std::optional<std::uint32_t> rateGraphBandColour(const QString& band);

struct RateGraph
{
    // False when the log holds too few contacts to draw (the window says so instead).
    bool drawable = false;
    // All contacts in one second, or every column at the same rate: no height to scale by, so
    // the curve is a level line in the middle of the plot.
    bool flat = false;
    std::array<QString, 15> timeLabels; // "hh:mm" under the time axis
    std::array<QString, 15> dateLabels; // "MM/DD"
    std::array<QString, 17> rateLabels; // "###0.0" up the rate axis, lowest first
    std::vector<double> rawRate;        // index = column, 0..1600
    std::vector<double> rate;
    std::vector<std::uint32_t> bandColour;
    double minRate = 0; // lowest and highest plotted value
    double maxRate = 0;
    // For each contact that could be placed (in log order): its ten-minute count and column.
    std::vector<int> counts;
    std::vector<int> columns;
};

// Computes the whole graph. Contacts whose date or time cannot be read are left out; a contact
// timed before the first or after the last one is drawn at the nearer end.
RateGraph computeRateGraph(const std::vector<ContactRecord>& records, std::uint32_t background);

// Maps rates to heights in a plot whose baseline (rate minRate) is at `baseline` and whose top is
// at `top` (smaller y is higher); a flat graph is drawn half way up.
class RatePlotScale
{
public:
    RatePlotScale(const RateGraph& graph, double top, double baseline);
    double y(double value) const;

private:
    double m_top;
    double m_baseline;
    double m_min;
    double m_scale;
    bool m_flat;
};

} // namespace velk
