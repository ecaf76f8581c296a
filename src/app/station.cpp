#include "app/station.h"

namespace velk {

Station::Station(Platform& platform, QObject* parent) : QObject(parent), m_platform(platform), m_rig(platform)
{
}

} // namespace velk
