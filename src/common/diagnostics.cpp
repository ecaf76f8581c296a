#include "common/diagnostics.h"

// Debug messages stay off unless QT_LOGGING_RULES asks for them; warnings always reach stderr.
Q_LOGGING_CATEGORY(velkLog, "velk.log", QtInfoMsg)
Q_LOGGING_CATEGORY(velkRig, "velk.rig", QtInfoMsg)
Q_LOGGING_CATEGORY(velkCw, "velk.cw", QtInfoMsg)
Q_LOGGING_CATEGORY(velkVoice, "velk.voice", QtInfoMsg)
Q_LOGGING_CATEGORY(velkSpots, "velk.spots", QtInfoMsg)
Q_LOGGING_CATEGORY(velkRtty, "velk.rtty", QtInfoMsg)
