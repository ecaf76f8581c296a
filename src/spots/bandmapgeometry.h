#pragma once
// Band-map geometry: where the spots of the ring go on the band map (one axis, the current band)
// and on the HF spectrum map (eleven axes), which scale each axis shows, which colour a spot's age
// gives its label and which label lies on top. Pure functions of the ring, the band tables, the
// zoom, the width in pixels and the present UTC time; the map windows only paint the result.
#include "common/colours.h"
#include "spots/spotring.h"

#include <QDateTime>
#include <QString>
#include <array>
#include <vector>

namespace velk {

// A band's range in MHz. A spot belongs to it when low < frequency < high (both bounds excluded).
struct BandRange
{
    QString name;
    double lowMhz = 0;
    double highMhz = 0;

    bool holds(double mhz) const { return lowMhz < mhz && mhz < highMhz; }
};

// The band map's range for the contact band ("160" .. "440"); any other band gives 0 to 0, which
// holds no spot.
BandRange bandMapRange(const QString& band);

inline constexpr int spectrumAxisCount = 11;
// The spectrum map's axes, 160 m at the top to 2 m at the bottom.
const std::array<BandRange, spectrumAxisCount>& spectrumAxes();

// Zoom of one axis, in steps. Fitting to the spots is the usual view: the axis runs from 1 kHz
// below the lowest to 1 kHz above the highest spot on it, or over the whole band while fewer than
// two different frequencies are on it. One step out shows the whole band whatever the spots; each
// step in halves the fitted span about its middle, down to a span of 4 kHz.
namespace zoom {
inline constexpr int wholeBand = -1;
inline constexpr int fitSpots = 0;
inline constexpr int closest = 3;
} // namespace zoom
inline constexpr double minimumZoomSpanMhz = 0.004;
int zoomedIn(int level);
int zoomedOut(int level);

// The scale an axis shows: five captions at 0, 25, 50, 75 and 100 % of the axis, to the kHz, and
// the ends as those captions read, so that a label placed by them sits on its tick.
struct AxisScale
{
    std::array<QString, 5> captions;
    double lowMhz = 0;
    double highMhz = 0;

    bool shows(double mhz) const { return lowMhz < mhz && mhz < highMhz; }
};
// Spots of the last hour in slots 1 to 49 decide the fit; the oldest slot never widens it.
AxisScale axisScale(const SpotRing& ring, const BandRange& band, int zoomLevel, const QDateTime& nowUtc);

// The age of a spot in whole seconds picks its label's text colour; from an hour on the label is
// not drawn.
enum class SpotAge { Fresh, Recent, Old, Expired };
SpotAge spotAge(qint64 seconds);
// Light yellow under 10 minutes, white under 30, grey under 60 (on a dark background).
Rgb ageColour(SpotAge age);

// "call  14.025  hh:mm:ss" with the UTC time of receipt: the label's tool tip, and what the
// partial-dupe line shows while the pointer rests on it.
QString spotToolTip(const Spot& spot);
// What a screen reader says of a spot: "DL1ABC, 14.010 megahertz, 3 minutes old".
QString spokenSpot(const Spot& spot, const QDateTime& nowUtc);
QString spokenFrequency(double mhz);

// The horizontal extent of every axis in a map of the given width, in pixels: a margin at the
// left for the band names and one at the right for the zoom buttons.
struct AxisExtent
{
    double x1 = 0;
    double x2 = 0;
};
AxisExtent bandMapExtent(int widgetWidth);
AxisExtent spectrumExtent(int widgetWidth);
// The x of a frequency on a scale, kept on the axis: a spot beyond either end sits at that end.
double axisX(const AxisScale& scale, const AxisExtent& extent, double mhz);
// The left edge of a label of the given width centred on x, kept inside the widget.
int labelLeft(double centreX, int labelWidth, int widgetWidth);

struct SpotLabel
{
    int slot = 0;
    int axis = 0;
    QString call;
    double frequencyMhz = 0;
    QString caption; // the call's prefix
    QString toolTip;
    QString spoken; // spokenSpot() when the picture was drawn
    double centreX = 0;
    bool clamped = false; // the spot lies beyond the shown scale; the label sits at the axis end
    SpotAge age = SpotAge::Fresh;
};

struct MapAxis
{
    BandRange band;
    AxisScale scale;
    int zoomLevel = zoom::fitSpots;
};

// A whole map: its axes and its spot labels in drawing order, the oldest first, so the newest
// spot's label is drawn last and lies on top of any it overlaps.
struct MapPicture
{
    AxisExtent extent;
    std::vector<MapAxis> axes;
    std::vector<SpotLabel> labels;
};

// The band map of the contact band: the spots of the last hour inside the shown scale.
MapPicture bandMapPicture(const SpotRing& ring, const QString& band, int zoomLevel, int widgetWidth,
                          const QDateTime& nowUtc);
// The spectrum map: each spot of the last hour on the axis whose whole band holds it, placed by
// that axis' scale and kept on the axis when the scale does not reach it.
MapPicture spectrumPicture(const SpotRing& ring, const std::array<int, spectrumAxisCount>& zoomLevels,
                           int widgetWidth, const QDateTime& nowUtc);

} // namespace velk
