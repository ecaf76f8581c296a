// The band map and the HF spectrum map in the real main window: a right click tunes, fills the
// call box and checks the call; a left click withdraws the spot; the pointer on a label shows it
// in the partial-dupe line; Ctrl+B and the menu open the spectrum map.
#include "log/ui/mainwindow_fixture.h"
#include "log/ui/statusline.h"
#include "spots/spotsettings.h"
#include "spots/ui/bandmappanel.h"
#include "spots/ui/hfmapwindow.h"
#include "spots/ui/spotmapview.h"

#include <QMouseEvent>
#include <QSignalSpy>

namespace velk::testing {

namespace {

QByteArray line(const char* call, const char* band, const char* name = "PAT")
{
    const ContactRecord record{
        QString::fromLatin1(call),    QString::fromLatin1(name),  QStringLiteral("CT"),
        QStringLiteral("2026/01/10"), QStringLiteral("17:00:00"), QString::fromLatin1(band),
        QStringLiteral("NA"),         QStringLiteral("LEE"),      QString()};
    return ContactLog::encodeLine(record);
}

} // namespace

class MainWindowMapsTest : public MainWindowTest
{
protected:
    SpotRing& ring = station.spotRing();

    // A spot source with the band map chosen, as the spot window keeps it.
    void SetUp() override
    {
        MainWindowTest::SetUp();
        SpotSettings spotSettings;
        spotSettings.source = SpotSource::Telnet;
        spotSettings.listMode = false;
        writeFile(session.folders.working + QStringLiteral("/PackSpot.txt"),
                  encodeSpotSettings(spotSettings));
    }

