#include "framework/VersionedFile.h"
#include "engine/foundation/Error.h"
#include "engine/foundation/SafeSave.h"
#include "framework/HighScoresTable.h"
#include "platform/testing.h"
#include "tests/engine/foundation/EngineServices.h"
#include "tools/formats/GameFileWriter.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace GameFramework;
using KeystrelEngine::FileBinary;
using KeystrelEngine::FileError;
using TestSupport::Bytes;

namespace {

std::string OpenError(TestSupport::EngineServices& services, const Bytes& bytes)
{
    TestSupport::WriteFile(TestSupport::BaseFolder() + "/f.hsf", bytes);
    VersionedFile file(&services.files, "GFHSF", 100);
    try {
        file.Open("f.hsf", VersionedFile::ModeRead);
    } catch (const FileError& error) {
        return error.GetText();
    }
    return file.GetFile().GetRemaining() == 0 ? "" : "(bytes left behind the header)";
}

} // namespace

TEST(VersionedFile, HeaderIsCheckedForMagicAndLengthBeforeTheVersion)
{
    TestSupport::EngineServices services;
    Bytes longer = Formats::GameFile("GFHSF", 100, {}), shorter = longer;
    Formats::SetLE32(longer, 0, 14);
    Formats::SetLE32(shorter, 0, 12);
    const std::string format = "Incorrect \"f.hsf\" file format";
    const std::pair<Bytes, std::string> cases[] = {
        {Formats::GameFile("GFHSF", 100, {}), ""},
        {longer, format},
        {shorter, format},
        {Formats::GameFile("GFHSX", 101, {}), format},
        {Formats::GameFile("GFHSF", 101, {}), "Incorrect \"f.hsf\" format version (101), current is 100"},
        {Bytes(12, 0), "Failed to read 13 bytes from \"" + services.files.MakeDiskPath("f.hsf") + "\" file"},
    };
    for (const auto& [bytes, error] : cases)
        EXPECT_EQ(OpenError(services, bytes), error);
}

TEST(VersionedFile, WrittenFilesCarryTheirLengthAndCountedWideStrings)
{
    TestSupport::EngineServices services;
    VersionedFile file(&services.files, "GFHSF", 100);
    file.Save("w.hsf", [](FileBinary& out) { out.Write(20, Bytes(20, 7).data()); });
    EXPECT_EQ(TestSupport::ReadFile(TestSupport::BaseFolder() + "/w.hsf"),
              Formats::GameFile("GFHSF", 100, Bytes(20, 7)));

    const std::u16string texts[] = {u"", std::u16string(254, u'a'), std::u16string(300, u'b')};
    file.Save("w.hsf", [&](FileBinary& out) {
        for (const auto& text : texts)
            WriteWString(out, text);
    });
    const Bytes saved = TestSupport::ReadFile(TestSupport::BaseFolder() + "/w.hsf");
    ASSERT_EQ(saved.size(), 13u + 3 + 511 + 511);
    EXPECT_EQ(Bytes(saved.begin() + 13, saved.begin() + 17), (Bytes{1, 0, 0, 255}));
    file.Open("w.hsf", VersionedFile::ModeRead);
    EXPECT_EQ(file.GetFile().ReadWString(), u"");
    EXPECT_EQ(file.GetFile().ReadWString(), texts[1]);
    EXPECT_EQ(file.GetFile().ReadWString(), std::u16string(254, u'b'));

    Bytes unterminated{255};
    for (int i = 0; i < 255; ++i)
        Formats::PutLE16(unterminated, u'c');
    TestSupport::WriteFile(TestSupport::BaseFolder() + "/u.hsf", Formats::GameFile("GFHSF", 100, unterminated));
    file.Open("u.hsf", VersionedFile::ModeRead);
    EXPECT_EQ(file.GetFile().ReadWString(), std::u16string(255, u'c'));
}

