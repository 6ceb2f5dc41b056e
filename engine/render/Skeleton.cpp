#include "Skeleton.h"

namespace KeystrelEngine {

Skeleton::Skeleton(MessageManager* log, std::uint16_t boneCount) : m_log(log), m_bones(boneCount) {}

void Skeleton::UpdateMatrices()
{
    for (Bone& bone : m_bones) {
        bone.m_rotationMatrix =
            Matrix4::FromQuaternion(Quaternion::Multiply(bone.m_animatedRotation, bone.m_baseRotation));
        Matrix4 translation;
        translation.MakeTranslation(bone.m_baseTranslation + bone.m_animatedTranslation);
        Matrix4 scale;
        scale.m[0] = bone.m_animatedScale.x;
        scale.m[5] = bone.m_animatedScale.y;
        scale.m[10] = bone.m_animatedScale.z;
        bone.m_combinedMatrix = translation * bone.m_rotationMatrix * scale;
        bone.m_box.m_transformation = bone.m_combinedMatrix;
        bone.m_box.Update(true);
    }
}

} // namespace KeystrelEngine
