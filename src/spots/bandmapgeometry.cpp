#include "spots/bandmapgeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velk {

namespace {

// Room at the ends of the axes: the band map's scale captions; the spectrum map's band names on
// the left and its zoom buttons on the right.
constexpr double bandMapLeftMargin = 40;
constexpr double spectrumLeftMargin = 72;
constexpr double rightMargin = 84;
// How far the fitted scale reaches beyond the outermost spots.
constexpr double fitMarginMhz = 0.001;

// To the kHz, a half kHz upward; the small allowance keeps a half that binary fractions store
// just below it (14.0275 is 14.027499...) from rounding down.
QString kiloHertzCaption(double mhz)
{
    return QString::number(std::floor(mhz * 1000 + 0.5 + 1e-6) / 1000, 'f', 3);
}

AxisExtent extentBetween(double left, double right, int widgetWidth)
{
    const double x2 = std::max(left + 1, widgetWidth - right);
    return {left, x2};
}

// A moment the clock gave without a time zone is already UTC by its wall-clock value.
QDateTime asUtc(const QDateTime& moment)
{
    return moment.timeSpec() == Qt::UTC ? moment : QDateTime(moment.date(), moment.time(), Qt::UTC);
}

SpotAge ageOf(const Spot& spot, const QDateTime& nowUtc)
{
    return spotAge(asUtc(spot.receivedUtc).secsTo(asUtc(nowUtc)));
}

bool isExpired(const Spot& spot, const QDateTime& nowUtc)
{
    return ageOf(spot, nowUtc) == SpotAge::Expired;
}

SpotLabel labelFor(const Spot& spot, int slot, int axis, const AxisScale& scale, const AxisExtent& extent,
                   SpotAge age, const QDateTime& nowUtc)
{
    SpotLabel label;
    label.slot = slot;
    label.axis = axis;
    label.call = spot.call;
    label.frequencyMhz = spot.frequencyMhz;
    label.caption = spot.prefix;
    label.toolTip = spotToolTip(spot);
    label.spoken = spokenSpot(spot, nowUtc);
    label.centreX = axisX(scale, extent, spot.frequencyMhz);
    label.clamped = !scale.shows(spot.frequencyMhz);
    label.age = age;
    return label;
}

} // namespace

BandRange bandMapRange(const QString& band)
{
    static const std::array<BandRange, 10> ranges{{
        {QStringLiteral("160"), 1.8, 2},
        {QStringLiteral("80"), 3.5, 4},
        {QStringLiteral("40"), 7, 7.3},
        {QStringLiteral("20"), 14, 14.35},
        {QStringLiteral("15"), 21, 21.45},
        {QStringLiteral("10"), 28, 29.7},
        {QStringLiteral("6"), 50, 54},
        {QStringLiteral("2"), 144, 148},
        {QStringLiteral("1.25"), 219, 225},
        {QStringLiteral("440"), 420, 450},
    }};
    for (const BandRange& range : ranges) {
        if (range.name == band) {
            return range;
        }
    }
    return {band, 0, 0};
}

const std::array<BandRange, spectrumAxisCount>& spectrumAxes()
{
    static const std::array<BandRange, spectrumAxisCount> axes{{
        {QStringLiteral("160 m"), 1.8, 2},
        {QStringLiteral("80 m"), 3.5, 4},
        {QStringLiteral("40 m"), 7, 7.3},
        {QStringLiteral("30 m"), 10.1, 10.15},
        {QStringLiteral("20 m"), 14, 14.35},
        {QStringLiteral("17 m"), 18.068, 18.168},
        {QStringLiteral("15 m"), 21, 21.45},
        {QStringLiteral("12 m"), 24.89, 24.99},
        {QStringLiteral("10 m"), 28, 29.7},
        {QStringLiteral("6 m"), 50, 54},
        {QStringLiteral("2 m"), 144, 148},
    }};
    return axes;
}

int zoomedIn(int level)
{
    return std::min(level + 1, zoom::closest);
}

int zoomedOut(int level)
{
    return std::max(level - 1, zoom::wholeBand);
}

AxisScale axisScale(const SpotRing& ring, const BandRange& band, int zoomLevel, const QDateTime& nowUtc)
{
    double low = band.lowMhz;
    double high = band.highMhz;
    if (zoomLevel >= zoom::fitSpots) {
        // The oldest slot never widens the scale; spots no longer shown do not either.
        double smallest = std::numeric_limits<double>::max();
        double largest = std::numeric_limits<double>::lowest();
        for (int i = 1; i < SpotRing::slotCount; ++i) {
            const Spot& spot = ring.slot(i);
            if (band.holds(spot.frequencyMhz) && !isExpired(spot, nowUtc)) {
                smallest = std::min(smallest, spot.frequencyMhz);
                largest = std::max(largest, spot.frequencyMhz);
            }
        }
        if (largest > smallest) {
            low = smallest - fitMarginMhz;
            high = largest + fitMarginMhz;
        }
        const double span = high - low;
        const double zoomedSpan = std::max(span / std::pow(2.0, std::min(zoomLevel, zoom::closest)),
                                           std::min(span, minimumZoomSpanMhz));
        const double middle = (low + high) / 2;
        low = middle - zoomedSpan / 2;
        high = middle + zoomedSpan / 2;
    }
    AxisScale scale;
    for (int k = 0; k < 5; ++k) {
        scale.captions[static_cast<std::size_t>(k)] = kiloHertzCaption(low + k * 0.25 * (high - low));
    }
    scale.lowMhz = scale.captions.front().toDouble();
    scale.highMhz = scale.captions.back().toDouble();
    return scale;
}

