// DirectDraw surfaces and the clipper. A surface is one of: the primary surface (the window; it has no pixels of
// its own), a render target (the back buffer, kept by the back end), a Z buffer (its depth lives with the render
// target it is attached to), a system-memory surface, or a texture. System-memory surfaces and textures keep
// their pixels in memory and are the kinds that can be locked; a texture's pixels reach the back end only when a
// device first draws with it (and again after they change), so textures can be made and filled on any thread.
// A mip-mapped texture is a chain: each level holds the next smaller one as its attached surface.
// Attached surfaces are held with a reference and released with their owner; every surface holds a reference to
// its DirectDraw object.
#pragma once

#include "platform/ddraw/DDraw.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace DDrawHost {

class DirectDraw;

class Clipper final : public IDirectDrawClipper
{
public:
    HRESULT QueryInterface(REFIID /*iid*/, void** /*object*/) override { return E_NOINTERFACE; }
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT SetHWnd(DWORD flags, HWND window) override;

    HWND GetWindow() const { return m_window; }

private:
    std::atomic<ULONG> m_references{1};
    HWND m_window = nullptr;
};

class Surface final : public IDirectDrawSurface7
{
public:
    // desc: complete (size, caps and pixel format filled in).
    Surface(DirectDraw& owner, const DDSURFACEDESC2& desc);

    HRESULT QueryInterface(REFIID /*iid*/, void** /*object*/) override { return E_NOINTERFACE; }
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT GetAttachedSurface(DDSCAPS2* caps, IDirectDrawSurface7** surface) override;
    HRESULT AddAttachedSurface(IDirectDrawSurface7* surface) override;
    HRESULT GetSurfaceDesc(DDSURFACEDESC2* desc) override;
    HRESULT Lock(RECT* rect, DDSURFACEDESC2* desc, DWORD flags, HANDLE event) override;
    HRESULT Unlock(RECT* rect) override;
    HRESULT Blt(RECT* destination, IDirectDrawSurface7* source, RECT* sourceRect, DWORD flags,
                DDBLTFX* effects) override;
    HRESULT Flip(IDirectDrawSurface7* target, DWORD flags) override;
    HRESULT SetClipper(IDirectDrawClipper* clipper) override;

    const DDSURFACEDESC2& GetDesc() const { return m_desc; }
    DWORD GetCaps() const { return m_desc.ddsCaps.dwCaps; }
    bool IsRenderTarget() const;
    bool IsTexture() const { return (GetCaps() & DDSCAPS_TEXTURE) != 0; }
    // The next smaller level of a mip-map chain, or null (no reference added).
    Surface* NextLevel() const { return FindAttached(DDSCAPS_TEXTURE | DDSCAPS_MIPMAP); }
    // Attaches a surface made together with this one (a back buffer, a mip level), taking over its reference.
    void AttachOwned(Surface* surface) { m_attached.push_back(surface); }
    // Counts every change of the pixels (a blit into them, an unlock), so that copies elsewhere can follow.
    std::uint32_t GetContentVersion() const { return m_contentVersion; }
    // The first attached surface with all of the caps, or null (no reference added).
    Surface* FindAttached(DWORD caps) const;
    // Pixels in memory (system-memory surfaces, and render targets of the recording back end), top row first.
    std::vector<std::uint8_t>& Pixels() { return m_pixels; }
    LONG GetPitch() const { return m_desc.lPitch; }
    // Back-end data of a render target.
    std::uintptr_t m_backendHandle = 0;

private:
    ~Surface() override;

    HRESULT CopyPixels(const Surface& source);

    DirectDraw& m_owner;
    std::atomic<ULONG> m_references{1};
    DDSURFACEDESC2 m_desc;
    std::vector<std::uint8_t> m_pixels;
    std::vector<Surface*> m_attached;
    Clipper* m_clipper = nullptr;
    bool m_locked = false;
    std::atomic<std::uint32_t> m_contentVersion{0};
};

} // namespace DDrawHost
