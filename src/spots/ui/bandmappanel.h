#pragma once
// BandMapPanel: the band map on the main window, a header and one frequency axis of the contact
// band with a label per spot of the last hour. Redraws on refresh() (a new spot, activation), a
// band change, a click, and after two minutes without a redraw so the age colours move on. Reads
// the spot ring and the clock; the main window connects its requests to the radio and the entry.
#include "common/platform/clock.h"
#include "spots/spotring.h"

#include <QWidget>

class QLabel;
class QTimer;

namespace velk {

class SpotMapView;

class BandMapPanel : public QWidget
{
    Q_OBJECT
public:
    BandMapPanel(SpotRing& ring, const Clock& clock, const QString& band, QWidget* parent = nullptr);

    // Draws the ring again; while the panel is hidden, once it shows.
    void refresh();
    void setBand(const QString& band);
    SpotMapView& view() const { return *m_view; }

    // Without a redraw for this long, the map redraws itself.
    static constexpr int idleRedrawMs = 120'000;

signals:
    void tuneRequested(double mhz);
    void callChosen(const QString& call);
    void spotHovered(const QString& text);
    // A click on the header asks for the spot window, a double click for the spectrum map.
    void spotWindowRequested();
    void spectrumMapRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QLabel* m_header = nullptr;
    SpotMapView* m_view = nullptr;
    QTimer* m_idleTimer = nullptr;
    bool m_stale = true;

    void showBandInHeader(const QString& band);
};

} // namespace velk
