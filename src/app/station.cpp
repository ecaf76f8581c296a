#include "app/station.h"

#include "common/bands.h"
#include "common/diagnostics.h"
#include "common/formats.h"
#include "log/stationtime.h"
#include "rig/tuning.h"

namespace velk {

Station::Station(Platform& platform, QObject* parent)
    : QObject(parent), m_platform(platform), m_rig(platform),
      m_winKey(
          [&platform] { return platform.devices.createSerialDevice(); }, platform.devices.keyPorts(),
          [&platform](int port) { return serialDevicePath(port, platform.environment, platform.settings); }),
      m_keyer(platform), m_voice(std::make_unique<VoiceKeyer>(platform, m_session)),
      m_spots(platform, m_session), m_rttyLink(platform), m_superCheck(platform.settings, {})
{
    // With keyer type WinKey the keyer's text goes to the device.
    m_keyer.setWinKeySender(&m_winKey);
    // A duplicate is announced, and the check goes on once "Dupe" has been heard.
    m_session.dupeCue = [this](std::function<void()> goOn) { m_voice->cues().dupe(std::move(goOn)); };
    wireRadioAndBand();
    wireCallBeingEntered();
}

Station::~Station() = default;

void Station::wireRadioAndBand()
{
    connect(&m_rig, &RigLink::frequencyRead, this, &Station::followRadioFrequency);
    connect(&m_session, &LogSession::bandChanged, this, &Station::tuneToBand);
}

void Station::wireCallBeingEntered()
{
    m_keyer.setCallSource([this] { return m_session.callBeingEntered(); });
    connect(&m_session, &LogSession::callBeingEnteredChanged, &m_rttyLink, &RttyLink::setCallBeingEntered);
    // "!" logs the contact through the same path as Enter, and only with a call to log.
    connect(&m_keyer, &Keyer::contactMarkReached, this, [this] {
        if (!m_session.callBeingEntered().trimmed().isEmpty()) {
            emit contactEntryRequested();
        }
    });
}

SuperCheck& Station::superCheck()
{
    // The working folder is known once the folders are resolved, after the station is built.
    m_superCheck.setDefaultDatabaseFiles(defaultDatabaseFiles(m_session.folders.working));
    return m_superCheck;
}

void Station::selectBand(const QString& band)
{
    const int index = bandIndex(band);
    if (index == 0) {
        return;
    }
    const QString current = bandTexts().at(index - 1);
    m_session.setBand(current);
    emit bandSelected(current);
}

void Station::followRadioFrequency(double mhz)
{
    const auto band = bandForFrequency(static_cast<float>(mhz));
    if (band && band->compare(m_session.prefs.currentBand, Qt::CaseInsensitive) != 0) {
        qCDebug(velkRig) << "band follows the dial to" << *band;
        selectBand(*band);
    }
    m_session.pendingFrequency = formatNumber(static_cast<float>(mhz), QStringLiteral("#####.##0"));
}

// A band the operator picks moves the radio; a band that followed the radio does not.
void Station::tuneToBand(const QString& band)
{
    if (!m_rig.isPolling() || m_rig.isChanging()) {
        return;
    }
    const auto radioBand = bandForFrequency(m_rig.frequency());
    if (radioBand && radioBand->compare(band, Qt::CaseInsensitive) == 0) {
        return;
    }
    // The log's own mode: a CW log tunes the CW segment, never a phone frequency in sideband.
    if (const auto mhz = bandEntryFrequency(band, m_session.prefs.mode)) {
        m_rig.changeFrequency(*mhz, bandEntryMode(m_session.prefs.mode));
    }
}

void Station::tuneToSpot(double mhz)
{
    if (m_rig.hasRadio()) {
        m_rig.changeFrequency(mhz);
    }
}

void Station::applyRttyLink()
{
    const Preferences& prefs = m_session.prefs;
    const bool wanted =
        m_platform.settings.value(QStringLiteral("UserDumoOption")).value_or(QString()).trimmed() ==
        QLatin1String("1");
    m_rttyLink.setStation(prefs.ownCall, prefs.ownFirstName, prefs.ownSpc);
    m_rttyLink.apply(prefs.mode, wanted);
}

void Station::startRig()
{
    m_rig.setWorkingFolder(m_session.folders.working);
    const QString problem = m_rig.loadSettings();
    const bool radioChosen =
        m_session.prefs.radioType.compare(QStringLiteral("None"), Qt::CaseInsensitive) != 0;
    // A damaged or missing RigCntrl.txt never silences the radio without a word.
    if (radioChosen && !problem.isEmpty()) {
        emit rigSettingsProblem(problem);
    }
    if (radioChosen) {
        m_rig.start();
    }
}

void Station::shutDown()
{
    if (m_shutDown) {
        return;
    }
    m_shutDown = true;
    // Nothing stays keyed once the run ends.
    m_voice->stop();
    m_keyer.escape();
    KeyPorts& ports = m_platform.devices.keyPorts();
    ports.close(PortUser::CwKeyer);
    ports.close(PortUser::VoicePtt);
    m_winKey.close();
    // The radio's CAT-off bytes leave the line before its port closes; the run is over then.
    connect(&m_rig, &RigLink::shutDownFinished, this, &Station::shutDownFinished, Qt::SingleShotConnection);
    m_rig.shutDown();
    m_rttyLink.stop();
    m_spots.close();
    // Time that runs while the program closes counts, as if "Time Off" had been clicked.
    OperatingClock& operating = m_session.operatingClock;
    if (operating.isRunning()) {
        operating.update(m_session.prefs.accumulatedSeconds, localNow(m_platform.clock));
        m_session.prefs.accumulatedSeconds = static_cast<float>(operating.stop());
    }
}

} // namespace velk
