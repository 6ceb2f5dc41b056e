#include "Texture2D_D3D7.h"

#include "RenderSystem_D3D7.h"
#include "engine/foundation/Config.h"
#include "engine/foundation/Error.h"

namespace KeystrelEngine {

Texture2D_D3D7::Texture2D_D3D7(MessageManager* log, Config* config, RenderSystem_D3D7* renderSystem,
                               const std::string& name, bool mipMapped)
    : Texture2D(log, config, name, mipMapped && config->r_use_mip_mapping), m_renderSystem(renderSystem)
{
    m_renderSystem->AddTexture(this);
}

Texture2D_D3D7::~Texture2D_D3D7()
{
    ReleaseSurface();
    try {
        m_renderSystem->RemoveTexture(this);
    } catch (const FatalError&) {
        // The line is in the log; a destructor must not throw.
    }
}

void Texture2D_D3D7::ReleaseSurface()
{
    if (m_surface)
        m_surface->Release();
    m_surface = nullptr;
}

} // namespace KeystrelEngine
