#include "platform/win32/KeyPressWatch.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XInput2.h>
#include <xkbcommon/xkbcommon.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <deque>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <unistd.h>

namespace Win32Host {
namespace {

// A key's keysyms in the core protocol's order: the first group's unshifted and shifted keysym, then the second's.
using Binding = std::array<KeySym, 4>;

// More presses than a program that reads its events at all ever leaves unread; the oldest go first.
constexpr std::size_t kPressLimit = 256;

Binding BindingOf(Display* display, unsigned keycode)
{
    Binding binding{};
    int perKeycode = 0;
    KeySym* keysyms = XGetKeyboardMapping(display, static_cast<KeyCode>(keycode), 1, &perKeycode);
    if (!keysyms)
        return binding;
    std::copy_n(keysyms, std::min<std::size_t>(binding.size(), std::max(perKeycode, 0)), binding.begin());
    XFree(keysyms);
    return binding;
}

// The core protocol's choice among a key's keysyms: the pair of the event's group (the first group for a group the
// core list does not hold, or that is empty), its second keysym with Shift; a group of one keysym that has cases
// stands for its lower and upper case; Lock gives upper case.
KeySym Chosen(const Binding& binding, unsigned state)
{
    const unsigned eventGroup = (state >> 13) & 3;
    const std::size_t group = eventGroup == 1 && binding[2] != NoSymbol ? 2 : 0;
    KeySym first = binding[group];
    KeySym second = binding[group + 1];
    KeySym lower;
    KeySym upper;
    if (second == NoSymbol) {
        XConvertCase(first, &lower, &upper);
        first = lower;
        second = upper;
    }
    KeySym chosen = (state & ShiftMask) ? second : first;
    if (state & LockMask) {
        XConvertCase(chosen, &lower, &upper);
        chosen = upper;
    }
    return chosen;
}

char32_t CharacterOf(KeySym keysym)
{
    const char32_t character = xkb_keysym_to_utf32(static_cast<xkb_keysym_t>(keysym));
    return character < 0x20 || character == 0x7F ? 0 : character;
}

// X server time counts milliseconds in 32 bits and wraps.
bool Before(unsigned long a, unsigned long b)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b)) < 0;
}

} // namespace

struct KeyPressWatch::Press
{
    unsigned long time;
    unsigned keycode;
    Binding binding;
};

struct KeyPressWatch::Connection
{
    Display* display = nullptr;
    int inputOpcode = 0;
    int wake[2] = {-1, -1}; // the destructor writes to wake[1] to end the thread's wait
    std::mutex mutex;       // guards the presses, which the thread adds and the main thread takes
    std::deque<Press> presses;

    ~Connection()
    {
        for (int end : wake) {
            if (end >= 0)
                ::close(end);
        }
        if (display)
            XCloseDisplay(display);
    }
};

KeyPressWatch::KeyPressWatch() : m_connection(std::make_unique<Connection>())
{
    Connection& connection = *m_connection;
    connection.display = XOpenDisplay(nullptr);
    int event = 0;
    int error = 0;
    int major = 2;
    int minor = 0;
    if (!connection.display ||
        !XQueryExtension(connection.display, "XInputExtension", &connection.inputOpcode, &event, &error) ||
        XIQueryVersion(connection.display, &major, &minor) != Success || ::pipe2(connection.wake, O_CLOEXEC) != 0)
        return;
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XIEventMask mask{XIAllMasterDevices, sizeof bits, bits};
    XISelectEvents(connection.display, DefaultRootWindow(connection.display), &mask, 1);
    XFlush(connection.display);
    m_thread = std::thread([this] { Run(); });
}

KeyPressWatch::~KeyPressWatch()
{
    if (m_thread.joinable()) {
        const char stop = 0;
        while (::write(m_connection->wake[1], &stop, 1) < 0 && errno == EINTR) {
        }
        m_thread.join();
    }
}

// Waits on the connection and the wake pipe together; the connection's events are read whole before each wait,
// since Xlib may have taken several from the socket at once.
void KeyPressWatch::Run()
{
    Connection& connection = *m_connection;
    pollfd waits[2] = {{ConnectionNumber(connection.display), POLLIN, 0}, {connection.wake[0], POLLIN, 0}};
    for (;;) {
        while (XPending(connection.display) > 0) {
            XEvent event;
            XNextEvent(connection.display, &event);
            XGenericEventCookie& cookie = event.xcookie;
            if (cookie.type != GenericEvent || cookie.extension != connection.inputOpcode ||
                !XGetEventData(connection.display, &cookie))
                continue;
            if (cookie.evtype == XI_RawKeyPress) {
                const auto& raw = *static_cast<const XIRawEvent*>(cookie.data);
                const auto keycode = static_cast<unsigned>(raw.detail);
                Note({raw.time, keycode, BindingOf(connection.display, keycode)});
            }
            XFreeEventData(connection.display, &cookie);
        }
        if (::poll(waits, 2, -1) < 0 && errno != EINTR)
            return;
        if (waits[1].revents != 0)
            return;
    }
}

void KeyPressWatch::Note(const Press& press)
{
    {
        std::lock_guard lock(m_connection->mutex);
        std::deque<Press>& presses = m_connection->presses;
        if (presses.size() == kPressLimit)
            presses.pop_front();
        presses.push_back(press);
    }
    ++m_pressesRead;
}

// Presses come in the server's order on both connections: those before the one asked for were never the program's
// to read (another window had them, or SDL's input method took them) and are dropped.
std::optional<KeyPressWatch::Press> KeyPressWatch::Take(unsigned long time, unsigned keycode)
{
    std::lock_guard lock(m_connection->mutex);
    std::deque<Press>& presses = m_connection->presses;
    while (!presses.empty() && Before(presses.front().time, time))
        presses.pop_front();
    const auto found = std::find_if(presses.begin(), presses.end(),
                                    [&](const Press& press) { return press.time != time || press.keycode == keycode; });
    if (found == presses.end() || found->time != time)
        return std::nullopt;
    const Press press = *found;
    presses.erase(found);
    return press;
}

std::optional<char32_t> KeyPressWatch::TypedAtPress(const SDL_SysWMmsg& message)
{
    if (message.subsystem != SDL_SYSWM_X11 || message.msg.x11.event.type != KeyPress)
        return std::nullopt;
    const XKeyEvent& key = message.msg.x11.event.xkey;
    const std::optional<Press> press = Take(key.time, key.keycode);
    if (!press || press->binding == BindingOf(key.display, key.keycode))
        return std::nullopt;
    return CharacterOf(Chosen(press->binding, key.state));
}

} // namespace Win32Host
