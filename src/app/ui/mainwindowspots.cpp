// The main window's part of DX spotting: the setup window, the spot display beside the log and
// the own-call alert.
#include "app/ui/mainwindow.h"

#include "log/ui/entrypanel.h"
#include "log/ui/statusline.h"
#include "spots/ui/spotlistpanel.h"
#include "spots/ui/spotsetupwindow.h"

#include <QAction>
#include <QBoxLayout>
#include <QStackedWidget>

namespace velk {

namespace {

constexpr std::uint32_t alertBackground = 0xFFFFFF; // white
// The band map's panel joins the spot area under this name.
const char* const bandMapPanelName = "bandMapPanel";

} // namespace

void MainWindow::wireSpots()
{
    SpotFeed& feed = m_station.spots();
    m_spotArea = new QStackedWidget(centralWidget());
    m_spotArea->setObjectName(QStringLiteral("spotArea"));
    m_spotList = new SpotListPanel(feed.list(), m_spotArea);
    m_spotArea->addWidget(m_spotList);
    if (auto* layout = qobject_cast<QBoxLayout*>(centralWidget()->layout())) {
        layout->addWidget(m_spotArea, 1);
    }
    m_spotArea->hide();

    if (auto* configure = findChild<QAction*>(QStringLiteral("dxConfigureAction"))) {
        configure->setEnabled(true);
        connect(configure, &QAction::triggered, this, [this] {
            savePreferences();
            showSpotWindow();
        });
    }
    m_ctrlCommands[Qt::Key_D] = [this] { showSpotWindow(); };

    connect(&feed, &SpotFeed::ownCallSpotted, this, [this](const QString& record) {
        m_platform.prompter.bell();
        m_statusLine->showText(QStringLiteral("You've been spotted! "));
        m_statusLine->setColour(alertBackground);
        m_statusLine->showPartialDupes(QStringLiteral("You've been spotted!  ") + record, alertBackground);
    });
    connect(&feed, &SpotFeed::showRequested, this, &MainWindow::showSpotWindow);
    connect(m_spotList, &SpotListPanel::callChosen, m_entry, &EntryPanel::enterCall);
    connect(m_spotList, &SpotListPanel::tuneRequested, this, &MainWindow::spotTuneRequested);
    connect(m_spotList, &SpotListPanel::spectrumMapRequested, this, [this] {
        auto* spectrum = findChild<QAction*>(QStringLiteral("spectrumMapAction"));
        if (spectrum && spectrum->isEnabled()) {
            spectrum->trigger();
        }
    });
}

void MainWindow::applySpotSettings()
{
    m_station.spots().loadSettings();
    arrangeSpotArea();
}

void MainWindow::showSpotWindow()
{
    if (!m_spotWindow) {
        m_spotWindow = new SpotSetupWindow(m_station.spots(), this);
        connect(m_spotWindow, &SpotSetupWindow::done, this, [this] {
            savePreferences();
            arrangeSpotArea();
            activateWindow();
        });
        m_spotWindow->load();
    }
    m_spotWindow->showNormal();
    m_spotWindow->raise();
    m_spotWindow->activateWindow();
}

void MainWindow::arrangeSpotArea()
{
    const SpotSettings& settings = m_station.spots().settings();
    if (settings.source == SpotSource::None) {
        m_spotArea->hide();
        return;
    }
    QWidget* bandMap = m_spotArea->findChild<QWidget*>(QLatin1String(bandMapPanelName));
    m_spotArea->setCurrentWidget(settings.listMode || !bandMap ? static_cast<QWidget*>(m_spotList) : bandMap);
    m_spotArea->show();
}

} // namespace velk
