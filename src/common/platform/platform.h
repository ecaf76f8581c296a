#pragma once
// Platform: the bundle of platform services main() builds once and hands to the windows.
// Owns nothing; the caller keeps the services alive for the whole run.
#include "common/platform/clock.h"
#include "common/platform/devices.h"
#include "common/platform/environment.h"
#include "common/platform/prompter.h"
#include "common/platform/settingsstore.h"

namespace velk {

struct Platform
{
    Prompter& prompter;
    Clock& clock;
    SettingsStore& settings;
    Environment& environment;
    Devices& devices;
};

} // namespace velk
