#include "BackgroundThemes.h"

#include "engine/foundation/FileManager.h"
#include "engine/foundation/FileTextual.h"
#include "engine/foundation/FileValues.h"
#include "engine/foundation/StringUtils.h"

namespace Wispfold {
namespace {

using KeystrelEngine::FileTextual;

[[noreturn]] void Refuse()
{
    KeystrelEngine::FileValues(BackgroundThemes::kPath).Refuse();
}

// A value read from the file; refused when the file has ended first.
std::string Present(std::string text)
{
    if (text.empty())
        Refuse();
    return text;
}

std::int32_t ReadNumber(FileTextual& file)
{
    return KeystrelEngine::ToInt(Present(file.ReadToken()));
}

} // namespace

std::string BackgroundTheme::GetModelName() const
{
    return "ui\\menus\\background\\models\\" + name + ".mlf";
}

BackgroundThemes::BackgroundThemes(KeystrelEngine::FileManager& files)
{
    const auto file = files.OpenTextual(kPath, false);
    const std::int32_t count = ReadNumber(*file);
    if (count < 0)
        Refuse();
    for (std::int32_t i = 0; i < count; ++i) {
        BackgroundTheme theme;
        theme.name = Present(file->ReadNonEmptyLine());
        theme.kind = ReadNumber(*file);
        theme.stage = ReadNumber(*file);
        m_themes.push_back(std::move(theme));
    }
}

} // namespace Wispfold
