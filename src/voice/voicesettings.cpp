#include "voice/voicesettings.h"

#include "common/quotedlist.h"
#include "common/settingsfile.h"

#include <QDir>

#include <cmath>

namespace velk {

namespace {

// Values in file order whatever the line breaks. A damaged file changes nothing, and a value the
// file cannot hold is refused rather than written damaged.
const SettingsFile<VoiceSettings>& voiceFile()
{
    using S = VoiceSettings;
    const auto wave = [](const char* name, std::size_t index) {
        return SettingsField<S>{name, FieldKind::Text, element(&S::files, index), {.trimmed = true}};
    };
    static const SettingsFile<VoiceSettings> file(
        {.onLoad = LoadRule::WholeOrNothing, .maxBytes = 1024 * 1024, .refusesUnstorableText = true},
        {
            wave("F1 file", 0),
            wave("F2 file", 1),
            wave("F3 file", 2),
            wave("F4 file", 3),
            wave("F5 file", 4),
            wave("F6 file", 5),
            wave("F7 file", 6),
            wave("F8 file", 7),
            wave("F9 file", 8),
            {"PTT port", FieldKind::Text, member(&S::pttPort)},
            // 1 DTR, 2 parallel port, any other number RTS.
            {"PTT line", FieldKind::Integer, member(&S::pttLine), {.accepted = {0, 1, 2}}},
            {"loop seconds", FieldKind::Text, member(&S::loopSeconds)},
            {"parallel port address", FieldKind::Text, member(&S::parallelAddress)},
        });
    return file;
}

} // namespace

VoiceSettings parseVoiceSettings(const QByteArray& bytes, bool* ok)
{
    VoiceSettings settings;
    const SettingsReadReport report = voiceFile().read(bytes, settings);
    if (ok != nullptr) {
        *ok = report.faults.isEmpty();
    }
    return settings;
}

QByteArray encodeVoiceSettings(const VoiceSettings& settings)
{
    return voiceFile().write(settings);
}

VoiceSettingsLoad loadVoiceSettings(const QString& path, VoiceSettings& settings)
{
    const SettingsLoad load = voiceFile().load(path, settings);
    if (load.state == SettingsFileState::Missing) {
        return VoiceSettingsLoad::Missing;
    }
    return load.clean() ? VoiceSettingsLoad::Loaded : VoiceSettingsLoad::Unreadable;
}

WriteResult saveVoiceSettings(const QString& path, const VoiceSettings& settings)
{
    if (const auto cause = voiceFile().save(path, settings)) {
        return WriteResult{false,
                           QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), *cause)};
    }
    return {true, {}};
}

std::optional<int> loopPauseMs(const QString& text)
{
    const std::optional<double> seconds = parseSettingsNumber(text.trimmed());
    if (!seconds || !std::isfinite(*seconds) || *seconds < 0 || *seconds >= 60) {
        return std::nullopt;
    }
    return static_cast<int>(std::lround(*seconds * 1000));
}

int pttPortNumber(const QString& text)
{
    bool ok = false;
    const int number = text.trimmed().toInt(&ok);
    return ok && number > 0 ? number : 0;
}

std::optional<KeyLineTarget> pttTarget(const VoiceSettings& settings)
{
    KeyLineTarget target;
    if (settings.pttLine == PttLine::Parallel) {
        target.kind = KeyLineKind::Parallel;
        target.parallelAddress = settings.parallelAddress;
        return target;
    }
    const int port = pttPortNumber(settings.pttPort);
    if (port == 0) {
        return std::nullopt;
    }
    target.kind = settings.pttLine == PttLine::Dtr ? KeyLineKind::Dtr : KeyLineKind::Rts;
    target.comPort = port;
    return target;
}

} // namespace velk
