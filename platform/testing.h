// Hooks through which tests decide what the "system" reports. Production code never includes this header.
#pragma once

#include "platform/ddraw/DDraw.h"
#include "platform/ddraw/DeviceState.h"
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

// The installed keyboard layouts by language, in order, and the active one (the first when `active` is not among
// them); an empty list restores English alone.
void SetKeyboardLayouts(const std::vector<WORD>& languages, WORD active);
std::vector<WORD> InstalledKeyboardLayouts();

// Files ---------------------------------------------------------------------------------------------------------

// While on, every file fopen_s opens (for reading or writing, from any thread) is kept by the name the program
// passed, in the order of opening; names that fail to open are not kept. Switching forgets the names kept so far.
void RecordOpenedFiles(bool on);
std::vector<std::string> RecordedOpenedFiles();

// File-system faults: every later call of the kind whose system path contains `part` fails with the system's error
// code `error` (EROFS for a read-only folder, ENOSPC for a full disk...) and changes nothing. Creates are files
// opened for writing or appending and folders made; renames are MoveFileExA, matched on either name. An error of 0
// lifts the fault of that kind.
enum class FileFault
{
    Create,
    Rename
};
void SetFileFault(FileFault kind, const std::string& part, int error);

// Clock -------------------------------------------------------------------------------------------------------

// timeGetTime and the performance counter read a fake clock that starts at the given count of nanoseconds and
// moves only when a test advances it.
void UseFakeClock(std::int64_t startNanoseconds = 0);
void AdvanceFakeClock(double seconds);
void UseRealClock();

// Threads ------------------------------------------------------------------------------------------------------

// CreateThread fails (returns null) while set.
void FailCreateThread(bool fail);

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
    PointerEntered,
    PointerLeft
};
void InjectWindowEvent(HWND window, WindowEvent event);

// The asynchronous state of one virtual key, as if it had been pressed or released.
void SetAsyncKeyState(int virtualKey, bool down);
// The cursor's display counter.
int GetDisplayCount();
// The cursor SetCursor set last (null after ResetInput).
HCURSOR GetCurrentCursor();
// The desktop size GetDesktopWindow reports; 0x0 restores the driver's.
void SetDesktopSize(int width, int height);
// The display depth EnumDisplaySettingsA reports; 0 restores 32 bits.
void SetDesktopBitsPerPixel(DWORD bitsPerPixel);
// Forgets queued events and messages, key states, the cursor and its display counter.
void ResetInput();
// The key presses the stand-in has read from the X server as they happened, with the key's binding at that moment
// (0 without an X server). A test that binds a key for one press waits for the count before it unbinds the key.
std::size_t KeyPressesReadFromTheServer();

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

// Message boxes ---------------------------------------------------------------------------------------------

struct MessageBoxRecord
{
    HWND owner = nullptr;
    std::string text; // as the program passed them
    std::string caption;
    UINT type = 0;
};

// While on, MessageBoxA keeps each box here instead of showing it (its stderr line is still written). Switching
// forgets the boxes kept so far.
void RecordMessageBoxes(bool on);
const std::vector<MessageBoxRecord>& RecordedMessageBoxes();

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

// DirectDraw and Direct3D ------------------------------------------------------------------------------------
// The display drivers and devices the enumeration reports, injected failures, lost surfaces, and the recording
// back end.

struct ScriptedDisplayMode
{
    DWORD width = 0;
    DWORD height = 0;
    DWORD bitsPerPixel = 32;
    DWORD refreshRate = 60;
};

// A8R8G8B8, X8R8G8B8, R5G6B5, A1R5G5B5, A4R4G4B4: what EnumTextureFormats reports unless a test says otherwise.
std::vector<DDPIXELFORMAT> DefaultTextureFormats();
// An RGB texture format by its channel masks (with DDPF_ALPHAPIXELS when there is an alpha mask).
DDPIXELFORMAT RgbTextureFormat(DWORD bitsPerPixel, DWORD red, DWORD green, DWORD blue, DWORD alpha);

