#pragma once
// KeyPorts: the one owner of the ports that key the transmitter: the CW key line, the voice
// keyer's PTT line and the WinKey link. Opening one user's port closes the others' first.
#include <QString>
#include <functional>

namespace velk {

enum class KeyLineKind { Rts, Dtr, Parallel };
enum class PortUser { CwKeyer, VoicePtt, WinKey };

struct KeyLineTarget
{
    KeyLineKind kind = KeyLineKind::Rts;
    int comPort = 1;         // serial port number 1-10 for Rts and Dtr
    QString parallelAddress; // e.g. "&H378" for Parallel
};

// One line that keys the transmitter. set() may be called from the keying thread.
class KeyLine
{
public:
    virtual ~KeyLine() = default;
    // False when the line could not be switched (device gone, or its port closed).
    virtual bool set(bool down) = 0;
    // False once the port behind the line has been closed (by its user or another user's open).
    virtual bool isOpen() const { return true; }
};

class KeyPorts
{
public:
    virtual ~KeyPorts() = default;
    // Opens the line for user, closing every other user's port first; the line is up (released)
    // when returned. Null with error set when the port cannot be opened ("Invalid port.").
    // The line stays owned by KeyPorts; the pointer stays valid as long as KeyPorts lives, so a
    // keying thread never holds a dangling line: after close(user) or another user's open its
    // set() returns false and isOpen() false.
    virtual KeyLine* open(PortUser user, const KeyLineTarget& target, QString& error) = 0;
    // A user that drives its own port (the WinKey link): closes the others' ports and remembers
    // how to close this one when someone else opens.
    virtual void claim(PortUser user, std::function<void()> closeOwnPort) = 0;
    // Releases the line and closes the port of user, if it holds one.
    virtual void close(PortUser user) = 0;
};

} // namespace velk
