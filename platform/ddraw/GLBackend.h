// The back end that draws for real, with the fixed-function pipeline of an OpenGL compatibility context (the one
// created with the application window; every call happens on the main thread).
//
// How Direct3D 7 maps onto it:
// - A render target is a frame buffer object of its size (colour RGBA8 whatever the display depth; depth 16 or
//   24+8 bits when a Z buffer is attached). Presenting blits it into the window, letterboxed, and swaps.
// - Depth runs from 0 to 1 as in Direct3D (glClipControl), so matrices pass through unchanged: a Direct3D
//   row-vector matrix has the memory layout of the same GL column-vector matrix. The model-view matrix is
//   view x world; lights are sent with the view matrix as model-view, so they stay in world space.
// - Culling: Direct3D's clockwise means clockwise on screen; with GL's front faces counter-clockwise, D3DCULL_CW
//   culls back faces and D3DCULL_CCW front faces.
// - Clear always writes depth when asked to, whatever the Z-write state.
// - Vertex colours (ARGB words) are read as GL_BGRA bytes; colour-material tracking is used only for vertices
//   that carry a colour, the others draw with the material and a white current colour.
// - Specular highlights are off (Direct3D's default, which the engine keeps), so the material's specular colour
//   is sent as black.
// The state a device marks as changed is applied before the next draw; what GL already holds is not sent again.
#pragma once

#include "platform/ddraw/Backend.h"
#include "platform/ddraw/Hardware.h"

#include <memory>
#include <vector>

namespace DDrawHost {

class GLBackend final : public Backend
{
public:
    // Null when the calling thread has no current GL context.
    static std::unique_ptr<GLBackend> Create();
    ~GLBackend() override;

    void CreateRenderTarget(Surface& target) override;
    void DestroyRenderTarget(Surface& target) override;
    void Clear(Surface& target, Surface* depth, const D3DVIEWPORT7& viewport, DWORD flags, D3DCOLOR colour,
               float z) override;
    void Draw(Surface& target, Surface* depth, DeviceState& state, const DrawCall& draw) override;
    void ReadPixels(Surface& source, Surface& destination) override;
    void Present(Surface& source, HWND window, bool vsync) override;

private:
    struct Target;

    GLBackend();
    Target& Bind(Surface& target, Surface* depth);
    void ApplyViewport(const Target& target, const D3DVIEWPORT7& viewport);
    void ApplyRenderStates(const DeviceState& state);
    void ApplyTransformsAndLights(const DeviceState& state, bool resendLights);
    void ApplyLights(const DeviceState& state);
    void ApplyMaterial(const DeviceState& state);
    void ApplyColourSource(const DeviceState& state, bool vertexColours);
    void SetVertexArrays(const DrawCall& draw);

    Target* m_bound = nullptr;
    bool m_depthMask = true;
    int m_swapInterval = -1;
    int m_colourMaterial = 0; // the GL colour-material mode in use, 0 when off
    int m_glLightsInUse = 0;
    bool m_colourArray = false;
    std::vector<unsigned char> m_readBuffer;
};

// The device limits of a current GL context (texture size, units, anisotropy); unchanged without a context.
void ReadGLLimits(ScriptedDevice& device);

} // namespace DDrawHost
