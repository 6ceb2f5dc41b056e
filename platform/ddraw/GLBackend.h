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
// - Textures: a texture surface keeps its pixels in memory; the first draw that uses it copies its mip chain into
//   a GL texture (GL's maximum level set to the chain's last, so a chain of one level stays complete under a mip
//   filter), and a later draw copies again only the levels whose pixels changed. Surface rows go up in order, so
//   v = 0 is the surface's first row as in Direct3D. Formats without alpha get a GL format without alpha, which
//   samples alpha as 1. A released texture's GL name is queued and deleted by the main thread before its next
//   draw or presentation, so textures can be released on the loading thread.
// - Texture stages are GL texture units with GL_ARB_texture_env_combine: modulate and select-first-argument of
//   texture, diffuse and current colour; a stage whose colour operation is disabled ends the cascade, and a stage
//   without a texture passes the colour on. Filters and addressing are per-unit sampler objects. The texture
//   matrix of a stage with two transformed coordinates applies to (u, v, 1) in Direct3D; its third row moves to
//   GL's translation slots, as GL multiplies (s, t, 0, 1).
// The state a device marks as changed is applied before the next draw; what GL already holds is not sent again.
#pragma once

#include "platform/ddraw/Backend.h"
#include "platform/ddraw/Hardware.h"
#include "platform/gdi/GdiHost.h"

#include <array>

#include <memory>
#include <mutex>
#include <vector>

namespace DDrawHost {

// It is also the window grab's source: the target presented last keeps its frame until the next frame clears it.
class GLBackend final : public Backend, public GdiHost::FrameSource
{
public:
    // Null when the calling thread has no current GL context.
    static std::unique_ptr<GLBackend> Create();
    ~GLBackend() override;

    void CreateRenderTarget(Surface& target) override;
    void DestroyRenderTarget(Surface& target) override;
    void ForgetTexture(Surface& texture) override;
    void Clear(Surface& target, Surface* depth, const D3DVIEWPORT7& viewport, DWORD flags, D3DCOLOR colour,
               float z) override;
    void Draw(Surface& target, Surface* depth, DeviceState& state, const DrawCall& draw) override;
    void ReadPixels(Surface& source, Surface& destination) override;
    void Present(Surface& source, HWND window, bool vsync) override;

    GdiHost::FrameSize GetFrameSize() override;
    bool ReadFrame(std::uint8_t* pixels) override;

private:
    struct Target;
    struct Texture;

    GLBackend();
    void StartFromKnownState();
    Target& Bind(Surface& target, Surface* depth);
    void ApplyViewport(const Target& target, const D3DVIEWPORT7& viewport);
    void ApplyRenderStates(const DeviceState& state);
    void ApplyTransformsAndLights(const DeviceState& state, bool resendLights);
    void ApplyLights(const DeviceState& state);
    void ApplyMaterial(const DeviceState& state);
    void ApplyColourSource(const DeviceState& state, bool vertexColours);
    void SetVertexArrays(const DrawCall& draw);
    void ApplyStages(const DeviceState& state, std::uint32_t dirty);
    void ApplyStage(const DeviceState& state, DWORD stage, Surface& texture);
    void ApplySampler(DWORD stage, const std::array<DWORD, D3DTSS_COUNT>& states);
    // Binds the texture to the active unit, copying to GL what it does not hold yet.
    void BindTexture(Surface& texture);
    void UploadLevel(Surface& level, int index, bool allocate);
    void DeleteForgottenTextures();

    Target* m_bound = nullptr;
    Target* m_presented = nullptr; // the target shown in m_presentedWindow
    HWND m_presentedWindow = nullptr;
    bool m_depthMask = true;
    int m_swapInterval = -1;
    int m_colourMaterial = 0; // the GL colour-material mode in use, 0 when off
    int m_glLightsInUse = 0;
    bool m_colourArray = false;
    std::vector<unsigned char> m_readBuffer;

    DWORD m_units = 1;                                       // texture units in use for stages
    std::array<unsigned, kD3DMaxTextureStages> m_samplers{}; // one per unit
    bool m_anisotropic = false;                              // GL can filter anisotropically
    std::uint32_t m_texturedUnits = 0;                       // bit per unit drawing with a texture
    std::uint32_t m_coordinateUnits = 0;                     // bit per unit with a texture coordinate array
    std::vector<unsigned char> m_convertBuffer;
    std::mutex m_forgottenMutex; // guards m_forgotten, which other threads fill
    std::vector<unsigned> m_forgotten;
    std::vector<unsigned> m_deleting;
};

// The device limits of a current GL context (texture size, units, anisotropy); unchanged without a context.
void ReadGLLimits(ScriptedDevice& device);

} // namespace DDrawHost
