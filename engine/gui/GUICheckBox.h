// A button that toggles its checked flag on every click. Its texture has eight frames: normal, hover and pressed
// unchecked, the same three checked, then disabled unchecked and disabled checked.
#pragma once

#include "GUIButton.h"

namespace KeystrelEngine {

class GUICheckBox : public GUIButton
{
public:
    static constexpr std::uint32_t kSelectSound = 2;
    static constexpr std::uint32_t kClickSound = 3;

    // A clone of the source model as the quad, with coloured vertices; hidden until shown.
    GUICheckBox(const GUIServices& services, GUISoundManager* sounds, GUIPoint position, GUISize size,
                const Model* source, GUIWindow* parent);

    // The button's update; a completed click toggles the flag in the same update.
    bool Update(float cursorX, float cursorY, bool buttonHeld, bool buttonWentDown) override;
    // The frame 0 to 7 for the state and the flag.
    std::uint32_t GetState() const override;

    bool m_checked = false; // the game may preset it
};

} // namespace KeystrelEngine
