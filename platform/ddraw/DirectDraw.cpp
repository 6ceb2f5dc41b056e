#include "platform/ddraw/DirectDraw.h"

#include "platform/ddraw/Device.h"
#include "platform/ddraw/GLBackend.h"
#include "platform/ddraw/PixelFormat.h"
#include "platform/ddraw/RecordingBackend.h"
#include "platform/ddraw/Surface.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace DDrawHost {

namespace {

GUID ScopeOf(const ScriptedDriver& driver)
{
    return driver.hasGuid ? driver.guid : GUID{};
}

constexpr DWORD DepthFlag(DWORD bits)
{
    return bits == 16 ? DDBD_16 : bits == 24 ? DDBD_24 : DDBD_32;
}

// The levels of a full mip-map chain: the larger side halved down to 1.
DWORD MipLevelCount(DWORD width, DWORD height)
{
    DWORD levels = 1;
    for (DWORD side = std::max(width, height); side > 1; side /= 2)
        ++levels;
    return levels;
}

} // namespace

D3DDEVICEDESC7 DescribeDevice(const ScriptedDevice& device)
{
    D3DDEVICEDESC7 desc;
    desc.dwDevCaps = device.hardware ? D3DDEVCAPS_HWRASTERIZATION : 0;
    desc.dpcTriCaps.dwRasterCaps = device.zBufferless ? D3DPRASTERCAPS_ZBUFFERLESSHSR : 0;
    desc.dwDeviceRenderBitDepth = device.renderDepths;
    desc.dwMaxTextureWidth = device.maxTextureWidth;
    desc.dwMaxTextureHeight = device.maxTextureHeight;
    desc.dwMaxAnisotropy = device.maxAnisotropy;
    desc.wMaxSimultaneousTextures = device.textureStages;
    desc.deviceGUID = device.guid;
    return desc;
}

DirectDraw::DirectDraw(const ScriptedDriver& driver, std::unique_ptr<Backend> backend, bool recording)
    : m_driver(driver), m_backend(std::move(backend)), m_recording(recording), m_mode(DesktopMode())
{
}

DirectDraw::~DirectDraw() = default;

ULONG DirectDraw::AddRef()
{
    return ++m_references;
}

ULONG DirectDraw::Release()
{
    const ULONG remaining = --m_references;
    if (remaining == 0)
        delete this;
    return remaining;
}

HRESULT DirectDraw::QueryInterface(REFIID iid, void** object)
{
    if (const HRESULT injected = CallFor(DDrawCall::QueryInterface, ScopeOf(m_driver)); FAILED(injected))
        return injected;
    if (iid == IID_IDirect3D7)
        *object = static_cast<IDirect3D7*>(this);
    else if (iid == IID_IDirectDraw7)
        *object = static_cast<IDirectDraw7*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return DD_OK;
}

HRESULT DirectDraw::GetCaps(DDCAPS* hardware, DDCAPS* emulation)
{
    if (hardware)
        hardware->dwCaps = m_driver.caps;
    if (emulation)
        emulation->dwCaps = 0;
    return DD_OK;
}

HRESULT DirectDraw::EnumDisplayModes(DWORD /*flags*/, DDSURFACEDESC2* /*filter*/, LPVOID context,
                                     LPDDENUMMODESCALLBACK2 callback)
{
    for (const PlatformTesting::ScriptedDisplayMode& mode : m_driver.modes) {
        DDSURFACEDESC2 desc;
        desc.dwSize = sizeof(desc);
        desc.dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT | DDSD_REFRESHRATE | DDSD_PITCH;
        desc.dwWidth = mode.width;
        desc.dwHeight = mode.height;
        desc.dwRefreshRate = mode.refreshRate;
        desc.ddpfPixelFormat = RgbFormat(mode.bitsPerPixel);
        desc.lPitch = static_cast<LONG>(mode.width * BytesPerPixel(desc.ddpfPixelFormat));
        if (callback(&desc, context) == DDENUMRET_CANCEL)
            break;
    }
    return DD_OK;
}

