// Types through the X server's test extension the way a typing tool types a letter the keyboard has no key for: a
// spare key is bound to the letter (its lower and upper case, Shift held for a capital), pressed and released, and
// unbound at once, all before the program reads its events. Kept apart from the tests so that Xlib's names stay out
// of the engine's.
#pragma once

#include <memory>

namespace TestSupport {

class ServerTypist
{
public:
    // Connects to $DISPLAY and hands the keyboard focus to whichever window the pointer is over.
    ServerTypist();
    ~ServerTypist();

    ServerTypist(const ServerTypist&) = delete;
    ServerTypist& operator=(const ServerTypist&) = delete;

    // False without a connection, the test extension or a spare key.
    bool Ready() const;
    // Unbinds the key only once the stand-in has read the presses from the server (or two seconds have passed: then
    // false).
    bool Type(char32_t letter);

private:
    struct Connection;
    std::unique_ptr<Connection> m_connection;
};

} // namespace TestSupport
