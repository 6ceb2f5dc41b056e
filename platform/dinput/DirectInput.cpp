#include "platform/dinput/DInput.h"

#include "platform/testing.h"
#include "platform/win32/Time.h"
#include "platform/win32/Window.h"
#include "platform/win32/WindowHost.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

using PlatformTesting::InputCall;
using PlatformTesting::InputDevice;

const GUID IID_IDirectInput7A{0x4B450701, 0x4449, 0x0007, {0x4B, 0x45, 0x53, 0x54, 0x41, 0x4E, 0x44, 0x01}};
const GUID IID_IDirectInputDevice7A{0x4B450702, 0x4449, 0x0007, {0x4B, 0x45, 0x53, 0x54, 0x41, 0x4E, 0x44, 0x02}};
const GUID GUID_SysKeyboard{0x4B450703, 0x4449, 0x0007, {0x4B, 0x45, 0x53, 0x54, 0x41, 0x4E, 0x44, 0x03}};
const GUID GUID_SysMouse{0x4B450704, 0x4449, 0x0007, {0x4B, 0x45, 0x53, 0x54, 0x41, 0x4E, 0x44, 0x04}};
const GUID DIPROP_BUFFERSIZE{0x4B450705, 0x4449, 0x0007, {0x4B, 0x45, 0x53, 0x54, 0x41, 0x4E, 0x44, 0x05}};

const DIDATAFORMAT c_dfDIKeyboard{256};
const DIDATAFORMAT c_dfDIMouse2{sizeof(DIMOUSESTATE2)};

namespace {

constexpr HRESULT kNoEffect = S_FALSE;
constexpr HRESULT kInvalidParameter = E_INVALIDARG;
constexpr HRESULT kNoInterface = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT kDeviceNotRegistered = static_cast<HRESULT>(0x80040154u);
constexpr HRESULT kNotAcquired = static_cast<HRESULT>(0x8007000Cu);
constexpr HRESULT kAcquired = static_cast<HRESULT>(0x800700AAu);
constexpr HRESULT kNotBuffered = static_cast<HRESULT>(0x80040207u);

constexpr DWORD kMaximumBufferSize = 1024;
constexpr BYTE kDown = 0x80;

struct ScriptedFailure
{
    InputDevice device;
    InputCall call;
    HRESULT result;
    int times;
};

std::vector<ScriptedFailure> g_failures;
DWORD g_sequence = 0;

// True when a test has scripted this call to fail; result is then its answer.
bool Scripted(InputDevice device, InputCall call, HRESULT& result)
{
    for (auto it = g_failures.begin(); it != g_failures.end(); ++it) {
        if (it->call == call && (it->device == device || call == InputCall::DirectInputCreate)) {
            result = it->result;
            if (--it->times <= 0)
                g_failures.erase(it);
            return true;
        }
    }
    return false;
}

class Device final : public IDirectInputDevice7A, private Win32Host::RawInputListener
{
public:
    explicit Device(InputDevice kind) : m_kind(kind) { Win32Host::AddRawInputListener(this); }

    ULONG Release() override
    {
        if (--m_references > 0)
            return m_references;
        delete this;
        return 0;
    }

    HRESULT SetDataFormat(const DIDATAFORMAT* format) override
    {
        HRESULT result;
        if (Scripted(m_kind, InputCall::SetDataFormat, result))
            return result;
        if (m_acquired)
            return kAcquired;
        if (format != (m_kind == InputDevice::Keyboard ? &c_dfDIKeyboard : &c_dfDIMouse2))
            return kInvalidParameter;
        m_format = format;
        return DI_OK;
    }

    HRESULT SetCooperativeLevel(HWND window, DWORD flags) override
    {
        HRESULT result;
        if (Scripted(m_kind, InputCall::SetCooperativeLevel, result))
            return result;
        return IsWindow(window) && flags == (DISCL_NONEXCLUSIVE | DISCL_BACKGROUND) ? DI_OK : kInvalidParameter;
    }

    HRESULT SetProperty(REFGUID property, const DIPROPHEADER* header) override
    {
        HRESULT result;
        if (Scripted(m_kind, InputCall::SetProperty, result))
            return result;
        if (m_acquired)
            return kAcquired;
        if (!(property == DIPROP_BUFFERSIZE) || !header || header->dwSize != sizeof(DIPROPDWORD) ||
            header->dwHeaderSize != sizeof(DIPROPHEADER) || header->dwObj != 0 || header->dwHow != DIPH_DEVICE)
            return kInvalidParameter;
        const DWORD size = reinterpret_cast<const DIPROPDWORD*>(header)->dwData;
        m_queue.assign(std::min(size, kMaximumBufferSize), DIDEVICEOBJECTDATA{});
        ClearQueue();
        return DI_OK;
    }

    HRESULT Acquire() override
    {
        HRESULT result;
        if (Scripted(m_kind, InputCall::Acquire, result))
            return result;
        if (!m_format)
            return kInvalidParameter;
        if (m_acquired)
            return kNoEffect;
        m_acquired = true;
        return DI_OK;
    }

    HRESULT Unacquire() override
    {
        if (!m_acquired)
            return kNoEffect;
        m_acquired = false;
        ClearQueue();
        m_motion = {};
        return DI_OK;
    }

    HRESULT GetDeviceState(DWORD size, LPVOID state) override
    {
        HRESULT result;
        if (Scripted(m_kind, InputCall::GetDeviceState, result))
            return result;
        if (!m_acquired)
            return kNotAcquired;
        if (!state || size != m_format->dwDataSize)
            return kInvalidParameter;
        Win32Host::PumpEvents();
        if (m_kind == InputDevice::Keyboard) {
            std::memcpy(state, m_keys.data(), m_keys.size());
        } else {
            DIMOUSESTATE2 mouse;
            mouse.lX = m_motion[0];
            mouse.lY = m_motion[1];
            mouse.lZ = m_motion[2];
            std::copy(m_buttons.begin(), m_buttons.end(), mouse.rgbButtons);
            std::memcpy(state, &mouse, sizeof(mouse));
            m_motion = {};
        }
        return DI_OK;
    }

