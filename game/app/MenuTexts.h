// The two forms of text every menu window adds each frame while it is visible: button captions, centred in the
// button's text area, and body lines on the frame, centred across its area at a height of the window's layout.
#pragma once

#include "engine/render/Color.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace KeystrelEngine {
class GUIWindow;
}

namespace Wispfold {

class GUIControl;

namespace MenuTexts {

constexpr std::uint32_t kCaptionFlags = 3; // centred both ways
constexpr std::uint32_t kLineFlags = 1;    // centred across
constexpr std::uint32_t kCaptionFont = 1;
constexpr std::uint32_t kLineFont = 2;
constexpr std::uint32_t kHeadingFont = 3;
constexpr float kNoSize = -1.0f;

// The caption key on the control's widget.
void AddCaption(const GUIControl& button, const std::string& key, const KeystrelEngine::Color& colour,
                std::uint32_t font = kCaptionFont);
// Line number of the key family (-1: the key alone) at the height y.
void AddLine(KeystrelEngine::GUIWindow& frame, const std::string& key, std::int32_t number, float y,
             const KeystrelEngine::Color& colour, std::uint32_t font = kLineFont);
// A literal line, centred unless other flags are given; an empty text adds nothing.
void AddLiteralLine(KeystrelEngine::GUIWindow& frame, std::u16string_view text, float y,
                    const KeystrelEngine::Color& colour, std::uint32_t flags = kLineFlags,
                    std::uint32_t font = kLineFont);

} // namespace MenuTexts
} // namespace Wispfold
