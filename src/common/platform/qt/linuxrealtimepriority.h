#pragma once
// LinuxRealtimePriority: SCHED_FIFO for the calling thread where the process may use it; else
// asks RealtimeKit (org.freedesktop.RealtimeKit1 on the system bus), as the sound servers do.
#include "common/platform/realtimepriority.h"

namespace velk {

class LinuxRealtimePriority : public RealtimePriority
{
public:
    ThreadPriority raiseCurrentThread(int level) override;
};

} // namespace velk
