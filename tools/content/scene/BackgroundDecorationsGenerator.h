// The menu background's decorations in "ui\menus\models\background\": the screen frame, the maker's seal, the
// title panel with its hanging vines and the shine that runs over it when it appears, the plaque with the
// game's name in four parts that fade in one after another, and the publisher's small emblem in the corner
// ("ui\menus\textures\publisher_logo_small.jpg"). The animated ones unfold over 25 frames and rest on their
// last. The text area's own rectangle model is the menus' (it is one of their layout areas).
#pragma once

#include "tools/content/art/ArtGenerator.h"

namespace Content {

class BackgroundDecorationsGenerator : public ArtGenerator
{
public:
    static constexpr int kUnfoldFrames = 25;
    static constexpr float kFramesPerSecond = 25.0f;
    static constexpr const char* kFolder = "ui\\menus\\models\\background\\";
    static constexpr const char* kName = "QUELLHAVEN";

    // Where the four title parts split the name.
    static const char* const kTitleParts[4];

    // The rectangles: the plaque under the name, the name's letters, the maker's seal, the publisher's emblem and
    // the panel behind the text area.
    static const LayoutRect& Plaque();
    static const LayoutRect& Name();
    static const LayoutRect& Seal();
    static const LayoutRect& Emblem();
    static LayoutRect TitlePanel();

protected:
    void List(ArtList& list) const override;
};

} // namespace Content
