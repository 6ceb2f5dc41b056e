#include "tests/tools/content/FontList.h"

#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "engine/render/ShaderDescriptor.h"
#include "tools/content/fonts/FontGenerator.h"

#include <stdexcept>

namespace ContentTesting {

GameFramework::FontList ReadFontList(KeystrelEngine::FileManager& files, std::string_view language)
{
    KeystrelEngine::MessageManager log("", "Quellhaven", "", false, false);
    GameFramework::FontList list = GameFramework::FontList::Read(
        files, log, KeystrelEngine::MakeDataPath(Content::FontGenerator::FontList(language)));
    if (!log.m_history.empty())
        throw std::runtime_error(log.m_history.front().text);
    return list;
}

void LoadFonts(KeystrelEngine::GUIFontManager& manager, const GameFramework::FontList& list, bool textured)
{
    for (std::uint32_t id = 0; id < list.fonts.size(); ++id) {
        const GameFramework::FontListEntry& entry = list.fonts[id];
        const KeystrelEngine::ShaderDescriptor surface =
            textured ? KeystrelEngine::ShaderDescriptor::FromTexture(entry.textureName, 1, 1, entry.opacityName)
                     : KeystrelEngine::ShaderDescriptor();
        entry.ApplyTo(*manager.LoadFont(id, entry.fontName, surface));
    }
}

} // namespace ContentTesting