HRESULT DirectDraw::SetCooperativeLevel(HWND window, DWORD flags)
{
    if (const HRESULT injected = Call(DDrawCall::SetCooperativeLevel, flags); FAILED(injected))
        return injected;
    const bool exclusive = (flags & DDSCL_EXCLUSIVE) != 0;
    if (exclusive != ((flags & DDSCL_FULLSCREEN) != 0) || (exclusive && !window))
        return DDERR_INVALIDPARAMS;
    if (window)
        m_window = window;
    if (!exclusive)
        m_mode = DesktopMode();
    m_cooperativeFlags = flags;
    return DD_OK;
}

HRESULT DirectDraw::GetDisplayMode(DDSURFACEDESC2* desc)
{
    if (const HRESULT injected = Call(DDrawCall::GetDisplayMode); FAILED(injected))
        return injected;
    desc->dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT | DDSD_REFRESHRATE;
    desc->dwWidth = m_mode.width;
    desc->dwHeight = m_mode.height;
    desc->dwRefreshRate = m_mode.refreshRate;
    desc->ddpfPixelFormat = RgbFormat(m_mode.bitsPerPixel);
    return DD_OK;
}

HRESULT DirectDraw::SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate, DWORD /*flags*/)
{
    if (const HRESULT injected = Call(DDrawCall::SetDisplayMode, width, height, bitsPerPixel); FAILED(injected))
        return injected;
    if (!(m_cooperativeFlags & DDSCL_EXCLUSIVE))
        return DDERR_NOEXCLUSIVEMODE;
    for (const PlatformTesting::ScriptedDisplayMode& mode : m_driver.modes) {
        if (mode.width == width && mode.height == height && mode.bitsPerPixel == bitsPerPixel) {
            m_mode = {width, height, bitsPerPixel, refreshRate ? refreshRate : mode.refreshRate};
            return DD_OK;
        }
    }
    return DDERR_INVALIDMODE;
}

HRESULT DirectDraw::CreatePrimarySurface(const DDSURFACEDESC2& request, IDirectDrawSurface7** surface)
{
    DDSURFACEDESC2 desc = request;
    desc.dwFlags |= DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT | DDSD_PITCH;
    desc.dwWidth = m_mode.width;
    desc.dwHeight = m_mode.height;
    desc.ddpfPixelFormat = RgbFormat(m_mode.bitsPerPixel);
    desc.ddsCaps.dwCaps |= DDSCAPS_VIDEOMEMORY;
    const bool flipping = (desc.ddsCaps.dwCaps & DDSCAPS_FLIP) != 0;
    if (flipping && (!(m_cooperativeFlags & DDSCL_EXCLUSIVE) || request.dwBackBufferCount != 1 ||
                     !(desc.ddsCaps.dwCaps & DDSCAPS_COMPLEX)))
        return DDERR_INVALIDPARAMS;
    auto* primary = new Surface(*this, desc);
    if (flipping) {
        DDSURFACEDESC2 back = desc;
        back.dwBackBufferCount = 0;
        back.ddsCaps.dwCaps = (desc.ddsCaps.dwCaps & ~DDSCAPS_PRIMARYSURFACE) | DDSCAPS_BACKBUFFER;
        auto* backBuffer = new Surface(*this, back);
        primary->AddAttachedSurface(backBuffer);
        backBuffer->Release();
    }
    *surface = primary;
    return DD_OK;
}

