#pragma once
// Every platform fake in one place, and the Platform built over them, for tests that run a
// station, a window or a subsystem without devices, dialogs or wall-clock time.
#include "common/platform/fake/fakedevices.h"
#include "common/platform/fake/fakeplatform.h"
#include "common/platform/platform.h"

namespace velk::testing {

struct PlatformFakes
{
    FakePrompter prompter;
    FakeClock clock;
    FakeSettingsStore settings;
    FakeEnvironment environment;
    FakeDevices devices;
    Platform platform{prompter, clock, settings, environment, devices};
};

} // namespace velk::testing
