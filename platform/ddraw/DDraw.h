// DirectDraw 7 and Direct3D 7 as the engine calls them: driver and device enumeration, the DirectDraw object,
// surfaces and clipper, the Direct3D object and its device. Only what the engine uses is declared; numbers that
// the engine's own documents give (blend factors, vertex formats, light types, result codes) keep their values,
// the others are this layer's own.
//
// Behind the interfaces sit two back ends: GL, which draws for real into a frame buffer object and presents it in
// the application window, and recording, which draws nothing and keeps every call for tests (platform/testing.h
// chooses it and scripts what the "hardware" reports).
#pragma once

#include "platform/win32/Types.h"

#include <cstdint>

// Basic types --------------------------------------------------------------------------------------------------

using REFCLSID = const GUID&;

using HMONITOR = struct HMONITOR__*;
using D3DVALUE = float;
using D3DCOLOR = DWORD;

// Interface identifiers.
extern const GUID IID_IDirectDraw7;
extern const GUID IID_IDirect3D7;
extern const GUID IID_IDirect3DTnLHalDevice;
extern const GUID IID_IDirect3DHALDevice;
extern const GUID IID_IDirect3DRGBDevice;
extern const GUID IID_IDirect3DRefDevice;

// Result codes -------------------------------------------------------------------------------------------------

constexpr HRESULT DD_OK = S_OK;
constexpr HRESULT D3D_OK = S_OK;

constexpr HRESULT MakeDDrawResult(DWORD code)
{
    return static_cast<HRESULT>(0x88760000u + code);
}

constexpr HRESULT DDERR_GENERIC = E_FAIL;
constexpr HRESULT DDERR_INVALIDPARAMS = E_INVALIDARG;
constexpr HRESULT DDERR_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT DDERR_UNSUPPORTED = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT DDERR_NODIRECTDRAWHW = MakeDDrawResult(563);
constexpr HRESULT DDERR_NOEXCLUSIVEMODE = MakeDDrawResult(225);
constexpr HRESULT DDERR_NOTFOUND = MakeDDrawResult(255);
constexpr HRESULT DDERR_SURFACEALREADYATTACHED = MakeDDrawResult(410);
constexpr HRESULT DDERR_SURFACEBUSY = MakeDDrawResult(430);
constexpr HRESULT DDERR_SURFACELOST = MakeDDrawResult(450);
constexpr HRESULT DDERR_INVALIDRECT = MakeDDrawResult(150);
constexpr HRESULT DDERR_NOTLOCKED = MakeDDrawResult(584);
constexpr HRESULT DDERR_WRONGMODE = MakeDDrawResult(587);
constexpr HRESULT DDERR_INVALIDMODE = MakeDDrawResult(120);
constexpr HRESULT DDERR_INVALIDPIXELFORMAT = MakeDDrawResult(145);
constexpr HRESULT DDERR_NOTFLIPPABLE = MakeDDrawResult(582);
constexpr HRESULT DDERR_WASSTILLDRAWING = MakeDDrawResult(540);
constexpr HRESULT D3DERR_SCENE_NOT_IN_SCENE = MakeDDrawResult(2162);

// DirectDraw ---------------------------------------------------------------------------------------------------

constexpr DWORD DDENUM_ATTACHEDSECONDARYDEVICES = 0x1;
constexpr DWORD DDENUM_DETACHEDSECONDARYDEVICES = 0x2;
constexpr DWORD DDENUM_NONDISPLAYDEVICES = 0x4;

constexpr DWORD DDCAPS_GDI = 0x00080000;

constexpr DWORD DDSCL_FULLSCREEN = 0x1;
constexpr DWORD DDSCL_ALLOWREBOOT = 0x2;
constexpr DWORD DDSCL_NORMAL = 0x8;
constexpr DWORD DDSCL_EXCLUSIVE = 0x10;
constexpr DWORD DDSCL_FPUSETUP = 0x200;

constexpr DWORD DDSD_CAPS = 0x1;
constexpr DWORD DDSD_HEIGHT = 0x2;
constexpr DWORD DDSD_WIDTH = 0x4;
constexpr DWORD DDSD_PITCH = 0x8;
constexpr DWORD DDSD_BACKBUFFERCOUNT = 0x20;
constexpr DWORD DDSD_REFRESHRATE = 0x40000;
constexpr DWORD DDSD_PIXELFORMAT = 0x1000;
constexpr DWORD DDSD_MIPMAPCOUNT = 0x20000;
constexpr DWORD DDSD_TEXTURESTAGE = 0x100000;

