#include "RenderSystem_D3D7.h"

#include "Camera_D3D7.h"
#include "Image.h"
#include "IndexBuffer_D3D7.h"
#include "Light_D3D7.h"
#include "ResultCheck.h"
#include "Texture2D_D3D7.h"
#include "VertexBuffer_D3D7.h"
#include "engine/foundation/Config.h"
#include "engine/foundation/Error.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/StringUtils.h"
#include "engine/foundation/Window.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <set>

namespace KeystrelEngine {

namespace {

const char* const kDottedLine = "........................................................";
const char* const kNoDevices = "RenderSystem_D3D7: Failed to find any compatible Direct3D devices";

constexpr std::size_t kMaxNameLength = 63;

// A colour as the device's ARGB word: each channel times 255, rounded, and kept within 0..255 so that a channel
// out of range cannot spill into its neighbour.
D3DCOLOR ToArgb(const Color& colour)
{
    const auto channel = [](float c) -> D3DCOLOR {
        const float scaled = std::round(c * 255.0f);
        return scaled >= 255.0f ? 255 : scaled > 0.0f ? static_cast<D3DCOLOR>(scaled) : 0;
    };
    return channel(colour.a) << 24 | channel(colour.r) << 16 | channel(colour.g) << 8 | channel(colour.b);
}

D3DCOLORVALUE ToColorValue(const Color& colour)
{
    return {colour.r, colour.g, colour.b, colour.a};
}

D3DMATRIX ToD3DMatrix(const Matrix4& matrix)
{
    D3DMATRIX result;
    static_assert(sizeof(result) == sizeof(matrix.m));
    std::memcpy(&result, matrix.m, sizeof(result));
    return result;
}

DWORD BlendFactor(std::uint32_t code)
{
    static constexpr DWORD kFactors[] = {D3DBLEND_ONE,          D3DBLEND_ONE,          D3DBLEND_DESTCOLOR,
                                         D3DBLEND_INVDESTCOLOR, D3DBLEND_SRCALPHA,     D3DBLEND_INVSRCALPHA,
                                         D3DBLEND_DESTALPHA,    D3DBLEND_INVDESTALPHA, D3DBLEND_SRCALPHASAT,
                                         D3DBLEND_SRCCOLOR,     D3DBLEND_INVSRCCOLOR};
    return code < std::size(kFactors) ? kFactors[code] : D3DBLEND_ZERO;
}

DWORD RenderDepthFlag(std::uint32_t bits)
{
    return bits == 32 ? DDBD_32 : bits == 24 ? DDBD_24 : bits == 16 ? DDBD_16 : 0;
}

std::string Shortened(const char* text)
{
    std::string result = text ? text : "";
    if (result.size() > kMaxNameLength)
        result.resize(kMaxNameLength);
    return result;
}

// One channel of a packed pixel, as 0..255.
std::uint8_t Channel(DWORD pixel, DWORD mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const DWORD maximum = mask >> shift;
    return static_cast<std::uint8_t>(((pixel & mask) >> shift) * 255 / maximum);
}

} // namespace

RenderSystem_D3D7::RenderSystem_D3D7(MessageManager* log, Config* config, Window* window, bool keepWindowSize)
    : RenderSystem(log, config, window, keepWindowSize)
{
    m_log->Message("\nInitialization of Direct3D subsystem...");
    ListDrivers();
    CreateDeviceWithFallback(true);
    ResetStageStates();
    m_log->Message(" ");
}

RenderSystem_D3D7::~RenderSystem_D3D7()
{
    m_log->Message("\nDirect3D Subsystem destroying:");
    try {
        ReleaseEverything();
    } catch (const FatalError&) {
        // The line is in the log; a destructor must not throw.
    }
    m_textureList.clear();
}

void RenderSystem_D3D7::Check(const char* context, HRESULT result) const
{
    CheckResult(context, result, this);
}

// Drivers, devices and modes -----------------------------------------------------------------------------------

void RenderSystem_D3D7::ListDrivers()
{
    m_log->Message("...Level device list...");
    const auto onDriver = [](GUID* guid, LPSTR description, LPSTR /*name*/, LPVOID context, HMONITOR) -> BOOL {
        static_cast<RenderSystem_D3D7*>(context)->AddDriver(guid, description);
        return TRUE;
    };
    DirectDrawEnumerateExA(
        onDriver, this, DDENUM_ATTACHEDSECONDARYDEVICES | DDENUM_DETACHEDSECONDARYDEVICES | DDENUM_NONDISPLAYDEVICES);
    if (m_drivers.empty() || m_drivers.front()->devices.empty())
        m_log->FatalError(kNoDevices);
}

void RenderSystem_D3D7::AddDriver(GUID* guid, const char* description)
{
    IDirectDraw7* directDraw = nullptr;
    if (FAILED(DirectDrawCreateEx(guid, reinterpret_cast<void**>(&directDraw), IID_IDirectDraw7, nullptr)))
        return;
    IDirect3D7* direct3D = nullptr;
    if (FAILED(directDraw->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&direct3D)))) {
        directDraw->Release();
        return;
    }
    auto driver = std::make_unique<DriverRecord>();
    driver->hasGuid = guid != nullptr;
    if (guid)
        driver->guid = *guid;
    driver->description = Shortened(description);
    directDraw->GetCaps(&driver->hardwareCaps, &driver->emulationCaps);
    driver->primary = (driver->hardwareCaps.dwCaps & DDCAPS_GDI) && !driver->hasGuid;
    DEVMODEA desktop;
    if (EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &desktop)) {
        driver->desktopWidth = desktop.dmPelsWidth;
        driver->desktopHeight = desktop.dmPelsHeight;
        driver->desktopBits = desktop.dmBitsPerPel;
    }
    const auto onMode = [](DDSURFACEDESC2* mode, LPVOID context) -> HRESULT {
        if (mode->dwWidth >= 640 && mode->dwHeight >= 400)
            static_cast<DriverRecord*>(context)->modes.push_back(*mode);
        return DDENUMRET_OK;
    };
    directDraw->EnumDisplayModes(0, nullptr, driver.get(), onMode);
    std::sort(driver->modes.begin(), driver->modes.end(), [](const DDSURFACEDESC2& a, const DDSURFACEDESC2& b) {
        if (a.dwWidth != b.dwWidth)
            return a.dwWidth > b.dwWidth;
        if (a.dwHeight != b.dwHeight)
            return a.dwHeight > b.dwHeight;
        return a.ddpfPixelFormat.dwRGBBitCount > b.ddpfPixelFormat.dwRGBBitCount;
    });
    ListDevices(*driver, direct3D);
    direct3D->Release();
    directDraw->Release();
    m_drivers.push_back(std::move(driver));
}

