#pragma once
// SpectrumMapWindow: the " HF Spectrum Map" window, the spot ring on the eleven HF and VHF band
// axes at once, each with its own zoom. Redraws when shown, on activation and on refresh() (each
// new spot while it is open); a right click tunes to the spot, hands its call to the call box and
// closes the window, any other click withdraws the spot. Reads the spot ring and the clock.
#include "common/platform/clock.h"
#include "spots/spotring.h"

#include <QDialog>

namespace velk {

class SpotMapView;

class SpectrumMapWindow : public QDialog
{
    Q_OBJECT
public:
    SpectrumMapWindow(SpotRing& ring, const Clock& clock, QWidget* parent = nullptr);

    void refresh();
    SpotMapView& view() const { return *m_view; }

signals:
    void tuneRequested(double mhz);
    void callChosen(const QString& call);
    void spotHovered(const QString& text);
    // A spot was withdrawn here: the band map shows it no more at its next redraw.
    void spotWithdrawn();

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    SpotMapView* m_view = nullptr;
};

} // namespace velk
