#pragma once
// Station: the running station. Holds the platform services and owns every subsystem's object:
// the log session today; the radio link, the keyer, the voice keyer, the spot feed and the RTTY
// link join it here, each publishing what the others follow as signals.
#include "common/platform/platform.h"
#include "log/logsession.h"
#include "rig/riglink.h"

#include <QObject>

namespace velk {

class Station : public QObject
{
    Q_OBJECT
public:
    explicit Station(Platform& platform, QObject* parent = nullptr);

    Platform& platform() const { return m_platform; }
    LogSession& session() { return m_session; }
    RigLink& rig() { return m_rig; }

private:
    Platform& m_platform;
    LogSession m_session;
    RigLink m_rig;
};

} // namespace velk
