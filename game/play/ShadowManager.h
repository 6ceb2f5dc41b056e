// The pool of butterfly shadows: a butterfly that appears takes a free shadow (a new one when none is free), a
// recycled one gives its shadow back, and every shadow follows its owner once a frame.
#pragma once

#include "PlayServices.h"
#include "Shadow.h"

#include <memory>
#include <vector>

namespace Wispfold {

class ShadowManager
{
public:
    // Neither record is owned; the resources outlive the manager.
    ShadowManager(const PlayServices& services, const PlayResources& resources);
    virtual ~ShadowManager() = default;

    ShadowManager(const ShadowManager&) = delete;
    ShadowManager& operator=(const ShadowManager&) = delete;

    // The first shadow without an owner goes to the butterfly, or a new one at the current shadow height. It
    // does not look whether the butterfly has one already.
    void Attach(const Item& item);
    // Frees the butterfly's shadow.
    void Detach(const Item& item);
    void Update();

    const std::vector<std::unique_ptr<Shadow>>& GetShadows() const { return m_shadows; }

    // Where shadows lie: set by the board to the top of its box + 0.25.
    float m_shadowHeight = 0.0f;

private:
    PlayServices m_services;
    const PlayResources* m_resources;
    std::vector<std::unique_ptr<Shadow>> m_shadows;
};

} // namespace Wispfold
