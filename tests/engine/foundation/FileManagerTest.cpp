#include "engine/foundation/FileManager.h"
#include "engine/foundation/Error.h"
#include "engine/foundation/FileBinary.h"
#include "engine/foundation/FileTextual.h"
#include "engine/foundation/MessageManager.h"
#include "tests/support/PackWriter.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace KeystrelEngine;
using namespace Formats;
using namespace TestSupport;

namespace {

std::string ContentOf(FileManager& files, const std::string& name)
{
    auto file = files.OpenBinary(name, false);
    std::string text(file->GetSize(), '\0');
    file->Read(file->GetSize(), text.data());
    return text;
}

class FileManagerTest : public ::testing::Test
{
protected:
    void SetUp() override { m_install = FreshFolder("install"); }

    std::unique_ptr<FileManager> Open() { return std::make_unique<FileManager>(&m_log, m_install, "Data"); }
    void Pack(const std::string& file, const std::vector<PackEntry>& entries)
    {
        WriteFile(m_install + "/Data/" + file, BuildPack(entries));
    }

    std::string m_install;
    MessageManager m_log{"", "Test", "", false, false};
};

} // namespace

TEST_F(FileManagerTest, DiskFileWinsOverPackEntry)
{
    Pack("main.pak", {{"data\\models\\a.mlf", ToBytes("pack")}});
    WriteFile(m_install + "/data/models/a.mlf", "disk");
    auto files = Open();
    EXPECT_EQ(ContentOf(*files, "data\\models\\a.mlf"), "disk");
}

TEST_F(FileManagerTest, FirstPackInSortedOrderAnswers)
{
    Pack("b.pak", {{"data\\x.txt", ToBytes("from b")}});
    Pack("A.pak", {{"data\\x.txt", ToBytes("from A")}});
    auto files = Open();
    EXPECT_EQ(ContentOf(*files, "data\\x.txt"), "from A");
}

TEST_F(FileManagerTest, PackNamesMatchInAnyCaseAndWithDoubledBackslashes)
{
    Pack("main.pak", {{"data\\ui\\a.jpg", ToBytes("jpg")}});
    auto files = Open();
    EXPECT_EQ(ContentOf(*files, "DATA\\UI\\A.JPG"), "jpg");
    EXPECT_EQ(ContentOf(*files, "data\\\\ui\\\\a.jpg"), "jpg");
    EXPECT_TRUE(files->FileExists("Data\\Ui\\A.jpg"));
    EXPECT_FALSE(files->FileExists("data\\ui\\b.jpg"));
    std::uint32_t size = 0;
    EXPECT_TRUE(files->FindInPacks("data\\ui\\a.jpg", &size));
    EXPECT_EQ(size, 3u);
    // The composed path is what the file object shows.
    EXPECT_EQ(files->OpenBinary("data\\ui\\a.jpg", false)->GetPath(), m_install + "\\data\\ui\\a.jpg");
}

TEST_F(FileManagerTest, DiskNamesMatchWithoutRegardToCase)
{
    WriteFile(m_install + "/Data/UI/Menus/Title.TXT", "title");
    auto files = Open();
    EXPECT_EQ(ContentOf(*files, "data\\ui\\menus\\title.txt"), "title");
}

TEST_F(FileManagerTest, AbsoluteNamesOpenUnchanged)
{
    const std::string elsewhere = FreshFolder("elsewhere") + "/file.bin";
    WriteFile(elsewhere, "abs");
    auto files = Open();
    EXPECT_EQ(ContentOf(*files, elsewhere), "abs");
    EXPECT_TRUE(files->FileExists(elsewhere));
    EXPECT_EQ(files->MakeDiskPath("C:\\x"), "C:\\x");
    EXPECT_EQ(files->MakeDiskPath("\\\\server\\x"), m_install + "\\\\\\server\\x");
}

TEST_F(FileManagerTest, MissingFilesThrowTheOpenFailureWithTheComposedPath)
{
    auto files = Open();
    try {
        files->OpenBinary("data\\missing.bin", false);
        FAIL();
    } catch (const FileError& error) {
        EXPECT_EQ(error.GetText(), "Failed to open \"" + m_install + "\\data\\missing.bin\" file");
    }
    EXPECT_THROW(files->OpenTextual("data\\missing.txt", false), FileError);
}

TEST_F(FileManagerTest, WritingCreatesMissingFolders)
{
    auto files = Open();
    {
        auto out = files->OpenTextual("Profiles\\Player One\\player.prf", true);
        out->WriteString("saved");
        out->Close();
    }
    EXPECT_EQ(ReadFile(m_install + "/Profiles/Player One/player.prf"), ToBytes("saved"));
    auto in = files->OpenTextual("profiles\\player one\\PLAYER.prf", false);
    std::string line;
    ASSERT_TRUE(in->ReadLine(line));
    EXPECT_EQ(line, "saved");
}

TEST_F(FileManagerTest, ListFilesGivesDiskPathsAndPackNamesEachOnce)
{
    Pack("a.pak", {{"data\\ui\\x.jpg", {}}, {"data\\ui\\y.jpg", {}}});
    Pack("b.pak", {{"data\\ui\\X.JPG", {}}, {"data\\other\\z.jpg", {}}});
    WriteFile(m_install + "/data/ui/disk.jpg", "");
    WriteFile(m_install + "/data/ui/disk.txt", "");
    auto files = Open();
    std::vector<std::string> list;
    files->ListFiles("data\\ui", "*.jpg", list);
    EXPECT_EQ(list,
              (std::vector<std::string>{m_install + "\\data\\ui\\disk.jpg", "data\\ui\\x.jpg", "data\\ui\\y.jpg"}));
}

