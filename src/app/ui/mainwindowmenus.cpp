// The main window's menus and the commands behind them.
#include "app/ui/mainwindow.h"

#include "app/ui/cwplug.h"
#include "app/ui/helpwindow.h"
#include "app/ui/rigplug.h"
#include "app/ui/rttyplug.h"
#include "app/ui/spotsplug.h"
#include "app/ui/voiceplug.h"
#include "common/bands.h"
#include "common/formats.h"
#include "common/quotedlist.h"
#include "log/ui/contactlistpanel.h"
#include "log/ui/entrypanel.h"
#include "log/ui/logfileactions.h"
#include "log/ui/multipliercoloursdialog.h"
#include "log/ui/partialmatchfilesdialog.h"
#include "log/ui/partialmatchplug.h"
#include "log/ui/rategraphwindow.h"
#include "log/ui/stationbar.h"
#include "log/ui/stationdialog.h"
#include "output/ui/exports.h"

#include <QAction>
#include <QMenuBar>

#include <algorithm>
#include <cmath>
#include <functional>

namespace velk {

namespace {

QMenu* addMenu(QMenu* parent, const QString& objectName, const QString& text)
{
    QMenu* menu = parent->addMenu(text);
    menu->setObjectName(objectName);
    return menu;
}

QMenu* addMenu(QMenuBar* bar, const QString& objectName, const QString& text)
{
    QMenu* menu = bar->addMenu(text);
    menu->setObjectName(objectName);
    return menu;
}

template <typename Menu> QAction* addItem(Menu* menu, const QString& objectName, const QString& text)
{
    QAction* action = menu->addAction(text);
    action->setObjectName(objectName);
    return action;
}

template <typename Menu>
QAction* addItem(Menu* menu, const QString& objectName, const QString& text, QObject* receiver,
                 std::function<void()> command)
{
    QAction* action = addItem(menu, objectName, text);
    QObject::connect(action, &QAction::triggered, receiver, std::move(command));
    return action;
}

} // namespace

void MainWindow::buildMenus()
{
    buildFileMenu();
    buildOptionsMenu();
    QMenuBar* bar = menuBar();
    addItem(bar, QStringLiteral("setupAction"), tr("&Setup"), this, [this] { showStationDialog(); });
    buildBandMenu();
    addItem(bar, QStringLiteral("graphAction"), tr("&Graph"), this, [this] { showRateGraph(); });
    addItem(bar, QStringLiteral("helpAction"), tr("&Help"), this, [this] { showHelp(); });
}

void MainWindow::buildFileMenu()
{
    QMenu* file = addMenu(menuBar(), QStringLiteral("fileMenu"), tr("&File"));
    addItem(file, QStringLiteral("newLogAction"), tr("&New"), this, [this] { m_logFiles->startNewLog(); });
    addItem(file, QStringLiteral("openLogAction"), tr("&Open"), this, [this] { m_logFiles->reload(); });
    file->addSeparator();
    addItem(file, QStringLiteral("archiveLogAction"), tr("Archive Current &Log"), this,
            [this] { m_logFiles->archive(); });
    file->addSeparator();
    addItem(file, QStringLiteral("restoreLogAction"), tr("&Restore from Archive or Backup"), this,
            [this] { m_logFiles->restore(); });
    file->addSeparator();
    addItem(file, QStringLiteral("writeCabrilloAction"), tr("&Write Cabrillo File"), this,
            [this] { runCabrilloExport(m_platform, m_session, this); });
    file->addSeparator();
    addItem(file, QStringLiteral("exportTransferAction"), tr("E&xport for Tobrel Import"), this,
            [this] { runTransferExport(m_platform, m_session); });
    addItem(file, QStringLiteral("exportAdifAction"), tr("Ex&port ADIF Format"), this,
            [this] { runAdifExport(m_platform, m_session, this); });
    file->addSeparator();
    addItem(file, QStringLiteral("copyListAction"), tr("&Copy Listed Items to Clipboard"), this,
            [this] { m_contactList->copyToClipboard(); });
    file->addSeparator();
    addItem(file, QStringLiteral("exitAction"), tr("&Exit"), this, [this] {
        savePreferences();
        close();
    });
}

void MainWindow::buildOptionsMenu()
{
    QMenu* options = addMenu(menuBar(), QStringLiteral("optionsMenu"), tr("&Options"));
    QMenu* transmit = addMenu(options, QStringLiteral("transmitMenu"), tr("&Transmit"));
    transmit->addAction(m_cw->setupAction());
    transmit->addAction(m_voice->setupAction());
    options->addSeparator();
    QMenu* appearance = addMenu(options, QStringLiteral("appearanceMenu"), tr("&Appearance"));
    addItem(appearance, QStringLiteral("formSizeAction"), tr("&Form Size"), this,
            [this] { chooseFormSize(); });
    addItem(appearance, QStringLiteral("coloursAction"), tr("&Colors"), this, [this] { chooseColours(); });
    m_taskbarAction = addItem(appearance, QStringLiteral("taskbarAction"), tr("&Taskbar"), this,
                              [this] { toggleTaskbar(); });
    m_taskbarAction->setCheckable(true);
    options->addSeparator();
    options->addAction(m_rig->setupAction());
    options->addSeparator();
    QMenu* spotting = addMenu(options, QStringLiteral("dxSpottingMenu"), tr("&DX Spotting"));
    spotting->addAction(m_spots->configureAction());
    spotting->addAction(m_spots->spectrumMapAction());
    options->addSeparator();
    options->addAction(m_voice->navigationAction());
    options->addAction(m_partialMatches->filesAction());
    options->addSeparator();
    m_listPreviousAction =
        addItem(options, QStringLiteral("listPreviousAction"), tr("&List Previous Contacts"), this, [this] {
            m_session.prefs.listPrevious = m_listPreviousAction->isChecked() ? 1 : 0;
            savePreferences();
        });
    m_listPreviousAction->setCheckable(true);
    options->addSeparator();
    m_postContestAction =
        addItem(options, QStringLiteral("postContestAction"), tr("&Post Contest Mode"), this,
                [this] { m_entry->setPostContestMode(m_postContestAction->isChecked()); });
    m_postContestAction->setCheckable(true);
}

void MainWindow::buildBandMenu()
{
    QMenu* band = addMenu(menuBar(), QStringLiteral("bandMenu"), tr("&Band"));
    for (int i = 0; i < bandCount; ++i) {
        const QString text = bandTexts().at(i);
        QAction* action = addItem(band, QStringLiteral("band%1Action").arg(text), text, this,
                                  [this, text] { m_station.selectBand(text); });
        action->setCheckable(true);
        m_bandActions[static_cast<size_t>(i)] = action;
    }
    band->addSeparator();
    band->addAction(m_rig->privilegesAction());
    connect(&m_session, &LogSession::bandChanged, this, [this](const QString& current) {
        for (QAction* action : m_bandActions) {
            action->setChecked(action->text() == current);
        }
    });
}

void MainWindow::showStationDialog()
{
    if (!m_stationDialog) {
        m_stationDialog = new StationDialog(m_platform, m_session.xml, m_session.prefixes, this);
    }
    m_stationDialog->load(m_session.prefs);
    const int result =
        m_stationDialogRunner ? m_stationDialogRunner(*m_stationDialog) : m_stationDialog->exec();
    // Closed without "Done": the station stays as it was.
    if (result == QDialog::Accepted) {
        m_stationDialog->applyTo(m_session.prefs);
        savePreferences();
    }
    m_stationBar->showStation();
    m_rtty->apply();
}

void MainWindow::chooseFormSize()
{
    const auto answer = m_platform.prompter.input(
        QStringLiteral(
            "Enter the % of the screen you would like the form to cover.  Try between 90 and 100 for "
            "best results.  Values below 75 do not display well."),
        QStringLiteral("Please enter screen percentage."), QString::number(m_session.prefs.formSizePercent));
    if (!answer) {
        return;
    }
    const auto value = parseSettingsNumber(*answer);
    if (!value) {
        m_platform.prompter.message(QStringLiteral("Please enter only numeric values."),
                                    QStringLiteral("Numeric Values Required"));
        return;
    }
    m_session.prefs.formSizePercent = static_cast<int>(std::clamp(std::round(*value), 30.0, 100.0));
    savePreferences();
    m_platform.prompter.message(
        QStringLiteral("This program must be closed and restarted for this setting to take effect."),
        QStringLiteral("For this setting to take effect please restart this program."));
}

void MainWindow::toggleTaskbar()
{
    if (m_session.prefs.formSizePercent != 100) {
        m_taskbarAction->setChecked(false);
        m_platform.prompter.message(
            QStringLiteral("The form size must be set to 100% to use the taskbar display option."),
            QStringLiteral("Please set your form size to 100% to use this option."));
        return;
    }
    m_session.prefs.taskbar = m_taskbarAction->isChecked() ? 1 : 0;
    savePreferences();
    applyWindowSize();
}

void MainWindow::chooseColours()
{
    MultiplierColoursDialog colours(m_platform.prompter, m_session.prefs.workedColour,
                                    m_session.prefs.notWorkedColour, this);
    colours.exec();
    m_session.prefs.workedColour = colours.workedColour();
    m_session.prefs.notWorkedColour = colours.notWorkedColour();
    savePreferences();
    m_logFiles->reload();
}

void MainWindow::showHelp()
{
    if (!m_help) {
        m_help = new HelpWindow(m_session.folders.working, this);
    }
    m_help->showText(QStringLiteral("readvelk.txt"));
    m_help->show();
    m_help->raise();
}

void MainWindow::showRateGraph()
{
    auto* graph = new RateGraphWindow(m_platform, m_session.log, this);
    graph->setAttribute(Qt::WA_DeleteOnClose);
    graph->load();
    graph->open();
}

} // namespace velk
