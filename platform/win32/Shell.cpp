#include "platform/win32/Files.h"

#include "platform/win32/HostPath.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string HomeFolder()
{
    const char* home = std::getenv("HOME");
    return home ? home : "";
}

std::string RoamingDataFolder()
{
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/')
        return xdg;
    const std::string home = HomeFolder();
    return home.empty() ? std::string() : home + "/.local/share";
}

fs::path Canonical(const std::string& path)
{
    std::error_code error;
    fs::path result = fs::weakly_canonical(path, error);
    return error ? fs::path(path).lexically_normal() : result;
}

// Folders no delete may take: the root, the home folder and the folder of the program itself.
bool IsProtected(const fs::path& target)
{
    if (target == target.root_path())
        return true;
    std::string program;
    GetModuleFileNameA(nullptr, program);
    for (const std::string& folder : {HomeFolder(), fs::path(program).parent_path().string()}) {
        if (!folder.empty() && Canonical(folder) == target)
            return true;
    }
    return false;
}

} // namespace

HRESULT SHGetFolderPathA(HWND /*owner*/, int folder, HANDLE /*token*/, DWORD /*flags*/, std::string& path)
{
    path.clear();
    if ((folder & 0xFF) != CSIDL_APPDATA)
        return E_INVALIDARG;
    const std::string found = RoamingDataFolder();
    if (found.empty())
        return E_FAIL;
    std::error_code error;
    if (folder & CSIDL_FLAG_CREATE)
        fs::create_directories(found, error);
    if (!fs::is_directory(found, error))
        return E_FAIL;
    path = found;
    return S_OK;
}

int SHFileOperationA(SHFILEOPSTRUCTA* operation)
{
    if (!operation || operation->wFunc != FO_DELETE || !operation->pFrom)
        return 1;
    int result = 0;
    for (const char* name = operation->pFrom; *name; name += std::char_traits<char>::length(name) + 1) {
        const fs::path target = Canonical(Win32Host::ToHostPath(name));
        std::error_code error;
        if (IsProtected(target) || !fs::exists(fs::symlink_status(target, error))) {
            result = 1;
            continue;
        }
        fs::remove_all(target, error);
        if (error)
            result = 1;
    }
    return result;
}
