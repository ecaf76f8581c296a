#include "voice/voicesettings.h"

#include "common/quotedlist.h"
#include "common/wholefile.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <deque>

namespace velk {

namespace {

constexpr int valueCount = 13;

bool storable(const QString& value)
{
    if (value.contains(QLatin1Char('"'))) {
        return false;
    }
    return std::all_of(value.cbegin(), value.cend(), [](QChar c) { return c.unicode() <= 0xFF; });
}

} // namespace

VoiceSettings parseVoiceSettings(const QByteArray& bytes, bool* ok)
{
    VoiceSettings settings;
    QuotedListReader reader(bytes);
    std::deque<QString> values;
    bool readable = true;
    for (int index = 0; index < valueCount; ++index) {
        if (values.empty()) {
            if (reader.atEnd()) {
                break;
            }
            const std::optional<QStringList> line = reader.nextLine();
            if (!line) {
                readable = false;
                break;
            }
            values.insert(values.end(), line->cbegin(), line->cend());
            if (values.empty()) {
                --index;
                continue;
            }
        }
        const QString value = values.front();
        values.pop_front();
        if (index < 9) {
            settings.files[static_cast<size_t>(index)] = value.trimmed();
        } else if (index == 9) {
            settings.pttPort = value;
        } else if (index == 10) {
            const std::optional<double> line = parseSettingsNumber(value.trimmed());
            if (!line) {
                readable = false;
                break;
            }
            settings.pttLine = *line == 1 ? PttLine::Dtr : *line == 2 ? PttLine::Parallel : PttLine::Rts;
        } else if (index == 11) {
            settings.loopSeconds = value;
        } else {
            settings.parallelAddress = value;
        }
    }
    if (ok != nullptr) {
        *ok = readable;
    }
    return settings;
}

QByteArray encodeVoiceSettings(const VoiceSettings& settings)
{
    QuotedListWriter out;
    for (const QString& file : settings.files) {
        out.text(file.trimmed()).endLine();
    }
    out.text(settings.pttPort).endLine();
    out.integer(static_cast<int>(settings.pttLine)).endLine();
    out.text(settings.loopSeconds).endLine();
    out.text(settings.parallelAddress).endLine();
    return out.bytes();
}

VoiceSettingsLoad loadVoiceSettings(const QString& path, VoiceSettings& settings)
{
    QFile file(path);
    if (!file.exists()) {
        return VoiceSettingsLoad::Missing;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return VoiceSettingsLoad::Unreadable;
    }
    // A settings file of thirteen lines; anything much larger is not one.
    const QByteArray bytes = file.read(1024 * 1024);
    if (file.error() != QFileDevice::NoError) {
        return VoiceSettingsLoad::Unreadable;
    }
    bool ok = false;
    const VoiceSettings read = parseVoiceSettings(bytes, &ok);
    if (!ok) {
        return VoiceSettingsLoad::Unreadable;
    }
    settings = read;
    return VoiceSettingsLoad::Loaded;
}

WriteResult saveVoiceSettings(const QString& path, const VoiceSettings& settings)
{
    const auto failure = [&path](const QString& cause) {
        return WriteResult{false,
                           QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), cause)};
    };
    QStringList values(settings.files.cbegin(), settings.files.cend());
    values << settings.pttPort << settings.loopSeconds << settings.parallelAddress;
    for (const QString& value : values) {
        if (!storable(value)) {
            return failure(
                QStringLiteral("\"%1\" holds a double quote or a character the file cannot hold").arg(value));
        }
    }
    const QByteArray bytes = encodeVoiceSettings(settings);
    if (const auto cause = replaceFileContents(path, bytes)) {
        return failure(*cause);
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
