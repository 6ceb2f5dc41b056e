// The guide's speech bubbles, one per line count 1..4: a rounded dark panel with a light rim and a tail pointing
// down to the guide. Over 25 frames a bubble widens from its left end, where the tail is, to the width of its
// layout area ("bubble_1" .. "bubble_4"), so the code can stop it as soon as it is wider than the text; corners
// and rim keep their size while it grows.
#pragma once

#include "tools/content/art/Mesh.h"
#include "tools/content/art/Picture.h"

namespace Content {

class SpeechBubble
{
public:
    static constexpr int kFrames = 25;
    static constexpr float kFramesPerSecond = 25.0f;
    static constexpr float kNarrowest = 140.0f;

    // The bubble of the line count at frame k.
    static Mesh At(int lines, int k);
    // Left half the rim's colours, right half the panel's, both shading from bottom to top.
    static Picture Colours();
};

} // namespace Content
