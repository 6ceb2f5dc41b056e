#include "Controls_DI7.h"

#include "MessageManager.h"
#include "Window.h"
#include "platform/win32/Win32.h"

namespace KeystrelEngine {
namespace {

constexpr DWORD kKeyboardBufferSize = 8;
constexpr DWORD kMouseBufferSize = 16;
constexpr DWORD kEventsPerFrame = 8;
constexpr DWORD kDownBit = 0x80;

// The scan codes of the keyboard's names, in the order of KeyNames after the mouse buttons.
constexpr DWORD kScanCodes[] = {
    DIK_CAPITAL,  DIK_NUMLOCK,   DIK_SCROLL,    DIK_0,         DIK_1,       DIK_2,       DIK_3,        DIK_4,
    DIK_5,        DIK_6,         DIK_7,         DIK_8,         DIK_9,       DIK_A,       DIK_B,        DIK_C,
    DIK_D,        DIK_E,         DIK_F,         DIK_G,         DIK_H,       DIK_I,       DIK_J,        DIK_K,
    DIK_L,        DIK_M,         DIK_N,         DIK_O,         DIK_P,       DIK_Q,       DIK_R,        DIK_S,
    DIK_T,        DIK_U,         DIK_V,         DIK_W,         DIK_X,       DIK_Y,       DIK_Z,        DIK_BACK,
    DIK_TAB,      DIK_SPACE,     DIK_RETURN,    DIK_ESCAPE,    DIK_RSHIFT,  DIK_LSHIFT,  DIK_RCONTROL, DIK_LCONTROL,
    DIK_RMENU,    DIK_LMENU,     DIK_PRIOR,     DIK_NEXT,      DIK_END,     DIK_HOME,    DIK_SYSRQ,    DIK_INSERT,
    DIK_DELETE,   DIK_PAUSE,     DIK_LEFT,      DIK_UP,        DIK_RIGHT,   DIK_DOWN,    DIK_NUMPAD0,  DIK_NUMPAD1,
    DIK_NUMPAD2,  DIK_NUMPAD3,   DIK_NUMPAD4,   DIK_NUMPAD5,   DIK_NUMPAD6, DIK_NUMPAD7, DIK_NUMPAD8,  DIK_NUMPAD9,
    DIK_MULTIPLY, DIK_ADD,       DIK_SUBTRACT,  DIK_DECIMAL,   DIK_DIVIDE,  DIK_F1,      DIK_F2,       DIK_F3,
    DIK_F4,       DIK_F5,        DIK_F6,        DIK_F7,        DIK_F8,      DIK_F9,      DIK_F10,      DIK_F11,
    DIK_F12,      DIK_GRAVE,     DIK_SEMICOLON, DIK_EQUALS,    DIK_COMMA,   DIK_MINUS,   DIK_PERIOD,   DIK_SLASH,
    DIK_LBRACKET, DIK_BACKSLASH, DIK_RBRACKET,  DIK_APOSTROPHE};
static_assert(std::size(kScanCodes) == kKeyNameCount - kMouseButtonCount);

} // namespace

Controls_DI7::Controls_DI7(MessageManager* log, TimerManager* timerManager, Config* config, Window* window)
    : Controls(log, timerManager, config, window)
{
    m_log->Message("Initialization of DirectInput devices...");
    // A failed start leaves nothing acquired or held behind.
    try {
        m_log->Message("...Creating a DirectInput object...");
        void* directInput = nullptr;
        if (FAILED(DirectInputCreateEx(window->m_instance, DIRECTINPUT_VERSION, IID_IDirectInput7A, &directInput,
                                       nullptr)))
            m_log->FatalError("Failed to create a DirectInput object");
        m_directInput = static_cast<IDirectInput7A*>(directInput);
        m_log->Message("...Keyboard:");
        OpenDevice(m_keyboard, "keyboard", GUID_SysKeyboard, c_dfDIKeyboard, kKeyboardBufferSize, m_keyboardBuffered);
        m_log->Message("...Mouse:");
        OpenDevice(m_mouse, "mouse", GUID_SysMouse, c_dfDIMouse2, kMouseBufferSize, m_mouseBuffered);
    } catch (...) {
        ReleaseAll();
        throw;
    }
    for (std::size_t i = 0; i < std::size(kScanCodes); ++i)
        m_nameToCode.emplace(KeyNames[kMouseButtonCount + i], static_cast<int>(kScanCodes[i]));
    for (const auto& [name, code] : m_nameToCode)
        m_codeToName.emplace(code, name);
}

Controls_DI7::~Controls_DI7()
{
    m_log->Message("\nDirectInput devices destroying:");
    m_log->Message("...Keyboard...");
    Release(m_keyboard);
    m_log->Message("...Mouse...");
    Release(m_mouse);
    m_log->Message("...DirectInput object...");
    if (m_directInput)
        m_directInput->Release();
    m_cursorVisible = true;
    ApplyCursorVisibility();
}

void Controls_DI7::OpenDevice(IDirectInputDevice7A*& device, const std::string& deviceName, const GUID& guid,
                              const DIDATAFORMAT& format, DWORD bufferSize, bool& buffered)
{
    m_log->Message("......Obtaining an interface to the system " + deviceName + " device...");
    void* created = nullptr;
    if (FAILED(m_directInput->CreateDeviceEx(guid, IID_IDirectInputDevice7A, &created, nullptr)))
        m_log->FatalError("Failed to obtain an interface to the system " + deviceName + " device");
    device = static_cast<IDirectInputDevice7A*>(created);

    m_log->Message("......Setting the data format...");
    if (FAILED(device->SetDataFormat(&format)))
        m_log->FatalError("Failed to set the data format");
    m_log->Message("......Setting the cooperativity level...");
    if (FAILED(device->SetCooperativeLevel(GetDesktopWindow(), DISCL_NONEXCLUSIVE | DISCL_BACKGROUND)))
        m_log->FatalError("Failed to set the cooperativity level");
    if (buffered) {
        m_log->Message("......Setting the buffered mode...");
        DIPROPDWORD property;
        property.diph.dwSize = sizeof(DIPROPDWORD);
        property.diph.dwHeaderSize = sizeof(DIPROPHEADER);
        property.diph.dwObj = 0;
        property.diph.dwHow = DIPH_DEVICE;
        property.dwData = bufferSize;
        if (FAILED(device->SetProperty(DIPROP_BUFFERSIZE, &property.diph))) {
            buffered = false;
            m_log->Error("Failed to set the buffered mode, switching to the immediate mode");
        }
    }
    device->Acquire();
}

void Controls_DI7::ReleaseAll()
{
    Release(m_keyboard);
    Release(m_mouse);
    if (m_directInput)
        m_directInput->Release();
}

void Controls_DI7::Release(IDirectInputDevice7A* device)
{
    if (device) {
        device->Unacquire();
        device->Release();
    }
}

void Controls_DI7::Reacquire(IDirectInputDevice7A* device)
{
    while (device->Acquire() == DIERR_INPUTLOST) {
    }
}

void Controls_DI7::Update()
{
    ReadKeyboard();
    ReadMouse();
    Controls::Update();
}

void Controls_DI7::ReadKeyboard()
{
    if (m_keyboardBuffered) {
        DIDEVICEOBJECTDATA events[kEventsPerFrame];
        DWORD count = kEventsPerFrame;
        if (m_keyboard->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), events, &count, 0) == DI_OK) {
            for (DWORD i = 0; i < count; ++i) {
                const auto name = m_codeToName.find(static_cast<int>(events[i].dwOfs));
                if (name != m_codeToName.end())
                    SetKeyState(name->second, (events[i].dwData & kDownBit) != 0);
            }
            return;
        }
        Reacquire(m_keyboard);
    }
    ReadKeyboardState();
}

