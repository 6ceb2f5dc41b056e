// The self-made quads of the GUI (a window's, the cursor's): four vertices drawn as the strip 0, 1, 2, 3.
#pragma once

#include <array>
#include <cstdint>

namespace KeystrelEngine {

class Camera;
class Model;
class ModelManager;
class ShaderDescriptor;

// One corner: its position (z 0) and its texture coordinates.
struct GUIQuadCorner
{
    float x = 0.0f;
    float y = 0.0f;
    float u = 0.0f;
    float v = 0.0f;
};

// A registered model of the vertex format the flags name (positions, normals, perhaps colours, one texture
// coordinate pair), filled with the corners in order, its box computed from them.
Model* MakeGUIQuad(ModelManager& models, Camera* camera, std::uint32_t modelFlags, const ShaderDescriptor& descriptor,
                   const std::array<GUIQuadCorner, 4>& corners);

} // namespace KeystrelEngine
