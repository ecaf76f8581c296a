#include "rtty/rttyvalues.h"

namespace velk {

int peerFieldMaxLength(PeerField field)
{
    switch (field) {
    case PeerField::Call:
        return 16;
    case PeerField::Name:
        return 20;
    case PeerField::Location:
        return 32;
    }
    return 16;
}

QString boxValueFromPeer(const QString& text, PeerField field)
{
    QString kept;
    kept.reserve(std::min<qsizetype>(text.size(), 256));
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code == '"' || code < 0x20 || (code >= 0x7F && code < 0xA0) || code > 0xFF) {
            continue;
        }
        // Upper-case without leaving Latin-1 (y with diaeresis has its capital outside it).
        const QChar upper = c.toUpper();
        kept += upper.unicode() <= 0xFF ? upper : c;
    }
    return kept.simplified().left(peerFieldMaxLength(field));
}

} // namespace velk
