#pragma once
// The XML-RPC calls the fldigi link makes: a method call with string or integer parameters, and
// its reply (one value, or a fault). Stateless encode/decode over bytes.
#include <QByteArray>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <optional>

namespace velk {

struct XmlRpcReply
{
    bool fault = false;
    QString value; // the reply's value as text (a fault's faultString)

    bool operator==(const XmlRpcReply&) const = default;
};

// The longest value text a reply may carry; longer text is cut.
inline constexpr qsizetype maxXmlRpcValueLength = 4096;

// <methodCall> for method with the parameters in order; each is a QString (sent as <string>) or
// an int (sent as <i4>).
QByteArray encodeXmlRpcCall(const QString& method, const QVariantList& params = {});
// The value of a <methodResponse>, or its fault; nothing when the bytes are not a reply.
std::optional<XmlRpcReply> decodeXmlRpcReply(const QByteArray& bytes);

} // namespace velk
