#pragma once
// Key helpers shared by the logger's entry boxes: what a key press types, where typing goes,
// and the upper-casing of calls, names and abbreviations (capital() in common/formats.h).
#include <QChar>
#include <optional>

class QKeyEvent;
class QLineEdit;
class QObject;
class QValidator;

namespace velk {

// Where typing goes: the start of the selection when text is selected.
int caretOf(const QLineEdit* box);
// The character a key press types, or nothing for keys that type none.
std::optional<QChar> typedChar(const QKeyEvent* event);

// A key that must not reach an entry box at all: one that types a character outside Latin-1
// (every file is Latin-1), or one typed with Alt held (a menu mnemonic, never text).
bool isRefusedEntryKey(const QKeyEvent* event);
// Keeps double quotes, line breaks and characters outside Latin-1 out of a box, typed or pasted:
// each would break or garble a line of the quoted-list files.
QValidator* makeEntryValidator(QObject* parent);

} // namespace velk
