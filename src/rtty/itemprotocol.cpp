#include "rtty/itemprotocol.h"

#include <algorithm>
#include <array>

namespace velk {

namespace {

struct VerbName
{
    ItemVerb verb;
    QByteArrayView word;
    bool hasValue;
};

constexpr std::array<VerbName, 4> verbNames{{
    {ItemVerb::Advise, "ADVISE", false},
    {ItemVerb::Poke, "POKE", true},
    {ItemVerb::Data, "DATA", true},
    {ItemVerb::Refuse, "NAK", false},
}};

const VerbName* verbOf(ItemVerb verb)
{
    const auto found = std::find_if(verbNames.begin(), verbNames.end(),
                                    [verb](const VerbName& name) { return name.verb == verb; });
    return found == verbNames.end() ? nullptr : &*found;
}

bool isNameChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

QByteArray escaped(const QString& value)
{
    QByteArray out;
    out.reserve(value.size());
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += static_cast<char>(c.unicode());
        }
    }
    return out;
}

QString unescaped(QByteArrayView bytes)
{
    QByteArray out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c == '\\' && i + 1 < bytes.size()) {
            c = bytes[++i];
            if (c == 'n') {
                c = '\n';
            } else if (c == 'r') {
                c = '\r';
            }
        }
        out += c;
    }
    return QString::fromLatin1(out);
}

} // namespace

bool isValidItemName(QByteArrayView name)
{
    return !name.isEmpty() && name.size() <= maxItemNameLength &&
           std::all_of(name.begin(), name.end(), isNameChar);
}

QByteArray encodeItemMessage(const ItemMessage& message)
{
    const VerbName* verb = verbOf(message.verb);
    if (!verb || !isValidItemName(message.item)) {
        return {};
    }
    QByteArray line = verb->word.toByteArray() + ' ' + message.item;
    if (verb->hasValue) {
        if (std::any_of(message.value.begin(), message.value.end(),
                        [](QChar c) { return c.unicode() > 0xFF; })) {
            return {};
        }
        line += ' ' + escaped(message.value);
    }
    if (line.size() > maxItemLineLength) {
        return {};
    }
    return line + '\n';
}

std::optional<ItemMessage> decodeItemLine(QByteArrayView line)
{
    if (line.endsWith('\r')) {
        line.chop(1);
    }
    if (line.size() > maxItemLineLength) {
        return std::nullopt;
    }
    const qsizetype firstSpace = line.indexOf(' ');
    if (firstSpace <= 0) {
        return std::nullopt;
    }
    const QByteArrayView word = line.first(firstSpace);
    const auto verb = std::find_if(verbNames.begin(), verbNames.end(),
                                   [word](const VerbName& name) { return name.word == word; });
    if (verb == verbNames.end()) {
        return std::nullopt;
    }
    const QByteArrayView rest = line.sliced(firstSpace + 1);
    const qsizetype secondSpace = rest.indexOf(' ');
    const QByteArrayView item = secondSpace < 0 ? rest : rest.first(secondSpace);
    if (!isValidItemName(item)) {
        return std::nullopt;
    }
    ItemMessage message{verb->verb, item.toByteArray(), {}};
    if (verb->hasValue) {
        // "DATA item" without a blank carries the empty value.
        if (secondSpace >= 0) {
            message.value = unescaped(rest.sliced(secondSpace + 1));
        }
    } else if (secondSpace >= 0) {
        return std::nullopt;
    }
    return message;
}

QList<QByteArray> ItemLineSplitter::feed(QByteArrayView bytes)
{
    QList<QByteArray> lines;
    while (!bytes.isEmpty()) {
        const qsizetype end = bytes.indexOf('\n');
        const QByteArrayView piece = end < 0 ? bytes : bytes.first(end);
        if (!m_skipping) {
            if (m_partial.size() + piece.size() > maxItemLineLength + 1) { // +1: a CR before the LF
                m_partial.clear();
                m_skipping = true;
            } else {
                m_partial += piece;
            }
        }
        if (end < 0) {
            break;
        }
        if (!m_skipping) {
            lines.append(m_partial);
        }
        m_partial.clear();
        m_skipping = false;
        bytes = bytes.sliced(end + 1);
    }
    return lines;
}

void ItemLineSplitter::clear()
{
    m_partial.clear();
    m_skipping = false;
}

} // namespace velk
