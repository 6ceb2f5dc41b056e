// What a DirectDraw object hands to its back end: the pixels of render targets, and the textures a device draws
// with. The GL back end keeps a render target as a frame buffer object and draws into it, and copies a texture's
// levels into a GL texture when it is first drawn with; the recording back end keeps render targets in memory,
// fills them on Clear and records draws without rasterising them.
#pragma once

#include "platform/ddraw/DeviceState.h"

namespace DDrawHost {

class Surface;

struct DrawCall
{
    D3DPRIMITIVETYPE type;
    DWORD vertexFormat;
    const void* vertices;
    DWORD vertexCount;
    const void* indices;
    bool indices32;
    DWORD indexCount;
};

class Backend
{
public:
    virtual ~Backend() = default;

    virtual void CreateRenderTarget(Surface& target) = 0;
    virtual void DestroyRenderTarget(Surface& target) = 0;
    // A texture (the top level of its chain, or a level of it) is going away; called on whichever thread releases
    // it.
    virtual void ForgetTexture(Surface& texture) = 0;
    // depth: the Z buffer attached to the target, or null.
    virtual void Clear(Surface& target, Surface* depth, const D3DVIEWPORT7& viewport, DWORD flags, D3DCOLOR colour,
                       float z) = 0;
    virtual void Draw(Surface& target, Surface* depth, DeviceState& state, const DrawCall& draw) = 0;
    // Copies a render target into a system-memory surface of the same size, converting to its pixel format.
    virtual void ReadPixels(Surface& source, Surface& destination) = 0;
    // Shows a render target in the window.
    virtual void Present(Surface& source, HWND window, bool vsync) = 0;
};

} // namespace DDrawHost
