#include "platform/testing.h"
#include "platform/win32/HostPath.h"
#include "platform/win32/Win32.h"
#include "tests/support/TestEnvironment.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

using namespace TestSupport;

namespace {

std::vector<std::string> Find(const std::string& pattern)
{
    std::vector<std::string> names;
    _finddata_t data;
    const intptr_t handle = _findfirst(pattern.c_str(), &data);
    if (handle == -1)
        return names;
    do {
        names.push_back(data.name + std::string(data.attrib & _A_SUBDIR ? "/" : ""));
    } while (_findnext(handle, &data) == 0);
    _findclose(handle);
    return names;
}

} // namespace

TEST(HostPath, WindowsNamesResolveComponentByComponentWithoutRegardToCase)
{
    const std::string root = FreshFolder("paths");
    WriteFile(root + "/Data/UI/Logo.JPG", "x");
    EXPECT_EQ(Win32Host::ToHostPath(root + "\\data\\ui\\logo.jpg"), root + "/Data/UI/Logo.JPG");
    // Missing components are kept as written so a writer can create them.
    EXPECT_EQ(Win32Host::ToHostPath(root + "\\DATA\\New\\File.txt"), root + "/Data/New/File.txt");
    // An exact match wins over other spellings; otherwise the first in sorted order.
    WriteFile(root + "/data/ui/logo.jpg", "y");
    EXPECT_EQ(Win32Host::ToHostPath(root + "\\data\\UI\\logo.jpg"), root + "/data/ui/logo.jpg");
    EXPECT_EQ(Win32Host::ToHostPath(root + "\\DaTa\\ui\\LOGO.jpg"), root + "/Data/UI/Logo.JPG");
    EXPECT_EQ(Win32Host::ToHostPath(""), "");
}

TEST(HostPath, WildcardsMatchWithoutRegardToCase)
{
    EXPECT_TRUE(Win32Host::WildcardMatch("*.pak", "Main.PAK"));
    EXPECT_FALSE(Win32Host::WildcardMatch("*.pak", "main.pa"));
    EXPECT_TRUE(Win32Host::WildcardMatch("a?c*", "abcdef"));
    EXPECT_TRUE(Win32Host::WildcardMatch("*a*b", "xxaxxbxb"));
    EXPECT_TRUE(Win32Host::WildcardMatch("*.*", "noextension"));
    EXPECT_TRUE(Win32Host::WildcardMatch("*", ""));
    EXPECT_FALSE(Win32Host::WildcardMatch("?", ""));
}

TEST(Files, FolderSearchIsSortedWithoutRegardToCaseAndReportsFolders)
{
    const std::string root = FreshFolder("search");
    for (const char* name : {"b.pak", "A.pak", "c.txt", "C.PAK"})
        WriteFile(root + "/" + name, "");
    CreateDirectoryA((root + "\\Sub.pak").c_str(), nullptr);
    EXPECT_EQ(Find(root + "\\*.pak"), (std::vector<std::string>{"A.pak", "b.pak", "C.PAK", "Sub.pak/"}));
    const std::vector<std::string> all = Find(root + "\\*");
    ASSERT_GE(all.size(), 2u);
    EXPECT_EQ(all[0], "./");
    EXPECT_EQ(all[1], "../");
    EXPECT_TRUE(Find(root + "\\*.none").empty());
    EXPECT_TRUE(Find(root + "\\missing\\*").empty());
}

TEST(Files, ExistenceOpeningMovingAndDeleting)
{
    const std::string root = FreshFolder("files");
    WriteFile(root + "/Config.INI", "a");
    EXPECT_EQ(_access((root + "\\config.ini").c_str(), 0), 0);
    EXPECT_EQ(_access((root + "\\other.ini").c_str(), 0), -1);
    FILE* file = nullptr;
    ASSERT_EQ(fopen_s(&file, (root + "\\NEW.tmp").c_str(), "wb"), 0);
    std::fputs("b", file);
    std::fclose(file);
    EXPECT_TRUE(MoveFileExA((root + "\\new.tmp").c_str(), (root + "\\config.ini").c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(ReadFile(root + "/Config.INI"), ToBytes("b"));
    constexpr DWORD flushed = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    EXPECT_FALSE(MoveFileExA((root + "\\gone.tmp").c_str(), (root + "\\config.ini").c_str(), flushed));
    WriteFile(root + "/later.tmp", "c");
    EXPECT_TRUE(MoveFileExA((root + "\\later.tmp").c_str(), (root + "\\config.ini").c_str(), flushed));
    EXPECT_EQ(ReadFile(root + "/Config.INI"), ToBytes("c"));
    // A delete takes only the entry of exactly its name, never one that differs in letter case.
    EXPECT_FALSE(DeleteFileA((root + "\\CONFIG.ini").c_str()));
    EXPECT_TRUE(DeleteFileA((root + "\\Config.INI").c_str()));
    EXPECT_FALSE(FileExists(root + "/Config.INI"));
    EXPECT_NE(fopen_s(&file, (root + "\\missing\\x.txt").c_str(), "rb"), 0);
}

// The record keeps the names as the program passed them, from every thread, and only the files that opened.
TEST(Files, OpenedFilesAreRecordedByTheirNamesWhileRecordingIsOn)
{
    const std::string root = FreshFolder("opened");
    WriteFile(root + "/Data/a.txt", "a");
    const auto openFile = [](const std::string& name, const char* mode) {
        FILE* file = nullptr;
        if (fopen_s(&file, name.c_str(), mode) == 0)
            std::fclose(file);
    };
    openFile(root + "\\data\\A.TXT", "rb");
    PlatformTesting::RecordOpenedFiles(true);
    EXPECT_TRUE(PlatformTesting::RecordedOpenedFiles().empty());
    openFile(root + "\\data\\A.TXT", "rb");
    std::thread([&] { openFile(root + "\\data\\b.txt", "wb"); }).join();
    openFile(root + "\\missing\\c.txt", "rb");
    EXPECT_EQ(PlatformTesting::RecordedOpenedFiles(),
              (std::vector<std::string>{root + "\\data\\A.TXT", root + "\\data\\b.txt"}));
    PlatformTesting::RecordOpenedFiles(false);
    openFile(root + "\\data\\A.TXT", "rb");
    EXPECT_TRUE(PlatformTesting::RecordedOpenedFiles().empty());
}

// An XDG_DATA_HOME or a HOME that is no absolute path names no folder.
TEST(Shell, RoamingDataFolderFollowsXdgAndIsCreated)
{
    const std::string xdg = FreshFolder("xdg") + "/data-home", data = std::getenv("XDG_DATA_HOME");
    ::setenv("XDG_DATA_HOME", xdg.c_str(), 1);
    std::string path;
    EXPECT_EQ(SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path), S_OK);
    EXPECT_EQ(path, xdg);
    EXPECT_TRUE(FileExists(xdg));
    ::unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path), S_OK);
    EXPECT_EQ(path, std::string(std::getenv("HOME")) + "/.local/share");
    ::setenv("XDG_DATA_HOME", "relative", 1); // only an absolute path counts
    EXPECT_EQ(SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path), S_OK);
    EXPECT_EQ(path, std::string(std::getenv("HOME")) + "/.local/share");
    const std::string home = std::getenv("HOME");
    ::setenv("HOME", "home", 1);
    EXPECT_EQ(SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path), E_FAIL);
    EXPECT_FALSE(FileExists("relative") || FileExists("home"));
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_DATA_HOME", data.c_str(), 1);
}

