// The Direct3D 7 render system's index buffer: the device draws straight from the system-memory array, so it
// only keeps the render system that made it.
#pragma once

#include "IndexBuffer.h"

namespace KeystrelEngine {

class RenderSystem_D3D7;

class IndexBuffer_D3D7 final : public IndexBuffer
{
public:
    IndexBuffer_D3D7(RenderSystem_D3D7* renderSystem, std::uint32_t usage, std::uint32_t indexCount)
        : IndexBuffer(usage, indexCount), m_renderSystem(renderSystem)
    {
    }
    IndexBuffer_D3D7(RenderSystem_D3D7* renderSystem, std::uint32_t usage, const IndexBuffer& source)
        : IndexBuffer(usage, source), m_renderSystem(renderSystem)
    {
    }
    IndexBuffer_D3D7(RenderSystem_D3D7* renderSystem, const IndexBuffer& source)
        : IndexBuffer(source), m_renderSystem(renderSystem)
    {
    }

    RenderSystem_D3D7* GetRenderSystem() const { return m_renderSystem; }

private:
    RenderSystem_D3D7* m_renderSystem;
};

} // namespace KeystrelEngine
