#pragma once
// Station: the running station. Holds the platform services and owns every subsystem's object:
// the log session today; the radio link, the keyer, the voice keyer, the spot feed and the RTTY
// link join it here, each publishing what the others follow as signals.
#include "common/platform/platform.h"
#include "cw/keyer.h"
#include "cw/winkeylink.h"
#include "log/logsession.h"
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

private:
    Platform& m_platform;
    LogSession m_session;
    RigLink m_rig;
    // Declared before the keyer, which sends through it, so it outlives the keyer.
    WinKeyLink m_winKey;
    Keyer m_keyer;
    std::unique_ptr<VoiceKeyer> m_voice;
    SpotFeed m_spots;
    RttyLink m_rttyLink;
};

} // namespace velk
