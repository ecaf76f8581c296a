#pragma once
// Saving the preferences from a window: a failed write is reported to the operator, never passed
// over. Talks to the prompter and writes VELKpref.txt.
namespace velk {

class LogSession;
struct Platform;

void savePreferencesReporting(Platform& platform, const LogSession& session);

} // namespace velk
