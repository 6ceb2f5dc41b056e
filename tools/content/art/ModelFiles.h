// Model files from meshes: static models, and morph models from per-frame meshes of one topology with a box
// per frame (the engine blends the boxes with the frames). Flags: the builders add the vertex kind (static,
// morph) to the given flags; kGui suits GUI models (the window takes what it needs), kWorld world models (lit,
// Z-tested, drawn in the first group and shown: clones of world models are never shown by the code).
#pragma once

#include "tools/content/art/Mesh.h"
#include "tools/formats/ModelFileWriter.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace Content {

class ModelFiles
{
public:
    static constexpr std::uint32_t kStatic = 0x1;
    static constexpr std::uint32_t kMorph = 0x2;
    static constexpr std::uint32_t kSkeletal = 0x4;
    static constexpr std::uint32_t kTriangleList = 0x8;
    static constexpr std::uint32_t kLit = 0x40;
    static constexpr std::uint32_t kZTest = 0x80;
    static constexpr std::uint32_t kDrawFirst = 0x200;
    static constexpr std::uint32_t kShown = 0x40000;

    static constexpr std::uint32_t kGui = kTriangleList;
    static constexpr std::uint32_t kWorld = kTriangleList | kLit | kZTest | kDrawFirst | kShown;

    static Formats::ModelFile Static(const Mesh& mesh, std::uint32_t flags = kGui);
    // frames[0] is frame 0; speed is the play rate in frames per second. Throws std::invalid_argument for no
    // frames or frames of different topology.
    static Formats::ModelFile Morph(const std::vector<Mesh>& frames, float speed, std::uint32_t flags = kGui);
    // The frames made by frame(k) for k = 0 .. count - 1.
    static Formats::ModelFile Morph(int count, float speed, const std::function<Mesh(int)>& frame,
                                    std::uint32_t flags = kGui);
};

} // namespace Content
