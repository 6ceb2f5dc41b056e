// The DirectInput 7 stand-in: the system keyboard and the system mouse, fed from SDL's key and mouse events.
//
// A device keeps its immediate state (key bytes by scan code; mouse movement since the last state read and the
// button bytes) and, once DIPROP_BUFFERSIZE has given it room, a queue of the changes. Changes arrive only
// while the device is acquired. When the queue is full further changes are dropped and the next GetDeviceData
// answers DI_BUFFEROVERFLOW. Mouse movement is the mouse's own (SDL's relative motion); moving the cursor with
// SetCursorPos moves no device.
#pragma once

#include "platform/win32/Types.h"

using LPUNKNOWN = struct IUnknown*;

constexpr DWORD DIRECTINPUT_VERSION = 0x0700;

constexpr HRESULT DI_OK = S_OK;
constexpr HRESULT DI_BUFFEROVERFLOW = S_FALSE;
constexpr HRESULT DIERR_INPUTLOST = static_cast<HRESULT>(0x8007001Eu);

extern const GUID IID_IDirectInput7A;
extern const GUID IID_IDirectInputDevice7A;
extern const GUID GUID_SysKeyboard;
extern const GUID GUID_SysMouse;

// A data format names the state a device reports: c_dfDIKeyboard (256 key bytes by scan code) for the keyboard,
// c_dfDIMouse2 (DIMOUSESTATE2) for the mouse.
struct DIDATAFORMAT
{
    DWORD dwDataSize = 0;
};
extern const DIDATAFORMAT c_dfDIKeyboard;
extern const DIDATAFORMAT c_dfDIMouse2;

// Keyboard scan codes (the offsets of the keyboard's buffered changes and the indexes of its state).
constexpr DWORD DIK_ESCAPE = 0x01;
constexpr DWORD DIK_1 = 0x02;
constexpr DWORD DIK_2 = 0x03;
constexpr DWORD DIK_3 = 0x04;
constexpr DWORD DIK_4 = 0x05;
constexpr DWORD DIK_5 = 0x06;
constexpr DWORD DIK_6 = 0x07;
constexpr DWORD DIK_7 = 0x08;
constexpr DWORD DIK_8 = 0x09;
constexpr DWORD DIK_9 = 0x0A;
constexpr DWORD DIK_0 = 0x0B;
constexpr DWORD DIK_MINUS = 0x0C;
constexpr DWORD DIK_EQUALS = 0x0D;
constexpr DWORD DIK_BACK = 0x0E;
constexpr DWORD DIK_TAB = 0x0F;
constexpr DWORD DIK_Q = 0x10;
constexpr DWORD DIK_W = 0x11;
constexpr DWORD DIK_E = 0x12;
constexpr DWORD DIK_R = 0x13;
constexpr DWORD DIK_T = 0x14;
constexpr DWORD DIK_Y = 0x15;
constexpr DWORD DIK_U = 0x16;
constexpr DWORD DIK_I = 0x17;
constexpr DWORD DIK_O = 0x18;
constexpr DWORD DIK_P = 0x19;
constexpr DWORD DIK_LBRACKET = 0x1A;
constexpr DWORD DIK_RBRACKET = 0x1B;
constexpr DWORD DIK_RETURN = 0x1C;
constexpr DWORD DIK_LCONTROL = 0x1D;
constexpr DWORD DIK_A = 0x1E;
constexpr DWORD DIK_S = 0x1F;
constexpr DWORD DIK_D = 0x20;
constexpr DWORD DIK_F = 0x21;
constexpr DWORD DIK_G = 0x22;
constexpr DWORD DIK_H = 0x23;
constexpr DWORD DIK_J = 0x24;
constexpr DWORD DIK_K = 0x25;
constexpr DWORD DIK_L = 0x26;
constexpr DWORD DIK_SEMICOLON = 0x27;
constexpr DWORD DIK_APOSTROPHE = 0x28;
constexpr DWORD DIK_GRAVE = 0x29;
constexpr DWORD DIK_LSHIFT = 0x2A;
constexpr DWORD DIK_BACKSLASH = 0x2B;
constexpr DWORD DIK_Z = 0x2C;
constexpr DWORD DIK_X = 0x2D;
constexpr DWORD DIK_C = 0x2E;
constexpr DWORD DIK_V = 0x2F;
constexpr DWORD DIK_B = 0x30;
constexpr DWORD DIK_N = 0x31;
constexpr DWORD DIK_M = 0x32;
constexpr DWORD DIK_COMMA = 0x33;
constexpr DWORD DIK_PERIOD = 0x34;
constexpr DWORD DIK_SLASH = 0x35;
constexpr DWORD DIK_RSHIFT = 0x36;
constexpr DWORD DIK_MULTIPLY = 0x37;
constexpr DWORD DIK_LMENU = 0x38;
constexpr DWORD DIK_SPACE = 0x39;
constexpr DWORD DIK_CAPITAL = 0x3A;
constexpr DWORD DIK_F1 = 0x3B;
constexpr DWORD DIK_F2 = 0x3C;
constexpr DWORD DIK_F3 = 0x3D;
constexpr DWORD DIK_F4 = 0x3E;
constexpr DWORD DIK_F5 = 0x3F;
constexpr DWORD DIK_F6 = 0x40;
constexpr DWORD DIK_F7 = 0x41;
constexpr DWORD DIK_F8 = 0x42;
constexpr DWORD DIK_F9 = 0x43;
constexpr DWORD DIK_F10 = 0x44;
constexpr DWORD DIK_NUMLOCK = 0x45;
constexpr DWORD DIK_SCROLL = 0x46;
constexpr DWORD DIK_NUMPAD7 = 0x47;
constexpr DWORD DIK_NUMPAD8 = 0x48;
constexpr DWORD DIK_NUMPAD9 = 0x49;
constexpr DWORD DIK_SUBTRACT = 0x4A;
constexpr DWORD DIK_NUMPAD4 = 0x4B;
constexpr DWORD DIK_NUMPAD5 = 0x4C;
constexpr DWORD DIK_NUMPAD6 = 0x4D;
constexpr DWORD DIK_ADD = 0x4E;
constexpr DWORD DIK_NUMPAD1 = 0x4F;
constexpr DWORD DIK_NUMPAD2 = 0x50;
constexpr DWORD DIK_NUMPAD3 = 0x51;
constexpr DWORD DIK_NUMPAD0 = 0x52;
constexpr DWORD DIK_DECIMAL = 0x53;
constexpr DWORD DIK_F11 = 0x57;
constexpr DWORD DIK_F12 = 0x58;
constexpr DWORD DIK_RCONTROL = 0x9D;
constexpr DWORD DIK_DIVIDE = 0xB5;
constexpr DWORD DIK_SYSRQ = 0xB7;
constexpr DWORD DIK_RMENU = 0xB8;
constexpr DWORD DIK_PAUSE = 0xC5;
constexpr DWORD DIK_HOME = 0xC7;
constexpr DWORD DIK_UP = 0xC8;
constexpr DWORD DIK_PRIOR = 0xC9;
constexpr DWORD DIK_LEFT = 0xCB;
constexpr DWORD DIK_RIGHT = 0xCD;
constexpr DWORD DIK_END = 0xCF;
constexpr DWORD DIK_DOWN = 0xD0;
constexpr DWORD DIK_NEXT = 0xD1;
constexpr DWORD DIK_INSERT = 0xD2;
constexpr DWORD DIK_DELETE = 0xD3;

