#pragma once
// SpotsPlug: DX spotting in the main window: the spot area below the log (the spot list or the
// band map, as the spot window chooses), the spot window and the HF spectrum map with their menu
// items and Ctrl keys, the own-call alert, and redrawing the maps when the spot ring changes.
#include "app/ui/shell.h"

#include <QObject>
#include <QPointer>

class QAction;
class QStackedWidget;

namespace velk {

class BandMapPanel;
class SpectrumMapWindow;
class SpotListPanel;
class SpotSetupWindow;

class SpotsPlug : public QObject
{
    Q_OBJECT
public:
    explicit SpotsPlug(const Shell& shell);

    // The area the shell places below the log; hidden while no spot source is chosen.
    QWidget* area() const;
    QAction* configureAction() const { return m_configureAction; }
    QAction* spectrumMapAction() const { return m_spectrumMapAction; }
    // Start-up: PackSpot.txt read and the spot area arranged for it.
    void start();

    void showSpotWindow();
    // Opens the HF spectrum map (menu, Ctrl+B, double click on the band map's header).
    void showSpectrumMap();
    // The spot ring changed: the band map, and the spectrum map while it is open, draw it again.
    void refreshMaps();
    BandMapPanel& bandMap() const { return *m_bandMap; }
    // The open spectrum map, if any.
    SpectrumMapWindow* spectrumMap() const;

signals:
    // A spot was clicked to tune the radio there (MHz).
    void tuneRequested(double mhz);

private:
    void buildArea();
    void connectRequests();
    void arrangeArea();

    Shell m_shell;
    QAction* m_configureAction = nullptr;
    QAction* m_spectrumMapAction = nullptr;
    QStackedWidget* m_area = nullptr;
    SpotListPanel* m_list = nullptr;
    BandMapPanel* m_bandMap = nullptr;
    SpotSetupWindow* m_spotWindow = nullptr;
    QPointer<SpectrumMapWindow> m_spectrumMap;
};

} // namespace velk
