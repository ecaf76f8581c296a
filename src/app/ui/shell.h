#pragma once
// Shell: what a subsystem's plug may use of the main window: the station, the window as parent
// of its windows, the entry panel, the status line, the announcer that speaks to a screen reader,
// the key router, saving the preferences, and bringing the keyboard back to the call box.
#include <functional>

class QMainWindow;

namespace velk {

class Announcer;
class EntryPanel;
class KeyRouter;
class Station;
class StatusLine;

struct Shell
{
    Station& station;
    QMainWindow& window;
    EntryPanel& entry;
    StatusLine& status;
    Announcer& announcer;
    KeyRouter& keys;
    std::function<void()> savePreferences;
    // The main window active again with the focus in the call box.
    std::function<void()> backToEntry;
};

} // namespace velk
