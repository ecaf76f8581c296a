#pragma once
// Station: the running station. Owns every subsystem's object (log session, radio link, keyer and
// WinKey link, voice keyer, spot feed, RTTY link) and the rules between them: the band follows
// the radio and the radio the band, a clicked spot tunes, the call being entered reaches the
// keyer and the RTTY link, "!" asks for the contact, and the order of shut-down. No widgets.
#include "common/platform/platform.h"
#include "cw/keyer.h"
#include "cw/winkeylink.h"
#include "log/logsession.h"
#include "log/supercheck.h"
#include "rig/riglink.h"
#include "rtty/rttylink.h"
#include "spots/spotfeed.h"
#include "voice/voicekeyer.h"

#include <QObject>
#include <memory>

namespace velk {

class Station : public QObject
{
    Q_OBJECT
public:
    explicit Station(Platform& platform, QObject* parent = nullptr);
    ~Station() override;

    Platform& platform() const { return m_platform; }
    LogSession& session() { return m_session; }
    RigLink& rig() { return m_rig; }
    Keyer& keyer() { return m_keyer; }
    // The WinKey keyer device; closed until opened or sent to.
    WinKeyLink& winKey() { return m_winKey; }
    VoiceKeyer& voice() { return *m_voice; }
    SpotFeed& spots() { return m_spots; }
    // The 50 most recent spots of the feed, drawn by both band maps.
    SpotRing& spotRing() { return m_spots.ring(); }
    RttyLink& rttyLink() { return m_rttyLink; }
    // Super Check Partial and the call history. Without a choice of the operator's, the database
    // is the working folder's MASTER.SCP, else the one the distribution installs.
    SuperCheck& superCheck();

    // Makes `band` current as the Band menu does; bandSelected follows so that the log is read
    // again for it. A text that is no band is ignored.
    void selectBand(const QString& band);
    // The radio read its dial: the band follows it and the next contact takes the frequency.
    void followRadioFrequency(double mhz);
    // A spot was clicked on the list or a map: the radio goes there, when there is one.
    void tuneToSpot(double mhz);
    // The station facts and the link option ("UserDumoOption") into the RTTY link.
    void applyRttyLink();
    // Start of the run: the radio's settings are read and polling starts when a radio is chosen.
    void startRig();

    // End of the run, in order: transmitters released (voice PTT, CW key line, WinKey), the
    // radio told CAT ends and its port closed once those bytes have left, the RTTY link and the
    // spot source closed, the operating time stopped. shutDownFinished follows when the radio's
    // port is closed. Safe to call more than once.
    void shutDown();
    bool isShutDown() const { return m_shutDown; }

signals:
    // A band was made current in the run: the log is read again for it.
    void bandSelected(const QString& band);
    // The "!" of a CW message was reached with a call to log: the entry is logged.
    void contactEntryRequested();
    // Every device is closed: the program may end.
    void shutDownFinished();
    // RigCntrl.txt could not be read whole while a radio is chosen: what was not read.
    void rigSettingsProblem(const QString& text);

private:
    void wireRadioAndBand();
    void wireCallBeingEntered();
    void tuneToBand(const QString& band);

    Platform& m_platform;
    LogSession m_session;
    RigLink m_rig;
    // Declared before the keyer, which sends through it, so it outlives the keyer.
    WinKeyLink m_winKey;
    Keyer m_keyer;
    std::unique_ptr<VoiceKeyer> m_voice;
    SpotFeed m_spots;
    RttyLink m_rttyLink;
    SuperCheck m_superCheck;
    bool m_shutDown = false;
};

} // namespace velk
