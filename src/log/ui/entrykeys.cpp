#include "log/ui/entrykeys.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace velk {

int caretOf(const QLineEdit* box)
{
    return box->hasSelectedText() ? box->selectionStart() : box->cursorPosition();
}

std::optional<QChar> typedChar(const QKeyEvent* event)
{
    const QString text = event->text();
    if (text.size() != 1 || text.at(0).unicode() < 32 || text.at(0).unicode() > 255) {
        return std::nullopt;
    }
    return text.at(0);
}

} // namespace velk
