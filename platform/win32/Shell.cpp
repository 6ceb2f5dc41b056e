#include "platform/win32/Files.h"

#include "platform/win32/HostPath.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Only an absolute HOME names a folder; a relative one would put the data wherever the program was started.
std::string HomeFolder()
{
    const char* home = std::getenv("HOME");
    return home && home[0] == '/' ? home : "";
}

// An XDG base folder: the variable when it holds an absolute path, else its default below the home folder.
std::string XdgFolder(const char* variable, const char* belowHome)
{
    const char* xdg = std::getenv(variable);
    if (xdg && xdg[0] == '/')
        return xdg;
    const std::string home = HomeFolder();
    return home.empty() ? std::string() : home + belowHome;
}

std::string RoamingDataFolder()
{
    return XdgFolder("XDG_DATA_HOME", "/.local/share");
}

// An absolute name with "." and ".." resolved by name, as Windows does, and without a final slash.
fs::path Lexical(const fs::path& path)
{
    std::error_code error;
    fs::path result = fs::absolute(path, error).lexically_normal();
    if (!result.has_filename() && result != result.root_path())
        result = result.parent_path();
    return result;
}

// The entry a delete removes: the folder part resolved through its links, the last component kept as it is, so a
// link named by the caller is removed as a link and never followed to its target.
fs::path Entry(const fs::path& lexical)
{
    std::error_code error;
    const fs::path folder = fs::weakly_canonical(lexical.parent_path(), error);
    return error ? lexical : folder / lexical.filename();
}

bool IsSameOrAncestor(const fs::path& candidate, const fs::path& folder)
{
    auto inside = folder.begin();
    for (auto part = candidate.begin(); part != candidate.end(); ++part, ++inside) {
        if (inside == folder.end() || *part != *inside)
            return false;
    }
    return true;
}

// Folders whose loss no delete may cause: the home folder, the data and configuration folders, the program's
// folder and the current folder. A target that is one of them or lies above one of them is refused, by name and
// through links alike; so is the root.
bool IsProtected(const fs::path& lexical, const fs::path& entry)
{
    if (lexical == lexical.root_path() || entry == entry.root_path())
        return true;
    std::string program;
    GetModuleFileNameA(nullptr, program);
    std::error_code noCurrent;
    const std::string current = fs::current_path(noCurrent).string();
    for (const std::string& name : {HomeFolder(), RoamingDataFolder(), XdgFolder("XDG_CONFIG_HOME", "/.config"),
                                    fs::path(program).parent_path().string(), current}) {
        if (name.empty())
            continue;
        const fs::path byName = Lexical(name);
        std::error_code error;
        const fs::path physical = fs::weakly_canonical(byName, error);
        for (const fs::path& target : {lexical, entry}) {
            if (IsSameOrAncestor(target, byName) || (!error && IsSameOrAncestor(target, physical)))
                return true;
        }
    }
    return false;
}

// Each missing folder of the path in turn, through CreateDirectoryA like every folder the program makes, so that
// the same rules and the faults a test scripts apply.
void MakeFolders(const std::string& path)
{
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
    CreateDirectoryA(path.c_str(), nullptr);
}

bool DeleteEntry(const char* name)
{
    const std::string hostName = Win32Host::ToHostEntryPath(name);
    if (hostName.empty())
        return false;
    const fs::path lexical = Lexical(hostName);
    const fs::path entry = Entry(lexical);
    std::error_code error;
    if (IsProtected(lexical, entry) || !fs::exists(fs::symlink_status(entry, error)))
        return false;
    // remove_all takes links as entries of their own and never descends through them.
    fs::remove_all(entry, error);
    return !error;
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
    if (folder & CSIDL_FLAG_CREATE)
        MakeFolders(found);
    std::error_code error;
    path = found;
    return fs::is_directory(found, error) ? S_OK : S_FALSE;
}

int SHFileOperationA(SHFILEOPSTRUCTA* operation)
{
    if (!operation || operation->wFunc != FO_DELETE || !operation->pFrom || !*operation->pFrom)
        return 1;
    int result = 0;
    for (const char* name = operation->pFrom; *name; name += std::char_traits<char>::length(name) + 1) {
        if (!DeleteEntry(name))
            result = 1;
    }
    return result;
}
