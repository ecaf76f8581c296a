// The band map panel and the HF spectrum map window through their real widgets, offscreen: the
// operator's clicks, the pointer resting on a label, zoom buttons, band changes and new spots.
#include "common/qtprinters.h"
#include "spotmaps_fixture.h"

#include <QLabel>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>

namespace velk {
namespace {

TEST_F(SpotMapsTest, RightClickOnABandMapLabelAsksToTuneAndOffersTheCall)
{
    post("DL1ABC", 14.025);
    post("W1AW", 14.030);
    auto panel = showPanel();
    QSignalSpy tune(panel.get(), &BandMapPanel::tuneRequested);
    QSignalSpy call(panel.get(), &BandMapPanel::callChosen);

    QTest::mouseClick(&panel->view(), Qt::RightButton, Qt::NoModifier, centreOf(panel->view(), 48));
    ASSERT_EQ(tune.size(), 1);
    EXPECT_DOUBLE_EQ(tune.at(0).at(0).toDouble(), 14.025);
    ASSERT_EQ(call.size(), 1);
    EXPECT_EQ(call.at(0).at(0).toString(), QStringLiteral("DL1ABC"));
    EXPECT_TRUE(ring.slot(48).isShown()); // a right click keeps the spot
}

TEST_F(SpotMapsTest, LeftClickWithdrawsTheSpotAndRedraws)
{
    post("DL1ABC", 14.025);
    post("W1AW", 14.030);
    auto panel = showPanel();
    QSignalSpy tune(panel.get(), &BandMapPanel::tuneRequested);

    QTest::mouseClick(&panel->view(), Qt::LeftButton, Qt::NoModifier, centreOf(panel->view(), 49));
    EXPECT_FALSE(ring.slot(49).isShown());
    EXPECT_TRUE(panel->view().labelRect(49).isEmpty());
    ASSERT_EQ(panel->view().picture().labels.size(), 1u);
    // With one spot left the axis spans the whole band again.
    EXPECT_EQ(panel->view().picture().axes.front().scale.captions.back(), QStringLiteral("14.350"));
    EXPECT_EQ(tune.size(), 0);

    // The middle button withdraws too; a click beside every label does nothing.
    QTest::mouseClick(&panel->view(), Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    EXPECT_TRUE(ring.slot(48).isShown());
    QTest::mouseClick(&panel->view(), Qt::MiddleButton, Qt::NoModifier, centreOf(panel->view(), 48));
    EXPECT_FALSE(ring.slot(48).isShown());
    EXPECT_TRUE(panel->view().picture().labels.empty());
}

TEST_F(SpotMapsTest, PointerOnALabelReportsTheSpot)
{
    clock.setLocal(QDateTime(QDate(2026, 1, 10), QTime(13, 4, 31)));
    clock.setUtcMinusLocalHours(5);
    post("DL1ABC", 14.025, 90);
    auto panel = showPanel();
    QSignalSpy hovered(panel.get(), &BandMapPanel::spotHovered);

    hover(panel->view(), centreOf(panel->view(), 49));
    ASSERT_EQ(hovered.size(), 1);
    EXPECT_EQ(hovered.at(0).at(0).toString(), QStringLiteral("DL1ABC  14.025  18:03:01"));
    hover(panel->view(), centreOf(panel->view(), 49) + QPoint(1, 0)); // still the same label
    EXPECT_EQ(hovered.size(), 1);
    hover(panel->view(), QPoint(2, 2));
    hover(panel->view(), centreOf(panel->view(), 49));
    EXPECT_EQ(hovered.size(), 2);
}

TEST_F(SpotMapsTest, NewestLabelLiesOnTopWhereLabelsOverlap)
{
    post("DL1ABC", 14.0251);
    post("DL1ABD", 14.0252);
    post("W1AW", 14.100);
    auto panel = showPanel();
    const SpotMapView& view = panel->view();
    ASSERT_TRUE(view.labelRect(47).intersects(view.labelRect(48)));
    QSignalSpy call(panel.get(), &BandMapPanel::callChosen);
    const QRect both = view.labelRect(47).intersected(view.labelRect(48));
    QTest::mouseClick(&panel->view(), Qt::RightButton, Qt::NoModifier, both.center());
    ASSERT_EQ(call.size(), 1);
    EXPECT_EQ(call.at(0).at(0).toString(), QStringLiteral("DL1ABD"));
}

TEST_F(SpotMapsTest, ZoomButtonsStepBetweenTheWholeBandAndTheClosestView)
{
    post("DL1ABC", 14.010);
    post("W1AW", 14.050);
    auto panel = showPanel();
    SpotMapView& view = panel->view();
    QToolButton* out = button(*panel, "zoomOutButton");
    QToolButton* in = button(*panel, "zoomInButton");
    ASSERT_TRUE(out && in);
    EXPECT_EQ(view.picture().axes.front().scale.captions.front(), QStringLiteral("14.009"));

    out->click();
    EXPECT_EQ(view.zoomLevel(0), zoom::wholeBand);
    EXPECT_EQ(view.picture().axes.front().scale.captions.front(), QStringLiteral("14.000"));
    EXPECT_FALSE(out->isEnabled());
    for (int i = 0; i < 5; ++i) {
        in->click();
    }
    EXPECT_EQ(view.zoomLevel(0), zoom::closest);
    EXPECT_FALSE(in->isEnabled());
    EXPECT_TRUE(out->isEnabled());
    in->click(); // disabled: nothing changes
    EXPECT_EQ(view.zoomLevel(0), zoom::closest);
}

TEST_F(SpotMapsTest, BandChangeShowsTheSpotsOfTheNewBand)
{
    post("DL1ABC", 14.025);
    post("W1AW", 7.010);
    auto panel = showPanel();
    ASSERT_EQ(panel->view().picture().labels.size(), 1u);
    EXPECT_EQ(panel->view().picture().labels.front().call, QStringLiteral("DL1ABC"));
    panel->setBand(QStringLiteral("40"));
    ASSERT_EQ(panel->view().picture().labels.size(), 1u);
    EXPECT_EQ(panel->view().picture().labels.front().call, QStringLiteral("W1AW"));
    EXPECT_EQ(panel->findChild<QLabel*>(QStringLiteral("bandMapHeader"))->text(),
              QStringLiteral("DX Band Map  40 m"));
}

TEST_F(SpotMapsTest, ColoursAgeOnlyWhenTheMapIsRedrawn)
{
    post("DL1ABC", 14.025);
    auto panel = showPanel();
    EXPECT_EQ(panel->view().picture().labels.front().age, SpotAge::Fresh);
    clock.advanceMs(600'000);
    EXPECT_EQ(panel->view().picture().labels.front().age, SpotAge::Fresh);
    panel->refresh();
    EXPECT_EQ(panel->view().picture().labels.front().age, SpotAge::Recent);
    clock.advanceMs(3'000'000);
    panel->refresh();
    EXPECT_TRUE(panel->view().picture().labels.empty());
}

TEST_F(SpotMapsTest, IdleTickRedrawsSoColoursAgeWithoutNewSpots)
{
    post("DL1ABC", 14.025);
    auto panel = showPanel();
    auto* idle = panel->findChild<QTimer*>(QStringLiteral("bandMapIdleTimer"));
    ASSERT_NE(idle, nullptr);
    EXPECT_TRUE(idle->isActive());
    EXPECT_EQ(idle->interval(), BandMapPanel::idleRedrawMs);
    clock.advanceMs(1'800'000);
    ASSERT_TRUE(QMetaObject::invokeMethod(idle, "timeout"));
    EXPECT_EQ(panel->view().picture().labels.front().age, SpotAge::Old);
    EXPECT_TRUE(idle->isActive()); // and again two minutes on
}

TEST_F(SpotMapsTest, AClickActsOnTheSpotDrawnEvenAfterTheRingMoved)
{
    post("DL1ABC", 14.025);
    post("W1AW", 14.030);
    auto panel = showPanel();
    const QPoint onW1aw = centreOf(panel->view(), 49);
    post("K1ABC", 7.010); // arrives without a redraw: W1AW is now in slot 48
    QTest::mouseClick(&panel->view(), Qt::LeftButton, Qt::NoModifier, onW1aw);
    EXPECT_FALSE(ring.slot(48).isShown());
    EXPECT_TRUE(ring.slot(49).isShown());
    EXPECT_TRUE(ring.slot(47).isShown());
}

TEST_F(SpotMapsTest, HiddenBandMapDrawsWhenItShows)
{
    auto panel = showPanel();
    panel->hide();
    post("DL1ABC", 14.025);
    panel->refresh();
    EXPECT_TRUE(panel->view().picture().labels.empty());
    panel->show();
    EXPECT_EQ(panel->view().picture().labels.size(), 1u);
}

TEST_F(SpotMapsTest, SpectrumMapRightClickTunesOffersTheCallAndCloses)
{
    post("DL1ABC", 18.070);
    post("W1AW", 10.120);
    SpectrumMapWindow window(ring, clock);
    window.resize(1200, 760);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.windowTitle(), QStringLiteral(" HF Spectrum Map"));
    SpotMapView& view = window.view();
    ASSERT_EQ(view.picture().labels.size(), 2u);
    // Each spot on its own axis: 30 m is the fourth, 17 m the sixth.
    EXPECT_LT(view.labelRect(49).top(), view.labelRect(48).top());

    QSignalSpy tune(&window, &SpectrumMapWindow::tuneRequested);
    QSignalSpy call(&window, &SpectrumMapWindow::callChosen);
    QTest::mouseClick(&view, Qt::RightButton, Qt::NoModifier, centreOf(view, 48));
    ASSERT_EQ(tune.size(), 1);
    EXPECT_DOUBLE_EQ(tune.at(0).at(0).toDouble(), 18.070);
    ASSERT_EQ(call.size(), 1);
    EXPECT_EQ(call.at(0).at(0).toString(), QStringLiteral("DL1ABC"));
    EXPECT_FALSE(window.isVisible());
}

TEST_F(SpotMapsTest, SpectrumMapLeftClickWithdrawsAndNewSpotsArriveWhileOpen)
{
    post("DL1ABC", 18.070);
    SpectrumMapWindow window(ring, clock);
    window.resize(1200, 760);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    SpotMapView& view = window.view();
    QSignalSpy withdrawn(&window, &SpectrumMapWindow::spotWithdrawn);

    post("W1AW", 144.300);
    window.refresh();
    ASSERT_EQ(view.picture().labels.size(), 2u);
    EXPECT_EQ(view.picture().labels.back().axis, 10);

    QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, centreOf(view, 48));
    EXPECT_FALSE(ring.slot(48).isShown());
    EXPECT_EQ(view.picture().labels.size(), 1u);
    EXPECT_EQ(withdrawn.size(), 1);
    EXPECT_TRUE(window.isVisible());

    // Zoom is per axis: the 2 m axis zooms out alone.
    button(window, "zoomOutButton10")->click();
    EXPECT_EQ(view.zoomLevel(10), zoom::wholeBand);
    EXPECT_EQ(view.zoomLevel(4), zoom::fitSpots);
}

TEST_F(SpotMapsTest, SpectrumMapShowsElevenAxesWithTheirZoomButtons)
{
    SpectrumMapWindow window(ring, clock);
    window.resize(1200, 760);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.view().picture().axes.size(), 11u);
    for (int axis = 0; axis < 11; ++axis) {
        QToolButton* in = button(window, QStringLiteral("zoomInButton%1").arg(axis).toLatin1().constData());
        ASSERT_NE(in, nullptr) << axis;
        EXPECT_TRUE(in->isVisible());
        EXPECT_TRUE(window.rect().contains(in->geometry())) << axis;
    }
    EXPECT_EQ(button(window, "zoomInButton3")->accessibleName(), QStringLiteral("Zoom in 30 m"));
}

} // namespace
} // namespace velk
