// What the in-game window reads from the running level each frame, and the one thing it changes: the view.
// The level's logic offers it beside its GameLogicBase; the window finds it there when it is opened.
#pragma once

#include "BoardWorld.h"

#include <cstdint>
#include <vector>

namespace Wispfold {

class GameLogicView
{
public:
    virtual ~GameLogicView() = default;

    virtual std::uint32_t GetManaProgress() const = 0; // the board's collected mana
    virtual std::uint32_t GetManaTarget() const = 0;   // what the level needs
    virtual std::uint32_t GetEnergyLeft() const = 0;
    virtual std::uint32_t GetEnergyBudget() const = 0;
    // The places (GUI coordinates) whose mana was charged in the board's last update.
    virtual const std::vector<ScreenPosition>& GetManaChargePositions() const = 0;
    virtual bool IsRelaxMode() const = 0; // no energy is spent
    // The camera's type (0 top, 1 oblique, 2 free) and its blend value (0 top .. 1 oblique).
    virtual std::int32_t GetCameraType() const = 0;
    virtual float GetCameraValue() const = 0;
    virtual void SetCameraType(std::int32_t type) = 0;
};

} // namespace Wispfold
