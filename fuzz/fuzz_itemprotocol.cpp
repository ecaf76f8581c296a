// The RTTY link's line protocol: whatever bytes arrive, the splitter stays bounded, every decoded
// message encodes back to a line that decodes to the same message, and a value from the peer
// leaves the box filter as text a typed key could have made. The same bytes as an fldigi reply
// decode to a bounded value or to nothing.
#include "fuzz_common.h"
#include "rtty/itemprotocol.h"
#include "rtty/rttyvalues.h"
#include "rtty/xmlrpc.h"

using namespace velk;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    ItemLineSplitter splitter;
    // Fed in two pieces, as a socket might deliver it.
    const qsizetype cut = bytes.isEmpty() ? 0 : static_cast<unsigned char>(bytes.at(0)) % (bytes.size() + 1);
    QList<QByteArray> lines = splitter.feed(QByteArrayView(bytes).first(cut));
    lines += splitter.feed(QByteArrayView(bytes).sliced(cut));
    fuzz::require(splitter.buffered() <= maxItemLineLength + 1, "the splitter stays bounded");
    for (const QByteArray& line : lines) {
        fuzz::require(line.size() <= maxItemLineLength + 1, "no line is longer than the limit");
        const auto message = decodeItemLine(line);
        if (!message) {
            continue;
        }
        fuzz::require(isValidItemName(message->item), "a decoded item has a valid name");
        const QByteArray encoded = encodeItemMessage(*message);
        if (!encoded.isEmpty()) {
            fuzz::require(encoded.endsWith('\n') && encoded.count('\n') == 1, "one message is one line");
            const auto again = decodeItemLine(QByteArrayView(encoded).chopped(1));
            fuzz::require(again.has_value() && *again == *message, "a message reads back the same");
        }
        for (PeerField field : {PeerField::Call, PeerField::Location, PeerField::Name}) {
            const QString box = boxValueFromPeer(message->value, field);
            fuzz::require(box.size() <= peerFieldMaxLength(field), "a value keeps the box's length");
            for (const QChar c : box) {
                const char16_t code = c.unicode();
                fuzz::require(code != '"' && code >= 0x20 && (code < 0x7F || code >= 0xA0) && code <= 0xFF,
                              "a value holds only characters a typed key may");
            }
        }
    }
    if (const auto reply = decodeXmlRpcReply(bytes)) {
        fuzz::require(reply->value.size() <= maxXmlRpcValueLength, "a reply's value stays bounded");
    }
    return 0;
}