// Each fault fails one save with one error naming the file and the reason, leaving the file and no temporary; the
// next save writes every result. Planted temporary names are passed over, never written through; strays go at start.
TEST(VersionedFile, FailedOrUnfinishedSavesLeaveThePreviousFileAndNoTemporary)
{
    namespace fs = std::filesystem;
    using PlatformTesting::FileFault;
    TestSupport::EngineServices services;
    const std::string folder = TestSupport::FreshFolder("saves"), path = folder + "/high_scores_table.hsf";
    HighScoresTable table(&services.log, &services.files, folder);
    PlatformTesting::RecordOpenedFiles(true);
    table.Add(u"a", 1);
    const std::string used = PlatformTesting::RecordedOpenedFiles().back(); // "...hsf.<process>-<count>.tmp"
    PlatformTesting::RecordOpenedFiles(false);
    const std::size_t slash = used.rfind('\\'), dash = used.rfind('-');
    const auto temporary = [&](int later) {
        return folder + "/" + used.substr(slash + 1, dash - slash) +
               std::to_string(std::stoul(used.substr(dash + 1)) + later) + ".tmp";
    };
    const std::string outside = TestSupport::BaseFolder() + "/outside";
    TestSupport::WriteFile(outside, "mine");
    fs::create_symlink(outside, temporary(1));
    fs::create_directory(temporary(2));
    const Bytes previous = TestSupport::ReadFile(path);

    const auto failOnce = [&](FileFault fault, int error, const std::string& reason) {
        services.log.ClearHistory();
        PlatformTesting::SetFileFault(fault, "/saves/", error);
        table.Add(u"b", 2);
        PlatformTesting::SetFileFault(fault, "", 0);
        EXPECT_EQ(services.log.m_history.size(), 1u);
        EXPECT_TRUE(services.Logged("Failed to save \"" + table.GetPath() + "\" file: " + reason + "!")) << reason;
    };
    failOnce(FileFault::Create, EROFS, "Read-only file system"); // a read-only folder
    failOnce(FileFault::Rename, ENOSPC, "No space left on device");
    EXPECT_EQ(TestSupport::ReadFile(path), previous);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 3);

    table.Add(u"c", 3);
    EXPECT_EQ(HighScoresTable(&services.log, &services.files, folder).GetEntries().size(), 4u);
    EXPECT_EQ(TestSupport::ReadFile(outside), TestSupport::ToBytes("mine"));
    TestSupport::WriteFile(folder + "/profiles.pmf.77-0.tmp", "torn");
    KeystrelEngine::RemoveStrayTemporaries(folder);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2); // the table, the folder
    EXPECT_TRUE(fs::exists(outside));
}

TEST(VersionedFile, SavesKilledAtAnyMomentLeaveALoadableFile)
{
    TestSupport::EngineServices services;
    const std::string folder = KeystrelEngine::FileManager::GetUserFolder();
    std::uint32_t counter = 0;
    for (int round = 0; round < 16; ++round) {
        int ends[2];
        ASSERT_EQ(::pipe(ends), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(ends[0]);
            try {
                HighScoresTable table(&services.log, &services.files, folder);
                for (std::uint32_t score = 0;; ++score) {
                    table.Add(u"child", score);
                    if (::write(ends[1], "s", 1) != 1)
                        break;
                }
            } catch (...) {
            }
            ::_exit(1);
        }
        ::close(ends[1]);
        const int saves = 1 + round % 4;
        char byte = 0;
        for (int i = 0; i < saves; ++i)
            ASSERT_EQ(::read(ends[0], &byte, 1), 1);
        ::usleep(round * 97); // the kill lands at another moment of the save each round
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        ::close(ends[0]);
        HighScoresTable loaded(&services.log, &services.files, folder);
        EXPECT_GE(loaded.GetResultCounter(), counter + saves);
        counter = loaded.GetResultCounter();
    }
    EXPECT_FALSE(TestSupport::FileExists(folder + "/high_scores_table.hsf.bad"));
}
