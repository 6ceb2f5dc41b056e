// The DirectDraw object of one driver, which is also its Direct3D object (both interfaces share one reference
// count, as QueryInterface hands out the same object). It owns the back end that surfaces and devices draw with.
//
// Display modes are emulated: SetDisplayMode (exclusive mode only) changes what GetDisplayMode reports and the size
// of the primary surface; leaving exclusive mode restores the desktop mode. On Linux the window keeps the desktop's
// depth, so 16-bit modes render at 32 bits and are converted only when pixels are read back.
#pragma once

#include "platform/ddraw/Backend.h"
#include "platform/ddraw/Hardware.h"

#include <atomic>
#include <memory>

namespace DDrawHost {

class Surface;

class DirectDraw final : public IDirectDraw7, public IDirect3D7
{
public:
    DirectDraw(const ScriptedDriver& driver, std::unique_ptr<Backend> backend, bool recording);

    ULONG AddRef() override;
    ULONG Release() override;

    // IID_IDirect3D7 gives the Direct3D object of this DirectDraw object (one more reference).
    HRESULT QueryInterface(REFIID iid, void** object) override;
    HRESULT GetCaps(DDCAPS* hardware, DDCAPS* emulation) override;
    HRESULT EnumDisplayModes(DWORD flags, DDSURFACEDESC2* filter, LPVOID context,
                             LPDDENUMMODESCALLBACK2 callback) override;
    HRESULT SetCooperativeLevel(HWND window, DWORD flags) override;
    HRESULT GetDisplayMode(DDSURFACEDESC2* desc) override;
    HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate, DWORD flags) override;
    HRESULT CreateSurface(DDSURFACEDESC2* desc, IDirectDrawSurface7** surface, IUnknown* outer) override;
    HRESULT CreateClipper(DWORD flags, IDirectDrawClipper** clipper, IUnknown* outer) override;
    HRESULT TestCooperativeLevel() override;
    HRESULT RestoreAllSurfaces() override;
    HRESULT WaitForVerticalBlank(DWORD flags, HANDLE event) override;

    HRESULT EnumDevices(LPD3DENUMDEVICESCALLBACK7 callback, LPVOID context) override;
    HRESULT EnumZBufferFormats(REFCLSID device, LPD3DENUMPIXELFORMATSCALLBACK callback, LPVOID context) override;
    HRESULT CreateDevice(REFCLSID device, IDirectDrawSurface7* target, IDirect3DDevice7** result) override;

    Backend& GetBackend() { return *m_backend; }
    bool IsRecording() const { return m_recording; }
    // Every call of the family starts here: it is recorded (with the recording back end), and the result of a
    // failure injected for it comes back (S_OK when there is none). CallFor names the driver or device it is for.
    HRESULT Call(DDrawCall call, DWORD a = 0, DWORD b = 0, DWORD c = 0) const;
    HRESULT CallFor(DDrawCall call, const GUID& scope) const;
    HWND GetWindow() const { return m_window; }
    // True once after WaitForVerticalBlank: the next presentation waits for the vertical blank.
    bool TakeVerticalBlankWait();

private:
    ~DirectDraw() override;

    const ScriptedDevice* FindDevice(REFCLSID guid) const;
    HRESULT CreatePrimarySurface(const DDSURFACEDESC2& request, IDirectDrawSurface7** surface);
    Surface* CreateChain(DDSURFACEDESC2 desc, DWORD levels);

    std::atomic<ULONG> m_references{1};
    ScriptedDriver m_driver;
    std::unique_ptr<Backend> m_backend;
    bool m_recording;
    HWND m_window = nullptr;
    DWORD m_cooperativeFlags = 0;
    PlatformTesting::ScriptedDisplayMode m_mode;
    bool m_waitForVerticalBlank = false;
};

D3DDEVICEDESC7 DescribeDevice(const ScriptedDevice& device);

} // namespace DDrawHost
