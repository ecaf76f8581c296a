#include "cw/winkeysettingsfile.h"

#include "common/settingsfile.h"
#include "cw/winkeyprotocol.h"

#include <QDir>

namespace velk {

namespace {

// One value a line; reading stops at the first line that is missing or does not read. Values
// are brought into what the device takes; an unknown pin configuration or mode is passed over.
const SettingsFile<WinKeySettings>& winKeyFile()
{
    using S = WinKeySettings;
    const IntegerRange number{-1000000, 1000000};
    const auto boxed = [number](const char* name, int S::*field, int low, int high) {
        return SettingsField<S>{name,
                                FieldKind::Integer,
                                member(field),
                                {.readable = number, .clampTo = IntegerRange{low, high}, .quoted = true}};
    };
    static const SettingsFile<WinKeySettings> file(
        {.layout = ValueLayout::OneValuePerLine},
        {
            {"port",
             FieldKind::Integer,
             member(&S::port),
             {.readable = number, .clampTo = IntegerRange{0, 10}}},
            boxed("speed", &S::speed, winkey::minSpeed, winkey::maxSpeed),
            boxed("weight", &S::weight, winkey::minWeight, winkey::maxWeight),
            boxed("lead-in", &S::leadIn, 0, winkey::maxLeadTail),
            boxed("tail", &S::tail, 0, winkey::maxLeadTail),
            boxed("ratio", &S::ratio, winkey::minRatio, winkey::maxRatio),
            {"pin configuration",
             FieldKind::Integer,
             member(&S::pinConfig),
             {.readable = number, .accepted = {8, 4, 6, 5}}},
            {"keyer mode",
             FieldKind::Integer,
             member(&S::mode),
             {.readable = number, .accepted = {0, 16, 32, 48}}},
        });
    return file;
}

} // namespace

int parseWinKeySettings(const QByteArray& bytes, WinKeySettings& settings)
{
    return winKeyFile().read(bytes, settings).fieldsRead;
}

QByteArray encodeWinKeySettings(const WinKeySettings& settings)
{
    return winKeyFile().write(settings);
}

bool loadWinKeySettings(const QString& path, WinKeySettings& settings)
{
    return static_cast<bool>(winKeyFile().load(path, settings));
}

std::optional<QString> saveWinKeySettings(const QString& path, const WinKeySettings& settings)
{
    if (const auto cause = winKeyFile().save(path, settings)) {
        return QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), *cause);
    }
    return std::nullopt;
}

} // namespace velk
