#include "rig/rigsettings.h"

#include "common/quotedlist.h"
#include "common/wholefile.h"

#include <QFile>

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

// The values of the file in order, whatever lines they sit on.
QStringList fileValues(const QByteArray& bytes)
{
    QStringList values;
    QuotedListReader reader(bytes);
    while (!reader.atEnd()) {
        const auto line = reader.nextLine();
        if (!line) {
            break;
        }
        values << *line;
    }
    return values;
}

bool oneLetterOf(const QString& text, const char* allowed, char& out)
{
    if (text.size() != 1) {
        return false;
    }
    const char letter = text.at(0).toLatin1();
    for (const char* p = allowed; *p; ++p) {
        if (*p == letter) {
            out = letter;
            return true;
        }
    }
    return false;
}

bool intIn(const QString& text, int low, int high, int& out)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < low || value > high) {
        return false;
    }
    out = value;
    return true;
}

bool applyField(int index, const QString& value, RigSettings& s)
{
    switch (index) {
    case 0: {
        int baud = 0;
        if (!intIn(value, 1200, 56000, baud)) {
            return false;
        }
        s.baudText = paddedBaudText(baud);
        return true;
    }
    case 1:
        return oneLetterOf(value, "NOE", s.parity);
    case 2:
        return intIn(value, 7, 8, s.dataBits);
    case 3:
        return intIn(value, 1, 2, s.stopBits);
    case 4:
        s.modeQuery = value.left(200);
        return true;
    case 5:
        s.frequencyQuery = value.left(200);
        return true;
    case 6:
        return true; // the port settings text is derived from lines 1-4
    case 7:
        return intIn(value, 1, 10, s.commPort);
    case 8:
        return oneLetterOf(value, "NRD", s.connectionPower);
    case 9:
        return oneLetterOf(value, "FMSR", s.pollRate);
    case 10:
        s.rigType = value.left(40);
        return true;
    case 11:
    case 12: {
        int flag = 0;
        if (!intIn(value, 0, 1, flag)) {
            return false;
        }
        (index == 11 ? s.sendAsHex : s.useFrequency) = flag == 1;
        return true;
    }
    case 13: {
        int source = 0;
        if (!intIn(value, 1, 3, source)) {
            return false;
        }
        s.modeSource = static_cast<ModeSource>(source);
        return true;
    }
    default:
        return false;
    }
}

} // namespace

int parseRigSettings(const QByteArray& bytes, RigSettings& settings)
{
    const QStringList values = fileValues(bytes);
    int read = 0;
    for (; read < 14 && read < values.size(); ++read) {
        if (!applyField(read, values.at(read), settings)) {
            break;
        }
    }
    return read;
}

QByteArray encodeRigSettings(const RigSettings& s)
{
    QuotedListWriter out;
    out.text(s.baudText).endLine();
    out.text(QString(QLatin1Char(s.parity))).endLine();
    out.text(QString::number(s.dataBits)).endLine();
    out.text(QString::number(s.stopBits)).endLine();
    out.text(s.modeQuery).endLine();
    out.text(s.frequencyQuery).endLine();
    out.text(portSettingsText(s)).endLine();
    out.integer(s.commPort).endLine();
    out.text(QString(QLatin1Char(s.connectionPower))).endLine();
    out.text(QString(QLatin1Char(s.pollRate))).endLine();
    out.text(s.rigType).endLine();
    out.integer(s.sendAsHex ? 1 : 0).endLine();
    out.integer(s.useFrequency ? 1 : 0).endLine();
    out.integer(static_cast<int>(s.modeSource)).endLine();
    return out.bytes();
}

bool saveRigSettings(const QString& path, const RigSettings& settings, QString* error)
{
    if (const auto cause = replaceFileContents(path, encodeRigSettings(settings))) {
        if (error) {
            *error = *cause;
        }
        return false;
    }
    return true;
}

bool loadRigSettings(const QString& path, RigSettings& settings)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    // A settings file is a few hundred bytes; anything past 64 KiB is not ours.
    parseRigSettings(file.read(64 * 1024), settings);
    return true;
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
