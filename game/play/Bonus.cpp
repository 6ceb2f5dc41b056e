#include "Bonus.h"

#include "ModelColour.h"
#include "engine/foundation/TimerManager.h"
#include "engine/render/AnimationControl.h"
#include "engine/render/ShaderUser.h"

#include <algorithm>

namespace Wispfold {

using KeystrelEngine::Model;
using KeystrelEngine::ShaderDescriptor;

Bonus::Bonus(const PlayServices& services, const PlayResources& resources, BonusKind kind)
    : m_kind(kind), m_services(services), m_model(nullptr, {services.models})
{
    const Model* source = resources.bonusModels[static_cast<std::uint32_t>(kind)];
    if (!source)
        return;
    m_model.reset(services.models->CloneModel(*source, nullptr, 0));
    m_model->SetFlags(Model::kDrawLast);
    if (KeystrelEngine::ShaderUser* shader = m_model->GetShaderUser()) {
        shader->m_flags |= ShaderDescriptor::kAlphaBlend;
        shader->m_sourceBlend = ShaderDescriptor::kBlendSourceAlpha;
        shader->m_destinationBlend = ShaderDescriptor::kBlendInverseSourceAlpha;
    }
    m_model->ResetWorldMatrix();
    m_model->GetAnimationControl().m_looping = true;
    m_model->GetAnimationControl().m_playing = true;
}

void Bonus::Update()
{
    m_age += m_services.timers->m_frameTime;
    const float fade = m_age <= kFadeStart ? 1.0f : std::max(0.0f, kLifetime - m_age);
    if (m_model)
        SetModelColour(*m_model, {m_colour.r * fade, m_colour.g * fade, m_colour.b * fade, m_colour.a * fade});
    if (m_age > kLifetime) {
        m_alive = false;
        if (m_model)
            m_model->m_flags &= ~Model::kShown;
    }
}

void Bonus::SetMatrix(const KeystrelEngine::Matrix4& matrix)
{
    if (m_model)
        m_model->SetWorldMatrixRelativeToBase(matrix);
}

} // namespace Wispfold
