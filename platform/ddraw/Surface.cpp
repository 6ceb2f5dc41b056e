#include "platform/ddraw/Surface.h"

#include "platform/ddraw/DirectDraw.h"
#include "platform/ddraw/PixelFormat.h"

#include <algorithm>

namespace DDrawHost {

ULONG Clipper::AddRef()
{
    return ++m_references;
}

ULONG Clipper::Release()
{
    const ULONG remaining = --m_references;
    if (remaining == 0)
        delete this;
    return remaining;
}

HRESULT Clipper::SetHWnd(DWORD /*flags*/, HWND window)
{
    m_window = window;
    return DD_OK;
}

Surface::Surface(DirectDraw& owner, const DDSURFACEDESC2& desc) : m_owner(owner), m_desc(desc)
{
    m_owner.AddRef();
    m_desc.dwSize = sizeof(DDSURFACEDESC2);
    m_desc.lpSurface = nullptr;
    m_desc.lPitch = static_cast<LONG>(m_desc.dwWidth * BytesPerPixel(m_desc.ddpfPixelFormat));
    m_desc.dwFlags |= DDSD_PITCH;
    if ((GetCaps() & DDSCAPS_SYSTEMMEMORY) || IsTexture() || (IsRenderTarget() && m_owner.IsRecording()))
        m_pixels.assign(static_cast<std::size_t>(m_desc.lPitch) * m_desc.dwHeight, 0);
    if (IsRenderTarget())
        m_owner.GetBackend().CreateRenderTarget(*this);
}

Surface::~Surface()
{
    if (IsRenderTarget())
        m_owner.GetBackend().DestroyRenderTarget(*this);
    if (IsTexture())
        m_owner.GetBackend().ForgetTexture(*this);
    for (Surface* attached : m_attached)
        attached->Release();
    if (m_clipper)
        m_clipper->Release();
    m_owner.Release();
}

ULONG Surface::AddRef()
{
    return ++m_references;
}

ULONG Surface::Release()
{
    const ULONG remaining = --m_references;
    if (remaining == 0)
        delete this;
    return remaining;
}

bool Surface::IsRenderTarget() const
{
    return (GetCaps() & DDSCAPS_3DDEVICE) && !(GetCaps() & (DDSCAPS_SYSTEMMEMORY | DDSCAPS_PRIMARYSURFACE));
}

Surface* Surface::FindAttached(DWORD caps) const
{
    for (Surface* attached : m_attached) {
        if ((attached->GetCaps() & caps) == caps)
            return attached;
    }
    return nullptr;
}

HRESULT Surface::GetAttachedSurface(DDSCAPS2* caps, IDirectDrawSurface7** surface)
{
    Surface* found = FindAttached(caps->dwCaps);
    if (!found)
        return DDERR_NOTFOUND;
    found->AddRef();
    *surface = found;
    return DD_OK;
}

HRESULT Surface::AddAttachedSurface(IDirectDrawSurface7* surface)
{
    if (const HRESULT injected = m_owner.Call(DDrawCall::AddAttachedSurface); FAILED(injected))
        return injected;
    auto* attached = static_cast<Surface*>(surface);
    if (!attached || attached == this)
        return DDERR_INVALIDPARAMS;
    if (std::find(m_attached.begin(), m_attached.end(), attached) != m_attached.end())
        return DDERR_SURFACEALREADYATTACHED;
    if ((attached->GetCaps() & DDSCAPS_ZBUFFER) &&
        (attached->m_desc.dwWidth != m_desc.dwWidth || attached->m_desc.dwHeight != m_desc.dwHeight))
        return DDERR_INVALIDPARAMS;
    attached->AddRef();
    m_attached.push_back(attached);
    return DD_OK;
}

HRESULT Surface::GetSurfaceDesc(DDSURFACEDESC2* desc)
{
    *desc = m_desc;
    return DD_OK;
}

HRESULT Surface::Lock(RECT* rect, DDSURFACEDESC2* desc, DWORD flags, HANDLE /*event*/)
{
    if (const HRESULT injected = m_owner.Call(DDrawCall::Lock, flags); FAILED(injected))
        return injected;
    if (SurfacesLost())
        return DDERR_SURFACELOST;
    if (rect || !(GetCaps() & (DDSCAPS_SYSTEMMEMORY | DDSCAPS_TEXTURE)))
        return DDERR_UNSUPPORTED;
    if (m_locked)
        return DDERR_SURFACEBUSY;
    m_locked = true;
    *desc = m_desc;
    desc->lpSurface = m_pixels.data();
    return DD_OK;
}

HRESULT Surface::Unlock(RECT* /*rect*/)
{
    if (!m_locked)
        return DDERR_NOTLOCKED;
    m_locked = false;
    ++m_contentVersion;
    return DD_OK;
}

HRESULT Surface::Blt(RECT* /*destination*/, IDirectDrawSurface7* source, RECT* sourceRect, DWORD flags,
                     DDBLTFX* /*effects*/)
{
    if (const HRESULT injected = m_owner.Call(DDrawCall::Blt, flags); FAILED(injected))
        return injected;
    if (SurfacesLost())
        return DDERR_SURFACELOST;
    auto* from = static_cast<Surface*>(source);
    if (!from || sourceRect)
        return DDERR_UNSUPPORTED;
    if (IsTexture() && (from->GetCaps() & DDSCAPS_SYSTEMMEMORY))
        return CopyPixels(*from);
    if (!from->IsRenderTarget())
        return DDERR_UNSUPPORTED;
    if (GetCaps() & DDSCAPS_PRIMARYSURFACE) {
        // Presentation in a window: the back buffer goes to the client area of the clipper's window.
        const HWND window = m_clipper ? m_clipper->GetWindow() : m_owner.GetWindow();
        m_owner.GetBackend().Present(*from, window, m_owner.TakeVerticalBlankWait());
        return DD_OK;
    }
    if (!(GetCaps() & DDSCAPS_SYSTEMMEMORY) || m_locked)
        return DDERR_UNSUPPORTED;
    if (from->m_desc.dwWidth != m_desc.dwWidth || from->m_desc.dwHeight != m_desc.dwHeight)
        return DDERR_INVALIDRECT;
    m_owner.GetBackend().ReadPixels(*from, *this);
    return DD_OK;
}

HRESULT Surface::CopyPixels(const Surface& source)
{
    if (m_locked || source.m_locked)
        return DDERR_SURFACEBUSY;
    if (source.m_desc.dwWidth != m_desc.dwWidth || source.m_desc.dwHeight != m_desc.dwHeight)
        return DDERR_INVALIDRECT;
    const DDPIXELFORMAT& from = source.m_desc.ddpfPixelFormat;
    const DDPIXELFORMAT& to = m_desc.ddpfPixelFormat;
    if (SamePixelLayout(from, to)) {
        m_pixels = source.m_pixels;
    } else {
        const DWORD fromSize = BytesPerPixel(from);
        const DWORD toSize = BytesPerPixel(to);
        for (DWORD y = 0; y < m_desc.dwHeight; ++y) {
            const std::uint8_t* in = source.m_pixels.data() + static_cast<std::size_t>(y) * source.GetPitch();
            std::uint8_t* out = m_pixels.data() + static_cast<std::size_t>(y) * GetPitch();
            for (DWORD x = 0; x < m_desc.dwWidth; ++x)
                PackPixel(out + x * toSize, to, UnpackPixel(in + x * fromSize, from));
        }
    }
    ++m_contentVersion;
    return DD_OK;
}

HRESULT Surface::Flip(IDirectDrawSurface7* /*target*/, DWORD flags)
{
    if (const HRESULT injected = m_owner.Call(DDrawCall::Flip, flags); FAILED(injected))
        return injected;
    if (SurfacesLost())
        return DDERR_SURFACELOST;
    Surface* back = FindAttached(DDSCAPS_BACKBUFFER);
    if (!(GetCaps() & DDSCAPS_PRIMARYSURFACE) || !back)
        return DDERR_NOTFLIPPABLE;
    m_owner.GetBackend().Present(*back, m_owner.GetWindow(), (flags & DDFLIP_NOVSYNC) == 0);
    return DD_OK;
}

HRESULT Surface::SetClipper(IDirectDrawClipper* clipper)
{
    if (clipper)
        clipper->AddRef();
    if (m_clipper)
        m_clipper->Release();
    m_clipper = static_cast<Clipper*>(clipper);
    return DD_OK;
}

} // namespace DDrawHost
