#include "cw/cwsettings.h"

#include "common/settingsfile.h"

namespace velk {

namespace {

// Values in file order whatever the line breaks; reading stops at a malformed line or a value
// that does not read.
const SettingsFile<CwSettings>& cwFile()
{
    using S = CwSettings;
    const auto message = [](const char* name, std::size_t index) {
        return SettingsField<S>{name, FieldKind::Text, element(&S::messages, index)};
    };
    const IntegerRange small{-1000, 1000};
    static const SettingsFile<CwSettings> file(
        {}, {
                message("F1 message", 0),
                message("F2 message", 1),
                message("F3 message", 2),
                message("F4 message", 3),
                message("F5 message", 4),
                message("F6 message", 5),
                message("F7 message", 6),
                message("F8 message", 7),
                // An empty F9 is the test message.
                {"F9 message", FieldKind::Text, element(&S::messages, 8), {.emptyReadsAsDefault = true}},
                {"port", FieldKind::Text, member(&S::comPort)},
                {"speed", FieldKind::Text, member(&S::speed)},
                message("F10 message", 9),
                message("F11 message", 10),
                {"word space", FieldKind::Text, member(&S::wordSpace)},
                // An unknown keyer type counts as none.
                {"keyer type",
                 FieldKind::Integer,
                 member(&S::keyerType),
                 {.readable = small, .accepted = {0, 1, 2, 3, 5}}},
                {"parallel port address", FieldKind::Text, member(&S::parallelAddress)},
                {"show text", FieldKind::Flag, member(&S::showText), {.readable = small}},
                {"repeat seconds", FieldKind::Text, member(&S::repeatSeconds)},
            });
    return file;
}

} // namespace

KeyerType keyerTypeFromNumber(int number)
{
    switch (number) {
    case 1:
        return KeyerType::Rts;
    case 2:
        return KeyerType::Dtr;
    case 3:
        return KeyerType::Parallel;
    case 5:
        return KeyerType::WinKey;
    default:
        return KeyerType::None;
    }
}

CwSettings parseCwSettings(const QByteArray& bytes)
{
    CwSettings settings;
    cwFile().read(bytes, settings);
    return settings;
}

QByteArray cwSettingsBytes(const CwSettings& settings)
{
    return cwFile().write(settings);
}

bool saveCwSettings(const QString& path, const CwSettings& settings, QString& error)
{
    if (const auto failure = cwFile().save(path, settings)) {
        error = *failure;
        return false;
    }
    return true;
}

CwSettings loadCwSettings(const QString& path)
{
    CwSettings settings;
    cwFile().load(path, settings);
    return settings;
}

} // namespace velk
