#include "spots/spotsettings.h"

#include "common/settingsfile.h"

#include <QDir>

namespace velk {

QString spotSourceName(SpotSource source)
{
    switch (source) {
    case SpotSource::Tnc:
        return QStringLiteral("TNC");
    case SpotSource::Telnet:
        return QStringLiteral("Telnet");
    case SpotSource::Agw:
        return QStringLiteral("AGW Packet Engine");
    case SpotSource::None:
        break;
    }
    return QStringLiteral("None");
}

SpotSource spotSourceFromName(const QString& name)
{
    for (SpotSource source : {SpotSource::Tnc, SpotSource::Telnet, SpotSource::Agw}) {
        if (spotSourceName(source).compare(name, Qt::CaseInsensitive) == 0) {
            return source;
        }
    }
    return SpotSource::None;
}

namespace {

// One value a line; the first missing or damaged value ends the reading.
const SettingsFile<SpotSettings>& spotFile()
{
    using S = SpotSettings;
    const auto whole = [](std::int64_t low, std::int64_t high) {
        return FieldRules{.syntax = NumberSyntax::WholeDecimal, .readable = IntegerRange{low, high}};
    };
    const FieldAccess<S> source{
        [](const S& s) { return SettingValue{spotSourceName(s.source)}; },
        [](S& s, const SettingValue& value) { s.source = spotSourceFromName(std::get<QString>(value)); }};
    static const SettingsFile<SpotSettings> file(
        {.layout = ValueLayout::OneValuePerLine},
        {
            {"baud rate", FieldKind::Text, member(&S::baud)},
            {"parity", FieldKind::Text, member(&S::parity)},
            {"data bits", FieldKind::Text, member(&S::dataBits)},
            {"stop bits", FieldKind::Text, member(&S::stopBits)},
            {"comm port", FieldKind::Integer, member(&S::commPort), whole(1, 10)},
            {"connection power", FieldKind::Text, member(&S::power)},
            {"spot source", FieldKind::Text, source},
            {"convert to hex", FieldKind::Integer, member(&S::convertToHex), whole(0, 1)},
            {"handshaking", FieldKind::Integer, member(&S::handshaking), whole(1, 4)},
            {"list DX only", FieldKind::Integer, member(&S::listDxOnly), whole(0, 1)},
            {"spot list", FieldKind::Truth, member(&S::listMode)},
            {"command byte", FieldKind::Text, member(&S::commandHex)},
            {"telnet port", FieldKind::Text, member(&S::telnetPort)},
            {"telnet host", FieldKind::Text, member(&S::telnetHost)},
        });
    return file;
}

} // namespace

SpotSettings parseSpotSettings(const QByteArray& bytes, SpotSettings defaults)
{
    SpotSettings settings = std::move(defaults);
    spotFile().read(bytes, settings);
    return settings;
}

QByteArray encodeSpotSettings(const SpotSettings& settings)
{
    return spotFile().write(settings);
}

SpotSettings loadSpotSettings(const QString& path)
{
    SpotSettings settings;
    spotFile().load(path, settings);
    return settings;
}

bool saveSpotSettings(const QString& path, const SpotSettings& settings, QString& error)
{
    if (const auto cause = spotFile().save(path, settings)) {
        error = QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), *cause);
        return false;
    }
    return true;
}

} // namespace velk
