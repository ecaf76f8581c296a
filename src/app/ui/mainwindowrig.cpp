// The main window and the radio link: the band follows the radio's dial, contacts take its
// frequency, a band chosen in the logger moves the radio; the rig windows and their keys.
#include "app/ui/mainwindow.h"

#include "common/bands.h"
#include "log/ui/entrypanel.h"
#include "log/ui/statusline.h"
#include "rig/tuning.h"
#include "rig/ui/bandplanwindow.h"
#include "rig/ui/rigsetupwindow.h"
#include "rig/ui/rigtuningwindow.h"

#include <QApplication>

namespace velk {

void MainWindow::wireRig()
{
    RigLink& rig = m_station.rig();
    connect(&rig, &RigLink::frequencyChanged, this,
            [this](double mhz) { followRadioFrequency(static_cast<float>(mhz)); });
    // A band the operator picks moves the radio; a band that followed the radio does not.
    connect(&m_session, &LogSession::bandChanged, this, [this](const QString& band) {
        RigLink& link = m_station.rig();
        if (!link.isPolling() || link.isChanging()) {
            return;
        }
        const auto radioBand = bandForFrequency(link.frequency());
        if (radioBand && radioBand->compare(band, Qt::CaseInsensitive) == 0) {
            return;
        }
        if (const auto mhz = bandButtonFrequency(band)) {
            link.changeFrequency(*mhz);
        }
    });
    connect(&rig, &RigLink::deviceLost, this, [this](const QString& text) {
        m_statusLine->showText(
            QStringLiteral("Radio connection lost (") + text +
            QStringLiteral("). Polling stopped; Options, Rig Interface, Test reconnects."));
    });
    connect(&rig, &RigLink::openFailed, this, [this](const QString&) {
        m_platform.prompter.bell();
        m_platform.prompter.message(
            QStringLiteral(
                "The comm port that you selected for rig interface is either in use, invalid or the "
                "settings that you have selected are invalid.  Please select another combination or "
                "choose None for your rig selection."),
            QStringLiteral("Invalid Comm Settings."), MessageIcon::Information);
        showRigSetup();
    });
    connect(&rig, &RigLink::changeFailed, this, [this](const QString& title, const QString& text) {
        m_platform.prompter.message(text, title, MessageIcon::Critical);
    });
    // A spot clicked on the list or a map tunes the radio, when there is one.
    connect(this, &MainWindow::spotTuneRequested, this, [this](double mhz) {
        RigLink& link = m_station.rig();
        if (link.radioType() != QLatin1String("None") && !link.radioType().isEmpty()) {
            link.changeFrequency(mhz);
        }
    });
    m_ctrlCommands[Qt::Key_R] = [this] { showRigSetup(); };
    m_ctrlCommands[Qt::Key_G] = [this] { showRigTuning(); };
    m_ctrlCommands[Qt::Key_F] = [this] { showPrivileges(); };
}

void MainWindow::startRig()
{
    RigLink& rig = m_station.rig();
    rig.setWorkingFolder(m_session.folders.working);
    rig.loadSettings();
    if (m_session.prefs.radioType.compare(QStringLiteral("None"), Qt::CaseInsensitive) != 0) {
        rig.start();
    }
}

void MainWindow::showRigSetup()
{
    if (!m_rigSetup) {
        m_station.rig().setWorkingFolder(m_session.folders.working);
        m_rigSetup = new RigSetupWindow(m_platform, m_station.rig(), this);
        connect(m_rigSetup, &RigSetupWindow::savePreferencesRequested, this, [this](const QString& type) {
            m_session.prefs.radioType = type;
            savePreferences();
        });
    }
    m_rigSetup->loadFromLink();
    // Opening the window again after the radio's device went away reconnects it.
    if (m_station.rig().wasLost()) {
        m_rigSetup->test();
    }
    m_rigSetup->show();
    m_rigSetup->raise();
    m_rigSetup->activateWindow();
}

void MainWindow::showRigTuning()
{
    // Modal to the window, without an event loop of its own: polling and keys go on.
    auto* tuning = new RigTuningWindow(m_station.rig(), this);
    tuning->setAttribute(Qt::WA_DeleteOnClose);
    connect(tuning, &QDialog::finished, this, [this] { m_entry->focusCallBox(); });
    tuning->open();
}

void MainWindow::showPrivileges()
{
    auto* plan = new BandPlanWindow(m_platform.prompter, this);
    plan->setAttribute(Qt::WA_DeleteOnClose);
    connect(plan, &QDialog::finished, this, [this] { m_entry->focusCallBox(); });
    plan->load(m_session.folders.working + QStringLiteral("/BandPlan.txt"));
    plan->open();
}

} // namespace velk
