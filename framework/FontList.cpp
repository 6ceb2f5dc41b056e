#include "FontList.h"

#include "engine/foundation/FileManager.h"
#include "engine/foundation/FileTextual.h"
#include "engine/foundation/FileValues.h"
#include "engine/foundation/StringUtils.h"
#include "engine/gui/GUIFont.h"

#include <limits>

namespace GameFramework {
namespace {

using KeystrelEngine::FileTextual;
using KeystrelEngine::FileValues;

constexpr std::int32_t kLargest = std::numeric_limits<std::int32_t>::max();

FontListEntry ReadFont(FileTextual& file, const FileValues& values, std::uint32_t id)
{
    const std::string font = "font " + KeystrelEngine::FormatUnsigned(id) + "'s ";
    FontListEntry entry;
    entry.fontName = values.NextLine(file, font + "file name");
    entry.textureName = values.NextLine(file, font + "texture name");
    entry.opacityName = values.NextLine(file, font + "opacity name");
    entry.size = values.NextFloat(file, FileValues::kScale, font + "size");
    entry.spaceFactor = values.NextFloat(file, FileValues::kScale, font + "space factor");
    entry.spacingFactor = values.NextFloat(file, FileValues::kScale, font + "spacing factor");
    entry.caseVariants = values.NextInt(file, 0, kLargest, font + "case-variants flag") != 0;
    entry.fixedWidth = values.NextInt(file, 0, kLargest, font + "fixed-width flag") != 0;
    return entry;
}

} // namespace

void FontListEntry::ApplyTo(KeystrelEngine::GUIFont& font) const
{
    font.m_size = size;
    font.m_spaceFactor = spaceFactor;
    font.m_spacingFactor = spacingFactor;
    font.m_fixedWidth = fixedWidth;
    if (caseVariants)
        font.AddCaseVariants();
}

FontList FontList::Read(KeystrelEngine::FileManager& files, KeystrelEngine::MessageManager& log,
                        const std::string& path)
{
    const auto file = files.OpenTextual(path, false);
    FileValues values(path);
    const auto count = static_cast<std::uint32_t>(values.NextInt(*file, 0, kLargest, "the font count"));
    FontList list;
    list.consoleFontId = static_cast<std::uint32_t>(values.NextInt(*file, 0, kLargest, "the console's font id"));
    for (std::uint32_t id = 0; id < count; ++id)
        list.fonts.push_back(ReadFont(*file, values, id));
    values.CheckEnd(*file);
    values.WarnOfNote(log);
    return list;
}

} // namespace GameFramework
