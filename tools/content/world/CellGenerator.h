// The board's cells: plain cells and cells with one or two mana layers (hexagonal prisms whose layers rise
// from the stone), the selection ring that grows in, pulses and widens out (51 frames: 0-10, 10-40, 40-50), the
// web that lies over a blocked cell, the pointer that bobs over a cell the guide shows, and the pictures of the
// mana cells open, closed and blocked.
#pragma once

#include "tools/content/art/ArtGenerator.h"

namespace Content {

class CellGenerator : public ArtGenerator
{
public:
    static constexpr int kSelectFrames = 51;
    static constexpr int kTipFrames = 24;

protected:
    void List(ArtList& list) const override;
};

} // namespace Content
