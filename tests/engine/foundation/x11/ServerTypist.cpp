#include "tests/engine/foundation/x11/ServerTypist.h"

#include "platform/testing.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <chrono>
#include <thread>

namespace TestSupport {
namespace {

// A letter's keysym as typing tools name it: Latin-1 as itself, any other character by its Unicode keysym.
KeySym KeysymOf(char32_t letter)
{
    return letter < 0x100 ? KeySym(letter) : KeySym(0x01000000 | letter);
}

// The highest key that the keyboard mapping leaves without any keysym; 0 when there is none.
KeyCode SpareKey(Display* display)
{
    int first = 0;
    int last = 0;
    XDisplayKeycodes(display, &first, &last);
    int perKeycode = 0;
    KeySym* keysyms = XGetKeyboardMapping(display, static_cast<KeyCode>(first), last - first + 1, &perKeycode);
    KeyCode spare = 0;
    for (int keycode = last; keycode >= first && !spare && keysyms; --keycode) {
        const KeySym* bound = keysyms + (keycode - first) * perKeycode;
        bool empty = true;
        for (int i = 0; i < perKeycode; ++i)
            empty = empty && bound[i] == NoSymbol;
        if (empty)
            spare = static_cast<KeyCode>(keycode);
    }
    if (keysyms)
        XFree(keysyms);
    return spare;
}

bool WaitForPresses(std::size_t count)
{
    for (int attempt = 0; attempt < 2000; ++attempt) {
        if (PlatformTesting::KeyPressesReadFromTheServer() >= count)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

} // namespace

struct ServerTypist::Connection
{
    Display* display = nullptr;
    KeyCode spare = 0;
    KeyCode shift = 0;

    ~Connection()
    {
        if (display)
            XCloseDisplay(display);
    }
};

ServerTypist::ServerTypist() : m_connection(std::make_unique<Connection>())
{
    Connection& connection = *m_connection;
    connection.display = XOpenDisplay(nullptr);
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    if (!connection.display || !XTestQueryExtension(connection.display, &event, &error, &major, &minor))
        return;
    connection.spare = SpareKey(connection.display);
    connection.shift = XKeysymToKeycode(connection.display, XK_Shift_L);
    XSetInputFocus(connection.display, PointerRoot, RevertToPointerRoot, CurrentTime);
    XSync(connection.display, False);
}

ServerTypist::~ServerTypist() = default;

bool ServerTypist::Ready() const
{
    return m_connection->display && m_connection->spare && m_connection->shift;
}

bool ServerTypist::Type(char32_t letter)
{
    Display* display = m_connection->display;
    const KeyCode spare = m_connection->spare;
    const KeyCode shift = m_connection->shift;
    KeySym cases[2];
    XConvertCase(KeysymOf(letter), &cases[0], &cases[1]);
    const bool capital = KeysymOf(letter) != cases[0];
    const std::size_t presses = PlatformTesting::KeyPressesReadFromTheServer() + (capital ? 2 : 1);
    XChangeKeyboardMapping(display, spare, 2, cases, 1);
    XSync(display, False);
    if (capital)
        XTestFakeKeyEvent(display, shift, True, CurrentTime);
    XTestFakeKeyEvent(display, spare, True, CurrentTime);
    XTestFakeKeyEvent(display, spare, False, CurrentTime);
    if (capital)
        XTestFakeKeyEvent(display, shift, False, CurrentTime);
    XSync(display, False);
    const bool read = WaitForPresses(presses);
    KeySym none = NoSymbol;
    XChangeKeyboardMapping(display, spare, 1, &none, 1);
    XSync(display, False);
    return read;
}

} // namespace TestSupport