// Every named key takes the state the device reports now; keys it reports up are released.
void Controls_DI7::ReadKeyboardState()
{
    BYTE state[256] = {};
    if (FAILED(m_keyboard->GetDeviceState(sizeof(state), state)))
        Reacquire(m_keyboard);
    for (const auto& [name, code] : m_nameToCode)
        SetKeyState(name, state[code] != 0);
}

void Controls_DI7::ReadMouse()
{
    m_mouseDeltaX = 0;
    m_mouseDeltaY = 0;
    m_wheel = 0;
    if (m_mouseBuffered) {
        DIDEVICEOBJECTDATA events[kEventsPerFrame];
        DWORD count = kEventsPerFrame;
        if (m_mouse->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), events, &count, 0) == DI_OK) {
            for (DWORD i = 0; i < count; ++i)
                ApplyMouseEvent(events[i]);
            return;
        }
        Reacquire(m_mouse);
    }
    ReadMouseState();
}

void Controls_DI7::ApplyMouseEvent(const DIDEVICEOBJECTDATA& event)
{
    const auto movement = static_cast<std::int32_t>(event.dwData);
    if (event.dwOfs == DIMOFS_X)
        m_mouseDeltaX += static_cast<float>(movement);
    else if (event.dwOfs == DIMOFS_Y)
        m_mouseDeltaY += static_cast<float>(movement);
    else if (event.dwOfs == DIMOFS_Z)
        m_wheel += movement;
    else if (event.dwOfs >= DIMOFS_BUTTON0 && event.dwOfs <= DIMOFS_BUTTON7)
        SetKeyState(m_mouseButtonNames[event.dwOfs - DIMOFS_BUTTON0], (event.dwData & kDownBit) != 0);
}

// The buttons take the state the device reports now. The axes are taken only in the immediate mode: after a
// failed buffered read the frame's movement stays 0.
void Controls_DI7::ReadMouseState()
{
    DIMOUSESTATE2 state;
    if (FAILED(m_mouse->GetDeviceState(sizeof(state), &state)))
        Reacquire(m_mouse);
    for (std::size_t i = 0; i < kMouseButtonCount; ++i)
        SetKeyState(m_mouseButtonNames[i], state.rgbButtons[i] != 0);
    if (!m_mouseBuffered) {
        m_wheel = state.lZ;
        m_mouseDeltaX = static_cast<float>(state.lX);
        m_mouseDeltaY = static_cast<float>(state.lY);
    }
}

} // namespace KeystrelEngine
