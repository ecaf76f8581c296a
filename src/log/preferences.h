#pragma once
// Preferences: the eighteen values of VELKpref.txt, read and written in the quoted-list format.
// Writes go through a temporary file and a rename.
#include "log/contactlog.h"

#include <QString>
#include <cstdint>

namespace velk {

struct Preferences
{
    QString ownCall;
    QString ownSpc;
    float utcOffsetHours = 0.0f;
    QString mode = QStringLiteral("CW"); // "CW", "PH" or "RY"
    float accumulatedSeconds = 0.0f;
    QString ownCountry;
    float ownLongitude = 0.0f; // degrees, positive west
    float ownLatitude = 0.0f;
    int formSizePercent = 100;                // 30..100
    std::uint32_t workedColour = 0x0000C0;    // &HBBGGRR
    std::uint32_t notWorkedColour = 0x000000; // &HBBGGRR
    QString currentBand = QStringLiteral("20");
    QString ownContinent;
    QString ownFirstName;
    int audioFeedbackLevel = 0;
    QString radioType = QStringLiteral("None");
    int taskbar = 0;
    int listPrevious = 0;

    bool operator==(const Preferences&) const = default;
};

enum class PrefLoadStatus { Loaded, Missing, Unreadable };

// Reads the file; a missing value (short file) keeps the default. Missing file: defaults and
// Missing; a malformed line: Unreadable (the values before it are kept).
PrefLoadStatus loadPreferences(const QString& path, Preferences& prefs);
Preferences parsePreferences(const QByteArray& bytes, bool* ok = nullptr);
QByteArray encodePreferences(const Preferences& prefs);
WriteResult savePreferences(const QString& path, const Preferences& prefs);

} // namespace velk
