#include "GUIQuad.h"

#include "engine/render/IndexBuffer.h"
#include "engine/render/ModelManager.h"
#include "engine/render/VertexBuffer.h"

#include <cstring>

namespace KeystrelEngine {

Model* MakeGUIQuad(ModelManager& models, Camera* camera, std::uint32_t modelFlags, const ShaderDescriptor& descriptor,
                   const std::array<GUIQuadCorner, 4>& corners)
{
    Model* quad = models.CreateSelfMadeModel(modelFlags, 4, 4, &descriptor, camera);
    VertexBuffer& vertices = *quad->GetVertexBuffer();
    const std::uint32_t stride = vertices.GetVertexSize();
    std::uint8_t* vertex = vertices.Lock(0, 4);
    for (const GUIQuadCorner& corner : corners) {
        const float position[3] = {corner.x, corner.y, 0.0f};
        const float texture[2] = {corner.u, corner.v};
        std::memcpy(vertex, position, sizeof(position));
        std::memcpy(vertex + stride - sizeof(texture), texture, sizeof(texture));
        vertex += stride;
    }
    vertices.Unlock();
    const std::uint16_t strip[4] = {0, 1, 2, 3};
    std::memcpy(quad->GetIndexBuffer()->Lock(0, 4), strip, sizeof(strip));
    quad->GetIndexBuffer()->Unlock();
    quad->ComputeBoundingBox();
    return quad;
}

} // namespace KeystrelEngine