void RenderSystem_D3D7::ListDevices(DriverRecord& driver, IDirect3D7* direct3D)
{
    struct Context
    {
        RenderSystem_D3D7* renderSystem;
        DriverRecord* driver;
    } context{this, &driver};
    const auto onDevice = [](LPSTR description, LPSTR name, D3DDEVICEDESC7* desc, LPVOID pointer) -> HRESULT {
        auto* c = static_cast<Context*>(pointer);
        c->renderSystem->AddDevice(*c->driver, description, name, *desc);
        return D3DENUMRET_OK;
    };
    direct3D->EnumDevices(onDevice, &context);
}

void RenderSystem_D3D7::AddDevice(DriverRecord& driver, const char* description, const char* name,
                                  const D3DDEVICEDESC7& desc)
{
    auto device = std::make_unique<DeviceRecord>();
    device->guid = desc.deviceGUID;
    device->name = Shortened(name);
    device->description = Shortened(description);
    device->desc = desc;
    device->hardware = (desc.dwDevCaps & D3DDEVCAPS_HWRASTERIZATION) != 0;
    if (driver.hasGuid && !device->hardware)
        return;
    for (const DDSURFACEDESC2& mode : driver.modes) {
        const std::uint32_t bits = mode.ddpfPixelFormat.dwRGBBitCount;
        if (!(desc.dwDeviceRenderBitDepth & RenderDepthFlag(bits)))
            continue;
        auto record = std::make_unique<ModeRecord>();
        record->width = mode.dwWidth;
        record->height = mode.dwHeight;
        record->bits = bits == 16 ? 16 : 32;
        record->desc = mode;
        device->modes.push_back(std::move(record));
    }
    if (!device->modes.empty())
        driver.devices.push_back(std::move(device));
}

void RenderSystem_D3D7::ChooseDevice(bool softwareOnly)
{
    enum Group
    {
        TnLHal,
        Hal,
        Software,
        Reference,
        GroupCount
    };
    std::pair<DriverRecord*, DeviceRecord*> groups[GroupCount] = {};
    for (const auto& driver : m_drivers) {
        if (!driver->primary)
            continue;
        for (const auto& device : driver->devices) {
            Group group = device->hardware ? (device->guid == IID_IDirect3DTnLHalDevice ? TnLHal : Hal)
                                           : (device->guid == IID_IDirect3DRefDevice ? Reference : Software);
            groups[group] = {driver.get(), device.get()};
        }
    }
    for (int group = softwareOnly ? Software : TnLHal; group < GroupCount; ++group) {
        if (groups[group].second) {
            m_driver = groups[group].first;
            m_driver->currentDevice = groups[group].second;
            return;
        }
    }
    m_log->FatalError(kNoDevices);
}

void RenderSystem_D3D7::CreateDeviceWithFallback(bool logCapabilities)
{
    if (!GetCurrentDevice())
        ChooseDevice(false);
    if (CreateEverything(logCapabilities))
        return;
    if (!GetCurrentDevice()->hardware)
        m_log->FatalError("RenderSystem_D3D7: Failed to create Direct3D device");
    m_log->Warning("......RenderSystem_D3D7: Switching to the software rasterizer");
    ChooseDevice(true);
    if (!CreateEverything(logCapabilities))
        m_log->FatalError("RenderSystem_D3D7: Failed to create Direct3D device");
}