    HRESULT GetDeviceData(DWORD objectDataSize, DIDEVICEOBJECTDATA* data, DWORD* count, DWORD flags) override
    {
        HRESULT result;
        if (Scripted(m_kind, InputCall::GetDeviceData, result))
            return result;
        if (!m_acquired)
            return kNotAcquired;
        if (objectDataSize != sizeof(DIDEVICEOBJECTDATA) || !count || (!data && *count) || flags != 0)
            return kInvalidParameter;
        if (m_queue.empty())
            return kNotBuffered;
        Win32Host::PumpEvents();
        DWORD taken = 0;
        for (; taken < *count && m_queued > 0; ++taken) {
            data[taken] = m_queue[m_first];
            m_first = (m_first + 1) % m_queue.size();
            --m_queued;
        }
        *count = taken;
        const bool overflowed = m_overflowed;
        m_overflowed = false;
        return overflowed ? DI_BUFFEROVERFLOW : DI_OK;
    }

private:
    ~Device() override { Win32Host::RemoveRawInputListener(this); }

    void OnKey(BYTE scanCode, bool down) override
    {
        if (m_kind == InputDevice::Keyboard)
            Change(m_keys[scanCode], scanCode, down);
    }

    void OnButton(int button, bool down) override
    {
        if (m_kind == InputDevice::Mouse && button >= 0 && button < 8)
            Change(m_buttons[button], DIMOFS_BUTTON0 + button, down);
    }

    void OnMouseMove(int dx, int dy) override
    {
        Move(0, DIMOFS_X, dx);
        Move(1, DIMOFS_Y, dy);
    }

    void OnWheel(int delta) override { Move(2, DIMOFS_Z, delta); }

    void Change(BYTE& state, DWORD offset, bool down)
    {
        const BYTE value = down ? kDown : 0;
        if (state == value)
            return;
        state = value;
        Record(offset, value);
    }

    void Move(int axis, DWORD offset, int delta)
    {
        if (m_kind != InputDevice::Mouse || !m_acquired || delta == 0)
            return;
        // Movement wraps around rather than overflow when nobody reads the state for ages.
        m_motion[axis] = static_cast<LONG>(static_cast<DWORD>(m_motion[axis]) + static_cast<DWORD>(delta));
        Record(offset, static_cast<DWORD>(delta));
    }

    void Record(DWORD offset, DWORD data)
    {
        if (!m_acquired || m_queue.empty())
            return;
        if (m_queued == m_queue.size()) {
            m_overflowed = true;
            return;
        }
        m_queue[(m_first + m_queued) % m_queue.size()] = {offset, data, timeGetTime(), ++g_sequence};
        ++m_queued;
    }

    void ClearQueue()
    {
        m_first = 0;
        m_queued = 0;
        m_overflowed = false;
    }

    InputDevice m_kind;
    ULONG m_references = 1;
    const DIDATAFORMAT* m_format = nullptr;
    bool m_acquired = false;
    std::array<BYTE, 256> m_keys{};
    std::array<BYTE, 8> m_buttons{};
    std::array<LONG, 3> m_motion{};
    std::vector<DIDEVICEOBJECTDATA> m_queue; // a ring of the room DIPROP_BUFFERSIZE gave
    std::size_t m_first = 0;
    std::size_t m_queued = 0;
    bool m_overflowed = false;
};

class DirectInput final : public IDirectInput7A
{
public:
    ULONG Release() override
    {
        if (--m_references > 0)
            return m_references;
        delete this;
        return 0;
    }

    HRESULT CreateDeviceEx(REFGUID device, REFIID interfaceId, LPVOID* result, LPUNKNOWN outer) override
    {
        if (!result)
            return kInvalidParameter;
        *result = nullptr;
        if (!(device == GUID_SysKeyboard) && !(device == GUID_SysMouse))
            return kDeviceNotRegistered;
        const InputDevice kind = device == GUID_SysKeyboard ? InputDevice::Keyboard : InputDevice::Mouse;
        HRESULT failure;
        if (Scripted(kind, InputCall::CreateDevice, failure))
            return failure;
        if (!(interfaceId == IID_IDirectInputDevice7A))
            return kNoInterface;
        if (outer)
            return kInvalidParameter;
        *result = static_cast<IDirectInputDevice7A*>(new Device(kind));
        return DI_OK;
    }

private:
    ~DirectInput() override = default;

    ULONG m_references = 1;
};

} // namespace

HRESULT DirectInputCreateEx(HINSTANCE instance, DWORD version, REFIID interfaceId, LPVOID* result, LPUNKNOWN outer)
{
    if (!result)
        return kInvalidParameter;
    *result = nullptr;
    HRESULT failure;
    if (Scripted(InputDevice::Keyboard, InputCall::DirectInputCreate, failure))
        return failure;
    if (!instance || version != DIRECTINPUT_VERSION || outer)
        return kInvalidParameter;
    if (!(interfaceId == IID_IDirectInput7A))
        return kNoInterface;
    Win32Host::StartEvents();
    *result = static_cast<IDirectInput7A*>(new DirectInput);
    return DI_OK;
}

void PlatformTesting::FailInputCall(InputDevice device, InputCall call, HRESULT result, int times)
{
    if (times > 0)
        g_failures.push_back({device, call, result, times});
}

void PlatformTesting::ClearInputFailures()
{
    g_failures.clear();
}