SpotAge spotAge(qint64 seconds)
{
    if (seconds < 600) {
        return SpotAge::Fresh;
    }
    if (seconds < 1800) {
        return SpotAge::Recent;
    }
    if (seconds < 3600) {
        return SpotAge::Old;
    }
    return SpotAge::Expired;
}

Rgb ageColour(SpotAge age)
{
    switch (age) {
    case SpotAge::Fresh:
        return {255, 255, 128};
    case SpotAge::Recent:
        return {255, 255, 255};
    case SpotAge::Old:
    case SpotAge::Expired:
        break;
    }
    return {192, 192, 192};
}

QString spotToolTip(const Spot& spot)
{
    return spot.call + QStringLiteral("  ") + kiloHertzCaption(spot.frequencyMhz) + QStringLiteral("  ") +
           asUtc(spot.receivedUtc).toString(QStringLiteral("hh:mm:ss"));
}

QString spokenFrequency(double mhz)
{
    // To the kHz, and to the hundred hertz when the spot gives them.
    const double tenthsOfKhz = std::round(mhz * 10000);
    const int decimals = std::fmod(tenthsOfKhz, 10.0) == 0 ? 3 : 4;
    return QString::number(mhz, 'f', decimals) + QStringLiteral(" megahertz");
}

QString spokenSpot(const Spot& spot, const QDateTime& nowUtc)
{
    const qint64 minutes = std::max<qint64>(0, asUtc(spot.receivedUtc).secsTo(asUtc(nowUtc))) / 60;
    const QString age = minutes == 0   ? QStringLiteral("less than a minute old")
                        : minutes == 1 ? QStringLiteral("1 minute old")
                                       : QStringLiteral("%1 minutes old").arg(minutes);
    return spot.call + QStringLiteral(", ") + spokenFrequency(spot.frequencyMhz) + QStringLiteral(", ") + age;
}

AxisExtent bandMapExtent(int widgetWidth)
{
    return extentBetween(bandMapLeftMargin, rightMargin, widgetWidth);
}

AxisExtent spectrumExtent(int widgetWidth)
{
    return extentBetween(spectrumLeftMargin, rightMargin, widgetWidth);
}

double axisX(const AxisScale& scale, const AxisExtent& extent, double mhz)
{
    const double span = scale.highMhz - scale.lowMhz;
    if (span <= 0) {
        return extent.x1;
    }
    const double share = std::clamp((mhz - scale.lowMhz) / span, 0.0, 1.0);
    return extent.x1 + share * (extent.x2 - extent.x1);
}

int labelLeft(double centreX, int labelWidth, int widgetWidth)
{
    const int left = static_cast<int>(std::lround(centreX - labelWidth / 2.0));
    return std::clamp(left, 0, std::max(0, widgetWidth - labelWidth));
}

MapPicture bandMapPicture(const SpotRing& ring, const QString& band, int zoomLevel, int widgetWidth,
                          const QDateTime& nowUtc)
{
    MapPicture picture;
    picture.extent = bandMapExtent(widgetWidth);
    const BandRange range = bandMapRange(band);
    const AxisScale scale = axisScale(ring, range, zoomLevel, nowUtc);
    picture.axes.push_back({range, scale, zoomLevel});
    for (int i = SpotRing::newestSlot; i >= 0; --i) {
        const Spot& spot = ring.slot(i);
        if (!spot.isShown() || !scale.shows(spot.frequencyMhz)) {
            continue;
        }
        const SpotAge age = ageOf(spot, nowUtc);
        if (age != SpotAge::Expired) {
            picture.labels.push_back(labelFor(spot, i, 0, scale, picture.extent, age, nowUtc));
        }
    }
    std::reverse(picture.labels.begin(), picture.labels.end());
    return picture;
}

MapPicture spectrumPicture(const SpotRing& ring, const std::array<int, spectrumAxisCount>& zoomLevels,
                           int widgetWidth, const QDateTime& nowUtc)
{
    MapPicture picture;
    picture.extent = spectrumExtent(widgetWidth);
    const auto& axes = spectrumAxes();
    for (std::size_t b = 0; b < axes.size(); ++b) {
        picture.axes.push_back({axes[b], axisScale(ring, axes[b], zoomLevels[b], nowUtc), zoomLevels[b]});
    }
    for (int i = SpotRing::newestSlot; i >= 0; --i) {
        const Spot& spot = ring.slot(i);
        if (!spot.isShown()) {
            continue;
        }
        const SpotAge age = ageOf(spot, nowUtc);
        if (age == SpotAge::Expired) {
            continue;
        }
        for (std::size_t b = 0; b < axes.size(); ++b) {
            if (axes[b].holds(spot.frequencyMhz)) {
                picture.labels.push_back(labelFor(spot, i, static_cast<int>(b), picture.axes[b].scale,
                                                  picture.extent, age, nowUtc));
            }
        }
    }
    std::reverse(picture.labels.begin(), picture.labels.end());
    return picture;
}

} // namespace velk
