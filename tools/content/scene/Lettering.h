// Capital letters drawn as rounded strokes, for the names the scene's pictures carry (the game's name, the
// maker's and the publisher's). Each letter is a few polylines on a cap height of 1; Draw scales them to the
// given height and lays them along a baseline. Letters it has no strokes for throw std::invalid_argument, so a
// name cannot silently lose one.
#pragma once

#include "tools/content/art/Picture.h"

#include <string>

namespace Content {

class Lettering
{
public:
    // Draws the text (capitals and blanks) with its baseline starting at origin, letters height pixels tall and
    // strokes weight pixels wide.
    static void Draw(Picture& picture, const std::string& text, Point origin, float height, float weight,
                     const Paint& paint);
    // The same centred on the point (half the cap height above and below it).
    static void DrawCentred(Picture& picture, const std::string& text, Point centre, float height, float weight,
                            const Paint& paint);
    // The advance of the whole text in pixels.
    static float Width(const std::string& text, float height);
};

} // namespace Content