// The first listed mode of exactly the requested size and depth; or, for a window as large as the desktop, the
// largest listed mode above 640 x 480 whose sides are multiples of 4 and 3 and smaller than the desktop's (with
// "v_mode" rewritten to it). Null when neither is found.
const RenderSystem_D3D7::ModeRecord* RenderSystem_D3D7::FindVideoMode()
{
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    const auto desktopWidth = static_cast<std::uint32_t>(desktop.right - desktop.left);
    const auto desktopHeight = static_cast<std::uint32_t>(desktop.bottom - desktop.top);
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t bits = 0;
    if (ToLower(m_config->v_mode) == "desktop") {
        width = m_driver->desktopWidth;
        height = m_driver->desktopHeight;
        bits = m_driver->desktopBits;
        m_config->v_fullscreen = true;
    } else {
        Config::ParseVideoMode(m_config->v_mode, &width, &height, &bits);
    }
    const DeviceRecord& device = *m_driver->currentDevice;
    if (!m_config->v_fullscreen && !m_keepWindowSize && (width >= desktopWidth || height >= desktopHeight)) {
        const ModeRecord* best = nullptr;
        std::uint32_t bestWidth = 640;
        std::uint32_t bestHeight = 480;
        for (const auto& mode : device.modes) {
            if (mode->width % 4 == 0 && mode->height % 3 == 0 && mode->width < desktopWidth &&
                mode->height < desktopHeight && mode->width > bestWidth && mode->height > bestHeight) {
                best = mode.get();
                bestWidth = mode->width;
                bestHeight = mode->height;
            }
        }
        if (best) {
            m_config->v_mode =
                FormatUnsigned(best->width) + "x" + FormatUnsigned(best->height) + "x" + FormatUnsigned(bits);
            return best;
        }
    }
    for (const auto& mode : device.modes) {
        if (mode->width == width && mode->height == height && mode->bits == bits)
            return mode.get();
    }
    return nullptr;
}

// Tries the requested mode, then the default of "v_mode", then "640x480x16", each at most once.
void RenderSystem_D3D7::ChooseVideoMode()
{
    static const std::string kLastResort = "640x480x16";
    DeviceRecord& device = *m_driver->currentDevice;
    std::set<std::string> tried;
    device.currentMode = nullptr;
    while (!(device.currentMode = FindVideoMode())) {
        tried.insert(ToLower(m_config->v_mode));
        const std::string fallback = ToLower(m_config->GetDefaultValue("v_mode"));
        if (!tried.count(fallback))
            m_config->ResetToDefault("v_mode");
        else if (!tried.count(kLastResort))
            m_config->v_mode = kLastResort;
        else
            m_log->FatalError("RenderSystem_D3D7: Failed to find compatible video mode");
    }
    device.fullScreen = m_config->v_fullscreen && !GetParent(m_window->m_handle);
}

// Creation and release -----------------------------------------------------------------------------------------

bool RenderSystem_D3D7::CreateEverything(bool logCapabilities)
{
    ChooseVideoMode();
    const DeviceRecord& device = *m_driver->currentDevice;
    const ModeRecord& mode = *device.currentMode;
    try {
        m_log->Message("...Creating DirectDraw...");
        if (FAILED(DirectDrawCreateEx(m_driver->hasGuid ? &m_driver->guid : nullptr,
                                      reinterpret_cast<void**>(&m_directDraw), IID_IDirectDraw7, nullptr))) {
            m_directDraw = nullptr;
            throw Error("Failed to create DirectDraw");
        }
        m_log->Message("......Setting cooperative level...");
        const DWORD level = device.fullScreen ? DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_EXCLUSIVE : DDSCL_NORMAL;
        if (FAILED(m_directDraw->SetCooperativeLevel(m_window->m_handle, level | DDSCL_FPUSETUP)))
            throw Error("Failed to set DirectDraw cooperative level");
        DDSURFACEDESC2 display;
        display.dwSize = sizeof(display);
        if (FAILED(m_directDraw->GetDisplayMode(&display)) || display.ddpfPixelFormat.dwRGBBitCount < 9)
            throw Error("Invalid DirectDraw display mode");
        CreateScreenBuffers(mode, device.fullScreen);
        m_log->Message("...Creating Direct3D...");
        if (FAILED(m_directDraw->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&m_direct3D)))) {
            m_direct3D = nullptr;
            throw Error("Failed to create Direct3D");
        }
        m_log->Message("...Creating Direct3D device...");
        if (FAILED(m_direct3D->CreateDevice(device.guid, m_backBuffer, &m_device))) {
            m_device = nullptr;
            throw Error("Failed to create Direct3D device");
        }
        m_log->Message("......Setting viewport...");
        D3DVIEWPORT7 viewport{0, 0, mode.width, mode.height, 0.0f, 1.0f};
        if (FAILED(m_device->SetViewport(&viewport)))
            throw Error("Failed to set viewport");
        m_log->Message("......Creating Z Buffer...");
        if (!(device.desc.dpcTriCaps.dwRasterCaps & D3DPRASTERCAPS_ZBUFFERLESSHSR))
            CreateZBuffer(device);
        ReadCapabilities(device, logCapabilities);
    } catch (const FatalError&) {
        throw;
    } catch (const Error& error) {
        ReleaseEverything();
        m_log->Error("RenderSystem_D3D7: " + error.GetText());
        return false;
    }
    m_modeWidth = mode.width;
    m_modeHeight = mode.height;
    m_modeBits = mode.bits;
    m_modeFullScreen = device.fullScreen;
    return true;
}

