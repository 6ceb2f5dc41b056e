// The Direct3D 7 render system's vertex buffer: the device draws straight from the system-memory array, so it
// only keeps the render system that made it.
#pragma once

#include "VertexBuffer.h"

namespace KeystrelEngine {

class RenderSystem_D3D7;

class VertexBuffer_D3D7 final : public VertexBuffer
{
public:
    VertexBuffer_D3D7(RenderSystem_D3D7* renderSystem, std::uint32_t usage, bool hasColours, std::uint32_t vertexCount)
        : VertexBuffer(usage, hasColours, vertexCount), m_renderSystem(renderSystem)
    {
    }
    VertexBuffer_D3D7(RenderSystem_D3D7* renderSystem, std::uint32_t usage, bool hasColours, const VertexBuffer& source)
        : VertexBuffer(usage, hasColours, source), m_renderSystem(renderSystem)
    {
    }
    VertexBuffer_D3D7(RenderSystem_D3D7* renderSystem, const VertexBuffer& source)
        : VertexBuffer(source), m_renderSystem(renderSystem)
    {
    }

    RenderSystem_D3D7* GetRenderSystem() const { return m_renderSystem; }

private:
    RenderSystem_D3D7* m_renderSystem;
};

} // namespace KeystrelEngine
