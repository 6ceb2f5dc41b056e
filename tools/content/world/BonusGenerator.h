// The tokens of the three bonuses, each following its butterfly (their origin is the butterfly's centre) and
// turning in a loop: "item_destruction" (the charm) a golden star over the butterfly, "combination_destruction"
// (the whirl charm) three orbs circling it, "color_destruction" (the rainbow charm) a ring of every colour
// under it.
#pragma once

#include "tools/content/art/ArtGenerator.h"

namespace Content {

class BonusGenerator : public ArtGenerator
{
public:
    static constexpr int kFrames = 24;

protected:
    void List(ArtList& list) const override;
};

} // namespace Content
