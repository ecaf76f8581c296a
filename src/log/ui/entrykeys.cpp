#include "log/ui/entrykeys.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

#include <algorithm>

namespace velk {

namespace {

class EntryValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override
    {
        const qsizetype before = input.size();
        input.removeIf([](QChar c) {
            return c == QLatin1Char('"') || c == QLatin1Char('\r') || c == QLatin1Char('\n') ||
                   c.unicode() > 0xFF;
        });
        pos = std::max(0, pos - static_cast<int>(before - input.size()));
        return Acceptable;
    }
};

} // namespace

bool isRefusedEntryKey(const QKeyEvent* event)
{
    const QString text = event->text();
    if (text.isEmpty() || text.at(0).unicode() < 32) {
        return false;
    }
    const bool outsideLatin1 =
        std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() > 0xFF; });
    return outsideLatin1 || (event->modifiers() & Qt::AltModifier);
}

QValidator* makeEntryValidator(QObject* parent)
{
    return new EntryValidator(parent);
}

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
