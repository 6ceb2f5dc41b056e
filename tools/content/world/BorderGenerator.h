// The board's outline: "border_0" .. "border_5", the low stone wall along the side of a cell in direction d (the
// board's order: +y, +x+y, +x-y, -y, -x-y, -x+y), in the cell's own frame. Each wall is the ring sector between
// the cell's edge and the same edge pushed out, so walls of neighbouring sides meet at the corners.
#pragma once

#include "tools/content/art/ArtGenerator.h"

namespace Content {

class BorderGenerator : public ArtGenerator
{
public:
    static constexpr float kThickness = 4.0f;
    static constexpr float kBottom = -6.0f;
    static constexpr float kTop = 7.0f;

protected:
    void List(ArtList& list) const override;
};

} // namespace Content
