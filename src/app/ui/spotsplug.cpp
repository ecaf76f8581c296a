#include "app/ui/spotsplug.h"

#include "app/station.h"
#include "app/ui/keyrouter.h"
#include "app/ui/spokenreports.h"
#include "common/ui/announcer.h"
#include "log/ui/entrypanel.h"
#include "log/ui/statusline.h"
#include "spots/ui/bandmappanel.h"
#include "spots/ui/hfmapwindow.h"
#include "spots/ui/spotlistpanel.h"
#include "spots/ui/spotsetupwindow.h"

#include <QAction>
#include <QDialog>
#include <QEvent>
#include <QMainWindow>
#include <QStackedWidget>

#include <functional>

namespace velk {

namespace {

constexpr std::uint32_t alertBackground = 0xFFFFFF; // white

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

SpotsPlug::SpotsPlug(const Shell& shell) : QObject(&shell.window), m_shell(shell)
{
    m_configureAction = new QAction(tr("&Configure"), this);
    m_configureAction->setObjectName(QStringLiteral("dxConfigureAction"));
    connect(m_configureAction, &QAction::triggered, this, [this] {
        m_shell.savePreferences();
        showSpotWindow();
    });
    m_spectrumMapAction = new QAction(tr("&View Spectrum Map"), this);
    m_spectrumMapAction->setObjectName(QStringLiteral("spectrumMapAction"));
    connect(m_spectrumMapAction, &QAction::triggered, this, &SpotsPlug::showSpectrumMap);
    m_shell.keys.addCtrlCommand(Qt::Key_D, [this] { showSpotWindow(); });
    m_shell.keys.addCtrlCommand(Qt::Key_B, [this] { showSpectrumMap(); });
    m_shell.keys.addCtrlCommand(Qt::Key_L, [this] {
        m_shell.announcer.announce(
            lastSpotReport(m_shell.station.spotRing(), m_shell.station.platform().clock.utcNow()));
    });
    buildArea();
    connectRequests();
}

void SpotsPlug::buildArea()
{
    Station& station = m_shell.station;
    m_area = new QStackedWidget;
    m_area->setObjectName(QStringLiteral("spotArea"));
    m_list = new SpotListPanel(station.spots().list(), m_area);
    m_area->addWidget(m_list);
    m_bandMap = new BandMapPanel(station.spotRing(), station.platform().clock,
                                 station.session().prefs.currentBand, m_area);
    m_area->addWidget(m_bandMap);
    m_area->hide();
}

void SpotsPlug::connectRequests()
{
    Station& station = m_shell.station;
    SpotFeed& feed = station.spots();
    Platform& platform = station.platform();
    StatusLine& status = m_shell.status;
    Announcer& announcer = m_shell.announcer;
    connect(&feed, &SpotFeed::ownCallSpotted, this, [&platform, &status, &announcer](const QString& record) {
        platform.prompter.bell();
        // Said once, with the spot that names the station.
        status.showUnsaid(QStringLiteral("You've been spotted! "));
        announcer.announce(QStringLiteral("You've been spotted! ") + record);
        status.setColour(alertBackground);
        status.showPartialDupes(QStringLiteral("You've been spotted!  ") + record, alertBackground);
    });
    connect(&feed, &SpotFeed::sourceLost, this,
            [&announcer] { announcer.announce(QStringLiteral("Lost the link to the spot source.")); });
    connect(&feed, &SpotFeed::showRequested, this, &SpotsPlug::showSpotWindow);
    connect(&feed, &SpotFeed::spotPosted, this, &SpotsPlug::refreshMaps);
    connect(&feed, &SpotFeed::spotsAged, this, &SpotsPlug::refreshMaps);
    connect(&station.session(), &LogSession::bandChanged, m_bandMap, &BandMapPanel::setBand);

    connect(m_list, &SpotListPanel::callChosen, &m_shell.entry, &EntryPanel::enterCall);
    connect(m_list, &SpotListPanel::tuneRequested, this, &SpotsPlug::tuneRequested);
    connect(m_list, &SpotListPanel::spectrumMapRequested, this, &SpotsPlug::showSpectrumMap);

    connect(m_bandMap, &BandMapPanel::spotWindowRequested, this, &SpotsPlug::showSpotWindow);
    connect(m_bandMap, &BandMapPanel::tuneRequested, this, &SpotsPlug::tuneRequested);
    connect(m_bandMap, &BandMapPanel::callChosen, &m_shell.entry, &EntryPanel::enterCallAndLeave);
    connect(m_bandMap, &BandMapPanel::spotHovered, &status,
            qOverload<const QString&>(&StatusLine::showPartialDupes));
    connect(m_bandMap, &BandMapPanel::spectrumMapRequested, this, &SpotsPlug::showSpectrumMap);
    m_shell.window.installEventFilter(new ActivationWatcher(this, [this] { m_bandMap->refresh(); }));
}

QWidget* SpotsPlug::area() const
{
    return m_area;
}

void SpotsPlug::start()
{
    m_shell.station.spots().loadSettings();
    arrangeArea();
}

void SpotsPlug::showSpotWindow()
{
    if (!m_spotWindow) {
        m_spotWindow = new SpotSetupWindow(m_shell.station.spots(), &m_shell.window);
        connect(m_spotWindow, &SpotSetupWindow::done, this, [this] {
            m_shell.savePreferences();
            arrangeArea();
            m_shell.window.activateWindow();
        });
        m_spotWindow->load();
    }
    m_spotWindow->showNormal();
    m_spotWindow->raise();
    m_spotWindow->activateWindow();
}

void SpotsPlug::arrangeArea()
{
    const SpotSettings& settings = m_shell.station.spots().settings();
    if (settings.source == SpotSource::None) {
        m_area->hide();
        return;
    }
    m_area->setCurrentWidget(settings.listMode ? static_cast<QWidget*>(m_list) : m_bandMap);
    m_area->show();
}

SpectrumMapWindow* SpotsPlug::spectrumMap() const
{
    return m_spectrumMap;
}

void SpotsPlug::refreshMaps()
{
    m_bandMap->refresh();
    if (m_spectrumMap) {
        m_spectrumMap->refresh();
    }
}

void SpotsPlug::showSpectrumMap()
{
    if (m_spectrumMap) {
        m_spectrumMap->raise();
        m_spectrumMap->activateWindow();
        return;
    }
    // Modal while open, gone when closed; shown without a nested event loop, so spots keep
    // arriving and drawing while the operator looks at it.
    Station& station = m_shell.station;
    auto* map = new SpectrumMapWindow(station.spotRing(), station.platform().clock, &m_shell.window);
    map->setAttribute(Qt::WA_DeleteOnClose);
    map->setWindowModality(Qt::ApplicationModal);
    connect(map, &SpectrumMapWindow::tuneRequested, this, &SpotsPlug::tuneRequested);
    connect(map, &SpectrumMapWindow::callChosen, &m_shell.entry, &EntryPanel::enterCall);
    // The keyboard comes back to the entry boxes, whichever way the map was closed.
    connect(map, &QDialog::finished, this, [this] { m_shell.window.activateWindow(); });
    m_spectrumMap = map;
    map->show();
}

} // namespace velk
