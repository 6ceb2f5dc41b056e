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
#include <stdexcept>
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

std::string ReadText(const fs::path& root, const std::string& name)
{
    const TestSupport::Bytes bytes = ReadListed(root, name);
    return {bytes.begin(), bytes.end()};
}

// Lists some files and writes others (each with its own name as its bytes), counting its runs.
class ScriptedGenerator : public Generator
{
public:
    ScriptedGenerator(std::vector<std::string> listed, std::vector<std::string> written, int& runs,
                      std::vector<fs::path> inputs = {})
        : m_listed(std::move(listed)), m_written(std::move(written)), m_runs(runs), m_inputs(std::move(inputs))
    {
    }

    std::vector<ManifestEntry> Files() const override
    {
        std::vector<ManifestEntry> files;
        for (const std::string& name : m_listed)
            files.push_back({name, "FileTextual"});
        return files;
    }

    void Write(DataFolder& folder) const override
    {
        ++m_runs;
        for (const std::string& name : m_written)
            folder.Write(name, TestSupport::ToBytes(name));
    }

    std::vector<fs::path> Inputs() const override { return m_inputs; }

private:
    std::vector<std::string> m_listed;
    std::vector<std::string> m_written;
    int& m_runs;
    std::vector<fs::path> m_inputs;
};

ContentTool ScriptedTool(std::vector<std::string> listed, std::vector<std::string> written, int& runs,
                         std::vector<fs::path> inputs = {})
{
    std::vector<std::unique_ptr<Generator>> generators;
    generators.push_back(
        std::make_unique<ScriptedGenerator>(std::move(listed), std::move(written), runs, std::move(inputs)));
    return ContentTool(std::move(generators));
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
    EXPECT_EQ(ReadText(folder, manifest.front().name), "changed");
}

TEST(ContentTool, WritesAgainOnlyForANewBuildOrAMissingFileAndClearsWhatItWroteBefore)
{
    const fs::path folder = TestSupport::FreshFolder("scripted");
    int runs = 0;
    const ContentTool tool = ScriptedTool({"one\\a.txt", "b.txt"}, {"one\\a.txt", "b.txt"}, runs);
    EXPECT_EQ(tool.Run(folder, "build1"), ContentTool::Outcome::Written);
    EXPECT_EQ(ReadText(folder, "one\\a.txt"), "one\\a.txt");
    EXPECT_EQ(tool.Run(folder, "build1"), ContentTool::Outcome::UpToDate);

    TestSupport::WriteFile((folder / "stale.txt").string(), std::string("from an older tool"));
    EXPECT_EQ(tool.Run(folder, "build2"), ContentTool::Outcome::Written);
    EXPECT_EQ(FilesBelow(folder), (std::set<std::string>{"one\\a.txt", "b.txt", ContentTool::kStampName}));

    fs::remove(folder / "b.txt");
    EXPECT_EQ(tool.Run(folder, "build2"), ContentTool::Outcome::Written);
    EXPECT_EQ(runs, 3);
    EXPECT_EQ(ReadText(folder, ContentTool::kStampName), "quellhaven-content build2\n");
}

TEST(ContentTool, FailuresLeaveAStaleStampAndForeignFoldersUntouched)
{
    struct Case
    {
        std::vector<std::string> written;
        std::string error;
    };
    const Case cases[] = {
        {{"a.txt", "b.txt", "c.txt"}, "\"c.txt\" is not listed in the manifest or was written twice"},
        {{"a.txt", "b.txt", "a.txt"}, "\"a.txt\" is not listed in the manifest or was written twice"},
        {{"a.txt"}, "no generator wrote \"b.txt\""},
    };
    int runs = 0;
    for (const Case& failing : cases) {
        const fs::path folder = TestSupport::FreshFolder("failing");
        try {
            ScriptedTool({"a.txt", "b.txt"}, failing.written, runs).Run(folder, "build");
            ADD_FAILURE() << "no error for " << failing.error;
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(error.what(), failing.error);
        }
        EXPECT_EQ(ReadText(folder, ContentTool::kStampName), "incomplete\n");
        EXPECT_EQ(ScriptedTool({"a.txt", "b.txt"}, {"a.txt", "b.txt"}, runs).Run(folder, "build"),
                  ContentTool::Outcome::Written);
    }

    const fs::path foreign = TestSupport::FreshFolder("foreign");
    TestSupport::WriteFile((foreign / "letter.txt").string(), std::string("keep me"));
    EXPECT_THROW(ScriptedTool({"a.txt"}, {"a.txt"}, runs).Run(foreign, "build"), std::runtime_error);
    EXPECT_EQ(RunTool(foreign), 1);
    EXPECT_EQ(FilesBelow(foreign), std::set<std::string>{"letter.txt"});
}

TEST(ContentTool, IdentityFollowsTheProgramAndEveryInput)
{
    const fs::path folder = TestSupport::FreshFolder("identity");
    const fs::path program = folder / "program";
    const fs::path input = folder / "input.txt";
    TestSupport::WriteFile(program.string(), std::string("program 1"));
    TestSupport::WriteFile(input.string(), std::string("input 1"));
    int runs = 0;
    const ContentTool tool = ScriptedTool({}, {}, runs, {input});
    const std::string first = tool.Identity(program);
    EXPECT_EQ(tool.Identity(program), first);
    TestSupport::WriteFile(input.string(), std::string("input 2"));
    const std::string second = tool.Identity(program);
    EXPECT_NE(second, first);
    TestSupport::WriteFile(program.string(), std::string("program 2"));
    EXPECT_NE(tool.Identity(program), second);
    fs::remove(input);
    EXPECT_THROW(tool.Identity(program), std::runtime_error);
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
