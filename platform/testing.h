// Hooks through which tests decide what the "system" reports. Production code never includes this header.
#pragma once

#include "platform/dinput/DInput.h"
#include "platform/dsound/DSound.h"
#include "platform/gdi/Gdi.h"
#include "platform/vfw/Vfw.h"
#include "platform/win32/Win32.h"

#include <SDL_mouse.h>
#include <SDL_scancode.h>
#include <cstdint>
#include <string>
#include <vector>

namespace PlatformTesting {

// The program file GetModuleFileNameA reports (its folder is the program folder); empty restores the real one.
void SetModuleFileName(const std::string& path);

// A fixed local time for GetLocalTime; null restores the real clock.
void SetLocalTime(const SYSTEMTIME* time);

// The active ANSI code page (1252 or 1251).
void SetAnsiCodePage(UINT codePage);

// Clock -------------------------------------------------------------------------------------------------------

// timeGetTime and the performance counter read a fake clock that starts at the given count of nanoseconds and
// moves only when a test advances it.
void UseFakeClock(std::int64_t startNanoseconds = 0);
void AdvanceFakeClock(double seconds);
void UseRealClock();

// Windows and input -------------------------------------------------------------------------------------------
// Events are queued as SDL delivers them; the stand-in takes them in when the program next reads its messages
// or its input devices. Xvfb has no window manager, so window-manager events (minimise, maximise, focus) are
// injected too.

void InjectKey(SDL_Scancode scancode, bool down, bool repeat = false);
void InjectText(const std::string& utf8); // at most 31 bytes
// A move to (x, y) in the window's pixels, by (dx, dy).
void InjectMouseMotion(HWND window, int x, int y, int dx, int dy);
void InjectMouseButton(int sdlButton, bool down); // SDL_BUTTON_LEFT...
void InjectMouseWheel(int notches);               // positive away from the user

enum class WindowEvent
{
    Close,
    Minimised,
    Maximised,
    Restored,
    FocusGained,
    FocusLost,
    PointerEntered
};
void InjectWindowEvent(HWND window, WindowEvent event);

// The asynchronous state of one virtual key, as if it had been pressed or released.
void SetAsyncKeyState(int virtualKey, bool down);
// The cursor's display counter.
int GetDisplayCount();
// The desktop size GetDesktopWindow reports; 0x0 restores the driver's.
void SetDesktopSize(int width, int height);
// Forgets queued events and messages, key states, the cursor and its display counter.
void ResetInput();

struct WindowState
{
    bool exists = false;
    bool visible = false;
    bool fullScreen = false; // shown over the whole desktop
    bool bordered = false;
    bool topmost = false;
    bool minimised = false; // the placement the stand-in keeps
    bool maximised = false;
    int width = 0; // the SDL window's size
    int height = 0;
    std::string title; // UTF-8
};
WindowState GetWindowState(HWND window);

// DirectInput -------------------------------------------------------------------------------------------------

enum class InputDevice
{
    Keyboard,
    Mouse
};

enum class InputCall
{
    DirectInputCreate, // the device is not consulted
    CreateDevice,
    SetDataFormat,
    SetCooperativeLevel,
    SetProperty,
    Acquire,
    GetDeviceData,
    GetDeviceState
};

// The next `times` calls of `call` on the device answer `result` and do nothing else.
void FailInputCall(InputDevice device, InputCall call, HRESULT result, int times = 1);
// Forgets every failure still scripted.
void ClearInputFailures();

// DirectSound -------------------------------------------------------------------------------------------------

// The device and buffer calls a test can make fail.
enum class SoundCall
{
    Create,     // DirectSoundCreate
    OpenOutput, // opening the SDL audio device: the device then plays to a silent clock
    SetCooperativeLevel,
    CreatePrimaryBuffer,
    SetFormat,    // of the primary buffer
    GetListener,  // QueryInterface of the primary buffer for the 3D listener
    CreateBuffer, // a secondary buffer
    DuplicateBuffer,
    Get3DBuffer, // QueryInterface of a secondary buffer for its 3D buffer
    GetStatus,
    GetCurrentPosition,
    Lock,
    Restore,
    CommitDeferredSettings,
    Count
};

// Every later call of that kind fails with code (S_OK lets it succeed again).
void FailSoundCall(SoundCall call, HRESULT code);
void ClearSoundFailures();

// Devices created afterwards mix for a manual output at this rate (frames per second) instead of SDL audio;
// 0 goes back to SDL audio. The output advances only when RenderSoundOutput asks.
void UseManualSoundOutput(unsigned rate);
// Renders frames of interleaved 16-bit stereo from the last device created with a manual output (silence when
// there is none).
void RenderSoundOutput(std::int16_t* stereo, std::uint32_t frames);

// Every existing buffer, primary and secondary, becomes lost: it stops, reports DSBSTATUS_BUFFERLOST, refuses
// Play and Lock with DSERR_BUFFERLOST until Restore, and its sample memory is cleared to zero bytes.
void LoseSoundBuffers();
// Buffers that are lost now.
int LostSoundBuffers();

// DirectSound objects (devices, buffers, listeners, 3D buffers) not yet released.
int LiveSoundObjects();

// Window grab (GDI) -------------------------------------------------------------------------------------------

// The frame the window shows, as if its presenter had just presented it: width x height pixels 0xRRGGBB, top row
// first. It stands in for the window's presenter until ForgetPresentedFrames.
void PresentFrame(HWND window, int width, int height, const std::vector<std::uint32_t>& topDownRgb);
void ForgetPresentedFrames();

enum class GdiCall
{
    CreateCompatibleDC,
    CreateCompatibleBitmap,
    SelectObject,
    BitBlt,
    GetDIBits,
    Count
};

// The next `times` calls of `call` fail (null, FALSE or 0) and do nothing else.
void FailGdiCall(GdiCall call, int times = 1);
void ClearGdiFailures();
// Memory device contexts and bitmaps not yet deleted.
int LiveGdiObjects();

// Video for Windows -------------------------------------------------------------------------------------------

// The version VideoForWindowsVersion reports; 0 restores the stand-in's own (1.10).
void SetVideoForWindowsVersion(DWORD version);
// Whether AVISaveOptions answers as if the user had cancelled the codec choice.
void CancelCodecChoice(bool cancel);
// The size AVI files opened afterwards may reach; 0 restores 1 GiB.
void SetAviFileSizeLimit(std::uint64_t bytes);
// AVI files and streams not yet released.
int LiveAviObjects();

} // namespace PlatformTesting
