#pragma once
// KeyRouter: the keys the main window takes before its boxes do. Ctrl+key commands, and the key
// handlers the subsystems' plugs add, asked in the order of their priority.
#include <functional>
#include <map>

class QKeyEvent;

namespace velk {

class KeyRouter
{
public:
    // Lower numbers are asked first. The CW keyer stops its repeat on every key, so it comes first.
    enum Priority { KeyerKeys = 10, RttyTerminalKeys = 20, VoiceKeyerKeys = 30 };
    using Handler = std::function<bool(QKeyEvent*)>;

    void addCtrlCommand(int qtKey, std::function<void()> command);
    void addKeyHandler(int priority, Handler handler);
    // True when the key was taken: a Ctrl command ran, or a handler took it.
    bool route(QKeyEvent* event) const;

private:
    std::map<int, std::function<void()>> m_ctrlCommands;
    std::multimap<int, Handler> m_handlers;
};

} // namespace velk