HRESULT DirectDraw::CreateSurface(DDSURFACEDESC2* request, IDirectDrawSurface7** surface, IUnknown* /*outer*/)
{
    if (const HRESULT injected = Call(DDrawCall::CreateSurface, request->ddsCaps.dwCaps); FAILED(injected))
        return injected;
    if (!(request->dwFlags & DDSD_CAPS))
        return DDERR_INVALIDPARAMS;
    if (request->ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE)
        return CreatePrimarySurface(*request, surface);
    if ((request->dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT) || request->dwWidth == 0 ||
        request->dwHeight == 0)
        return DDERR_INVALIDPARAMS;
    DDSURFACEDESC2 desc = *request;
    const bool zBuffer = (desc.ddsCaps.dwCaps & DDSCAPS_ZBUFFER) != 0;
    if (zBuffer != ((desc.dwFlags & DDSD_PIXELFORMAT) && (desc.ddpfPixelFormat.dwFlags & DDPF_ZBUFFER)))
        return DDERR_INVALIDPARAMS;
    if (!(desc.dwFlags & DDSD_PIXELFORMAT))
        desc.ddpfPixelFormat = RgbFormat(m_mode.bitsPerPixel);
    if (!(desc.ddsCaps.dwCaps & DDSCAPS_SYSTEMMEMORY))
        desc.ddsCaps.dwCaps |= DDSCAPS_VIDEOMEMORY;
    desc.dwFlags |= DDSD_PIXELFORMAT;
    const DWORD levels = (desc.dwFlags & DDSD_MIPMAPCOUNT) ? desc.dwMipMapCount : 1;
    constexpr DWORD kChainCaps = DDSCAPS_TEXTURE | DDSCAPS_MIPMAP | DDSCAPS_COMPLEX;
    if (levels == 0 || levels > MipLevelCount(desc.dwWidth, desc.dwHeight) ||
        ((desc.dwFlags & DDSD_MIPMAPCOUNT) && (desc.ddsCaps.dwCaps & kChainCaps) != kChainCaps))
        return DDERR_INVALIDPARAMS;
    *surface = CreateChain(desc, levels);
    return DD_OK;
}

// A surface and, for a mip-map chain, its smaller levels, each attached to the one above it.
Surface* DirectDraw::CreateChain(DDSURFACEDESC2 desc, DWORD levels)
{
    auto* top = new Surface(*this, desc);
    Surface* level = top;
    for (DWORD i = 1; i < levels; ++i) {
        desc.dwWidth = std::max<DWORD>(1, desc.dwWidth / 2);
        desc.dwHeight = std::max<DWORD>(1, desc.dwHeight / 2);
        desc.dwMipMapCount = levels - i;
        auto* next = new Surface(*this, desc);
        level->AttachOwned(next);
        level = next;
    }
    return top;
}

HRESULT DirectDraw::CreateClipper(DWORD /*flags*/, IDirectDrawClipper** clipper, IUnknown* /*outer*/)
{
    if (const HRESULT injected = Call(DDrawCall::CreateClipper); FAILED(injected))
        return injected;
    *clipper = new Clipper;
    return DD_OK;
}

HRESULT DirectDraw::TestCooperativeLevel()
{
    return Call(DDrawCall::TestCooperativeLevel);
}

HRESULT DirectDraw::RestoreAllSurfaces()
{
    if (const HRESULT injected = Call(DDrawCall::RestoreAllSurfaces); FAILED(injected))
        return injected;
    RestoreSurfaces();
    return DD_OK;
}

HRESULT DirectDraw::WaitForVerticalBlank(DWORD flags, HANDLE /*event*/)
{
    if (const HRESULT injected = Call(DDrawCall::WaitForVerticalBlank, flags); FAILED(injected))
        return injected;
    m_waitForVerticalBlank = true;
    return DD_OK;
}

HRESULT DirectDraw::Call(DDrawCall call, DWORD a, DWORD b, DWORD c) const
{
    if (m_recording)
        Record(call, a, b, c);
    return InjectedResult(call);
}

HRESULT DirectDraw::CallFor(DDrawCall call, const GUID& scope) const
{
    if (m_recording)
        Record(call);
    return InjectedResult(call, &scope);
}

