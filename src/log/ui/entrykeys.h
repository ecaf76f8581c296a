#pragma once
// Key helpers shared by the logger's entry boxes: what a key press types, where typing goes,
// and the upper-casing of calls, names and abbreviations (capital() in common/formats.h).
#include <QChar>
#include <optional>

class QKeyEvent;
class QLineEdit;

namespace velk {

// Where typing goes: the start of the selection when text is selected.
int caretOf(const QLineEdit* box);
// The character a key press types, or nothing for keys that type none.
std::optional<QChar> typedChar(const QKeyEvent* event);

} // namespace velk
