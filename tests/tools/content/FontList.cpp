#include "tests/tools/content/FontList.h"

#include "engine/foundation/FileManager.h"
#include "engine/foundation/FileTextual.h"
#include "engine/render/ShaderDescriptor.h"
#include "tools/content/fonts/FontGenerator.h"

namespace ContentTesting {
namespace {

std::string ReadNonEmptyLine(KeystrelEngine::FileTextual& file)
{
    std::string line;
    while (file.ReadLine(line) && line.empty()) {
    }
    return line;
}

} // namespace

FontList ReadFontList(KeystrelEngine::FileManager& files, std::string_view language)
{
    const auto file =
        files.OpenTextual(KeystrelEngine::MakeDataPath(Content::FontGenerator::FontList(language)), false);
    FontList list;
    list.count = file->ReadInt();
    list.consoleFont = file->ReadInt();
    for (std::int32_t i = 0; i < list.count && !file->IsEndOfFile(); ++i) {
        ListedFont font;
        font.file = ReadNonEmptyLine(*file);
        font.texture = ReadNonEmptyLine(*file);
        font.opacity = ReadNonEmptyLine(*file);
        font.size = file->ReadFloat();
        font.spaceFactor = file->ReadFloat();
        font.spacingFactor = file->ReadFloat();
        font.caseVariants = file->ReadInt();
        font.fixedWidth = file->ReadInt();
        list.fonts.push_back(font);
    }
    return list;
}

void LoadFonts(KeystrelEngine::GUIFontManager& manager, const FontList& list, bool textured)
{
    for (std::size_t id = 0; id < list.fonts.size(); ++id) {
        const ListedFont& listed = list.fonts[id];
        const KeystrelEngine::ShaderDescriptor surface =
            textured ? KeystrelEngine::ShaderDescriptor::FromTexture(listed.texture, 1, 1, listed.opacity)
                     : KeystrelEngine::ShaderDescriptor();
        KeystrelEngine::GUIFont* font = manager.LoadFont(static_cast<std::uint32_t>(id), listed.file, surface);
        font->m_size = listed.size;
        font->m_spaceFactor = listed.spaceFactor;
        font->m_spacingFactor = listed.spacingFactor;
        font->m_fixedWidth = listed.fixedWidth != 0;
        if (listed.caseVariants != 0)
            font->AddCaseVariants();
    }
}

} // namespace ContentTesting
