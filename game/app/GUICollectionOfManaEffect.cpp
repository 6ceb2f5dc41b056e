#include "GUICollectionOfManaEffect.h"

#include "GUIGameLogicProgress.h"
#include "GameData.h"

#include "engine/foundation/TimerManager.h"
#include "engine/gui/Engine.h"
#include "engine/render/Model.h"
#include "engine/render/ParticleSystem.h"
#include "engine/render/ParticleSystemManager.h"
#include "engine/render/SpriteGroup.h"

namespace Wispfold {

using KeystrelEngine::GUIPoint;
using KeystrelEngine::Model;

GUICollectionOfManaEffect::GUICollectionOfManaEffect(KeystrelEngine::Engine* engine, KeystrelEngine::GUIWindow* frame,
                                                     const GUIGameLogicProgress* manaBar, const GameData* data)
    : m_timers(engine->m_timers.get()), m_particleSystems(engine->m_particleSystems.get()), m_manaBar(manaBar),
      m_particles(m_particleSystems->CloneParticleSystem(*data->GetParticleSystem(kSystem)))
{
    Model& sprites = *m_particles->GetSpriteGroup()->GetModel();
    sprites.m_flags |= Model::kFixedDepth | Model::kShown;
    sprites.SetSortDepth(frame->GetDepth() - kDepthOffset);
    m_particles->m_emitting = false;
}

GUICollectionOfManaEffect::~GUICollectionOfManaEffect()
{
    m_particleSystems->DestroyParticleSystem(m_particles);
}

void GUICollectionOfManaEffect::Start(GUIPoint from)
{
    m_start = from;
    m_t = 0.0f;
    m_done = false;
    m_particles->m_position = {from.x, from.y, 0.0f};
    m_particles->m_time = 0.0f;
    m_particles->m_emitting = true;
}

bool GUICollectionOfManaEffect::IsFree() const
{
    return m_done && m_particles->GetLiveCount() == 0;
}

void GUICollectionOfManaEffect::Update()
{
    if (m_done)
        return;
    m_t += m_timers->m_frameTime;
    if (m_t > 1.0f) {
        m_t = 1.0f;
        m_particles->m_emitting = false;
        m_done = true;
    }
    const KeystrelEngine::GUIRect fill = m_manaBar->GetFillRect();
    const GUIPoint end{fill.x, fill.y + fill.height * 0.5f};
    const GUIPoint bend{end.x + kBend.x, end.y + kBend.y};
    const float s = 1.0f - m_t;
    const float a = s * s;
    const float b = 2.0f * s * m_t;
    const float c = m_t * m_t;
    m_particles->m_position = {a * m_start.x + b * bend.x + c * end.x, a * m_start.y + b * bend.y + c * end.y, 0.0f};
}

} // namespace Wispfold