struct DIMOUSESTATE2
{
    LONG lX = 0; // movement since the previous state read
    LONG lY = 0;
    LONG lZ = 0;             // wheel, 120 a notch
    BYTE rgbButtons[8] = {}; // left, right, middle, X1, X2; 0x80 while down
};

static_assert(sizeof(DIMOUSESTATE2) == 20);

// Offsets of the mouse's buffered changes.
constexpr DWORD DIMOFS_X = 0;
constexpr DWORD DIMOFS_Y = 4;
constexpr DWORD DIMOFS_Z = 8;
constexpr DWORD DIMOFS_BUTTON0 = 12;
constexpr DWORD DIMOFS_BUTTON7 = 19;

struct DIDEVICEOBJECTDATA
{
    DWORD dwOfs = 0;  // the key's scan code, or the mouse offset
    DWORD dwData = 0; // 0x80 set for a key or button going down; the signed movement of an axis
    DWORD dwTimeStamp = 0;
    DWORD dwSequence = 0;
};

static_assert(sizeof(DIDEVICEOBJECTDATA) == 16);

constexpr DWORD DISCL_NONEXCLUSIVE = 0x02;
constexpr DWORD DISCL_BACKGROUND = 0x08;

struct DIPROPHEADER
{
    DWORD dwSize = 0;
    DWORD dwHeaderSize = 0;
    DWORD dwObj = 0;
    DWORD dwHow = 0;
};

struct DIPROPDWORD
{
    DIPROPHEADER diph;
    DWORD dwData = 0;
};

static_assert(sizeof(DIPROPHEADER) == 16 && sizeof(DIPROPDWORD) == 20);

constexpr DWORD DIPH_DEVICE = 0;
extern const GUID DIPROP_BUFFERSIZE; // DIPROPDWORD: the queue's room in changes; set before Acquire

class IDirectInputDevice7A
{
public:
    virtual ULONG Release() = 0;
    virtual HRESULT SetDataFormat(const DIDATAFORMAT* format) = 0;
    // Only non-exclusive background access exists.
    virtual HRESULT SetCooperativeLevel(HWND window, DWORD flags) = 0;
    virtual HRESULT SetProperty(REFGUID property, const DIPROPHEADER* header) = 0;
    virtual HRESULT Acquire() = 0;
    virtual HRESULT Unacquire() = 0;
    virtual HRESULT GetDeviceState(DWORD size, LPVOID state) = 0;
    // Takes at most *count changes, oldest first; *count becomes the number taken.
    virtual HRESULT GetDeviceData(DWORD objectDataSize, DIDEVICEOBJECTDATA* data, DWORD* count, DWORD flags) = 0;

protected:
    virtual ~IDirectInputDevice7A() = default;
};

class IDirectInput7A
{
public:
    virtual ULONG Release() = 0;
    virtual HRESULT CreateDeviceEx(REFGUID device, REFIID interfaceId, LPVOID* result, LPUNKNOWN outer) = 0;

protected:
    virtual ~IDirectInput7A() = default;
};

HRESULT DirectInputCreateEx(HINSTANCE instance, DWORD version, REFIID interfaceId, LPVOID* result, LPUNKNOWN outer);
