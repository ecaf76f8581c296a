#include "cw/cwsettings.h"

#include "common/quotedlist.h"
#include "common/wholefile.h"

#include <QFile>
#include <cmath>
#include <optional>

namespace velk {

namespace {

// The file's values one after another, whatever the line breaks; stops at a malformed line.
class Values
{
public:
    explicit Values(const QByteArray& bytes) : m_reader(bytes) {}

    std::optional<QString> next()
    {
        while (m_pending.isEmpty()) {
            if (m_broken || m_reader.atEnd()) {
                return std::nullopt;
            }
            const std::optional<QStringList> line = m_reader.nextLine();
            if (!line) {
                m_broken = true;
                return std::nullopt;
            }
            m_pending = *line;
        }
        return m_pending.takeFirst();
    }

    void stop() { m_broken = true; }

private:
    QuotedListReader m_reader;
    QStringList m_pending;
    bool m_broken = false;
};

bool readText(Values& in, QString& field)
{
    const std::optional<QString> value = in.next();
    if (!value) {
        return false;
    }
    field = *value;
    return true;
}

std::optional<int> readSmallNumber(Values& in)
{
    const std::optional<QString> value = in.next();
    if (!value) {
        return std::nullopt;
    }
    const std::optional<double> number = parseSettingsNumber(value->trimmed());
    if (!number || !std::isfinite(*number) || std::abs(*number) > 1000) {
        in.stop();
        return std::nullopt;
    }
    return static_cast<int>(std::nearbyint(*number));
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
    Values in(bytes);
    auto& messages = settings.messages;
    bool more = true;
    for (int i = 0; i < 9 && more; ++i) {
        more = readText(in, messages[static_cast<size_t>(i)]);
    }
    more = more && readText(in, settings.comPort) && readText(in, settings.speed) &&
           readText(in, messages[9]) && readText(in, messages[10]) && readText(in, settings.wordSpace);
    if (more) {
        const std::optional<int> type = readSmallNumber(in);
        more = type.has_value();
        if (type) {
            settings.keyerType = keyerTypeFromNumber(*type);
        }
    }
    more = more && readText(in, settings.parallelAddress);
    if (more) {
        const std::optional<int> shown = readSmallNumber(in);
        more = shown.has_value();
        if (shown) {
            settings.showText = *shown != 0;
        }
    }
    if (more) {
        readText(in, settings.repeatSeconds);
    }
    if (messages[8].isEmpty()) {
        messages[8] = defaultTestMessage;
    }
    return settings;
}

QByteArray cwSettingsBytes(const CwSettings& settings)
{
    QuotedListWriter out;
    for (int i = 0; i < 9; ++i) {
        out.text(settings.messages[static_cast<size_t>(i)]).endLine();
    }
    out.text(settings.comPort).endLine();
    out.text(settings.speed).endLine();
    out.text(settings.messages[9]).endLine();
    out.text(settings.messages[10]).endLine();
    out.text(settings.wordSpace).endLine();
    out.integer(static_cast<int>(settings.keyerType)).endLine();
    out.text(settings.parallelAddress).endLine();
    out.integer(settings.showText ? 1 : 0).endLine();
    out.text(settings.repeatSeconds).endLine();
    return out.bytes();
}

bool saveCwSettings(const QString& path, const CwSettings& settings, QString& error)
{
    const auto failure = replaceFileContents(path, cwSettingsBytes(settings));
    if (failure) {
        error = *failure;
        return false;
    }
    return true;
}

CwSettings loadCwSettings(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    // A settings file is a few hundred bytes; anything past 64 KiB is not ours.
    return parseCwSettings(file.read(64 * 1024));
}

} // namespace velk
