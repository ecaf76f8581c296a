#include "spots/spotsettings.h"

#include "common/quotedlist.h"
#include "common/wholefile.h"

#include <QDir>
#include <QFile>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

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

std::optional<int> integerOf(const QString& text)
{
    const auto number = parseSettingsNumber(text);
    // A huge or fractional number is no port or rate; casting it would be undefined.
    if (!number ||
        !(*number >= std::numeric_limits<int>::min() && *number <= std::numeric_limits<int>::max()) ||
        *number != std::trunc(*number)) {
        return std::nullopt;
    }
    return static_cast<int>(*number);
}

} // namespace

SpotSettings parseSpotSettings(const QByteArray& bytes, SpotSettings defaults)
{
    SpotSettings s = std::move(defaults);
    using Apply = std::function<bool(const QString&)>;
    const auto text = [](QString& field) -> Apply {
        return [&field](const QString& value) {
            field = value;
            return true;
        };
    };
    const auto integer = [](int& field, int low, int high) -> Apply {
        return [&field, low, high](const QString& value) {
            const auto number = integerOf(value);
            if (!number || *number < low || *number > high) {
                return false;
            }
            field = *number;
            return true;
        };
    };
    const std::vector<Apply> fields = {
        text(s.baud),
        text(s.parity),
        text(s.dataBits),
        text(s.stopBits),
        integer(s.commPort, 1, 10),
        text(s.power),
        [&s](const QString& value) {
            s.source = spotSourceFromName(value);
            return true;
        },
        integer(s.convertToHex, 0, 1),
        integer(s.handshaking, 1, 4),
        integer(s.listDxOnly, 0, 1),
        [&s](const QString& value) {
            if (value.compare(QLatin1String("#TRUE#"), Qt::CaseInsensitive) == 0) {
                s.listMode = true;
            } else if (value.compare(QLatin1String("#FALSE#"), Qt::CaseInsensitive) == 0) {
                s.listMode = false;
            } else {
                return false;
            }
            return true;
        },
        text(s.commandHex),
        text(s.telnetPort),
        text(s.telnetHost),
    };
    QuotedListReader reader(bytes);
    for (const Apply& apply : fields) {
        if (reader.atEnd()) {
            break;
        }
        const auto values = reader.nextLine();
        if (!values || values->size() != 1 || !apply(values->first())) {
            break;
        }
    }
    return s;
}

QByteArray encodeSpotSettings(const SpotSettings& s)
{
    QuotedListWriter out;
    out.text(s.baud).endLine();
    out.text(s.parity).endLine();
    out.text(s.dataBits).endLine();
    out.text(s.stopBits).endLine();
    out.integer(s.commPort).endLine();
    out.text(s.power).endLine();
    out.text(spotSourceName(s.source)).endLine();
    out.integer(s.convertToHex).endLine();
    out.integer(s.handshaking).endLine();
    out.integer(s.listDxOnly).endLine();
    QByteArray bytes = out.bytes();
    bytes += s.listMode ? "#TRUE#\r\n" : "#FALSE#\r\n";
    QuotedListWriter rest;
    rest.text(s.commandHex).endLine();
    rest.text(s.telnetPort).endLine();
    rest.text(s.telnetHost).endLine();
    return bytes + rest.bytes();
}

SpotSettings loadSpotSettings(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    // A settings file is a few hundred bytes; anything far larger is not ours.
    return parseSpotSettings(file.read(64 * 1024));
}

bool saveSpotSettings(const QString& path, const SpotSettings& settings, QString& error)
{
    const QByteArray bytes = encodeSpotSettings(settings);
    if (const auto cause = replaceFileContents(path, bytes)) {
        error = QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), *cause);
        return false;
    }
    return true;
}

} // namespace velk
