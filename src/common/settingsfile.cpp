#include "common/settingsfile.h"

#include "common/wholefile.h"

#include <QFile>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace velk {

namespace {

// A number far outside every range saturates rather than overflow the conversion.
std::int64_t saturated(double value)
{
    constexpr double limit = 9.0e18;
    return static_cast<std::int64_t>(std::clamp(value, -limit, limit));
}

std::optional<std::int64_t> parseInteger(const QString& text, NumberSyntax syntax)
{
    if (syntax == NumberSyntax::Digits) {
        bool ok = false;
        const int value = text.trimmed().toInt(&ok);
        return ok ? std::optional<std::int64_t>(value) : std::nullopt;
    }
    const std::optional<double> number = parseSettingsNumber(text);
    if (!number || !std::isfinite(*number)) {
        return std::nullopt;
    }
    if (syntax == NumberSyntax::WholeDecimal) {
        if (*number != std::trunc(*number)) {
            return std::nullopt;
        }
        return saturated(*number);
    }
    return saturated(std::nearbyint(*number));
}

std::optional<SettingValue> readInteger(FieldKind kind, const FieldRules& rules, const QString& text,
                                        const SettingValue& current)
{
    std::optional<std::int64_t> number = parseInteger(text, rules.syntax);
    if (!number) {
        return std::nullopt;
    }
    if (rules.readable && (*number < rules.readable->low || *number > rules.readable->high)) {
        return std::nullopt;
    }
    if (rules.clampTo) {
        number = std::clamp(*number, rules.clampTo->low, rules.clampTo->high);
    }
    if (!rules.accepted.isEmpty() && !rules.accepted.contains(*number)) {
        return current;
    }
    if (kind == FieldKind::Flag) {
        return std::int64_t{*number != 0 ? 1 : 0};
    }
    return *number;
}

std::optional<SettingValue> readText(const FieldRules& rules, const QString& text,
                                     const SettingValue& fallback)
{
    QString value = rules.trimmed ? text.trimmed() : text;
    if (rules.maxLength > 0) {
        value.truncate(rules.maxLength);
    }
    if (value.isEmpty() && rules.emptyReadsAsDefault) {
        return fallback;
    }
    return value;
}

std::optional<SettingValue> readReal(const QString& text)
{
    const std::optional<double> number = parseSettingsNumber(text);
    // Stored as a single: a larger value could not be held.
    if (!number || !std::isfinite(*number) ||
        std::fabs(*number) > static_cast<double>(std::numeric_limits<float>::max())) {
        return std::nullopt;
    }
    return *number;
}

std::optional<SettingValue> readLetter(const FieldRules& rules, const QString& text)
{
    if (text.size() != 1) {
        return std::nullopt;
    }
    const char letter = text.at(0).toLatin1();
    if (letter == '\0' || std::strchr(rules.letters, letter) == nullptr) {
        return std::nullopt;
    }
    return text;
}

std::optional<SettingValue> readTruth(const QString& text)
{
    if (text.compare(QLatin1String("#TRUE#"), Qt::CaseInsensitive) == 0) {
        return std::int64_t{1};
    }
    if (text.compare(QLatin1String("#FALSE#"), Qt::CaseInsensitive) == 0) {
        return std::int64_t{0};
    }
    return std::nullopt;
}

} // namespace

QStringList SettingsReadReport::faultyFields() const
{
    QStringList names;
    for (const SettingsFault& fault : faults) {
        names << fault.field;
    }
    return names;
}

QString settingsLoadMessage(const QString& fileName, const SettingsLoad& load)
{
    switch (load.state) {
    case SettingsFileState::Missing:
        return QStringLiteral("%1 is missing: the default settings are in use.").arg(fileName);
    case SettingsFileState::Unreadable:
        return QStringLiteral("%1 cannot be read: the default settings are in use.").arg(fileName);
    case SettingsFileState::Read:
        break;
    }
    if (load.report.faults.isEmpty()) {
        return {};
    }
    QStringList fields;
    for (const SettingsFault& fault : load.report.faults) {
        fields << (fault.line > 0 ? QStringLiteral("%1 (line %2)").arg(fault.field).arg(fault.line)
                                  : fault.field);
    }
    return QStringLiteral("%1: could not read %2.").arg(fileName, fields.join(QStringLiteral(", ")));
}

namespace settingsfile {

ValueSource::ValueSource(const QByteArray& bytes, ValueLayout layout) : m_reader(bytes), m_layout(layout) {}

ValueSource::Status ValueSource::next(QString& value)
{
    while (m_pending.isEmpty()) {
        if (m_damaged) {
            return Status::DamagedLine;
        }
        if (m_reader.atEnd()) {
            return Status::End;
        }
        const std::optional<QStringList> line = m_reader.nextLine();
        if (!line) {
            m_damaged = true; // where the values after it begin is unknown
            return Status::DamagedLine;
        }
        if (m_layout == ValueLayout::OneValuePerLine && line->size() != 1) {
            return Status::BadValue;
        }
        m_pending = *line;
    }
    value = m_pending.takeFirst();
    return Status::Value;
}

std::optional<SettingValue> readValue(FieldKind kind, const FieldRules& rules, const QString& text,
                                      const SettingValue& current, const SettingValue& fallback)
{
    switch (kind) {
    case FieldKind::Text:
        return readText(rules, text, fallback);
    case FieldKind::Integer:
    case FieldKind::Flag:
        return readInteger(kind, rules, text, current);
    case FieldKind::Real:
        return readReal(text);
    case FieldKind::Letter:
        return readLetter(rules, text);
    case FieldKind::Truth:
        return readTruth(text);
    }
    return std::nullopt;
}

void writeValue(QuotedListWriter& out, FieldKind kind, const FieldRules& rules, const SettingValue& value)
{
    switch (kind) {
    case FieldKind::Text:
    case FieldKind::Letter: {
        const QString& text = std::get<QString>(value);
        out.text(rules.trimmed ? text.trimmed() : text);
        return;
    }
    case FieldKind::Integer: {
        const std::int64_t number = std::get<std::int64_t>(value);
        if (rules.quoted) {
            out.text(QString::number(number).leftJustified(rules.width, QLatin1Char(' '), rules.width > 0));
        } else {
            out.integer(number);
        }
        return;
    }
    case FieldKind::Flag:
        out.integer(std::get<std::int64_t>(value) != 0 ? 1 : 0);
        return;
    case FieldKind::Real:
        out.number(std::get<double>(value));
        return;
    case FieldKind::Truth:
        out.word(std::get<std::int64_t>(value) != 0 ? QStringLiteral("#TRUE#") : QStringLiteral("#FALSE#"));
        return;
    }
}

bool unstorable(const QString& text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        return c == QLatin1Char('"') || c == QLatin1Char('\r') || c == QLatin1Char('\n') ||
               c.unicode() > 0xFF;
    });
}

std::optional<QByteArray> readFile(const QString& path, qint64 maxBytes, SettingsFileState& state)
{
    QFile file(path);
    if (!file.exists()) {
        state = SettingsFileState::Missing;
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        state = SettingsFileState::Unreadable;
        return std::nullopt;
    }
    const QByteArray bytes = maxBytes > 0 ? file.read(maxBytes) : file.readAll();
    if (file.error() != QFileDevice::NoError) {
        state = SettingsFileState::Unreadable;
        return std::nullopt;
    }
    state = SettingsFileState::Read;
    return bytes;
}

std::optional<QString> writeFile(const QString& path, const QByteArray& bytes)
{
    return replaceFileContents(path, bytes);
}

} // namespace settingsfile

} // namespace velk