void RenderSystem_D3D7::CreateScreenBuffers(const ModeRecord& mode, bool fullScreen)
{
    m_log->Message("......Creating screen buffers...");
    m_window->SetWindowedMode(static_cast<std::int32_t>(mode.width), static_cast<std::int32_t>(mode.height), fullScreen,
                              static_cast<std::int32_t>(m_driver->desktopWidth),
                              static_cast<std::int32_t>(m_driver->desktopHeight));
    if (fullScreen &&
        FAILED(m_directDraw->SetDisplayMode(mode.width, mode.height, mode.desc.ddpfPixelFormat.dwRGBBitCount,
                                            mode.desc.dwRefreshRate, 0)))
        throw Error("Failed to set display mode");
    DDSURFACEDESC2 primary;
    primary.dwSize = sizeof(primary);
    primary.dwFlags = DDSD_CAPS;
    primary.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    if (fullScreen) {
        primary.dwFlags |= DDSD_BACKBUFFERCOUNT;
        primary.ddsCaps.dwCaps |= DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE;
        primary.dwBackBufferCount = 1;
    }
    if (FAILED(m_directDraw->CreateSurface(&primary, &m_primary, nullptr))) {
        m_primary = nullptr;
        throw Error("Failed to create primary surface");
    }
    if (fullScreen) {
        DDSCAPS2 caps;
        caps.dwCaps = DDSCAPS_BACKBUFFER;
        if (FAILED(m_primary->GetAttachedSurface(&caps, &m_backBuffer))) {
            m_backBuffer = nullptr;
            throw Error("Failed to create back buffer");
        }
    } else {
        IDirectDrawClipper* clipper = nullptr;
        if (FAILED(m_directDraw->CreateClipper(0, &clipper, nullptr)))
            throw Error("Failed to create clipper");
        clipper->SetHWnd(0, m_window->m_handle);
        m_primary->SetClipper(clipper);
        clipper->Release();
        DDSURFACEDESC2 back;
        back.dwSize = sizeof(back);
        back.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        back.dwWidth = mode.width;
        back.dwHeight = mode.height;
        back.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE;
        if (FAILED(m_directDraw->CreateSurface(&back, &m_backBuffer, nullptr))) {
            m_backBuffer = nullptr;
            throw Error("Failed to create back buffer");
        }
    }
    m_backBufferDesc.dwSize = sizeof(m_backBufferDesc);
    m_backBuffer->GetSurfaceDesc(&m_backBufferDesc);
}

void RenderSystem_D3D7::CreateZBuffer(const DeviceRecord& device)
{
    DDSURFACEDESC2 desc = m_backBufferDesc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    const bool hardware = device.guid == IID_IDirect3DHALDevice || device.guid == IID_IDirect3DTnLHalDevice;
    desc.ddsCaps.dwCaps = DDSCAPS_ZBUFFER | (hardware ? DDSCAPS_VIDEOMEMORY : DDSCAPS_SYSTEMMEMORY);
    struct Wish
    {
        DWORD depth;
        DDPIXELFORMAT format;
        bool found = false;
    };
    const auto onFormat = [](DDPIXELFORMAT* format, LPVOID context) -> HRESULT {
        auto* wish = static_cast<Wish*>(context);
        if (format->dwZBufferBitDepth != wish->depth)
            return D3DENUMRET_OK;
        wish->format = *format;
        wish->found = true;
        return D3DENUMRET_CANCEL;
    };
    Wish wish{m_backBufferDesc.ddpfPixelFormat.dwRGBBitCount, {}};
    m_direct3D->EnumZBufferFormats(device.guid, onFormat, &wish);
    if (!wish.found) {
        wish.depth = 16;
        m_direct3D->EnumZBufferFormats(device.guid, onFormat, &wish);
    }
    if (!wish.found)
        throw Error("Failed to create Z Buffer");
    desc.ddpfPixelFormat = wish.format;
    if (FAILED(m_directDraw->CreateSurface(&desc, &m_zBuffer, nullptr))) {
        m_zBuffer = nullptr;
        throw Error("Failed to create Z Buffer");
    }
    if (FAILED(m_backBuffer->AddAttachedSurface(m_zBuffer)))
        throw Error("Failed to create Z Buffer");
    if (FAILED(m_device->SetRenderTarget(m_backBuffer, 0)))
        throw Error("Failed to set render target");
}

