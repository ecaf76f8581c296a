#include "app/station.h"

namespace velk {

Station::Station(Platform& platform, QObject* parent)
    : QObject(parent), m_platform(platform), m_spots(platform, m_session)
{
}

} // namespace velk
