#pragma once
// Diagnostics: one logging category per subsystem, all off by default. An operator switches a
// trace on with QT_LOGGING_RULES (for example "velk.rig.debug=true") and sends us what it wrote.
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(velkLog)
Q_DECLARE_LOGGING_CATEGORY(velkRig)
Q_DECLARE_LOGGING_CATEGORY(velkCw)
Q_DECLARE_LOGGING_CATEGORY(velkVoice)
Q_DECLARE_LOGGING_CATEGORY(velkSpots)
Q_DECLARE_LOGGING_CATEGORY(velkRtty)
