// The guide's texture: a 16 x 16 grid of 128-pixel cells, frame k in the engine's grid order (column k % 16 of
// row k / 16 counted from the top). Every cell holds the same tunic, arms, wings and hat in the regions of
// CharacterFigure, and a face of its own: the frames run through the expressions of the phrase ranges (settling,
// resting, blinking, the three praises, glancing aside and back, surprise, thinking, chatting, the excited
// announcement and the talking loop), and the looping ranges end where they begin.
#pragma once

#include "tools/content/art/Picture.h"

namespace Content {

class CharacterPictures
{
public:
    static constexpr std::uint32_t kCell = 128;
    static constexpr std::uint32_t kColumns = 16;
    static constexpr std::uint32_t kFrames = 256;

    // The expression of one face frame.
    struct Face
    {
        float eyesOpen = 1.0f;  // 0 closed .. 1 open
        bool happyEyes = false; // closed eyes curve upwards (laughing) instead of resting
        float mouthOpen = 0.0f; // 0 closed .. 1 wide
        float smile = 0.3f;     // -0.3 .. 1
        float lookX = 0.0f;     // -1 .. 1
        float lookY = 0.0f;
        float brows = 0.0f; // raised by 0 .. 1
        float blush = 0.15f;
    };

    static Face FaceAt(int frame);
    static Picture Sheet();
};

} // namespace Content