bool DirectDraw::TakeVerticalBlankWait()
{
    const bool wait = m_waitForVerticalBlank;
    m_waitForVerticalBlank = false;
    return wait;
}

HRESULT DirectDraw::EnumDevices(LPD3DENUMDEVICESCALLBACK7 callback, LPVOID context)
{
    for (const ScriptedDevice& device : m_driver.devices) {
        D3DDEVICEDESC7 desc = DescribeDevice(device);
        std::string description = device.description;
        std::string name = device.name;
        if (callback(description.data(), name.data(), &desc, context) == D3DENUMRET_CANCEL)
            break;
    }
    return D3D_OK;
}

const ScriptedDevice* DirectDraw::FindDevice(REFCLSID guid) const
{
    for (const ScriptedDevice& device : m_driver.devices) {
        if (device.guid == guid)
            return &device;
    }
    return nullptr;
}

HRESULT DirectDraw::EnumZBufferFormats(REFCLSID device, LPD3DENUMPIXELFORMATSCALLBACK callback, LPVOID context)
{
    if (!FindDevice(device))
        return DDERR_INVALIDPARAMS;
    for (DWORD depth : m_driver.zBufferDepths) {
        DDPIXELFORMAT format = ZBufferFormat(depth);
        if (callback(&format, context) == D3DENUMRET_CANCEL)
            break;
    }
    return D3D_OK;
}

HRESULT DirectDraw::CreateDevice(REFCLSID guid, IDirectDrawSurface7* target, IDirect3DDevice7** result)
{
    if (const HRESULT injected = CallFor(DDrawCall::CreateDevice, guid); FAILED(injected))
        return injected;
    const ScriptedDevice* device = FindDevice(guid);
    auto* surface = static_cast<Surface*>(target);
    if (!device || !surface || !surface->IsRenderTarget())
        return DDERR_INVALIDPARAMS;
    if (!(device->renderDepths & DepthFlag(surface->GetDesc().ddpfPixelFormat.dwRGBBitCount)))
        return DDERR_INVALIDPIXELFORMAT;
    *result = new Device(*this, *surface, DescribeDevice(*device), device->textureFormats);
    return D3D_OK;
}

} // namespace DDrawHost

using DDrawHost::DirectDraw;

HRESULT DirectDrawEnumerateExA(LPDDENUMCALLBACKEXA callback, LPVOID context, DWORD /*flags*/)
{
    for (DDrawHost::ScriptedDriver& driver : DDrawHost::Drivers()) {
        if (callback(driver.hasGuid ? &driver.guid : nullptr, driver.description.data(), driver.name.data(), context,
                     nullptr) == DDENUMRET_CANCEL)
            break;
    }
    return DD_OK;
}

HRESULT DirectDrawCreateEx(GUID* guid, LPVOID* object, REFIID iid, IUnknown* /*outer*/)
{
    const std::optional<DDrawHost::ScriptedDriver> driver = DDrawHost::FindDriver(guid);
    const GUID scope = guid ? *guid : GUID{};
    const bool recording = DDrawHost::RecordingChosen();
    if (recording)
        DDrawHost::Record(DDrawHost::DDrawCall::DirectDrawCreateEx);
    if (const HRESULT injected = DDrawHost::InjectedResult(DDrawHost::DDrawCall::DirectDrawCreateEx, &scope);
        FAILED(injected))
        return injected;
    if (!driver)
        return DDERR_INVALIDPARAMS;
    if (!(iid == IID_IDirectDraw7))
        return E_NOINTERFACE;
    std::unique_ptr<DDrawHost::Backend> backend;
    if (recording)
        backend = std::make_unique<DDrawHost::RecordingBackend>();
    else
        backend = DDrawHost::GLBackend::Create();
    if (!backend)
        return DDERR_NODIRECTDRAWHW;
    *object = static_cast<IDirectDraw7*>(new DirectDraw(*driver, std::move(backend), recording));
    return DD_OK;
}
