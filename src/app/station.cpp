#include "app/station.h"

namespace velk {

Station::Station(Platform& platform, QObject* parent)
    : QObject(parent), m_platform(platform), m_voice(std::make_unique<VoiceKeyer>(platform, m_session))
{
}

} // namespace velk
