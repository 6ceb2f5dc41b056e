#include "tests/tools/content/ContentData.h"

#include "engine/foundation/FileManager.h"
#include "tests/support/TestEnvironment.h"
#include "tools/content/DataFolder.h"

namespace ContentTesting {

void CopyBuildData(const std::string& folder)
{
    const std::filesystem::path to = TestDataPath(folder);
    std::filesystem::create_directories(to);
    std::filesystem::copy(Content::DataFolder::DiskPath(std::filesystem::path(KEYSTREL_BUILD_FOLDER) / "Data", folder),
                          to, std::filesystem::copy_options::recursive);
}

std::filesystem::path TestDataPath(const std::string& name)
{
    return Content::DataFolder::DiskPath(TestSupport::BaseFolder() + "/Data", name);
}

std::u16string Widen(std::string_view text)
{
    std::u16string wide;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : 3;
        char16_t unit = length == 1 ? lead : lead & (length == 2 ? 0x1F : 0x0F);
        for (int k = 1; k < length && i + k < text.size(); ++k)
            unit = static_cast<char16_t>((unit << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F));
        wide.push_back(unit);
        i += length;
    }
    return wide;
}

} // namespace ContentTesting
