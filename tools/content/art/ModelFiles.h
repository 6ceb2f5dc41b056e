// Model files from meshes: static models, and morph models from per-frame meshes of one topology with a box
// per frame (the engine blends the boxes with the frames). Flags are the engine's Model flags; the builders add
// the vertex kind (static, morph) to the ones given. kGui suits GUI models (the window sets what it needs),
// kWorld world models (lit, Z-tested, drawn in the first group and shown: clones of world models are never
// shown by the code). No cull flag: both sides are drawn unless a model asks for Model::kCullMode1.
#pragma once

#include "engine/render/Model.h"
#include "tools/content/art/Mesh.h"
#include "tools/formats/ModelFileWriter.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace Content {

class ModelFiles
{
public:
    using Model = KeystrelEngine::Model;

    static constexpr std::uint32_t kGui = Model::kTriangleList;
    static constexpr std::uint32_t kWorld =
        Model::kTriangleList | Model::kLit | Model::kZTest | Model::kDrawFirst | Model::kShown;

    static Formats::ModelFile Static(const Mesh& mesh, std::uint32_t flags = kGui);
    // frames[0] is frame 0; speed is the play rate in frames per second. Throws std::invalid_argument for no
    // frames or frames of different topology.
    static Formats::ModelFile Morph(const std::vector<Mesh>& frames, float speed, std::uint32_t flags = kGui);
    // The frames made by frame(k) for k = 0 .. count - 1.
    static Formats::ModelFile Morph(int count, float speed, const std::function<Mesh(int)>& frame,
                                    std::uint32_t flags = kGui);
};

} // namespace Content
