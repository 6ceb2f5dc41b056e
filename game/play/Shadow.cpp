#include "Shadow.h"

#include "Item.h"
#include "ModelColour.h"
#include "engine/render/AnimationControl.h"
#include "engine/render/Matrix4.h"
#include "engine/render/ModelManager.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Wispfold {

using KeystrelEngine::Model;

namespace {

constexpr float kHiddenAlpha = 0.0001f;

} // namespace

Shadow::Shadow(const PlayServices& services, const PlayResources& resources, float height)
    : m_resources(&resources), m_model(services.models->CloneModel(*resources.shadow, nullptr, 0), {services.models}),
      m_heightOffset(height - m_model->m_boundingBox.m_centre.z)
{
}

void Shadow::Update()
{
    if (!m_owner) {
        m_model->m_flags &= ~Model::kShown;
        return;
    }
    TakeOwnerAnimation();
    m_model->m_flags |= Model::kShown;
    const KeystrelEngine::Vector3& position = m_owner->GetPosition();
    KeystrelEngine::Matrix4 translation;
    translation.MakeTranslation({position.x, position.y, m_heightOffset});
    m_model->SetWorldMatrixRelativeToBase(
        translation * KeystrelEngine::Matrix4::RotationZ(m_owner->GetHeading() + std::numbers::pi_v<float> / 2.0f));
    const float rise = std::fabs(position.z - m_heightOffset);
    const float alpha = std::clamp(1.0f - (rise - kFullHeight) / kFadeHeight, 0.0f, 1.0f);
    SetModelColour(*m_model, {1.0f, 1.0f, 1.0f, alpha});
    if (alpha < kHiddenAlpha)
        m_model->m_flags &= ~Model::kShown;
}

// The same owner as last time lends its frame, speed, loop, playing flag and range; a new owner its texture
// colour and a whole copy of its animation.
void Shadow::TakeOwnerAnimation()
{
    KeystrelEngine::AnimationControl& animation = m_model->GetAnimationControl();
    const KeystrelEngine::AnimationControl& owner = m_owner->GetModel()->GetAnimationControl();
    if (m_owner == m_lastOwner) {
        animation.m_position = owner.m_position;
        animation.m_speed = owner.m_speed;
        animation.m_looping = owner.m_looping;
        animation.m_playing = owner.m_playing;
        animation.m_currentAnimation = owner.m_currentAnimation;
        return;
    }
    const ItemColor colour = m_owner->m_colour;
    if (colour < kTexturedColourCount && m_resources->shadowTextures[colour])
        m_model->SetShaderDescriptor(*m_resources->shadowTextures[colour]);
    animation = owner;
    m_lastOwner = m_owner;
}

} // namespace Wispfold
