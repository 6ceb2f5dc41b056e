#include "tools/content/art/Rig.h"

#include <algorithm>
#include <stdexcept>

namespace Content {
namespace {

using KeystrelEngine::Model;

Formats::Float3 ToFloat3(const Vector3& v)
{
    return {v.x, v.y, v.z};
}

Matrix4 Placement(const RigKey& key)
{
    Matrix4 scale;
    scale.m[0] = key.scale.x;
    scale.m[5] = key.scale.y;
    scale.m[10] = key.scale.z;
    Matrix4 translation;
    translation.MakeTranslation(key.translation);
    return translation * Matrix4::FromQuaternion(key.rotation) * scale;
}

void Include(Formats::ModelFileBox& box, const Formats::ModelFileBox& more)
{
    for (int k = 0; k < 3; ++k) {
        box.minimum[k] = std::min(box.minimum[k], more.minimum[k]);
        box.maximum[k] = std::max(box.maximum[k], more.maximum[k]);
    }
}

} // namespace

std::uint16_t Rig::AddBone(const std::string& name)
{
    m_bones.push_back(name);
    return static_cast<std::uint16_t>(m_bones.size() - 1);
}

void Rig::Bind(std::uint16_t bone, const Mesh& part)
{
    if (bone >= m_bones.size())
        throw std::invalid_argument("a part bound to a bone the rig does not have");
    m_parts.push_back({bone, part});
}

void Rig::AddFrame(const std::vector<RigKey>& keys)
{
    m_frames.push_back(keys);
}

Formats::ModelFile Rig::Build(float speed, std::uint32_t flags) const
{
    if (m_frames.empty())
        throw std::invalid_argument("a skeletal model needs a frame");
    Formats::ModelFile file;
    file.flags = (flags & ~(Model::kStatic | Model::kMorph)) | Model::kSkeletal;
    file.frameCount = static_cast<std::uint32_t>(m_frames.size());
    file.speed = speed;
    for (std::uint16_t b = 0; b < m_bones.size(); ++b) {
        Mesh joined;
        for (const Part& part : m_parts) {
            if (part.bone == b)
                joined.Append(part.mesh);
        }
        const Formats::ModelFileBox box = joined.Bounds();
        file.bones.push_back(
            {static_cast<std::uint8_t>(joined.vertices.empty() ? 1 : 0), m_bones[b], box.minimum, box.maximum, 0, 0});
    }
    for (const std::vector<RigKey>& keys : m_frames) {
        if (keys.size() != m_bones.size())
            throw std::invalid_argument("every frame of a skeletal model needs one key per bone");
        for (const RigKey& key : keys) {
            file.keys.push_back({key.translation.x, key.translation.y, key.translation.z, key.rotation.x,
                                 key.rotation.y, key.rotation.z, key.rotation.w, key.scale.x, key.scale.y,
                                 key.scale.z});
        }
    }
    bool first = true;
    Formats::ModelFileBox box;
    for (const Part& part : m_parts) {
        const auto offset = static_cast<std::uint32_t>(file.skinVertices.size());
        for (const std::uint32_t index : part.mesh.indices)
            file.indices.push_back(index + offset);
        for (const MeshVertex& vertex : part.mesh.vertices) {
            file.skinVertices.push_back(
                {vertex.u, vertex.v, {{part.bone, 1.0f, ToFloat3(vertex.normal), ToFloat3(vertex.position)}}});
        }
        for (const std::vector<RigKey>& keys : m_frames) {
            const Formats::ModelFileBox posed = Mesh(part.mesh).Transform(Placement(keys[part.bone])).Bounds();
            if (first)
                box = posed;
            Include(box, posed);
            first = false;
        }
    }
    file.boxes = {box};
    return file;
}

} // namespace Content
