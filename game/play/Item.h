// A butterfly of the board. The item pool owns every butterfly; the board borrows one per open cell, and the
// flags below are what the rules read and write. A butterfly comes from the pool marked, so it cannot be picked
// while it flies in; its landing clears the mark.
#pragma once

#include <cstdint>

namespace Wispfold {

class Bonus;

// 0 .. colour count - 1.
using ItemColor = std::uint32_t;

class Item
{
public:
    explicit Item(ItemColor colour) : m_colour(colour) {}
    virtual ~Item() = default;

    ItemColor m_colour;
    // Cannot be picked or swapped: still arriving, or waiting in a destruction group.
    bool m_markedForDestruction = true;
    // Sits on a blocked cell and does not flap while resting.
    bool m_held = false;
    // The token it carries, owned by the bonus manager; null when none.
    Bonus* m_bonus = nullptr;
};

} // namespace Wispfold