void RenderSystem_D3D7::ReadCapabilities(const DeviceRecord& device, bool log)
{
    if (log) {
        m_log->Message(kDottedLine);
        m_log->Message("......Capabilities:");
    }
    m_stageCount = device.desc.wMaxSimultaneousTextures;
    m_maxTextureWidth = device.desc.dwMaxTextureWidth;
    m_maxTextureHeight = device.desc.dwMaxTextureHeight;
    m_maxAnisotropy = device.desc.dwMaxAnisotropy;
    if (log) {
        m_log->Message(".........Maximal texture units: " + FormatUnsigned(m_stageCount));
        m_log->Message(".........Maximal texture size: " + FormatUnsigned(m_maxTextureWidth) + "x" +
                       FormatUnsigned(m_maxTextureHeight));
        m_log->Message(".........Maximal texture anisotropy: " + FormatUnsigned(m_maxAnisotropy));
    }
}

void RenderSystem_D3D7::ReleaseEverything()
{
    const auto release = [](auto*& object) {
        const ULONG remaining = object ? object->Release() : 0;
        object = nullptr;
        return remaining;
    };
    if (m_directDraw)
        m_directDraw->SetCooperativeLevel(m_window->m_handle, DDSCL_NORMAL);
    m_log->Message("...Releasing device...");
    const ULONG deviceReferences = release(m_device);
    m_log->Message("...Releasing surfaces...");
    release(m_backBuffer);
    release(m_zBuffer);
    release(m_primary);
    m_log->Message("...Releasing Direct3D...");
    release(m_direct3D);
    m_log->Message("...Releasing DirectDraw...");
    const ULONG directDrawReferences = release(m_directDraw);
    if (deviceReferences > 0)
        m_log->FatalError("RenderSystem_D3D7: device object is still referenced");
    if (directDrawReferences > 0)
        m_log->FatalError("RenderSystem_D3D7: DirectDraw object is still referenced");
}

// The frame ----------------------------------------------------------------------------------------------------

void RenderSystem_D3D7::Refresh()
{
    RenderSystem::Refresh();
    const HRESULT level = m_directDraw->TestCooperativeLevel();
    if (SUCCEEDED(level)) {
        if (m_surfacesValid)
            return;
        const HRESULT restored = m_directDraw->RestoreAllSurfaces();
        Check("RenderSystem_D3D7::Refresh", restored);
        if (SUCCEEDED(restored)) {
            m_surfacesValid = true;
        } else {
            m_texturesNeedReload = true;
            m_modeChangePending = true;
        }
        return;
    }
    m_surfacesValid = false;
    if (level == DDERR_WRONGMODE && !m_config->v_fullscreen) {
        m_texturesNeedReload = true;
        m_modeChangePending = true;
    }
}

void RenderSystem_D3D7::BeginScene()
{
    if (m_clearFlags != 0)
        Check("RenderSystem_D3D7::BeginScene",
              m_device->Clear(0, nullptr, m_clearFlags, ToArgb(m_clearColor), 1.0f, 0));
    HRESULT result = m_device->BeginScene();
    if (result == DDERR_SURFACELOST) {
        Check("RenderSystem_D3D7::BeginScene", m_directDraw->RestoreAllSurfaces());
        result = m_device->BeginScene();
    }
    Check("RenderSystem_D3D7::BeginScene", result);
}

void RenderSystem_D3D7::EndScene()
{
    HRESULT result = m_device->EndScene();
    if (result == DDERR_SURFACELOST)
        result = m_directDraw->RestoreAllSurfaces();
    Check("RenderSystem_D3D7::EndScene", result);
}

