// The band map on the main window and the HF spectrum map: where they sit, what their clicks
// reach (radio, call box, partial-dupe line) and when they draw the spot ring again.
#include "app/ui/mainwindow.h"

#include "log/ui/entrypanel.h"
#include "log/ui/statusline.h"
#include "spots/ui/bandmappanel.h"
#include "spots/ui/hfmapwindow.h"

#include <QAction>
#include <QDialog>
#include <QEvent>
#include <QStackedWidget>

#include <functional>

namespace velk {

namespace {

// Runs a command each time the window it watches becomes the active window.
class ActivationWatcher : public QObject
{
public:
    ActivationWatcher(QObject* parent, std::function<void()> onActivated)
        : QObject(parent), m_onActivated(std::move(onActivated))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::WindowActivate) {
            m_onActivated();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_onActivated;
};

} // namespace

void MainWindow::wireMaps()
{
    // The band map takes turns with the spot list in the spot area, as the spot window chooses.
    m_bandMap =
        new BandMapPanel(m_station.spotRing(), m_platform.clock, m_session.prefs.currentBand, m_spotArea);
    m_spotArea->addWidget(m_bandMap);
    SpotFeed& feed = m_station.spots();
    connect(&feed, &SpotFeed::spotPosted, this, &MainWindow::refreshSpotMaps);
    connect(&feed, &SpotFeed::spotsAged, this, &MainWindow::refreshSpotMaps);
    connect(m_bandMap, &BandMapPanel::spotWindowRequested, this, &MainWindow::showSpotWindow);
    connect(m_bandMap, &BandMapPanel::tuneRequested, this, &MainWindow::spotTuneRequested);
    connect(m_bandMap, &BandMapPanel::callChosen, m_entry, &EntryPanel::enterCallAndLeave);
    connect(m_bandMap, &BandMapPanel::spotHovered, m_statusLine,
            qOverload<const QString&>(&StatusLine::showPartialDupes));
    connect(m_bandMap, &BandMapPanel::spectrumMapRequested, this, &MainWindow::showSpectrumMap);
    connect(&m_session, &LogSession::bandChanged, m_bandMap, &BandMapPanel::setBand);
    installEventFilter(new ActivationWatcher(this, [this] { m_bandMap->refresh(); }));

    if (auto* action = findChild<QAction*>(QStringLiteral("spectrumMapAction"))) {
        action->setEnabled(true);
        connect(action, &QAction::triggered, this, &MainWindow::showSpectrumMap);
    }
    m_ctrlCommands[Qt::Key_B] = [this] { showSpectrumMap(); };
}

void MainWindow::refreshSpotMaps()
{
    m_bandMap->refresh();
    if (m_spectrumMap) {
        m_spectrumMap->refresh();
    }
}

SpectrumMapWindow* MainWindow::spectrumMap() const
{
    return m_spectrumMap;
}

void MainWindow::showSpectrumMap()
{
    if (m_spectrumMap) {
        m_spectrumMap->raise();
        m_spectrumMap->activateWindow();
        return;
    }
    // Modal while open, gone when closed; shown without a nested event loop, so spots keep
    // arriving and drawing while the operator looks at it.
    auto* map = new SpectrumMapWindow(m_station.spotRing(), m_platform.clock, this);
    map->setAttribute(Qt::WA_DeleteOnClose);
    map->setWindowModality(Qt::ApplicationModal);
    connect(map, &SpectrumMapWindow::tuneRequested, this, &MainWindow::spotTuneRequested);
    connect(map, &SpectrumMapWindow::callChosen, m_entry, &EntryPanel::enterCall);
    // The keyboard comes back to the entry boxes, whichever way the map was closed.
    connect(map, &QDialog::finished, this, [this] { activateWindow(); });
    m_spectrumMap = map;
    map->show();
}

} // namespace velk
