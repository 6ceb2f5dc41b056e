#include "tests/engine/foundation/x11/ServerTypist.h"

#include "platform/testing.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <algorithm>
#include <chrono>
#include <thread>

namespace TestSupport {

struct ServerTypist::Server
{
    Display* display = XOpenDisplay(nullptr);
    KeyCode spare = 0; // the highest key without any keysym
    KeyCode shift = 0;

    ~Server()
    {
        if (display)
            XCloseDisplay(display);
    }
};

ServerTypist::ServerTypist() : m_server(std::make_unique<Server>())
{
    Display* display = m_server->display;
    int unused = 0;
    if (!display || !XTestQueryExtension(display, &unused, &unused, &unused, &unused))
        return;
    int first = 0, last = 0, perKeycode = 0;
    XDisplayKeycodes(display, &first, &last);
    KeySym* keysyms = XGetKeyboardMapping(display, KeyCode(first), last - first + 1, &perKeycode);
    for (int keycode = last; keycode >= first && !m_server->spare; --keycode) {
        const KeySym* bound = keysyms + (keycode - first) * perKeycode;
        if (std::all_of(bound, bound + perKeycode, [](KeySym keysym) { return keysym == NoSymbol; }))
            m_server->spare = KeyCode(keycode);
    }
    XFree(keysyms);
    m_server->shift = XKeysymToKeycode(display, XK_Shift_L);
    XSetInputFocus(display, PointerRoot, RevertToPointerRoot, CurrentTime);
    XSync(display, False);
}

ServerTypist::~ServerTypist() = default;

bool ServerTypist::Ready() const
{
    return m_server->spare && m_server->shift;
}

bool ServerTypist::Type(char32_t letter)
{
    const auto& [display, spare, shift] = *m_server;
    const KeySym keysym = letter < 0x100 ? letter : 0x01000000 | letter; // as typing tools name a letter
    KeySym cases[2];
    XConvertCase(keysym, &cases[0], &cases[1]);
    const bool capital = keysym != cases[0];
    const std::size_t presses = PlatformTesting::KeyPressesReadFromTheServer() + (capital ? 2 : 1);
    XChangeKeyboardMapping(display, spare, 2, cases, 1);
    XSync(display, False);
    for (const auto& [key, down] : {std::pair{shift, true}, {spare, true}, {spare, false}, {shift, false}}) {
        if (key != shift || capital)
            XTestFakeKeyEvent(display, key, down, CurrentTime);
    }
    XSync(display, False);
    bool read = false;
    for (int attempt = 0; attempt < 2000 && !read; ++attempt) {
        read = PlatformTesting::KeyPressesReadFromTheServer() >= presses;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    KeySym unbound = NoSymbol;
    XChangeKeyboardMapping(display, spare, 1, &unbound, 1);
    XSync(display, False);
    return read;
}

} // namespace TestSupport
