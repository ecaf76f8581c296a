#include "log/ui/preferenceprompts.h"

#include "common/platform/platform.h"
#include "log/logsession.h"

#include <QCoreApplication>

namespace velk {

void savePreferencesReporting(Platform& platform, const LogSession& session)
{
    const WriteResult saved = savePreferences(session.folders.preferencesFile(), session.prefs);
    if (!saved.ok) {
        platform.prompter.message(saved.error,
                                  QCoreApplication::translate("velk", "Unable to save the preferences"),
                                  MessageIcon::Warning);
    }
}

} // namespace velk
