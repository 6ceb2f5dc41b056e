#include "GUIGameCursor.h"

#include "GameData.h"

#include "engine/foundation/Controls.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/Model.h"
#include "engine/render/ParticleSystem.h"
#include "engine/render/ParticleSystemManager.h"
#include "engine/render/ShaderDescriptor.h"
#include "engine/render/SpriteGroup.h"

namespace Wispfold {

using KeystrelEngine::Model;

GUIGameCursor::GUIGameCursor(KeystrelEngine::Engine* engine)
    : GUIGameCursorBase(engine), m_particleSystems(engine->m_particleSystems.get()),
      m_drawnCursor(m_gui->CreateCursor(KeystrelEngine::ShaderDescriptor::FromTextureSingleFrame(
                                            "ui\\cursors\\cursor.jpg", "ui\\cursors\\cursor_alpha.jpg"),
                                        kSize))
{
    LoadSystemCursor(m_drawnCursor);
    ApplySystemCursor();
}

GUIGameCursor::~GUIGameCursor()
{
    for (KeystrelEngine::ParticleSystem* sparks : {m_trail, m_click}) {
        if (sparks)
            m_particleSystems->DestroyParticleSystem(sparks);
    }
}

KeystrelEngine::ParticleSystem* GUIGameCursor::MakeSparks(const GameData& data, const char* name)
{
    KeystrelEngine::ParticleSystem* sparks = m_particleSystems->CloneParticleSystem(*data.GetParticleSystem(name));
    Model& sprites = *sparks->GetSpriteGroup()->GetModel();
    sprites.m_flags |= Model::kFixedDepth | Model::kShown;
    sprites.SetSortDepth(kSparkDepth);
    return sparks;
}

void GUIGameCursor::CreateParticles(const GameData& data)
{
    m_trail = MakeSparks(data, kTrailSystem);
    m_click = MakeSparks(data, kClickSystem);
    // The trail's cycle repeats for as long as the trail is on; a click bursts once.
    m_trail->m_looping = true;
    m_trail->m_emitting = m_trailEnabled;
    m_click->m_emitting = false;
}

bool GUIGameCursor::Update()
{
    if (m_trailEnabled && m_trail && m_click) {
        const float x = m_drawnCursor->m_x;
        const float y = m_drawnCursor->m_y;
        m_trail->m_position = {x + kTrailOffsetX, y + kTrailOffsetY, 0.0f};
        if (m_controls->IsKeyPressed("MOUSE1")) {
            m_click->m_position = {x, y, 0.0f};
            m_click->m_time = 0.0f;
            m_click->m_emitting = true;
        }
    }
    return GUIGameCursorBase::Update();
}

void GUIGameCursor::Show(bool show)
{
    GUIGameCursorBase::Show(show);
    if (m_trail)
        m_trail->m_emitting = show && m_trailEnabled;
}

void GUIGameCursor::SetTrailEnabled(bool enabled)
{
    m_trailEnabled = enabled;
    if (m_trail)
        m_trail->m_emitting = IsShown() && enabled;
}

} // namespace Wispfold