constexpr DWORD DDSCAPS_BACKBUFFER = 0x4;
constexpr DWORD DDSCAPS_COMPLEX = 0x8;
constexpr DWORD DDSCAPS_FLIP = 0x10;
constexpr DWORD DDSCAPS_OFFSCREENPLAIN = 0x40;
constexpr DWORD DDSCAPS_PRIMARYSURFACE = 0x200;
constexpr DWORD DDSCAPS_SYSTEMMEMORY = 0x800;
constexpr DWORD DDSCAPS_TEXTURE = 0x1000;
constexpr DWORD DDSCAPS_3DDEVICE = 0x2000;
constexpr DWORD DDSCAPS_VIDEOMEMORY = 0x4000;
constexpr DWORD DDSCAPS_ZBUFFER = 0x20000;
constexpr DWORD DDSCAPS_MIPMAP = 0x400000;

// Second caps word.
constexpr DWORD DDSCAPS2_TEXTUREMANAGE = 0x10;

constexpr DWORD DDPF_ALPHAPIXELS = 0x1;
constexpr DWORD DDPF_FOURCC = 0x4;
constexpr DWORD DDPF_RGB = 0x40;
constexpr DWORD DDPF_ZBUFFER = 0x400;
constexpr DWORD DDPF_LUMINANCE = 0x20000;
constexpr DWORD DDPF_BUMPLUMINANCE = 0x40000;
constexpr DWORD DDPF_BUMPDUDV = 0x80000;

constexpr DWORD DDLOCK_WAIT = 0x1;
constexpr DWORD DDLOCK_READONLY = 0x10;

constexpr DWORD DDBLT_WAIT = 0x01000000;

constexpr DWORD DDFLIP_WAIT = 0x1;
constexpr DWORD DDFLIP_NOVSYNC = 0x8;

constexpr DWORD DDWAITVB_BLOCKBEGIN = 0x1;

// Render depths of a device (D3DDEVICEDESC7::dwDeviceRenderBitDepth).
constexpr DWORD DDBD_16 = 0x400;
constexpr DWORD DDBD_24 = 0x200;
constexpr DWORD DDBD_32 = 0x100;

struct DDCAPS
{
    DWORD dwSize = 0;
    DWORD dwCaps = 0;
};

struct DDPIXELFORMAT
{
    DWORD dwSize = 0;
    DWORD dwFlags = 0;
    union {
        DWORD dwRGBBitCount = 0;
        DWORD dwZBufferBitDepth;
    };
    union {
        DWORD dwRBitMask = 0;
        DWORD dwStencilBitDepth;
    };
    DWORD dwGBitMask = 0;
    DWORD dwBBitMask = 0;
    union {
        DWORD dwRGBAlphaBitMask = 0;
        DWORD dwZBitMask;
    };
};

struct DDSCAPS2
{
    DWORD dwCaps = 0;
    DWORD dwCaps2 = 0;
};

struct DDSURFACEDESC2
{
    DWORD dwSize = 0;
    DWORD dwFlags = 0;
    DWORD dwHeight = 0;
    DWORD dwWidth = 0;
    LONG lPitch = 0;
    DWORD dwBackBufferCount = 0;
    DWORD dwRefreshRate = 0;
    DWORD dwMipMapCount = 0; // levels of a mip-map chain, this one included
    LPVOID lpSurface = nullptr;
    DDPIXELFORMAT ddpfPixelFormat;
    DDSCAPS2 ddsCaps;
    DWORD dwTextureStage = 0;
};

struct DDBLTFX;

class IDirectDrawClipper : public IUnknown
{
public:
    virtual HRESULT SetHWnd(DWORD flags, HWND window) = 0;

protected:
    virtual ~IDirectDrawClipper() = default;
};

class IDirectDrawSurface7 : public IUnknown
{
public:
    virtual HRESULT GetAttachedSurface(DDSCAPS2* caps, IDirectDrawSurface7** surface) = 0;
    virtual HRESULT AddAttachedSurface(IDirectDrawSurface7* surface) = 0;
    virtual HRESULT GetSurfaceDesc(DDSURFACEDESC2* desc) = 0;
    // Only system-memory surfaces and textures can be locked; rect must be null (the whole surface).
    virtual HRESULT Lock(RECT* rect, DDSURFACEDESC2* desc, DWORD flags, HANDLE event) = 0;
    virtual HRESULT Unlock(RECT* rect) = 0;
    // Whole-surface copies: from a render target into a system-memory surface (a read-back), from the back buffer
    // into the primary surface (presentation in a window; destination rectangle in screen coordinates), or from a
    // system-memory surface into a texture of the same size (a texture upload; the pixels are converted when the
    // formats differ).
    virtual HRESULT Blt(RECT* destination, IDirectDrawSurface7* source, RECT* sourceRect, DWORD flags,
                        DDBLTFX* effects) = 0;
    virtual HRESULT Flip(IDirectDrawSurface7* target, DWORD flags) = 0;
    virtual HRESULT SetClipper(IDirectDrawClipper* clipper) = 0;

protected:
    virtual ~IDirectDrawSurface7() = default;
};

