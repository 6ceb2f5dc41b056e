// A texture of the Direct3D 7 render system: a DirectDraw texture surface. It lives in the render system's list
// of textures from construction to destruction, so that a device reset can release its surface, and so that the
// render system forgets it in its texture stages when it goes.
#pragma once

#include "Texture2D.h"
#include "platform/ddraw/DDraw.h"

namespace KeystrelEngine {

class RenderSystem_D3D7;

class Texture2D_D3D7 final : public Texture2D
{
public:
    Texture2D_D3D7(MessageManager* log, Config* config, RenderSystem_D3D7* renderSystem, const std::string& name,
                   bool mipMapped);
    ~Texture2D_D3D7() override;

    // Null while the texture has no surface.
    IDirectDrawSurface7* GetSurface() const { return m_surface; }
    void ReleaseSurface();

private:
    RenderSystem_D3D7* m_renderSystem;
    IDirectDrawSurface7* m_surface = nullptr; // one reference
};

} // namespace KeystrelEngine
