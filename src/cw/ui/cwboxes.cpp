#include "cw/ui/cwboxes.h"

#include "common/formats.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace velk {

namespace {

// Rewrites or drops typed characters before the box sees them.
class TypedFilter : public QObject
{
public:
    TypedFilter(QObject* parent, bool capitals, QString allowed, bool digitsOnly)
        : QObject(parent), m_capitals(capitals), m_allowed(std::move(allowed)), m_digitsOnly(digitsOnly)
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress) {
            return false;
        }
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (text.size() != 1 || text.at(0).unicode() < 32 || (key->modifiers() & Qt::ControlModifier)) {
            return false; // editing keys, Backspace, shortcuts
        }
        const QChar typed = text.at(0);
        if (m_digitsOnly) {
            return !(typed.isDigit() || m_allowed.contains(typed));
        }
        if (typed == QLatin1Char('"')) {
            return true;
        }
        if (m_capitals && typed != capital(typed)) {
            const QString upper(capital(typed));
            if (auto* line = qobject_cast<QLineEdit*>(watched)) {
                line->insert(upper);
                emit line->textEdited(line->text());
            } else if (auto* plain = qobject_cast<QPlainTextEdit*>(watched)) {
                plain->insertPlainText(upper);
            }
            return true;
        }
        return false;
    }

private:
    bool m_capitals;
    QString m_allowed;
    bool m_digitsOnly;
};

} // namespace

void installCapitalFilter(QLineEdit* box)
{
    box->installEventFilter(new TypedFilter(box, true, QString(), false));
}

void installCapitalFilter(QPlainTextEdit* box)
{
    box->installEventFilter(new TypedFilter(box, true, QString(), false));
}

void installDigitFilter(QLineEdit* box, const QString& alsoAllowed)
{
    box->installEventFilter(new TypedFilter(box, false, alsoAllowed, true));
}

} // namespace velk