using LPDDENUMMODESCALLBACK2 = HRESULT (*)(DDSURFACEDESC2* mode, LPVOID context);
using LPDDENUMCALLBACKEXA = BOOL (*)(GUID* guid, LPSTR description, LPSTR name, LPVOID context, HMONITOR monitor);

constexpr HRESULT DDENUMRET_OK = 1;
constexpr HRESULT DDENUMRET_CANCEL = 0;

class IDirectDraw7 : public IUnknown
{
public:
    virtual HRESULT GetCaps(DDCAPS* hardware, DDCAPS* emulation) = 0;
    virtual HRESULT EnumDisplayModes(DWORD flags, DDSURFACEDESC2* filter, LPVOID context,
                                     LPDDENUMMODESCALLBACK2 callback) = 0;
    virtual HRESULT SetCooperativeLevel(HWND window, DWORD flags) = 0;
    virtual HRESULT GetDisplayMode(DDSURFACEDESC2* desc) = 0;
    virtual HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate, DWORD flags) = 0;
    virtual HRESULT CreateSurface(DDSURFACEDESC2* desc, IDirectDrawSurface7** surface, IUnknown* outer) = 0;
    virtual HRESULT CreateClipper(DWORD flags, IDirectDrawClipper** clipper, IUnknown* outer) = 0;
    virtual HRESULT TestCooperativeLevel() = 0;
    virtual HRESULT RestoreAllSurfaces() = 0;
    virtual HRESULT WaitForVerticalBlank(DWORD flags, HANDLE event) = 0;

protected:
    virtual ~IDirectDraw7() = default;
};

HRESULT DirectDrawEnumerateExA(LPDDENUMCALLBACKEXA callback, LPVOID context, DWORD flags);
HRESULT DirectDrawCreateEx(GUID* driver, LPVOID* object, REFIID iid, IUnknown* outer);

// Direct3D -----------------------------------------------------------------------------------------------------

constexpr DWORD D3DDEVCAPS_HWRASTERIZATION = 0x00080000;
constexpr DWORD D3DPRASTERCAPS_ZBUFFERLESSHSR = 0x00008000;

struct D3DPRIMCAPS
{
    DWORD dwRasterCaps = 0;
};

struct D3DDEVICEDESC7
{
    DWORD dwDevCaps = 0;
    D3DPRIMCAPS dpcTriCaps;
    DWORD dwDeviceRenderBitDepth = 0;
    DWORD dwMaxTextureWidth = 0;
    DWORD dwMaxTextureHeight = 0;
    DWORD dwMaxAnisotropy = 0;
    WORD wMaxSimultaneousTextures = 0;
    GUID deviceGUID;
};

struct D3DVIEWPORT7
{
    DWORD dwX = 0;
    DWORD dwY = 0;
    DWORD dwWidth = 0;
    DWORD dwHeight = 0;
    D3DVALUE dvMinZ = 0.0f;
    D3DVALUE dvMaxZ = 1.0f;
};

// Direct3D's row-vector matrix: a point is multiplied from the left, the translation lies in _41, _42, _43.
struct D3DMATRIX
{
    D3DVALUE _11 = 1, _12 = 0, _13 = 0, _14 = 0;
    D3DVALUE _21 = 0, _22 = 1, _23 = 0, _24 = 0;
    D3DVALUE _31 = 0, _32 = 0, _33 = 1, _34 = 0;
    D3DVALUE _41 = 0, _42 = 0, _43 = 0, _44 = 1;
};

struct D3DCOLORVALUE
{
    D3DVALUE r = 0, g = 0, b = 0, a = 0;
};

struct D3DVECTOR
{
    D3DVALUE x = 0, y = 0, z = 0;
};

