// Skeletal model files from rigid parts: each part is a mesh in its bone's own space, bound to that bone with
// weight 1. Bones have no parents; a bone's key places it in the model's space for one frame (position =
// translation + rotation x (scale x part position)). Every frame holds one key per bone, in bone order. The
// file's box covers every posed frame; each bone's box is its parts' box, and a bone without parts does not
// count for the model's box.
#pragma once

#include "engine/render/Quaternion.h"
#include "tools/content/art/Mesh.h"
#include "tools/content/art/ModelFiles.h"
#include "tools/formats/ModelFileWriter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Content {

struct RigKey
{
    Vector3 translation;
    KeystrelEngine::Quaternion rotation; // x, y, z, w; the identity by default
    Vector3 scale{1.0f, 1.0f, 1.0f};
};

class Rig
{
public:
    // Returns the bone's index.
    std::uint16_t AddBone(const std::string& name);
    // Binds the mesh, given in the bone's space, rigidly to the bone (one added before).
    void Bind(std::uint16_t bone, const Mesh& part);
    // The next frame: one key per bone.
    void AddFrame(const std::vector<RigKey>& keys);

    // Throws std::invalid_argument without frames or for a frame whose key count is not the bone count.
    Formats::ModelFile Build(float speed, std::uint32_t flags = ModelFiles::kGui) const;

private:
    struct Part
    {
        std::uint16_t bone;
        Mesh mesh;
    };

    std::vector<std::string> m_bones;
    std::vector<Part> m_parts;
    std::vector<std::vector<RigKey>> m_frames;
};

} // namespace Content
