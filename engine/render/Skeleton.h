// The bones of a skeletal model. The model's update writes each bone's animated rotation, translation and scale
// from its keys and then asks for the matrices, which the skinning and the model's box use. Bones have no
// parents: every bone's keys place it directly in the model's space.
#pragma once

#include "BoundingBox.h"
#include "Matrix4.h"
#include "Quaternion.h"
#include "Vector3.h"

#include <cstdint>
#include <string>
#include <vector>

namespace KeystrelEngine {

class MessageManager;

struct Bone
{
    std::uint8_t m_boundsByte = 0; // 0: the bone's box counts for the model's box
    std::string m_name;
    BoundingBox m_box;              // local corners from the file; the world box follows the bone
    std::uint16_t m_firstValue = 0; // stored and copied only
    std::uint16_t m_secondValue = 0;
    Quaternion m_animatedRotation{0.0f, 0.0f, 0.0f, 0.0f}; // zero until the model's update writes it
    Quaternion m_baseRotation;
    Vector3 m_animatedTranslation;
    Vector3 m_baseTranslation;
    Vector3 m_animatedScale;
    Matrix4 m_rotationMatrix; // rotation of the last UpdateMatrices, for normals
    Matrix4 m_combinedMatrix; // translation x rotation x scale of the last UpdateMatrices, for positions
};

class Skeleton
{
public:
    Skeleton(MessageManager* log, std::uint16_t boneCount);
    Skeleton(const Skeleton& source) = default;
    Skeleton& operator=(const Skeleton&) = delete;
    virtual ~Skeleton() = default;

    // Rebuilds every bone's matrices from its animated and base values and moves its box with them.
    void UpdateMatrices();

    std::uint16_t GetBoneCount() const { return static_cast<std::uint16_t>(m_bones.size()); }
    Bone& GetBone(std::uint16_t index) { return m_bones[index]; }
    const Bone& GetBone(std::uint16_t index) const { return m_bones[index]; }

private:
    MessageManager* m_log;
    std::vector<Bone> m_bones;
};

} // namespace KeystrelEngine
