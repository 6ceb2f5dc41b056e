// The five values of a board's camera file (top height, top shift, oblique height, oblique shift, oblique
// distance), chosen so that the whole board stays in view however it is turned, in the top view and in the
// oblique view of the level camera: the lens's vertical half-angle pi/6 at the 4 : 3 aspect, looking at the
// board's centre (the origin) from above it (top view) or from the oblique direction, the camera turned down by
// the dot product of the level camera's view and ground directions, and the board slid along x by the shift.
//
// The board is taken as the cylinder every turn of it fills: the cells' farthest reach from the centre plus the
// border walls, from the walls' foot to above the resting butterflies. Its picture must keep clear of the
// head-up display's bands, as the layout table places them ("game_logic\\top_band", "game_logic\\bottom_band"),
// by kBandMargin more, and of kSideMargin units at the sides, where the cursor turns the board.
#pragma once

#include "tools/formats/BoardFileWriter.h"

#include <array>

namespace Content {

class CameraFraming
{
public:
    static constexpr float kBandMargin = 20.0f;
    static constexpr float kSideMargin = 24.0f;
    static constexpr float kLowest = -6.0f;  // the walls' foot
    static constexpr float kHighest = 24.0f; // above a resting butterfly's raised wings
    // The oblique eye's angle from the vertical through the board's centre.
    static constexpr float kObliqueAngle = 0.87266463f; // 50 degrees

    // The reach of the board from its centre in the ground plane (cells and walls, under any turn).
    static float Reach(const Formats::BoardFile& board);
    static std::array<float, 5> Frame(const Formats::BoardFile& board);
};

} // namespace Content
