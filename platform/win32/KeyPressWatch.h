// Key presses as the X server delivers them, read the moment they happen (inside the stand-in only).
//
// SDL reads the X server's events only when the program pumps them, once a frame, and translates a key press with
// the keyboard mapping the server holds at that later moment. A typing tool that has no key for a letter binds a
// spare key to it for one press and unbinds it a few milliseconds later; by the time SDL translates the press, the
// key types nothing (or the next letter bound to it). So a thread keeps a connection of its own to the X server,
// takes every key press as it arrives (the raw events of the X input extension, in the server's order) and notes
// what the key was bound to at that moment. When the program's own event of the press finds the key bound
// otherwise, the press types what its key was bound to when it was pressed.
#pragma once

#include <SDL_events.h>

#include <atomic>
#include <cstddef>
#include <memory>
#include <optional>
#include <thread>

namespace Win32Host {

class KeyPressWatch
{
public:
    // Connects to the display SDL's X11 driver uses; Running() is false without one or without the input extension.
    KeyPressWatch();
    ~KeyPressWatch(); // stops the thread and closes the connection

    KeyPressWatch(const KeyPressWatch&) = delete;
    KeyPressWatch& operator=(const KeyPressWatch&) = delete;

    bool Running() const { return m_thread.joinable(); }

    // For SDL's copy of an X event: when it is a key press whose key is bound otherwise now than at the press, the
    // character the press typed (0 for none, a control key or a keysym without a character); nothing when SDL's own
    // translation of the event holds.
    std::optional<char32_t> TypedAtPress(const SDL_SysWMmsg& message);

    // The presses the thread has read and noted, for tests that must know the note is taken before they unbind a key.
    std::size_t PressesRead() const { return m_pressesRead; }

private:
    struct Connection;
    struct Press;

    void Run();
    void Note(const Press& press);
    std::optional<Press> Take(unsigned long time, unsigned keycode);

    std::unique_ptr<Connection> m_connection;
    std::atomic<std::size_t> m_pressesRead = 0;
    std::thread m_thread;
};

} // namespace Win32Host