    void post(const char* call, double mhz)
    {
        ring.add(QString::fromLatin1(call), mhz, clock.utcNow());
        form->spots().refreshMaps();
    }
    SpotMapView& bandMapView() const { return form->spots().bandMap().view(); }
    QPoint labelCentre(SpotMapView& view, int slot) const
    {
        const QRect rect = view.labelRect(slot);
        EXPECT_FALSE(rect.isEmpty()) << "no label for slot " << slot;
        return rect.center();
    }
    QString partialDupeLine() const { return child<QLabel>("partialDupeLine")->text(); }
};

TEST_F(MainWindowMapsTest, RightClickTunesFillsTheCallAndRunsTheLeaveStep)
{
    writeFile(session.folders.logFile(), line("N0CALL", "40", "PAT"));
    start();
    ASSERT_TRUE(form->spots().bandMap().isVisible());
    post("N0CALL", 14.025);
    post("W1AW", 7.010); // another band: not on the 20 m map
    ASSERT_EQ(bandMapView().picture().labels.size(), 1u);
    QSignalSpy tune(&form->spots(), &SpotsPlug::tuneRequested);

    QTest::mouseClick(&bandMapView(), Qt::RightButton, Qt::NoModifier, labelCentre(bandMapView(), 48));
    ASSERT_EQ(tune.size(), 1);
    EXPECT_FLOAT_EQ(static_cast<float>(tune.at(0).at(0).toDouble()), 14.025f);
    EXPECT_EQ(box("callBox")->text(), QStringLiteral("N0CALL"));
    // The leave step ran: the name of the earlier contact is offered, and the focus moved on.
    EXPECT_EQ(box("nameBox")->text(), QStringLiteral("PAT"));
    EXPECT_TRUE(hasFocus("nameBox"));
    EXPECT_FALSE(status().startsWith(QStringLiteral("Duplicate")));
    EXPECT_TRUE(ring.slot(48).isShown());
}

TEST_F(MainWindowMapsTest, RightClickOnADupeReportsItAndKeepsTheCallBox)
{
    writeFile(session.folders.logFile(), line("N0CALL", "20"));
    start();
    post("N0CALL", 14.025);
    QSignalSpy tune(&form->spots(), &SpotsPlug::tuneRequested);

    QTest::mouseClick(&bandMapView(), Qt::RightButton, Qt::NoModifier, labelCentre(bandMapView(), 49));
    EXPECT_EQ(tune.size(), 1);
    EXPECT_EQ(status(), QStringLiteral("Duplicate N0CALL 2026/01/10 17:00:00  Rec#  1"));
    EXPECT_TRUE(box("callBox")->text().isEmpty());
    EXPECT_TRUE(hasFocus("callBox"));
}

TEST_F(MainWindowMapsTest, LeftClickWithdrawsTheSpot)
{
    start();
    post("DL1ABC", 14.025);
    post("W1AW", 14.030);
    QSignalSpy tune(&form->spots(), &SpotsPlug::tuneRequested);
    QTest::mouseClick(&bandMapView(), Qt::LeftButton, Qt::NoModifier, labelCentre(bandMapView(), 49));
    EXPECT_FALSE(ring.slot(49).isShown());
    ASSERT_EQ(bandMapView().picture().labels.size(), 1u);
    EXPECT_EQ(bandMapView().picture().labels.front().call, QStringLiteral("DL1ABC"));
    EXPECT_EQ(tune.size(), 0);
    EXPECT_TRUE(box("callBox")->text().isEmpty());

    // A later spot of the same call shows again.
    post("W1AW", 14.031);
    EXPECT_EQ(bandMapView().picture().labels.size(), 2u);
}

TEST_F(MainWindowMapsTest, PointerOnALabelShowsTheSpotInThePartialDupeLine)
{
    start();
    post("DL1ABC", 14.025);
    const QPoint point = labelCentre(bandMapView(), 49);
    QMouseEvent move(QEvent::MouseMove, QPointF(point), bandMapView().mapToGlobal(QPointF(point)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&bandMapView(), &move);
    // The fake clock reads 13:04:31 local time, five hours behind UTC.
    EXPECT_EQ(partialDupeLine(), QStringLiteral("DL1ABC  14.025  18:04:31"));
}

TEST_F(MainWindowMapsTest, ActivationRedrawsTheBandMap)
{
    start();
    ring.add(QStringLiteral("DL1ABC"), 14.025, clock.utcNow()); // no redraw yet
    EXPECT_TRUE(bandMapView().picture().labels.empty());
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(form.get(), &activate);
    EXPECT_EQ(bandMapView().picture().labels.size(), 1u);
}

TEST_F(MainWindowMapsTest, BandChangeRedrawsTheBandMap)
{
    start();
    post("DL1ABC", 14.025);
    post("W1AW", 7.010);
    EXPECT_EQ(bandMapView().picture().labels.front().call, QStringLiteral("DL1ABC"));
    action("band40Action")->trigger();
    ASSERT_EQ(bandMapView().picture().labels.size(), 1u);
    EXPECT_EQ(bandMapView().picture().labels.front().call, QStringLiteral("W1AW"));
}

TEST_F(MainWindowMapsTest, CtrlBOpensTheSpectrumMapWhoseRightClickTunesAndFillsTheCall)
{
    start();
    post("W1AW", 10.120);
    EXPECT_TRUE(action("spectrumMapAction")->isEnabled());
    focusOn("callBox");
    keyAtFocus(Qt::Key_B, Qt::ControlModifier);
    SpectrumMapWindow* map = form->spots().spectrumMap();
    ASSERT_NE(map, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(map));
    EXPECT_TRUE(map->isModal());
    EXPECT_TRUE(box("callBox")->text().isEmpty()); // Ctrl+B types nothing

    // A spot arriving while the map is open shows on it.
    post("DL1ABC", 18.070);
    ASSERT_EQ(map->view().picture().labels.size(), 2u);

    QSignalSpy tune(&form->spots(), &SpotsPlug::tuneRequested);
    QTest::mouseClick(&map->view(), Qt::RightButton, Qt::NoModifier, labelCentre(map->view(), 48));
    ASSERT_EQ(tune.size(), 1);
    EXPECT_FLOAT_EQ(static_cast<float>(tune.at(0).at(0).toDouble()), 10.12f);
    EXPECT_EQ(box("callBox")->text(), QStringLiteral("W1AW"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form->spots().spectrumMap(), nullptr); // closed and gone
    EXPECT_EQ(form->focusWidget(), box("callBox"));
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_EQ(QApplication::focusWidget(), box("callBox"));
}

TEST_F(MainWindowMapsTest, MenuOpensTheSpectrumMapWhoseLeftClickWithdraws)
{
    start();
    post("W1AW", 10.120);
    action("spectrumMapAction")->trigger();
    SpectrumMapWindow* map = form->spots().spectrumMap();
    ASSERT_NE(map, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(map));
    QTest::mouseClick(&map->view(), Qt::LeftButton, Qt::NoModifier, labelCentre(map->view(), 49));
    EXPECT_FALSE(ring.slot(49).isShown());
    EXPECT_TRUE(map->view().picture().labels.empty());
    EXPECT_TRUE(map->isVisible());
    // Opening it again brings the open map forward instead of a second one.
    form->spots().showSpectrumMap();
    EXPECT_EQ(form->spots().spectrumMap(), map);
    map->close();
}

TEST_F(MainWindowMapsTest, DoubleClickOnTheBandMapHeaderOpensTheSpectrumMap)
{
    start();
    auto* header = form->spots().bandMap().findChild<QLabel*>(QStringLiteral("bandMapHeader"));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->text(), QStringLiteral("DX Band Map  20 m"));
    QTest::mouseDClick(header, Qt::LeftButton);
    ASSERT_NE(form->spots().spectrumMap(), nullptr);
    form->spots().spectrumMap()->close();
}

} // namespace velk::testing

namespace velk::testing {

TEST_F(MainWindowMapsTest, ASpotFromTheFeedAppearsOnTheBandMapAndInTheList)
{
    start();
    ASSERT_TRUE(form->spots().bandMap().isVisible());
    station.spots().postSpot(
        QStringLiteral("DX de W3LPL:     14025.0  DL1ABC       CQ CQ                          1804Z"));
    ASSERT_EQ(bandMapView().picture().labels.size(), 1u);
    EXPECT_EQ(ring.slot(SpotRing::newestSlot).call, QStringLiteral("DL1ABC"));
    EXPECT_EQ(station.spots().list().rowCount(), 1);
}

} // namespace velk::testing
