// Everything a Direct3D device has been told: render and stage states, transforms, material, lights, textures and
// the viewport. The device keeps it and marks what changed; the GL back end applies the marked parts before a
// draw, and tests read it through PlatformTesting::LiveDeviceState.
#pragma once

#include "platform/ddraw/DDraw.h"

#include <array>
#include <cstdint>
#include <vector>

namespace DDrawHost {

struct LightSlot
{
    D3DLIGHT7 light;
    bool enabled = false;
};

struct DeviceState
{
    // Groups of state marked as changed since the back end last applied them.
    enum Dirty : std::uint32_t
    {
        DirtyRenderStates = 1u << 0,
        DirtyWorld = 1u << 1,
        DirtyView = 1u << 2,
        DirtyProjection = 1u << 3,
        DirtyMaterial = 1u << 4,
        DirtyLights = 1u << 5,
        DirtyViewport = 1u << 6,
        DirtyStage0 = 1u << 8, // stage n: DirtyStage0 << n (its states, texture and texture transform)
        DirtyAll = 0xFFFFFFFFu
    };

    DeviceState();

    std::array<DWORD, D3DRENDERSTATE_COUNT> renderStates{};
    std::array<std::array<DWORD, D3DTSS_COUNT>, kD3DMaxTextureStages> stageStates{};
    D3DMATRIX world;
    D3DMATRIX view;
    D3DMATRIX projection;
    std::array<D3DMATRIX, kD3DMaxTextureStages> textureTransforms;
    D3DMATERIAL7 material;
    std::vector<LightSlot> lights; // by light index; grows as lights are set or enabled
    std::array<IDirectDrawSurface7*, kD3DMaxTextureStages> textures{};
    D3DVIEWPORT7 viewport;
    bool inScene = false;
    std::uint32_t dirty = DirtyAll;
};

} // namespace DDrawHost