void RenderSystem_D3D7::SwapBuffers()
{
    if (!m_surfacesValid)
        return;
    HRESULT result;
    if (!m_window->m_fullScreen) {
        RECT client;
        GetClientRect(m_window->m_handle, &client);
        POINT topLeft{client.left, client.top};
        POINT bottomRight{client.right, client.bottom};
        ClientToScreen(m_window->m_handle, &topLeft);
        ClientToScreen(m_window->m_handle, &bottomRight);
        RECT target{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
        if (m_config->v_vsync)
            m_directDraw->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
        result = m_primary->Blt(&target, m_backBuffer, nullptr, DDBLT_WAIT, nullptr);
    } else {
        result = m_primary->Flip(nullptr, DDFLIP_WAIT | (m_config->v_vsync ? 0 : DDFLIP_NOVSYNC));
    }
    if (result == DDERR_SURFACELOST)
        Check("RenderSystem_D3D7::SwapBuffers", m_directDraw->RestoreAllSurfaces());
}

void RenderSystem_D3D7::CheckModeChange()
{
    RenderSystem::CheckModeChange();
    m_texturesNeedReload = true;
}

void RenderSystem_D3D7::Reset(std::uint32_t flags)
{
    if (flags & kResetDevice) {
        m_log->Message("\nReseting Direct3D device:");
        if (m_texturesNeedReload) {
            for (Texture2D_D3D7* texture : m_textureList)
                texture->ReleaseSurface();
        }
        m_log->Message(kDottedLine);
        ReleaseEverything();
        m_log->Message(kDottedLine);
        CreateDeviceWithFallback(false);
        m_log->Message(kDottedLine);
        // The new device may have another number of stages.
        ResetStageStates();
    }
    if ((flags & kResetTextures) && m_texturesNeedReload) {
        for (Texture2D_D3D7* texture : m_textureList)
            texture->CreateSurface(nullptr);
    }
    RenderSystem::Reset(flags);
}

// Factories, textures and drawing ------------------------------------------------------------------------------

Camera* RenderSystem_D3D7::CreateCamera(int projectionKind)
{
    return new Camera_D3D7(projectionKind, this, &m_device);
}

VertexBuffer* RenderSystem_D3D7::CreateVertexBuffer(std::uint32_t usage, bool hasColours, std::uint32_t vertexCount)
{
    return new VertexBuffer_D3D7(this, usage, hasColours, vertexCount);
}

VertexBuffer* RenderSystem_D3D7::CreateVertexBuffer(std::uint32_t usage, bool hasColours, const VertexBuffer& source)
{
    return new VertexBuffer_D3D7(this, usage, hasColours, source);
}

VertexBuffer* RenderSystem_D3D7::CreateVertexBuffer(const VertexBuffer& source)
{
    return new VertexBuffer_D3D7(this, source);
}

IndexBuffer* RenderSystem_D3D7::CreateIndexBuffer(std::uint32_t usage, std::uint32_t indexCount)
{
    return new IndexBuffer_D3D7(this, usage, indexCount);
}

IndexBuffer* RenderSystem_D3D7::CreateIndexBuffer(std::uint32_t usage, const IndexBuffer& source)
{
    return new IndexBuffer_D3D7(this, usage, source);
}

IndexBuffer* RenderSystem_D3D7::CreateIndexBuffer(const IndexBuffer& source)
{
    return new IndexBuffer_D3D7(this, source);
}

Texture2D* RenderSystem_D3D7::CreateTexture2D(const std::string& name, const Image& image, bool mipMapped)
{
    return new Texture2D_D3D7(m_log, m_config, this, name, image, mipMapped);
}

Light* RenderSystem_D3D7::CreateLight(std::uint32_t index)
{
    return new Light_D3D7(m_log, index, this, &m_device);
}

void RenderSystem_D3D7::AddTexture(Texture2D_D3D7* texture)
{
    m_textureList.push_back(texture);
}

void RenderSystem_D3D7::RemoveTexture(Texture2D_D3D7* texture)
{
    const auto found = std::find(m_textureList.begin(), m_textureList.end(), texture);
    if (found == m_textureList.end())
        m_log->FatalError("RenderSystem_D3D7: Failed to remove texture \"" + texture->GetName() + "\"");
    m_textureList.erase(found);
    for (std::uint32_t stage = 0; stage < m_stageCount; ++stage) {
        if (m_textures[stage] == texture) {
            m_textures[stage] = nullptr;
            UpdateTexture(stage);
        }
    }
}

void RenderSystem_D3D7::DrawIndexedPrimitive(bool strip, IndexBuffer* indices, VertexBuffer* vertices,
                                             std::uint32_t primitiveCount)
{
    vertices->Bind();
    indices->Bind();
    const std::uint32_t indexCount = strip ? primitiveCount + 2 : primitiveCount * 3;
    indices->UpdateRange();
    const std::uint64_t vertexCount = std::uint64_t{indices->GetMinimalIndex()} + indices->GetRange();
    // Indices beyond the buffer, or naming vertices beyond the vertex buffer, would be read out of bounds.
    if (indexCount > indices->GetUsedIndexCount() || vertexCount > vertices->GetVertexCount()) {
        Check("RenderSystem_D3D7::DrawIndexedPrimitive", DDERR_INVALIDPARAMS);
        return;
    }
    const D3DPRIMITIVETYPE type = strip ? D3DPT_TRIANGLESTRIP : D3DPT_TRIANGLELIST;
    const DWORD format = vertices->HasColours() ? D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1
                                                : D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;
    auto* data = const_cast<std::uint8_t*>(vertices->GetData());
    auto* indexData = const_cast<std::uint8_t*>(indices->GetData());
    const auto count = static_cast<DWORD>(vertexCount);
    const HRESULT result = indices->Has32BitIndices()
                               ? m_device->DrawIndexedPrimitive(type, format, data, count,
                                                                reinterpret_cast<DWORD*>(indexData), indexCount, 0)
                               : m_device->DrawIndexedPrimitive(type, format, data, count,
                                                                reinterpret_cast<WORD*>(indexData), indexCount, 0);
    Check("RenderSystem_D3D7::DrawIndexedPrimitive", result);
}

void RenderSystem_D3D7::GrabScreen(Image& image)
{
    const DeviceRecord& device = *GetCurrentDevice();
    image.Create(m_log, device.currentMode->width, device.currentMode->height,
                 device.currentMode->bits == 32 ? 32 : 24);
    DDSURFACEDESC2 desc = m_backBufferDesc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    IDirectDrawSurface7* copy = nullptr;
    if (FAILED(m_directDraw->CreateSurface(&desc, &copy, nullptr)))
        throw Error("Error creating temporary surface!");
    Check("RenderSystem_D3D7::GrabScreen", copy->Blt(nullptr, m_backBuffer, nullptr, DDBLT_WAIT, nullptr));
    DDSURFACEDESC2 locked;
    locked.dwSize = sizeof(locked);
    if (FAILED(copy->Lock(nullptr, &locked, DDLOCK_WAIT | DDLOCK_READONLY, nullptr))) {
        copy->Release();
        throw Error("Error creating temporary surface!");
    }
    // The surface's top row becomes the image's last: image rows run bottom up. Pixels leave in the image's
    // order red, green, blue, and opaque.
    const DDPIXELFORMAT& format = locked.ddpfPixelFormat;
    const std::uint32_t sourceSize = (format.dwRGBBitCount + 7) / 8;
    const std::uint32_t targetSize = image.GetBytesPerPixel();
    const std::uint32_t rows = std::min(image.GetHeight(), locked.dwHeight);
    const std::uint32_t columns = std::min(image.GetWidth(), locked.dwWidth);
    for (std::uint32_t y = 0; y < rows; ++y) {
        const auto* in = static_cast<const std::uint8_t*>(locked.lpSurface) +
                         static_cast<std::size_t>(locked.dwHeight - 1 - y) * locked.lPitch;
        std::uint8_t* out = image.GetRow(y);
        for (std::uint32_t x = 0; x < columns; ++x, in += sourceSize, out += targetSize) {
            DWORD pixel = 0;
            for (std::uint32_t i = 0; i < sourceSize; ++i)
                pixel |= static_cast<DWORD>(in[i]) << (8 * i);
            out[0] = Channel(pixel, format.dwRBitMask);
            out[1] = Channel(pixel, format.dwGBitMask);
            out[2] = Channel(pixel, format.dwBBitMask);
            if (targetSize == 4)
                out[3] = 255;
        }
    }
    copy->Unlock(nullptr);
    copy->Release();
}

// States -------------------------------------------------------------------------------------------------------

void RenderSystem_D3D7::SetDefaultStates()
{
    RenderSystem::SetDefaultStates();
    const char* context = "RenderSystem_D3D7::SetDefaultStates";
    for (DWORD stage = 0; stage < m_stageCount; ++stage) {
        Check(context, m_device->SetTextureStageState(stage, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2));
        Check(context, m_device->SetTextureStageState(stage, D3DTSS_TEXCOORDINDEX, 0));
        Check(context, m_device->SetTextureStageState(stage, D3DTSS_COLOROP, D3DTOP_MODULATE));
        Check(context, m_device->SetTextureStageState(stage, D3DTSS_ALPHAARG1, D3DTA_TEXTURE));
        Check(context, m_device->SetTextureStageState(stage, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE));
        Check(context,
              m_device->SetTextureStageState(stage, D3DTSS_ALPHAOP, stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE));
    }
    Check(context, m_device->SetRenderState(D3DRENDERSTATE_COLORVERTEX, TRUE));
    Check(context, m_device->SetRenderState(D3DRENDERSTATE_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1));
    Check(context, m_device->SetRenderState(D3DRENDERSTATE_AMBIENTMATERIALSOURCE, D3DMCS_COLOR1));
}

void RenderSystem_D3D7::SetMaterial(const Color& ambient, const Color& diffuse, const Color& specular,
                                    const Color& emissive, float power)
{
    D3DMATERIAL7 material;
    material.diffuse = ToColorValue(diffuse);
    material.ambient = ToColorValue(ambient);
    material.specular = ToColorValue(specular);
    material.emissive = ToColorValue(emissive);
    material.power = power;
    Check("RenderSystem_D3D7::SetMaterial", m_device->SetMaterial(&material));
}

void RenderSystem_D3D7::UpdateProjectionMatrix()
{
    D3DMATRIX matrix = ToD3DMatrix(m_projection);
    Check("RenderSystem_D3D7::UpdateProjectionMatrix", m_device->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &matrix));
}