TEST(Shell, SilentDeleteRemovesLinksAsLinksAndRefusesEveryFolderAtOrAboveTheUsersOwn)
{
    namespace fs = std::filesystem;
    auto remove = [](const std::string& name) {
        std::string from = name;
        from.append(2, '\0');
        SHFILEOPSTRUCTA operation;
        operation.wFunc = FO_DELETE;
        operation.pFrom = from.c_str();
        operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION;
        return SHFileOperationA(&operation);
    };
    const std::string root = FreshFolder("delete");
    WriteFile(root + "/Tree/a/b.txt", "");
    fs::permissions(root + "/Tree/a/b.txt", fs::perms::owner_read);
    WriteFile(root + "/Outside/keep.txt", "");
    fs::create_symlink(root + "/Outside", root + "/Tree/link");
    fs::create_symlink(root + "/Outside", root + "/Link");
    EXPECT_NE(remove(root + "\\tree"), 0); // only an entry of exactly the name goes
    EXPECT_TRUE(FileExists(root + "/Tree/a/b.txt"));
    EXPECT_EQ(remove(root + "\\Tree"), 0);
    EXPECT_EQ(remove(root + "\\Link"), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(root + "/Link")));
    EXPECT_FALSE(FileExists(root + "/Tree"));
    EXPECT_TRUE(FileExists(root + "/Outside/keep.txt"));
    EXPECT_NE(remove(root + "\\Tree"), 0);

    WriteFile(BaseFolder() + "/keep", "");
    const std::string home = std::getenv("HOME"), data = std::getenv("XDG_DATA_HOME");
    for (const std::string& refused :
         {std::string("/"), BaseFolder(), BaseFolder() + "/../base/", BaseFolder() + "\\..", home, data, std::string()})
        EXPECT_NE(remove(refused), 0) << refused;
    const fs::path current = fs::current_path();
    fs::current_path(root + "/Outside");
    EXPECT_NE(remove(".."), 0);
    fs::current_path(current);
    EXPECT_TRUE(FileExists(BaseFolder() + "/keep"));
    EXPECT_TRUE(FileExists(root + "/Outside/keep.txt"));
    EXPECT_TRUE(FileExists(data));
}

TEST(CodePages, Windows1252And1251RoundTrip)
{
    for (UINT page : {1252u, 1251u}) {
        PlatformTesting::SetAnsiCodePage(page);
        EXPECT_EQ(GetACP(), page);
        for (int byte = 1; byte < 256; ++byte) {
            const char c = static_cast<char>(byte);
            WCHAR unit = 0;
            if (MultiByteToWideChar(CP_ACP, 0, &c, 1, &unit, 1) != 1)
                continue; // undefined in this code page
            char back = 0;
            BOOL usedDefault = TRUE;
            WideCharToMultiByte(CP_ACP, 0, &unit, 1, &back, 1, nullptr, &usedDefault);
            EXPECT_FALSE(usedDefault);
            EXPECT_EQ(back, c) << "code page " << page << " byte " << byte;
        }
    }
    PlatformTesting::SetAnsiCodePage(1252);
    const char undefined = '\x81';
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, &undefined, 1, nullptr, 0), 0);
    const WCHAR cyrillic = 0x0416;
    char narrow = 0;
    BOOL usedDefault = FALSE;
    WideCharToMultiByte(CP_ACP, 0, &cyrillic, 1, &narrow, 1, nullptr, &usedDefault);
    EXPECT_TRUE(usedDefault);
    EXPECT_EQ(narrow, '?');
}
