// The band map and the spectrum map as a screen reader and a keyboard user meet them, offscreen:
// the spots as list items in frequency order, the arrow keys, Enter and Delete. (Offscreen Qt sends
// no accessibility events; the AT-SPI test hears those.)
#include "spotmaps_fixture.h"
#include "spots/spotlistmodel.h"
#include "spots/ui/spotlistpanel.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace velk {
namespace {

class SpotMapAccessibilityTest : public SpotMapsTest
{
protected:
    static QStringList spotNames(QWidget& view)
    {
        QAccessibleInterface* map = QAccessible::queryAccessibleInterface(&view);
        QStringList names;
        for (int i = 0; i < map->childCount(); ++i) {
            QAccessibleInterface* child = map->child(i);
            if (child->role() == QAccessible::ListItem) {
                names << child->text(QAccessible::Name);
            }
        }
        return names;
    }

    // The spot a screen reader is told has the focus (the AT-SPI test hears the event itself).
    static QString focusedSpot(QWidget& view)
    {
        QAccessibleInterface* focused = QAccessible::queryAccessibleInterface(&view)->focusChild();
        return focused && focused->state().focused ? focused->text(QAccessible::Name) : QString();
    }
};

TEST_F(SpotMapAccessibilityTest, BandMapReadsAsAListOfSpotsInFrequencyOrder)
{
    post("W1AW", 14.030, 200);
    post("DL1ABC", 14.010, 30);
    post("OH2XX", 14.0205, 65);
    auto panel = showPanel();
    QAccessibleInterface* map = QAccessible::queryAccessibleInterface(&panel->view());
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->role(), QAccessible::List);
    EXPECT_EQ(map->text(QAccessible::Name), QStringLiteral("Band map"));
    EXPECT_EQ(spotNames(panel->view()),
              (QStringList{
                  QStringLiteral("DL1ABC, 14.010 megahertz, less than a minute old"),
                  QStringLiteral("OH2XX, 14.0205 megahertz, 1 minute old"),
                  QStringLiteral("W1AW, 14.030 megahertz, 3 minutes old"),
              }));
    // The zoom buttons follow the spots, named.
    EXPECT_EQ(map->childCount(), 5);
    EXPECT_EQ(map->child(3)->text(QAccessible::Name), QStringLiteral("Zoom out"));
    EXPECT_EQ(map->indexOfChild(map->child(1)), 1);
    EXPECT_EQ(map->indexOfChild(map->child(4)), 4);
    EXPECT_EQ(map->child(1)->parent(), map);
    EXPECT_FALSE(map->child(1)->rect().isEmpty());

    // A new spot redraws the map and the list follows.
    post("K1ABC", 14.015);
    panel->refresh();
    EXPECT_EQ(spotNames(panel->view()).at(1),
              QStringLiteral("K1ABC, 14.015 megahertz, less than a minute old"));
}

TEST_F(SpotMapAccessibilityTest, ArrowKeysWalkTheSpotsEnterTunesDeleteWithdraws)
{
    post("W1AW", 14.030);
    post("DL1ABC", 14.010);
    post("OH2XX", 14.020);
    auto panel = showPanel();
    SpotMapView& view = panel->view();
    QSignalSpy tune(panel.get(), &BandMapPanel::tuneRequested);
    QSignalSpy call(panel.get(), &BandMapPanel::callChosen);
    view.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.hasFocus(); }));
    EXPECT_EQ(view.currentSpot(), 0);
    EXPECT_TRUE(focusedSpot(view).startsWith(QStringLiteral("DL1ABC")));

    QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_TRUE(focusedSpot(view).startsWith(QStringLiteral("OH2XX")));
    QTest::keyClick(&view, Qt::Key_End);
    EXPECT_TRUE(focusedSpot(view).startsWith(QStringLiteral("W1AW")));
    QTest::keyClick(&view, Qt::Key_Right); // stays on the last spot
    EXPECT_EQ(view.currentSpot(), 2);
    QTest::keyClick(&view, Qt::Key_Left);
    QAccessibleInterface* map = QAccessible::queryAccessibleInterface(&view);
    EXPECT_TRUE(map->focusChild()->text(QAccessible::Name).startsWith(QStringLiteral("OH2XX")));
    EXPECT_TRUE(map->child(1)->state().focused);
    EXPECT_FALSE(map->child(0)->state().focused);

    QTest::keyClick(&view, Qt::Key_Return);
    ASSERT_EQ(tune.size(), 1);
    EXPECT_DOUBLE_EQ(tune.at(0).at(0).toDouble(), 14.020);
    EXPECT_EQ(call.at(0).at(0).toString(), QStringLiteral("OH2XX"));

    QTest::keyClick(&view, Qt::Key_Delete);
    EXPECT_FALSE(ring.slot(49).isShown()); // OH2XX was the newest spot
    EXPECT_EQ(view.spotCount(), 2);
    // The keyboard stays on the spot that now has the place of the withdrawn one.
    EXPECT_TRUE(focusedSpot(view).startsWith(QStringLiteral("W1AW")));
}

