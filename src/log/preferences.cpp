#include "log/preferences.h"

#include "common/settingsfile.h"

#include <QDir>

#include <cstdint>
#include <limits>

namespace velk {

namespace {

// Values in file order whatever the line breaks; a malformed line or a value that does not read
// stops the reading, and the file then counts as unreadable.
const SettingsFile<Preferences>& preferencesFile()
{
    using P = Preferences;
    const IntegerRange byte{0, 255};
    // &HBBGGRR, or a negative long (a system colour) kept bit for bit.
    const FieldRules colour{.readable = IntegerRange{std::numeric_limits<std::int32_t>::min(),
                                                     std::numeric_limits<std::uint32_t>::max()}};
    static const SettingsFile<Preferences> file(
        {.maxBytes = 0},
        {
            {"own call", FieldKind::Text, member(&P::ownCall)},
            {"own state or province", FieldKind::Text, member(&P::ownSpc)},
            {"UTC offset", FieldKind::Real, member(&P::utcOffsetHours)},
            {"mode", FieldKind::Text, member(&P::mode)},
            {"operating time", FieldKind::Real, member(&P::accumulatedSeconds)},
            {"own country", FieldKind::Text, member(&P::ownCountry)},
            {"own longitude", FieldKind::Real, member(&P::ownLongitude)},
            {"own latitude", FieldKind::Real, member(&P::ownLatitude)},
            {"form size",
             FieldKind::Integer,
             member(&P::formSizePercent),
             {.readable = byte, .clampTo = IntegerRange{30, 100}}},
            {"worked colour", FieldKind::Integer, member(&P::workedColour), colour},
            {"not worked colour", FieldKind::Integer, member(&P::notWorkedColour), colour},
            {"current band", FieldKind::Text, member(&P::currentBand)},
            {"own continent", FieldKind::Text, member(&P::ownContinent)},
            {"own first name", FieldKind::Text, member(&P::ownFirstName)},
            {"audio feedback", FieldKind::Integer, member(&P::audioFeedbackLevel), {.readable = byte}},
            {"radio type", FieldKind::Text, member(&P::radioType)},
            {"taskbar", FieldKind::Integer, member(&P::taskbar), {.readable = byte}},
            {"list previous", FieldKind::Integer, member(&P::listPrevious), {.readable = byte}},
        });
    return file;
}

} // namespace

Preferences parsePreferences(const QByteArray& bytes, bool* ok)
{
    Preferences prefs;
    const SettingsReadReport report = preferencesFile().read(bytes, prefs);
    if (ok != nullptr) {
        *ok = report.faults.isEmpty();
    }
    return prefs;
}

PrefLoadStatus loadPreferences(const QString& path, Preferences& prefs)
{
    const SettingsLoad load = preferencesFile().load(path, prefs);
    if (load.state == SettingsFileState::Missing) {
        return PrefLoadStatus::Missing;
    }
    return load.clean() ? PrefLoadStatus::Loaded : PrefLoadStatus::Unreadable;
}

QByteArray encodePreferences(const Preferences& prefs)
{
    return preferencesFile().write(prefs);
}

WriteResult savePreferences(const QString& path, const Preferences& prefs)
{
    if (const auto cause = preferencesFile().save(path, prefs)) {
        return WriteResult{false,
                           QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), *cause)};
    }
    return {true, {}};
}

} // namespace velk
