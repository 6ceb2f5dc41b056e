#include "BackgroundThemes.h"

#include "engine/foundation/FileManager.h"
#include "engine/foundation/FileTextual.h"
#include "engine/foundation/FileValues.h"
#include "engine/foundation/StringUtils.h"

#include <limits>

namespace Wispfold {

std::string BackgroundTheme::GetModelName() const
{
    return "ui\\menus\\background\\models\\" + name + ".mlf";
}

BackgroundThemes::BackgroundThemes(KeystrelEngine::FileManager& files)
{
    constexpr std::int32_t kLowest = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kHighest = std::numeric_limits<std::int32_t>::max();
    const auto file = files.OpenTextual(kPath, false);
    const KeystrelEngine::FileValues values(kPath);
    const std::int32_t count = values.NextInt(*file, 0, kHighest, "the theme count");
    for (std::int32_t i = 0; i < count; ++i) {
        const std::string theme = "theme " + KeystrelEngine::FormatInt(i + 1) + "'s ";
        BackgroundTheme read;
        read.name = values.NextLine(*file, theme + "name");
        read.kind = values.NextInt(*file, kLowest, kHighest, theme + "kind");
        read.stage = values.NextInt(*file, kLowest, kHighest, theme + "stage");
        m_themes.push_back(std::move(read));
    }
}

} // namespace Wispfold