TEST_F(SpotMapAccessibilityTest, PlusAndMinusZoomTheAxisOfTheCurrentSpot)
{
    post("DL1ABC", 14.010);
    post("W1AW", 14.050);
    auto panel = showPanel();
    SpotMapView& view = panel->view();
    view.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.hasFocus(); }));
    QTest::keyClick(&view, Qt::Key_Plus);
    EXPECT_EQ(view.zoomLevel(0), 1);
    QTest::keyClick(&view, Qt::Key_Minus);
    QTest::keyClick(&view, Qt::Key_Minus);
    EXPECT_EQ(view.zoomLevel(0), -1);
}

TEST_F(SpotMapAccessibilityTest, SpectrumMapListsEveryBandsSpotsAndActsOnThem)
{
    post("JA1XX", 21.020);
    post("DL1ABC", 14.010);
    post("W1AW", 7.030);
    SpectrumMapWindow map(ring, clock);
    map.resize(1000, 600);
    map.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&map));
    map.refresh();
    const QStringList names = spotNames(map.view());
    ASSERT_EQ(names.size(), 3);
    EXPECT_TRUE(names.at(0).startsWith(QStringLiteral("W1AW, 7.030")));
    EXPECT_TRUE(names.at(2).startsWith(QStringLiteral("JA1XX, 21.020")));

    // What a screen reader's "activate" does is what Enter does.
    QSignalSpy tune(&map, &SpectrumMapWindow::tuneRequested);
    QAccessibleInterface* item = QAccessible::queryAccessibleInterface(&map.view())->child(1);
    ASSERT_NE(item->actionInterface(), nullptr);
    item->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    ASSERT_EQ(tune.size(), 1);
    EXPECT_DOUBLE_EQ(tune.at(0).at(0).toDouble(), 14.010);
}

TEST(SpokenSpotTest, CallFrequencyAndAge)
{
    const QDateTime now(QDate(2026, 1, 10), QTime(18, 0), Qt::UTC);
    const struct
    {
        double mhz;
        qint64 ageSeconds;
        const char* said;
    } cases[] = {
        {14.010, 0, "DL1ABC, 14.010 megahertz, less than a minute old"},
        {14.0125, 59, "DL1ABC, 14.0125 megahertz, less than a minute old"},
        {7.0005, 60, "DL1ABC, 7.0005 megahertz, 1 minute old"},
        {144.300, 3599, "DL1ABC, 144.300 megahertz, 59 minutes old"},
        {3.5, -30, "DL1ABC, 3.500 megahertz, less than a minute old"}, // a clock running behind
    };
    for (const auto& c : cases) {
        Spot spot{QStringLiteral("DL1ABC"), c.mhz, now.addSecs(-c.ageSeconds), QStringLiteral("DL1")};
        EXPECT_EQ(spokenSpot(spot, now), QString::fromLatin1(c.said));
    }
}

TEST(SpotListAccessibilityTest, CellsCarryTheirColumnNamesAndEnterTunes)
{
    SpotListModel model;
    SpotListEntry entry;
    entry.call = QStringLiteral("DL1ABC");
    entry.frequencyMhz = 14.025;
    model.addSpot(entry);
    SpotListPanel panel(model);
    panel.resize(800, 200);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(panel.table());
    ASSERT_NE(table->tableInterface(), nullptr);
    QAccessibleInterface* cell = table->tableInterface()->cellAt(0, SpotListModel::CallColumn);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name), QStringLiteral("DL1ABC"));
    const QList<QAccessibleInterface*> headers = cell->tableCellInterface()->columnHeaderCells();
    ASSERT_EQ(headers.size(), 1);
    EXPECT_EQ(headers.front()->text(QAccessible::Name), QStringLiteral("Call"));

    QSignalSpy tune(&panel, &SpotListPanel::tuneRequested);
    panel.table()->setFocus();
    panel.table()->setCurrentIndex(model.index(0, 0));
    QTest::keyClick(panel.table(), Qt::Key_Return);
    ASSERT_EQ(tune.size(), 1);
    EXPECT_DOUBLE_EQ(tune.at(0).at(0).toDouble(), 14.025);
    EXPECT_FALSE(panel.table()->tabKeyNavigation());
}

} // namespace
} // namespace velk
