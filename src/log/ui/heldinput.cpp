#include "log/ui/heldinput.h"

#include <QCoreApplication>
#include <QEvent>

namespace velk {

namespace {

bool isOperatorInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

} // namespace

HeldInput::HeldInput(QObject* parent) : QObject(parent) {}

HeldInput::~HeldInput()
{
    if (m_holding) {
        QCoreApplication::instance()->removeEventFilter(this);
    }
}

void HeldInput::hold()
{
    if (m_holding) {
        return;
    }
    m_holding = true;
    // Installed last, so it sees the input before every other filter of the application.
    QCoreApplication::instance()->installEventFilter(this);
}

void HeldInput::release()
{
    if (m_holding) {
        QCoreApplication::instance()->removeEventFilter(this);
        m_holding = false;
    }
    while (!m_events.empty() && !m_holding) {
        auto [receiver, event] = std::move(m_events.front());
        m_events.erase(m_events.begin());
        if (receiver) {
            QCoreApplication::sendEvent(receiver, event.get());
        }
    }
}

bool HeldInput::eventFilter(QObject* watched, QEvent* event)
{
    if (m_holding && isOperatorInput(event->type())) {
        // No shortcut fires while the keys wait: the key is claimed and then kept with the rest.
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();
        } else {
            m_events.emplace_back(watched, std::unique_ptr<QEvent>(event->clone()));
        }
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace velk
