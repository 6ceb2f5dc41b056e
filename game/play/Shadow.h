// The shadow of one butterfly on the board: a copy of the shadow model lying at the board's shadow height under
// its owner, turned and animated as the owner is, in the owner colour's shadow texture, fading out as the owner
// rises. A shadow without an owner is hidden and waits in its manager for the next butterfly.
#pragma once

#include "PlayServices.h"
#include "engine/gui/RegisteredModel.h"

namespace Wispfold {

class Item;

class Shadow
{
public:
    // Fully seen while the owner is within this of the shadow's height, gone this much higher again.
    static constexpr float kFullHeight = 1.0f;
    static constexpr float kFadeHeight = 50.0f;

    // A registered copy of the shadow model placed so that its centre lies at the height.
    Shadow(const PlayServices& services, const PlayResources& resources, float height);
    virtual ~Shadow() = default;

    Shadow(const Shadow&) = delete;
    Shadow& operator=(const Shadow&) = delete;

    // Follows the owner; hidden without one.
    void Update();

    KeystrelEngine::Model* GetModel() const { return m_model.get(); }
    float GetHeightOffset() const { return m_heightOffset; }

    // The butterfly it lies under; null when free.
    const Item* m_owner = nullptr;

private:
    void TakeOwnerAnimation();

    const PlayResources* m_resources;
    const Item* m_lastOwner = nullptr; // the owner it was last set up for
    KeystrelEngine::RegisteredModel m_model;
    float m_heightOffset; // the height minus the model's own centre height
};

} // namespace Wispfold
