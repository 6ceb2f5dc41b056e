// Types through the X server's test extension as a typing tool types a letter the keyboard has no key for: a spare
// key is bound to the letter (its lower and upper case, Shift held for a capital), pressed, released and unbound
// before the program reads its events. Apart from the tests, so that Xlib's names stay out of the engine's.
#pragma once

#include <memory>

namespace TestSupport {

class ServerTypist
{
public:
    ServerTypist(); // connects to $DISPLAY; the keyboard focus follows the pointer from then on
    ~ServerTypist();

    bool Ready() const; // a connection, the test extension and a spare key
    // The key is unbound once the stand-in has read the presses from the server; false when it has not within 2 s.
    bool Type(char32_t letter);

private:
    struct Server;
    std::unique_ptr<Server> m_server;
};

} // namespace TestSupport
