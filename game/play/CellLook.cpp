#include "CellLook.h"

#include "Cell.h"

#include "engine/foundation/TimerManager.h"
#include "engine/render/ParticleSystem.h"
#include "engine/render/ParticleSystemManager.h"
#include "engine/render/SpriteGroup.h"
#include "engine/render/VertexBuffer.h"

#include <algorithm>

namespace Wispfold {

using KeystrelEngine::Model;
using KeystrelEngine::Vector3;

namespace {

Vector3 ToVector(const std::array<float, 3>& values)
{
    return {values[0], values[1], values[2]};
}

void SetVertexColour(Model& model, const KeystrelEngine::Color& colour)
{
    if (KeystrelEngine::VertexBuffer* buffer = model.GetVertexBuffer())
        buffer->SetColor(colour);
}

CellTexture TextureFor(bool closed, bool blocked)
{
    if (closed)
        return kCellTextureClosed;
    return blocked ? kCellTextureBlocked : kCellTexturePlain;
}

} // namespace

CellLook::CellLook(const PlayServices& services, const CellResources& resources, const BoardCellRecord& record)
    : m_services(services), m_resources(&resources), m_appearance(nullptr, {services.models}),
      m_overlay(nullptr, {services.models})
{
    KeystrelEngine::Matrix4 offset;
    offset.MakeTranslation(ToVector(record.offset));
    m_worldMatrix.MakeTranslation(ToVector(record.position));
    m_worldMatrix = m_worldMatrix * offset;
    m_centre = m_worldMatrix.TransformPoint({});

    const KeystrelEngine::BoundingBox& single = resources.single->m_boundingBox;
    m_pickModel.reset(services.models->CreateBoxModel(single.m_worldMin, single.m_worldMax, nullptr, 0));
    m_pickModel->SetWorldMatrix(m_worldMatrix);

    m_manaBurst = services.particleSystems->CloneParticleSystem(*resources.manaBurst);
    m_manaBurst->m_position = GetTopPosition();
    m_manaBurst->m_emitting = false;
    m_manaBurst->GetSpriteGroup()->GetModel()->m_flags |= Model::kShown;

    SetAppearance(record.kind, record.closed != 0, record.blocked != 0);
}

CellLook::~CellLook()
{
    m_services.particleSystems->DestroyParticleSystem(m_manaBurst);
}

void CellLook::SetAppearance(const Cell& cell)
{
    SetAppearance(cell.m_kind, cell.m_closed, cell.m_blocked);
}

void CellLook::SetAppearance(CellKind kind, bool closed, bool blocked)
{
    m_appearance.reset();
    const CellTexture texture = TextureFor(closed, blocked);
    const Model* source = nullptr;
    const KeystrelEngine::ShaderDescriptor* descriptor = nullptr;
    if (kind == 0) {
        source = m_resources->empty;
    } else if (kind == 1) {
        source = m_resources->single;
        descriptor = m_resources->singleTextures[texture];
    } else if (kind == 2) {
        source = m_resources->twin;
        descriptor = m_resources->twinTextures[texture];
    }
    if (source) {
        m_appearance.reset(m_services.models->CloneModel(*source, nullptr, Model::kColours));
        if (descriptor)
            m_appearance->SetShaderDescriptor(*descriptor);
        m_appearance->SetWorldMatrix(m_worldMatrix);
        SetVertexColour(*m_appearance, m_tint);
    }
    if (!blocked)
        m_overlay.reset();
    else if (!m_overlay)
        CreateOverlay();
}

// Drawn late and without the depth test, in front of the cell's own model.
void CellLook::CreateOverlay()
{
    m_overlay.reset(m_services.models->CloneModel(*m_resources->block, nullptr, Model::kColours));
    m_overlay->SetWorldMatrix(m_worldMatrix);
    m_overlay->SetFlags(Model::kDrawLast);
    m_overlay->m_flags &= ~Model::kZTest;
    m_overlay->m_sortBias = kOverlaySortBias;
}

void CellLook::Update(bool hovered, bool selected)
{
    m_hovered = hovered;
    m_selected = selected;
    const KeystrelEngine::Color previous = m_tint;
    const float step = kTintRate * m_services.timers->m_frameTime;
    if (!hovered && !selected)
        m_tint.b = std::min(1.0f, m_tint.b + step);
    else
        m_tint.b = std::max(0.0f, m_tint.b - step);
    if (m_appearance && KeystrelEngine::Color::Differs(m_tint, previous))
        SetVertexColour(*m_appearance, m_tint);
}

void CellLook::RestartManaBurst()
{
    m_manaBurst->m_time = 0.0f;
    m_manaBurst->m_looping = false;
    m_manaBurst->m_emitting = true;
}

Vector3 CellLook::GetTopPosition() const
{
    const KeystrelEngine::BoundingBox& box = m_pickModel->m_boundingBox;
    return box.m_centre + Vector3{0.0f, 0.0f, box.m_halfExtent.z};
}

Vector3 CellLook::GetWorldCentre() const
{
    KeystrelEngine::BoundingBox box = m_pickModel->m_boundingBox;
    box.m_transformation = m_pickModel->GetWorldMatrix();
    box.Update(true);
    return box.m_centre;
}

} // namespace Wispfold
