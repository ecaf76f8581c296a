#pragma once
// The band map panel and the HF spectrum map window offscreen, over a spot ring and a fake clock:
// the fixture of the maps' window and accessibility tests.
#include "common/platform/fake/fakeplatform.h"
#include "spots/ui/bandmappanel.h"
#include "spots/ui/hfmapwindow.h"
#include "spots/ui/spotmapview.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>

namespace velk {

class SpotMapsTest : public ::testing::Test
{
protected:
    FakeClock clock;
    SpotRing ring;

    void post(const char* call, double mhz, qint64 ageSeconds = 0)
    {
        ring.add(QString::fromLatin1(call), mhz, clock.utcNow().addSecs(-ageSeconds));
    }

    std::unique_ptr<BandMapPanel> showPanel(const QString& band = QStringLiteral("20"))
    {
        auto panel = std::make_unique<BandMapPanel>(ring, clock, band);
        panel->resize(1000, 110);
        panel->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(panel.get()));
        panel->refresh();
        return panel;
    }

    static QPoint centreOf(const SpotMapView& view, int slot)
    {
        const QRect rect = view.labelRect(slot);
        EXPECT_FALSE(rect.isEmpty()) << "no label for slot " << slot;
        return rect.center();
    }

    static QToolButton* button(QWidget& parent, const char* name)
    {
        return parent.findChild<QToolButton*>(QString::fromLatin1(name));
    }

    // Moves the pointer over a point of the view, as the window system reports it.
    static void hover(SpotMapView& view, const QPoint& point)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(point), view.mapToGlobal(QPointF(point)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&view, &move);
    }
};

} // namespace velk
