#include "CellSelection.h"

#include "CellLook.h"

#include "engine/render/AnimationControl.h"
#include "engine/render/Model.h"
#include "engine/render/VertexBuffer.h"

namespace Wispfold {

using KeystrelEngine::Model;

namespace {

void SetAlpha(Model& model, float alpha)
{
    if (KeystrelEngine::VertexBuffer* buffer = model.GetVertexBuffer())
        buffer->SetColor({1.0f, 1.0f, 1.0f, alpha});
}

} // namespace

CellSelection::CellSelection(const CellLook& cell, Model& model)
    : m_cell(&cell), m_model(&model), m_animation(&model.GetAnimationControl())
{
    SetAlpha(model, 0.0f);
    const Model* appearance = cell.GetAppearance();
    model.SetWorldMatrix(appearance ? appearance->GetOwnWorldMatrix() : cell.GetWorldMatrix());
    model.m_flags |= Model::kShown;
    Start(kAppear, false);
}

void CellSelection::Start(Range range, bool looping)
{
    m_animation->m_currentAnimation = range;
    m_animation->m_position = 0.0f;
    m_animation->m_looping = looping;
    m_animation->m_playing = true;
}

void CellSelection::Update()
{
    const std::uint32_t range = m_animation->m_currentAnimation;
    if (range == kAppear && !m_animation->m_playing) {
        if (m_active) {
            SetAlpha(*m_model, 1.0f);
            Start(kPulse, true);
        } else {
            Start(kDisappear, false);
        }
    } else if (range == kPulse && !m_active) {
        Start(kDisappear, false);
    } else if (range == kDisappear && !m_animation->m_playing) {
        m_alive = false;
        m_model->m_flags &= ~Model::kShown;
    }
    const std::uint32_t now = m_animation->m_currentAnimation;
    if (now == kAppear || now == kDisappear) {
        const KeystrelEngine::AnimationRange* frames = m_animation->GetAnimation(now);
        const float f = m_animation->m_position /
                        static_cast<float>(static_cast<std::int64_t>(frames->m_lastFrame) - frames->m_firstFrame);
        SetAlpha(*m_model, now == kAppear ? f : 1.0f - f);
    }
}

} // namespace Wispfold
