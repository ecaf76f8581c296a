#pragma once
// What a value from the RTTY terminal may put into an entry box: the same characters a typed key
// may (no double quote, no control character, Latin-1 only), upper-cased, within the box's length.
#include <QString>

namespace velk {

enum class PeerField { Call, Location, Name };

// The longest text the link writes into the box (a call with a portable prefix and suffix, a
// first name, a North American DX country name).
int peerFieldMaxLength(PeerField field);
// The peer's text as the box takes it: refused characters removed, blanks at either end
// trimmed, inner runs of blanks made one, upper-cased, cut to the field's length.
QString boxValueFromPeer(const QString& text, PeerField field);

} // namespace velk