struct D3DMATERIAL7
{
    D3DCOLORVALUE diffuse;
    D3DCOLORVALUE ambient;
    D3DCOLORVALUE specular;
    D3DCOLORVALUE emissive;
    D3DVALUE power = 0;
};

enum D3DLIGHTTYPE : DWORD
{
    D3DLIGHT_POINT = 1,
    D3DLIGHT_SPOT = 2,
    D3DLIGHT_DIRECTIONAL = 3
};

struct D3DLIGHT7
{
    DWORD dltType = 0;
    D3DCOLORVALUE dcvDiffuse;
    D3DCOLORVALUE dcvSpecular;
    D3DCOLORVALUE dcvAmbient;
    D3DVECTOR dvPosition;
    D3DVECTOR dvDirection;
    D3DVALUE dvRange = 0;
    D3DVALUE dvFalloff = 0;
    D3DVALUE dvAttenuation0 = 0;
    D3DVALUE dvAttenuation1 = 0;
    D3DVALUE dvAttenuation2 = 0;
    D3DVALUE dvTheta = 0;
    D3DVALUE dvPhi = 0;
};

enum D3DPRIMITIVETYPE : DWORD
{
    D3DPT_TRIANGLELIST = 4,
    D3DPT_TRIANGLESTRIP = 5
};

constexpr DWORD D3DFVF_XYZ = 0x002;
constexpr DWORD D3DFVF_NORMAL = 0x010;
constexpr DWORD D3DFVF_DIFFUSE = 0x040;
constexpr DWORD D3DFVF_TEX1 = 0x100;

constexpr DWORD D3DCLEAR_TARGET = 0x1;
constexpr DWORD D3DCLEAR_ZBUFFER = 0x2;

// Render states. The device starts with the defaults the engine relies on without setting them: Z test with
// less-or-equal, Gouraud shading, solid fill, no fog, no alpha test, no specular highlights.
enum D3DRENDERSTATETYPE : DWORD
{
    D3DRENDERSTATE_ZENABLE,
    D3DRENDERSTATE_ZWRITEENABLE,
    D3DRENDERSTATE_ALPHABLENDENABLE,
    D3DRENDERSTATE_SRCBLEND,
    D3DRENDERSTATE_DESTBLEND,
    D3DRENDERSTATE_CULLMODE,
    D3DRENDERSTATE_AMBIENT,
    D3DRENDERSTATE_LIGHTING,
    D3DRENDERSTATE_NORMALIZENORMALS,
    D3DRENDERSTATE_COLORVERTEX,
    D3DRENDERSTATE_DIFFUSEMATERIALSOURCE,
    D3DRENDERSTATE_AMBIENTMATERIALSOURCE,
    D3DRENDERSTATE_COUNT // not a state: the number of states
};

enum D3DBLEND : DWORD
{
    D3DBLEND_ZERO = 1,
    D3DBLEND_ONE = 2,
    D3DBLEND_SRCCOLOR = 3,
    D3DBLEND_INVSRCCOLOR = 4,
    D3DBLEND_SRCALPHA = 5,
    D3DBLEND_INVSRCALPHA = 6,
    D3DBLEND_DESTALPHA = 7,
    D3DBLEND_INVDESTALPHA = 8,
    D3DBLEND_DESTCOLOR = 9,
    D3DBLEND_INVDESTCOLOR = 10,
    D3DBLEND_SRCALPHASAT = 11
};

enum D3DCULL : DWORD
{
    D3DCULL_NONE = 1,
    D3DCULL_CW = 2,
    D3DCULL_CCW = 3
};

enum D3DMATERIALCOLORSOURCE : DWORD
{
    D3DMCS_MATERIAL = 0,
    D3DMCS_COLOR1 = 1
};

enum D3DTEXTURESTAGESTATETYPE : DWORD
{
    D3DTSS_COLOROP,
    D3DTSS_COLORARG1,
    D3DTSS_COLORARG2,
    D3DTSS_ALPHAOP,
    D3DTSS_ALPHAARG1,
    D3DTSS_ALPHAARG2,
    D3DTSS_TEXCOORDINDEX,
    D3DTSS_ADDRESSU,
    D3DTSS_ADDRESSV,
    D3DTSS_MAGFILTER,
    D3DTSS_MINFILTER,
    D3DTSS_MIPFILTER,
    D3DTSS_MAXANISOTROPY,
    D3DTSS_TEXTURETRANSFORMFLAGS,
    D3DTSS_COUNT // not a state: the number of stage states
};

enum D3DTEXTUREOP : DWORD
{
    D3DTOP_DISABLE = 1,
    D3DTOP_SELECTARG1 = 2,
    D3DTOP_MODULATE = 4
};

