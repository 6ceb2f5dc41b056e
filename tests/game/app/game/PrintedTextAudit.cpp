#include "tests/game/app/game/PrintedTextAudit.h"

#include "engine/foundation/StringUtils.h"
#include "engine/gui/GUIFont.h"
#include "engine/gui/GUIFontManager.h"
#include "engine/gui/GUIManager.h"

#include <string_view>

namespace GameTesting {
namespace {

std::string Describe(const KeystrelEngine::GUITextRecord& record)
{
    if (!record.isKey)
        return "\"" + KeystrelEngine::ToNarrow(record.text) + "\"";
    return "key " + record.key + (record.number == -1 ? "" : std::to_string(record.number));
}

} // namespace

void PrintedTextAudit::Read(const KeystrelEngine::GUIManager& gui)
{
    const auto audit = [&](const auto& registry) {
        for (const KeystrelEngine::GUIWindow* widget : registry.GetSlots()) {
            for (std::size_t i = 0; widget && i < widget->GetTextPoolSize(); ++i) {
                const KeystrelEngine::GUITextRecord& record = widget->GetTextRecord(static_cast<std::uint32_t>(i));
                if (record.text.find(u"UNKNOWN") != std::u16string::npos)
                    m_findings.insert("\"UNKNOWN\" in " + Describe(record));
                const KeystrelEngine::GUIFont* font = gui.m_fonts->FindFont(record.fontId);
                for (const char16_t code : font ? std::u16string_view(record.text) : std::u16string_view()) {
                    if (!KeystrelEngine::IsSpaceW(code) && code != u'\n' && !font->HasGlyph(code))
                        m_findings.insert("font " + std::to_string(record.fontId) + " has no glyph for U+" +
                                          KeystrelEngine::FormatHex(code));
                }
            }
        }
    };
    audit(gui.m_windows);
    audit(gui.m_buttons);
    audit(gui.m_checkBoxes);
    audit(gui.m_radioButtons);
    audit(gui.m_editBoxes);
    audit(gui.m_sliders);
    audit(gui.m_scrolls);
}

} // namespace GameTesting
