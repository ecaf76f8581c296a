#include "spots/bandmapgeometry.h"

#include "common/qtprinters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace velk {
namespace {

const QDateTime now = QDateTime(QDate(2026, 11, 28), QTime(12, 0), Qt::UTC);
constexpr int width = 1000;

struct Posted
{
    const char* call;
    double mhz;
    qint64 ageSeconds = 0;
};

// A ring holding the spots in arrival order, the last one newest, each received ageSeconds ago.
SpotRing ringOf(const std::vector<Posted>& spots)
{
    SpotRing ring;
    for (const Posted& spot : spots) {
        ring.add(QString::fromLatin1(spot.call), spot.mhz, now.addSecs(-spot.ageSeconds));
    }
    return ring;
}

// A full ring with `oldest` in slot 0 and `newest` in the last slots; the slots between hold
// spots outside every band.
SpotRing ringWithOldest(const Posted& oldest, const std::vector<Posted>& newest)
{
    SpotRing ring = ringOf({oldest});
    for (int i = 0; i < SpotRing::newestSlot - static_cast<int>(newest.size()); ++i) {
        ring.add(QStringLiteral("FILL%1").arg(i), 500.0, now);
    }
    for (const Posted& spot : newest) {
        ring.add(QString::fromLatin1(spot.call), spot.mhz, now.addSecs(-spot.ageSeconds));
    }
    return ring;
}

std::vector<int> slotsOf(const MapPicture& picture)
{
    std::vector<int> drawn;
    for (const SpotLabel& label : picture.labels) {
        drawn.push_back(label.slot);
    }
    return drawn;
}

const SpotLabel* labelOf(const MapPicture& picture, int slot)
{
    const auto it = std::find_if(picture.labels.begin(), picture.labels.end(),
                                 [slot](const SpotLabel& label) { return label.slot == slot; });
    return it == picture.labels.end() ? nullptr : &*it;
}

double share(const MapPicture& picture, const SpotLabel& label)
{
    return (label.centreX - picture.extent.x1) / (picture.extent.x2 - picture.extent.x1);
}

TEST(BandMapGeometry, ScaleFollowsTheSpotsOnTheBand)
{
    struct Case
    {
        const char* name;
        const char* band;
        std::vector<Posted> spots;
        int zoomLevel;
        std::array<const char*, 5> captions;
    };
    const Case cases[] = {
        {"no spot: the whole band",
         "20",
         {},
         zoom::fitSpots,
         {"14.000", "14.088", "14.175", "14.263", "14.350"}},
        {"one spot: the whole band",
         "20",
         {{"DL1ABC", 14.025}},
         zoom::fitSpots,
         {"14.000", "14.088", "14.175", "14.263", "14.350"}},
        {"two spots: 1 kHz beyond each",
         "20",
         {{"DL1ABC", 14.025}, {"W1AW", 14.030}},
         zoom::fitSpots,
         {"14.024", "14.026", "14.028", "14.029", "14.031"}},
        {"two spots on one frequency: the whole band",
         "40",
         {{"DL1ABC", 7.010}, {"W1AW", 7.010}},
         zoom::fitSpots,
         {"7.000", "7.075", "7.150", "7.225", "7.300"}},
        {"spots of other bands do not count",
         "20",
         {{"DL1ABC", 14.025}, {"W1AW", 7.030}},
         zoom::fitSpots,
         {"14.000", "14.088", "14.175", "14.263", "14.350"}},
        {"a spot on a band edge does not count",
         "20",
         {{"DL1ABC", 14.025}, {"W1AW", 14.350}},
         zoom::fitSpots,
         {"14.000", "14.088", "14.175", "14.263", "14.350"}},
        {"an hour-old spot does not widen the scale",
         "20",
         {{"DL1ABC", 14.200, 3600}, {"W1AW", 14.025}, {"K1ABC", 14.030}},
         zoom::fitSpots,
         {"14.024", "14.026", "14.028", "14.029", "14.031"}},
        {"zoomed out: the whole band whatever the spots",
         "20",
         {{"DL1ABC", 14.025}, {"W1AW", 14.030}},
         zoom::wholeBand,
         {"14.000", "14.088", "14.175", "14.263", "14.350"}},
        {"one step in halves the fitted span",
         "20",
         {{"DL1ABC", 14.010}, {"W1AW", 14.050}},
         1,
         {"14.020", "14.025", "14.030", "14.035", "14.041"}},
        {"two steps in",
         "20",
         {{"DL1ABC", 14.010}, {"W1AW", 14.050}},
         2,
         {"14.025", "14.027", "14.030", "14.033", "14.035"}},
        {"steps in stop at 4 kHz",
         "20",
         {{"DL1ABC", 14.020}, {"W1AW", 14.030}},
         zoom::closest,
         {"14.023", "14.024", "14.025", "14.026", "14.027"}},
        {"steps in from the whole band", "160", {}, 1, {"1.850", "1.875", "1.900", "1.925", "1.950"}},
        {"an unknown band holds nothing",
         "30",
         {{"DL1ABC", 10.120}},
         zoom::fitSpots,
         {"0.000", "0.000", "0.000", "0.000", "0.000"}},
        {"70 cm", "440", {}, zoom::fitSpots, {"420.000", "427.500", "435.000", "442.500", "450.000"}},
    };
    for (const Case& c : cases) {
        const SpotRing ring = ringOf(c.spots);
        const AxisScale scale = axisScale(ring, bandMapRange(QString::fromLatin1(c.band)), c.zoomLevel, now);
        for (std::size_t k = 0; k < 5; ++k) {
            EXPECT_EQ(scale.captions[k], QString::fromLatin1(c.captions[k])) << c.name << ", caption " << k;
        }
        EXPECT_DOUBLE_EQ(scale.lowMhz, QByteArray(c.captions[0]).toDouble()) << c.name;
        EXPECT_DOUBLE_EQ(scale.highMhz, QByteArray(c.captions[4]).toDouble()) << c.name;
    }
}

TEST(BandMapGeometry, ZoomStepsStopAtTheWholeBandAndAtTheClosest)
{
    EXPECT_EQ(zoomedOut(zoom::fitSpots), zoom::wholeBand);
    EXPECT_EQ(zoomedOut(zoom::wholeBand), zoom::wholeBand);
    EXPECT_EQ(zoomedIn(zoom::wholeBand), zoom::fitSpots);
    EXPECT_EQ(zoomedIn(zoom::fitSpots), 1);
    EXPECT_EQ(zoomedIn(zoom::closest), zoom::closest);
    EXPECT_EQ(zoomedOut(zoom::closest), zoom::closest - 1);
}

TEST(BandMapGeometry, LabelsSitAtTheirFrequencyOnTheScale)
{
    struct Case
    {
        const char* name;
        std::vector<Posted> spots;
        int zoomLevel;
        double probeMhz;
        double expectedShare;
    };
    const Case cases[] = {
        {"one spot: 25/350 along the whole band", {{"DL1ABC", 14.025}}, zoom::fitSpots, 14.025, 25.0 / 350},
        {"lowest of two near the left end",
         {{"DL1ABC", 14.010}, {"W1AW", 14.050}},
         zoom::fitSpots,
         14.010,
         1.0 / 42},
        {"highest of two near the right end",
         {{"DL1ABC", 14.010}, {"W1AW", 14.050}},
         zoom::fitSpots,
         14.050,
         41.0 / 42},
        {"a spot in the middle",
         {{"DL1ABC", 14.010}, {"K1ABC", 14.030}, {"W1AW", 14.050}},
         zoom::fitSpots,
         14.030,
         0.5},
        {"just inside the lower band edge", {{"DL1ABC", 14.0001}}, zoom::wholeBand, 14.0001, 0.0001 / 0.35},
        {"just inside the upper band edge",
         {{"DL1ABC", 14.3499}},
         zoom::wholeBand,
         14.3499,
         1 - 0.0001 / 0.35},
    };
    for (const Case& c : cases) {
        const SpotRing ring = ringOf(c.spots);
        const MapPicture picture = bandMapPicture(ring, QStringLiteral("20"), c.zoomLevel, width, now);
        const auto it =
            std::find_if(picture.labels.begin(), picture.labels.end(), [&](const SpotLabel& label) {
                return ring.slot(label.slot).frequencyMhz == c.probeMhz;
            });
        ASSERT_NE(it, picture.labels.end()) << c.name;
        EXPECT_NEAR(share(picture, *it), c.expectedShare, 1e-9) << c.name;
        EXPECT_FALSE(it->clamped) << c.name;
    }
}

TEST(BandMapGeometry, BandBoundsAreExclusive)
{
    const SpotRing ring = ringOf({{"K1LOW", 14.000}, {"K1IN", 14.100}, {"K1HIGH", 14.350}, {"K1OUT", 7.010}});
    const MapPicture picture = bandMapPicture(ring, QStringLiteral("20"), zoom::wholeBand, width, now);
    ASSERT_EQ(picture.labels.size(), 1u);
    EXPECT_EQ(ring.slot(picture.labels.front().slot).call, QStringLiteral("K1IN"));

    // The spot of another band stays in the ring and shows once that band is current.
    const MapPicture forty = bandMapPicture(ring, QStringLiteral("40"), zoom::fitSpots, width, now);
    ASSERT_EQ(forty.labels.size(), 1u);
    EXPECT_EQ(forty.labels.front().caption, QStringLiteral("K1"));
}

TEST(BandMapGeometry, AgeColoursChangeAtTenThirtyAndSixtyMinutes)
{
    struct Case
    {
        qint64 seconds;
        SpotAge age;
        Rgb colour;
    };
    const Rgb lightYellow{255, 255, 128};
    const Rgb white{255, 255, 255};
    const Rgb grey{192, 192, 192};
    const Case cases[] = {
        {-30, SpotAge::Fresh, lightYellow}, {0, SpotAge::Fresh, lightYellow},
        {599, SpotAge::Fresh, lightYellow}, {600, SpotAge::Recent, white},
        {1799, SpotAge::Recent, white},     {1800, SpotAge::Old, grey},
        {3599, SpotAge::Old, grey},         {3600, SpotAge::Expired, grey},
        {86400, SpotAge::Expired, grey},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(spotAge(c.seconds), c.age) << c.seconds;
        if (c.age != SpotAge::Expired) {
            EXPECT_EQ(ageColour(c.age), c.colour) << c.seconds;
            // The same boundaries hold on the map itself.
            const SpotRing ring = ringOf({{"DL1ABC", 14.025, c.seconds}});
            const MapPicture picture = bandMapPicture(ring, QStringLiteral("20"), zoom::fitSpots, width, now);
            ASSERT_EQ(picture.labels.size(), 1u) << c.seconds;
            EXPECT_EQ(picture.labels.front().age, c.age) << c.seconds;
        }
    }
}

TEST(BandMapGeometry, SpotsOfAnHourAndOlderAreNotDrawn)
{
    const SpotRing ring = ringOf({{"K1OLD", 14.020, 7200},
                                  {"K1HOUR", 14.025, 3600},
                                  {"K1LAST", 14.030, 3599},
                                  {"K1NEW", 14.035, 0},
                                  {"K1FAR", 7.010, 4000}});
    for (const MapPicture& picture : {bandMapPicture(ring, QStringLiteral("20"), zoom::fitSpots, width, now),
                                      spectrumPicture(ring, {}, width, now)}) {
        std::vector<QString> calls;
        for (const SpotLabel& label : picture.labels) {
            calls.push_back(ring.slot(label.slot).call);
        }
        EXPECT_EQ(calls, (std::vector<QString>{QStringLiteral("K1LAST"), QStringLiteral("K1NEW")}));
    }
}

TEST(BandMapGeometry, LabelsCarryThePrefixAndTheSpotInTheirToolTip)
{
    const SpotRing ring = ringOf({{"W1AW/4", 14.0255, 75}});
    const MapPicture picture = bandMapPicture(ring, QStringLiteral("20"), zoom::fitSpots, width, now);
    ASSERT_EQ(picture.labels.size(), 1u);
    EXPECT_EQ(picture.labels.front().caption, QStringLiteral("W4"));
    EXPECT_EQ(picture.labels.front().toolTip, QStringLiteral("W1AW/4  14.026  11:58:45"));
    EXPECT_EQ(picture.labels.front().slot, SpotRing::newestSlot);

    // A receipt time without a time zone is UTC by its wall-clock value, whatever the zone here.
    SpotRing naive;
    naive.add(QStringLiteral("DL1ABC"), 14.025, QDateTime(QDate(2026, 11, 28), QTime(11, 50)));
    const MapPicture naivePicture = bandMapPicture(naive, QStringLiteral("20"), zoom::fitSpots, width, now);
    ASSERT_EQ(naivePicture.labels.size(), 1u);
    EXPECT_EQ(naivePicture.labels.front().toolTip, QStringLiteral("DL1ABC  14.025  11:50:00"));
    EXPECT_EQ(naivePicture.labels.front().age, SpotAge::Recent);
}

TEST(BandMapGeometry, NewestLabelIsDrawnLast)
{
    SpotRing ring = ringOf({{"K1A", 14.020}, {"K1B", 14.021}, {"K1C", 7.010}, {"K1D", 14.021}});
    const MapPicture picture = bandMapPicture(ring, QStringLiteral("20"), zoom::fitSpots, width, now);
    EXPECT_EQ(slotsOf(picture), (std::vector<int>{46, 47, 49}));

    // A withdrawn spot leaves the map; a later spot of the same call shows again.
    ring.withdraw(47);
    EXPECT_EQ(slotsOf(bandMapPicture(ring, QStringLiteral("20"), zoom::fitSpots, width, now)),
              (std::vector<int>{46, 49}));
    ring.add(QStringLiteral("K1B"), 14.022, now);
    EXPECT_EQ(slotsOf(bandMapPicture(ring, QStringLiteral("20"), zoom::fitSpots, width, now)),
              (std::vector<int>{45, 48, 49}));
}

TEST(BandMapGeometry, OldestSlotIsDrawnButNeverWidensTheBandMap)
{
    // Inside the scale the other spots give: drawn.
    const SpotRing inside = ringWithOldest({"K1ZERO", 14.027}, {{"K1A", 14.025}, {"K1B", 14.030}});
    const MapPicture drawn = bandMapPicture(inside, QStringLiteral("20"), zoom::fitSpots, width, now);
    EXPECT_EQ(drawn.axes.front().scale.captions.front(), QStringLiteral("14.024"));
    ASSERT_NE(labelOf(drawn, 0), nullptr);

    // Beyond it: the band map leaves it out.
    const SpotRing beyond = ringWithOldest({"K1ZERO", 14.200}, {{"K1A", 14.025}, {"K1B", 14.030}});
    const MapPicture left = bandMapPicture(beyond, QStringLiteral("20"), zoom::fitSpots, width, now);
    EXPECT_EQ(left.axes.front().scale.captions.back(), QStringLiteral("14.031"));
    EXPECT_EQ(labelOf(left, 0), nullptr);
}

TEST(SpectrumMapGeometry, ElevenAxesWithFiveScaleCaptionsEach)
{
    const SpotRing ring = ringOf({{"DL1ABC", 18.070}, {"W1AW", 18.100}});
    const MapPicture picture = spectrumPicture(ring, {}, width, now);
    ASSERT_EQ(picture.axes.size(), 11u);
    int captions = 0;
    for (const MapAxis& axis : picture.axes) {
        captions +=
            static_cast<int>(std::count_if(axis.scale.captions.begin(), axis.scale.captions.end(),
                                           [](const QString& caption) { return !caption.isEmpty(); }));
    }
    EXPECT_EQ(captions, 55);
    // Only the 17 m axis narrows to its spots.
    for (std::size_t b = 0; b < picture.axes.size(); ++b) {
        const MapAxis& axis = picture.axes[b];
        if (b == 5) {
            EXPECT_EQ(axis.scale.captions.front(), QStringLiteral("18.069"));
            EXPECT_EQ(axis.scale.captions.back(), QStringLiteral("18.101"));
        } else {
            EXPECT_DOUBLE_EQ(axis.scale.lowMhz, axis.band.lowMhz) << b;
            EXPECT_DOUBLE_EQ(axis.scale.highMhz, axis.band.highMhz) << b;
        }
    }
    EXPECT_EQ(picture.axes[3].scale.captions[2], QStringLiteral("10.125"));
    EXPECT_EQ(picture.axes[10].band.name, QStringLiteral("2 m"));
}

TEST(SpectrumMapGeometry, SpotsGoOnTheAxisWhoseBandHoldsThem)
{
    struct Case
    {
        double mhz;
        int axis; // -1: on none
    };
    const Case cases[] = {
        {1.85, 0},   {3.999, 1}, {7.15, 2},    {10.120, 3}, {10.15, -1}, {10.1, -1},  {14.2, 4},
        {18.1, 5},   {21.3, 6},  {24.9, 7},    {28.5, 8},   {50.1, 9},   {144.3, 10}, {222.1, -1},
        {432.1, -1}, {5.3, -1},  {18.068, -1}, {24.99, -1}, {148.0, -1},
    };
    for (const Case& c : cases) {
        const SpotRing ring = ringOf({{"DL1ABC", c.mhz}});
        const MapPicture picture = spectrumPicture(ring, {}, width, now);
        if (c.axis < 0) {
            EXPECT_TRUE(picture.labels.empty()) << c.mhz;
        } else {
            ASSERT_EQ(picture.labels.size(), 1u) << c.mhz;
            EXPECT_EQ(picture.labels.front().axis, c.axis) << c.mhz;
        }
    }
}

TEST(SpectrumMapGeometry, ZoomIsPerAxis)
{
    const SpotRing ring = ringOf({{"K1A", 14.010}, {"K1B", 14.050}, {"K1C", 7.010}, {"K1D", 7.020}});
    std::array<int, spectrumAxisCount> levels{};
    levels[2] = zoom::wholeBand;
    levels[4] = 1;
    const MapPicture picture = spectrumPicture(ring, levels, width, now);
    EXPECT_EQ(picture.axes[2].scale.captions.front(), QStringLiteral("7.000"));
    EXPECT_EQ(picture.axes[2].zoomLevel, zoom::wholeBand);
    EXPECT_EQ(picture.axes[4].scale.captions.front(), QStringLiteral("14.020"));
    EXPECT_EQ(picture.axes[4].scale.captions.back(), QStringLiteral("14.041"));
    // Zoomed in past its spots, an axis keeps them at its ends.
    for (const SpotLabel& label : picture.labels) {
        if (label.axis == 4) {
            EXPECT_TRUE(label.clamped);
            EXPECT_DOUBLE_EQ(label.centreX, ring.slot(label.slot).frequencyMhz < 14.03 ? picture.extent.x1
                                                                                       : picture.extent.x2);
        }
    }
}

TEST(SpectrumMapGeometry, OldestSlotBeyondTheScaleSitsAtTheEndOfItsAxis)
{
    const SpotRing ring = ringWithOldest({"K1LOW", 18.069}, {{"K1A", 18.080}, {"K1B", 18.090}});
    const SpotRing high = ringWithOldest({"K1HIGH", 18.150}, {{"K1A", 18.080}, {"K1B", 18.090}});

    const MapPicture low = spectrumPicture(ring, {}, width, now);
    const SpotLabel* left = labelOf(low, 0);
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(left->axis, 5);
    EXPECT_TRUE(left->clamped);
    EXPECT_DOUBLE_EQ(left->centreX, low.extent.x1);

    const MapPicture upper = spectrumPicture(high, {}, width, now);
    const SpotLabel* right = labelOf(upper, 0);
    ASSERT_NE(right, nullptr);
    EXPECT_TRUE(right->clamped);
    EXPECT_DOUBLE_EQ(right->centreX, upper.extent.x2);
    EXPECT_EQ(upper.axes[5].scale.captions.back(), QStringLiteral("18.091"));
}

TEST(SpectrumMapGeometry, LabelsStayInsideTheWindow)
{
    struct Case
    {
        double centre;
        int labelWidth;
        int widgetWidth;
        int left;
    };
    const Case cases[] = {
        {500, 40, 1000, 480}, {0, 40, 1000, 0}, {10, 40, 1000, 0}, {995, 40, 1000, 960}, {20, 40, 30, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(labelLeft(c.centre, c.labelWidth, c.widgetWidth), c.left) << c.centre;
    }
    const AxisExtent narrow = spectrumExtent(100);
    EXPECT_GT(narrow.x2, narrow.x1);
    EXPECT_LT(bandMapExtent(width).x1, bandMapExtent(width).x2);
    EXPECT_LE(bandMapExtent(width).x2, width - 60); // room for the zoom buttons
}

} // namespace
} // namespace velk
