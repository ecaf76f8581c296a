#include "rig/hamlibsettings.h"

#include "common/platform/environment.h"

namespace velk {

RigctldTarget rigctldTarget(const HamlibSettings& settings, const Environment& environment)
{
    const QString named = environment.value(QStringLiteral("VELK_RIGCTLD")).trimmed();
    const qsizetype colon = named.lastIndexOf(QLatin1Char(':'));
    if (colon > 0) {
        bool ok = false;
        const uint port = named.mid(colon + 1).toUInt(&ok);
        if (ok && port > 0 && port < 65536) {
            return {named.left(colon), static_cast<quint16>(port), false};
        }
    }
    return {settings.host, static_cast<quint16>(settings.port), settings.startDaemon};
}

QStringList rigctldArguments(const HamlibSettings& settings)
{
    QStringList arguments{QStringLiteral("-m"), QString::number(settings.model)};
    // The dummy and the network models have no serial device.
    if (!settings.device.trimmed().isEmpty() && settings.model > 2) {
        arguments << QStringLiteral("-r") << settings.device.trimmed() << QStringLiteral("-s")
                  << QString::number(settings.speed);
    }
    // Hamlib keeps a reading for 500 ms by default: each poll at the chosen rate asks the radio.
    arguments << QStringLiteral("-C") << QStringLiteral("cache_timeout=0") << QStringLiteral("-T")
              << settings.host << QStringLiteral("-t") << QString::number(settings.port);
    return arguments;
}

namespace {

const SettingsFile<HamlibSettings>& hamlibFile()
{
    using S = HamlibSettings;
    const auto range = [](std::int64_t low, std::int64_t high) {
        return FieldRules{.syntax = NumberSyntax::Digits, .readable = IntegerRange{low, high}};
    };
    static const SettingsFile<HamlibSettings> file(
        {.onBadValue = BadValueRule::FailsField},
        {
            {"Hamlib model", FieldKind::Integer, member(&S::model), range(1, 999999)},
            {"radio device", FieldKind::Text, member(&S::device), {.maxLength = 200, .trimmed = true}},
            {"radio speed", FieldKind::Integer, member(&S::speed), range(300, 4000000)},
            {"rigctld address",
             FieldKind::Text,
             member(&S::host),
             {.maxLength = 200, .trimmed = true, .emptyReadsAsDefault = true}},
            {"rigctld port", FieldKind::Integer, member(&S::port), range(1, 65535)},
            {"start rigctld", FieldKind::Flag, member(&S::startDaemon), range(0, 1)},
        });
    return file;
}

} // namespace

SettingsReadReport readHamlibSettings(const QByteArray& bytes, HamlibSettings& settings)
{
    return hamlibFile().read(bytes, settings);
}

QByteArray encodeHamlibSettings(const HamlibSettings& settings)
{
    return hamlibFile().write(settings);
}

bool saveHamlibSettings(const QString& path, const HamlibSettings& settings, QString* error)
{
    if (const auto cause = hamlibFile().save(path, settings)) {
        if (error) {
            *error = *cause;
        }
        return false;
    }
    return true;
}

SettingsLoad loadHamlibSettings(const QString& path, HamlibSettings& settings)
{
    return hamlibFile().load(path, settings);
}

QString HamlibModel::caption() const
{
    return QStringLiteral("%1 %2 (%3)").arg(maker, model).arg(number);
}

QList<HamlibModel> parseHamlibModels(const QByteArray& listing)
{
    // Columns sit where the heading puts them: makers and models may hold spaces.
    QList<HamlibModel> models;
    qsizetype makerAt = -1;
    qsizetype modelAt = -1;
    qsizetype versionAt = -1;
    for (const QByteArray& raw : listing.split('\n')) {
        const QString line = QString::fromLatin1(raw);
        if (line.contains(QLatin1String("Rig #")) && line.contains(QLatin1String("Mfg"))) {
            makerAt = line.indexOf(QLatin1String("Mfg"));
            modelAt = line.indexOf(QLatin1String("Model"));
            versionAt = line.indexOf(QLatin1String("Version"));
            continue;
        }
        if (makerAt < 0 || modelAt <= makerAt || versionAt <= modelAt || line.size() <= modelAt) {
            continue;
        }
        bool ok = false;
        const int number = line.left(makerAt).trimmed().toInt(&ok);
        if (!ok || number <= 0) {
            continue;
        }
        HamlibModel model{number, line.mid(makerAt, modelAt - makerAt).trimmed(),
                          line.mid(modelAt, versionAt - modelAt).trimmed()};
        if (!model.maker.isEmpty() || !model.model.isEmpty()) {
            models << model;
        }
    }
    return models;
}

} // namespace velk
