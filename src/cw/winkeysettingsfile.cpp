#include "cw/winkeysettingsfile.h"

#include "common/quotedlist.h"
#include "common/wholefile.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cmath>

namespace velk {

namespace {

// A value of one line: a bare or quoted whole number; nothing when the line holds anything else.
std::optional<int> wholeNumber(const QStringList& values)
{
    if (values.size() != 1) {
        return std::nullopt;
    }
    const auto number = parseSettingsNumber(values.first().trimmed());
    if (!number || !std::isfinite(*number) || std::abs(*number) > 1e6) {
        return std::nullopt;
    }
    return static_cast<int>(std::lround(*number));
}

// Pin configurations and keyer modes the window offers.
int knownPinConfig(int value, int fallback)
{
    return value == 8 || value == 4 || value == 6 || value == 5 ? value : fallback;
}

int knownMode(int value, int fallback)
{
    return value == 0 || value == 16 || value == 32 || value == 48 ? value : fallback;
}

} // namespace

int parseWinKeySettings(const QByteArray& bytes, WinKeySettings& settings)
{
    QuotedListReader reader(bytes);
    int taken = 0;
    for (int line = 1; line <= 8 && !reader.atEnd(); ++line) {
        const auto values = reader.nextLine();
        const auto number = values ? wholeNumber(*values) : std::nullopt;
        if (!number) {
            break;
        }
        switch (line) {
        case 1:
            settings.port = std::clamp(*number, 0, 10);
            break;
        case 2:
            settings.speed = winkey::clampSpeed(*number);
            break;
        case 3:
            settings.weight = winkey::clampWeight(*number);
            break;
        case 4:
            settings.leadIn = winkey::clampLeadTail(*number);
            break;
        case 5:
            settings.tail = winkey::clampLeadTail(*number);
            break;
        case 6:
            settings.ratio = winkey::clampRatio(*number);
            break;
        case 7:
            settings.pinConfig = knownPinConfig(*number, settings.pinConfig);
            break;
        case 8:
            settings.mode = knownMode(*number, settings.mode);
            break;
        }
        ++taken;
    }
    return taken;
}

QByteArray encodeWinKeySettings(const WinKeySettings& settings)
{
    QuotedListWriter out;
    out.integer(settings.port).endLine();
    out.text(QString::number(settings.speed)).endLine();
    out.text(QString::number(settings.weight)).endLine();
    out.text(QString::number(settings.leadIn)).endLine();
    out.text(QString::number(settings.tail)).endLine();
    out.text(QString::number(settings.ratio)).endLine();
    out.integer(settings.pinConfig).endLine();
    out.integer(settings.mode).endLine();
    return out.bytes();
}

bool loadWinKeySettings(const QString& path, WinKeySettings& settings)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    // The file holds eight short lines; anything far larger is not ours.
    const QByteArray bytes = file.read(64 * 1024);
    parseWinKeySettings(bytes, settings);
    return true;
}

std::optional<QString> saveWinKeySettings(const QString& path, const WinKeySettings& settings)
{
    const QByteArray bytes = encodeWinKeySettings(settings);
    if (const auto cause = replaceFileContents(path, bytes)) {
        return QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), *cause);
    }
    return std::nullopt;
}

} // namespace velk
