#include "app/ui/keyrouter.h"

#include <QKeyEvent>

namespace velk {

void KeyRouter::addCtrlCommand(int qtKey, std::function<void()> command)
{
    m_ctrlCommands[qtKey] = std::move(command);
}

void KeyRouter::addKeyHandler(int priority, Handler handler)
{
    m_handlers.emplace(priority, std::move(handler));
}

bool KeyRouter::route(QKeyEvent* event) const
{
    // Ctrl shortcuts reach the station windows; the keystroke types nothing.
    if (event->modifiers() & Qt::ControlModifier) {
        const auto command = m_ctrlCommands.find(event->key());
        if (command == m_ctrlCommands.end()) {
            return false;
        }
        command->second();
        return true;
    }
    for (const auto& [priority, handler] : m_handlers) {
        if (handler(event)) {
            return true;
        }
    }
    return false;
}

} // namespace velk
