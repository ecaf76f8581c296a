#include "app/ui/rigplug.h"

#include "app/station.h"
#include "app/ui/keyrouter.h"
#include "log/ui/statusline.h"
#include "rig/ui/bandplanwindow.h"
#include "rig/ui/rigsetupwindow.h"
#include "rig/ui/rigtuningwindow.h"

#include <QAction>
#include <QMainWindow>

namespace velk {

RigPlug::RigPlug(const Shell& shell) : QObject(&shell.window), m_shell(shell)
{
    m_setupAction = new QAction(tr("&Rig Interface"), this);
    m_setupAction->setObjectName(QStringLiteral("rigInterfaceAction"));
    connect(m_setupAction, &QAction::triggered, this, &RigPlug::showRigSetup);
    m_privilegesAction = new QAction(tr("&Privileges"), this);
    m_privilegesAction->setObjectName(QStringLiteral("privilegesAction"));
    connect(m_privilegesAction, &QAction::triggered, this, &RigPlug::showPrivileges);

    m_shell.keys.addCtrlCommand(Qt::Key_R, [this] { showRigSetup(); });
    m_shell.keys.addCtrlCommand(Qt::Key_G, [this] { showRigTuning(); });
    m_shell.keys.addCtrlCommand(Qt::Key_F, [this] { showPrivileges(); });
    reportLinkFailures();
}

void RigPlug::reportLinkFailures()
{
    RigLink& rig = m_shell.station.rig();
    Platform& platform = m_shell.station.platform();
    connect(&m_shell.station, &Station::rigSettingsProblem, &m_shell.status, &StatusLine::showText);
    connect(&rig, &RigLink::deviceLost, this, [this, &rig](const QString& text) {
        // rigctld's reports are whole sentences of their own.
        const QString what = rig.radioType() == QLatin1String("Hamlib")
                                 ? QStringLiteral("Radio: ") + text + QLatin1Char('.')
                                 : QStringLiteral("Radio connection lost (") + text + QStringLiteral(").");
        m_shell.status.showText(what +
                                QStringLiteral(" Polling stopped; Options, Rig Interface, Test reconnects."));
    });
    connect(&rig, &RigLink::openFailed, this, [this, &platform](const QString&) {
        platform.prompter.bell();
        platform.prompter.message(
            QStringLiteral(
                "The comm port that you selected for rig interface is either in use, invalid or the "
                "settings that you have selected are invalid.  Please select another combination or "
                "choose None for your rig selection."),
            QStringLiteral("Invalid Comm Settings."), MessageIcon::Information);
        showRigSetupForCorrection();
    });
    connect(&rig, &RigLink::changeFailed, this, [&platform](const QString& title, const QString& text) {
        platform.prompter.message(text, title, MessageIcon::Critical);
    });
}

RigSetupWindow& RigPlug::rigSetup()
{
    Station& station = m_shell.station;
    if (!m_rigSetup) {
        station.rig().setWorkingFolder(station.session().folders.working);
        m_rigSetup = new RigSetupWindow(station.platform(), station.rig(), &m_shell.window);
        connect(m_rigSetup, &RigSetupWindow::savePreferencesRequested, this, [this](const QString& type) {
            m_shell.station.session().prefs.radioType = type;
            m_shell.savePreferences();
        });
    }
    m_rigSetup->loadFromLink();
    // Opening the window again after the radio's device went away reconnects it.
    if (station.rig().wasLost()) {
        m_rigSetup->test();
    }
    return *m_rigSetup;
}

void RigPlug::showRigSetup()
{
    RigSetupWindow& window = rigSetup();
    window.show();
    window.raise();
    window.activateWindow();
}

void RigPlug::showRigSetupForCorrection()
{
    rigSetup().showForCorrection();
}

void RigPlug::showRigTuning()
{
    // Modal to the window, without an event loop of its own: polling and keys go on.
    auto* tuning = new RigTuningWindow(m_shell.station.rig(), &m_shell.window);
    tuning->setAttribute(Qt::WA_DeleteOnClose);
    connect(tuning, &QDialog::finished, this, [this] { m_shell.backToEntry(); });
    tuning->open();
}

void RigPlug::showPrivileges()
{
    auto* plan = new BandPlanWindow(m_shell.station.platform().prompter, &m_shell.window);
    plan->setAttribute(Qt::WA_DeleteOnClose);
    connect(plan, &QDialog::finished, this, [this] { m_shell.backToEntry(); });
    plan->load(m_shell.station.session().folders.working + QStringLiteral("/BandPlan.txt"));
    plan->open();
}

} // namespace velk