void RenderSystem_D3D7::UpdateViewMatrix()
{
    // Mirrors Z on the way: the third column is negated.
    D3DMATRIX matrix = ToD3DMatrix(m_view);
    matrix._13 = -matrix._13;
    matrix._23 = -matrix._23;
    matrix._33 = -matrix._33;
    matrix._43 = -matrix._43;
    Check("RenderSystem_D3D7::UpdateViewMatrix", m_device->SetTransform(D3DTRANSFORMSTATE_VIEW, &matrix));
}

void RenderSystem_D3D7::UpdateWorldMatrix()
{
    Matrix4 transposed = m_world;
    transposed.Transpose();
    D3DMATRIX matrix = ToD3DMatrix(transposed);
    Check("RenderSystem_D3D7::UpdateWorldMatrix", m_device->SetTransform(D3DTRANSFORMSTATE_WORLD, &matrix));
}

void RenderSystem_D3D7::UpdateAmbientColor()
{
    Check("RenderSystem_D3D7::UpdateAmbientColor", m_device->SetRenderState(D3DRENDERSTATE_AMBIENT, ToArgb(m_ambient)));
}

void RenderSystem_D3D7::UpdateAlphaBlend()
{
    Check("RenderSystem_D3D7::UpdateAlphaBlend",
          m_device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, m_alphaBlend ? TRUE : FALSE));
}

