// The measures the board's models and files share: flat-topped hexagonal cells of circumradius 20 on a grid whose
// cell (x, y) stands at (30 x, 17.320508 y) minus the board's centre (rows are doubled, so neighbours lie 34.64
// apart), every cell model's box running from z = -4 to z = 4, so a board's box is centred on z = 0.
#pragma once

namespace Content {

struct WorldGrid
{
    static constexpr float kCellRadius = 20.0f;
    static constexpr float kColumnStep = 30.0f;
    static constexpr float kRowStep = 17.320508f;
    static constexpr float kNeighbourDistance = 34.641016f;
    static constexpr float kCellBottom = -4.0f;
    static constexpr float kCellTop = 4.0f;
    // The six directions from a cell's centre to its neighbours' (and to the middle of the side between them),
    // in the board's direction order: +y, +x+y, +x-y, -y, -x-y, -x+y, as angles from +x.
    static constexpr float kDirectionAngles[6] = {1.5707964f,  0.5235988f,  -0.5235988f,
                                                  -1.5707964f, -2.6179938f, 2.6179938f};
};

} // namespace Content
