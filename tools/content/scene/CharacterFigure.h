// The guide: a small forest sprite with a leaf hat and dragonfly wings, a skeletal GUI model of rigid cards (wings,
// tunic, arms, head, hat) on the virtual screen, beside the speech bubbles. Its 253 frames hold the body's
// animation ranges: the entry into a level (0-47) and its rest (47-49), waving good-bye and flying off (49-96),
// rising into the menus (97-144) and its rest (144-146), bowing and sinking away (146-192), and the level-end
// dance that flies off (194-252), which played backwards brings the guide back to rest. Every range that leads
// into a rest ends in the rest pose, and every leave ends off the screen. Each card shows its part of one cell of
// the face grid (the texture's frame is chosen by the code), so the texture coordinates span one cell.
#pragma once

#include "tools/formats/ModelFileWriter.h"

namespace Content {

class CharacterFigure
{
public:
    static constexpr int kFrameCount = 253;
    static constexpr float kFramesPerSecond = 24.0f;
    // Where the figure's waist rests on the virtual screen.
    static constexpr float kRestX = 96.0f;
    static constexpr float kRestY = 330.0f;

    // Part regions of a cell (texture coordinates 0..1 over one cell): the face, the hat, the tunic, an arm and
    // a wing.
    struct Region
    {
        float u0, v0, u1, v1;
    };
    static constexpr Region kFace{0.0f, 0.5f, 0.5f, 1.0f};
    static constexpr Region kHat{0.5f, 0.5f, 1.0f, 1.0f};
    static constexpr Region kTunic{0.0f, 0.0f, 0.5f, 0.5f};
    static constexpr Region kArm{0.5f, 0.25f, 0.75f, 0.5f};
    static constexpr Region kWing{0.75f, 0.0f, 1.0f, 0.5f};

    static Formats::ModelFile Build();
};

} // namespace Content
