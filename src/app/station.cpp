#include "app/station.h"

namespace velk {

Station::Station(Platform& platform, QObject* parent)
    : QObject(parent), m_platform(platform), m_rig(platform),
      m_winKey(
          [&platform] { return platform.devices.createSerialDevice(); }, platform.devices.keyPorts(),
          [&platform](int port) { return serialDevicePath(port, platform.environment, platform.settings); }),
      m_keyer(platform), m_voice(std::make_unique<VoiceKeyer>(platform, m_session)),
      m_spots(platform, m_session), m_rttyLink(platform)
{
    // With keyer type WinKey the keyer's text goes to the device.
    m_keyer.setWinKeySender(&m_winKey);
}

} // namespace velk
