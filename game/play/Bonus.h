// A power that a butterfly carries: when the butterfly is destroyed its bonus widens the destruction. The bonus
// manager owns every token; a butterfly points at the one it carries, places it on itself every frame and gives
// it its colour. A token shows a copy of its kind's model; it fades out over its 25th second and then dies, and
// the butterfly loses it.
#pragma once

#include "PlayServices.h"
#include "engine/gui/RegisteredModel.h"
#include "engine/render/Color.h"

#include <cstdint>

namespace KeystrelEngine {
class Matrix4;
}

namespace Wispfold {

enum class BonusKind : std::uint32_t
{
    ItemDestruction = 0,        // the six neighbours go too
    CombinationDestruction = 1, // the whole group grows by one ring of neighbours
    ColorDestruction = 2,       // every butterfly of the carrier's colour goes too
};

class Bonus
{
public:
    // Seconds a token lives; it fades out over the last one.
    static constexpr float kLifetime = 25.0f;
    static constexpr float kFadeStart = 24.0f;

    // A registered copy of the kind's model, drawn last and blended by its vertex alpha, looping its animation.
    // Without a model for the kind (a world that only plays the rules) the token has no model.
    Bonus(const PlayServices& services, const PlayResources& resources, BonusKind kind);
    // Unregisters and deletes the model when the registry still holds it.
    virtual ~Bonus() = default;

    Bonus(const Bonus&) = delete;
    Bonus& operator=(const Bonus&) = delete;

    // Ages the token by the frame time: the model shows the colour times the fade; past its lifetime the token
    // dies and its model is hidden.
    void Update();
    // Places the model: its own set-up, then the matrix (the carrier's translation).
    void SetMatrix(const KeystrelEngine::Matrix4& matrix);

    KeystrelEngine::Model* GetModel() const { return m_model.get(); }

    BonusKind m_kind;
    float m_age = 0.0f; // seconds
    bool m_alive = true;
    // The carrier's colour, written by the butterfly every frame.
    KeystrelEngine::Color m_colour{1.0f, 1.0f, 1.0f, 1.0f};

private:
    PlayServices m_services;
    KeystrelEngine::RegisteredModel m_model;
};

} // namespace Wispfold
