#include "rig/rigsettings.h"

#include "common/settingsfile.h"

namespace velk {

void applyTypeDefaults(RigSettings& settings, const RadioType& type)
{
    settings.rigType = type.name;
    if (type.baud) {
        settings.baudText = paddedBaudText(*type.baud);
    }
    if (type.dataBits) {
        settings.dataBits = *type.dataBits;
    }
    if (type.stopBits) {
        settings.stopBits = *type.stopBits;
    }
    if (type.parity) {
        settings.parity = *type.parity;
    }
    settings.frequencyQuery = type.frequencyQuery;
    settings.modeQuery = type.modeQuery;
    settings.sendAsHex = type.hexQueries;
}

QString portSettingsText(const RigSettings& settings)
{
    return settings.baudText.trimmed() + QLatin1Char(',') + QLatin1Char(settings.parity) + QLatin1Char(',') +
           QString::number(settings.dataBits) + QLatin1Char(',') + QString::number(settings.stopBits);
}

int serialBaud(const QString& baudText)
{
    const int baud = baudText.trimmed().toInt();
    // 56,000 baud has no termios rate and is 2.8 % off the radios' 57,600.
    return baud == 56000 ? 57600 : baud;
}

QString paddedBaudText(int baud)
{
    return QString::number(baud).leftJustified(5, QLatin1Char(' '), true);
}

SerialSettings serialSettings(const RigSettings& settings)
{
    SerialSettings serial;
    serial.baud = serialBaud(settings.baudText);
    serial.dataBits = settings.dataBits;
    serial.parity = settings.parity;
    serial.stopBits = settings.stopBits;
    return serial;
}

int pollPeriodMs(char pollRate)
{
    switch (pollRate) {
    case 'F':
        return 100;
    case 'S':
        return 2000;
    case 'R':
        return 10000;
    default:
        return 500;
    }
}

namespace {

// Values in file order whatever the line breaks. A value that does not read fails only its own
// field: a damaged line 1 must not silence the radio.
const SettingsFile<RigSettings>& rigFile()
{
    using S = RigSettings;
    const auto digits = [](std::int64_t low, std::int64_t high, bool quoted) {
        return FieldRules{
            .syntax = NumberSyntax::Digits, .readable = IntegerRange{low, high}, .quoted = quoted};
    };
    FieldRules baudRules = digits(1200, 56000, true);
    baudRules.width = 5;
    const FieldAccess<S> baud{
        [](const S& s) { return SettingValue{std::int64_t{s.baudText.trimmed().toInt()}}; },
        [](S& s, const SettingValue& value) {
            s.baudText = paddedBaudText(static_cast<int>(std::get<std::int64_t>(value)));
        }};
    // Written for other programs; read back from lines 1-4.
    const FieldAccess<S> portSettings{[](const S& s) { return SettingValue{portSettingsText(s)}; }, nullptr};
    static const SettingsFile<RigSettings> file(
        {.onBadValue = BadValueRule::FailsField},
        {
            {"baud rate", FieldKind::Integer, baud, baudRules},
            {"parity", FieldKind::Letter, member(&S::parity), {.letters = "NOE"}},
            {"data bits", FieldKind::Integer, member(&S::dataBits), digits(7, 8, true)},
            {"stop bits", FieldKind::Integer, member(&S::stopBits), digits(1, 2, true)},
            {"mode query", FieldKind::Text, member(&S::modeQuery), {.maxLength = 200}},
            {"frequency query", FieldKind::Text, member(&S::frequencyQuery), {.maxLength = 200}},
            {"port settings", FieldKind::Text, portSettings},
            {"comm port", FieldKind::Integer, member(&S::commPort), digits(1, 10, false)},
            {"connection power", FieldKind::Letter, member(&S::connectionPower), {.letters = "NRD"}},
            {"polling rate", FieldKind::Letter, member(&S::pollRate), {.letters = "FMSR"}},
            {"radio type", FieldKind::Text, member(&S::rigType), {.maxLength = 40}},
            {"convert to hex", FieldKind::Flag, member(&S::sendAsHex), digits(0, 1, false)},
            {"use frequency", FieldKind::Flag, member(&S::useFrequency), digits(0, 1, false)},
            {"mode by", FieldKind::Integer, member(&S::modeSource), digits(1, 3, false)},
        });
    return file;
}

} // namespace

int parseRigSettings(const QByteArray& bytes, RigSettings& settings)
{
    return readRigSettings(bytes, settings).fieldsRead;
}

SettingsReadReport readRigSettings(const QByteArray& bytes, RigSettings& settings)
{
    return rigFile().read(bytes, settings);
}

QByteArray encodeRigSettings(const RigSettings& settings)
{
    return rigFile().write(settings);
}

bool saveRigSettings(const QString& path, const RigSettings& settings, QString* error)
{
    if (const auto cause = rigFile().save(path, settings)) {
        if (error) {
            *error = *cause;
        }
        return false;
    }
    return true;
}

SettingsLoad loadRigSettings(const QString& path, RigSettings& settings)
{
    return rigFile().load(path, settings);
}

namespace {

int hexDigit(QChar c)
{
    const char ch = c.toLatin1();
    if (ch >= '0' && ch <= '9') {
        return ch - '0';
    }
    if (ch >= 'A' && ch <= 'F') {
        return ch - 'A' + 10;
    }
    if (ch >= 'a' && ch <= 'f') {
        return ch - 'a' + 10;
    }
    return -1;
}

QByteArray pairsToBytes(const QString& text, int stride)
{
    QByteArray bytes;
    for (qsizetype i = 0; i + 1 < text.size(); i += stride) {
        const int high = hexDigit(text.at(i));
        const int low = hexDigit(text.at(i + 1));
        if (high >= 0 && low >= 0) {
            bytes.append(static_cast<char>(high * 16 + low));
        }
    }
    return bytes;
}

} // namespace

QByteArray spacedHexToBytes(const QString& text)
{
    return pairsToBytes(text, 3);
}

QByteArray compactHexToBytes(const QString& text)
{
    return pairsToBytes(text, 2);
}

QString bytesToSpacedHex(const QByteArray& bytes)
{
    QString out;
    for (const char byte : bytes) {
        out += QStringLiteral("%1 ").arg(static_cast<unsigned char>(byte), 2, 16, QLatin1Char('0')).toUpper();
    }
    return out;
}

QString bytesToCompactHex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex().toUpper());
}

} // namespace velk
