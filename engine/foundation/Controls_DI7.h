// The input back end: the system keyboard and mouse through DirectInput 7. Both devices are non-exclusive
// background devices. Each reads buffered changes (at most 8 a frame) unless setting its buffer size failed at
// start; a frame whose buffered read fails (lost input, a full buffer) uses the device's immediate state
// instead, so no key stays held after its release was lost.
#pragma once

#include "Controls.h"
#include "platform/dinput/DInput.h"

#include <map>
#include <string>

namespace KeystrelEngine {

class Controls_DI7 : public Controls
{
public:
    Controls_DI7(MessageManager* log, TimerManager* timerManager, Config* config, Window* window);
    ~Controls_DI7() override;

    void Update() override;

private:
    void OpenDevice(IDirectInputDevice7A*& device, const std::string& deviceName, const GUID& guid,
                    const DIDATAFORMAT& format, DWORD bufferSize, bool& buffered);
    void ReleaseAll();
    void ReadKeyboard();
    void ReadKeyboardState();
    void ReadMouse();
    void ApplyMouseEvent(const DIDEVICEOBJECTDATA& event);
    void ReadMouseState();
    static void Reacquire(IDirectInputDevice7A* device);
    static void Release(IDirectInputDevice7A* device);

    IDirectInput7A* m_directInput = nullptr;
    IDirectInputDevice7A* m_keyboard = nullptr;
    IDirectInputDevice7A* m_mouse = nullptr;
    std::map<std::string, int> m_nameToCode; // the keyboard's names and their scan codes
    std::map<int, std::string> m_codeToName;
    bool m_keyboardBuffered = true;
    bool m_mouseBuffered = true;
};

} // namespace KeystrelEngine
