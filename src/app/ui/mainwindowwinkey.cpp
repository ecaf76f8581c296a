// The WinKey keyer in the main window: WK.txt read into the link at start, the setup window, and
// the link's failures on the status line.
#include "app/ui/mainwindow.h"
#include "cw/ui/winkeysetupdialog.h"
#include "cw/winkeysettingsfile.h"
#include "log/ui/statusline.h"

namespace velk {

void MainWindow::wireWinKey()
{
    WinKeyLink& link = m_station.winKey();
    const QString settingsPath =
        m_session.folders.data + QLatin1Char('/') + QLatin1String(winKeySettingsFileName);
    WinKeySettings settings = link.settings();
    if (loadWinKeySettings(settingsPath, settings)) {
        link.setSettings(settings);
    }
    // Built now, shown on demand: an open started by a message reports through it too.
    m_winKeySetup = new WinKeySetupDialog(
        m_platform, link, settingsPath, [this] { return m_session.prefs.ownCall; }, this);
    m_winKeySetup->setWindowModality(Qt::ApplicationModal);
    connect(&link, &MorseSender::failed, m_statusLine, &StatusLine::showText);
    // "Configure Winkey" in the keyer window.
    connect(&m_station.keyer(), &Keyer::winKeyConfigurationRequested, this, &MainWindow::showWinKeySetup);
}

void MainWindow::showWinKeySetup()
{
    m_winKeySetup->show();
    m_winKeySetup->raise();
    m_winKeySetup->activateWindow();
}

} // namespace velk