TEST_F(FileManagerTest, DamagedPacksAreSkippedAndTheOthersStayUsable)
{
    const Bytes good = BuildPack({{"data\\good.txt", ToBytes("ok")}});
    Bytes wrongMagic = good;
    wrongMagic[5] = 'X';
    Bytes longer = good;
    SetLE32(longer, 0, static_cast<std::uint32_t>(good.size() - 1));
    Bytes hugeCount = good;
    SetLE32(hugeCount, 13, 0x20000000);
    Bytes pastEnd = good;
    SetLE32(pastEnd, 17 + 15, 1000);
    WriteFile(m_install + "/Data/1.pak", wrongMagic);
    WriteFile(m_install + "/Data/2.pak", longer);
    WriteFile(m_install + "/Data/3.pak", BuildPack({}, 101));
    WriteFile(m_install + "/Data/4.pak", Bytes(good.begin(), good.begin() + 20));
    WriteFile(m_install + "/Data/5.pak", hugeCount);
    WriteFile(m_install + "/Data/6.pak", pastEnd);
    WriteFile(m_install + "/Data/7.pak", good);
    auto files = Open();
    EXPECT_EQ(ContentOf(*files, "data\\good.txt"), "ok");

    int errors = 0;
    for (const auto& record : m_log.m_history)
        errors += record.kind == MessageManager::KindError;
    EXPECT_EQ(errors, 6);
    EXPECT_EQ(m_log.m_history.front().text, "Initialization of File Manager...\n");
}

TEST_F(FileManagerTest, ExistenceOnDiskIsTestedBelowTheProgramFolder)
{
    WriteFile(BaseFolder() + "/beside-program.txt", "");
    EXPECT_TRUE(FileManager::FileExistsOnDisk("beside-program.txt"));
    EXPECT_TRUE(FileManager::FileExistsOnDisk(BaseFolder() + "/beside-program.txt"));
    EXPECT_FALSE(FileManager::FileExistsOnDisk("not-there.txt"));
}

TEST_F(FileManagerTest, UserFolderIsTheRoamingDataFolder)
{
    EXPECT_EQ(FileManager::GetUserFolder(), std::getenv("XDG_DATA_HOME"));
}

TEST_F(FileManagerTest, DeleteFolderRemovesATreeButRefusesFoldersNobodyMeansToDelete)
{
    WriteFile(m_install + "/profiles/p1/a.prf", "x");
    WriteFile(m_install + "/profiles/p1/sub/b.prf", "y");
    FileManager::DeleteFolder(m_install + "\\Profiles\\P1"); // a folder of another letter case is not this one
    EXPECT_TRUE(FileExists(m_install + "/profiles/p1/a.prf"));
    FileManager::DeleteFolder(m_install + "\\Profiles\\p1");
    EXPECT_FALSE(FileExists(m_install + "/profiles/p1"));
    EXPECT_TRUE(FileExists(m_install + "/profiles"));

    WriteFile(BaseFolder() + "/keep.txt", "");
    WriteFile(std::string(std::getenv("HOME")) + "/keep.txt", "");
    FileManager::DeleteFolder("");
    FileManager::DeleteFolder(BaseFolder());
    FileManager::DeleteFolder(BaseFolder() + "/");
    FileManager::DeleteFolder(std::getenv("HOME"));
    FileManager::DeleteFolder("/");
    EXPECT_TRUE(FileExists(BaseFolder() + "/keep.txt"));
    EXPECT_TRUE(FileExists(std::string(std::getenv("HOME")) + "/keep.txt"));
}

TEST(FilePaths, ExtensionsFolderPartsAndDataPaths)
{
    EXPECT_EQ(GetFileExtension("a.tar.gz"), "tar.gz");
    EXPECT_EQ(GetFileExtension("model"), "");
    EXPECT_EQ(GetFileExtension("/home/u/.local/share/x.cfg"), "cfg");

    std::string name = "model.mlf";
    ReplaceFileExtension(name, "srf");
    EXPECT_EQ(name, "model.srf");
    name = "model";
    ReplaceFileExtension(name, "srf");
    EXPECT_EQ(name, "model.srf");
    name = "a.b.c";
    ReplaceFileExtension(name, "");
    EXPECT_EQ(name, "a");
    name = "model";
    ReplaceFileExtension(name, "");
    EXPECT_EQ(name, "model");
    name = "/home/u/.config/quell";
    ReplaceFileExtension(name, "ini");
    EXPECT_EQ(name, "/home/u/.config/quell.ini");

    EXPECT_EQ(GetFolderPart("a\\b\\c.txt"), "a\\b");
    EXPECT_EQ(GetFolderPart("c.txt"), "");
    // Linux folders above the engine's names separate with '/', as every path helper reads them.
    EXPECT_EQ(GetFolderPart("/home/u/levels/board.srf"), "/home/u/levels");
    EXPECT_EQ(GetFolderPart("/home/u.v/data\\models\\tree.srf"), "/home/u.v/data\\models");
    EXPECT_EQ(GetFileExtension("/home/u.v/data\\tree"), "");
    EXPECT_EQ(MakeDataPath("ui\\x.jpg"), "data\\ui\\x.jpg");
    EXPECT_EQ(MakeDataPath("C:\\ui\\x.jpg"), "C:\\ui\\x.jpg");
    EXPECT_EQ(MakeDataPath("/abs/x.jpg"), "/abs/x.jpg");
    EXPECT_EQ(MakeAbsolutePath("x.ini"), BaseFolder() + "\\x.ini");
}
