#pragma once
// The settings-file codec: each settings file is declared once as a table of fields, and that one
// table both reads and writes it in the quoted-list style. Talks to the quoted-list reader and
// writer and, for load and save, to the disk (whole-file rewrites through a temporary file).
#include "common/quotedlist.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <type_traits>
#include <variant>

namespace velk {

enum class FieldKind {
    Text,    // quoted text
    Integer, // a whole number, bare (or quoted when the rules say so)
    Real,    // a single-precision number, bare, in its shortest text
    Flag,    // a number, any but 0 meaning set; written 1 or 0
    Letter,  // one letter of a fixed set, quoted
    Truth,   // #TRUE# or #FALSE#, as Basic writes a Boolean
};

// How the text of an Integer or Flag becomes a number.
enum class NumberSyntax {
    Decimal,      // any decimal number, rounded half to even ("2.5" is 2)
    WholeDecimal, // a decimal number without a fraction ("3" or "3.0", not "3.5")
    Digits,       // an optional sign and digits only ("+8", not "8.0")
};

struct IntegerRange
{
    std::int64_t low = 0;
    std::int64_t high = 0;
};

// What a field accepts; everything else in it stays at its default.
struct FieldRules
{
    // Integer and Flag.
    NumberSyntax syntax = NumberSyntax::Decimal;
    std::optional<IntegerRange> readable = {}; // outside: the value cannot be read
    std::optional<IntegerRange> clampTo = {};  // a readable value outside is moved to the nearer edge
    QList<std::int64_t> accepted = {};         // when given, other values are passed over
    bool quoted = false;                       // an Integer written in quotes
    int width = 0;                             // ... and padded with spaces to this width
    // Text.
    int maxLength = 0;                // longer values are cut (0: no limit)
    bool trimmed = false;             // blanks around the value are dropped, read and written
    bool emptyReadsAsDefault = false; // an empty value gives the field its default
    // Letter.
    const char* letters = "";
};

// One value as the codec handles it: Text and Letter as text, Integer, Flag and Truth as whole
// numbers, Real as a number.
using SettingValue = std::variant<QString, std::int64_t, double>;

template <typename Member> SettingValue toSettingValue(const Member& value)
{
    if constexpr (std::is_same_v<Member, QString>) {
        return value;
    } else if constexpr (std::is_same_v<Member, char>) {
        return QString(QLatin1Char(value));
    } else if constexpr (std::is_same_v<Member, bool>) {
        return std::int64_t{value ? 1 : 0};
    } else if constexpr (std::is_enum_v<Member> || std::is_integral_v<Member>) {
        return static_cast<std::int64_t>(value);
    } else {
        static_assert(std::is_floating_point_v<Member>, "no setting of this type");
        return static_cast<double>(value);
    }
}

template <typename Member> void fromSettingValue(const SettingValue& value, Member& out)
{
    if constexpr (std::is_same_v<Member, QString>) {
        out = std::get<QString>(value);
    } else if constexpr (std::is_same_v<Member, char>) {
        const QString& text = std::get<QString>(value);
        out = text.isEmpty() ? '\0' : text.at(0).toLatin1();
    } else if constexpr (std::is_same_v<Member, bool>) {
        out = std::get<std::int64_t>(value) != 0;
    } else if constexpr (std::is_enum_v<Member> || std::is_integral_v<Member>) {
        out = static_cast<Member>(std::get<std::int64_t>(value));
    } else {
        out = static_cast<Member>(std::get<double>(value));
    }
}

// How a field reaches its value in the settings: get for writing, set for reading. A field
// without set is derived from others: written, and passed over when read.
template <typename Settings> struct FieldAccess
{
    std::function<SettingValue(const Settings&)> get;
    std::function<void(Settings&, const SettingValue&)> set;
};

template <typename Settings, typename Member> FieldAccess<Settings> member(Member Settings::*field)
{
    return {[field](const Settings& s) { return toSettingValue(s.*field); },
            [field](Settings& s, const SettingValue& value) { fromSettingValue(value, s.*field); }};
}

template <typename Settings, typename Member, std::size_t count>
FieldAccess<Settings> element(std::array<Member, count> Settings::*field, std::size_t index)
{
    return {[field, index](const Settings& s) { return toSettingValue((s.*field)[index]); },
            [field, index](Settings& s, const SettingValue& value) {
                fromSettingValue(value, (s.*field)[index]);
            }};
}

template <typename Settings> struct SettingsField
{
    const char* name; // as the operator knows the setting
    FieldKind kind;
    FieldAccess<Settings> access;
    FieldRules rules = {};
};

// How the values sit on the lines when read.
enum class ValueLayout {
    InOrder,        // one after another whatever the line breaks
    OneValuePerLine // a line holding more or less than one value is a bad value
};
// What a value that cannot be read does to the rest.
enum class BadValueRule {
    StopsReading, // the fields after it keep their defaults
    FailsField    // only that field keeps its default; reading goes on
};
// What a load does to the settings it reads onto.
enum class LoadRule {
    OntoCurrent,   // fields the file lacks keep their values; a damaged file keeps what was read
    WholeOrNothing // the file replaces every field (defaults for those it lacks); a damaged file
                   // changes nothing
};
// How lines are written.
enum class LineLayout { ValuePerLine, RecordPerLine };

struct SettingsFileRules
{
    ValueLayout layout = ValueLayout::InOrder;
    BadValueRule onBadValue = BadValueRule::StopsReading;
    LoadRule onLoad = LoadRule::OntoCurrent;
    LineLayout lines = LineLayout::ValuePerLine;
    qint64 maxBytes = 64 * 1024;        // a settings file is small; past this it is not ours
    bool refusesUnstorableText = false; // a save fails rather than drop a quote or a character
};

// A field that could not be read: a bad value, a damaged line, or a field after one of them that
// reading did not reach. line is the file's line, 0 when never reached.
struct SettingsFault
{
    QString field;
    int line = 0;
    bool operator==(const SettingsFault&) const = default;
};

struct SettingsReadReport
{
    int fieldsRead = 0;
    bool complete = false; // every field had a value (read or passed over)
    QList<SettingsFault> faults;
    QStringList faultyFields() const;
};

enum class SettingsFileState { Read, Missing, Unreadable };

struct SettingsLoad
{
    SettingsFileState state = SettingsFileState::Missing;
    SettingsReadReport report;
    // The file was there and read; some fields may still have faults.
    explicit operator bool() const { return state == SettingsFileState::Read; }
    bool clean() const { return state == SettingsFileState::Read && report.faults.isEmpty(); }
};

// A status-line text for a load that was not clean ("RigCntrl.txt: could not read baud rate
// (line 1)."); empty for a clean one.
QString settingsLoadMessage(const QString& fileName, const SettingsLoad& load);

namespace settingsfile {

// The values of a file, one at a time, with the line each came from.
class ValueSource
{
public:
    ValueSource(const QByteArray& bytes, ValueLayout layout);
    enum class Status { Value, End, BadValue, DamagedLine };
    // The next value; BadValue when its line does not hold exactly one (OneValuePerLine).
    Status next(QString& value);
    int lineNumber() const { return m_reader.lineNumber(); }

private:
    QuotedListReader m_reader;
    ValueLayout m_layout;
    QStringList m_pending;
    bool m_damaged = false;
};

// The value a field's text gives: nothing when it cannot be read; a value equal to current when
// the text is passed over (not an accepted value).
std::optional<SettingValue> readValue(FieldKind kind, const FieldRules& rules, const QString& text,
                                      const SettingValue& current, const SettingValue& fallback);
void writeValue(QuotedListWriter& out, FieldKind kind, const FieldRules& rules, const SettingValue& value);
// A text the quoted-list format cannot hold: a double quote, a line end, a non-Latin-1 character.
bool unstorable(const QString& text);

std::optional<QByteArray> readFile(const QString& path, qint64 maxBytes, SettingsFileState& state);
std::optional<QString> writeFile(const QString& path, const QByteArray& bytes);

} // namespace settingsfile

template <typename Settings> class SettingsFile
{
public:
    SettingsFile(SettingsFileRules rules, QList<SettingsField<Settings>> fields)
        : m_rules(rules), m_fields(std::move(fields))
    {
    }

    const SettingsFileRules& rules() const { return m_rules; }
    const QList<SettingsField<Settings>>& fields() const { return m_fields; }

    // Reads onto settings: fields the file does not reach keep what settings held.
    SettingsReadReport read(const QByteArray& bytes, Settings& settings) const
    {
        settingsfile::ValueSource source(bytes, m_rules.layout);
        return readFrom(source, settings);
    }

    // Reads the next record from a source shared with other records (a file of repeated rows).
    SettingsReadReport readFrom(settingsfile::ValueSource& source, Settings& settings) const
    {
        using Status = settingsfile::ValueSource::Status;
        static const Settings defaults{};
        SettingsReadReport report;
        bool stopped = false;
        qsizetype index = 0;
        for (; index < m_fields.size() && !stopped; ++index) {
            const SettingsField<Settings>& field = m_fields.at(index);
            QString text;
            const Status status = source.next(text);
            if (status == Status::End) {
                return report;
            }
            std::optional<SettingValue> value;
            if (status == Status::Value) {
                if (!field.access.set) {
                    ++report.fieldsRead;
                    continue;
                }
                value = settingsfile::readValue(field.kind, field.rules, text, field.access.get(settings),
                                                field.access.get(defaults));
            }
            if (value) {
                field.access.set(settings, *value);
                ++report.fieldsRead;
                continue;
            }
            report.faults.append({QString::fromLatin1(field.name), source.lineNumber()});
            stopped = status == Status::DamagedLine || m_rules.onBadValue == BadValueRule::StopsReading;
        }
        for (; index < m_fields.size(); ++index) {
            report.faults.append({QString::fromLatin1(m_fields.at(index).name), 0});
        }
        report.complete = !stopped;
        return report;
    }

    QByteArray write(const Settings& settings) const
    {
        QuotedListWriter out;
        writeTo(out, settings);
        if (m_rules.lines == LineLayout::RecordPerLine) {
            out.endLine();
        }
        return out.bytes();
    }

    // Appends the fields; with RecordPerLine the caller ends the line.
    void writeTo(QuotedListWriter& out, const Settings& settings) const
    {
        for (const SettingsField<Settings>& field : m_fields) {
            settingsfile::writeValue(out, field.kind, field.rules, field.access.get(settings));
            if (m_rules.lines == LineLayout::ValuePerLine) {
                out.endLine();
            }
        }
    }

    // The text field that cannot be written as it is, if the file refuses such values.
    std::optional<QString> unstorableValue(const Settings& settings) const
    {
        for (const SettingsField<Settings>& field : m_fields) {
            if (field.kind != FieldKind::Text) {
                continue;
            }
            const QString text = std::get<QString>(field.access.get(settings));
            if (settingsfile::unstorable(text)) {
                return text;
            }
        }
        return std::nullopt;
    }

    SettingsLoad load(const QString& path, Settings& settings) const
    {
        SettingsLoad result;
        const std::optional<QByteArray> bytes = settingsfile::readFile(path, m_rules.maxBytes, result.state);
        if (!bytes) {
            return result;
        }
        const bool whole = m_rules.onLoad == LoadRule::WholeOrNothing;
        Settings read = whole ? Settings{} : settings;
        result.report = this->read(*bytes, read);
        if (!whole || result.report.faults.isEmpty()) {
            settings = std::move(read);
        }
        return result;
    }

    // Nothing on success, else why the file could not be written (the old file is left as it was).
    std::optional<QString> save(const QString& path, const Settings& settings) const
    {
        if (m_rules.refusesUnstorableText) {
            if (const auto bad = unstorableValue(settings)) {
                return QStringLiteral("\"%1\" holds a double quote or a character the file cannot hold")
                    .arg(*bad);
            }
        }
        return settingsfile::writeFile(path, write(settings));
    }

private:
    SettingsFileRules m_rules;
    QList<SettingsField<Settings>> m_fields;
};

} // namespace velk
