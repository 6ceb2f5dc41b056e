#include "game/app/MenuTexts.h"

#include "engine/gui/GUIWindow.h"
#include "game/app/GUIControl.h"

namespace Wispfold {

namespace {

constexpr std::uint32_t kCentredAcross = 1;
constexpr std::uint32_t kCentred = 3;
constexpr float kNoSize = -1.0f;

} // namespace

void AddLine(KeystrelEngine::GUIWindow& frame, const std::string& key, std::int32_t number, float y,
             const KeystrelEngine::Color& colour, std::uint32_t fontId)
{
    frame.AddTextKey(kCentredAcross, fontId, key, number, 0.0f, kNoSize, {0.0f, y}, colour);
}

void AddCaption(const GUIControl& button, const std::string& key, const KeystrelEngine::Color& colour)
{
    button.GetWidget()->AddTextKey(kCentred, kCaptionFont, key, -1, 0.0f, kNoSize, {0.0f, 0.0f}, colour);
}

} // namespace Wispfold