// Texture stage arguments.
constexpr DWORD D3DTA_DIFFUSE = 0x0;
constexpr DWORD D3DTA_CURRENT = 0x1;
constexpr DWORD D3DTA_TEXTURE = 0x2;

enum D3DTEXTUREMAGFILTER : DWORD
{
    D3DTFG_POINT = 1,
    D3DTFG_LINEAR = 2,
    D3DTFG_ANISOTROPIC = 5
};

enum D3DTEXTUREMINFILTER : DWORD
{
    D3DTFN_POINT = 1,
    D3DTFN_LINEAR = 2,
    D3DTFN_ANISOTROPIC = 3
};

enum D3DTEXTUREMIPFILTER : DWORD
{
    D3DTFP_NONE = 1,
    D3DTFP_LINEAR = 3
};

enum D3DTEXTUREADDRESS : DWORD
{
    D3DTADDRESS_WRAP = 1,
    D3DTADDRESS_CLAMP = 3
};

constexpr DWORD D3DTTFF_DISABLE = 0;
constexpr DWORD D3DTTFF_COUNT2 = 2;

enum D3DTRANSFORMSTATETYPE : DWORD
{
    D3DTRANSFORMSTATE_WORLD = 1,
    D3DTRANSFORMSTATE_VIEW = 2,
    D3DTRANSFORMSTATE_PROJECTION = 3,
    D3DTRANSFORMSTATE_TEXTURE0 = 16 // stage n: D3DTRANSFORMSTATE_TEXTURE0 + n
};

constexpr DWORD kD3DMaxTextureStages = 8;

using LPD3DENUMPIXELFORMATSCALLBACK = HRESULT (*)(DDPIXELFORMAT* format, LPVOID context);

class IDirect3DDevice7 : public IUnknown
{
public:
    virtual HRESULT SetViewport(D3DVIEWPORT7* viewport) = 0;
    virtual HRESULT SetRenderTarget(IDirectDrawSurface7* target, DWORD flags) = 0;
    // rects must be null: the whole viewport is cleared.
    virtual HRESULT Clear(DWORD count, void* rects, DWORD flags, D3DCOLOR colour, D3DVALUE z, DWORD stencil) = 0;
    virtual HRESULT BeginScene() = 0;
    virtual HRESULT EndScene() = 0;
    virtual HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) = 0;
    virtual HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD value) = 0;
    virtual HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) = 0;
    virtual HRESULT SetMaterial(D3DMATERIAL7* material) = 0;
    virtual HRESULT SetLight(DWORD index, D3DLIGHT7* light) = 0;
    virtual HRESULT LightEnable(DWORD index, BOOL enable) = 0;
    virtual HRESULT SetTexture(DWORD stage, IDirectDrawSurface7* texture) = 0;
    // The texture formats of the device, in the driver's order, until the callback answers D3DENUMRET_CANCEL.
    virtual HRESULT EnumTextureFormats(LPD3DENUMPIXELFORMATSCALLBACK callback, LPVOID context) = 0;
    // Indices below vertexCount, 16-bit; the second form takes 32-bit indices, for index buffers too large for
    // 16 bits.
    virtual HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, DWORD vertexFormat, LPVOID vertices, DWORD vertexCount,
                                         WORD* indices, DWORD indexCount, DWORD flags) = 0;
    virtual HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, DWORD vertexFormat, LPVOID vertices, DWORD vertexCount,
                                         DWORD* indices, DWORD indexCount, DWORD flags) = 0;

protected:
    virtual ~IDirect3DDevice7() = default;
};

using LPD3DENUMDEVICESCALLBACK7 = HRESULT (*)(LPSTR description, LPSTR name, D3DDEVICEDESC7* desc, LPVOID context);

constexpr HRESULT D3DENUMRET_OK = 1;
constexpr HRESULT D3DENUMRET_CANCEL = 0;

class IDirect3D7 : public IUnknown
{
public:
    virtual HRESULT EnumDevices(LPD3DENUMDEVICESCALLBACK7 callback, LPVOID context) = 0;
    virtual HRESULT EnumZBufferFormats(REFCLSID device, LPD3DENUMPIXELFORMATSCALLBACK callback, LPVOID context) = 0;
    virtual HRESULT CreateDevice(REFCLSID device, IDirectDrawSurface7* target, IDirect3DDevice7** result) = 0;

protected:
    virtual ~IDirect3D7() = default;
};
