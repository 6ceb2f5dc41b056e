// The level map's own window picture: the menu frame's gilded rim round a painted valley, one band of land per
// stage of the catalogue from the bottom up (a flowered meadow, a grove of trees, a spring of ponds and rocks),
// with a sandy path through every marker's place in catalogue order. It is drawn in the virtual screen's units
// of the map's window ("start_game\\window") and stretched over the 1024 x 1024 picture, which the window's
// planar mapping stretches back.
#pragma once

#include "tools/content/art/Picture.h"

#include <vector>

namespace Content {

class ValleyPicture
{
public:
    static constexpr std::uint32_t kSize = 1024;
    static const Color kPath;

    // The markers' places, one per level of the catalogue, in virtual-screen units.
    static Picture Draw(const std::vector<Point>& markers);
    // The picture's pixel under a virtual-screen point of the map's window.
    static Point PixelOf(Point place);
};

} // namespace Content
