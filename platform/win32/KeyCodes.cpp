#include "platform/win32/KeyCodes.h"

#include <array>

namespace Win32Host {
namespace {

constexpr BYTE kShift = 0x10, kControl = 0x11, kMenu = 0x12;

struct Entry
{
    SDL_Scancode scancode;
    BYTE virtualKey;
    BYTE scanCode;
};

// Keys other than letters and digits. Letters and digits follow below.
constexpr Entry kKeys[] = {
    {SDL_SCANCODE_RETURN, 0x0D, 0x1C},
    {SDL_SCANCODE_ESCAPE, 0x1B, 0x01},
    {SDL_SCANCODE_BACKSPACE, 0x08, 0x0E},
    {SDL_SCANCODE_TAB, 0x09, 0x0F},
    {SDL_SCANCODE_SPACE, 0x20, 0x39},
    {SDL_SCANCODE_MINUS, 0xBD, 0x0C},
    {SDL_SCANCODE_EQUALS, 0xBB, 0x0D},
    {SDL_SCANCODE_LEFTBRACKET, 0xDB, 0x1A},
    {SDL_SCANCODE_RIGHTBRACKET, 0xDD, 0x1B},
    {SDL_SCANCODE_BACKSLASH, 0xDC, 0x2B},
    {SDL_SCANCODE_NONUSHASH, 0xDC, 0x2B},
    {SDL_SCANCODE_SEMICOLON, 0xBA, 0x27},
    {SDL_SCANCODE_APOSTROPHE, 0xDE, 0x28},
    {SDL_SCANCODE_GRAVE, 0xC0, 0x29},
    {SDL_SCANCODE_COMMA, 0xBC, 0x33},
    {SDL_SCANCODE_PERIOD, 0xBE, 0x34},
    {SDL_SCANCODE_SLASH, 0xBF, 0x35},
    {SDL_SCANCODE_CAPSLOCK, 0x14, 0x3A},
    {SDL_SCANCODE_F1, 0x70, 0x3B},
    {SDL_SCANCODE_F2, 0x71, 0x3C},
    {SDL_SCANCODE_F3, 0x72, 0x3D},
    {SDL_SCANCODE_F4, 0x73, 0x3E},
    {SDL_SCANCODE_F5, 0x74, 0x3F},
    {SDL_SCANCODE_F6, 0x75, 0x40},
    {SDL_SCANCODE_F7, 0x76, 0x41},
    {SDL_SCANCODE_F8, 0x77, 0x42},
    {SDL_SCANCODE_F9, 0x78, 0x43},
    {SDL_SCANCODE_F10, 0x79, 0x44},
    {SDL_SCANCODE_F11, 0x7A, 0x57},
    {SDL_SCANCODE_F12, 0x7B, 0x58},
    {SDL_SCANCODE_PRINTSCREEN, 0x2C, 0xB7},
    {SDL_SCANCODE_SCROLLLOCK, 0x91, 0x46},
    {SDL_SCANCODE_PAUSE, 0x13, 0xC5},
    {SDL_SCANCODE_INSERT, 0x2D, 0xD2},
    {SDL_SCANCODE_HOME, 0x24, 0xC7},
    {SDL_SCANCODE_PAGEUP, 0x21, 0xC9},
    {SDL_SCANCODE_DELETE, 0x2E, 0xD3},
    {SDL_SCANCODE_END, 0x23, 0xCF},
    {SDL_SCANCODE_PAGEDOWN, 0x22, 0xD1},
    {SDL_SCANCODE_RIGHT, 0x27, 0xCD},
    {SDL_SCANCODE_LEFT, 0x25, 0xCB},
    {SDL_SCANCODE_DOWN, 0x28, 0xD0},
    {SDL_SCANCODE_UP, 0x26, 0xC8},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x90, 0x45},
    {SDL_SCANCODE_KP_DIVIDE, 0x6F, 0xB5},
    {SDL_SCANCODE_KP_MULTIPLY, 0x6A, 0x37},
    {SDL_SCANCODE_KP_MINUS, 0x6D, 0x4A},
    {SDL_SCANCODE_KP_PLUS, 0x6B, 0x4E},
    {SDL_SCANCODE_KP_ENTER, 0x0D, 0x9C},
    {SDL_SCANCODE_KP_1, 0x61, 0x4F},
    {SDL_SCANCODE_KP_2, 0x62, 0x50},
    {SDL_SCANCODE_KP_3, 0x63, 0x51},
    {SDL_SCANCODE_KP_4, 0x64, 0x4B},
    {SDL_SCANCODE_KP_5, 0x65, 0x4C},
    {SDL_SCANCODE_KP_6, 0x66, 0x4D},
    {SDL_SCANCODE_KP_7, 0x67, 0x47},
    {SDL_SCANCODE_KP_8, 0x68, 0x48},
    {SDL_SCANCODE_KP_9, 0x69, 0x49},
    {SDL_SCANCODE_KP_0, 0x60, 0x52},
    {SDL_SCANCODE_KP_PERIOD, 0x6E, 0x53},
    {SDL_SCANCODE_NONUSBACKSLASH, 0xE2, 0x56},
    {SDL_SCANCODE_APPLICATION, 0x5D, 0xDD},
    {SDL_SCANCODE_LCTRL, 0xA2, 0x1D},
    {SDL_SCANCODE_LSHIFT, 0xA0, 0x2A},
    {SDL_SCANCODE_LALT, 0xA4, 0x38},
    {SDL_SCANCODE_LGUI, 0x5B, 0xDB},
    {SDL_SCANCODE_RCTRL, 0xA3, 0x9D},
    {SDL_SCANCODE_RSHIFT, 0xA1, 0x36},
    {SDL_SCANCODE_RALT, 0xA5, 0xB8},
    {SDL_SCANCODE_RGUI, 0x5C, 0xDC},
};

// Scan codes of the letters A to Z and of the digits 1 to 9 and 0, in SDL's order.
constexpr BYTE kLetterScanCodes[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,
                                       0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
constexpr BYTE kDigitScanCodes[10] = {0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B};

using Table = std::array<KeyCode, SDL_NUM_SCANCODES>;

Table MakeTable()
{
    Table table{};
    for (int i = 0; i < 26; ++i) {
        const BYTE letter = static_cast<BYTE>('A' + i);
        table[SDL_SCANCODE_A + i] = {letter, letter, kLetterScanCodes[i]};
    }
    for (int i = 0; i < 10; ++i) {
        const BYTE digit = static_cast<BYTE>(i == 9 ? '0' : '1' + i);
        table[SDL_SCANCODE_1 + i] = {digit, digit, kDigitScanCodes[i]};
    }
    for (const Entry& entry : kKeys) {
        const int generic = GenericKeyOf(entry.virtualKey);
        table[entry.scancode] = {entry.virtualKey, static_cast<BYTE>(generic ? generic : entry.virtualKey),
                                 entry.scanCode};
    }
    return table;
}

} // namespace

int GenericKeyOf(int virtualKey)
{
    switch (virtualKey) {
    case 0xA0:
    case 0xA1:
        return kShift;
    case 0xA2:
    case 0xA3:
        return kControl;
    case 0xA4:
    case 0xA5:
        return kMenu;
    default:
        return 0;
    }
}

KeyCode MapKey(const SDL_Keysym& key)
{
    static const Table table = MakeTable();
    if (key.scancode < 0 || key.scancode >= SDL_NUM_SCANCODES)
        return {};
    KeyCode code = table[key.scancode];
    if (key.sym >= SDLK_a && key.sym <= SDLK_z) // the layout's letter
        code.virtualKey = code.messageVirtualKey = static_cast<BYTE>('A' + (key.sym - SDLK_a));
    return code;
}

} // namespace Win32Host