struct ScriptedDevice
{
    GUID guid;
    std::string name;
    std::string description;
    bool hardware = true;                   // D3DDEVCAPS_HWRASTERIZATION
    bool zBufferless = false;               // D3DPRASTERCAPS_ZBUFFERLESSHSR
    DWORD renderDepths = DDBD_16 | DDBD_32; // DDBD_ flags
    DWORD maxTextureWidth = 2048;
    DWORD maxTextureHeight = 2048;
    DWORD maxAnisotropy = 16;
    WORD textureStages = 8;
    std::vector<DDPIXELFORMAT> textureFormats = DefaultTextureFormats(); // in the order the device lists them
};

struct ScriptedDriver
{
    bool hasGuid = false; // the primary display driver has none
    GUID guid;
    std::string description;
    std::string name;
    DWORD caps = DDCAPS_GDI;
    std::vector<ScriptedDisplayMode> modes; // in the order the driver lists them
    std::vector<ScriptedDevice> devices;
    std::vector<DWORD> zBufferDepths = {16, 24, 32}; // in the order EnumZBufferFormats reports them
};

// The drivers DirectDrawEnumerateExA reports from now on; an empty list restores the default (one primary driver
// with a transform-and-lighting HAL, a HAL, a software and a reference device).
void SetDisplayDrivers(const std::vector<ScriptedDriver>& drivers);
std::vector<ScriptedDriver> DefaultDisplayDrivers();

// DirectDraw objects created from now on draw with the recording back end (no GL) or with GL.
void UseRecordingDevice(bool on);

enum class DDrawCall
{
    DirectDrawCreateEx,
    QueryInterface,
    SetCooperativeLevel,
    GetDisplayMode,
    SetDisplayMode,
    CreateSurface,
    CreateClipper,
    AddAttachedSurface,
    CreateDevice,
    SetViewport,
    SetRenderTarget,
    TestCooperativeLevel,
    RestoreAllSurfaces,
    WaitForVerticalBlank,
    Lock,
    Blt,
    Flip,
    Clear,
    BeginScene,
    EndScene,
    SetRenderState,
    SetTextureStageState,
    SetTransform,
    SetMaterial,
    SetLight,
    LightEnable,
    SetTexture,
    DrawIndexedPrimitive
};

// The next `times` calls (every call for -1) fail with code. With a scope, only calls for that driver GUID
// (DirectDrawCreateEx, QueryInterface; the all-zero GUID names the primary driver) or that device GUID
// (CreateDevice) fail.
void FailCall(DDrawCall call, HRESULT code, int times = -1, const GUID* scope = nullptr);
void ClearFailures();

// Every surface of the live DirectDraw objects reports DDERR_SURFACELOST until RestoreAllSurfaces.
void LoseSurfaces();

// What the recording back end keeps: every call to a DirectDraw object, surface or device (a, b and c are the
// call's first plain arguments: states and values, stages, flags, counts), and every draw.
struct RecordedCall
{
    DDrawCall call;
    DWORD a = 0;
    DWORD b = 0;
    DWORD c = 0;
};

struct RecordedDraw
{
    D3DPRIMITIVETYPE type = D3DPT_TRIANGLELIST;
    DWORD vertexFormat = 0;
    DWORD vertexCount = 0;
    DWORD indexCount = 0;
    bool indices32 = false;
    std::vector<DWORD> indices;
};

const std::vector<RecordedCall>& RecordedCalls();
const std::vector<RecordedDraw>& RecordedDraws();
void ClearRecording();
// How many recorded calls of one kind there are; with a, only those whose first argument is a.
std::size_t CountCalls(DDrawCall call);
std::size_t CountCalls(DDrawCall call, DWORD a);

// The state of the device created last while it lives; null when there is none.
const DDrawHost::DeviceState* LiveDeviceState();

} // namespace PlatformTesting
