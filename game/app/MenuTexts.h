// The two kinds of text the menu windows add each frame while they are visible: body lines on the frame and
// captions on the buttons. Both are looked up by key when drawn and take the window's colour, so that they fade
// with the window.
#pragma once

#include "engine/render/Color.h"

#include <cstdint>
#include <string>

namespace KeystrelEngine {
class GUIWindow;
}

namespace Wispfold {

class GUIControl;

constexpr std::uint32_t kCaptionFont = 1;
constexpr std::uint32_t kLineFont = 2;
constexpr std::uint32_t kHeadingFont = 3;

// A line centred across the frame at the height y; number -1 for a key without one.
void AddLine(KeystrelEngine::GUIWindow& frame, const std::string& key, std::int32_t number, float y,
             const KeystrelEngine::Color& colour, std::uint32_t fontId = kLineFont);
// The caption centred on the button.
void AddCaption(const GUIControl& button, const std::string& key, const KeystrelEngine::Color& colour);

} // namespace Wispfold
