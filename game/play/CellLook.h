// What shows one cell of the board: the model of its kind and flags, the overlay of a blocked cell, an invisible
// box for mouse picking, and a particle system that bursts when one of its mana layers is charged. The cell stands
// at its record's position plus offset (the record's rotation is carried, not applied). A hovered or selected cell
// fades to a yellow tint in about 0.3 s and back.
//
// The board's world keeps one look per cell, in the board's cell order, from the same records the board reads.
#pragma once

#include "BoardCellRecord.h"
#include "CellResources.h"
#include "PlayServices.h"

#include "engine/gui/RegisteredModel.h"
#include "engine/render/Color.h"
#include "engine/render/Matrix4.h"
#include "engine/render/Vector3.h"

#include <memory>

namespace Wispfold {

class Cell;

class CellLook
{
public:
    // The tint's change per second while hovered or selected (down) or left alone (up).
    static constexpr float kTintRate = 3.5f;
    // How far the overlay sorts in front of the other late-drawn models.
    static constexpr float kOverlaySortBias = -13.0f;

    // Places the cell, makes its pick box from the box of the single-mana model and its mana particles (not
    // emitting), then its appearance.
    CellLook(const PlayServices& services, const CellResources& resources, const BoardCellRecord& record);
    // Gives back the models (those the registry still holds) and destroys the particle system.
    virtual ~CellLook();

    CellLook(const CellLook&) = delete;
    CellLook& operator=(const CellLook&) = delete;

    // Rebuilds the model from the kind and flags: "cell_empty" for kind 0 whatever its flags, the single or double
    // model with the closed, else the blocked, else the plain texture set; the overlay while blocked. A kind above
    // 2 has no model.
    void SetAppearance(CellKind kind, bool closed, bool blocked);
    void SetAppearance(const Cell& cell);
    // The frame's tint: down while hovered or selected, up otherwise.
    void Update(bool hovered, bool selected);
    // One burst of the mana particles from the start of their cycle.
    void RestartManaBurst();

    // Where a butterfly sits: the pick box's centre raised by its half height.
    KeystrelEngine::Vector3 GetTopPosition() const;
    // The pick box's centre in the world where it is drawn: through the camera's placement of the board (its turn
    // and shift) while the camera carries one, as picking sees it.
    KeystrelEngine::Vector3 GetWorldCentre() const;

    const KeystrelEngine::Matrix4& GetWorldMatrix() const { return m_worldMatrix; }
    const KeystrelEngine::Vector3& GetCentre() const { return m_centre; }
    // Null for a kind above 2.
    KeystrelEngine::Model* GetAppearance() const { return m_appearance.get(); }
    KeystrelEngine::Model* GetOverlay() const { return m_overlay.get(); }
    const KeystrelEngine::Model& GetPickModel() const { return *m_pickModel; }
    KeystrelEngine::ParticleSystem* GetManaBurst() const { return m_manaBurst; }
    const KeystrelEngine::Color& GetTint() const { return m_tint; }
    bool IsHovered() const { return m_hovered; }
    bool IsSelected() const { return m_selected; }

private:
    void CreateOverlay();

    PlayServices m_services;
    const CellResources* m_resources;
    KeystrelEngine::Matrix4 m_worldMatrix;
    KeystrelEngine::Vector3 m_centre;
    KeystrelEngine::RegisteredModel m_appearance;
    KeystrelEngine::RegisteredModel m_overlay;
    std::unique_ptr<KeystrelEngine::Model> m_pickModel;
    KeystrelEngine::ParticleSystem* m_manaBurst = nullptr; // registered
    bool m_hovered = false;
    bool m_selected = false;
    KeystrelEngine::Color m_tint{1.0f, 1.0f, 1.0f, 1.0f};
};

} // namespace Wispfold
