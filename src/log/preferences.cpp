#include "log/preferences.h"

#include "common/quotedlist.h"
#include "common/wholefile.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <deque>
#include <limits>

namespace velk {

namespace {

// Reads the values in file order. Like the original's sequential reads, values are taken one
// after another whatever the line breaks; a malformed line stops the reading.
class ValueStream
{
public:
    explicit ValueStream(const QByteArray& bytes) : m_reader(bytes) {}

    // False at the end of the file (the value keeps its default) or on a malformed line.
    bool next(QString* value)
    {
        while (m_pending.empty()) {
            if (m_broken || m_reader.atEnd()) {
                return false;
            }
            const std::optional<QStringList> values = m_reader.nextLine();
            if (!values) {
                m_broken = true;
                return false;
            }
            m_pending.insert(m_pending.end(), values->cbegin(), values->cend());
        }
        *value = m_pending.front();
        m_pending.pop_front();
        return true;
    }

    bool broken() const { return m_broken; }
    void markBroken() { m_broken = true; }

private:
    QuotedListReader m_reader;
    std::deque<QString> m_pending;
    bool m_broken = false;
};

// Each reader stores into its field only when the value is sound; returns false when reading
// must stop (end of file or an unreadable value).
bool readText(ValueStream& in, QString& field)
{
    QString value;
    if (!in.next(&value)) {
        return false;
    }
    field = value;
    return true;
}

std::optional<double> readNumber(ValueStream& in)
{
    QString value;
    if (!in.next(&value)) {
        return std::nullopt;
    }
    // A number saved in quotes by some other program still counts.
    const std::optional<double> number = parseSettingsNumber(value.trimmed());
    if (!number || !std::isfinite(*number)) {
        in.markBroken();
        return std::nullopt;
    }
    return number;
}

bool readSingle(ValueStream& in, float& field)
{
    const std::optional<double> number = readNumber(in);
    if (!number) {
        return false;
    }
    if (std::fabs(*number) > static_cast<double>(std::numeric_limits<float>::max())) {
        in.markBroken();
        return false;
    }
    field = static_cast<float>(*number);
    return true;
}

bool readByte(ValueStream& in, int& field)
{
    const std::optional<double> number = readNumber(in);
    if (!number) {
        return false;
    }
    const double rounded = std::nearbyint(*number);
    if (rounded < 0.0 || rounded > 255.0) {
        in.markBroken();
        return false;
    }
    field = static_cast<int>(rounded);
    return true;
}

// Colours: &HBBGGRR, but a negative long (a system colour) is kept bit for bit.
bool readColour(ValueStream& in, std::uint32_t& field)
{
    const std::optional<double> number = readNumber(in);
    if (!number) {
        return false;
    }
    const double rounded = std::nearbyint(*number);
    if (rounded < static_cast<double>(std::numeric_limits<std::int32_t>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<std::uint32_t>::max())) {
        in.markBroken();
        return false;
    }
    field = static_cast<std::uint32_t>(static_cast<std::int64_t>(rounded));
    return true;
}

// Reads into prefs; values after the end of the file keep what prefs held. Returns false when
// a line or value could not be read.
bool parseInto(const QByteArray& bytes, Preferences& prefs)
{
    ValueStream in(bytes);
    // Stops at the first value that is missing or unreadable.
    [[maybe_unused]] const bool complete =
        readText(in, prefs.ownCall) && readText(in, prefs.ownSpc) && readSingle(in, prefs.utcOffsetHours) &&
        readText(in, prefs.mode) && readSingle(in, prefs.accumulatedSeconds) &&
        readText(in, prefs.ownCountry) && readSingle(in, prefs.ownLongitude) &&
        readSingle(in, prefs.ownLatitude) && readByte(in, prefs.formSizePercent) &&
        readColour(in, prefs.workedColour) && readColour(in, prefs.notWorkedColour) &&
        readText(in, prefs.currentBand) && readText(in, prefs.ownContinent) &&
        readText(in, prefs.ownFirstName) && readByte(in, prefs.audioFeedbackLevel) &&
        readText(in, prefs.radioType) && readByte(in, prefs.taskbar) && readByte(in, prefs.listPrevious);
    prefs.formSizePercent = std::clamp(prefs.formSizePercent, 30, 100);
    return !in.broken();
}

} // namespace

Preferences parsePreferences(const QByteArray& bytes, bool* ok)
{
    Preferences prefs;
    const bool readable = parseInto(bytes, prefs);
    if (ok != nullptr) {
        *ok = readable;
    }
    return prefs;
}

PrefLoadStatus loadPreferences(const QString& path, Preferences& prefs)
{
    QFile file(path);
    if (!file.exists()) {
        return PrefLoadStatus::Missing;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return PrefLoadStatus::Unreadable;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return PrefLoadStatus::Unreadable;
    }
    return parseInto(bytes, prefs) ? PrefLoadStatus::Loaded : PrefLoadStatus::Unreadable;
}

QByteArray encodePreferences(const Preferences& prefs)
{
    QuotedListWriter out;
    out.text(prefs.ownCall).endLine();
    out.text(prefs.ownSpc).endLine();
    out.number(prefs.utcOffsetHours).endLine();
    out.text(prefs.mode).endLine();
    out.number(prefs.accumulatedSeconds).endLine();
    out.text(prefs.ownCountry).endLine();
    out.number(prefs.ownLongitude).endLine();
    out.number(prefs.ownLatitude).endLine();
    out.integer(prefs.formSizePercent).endLine();
    out.integer(prefs.workedColour).endLine();
    out.integer(prefs.notWorkedColour).endLine();
    out.text(prefs.currentBand).endLine();
    out.text(prefs.ownContinent).endLine();
    out.text(prefs.ownFirstName).endLine();
    out.integer(prefs.audioFeedbackLevel).endLine();
    out.text(prefs.radioType).endLine();
    out.integer(prefs.taskbar).endLine();
    out.integer(prefs.listPrevious).endLine();
    return out.bytes();
}

WriteResult savePreferences(const QString& path, const Preferences& prefs)
{
    const QByteArray bytes = encodePreferences(prefs);
    if (const auto cause = replaceFileContents(path, bytes)) {
        return WriteResult{false,
                           QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), *cause)};
    }
    return {true, {}};
}

} // namespace velk
