// The operator's own station: the station information dialog and the labels it fills.
#include "log/ui/Form1.h"
#include "log/ui/frmStationID.h"

namespace velk {

void Form1::showStationDialog()
{
    if (!m_stationId) {
        m_stationId = new frmStationID(m_platform, m_session.xml, m_prefixTable, this);
    }
    m_stationId->Form_Load(m_session.prefs);
    const int result = m_stationDialogRunner ? m_stationDialogRunner(*m_stationId) : m_stationId->exec();
    // Closed without "Done": the station stays as it was.
    if (result == QDialog::Accepted) {
        applyStationInformation(*m_stationId);
    }
    showStationLabels();
}

void Form1::mnuSetup_Click()
{
    showStationDialog();
}

void Form1::applyStationInformation(const frmStationID& dialog)
{
    Preferences& prefs = m_session.prefs;
    prefs.ownCall = dialog.ownCall();
    prefs.ownSpc = dialog.ownSpc();
    prefs.utcOffsetHours = dialog.utcOffsetHours();
    prefs.mode = dialog.logMode();
    prefs.ownCountry = dialog.ownCountry();
    prefs.ownLongitude = dialog.ownLongitude();
    prefs.ownLatitude = dialog.ownLatitude();
    prefs.ownContinent = dialog.ownContinent();
    prefs.ownFirstName = dialog.ownFirstName();
    showStationLabels();
    if (prefs.mode == QLatin1String("RY") && dialog.connectToDumo() && ConnectWithDumo()) {
        SendToDumo();
    }
    SavePref();
}

// The link to the RTTY program arrives with its own window; until then it never comes up.
bool Form1::ConnectWithDumo()
{
    return false;
}

// Hands the own call, first name and location to the RTTY program once the link window exists.
void Form1::SendToDumo() {}

} // namespace velk
