#pragma once
// The RTTY terminal link's line protocol: named text items over a local socket, each line one
// message. Stateless encode/decode of single lines, and a bounded line splitter for the bytes
// a socket delivers.
//
//   ADVISE <item>          logger -> terminal: send the item now and push every later change
//   POKE <item> <value>    logger -> terminal: the item takes this value
//   DATA <item> <value>    terminal -> logger: the item's value (answer to ADVISE, or a change)
//   NAK <item>             terminal -> logger: the item is refused (its binding fails)
//
// Lines end in LF (a CR before it is dropped); text is Latin-1. Item names are 1-32 letters,
// digits or underscores. In a value a backslash is written "\\", a line feed "\n" and a carriage
// return "\r"; any other character after a backslash stands for itself.
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <optional>

namespace velk {

enum class ItemVerb { Advise, Poke, Data, Refuse };

struct ItemMessage
{
    ItemVerb verb = ItemVerb::Data;
    QByteArray item;
    QString value; // Advise and Refuse carry none

    bool operator==(const ItemMessage&) const = default;
};

// The longest line either side sends or accepts, without its LF.
inline constexpr qsizetype maxItemLineLength = 1024;
inline constexpr qsizetype maxItemNameLength = 32;

bool isValidItemName(QByteArrayView name);
// One line with its LF; empty when the message cannot be sent (a bad item name, a value outside
// Latin-1 or a line longer than maxItemLineLength).
QByteArray encodeItemMessage(const ItemMessage& message);
// One line without its LF (a trailing CR is allowed); nothing for a line that is not a message.
std::optional<ItemMessage> decodeItemLine(QByteArrayView line);

// Splits received bytes into lines. A line longer than maxItemLineLength is dropped whole, up to
// its LF, so a peer that never ends a line cannot grow the buffer.
class ItemLineSplitter
{
public:
    // Appends bytes and returns the complete lines they finish, without their LF.
    QList<QByteArray> feed(QByteArrayView bytes);
    void clear();
    qsizetype buffered() const { return m_partial.size(); }

private:
    QByteArray m_partial;
    bool m_skipping = false; // inside an over-long line
};

} // namespace velk
