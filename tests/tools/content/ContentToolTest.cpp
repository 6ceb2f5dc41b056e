#include "tools/content/ContentTool.h"
#include "tools/content/DataFolder.h"
#include "tools/content/Layout.h"

#include "tests/support/TestEnvironment.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <sys/wait.h>

using namespace Content;
namespace fs = std::filesystem;

namespace {

fs::path BuildData()
{
    return fs::path(KEYSTREL_BUILD_FOLDER) / "Data";
}

int RunTool(const fs::path& folder)
{
    const std::string command = std::string("'") + CONTENT_TOOL + "' '" + folder.string() + "' >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Every file below the folder as the engine names it: relative, with backslashes.
std::set<std::string> FilesBelow(const fs::path& root)
{
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file())
            continue;
        std::string name = fs::relative(entry.path(), root).generic_string();
        std::replace(name.begin(), name.end(), '/', '\\');
        names.insert(name);
    }
    return names;
}

TestSupport::Bytes ReadListed(const fs::path& root, const std::string& name)
{
    return TestSupport::ReadFile(DataFolder::DiskPath(root, name).string());
}

} // namespace

TEST(ContentTool, DataFolderHoldsExactlyTheListedLowerCaseFiles)
{
    std::set<std::string> listed{ContentTool::kStampName};
    for (const ManifestEntry& entry : ContentTool().Manifest()) {
        EXPECT_TRUE(std::none_of(entry.name.begin(), entry.name.end(), [](char c) { return std::isupper(c); }))
            << entry.name;
        EXPECT_FALSE(entry.reader.empty()) << entry.name;
        EXPECT_TRUE(listed.insert(entry.name).second) << entry.name << " is listed twice";
    }
    EXPECT_EQ(FilesBelow(BuildData()), listed);
}

TEST(ContentTool, SecondRunWritesTheSameBytesAndThenKeepsTheFolder)
{
    const fs::path folder = TestSupport::FreshFolder("again");
    ASSERT_EQ(RunTool(folder), 0);
    const std::vector<ManifestEntry> manifest = ContentTool().Manifest();
    for (const ManifestEntry& entry : manifest)
        EXPECT_EQ(ReadListed(folder, entry.name), ReadListed(BuildData(), entry.name)) << entry.name;
    EXPECT_EQ(ReadListed(folder, ContentTool::kStampName), ReadListed(BuildData(), ContentTool::kStampName));

    // The stamp is current: a run leaves even a changed file alone.
    TestSupport::WriteFile(DataFolder::DiskPath(folder, manifest.front().name).string(), std::string("changed"));
    ASSERT_EQ(RunTool(folder), 0);
    EXPECT_EQ(ReadListed(folder, manifest.front().name), TestSupport::ToBytes("changed"));
}

TEST(ContentTool, RefusesAFolderThatHoldsOtherFiles)
{
    const fs::path folder = TestSupport::FreshFolder("foreign");
    TestSupport::WriteFile((folder / "letter.txt").string(), std::string("keep me"));
    EXPECT_EQ(RunTool(folder), 1);
    EXPECT_EQ(FilesBelow(folder), std::set<std::string>{"letter.txt"});
}

TEST(Layout, AreasAreNamedOnceAndLieOnTheVirtualScreen)
{
    std::set<std::string> names;
    for (const LayoutArea& area : Layout::Areas()) {
        EXPECT_TRUE(names.insert(area.name).second) << area.name;
        EXPECT_GE(area.rect.left, 0.0f) << area.name;
        EXPECT_GE(area.rect.bottom, 0.0f) << area.name;
        EXPECT_LE(area.rect.Right(), Layout::kScreenWidth) << area.name;
        EXPECT_LE(area.rect.Top(), Layout::kScreenHeight) << area.name;
    }
    EXPECT_EQ(Layout::Area("title").width, Layout::Areas().front().rect.width);
    EXPECT_THROW(Layout::Area("nowhere"), std::out_of_range);
}
