#include "game/app/MenuTexts.h"

#include "engine/gui/GUIWindow.h"
#include "game/app/GUIControl.h"

namespace Wispfold::MenuTexts {

void AddCaption(const GUIControl& button, const std::string& key, const KeystrelEngine::Color& colour,
                std::uint32_t font)
{
    button.GetWidget()->AddTextKey(kCaptionFlags, font, key, -1, 0.0f, kNoSize, {}, colour);
}

void AddLine(KeystrelEngine::GUIWindow& frame, const std::string& key, std::int32_t number, float y,
             const KeystrelEngine::Color& colour, std::uint32_t font)
{
    frame.AddTextKey(kLineFlags, font, key, number, 0.0f, kNoSize, {0.0f, y}, colour);
}

void AddLiteralLine(KeystrelEngine::GUIWindow& frame, std::u16string_view text, float y,
                    const KeystrelEngine::Color& colour, std::uint32_t flags, std::uint32_t font)
{
    frame.AddText(flags, font, text, 0.0f, kNoSize, {0.0f, y}, colour);
}

} // namespace Wispfold::MenuTexts
