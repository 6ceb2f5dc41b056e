// A light sent to the Direct3D 7 device as a D3DLIGHT7 in its numbered light slot. It reaches the device through
// the render system's device slot, so it always talks to the current device, also after a reset.
#pragma once

#include "Light.h"
#include "platform/ddraw/DDraw.h"

namespace KeystrelEngine {

class RenderSystem_D3D7;

class Light_D3D7 final : public Light
{
public:
    Light_D3D7(MessageManager* log, std::uint32_t index, RenderSystem_D3D7* renderSystem,
               IDirect3DDevice7* const* device);
    // Switches its device light off.
    ~Light_D3D7() override;

    void Refresh() override;

private:
    void Disable();

    RenderSystem_D3D7* m_renderSystem;
    IDirect3DDevice7* const* m_device;
};

} // namespace KeystrelEngine
