// The menu background's theme models: flat cards on the virtual screen, each showing its part of the theme's
// texture, that sway in a seamless loop (a morph model whose last frame leads back into its first). Cards are
// drawn in the order given, so later cards cover earlier ones.
#pragma once

#include "tools/content/art/Shapes.h"
#include "tools/formats/ModelFileWriter.h"

#include <vector>

namespace Content {

enum class Sway
{
    Bend,   // the top bends to and fro over a fixed foot, in waves across the card (grass, trees)
    Drift,  // the whole card glides sideways (clouds, far hills)
    Ripple, // the surface rises and falls in small waves (water)
};

struct Card
{
    LayoutRect rect; // on the virtual screen
    UvRect uv;       // its part of the theme's texture
    Sway sway = Sway::Bend;
    float amplitude = 4.0f; // units of the virtual screen
    float phase = 0.0f;     // fraction of the loop
};

class SwayingCards
{
public:
    static constexpr int kFrames = 48;
    static constexpr float kFramesPerSecond = 12.0f;

    static Formats::ModelFile Build(const std::vector<Card>& cards);
    // The cards at frame k of the loop.
    static Mesh Frame(const std::vector<Card>& cards, int k);
};

} // namespace Content