void RenderSystem_D3D7::UpdateBlend()
{
    Check("RenderSystem_D3D7::UpdateBlend",
          m_device->SetRenderState(D3DRENDERSTATE_SRCBLEND, BlendFactor(m_sourceBlend)));
    Check("RenderSystem_D3D7::UpdateBlend",
          m_device->SetRenderState(D3DRENDERSTATE_DESTBLEND, BlendFactor(m_destinationBlend)));
}

void RenderSystem_D3D7::UpdateTexture(std::uint32_t stage)
{
    auto* texture = static_cast<Texture2D_D3D7*>(m_textures[stage]);
    if (texture)
        texture->CreateSurface(nullptr);
    Check("RenderSystem_D3D7::UpdateTexture", m_device->SetTexture(stage, texture ? texture->GetSurface() : nullptr));
}

void RenderSystem_D3D7::UpdateMaxTextureAnisotropy(std::uint32_t stage)
{
    Check("RenderSystem_D3D7::UpdateMaxTextureAnisotropy",
          m_device->SetTextureStageState(stage, D3DTSS_MAXANISOTROPY, m_anisotropies[stage]));
}

void RenderSystem_D3D7::UpdateTextureFilter(std::uint32_t stage)
{
    DWORD magnify;
    DWORD minify;
    DWORD mip;
    switch (m_filters[stage]) {
    case 0:
        magnify = D3DTFG_POINT;
        minify = D3DTFN_POINT;
        mip = D3DTFP_NONE;
        break;
    case 1:
        magnify = D3DTFG_LINEAR;
        minify = D3DTFN_LINEAR;
        mip = D3DTFP_NONE;
        break;
    case 2: {
        const bool anisotropic = m_config->r_texture_anisotropy >= 2;
        magnify = anisotropic ? D3DTFG_ANISOTROPIC : D3DTFG_LINEAR;
        minify = anisotropic ? D3DTFN_ANISOTROPIC : D3DTFN_LINEAR;
        mip = D3DTFP_LINEAR;
        break;
    }
    default:
        return;
    }
    const char* context = "RenderSystem_D3D7::UpdateTextureFilter";
    Check(context, m_device->SetTextureStageState(stage, D3DTSS_MAGFILTER, magnify));
    Check(context, m_device->SetTextureStageState(stage, D3DTSS_MINFILTER, minify));
    Check(context, m_device->SetTextureStageState(stage, D3DTSS_MIPFILTER, mip));
}

void RenderSystem_D3D7::UpdateTextureAdressU(std::uint32_t stage)
{
    Check("RenderSystem_D3D7::UpdateTextureAdressU",
          m_device->SetTextureStageState(stage, D3DTSS_ADDRESSU,
                                         m_addressU[stage] == 0 ? D3DTADDRESS_CLAMP : D3DTADDRESS_WRAP));
}

void RenderSystem_D3D7::UpdateTextureAdressV(std::uint32_t stage)
{
    Check("RenderSystem_D3D7::UpdateTextureAdressV",
          m_device->SetTextureStageState(stage, D3DTSS_ADDRESSV,
                                         m_addressV[stage] == 0 ? D3DTADDRESS_CLAMP : D3DTADDRESS_WRAP));
}

void RenderSystem_D3D7::UpdateTextureMatrix(std::uint32_t stage)
{
    const TextureMatrix& values = m_textureMatrices[stage];
    D3DMATRIX matrix;
    matrix._11 = values[0];
    matrix._22 = values[1];
    matrix._31 = values[2];
    matrix._32 = values[3];
    Check("RenderSystem_D3D7::UpdateTextureMatrix",
          m_device->SetTransform(static_cast<D3DTRANSFORMSTATETYPE>(D3DTRANSFORMSTATE_TEXTURE0 + stage), &matrix));
}

void RenderSystem_D3D7::UpdateCullMode()
{
    const DWORD mode = m_cullMode == 1 ? D3DCULL_CW : m_cullMode == 2 ? D3DCULL_CCW : D3DCULL_NONE;
    Check("RenderSystem_D3D7::UpdateCullMode", m_device->SetRenderState(D3DRENDERSTATE_CULLMODE, mode));
}

void RenderSystem_D3D7::UpdateLighting()
{
    Check("RenderSystem_D3D7::UpdateLighting",
          m_device->SetRenderState(D3DRENDERSTATE_LIGHTING, m_lighting ? TRUE : FALSE));
}

void RenderSystem_D3D7::UpdateNormalizeNormals()
{
    Check("RenderSystem_D3D7::UpdateNormalizeNormals",
          m_device->SetRenderState(D3DRENDERSTATE_NORMALIZENORMALS, m_normalizeNormals ? TRUE : FALSE));
}

void RenderSystem_D3D7::UpdateZ()
{
    Check("RenderSystem_D3D7::UpdateZ", m_device->SetRenderState(D3DRENDERSTATE_ZENABLE, m_zTest ? TRUE : FALSE));
}

void RenderSystem_D3D7::UpdateZWrite()
{
    Check("RenderSystem_D3D7::UpdateZWrite",
          m_device->SetRenderState(D3DRENDERSTATE_ZWRITEENABLE, m_zWrite ? TRUE : FALSE));
}

} // namespace KeystrelEngine
