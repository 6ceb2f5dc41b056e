#include "platform/win32/Files.h"

#include "platform/testing.h"
#include "platform/win32/HostPath.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::mutex g_openedMutex;
bool g_recordOpened = false;
std::vector<std::string> g_opened;

void NoteOpened(const char* path)
{
    std::lock_guard lock(g_openedMutex);
    if (g_recordOpened)
        g_opened.emplace_back(path);
}

} // namespace

void PlatformTesting::RecordOpenedFiles(bool on)
{
    std::lock_guard lock(g_openedMutex);
    g_recordOpened = on;
    g_opened.clear();
}

std::vector<std::string> PlatformTesting::RecordedOpenedFiles()
{
    std::lock_guard lock(g_openedMutex);
    return g_opened;
}

int _access(const char* path, int /*mode*/)
{
    return ::access(Win32Host::ToHostPath(path).c_str(), F_OK) == 0 ? 0 : -1;
}

int fopen_s(FILE** file, const char* path, const char* mode)
{
    *file = std::fopen(Win32Host::ToHostPath(path).c_str(), mode);
    if (!*file)
        return errno ? errno : ENOENT;
    NoteOpened(path);
    return 0;
}

// Folder searches --------------------------------------------------------------------------------------------
// A search reads the whole folder at _findfirst, sorts the matches and hands them out one by one.

namespace {

struct FindState
{
    std::vector<_finddata_t> entries;
    std::size_t next = 0;
};

std::mutex g_findMutex;
std::map<intptr_t, FindState> g_finds;
intptr_t g_nextFind = 1;

bool TakeNext(FindState& state, _finddata_t* data)
{
    if (state.next >= state.entries.size())
        return false;
    *data = state.entries[state.next++];
    return true;
}

} // namespace

intptr_t _findfirst(const char* pattern, _finddata_t* data)
{
    const std::string host = Win32Host::ToHostPath(pattern);
    const std::size_t slash = host.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : host.substr(0, slash + 1);
    const std::string wildcard = slash == std::string::npos ? host : host.substr(slash + 1);

    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return -1;
    FindState state;
    while (dirent* entry = ::readdir(dir)) {
        if (!Win32Host::WildcardMatch(wildcard, entry->d_name))
            continue;
        _finddata_t found;
        found.name = entry->d_name;
        const std::string path = folder + found.name;
        struct stat info;
        if (::stat(path.c_str(), &info) == 0) {
            found.attrib = S_ISDIR(info.st_mode) ? _A_SUBDIR : 0;
            found.size = static_cast<std::uint64_t>(info.st_size);
        }
        if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode))
            found.attrib |= FILE_ATTRIBUTE_REPARSE_POINT;
        state.entries.push_back(std::move(found));
    }
    ::closedir(dir);
    std::sort(state.entries.begin(), state.entries.end(), [](const _finddata_t& a, const _finddata_t& b) {
        const int order = Win32Host::CompareNoCase(a.name, b.name);
        return order != 0 ? order < 0 : a.name < b.name;
    });
    if (!TakeNext(state, data))
        return -1;
    std::lock_guard lock(g_findMutex);
    const intptr_t handle = g_nextFind++;
    g_finds.emplace(handle, std::move(state));
    return handle;
}

int _findnext(intptr_t handle, _finddata_t* data)
{
    std::lock_guard lock(g_findMutex);
    auto it = g_finds.find(handle);
    return it != g_finds.end() && TakeNext(it->second, data) ? 0 : -1;
}

int _findclose(intptr_t handle)
{
    std::lock_guard lock(g_findMutex);
    return g_finds.erase(handle) ? 0 : -1;
}

// Kernel -----------------------------------------------------------------------------------------------------

BOOL CreateDirectoryA(LPCSTR path, LPVOID /*securityAttributes*/)
{
    return ::mkdir(Win32Host::ToHostPath(path).c_str(), 0777) == 0 ? TRUE : FALSE;
}

BOOL DeleteFileA(LPCSTR path)
{
    return ::unlink(Win32Host::ToHostEntryPath(path).c_str()) == 0 ? TRUE : FALSE;
}

namespace {

bool FlushToDisk(const std::string& path, int openFlags)
{
    const int descriptor = ::open(path.c_str(), openFlags | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    const bool flushed = ::fsync(descriptor) == 0;
    ::close(descriptor);
    return flushed;
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

BOOL MoveFileExA(LPCSTR existing, LPCSTR target, DWORD flags)
{
    const std::string from = Win32Host::ToHostPath(existing);
    const std::string to = Win32Host::ToHostPath(target);
    if (!(flags & MOVEFILE_REPLACE_EXISTING) && ::access(to.c_str(), F_OK) == 0)
        return FALSE;
    const bool writeThrough = (flags & MOVEFILE_WRITE_THROUGH) != 0;
    if (writeThrough && !FlushToDisk(from, O_RDONLY))
        return FALSE;
    if (std::rename(from.c_str(), to.c_str()) != 0)
        return FALSE;
    // The file is moved by now; a file system that cannot flush a folder keeps the move all the same.
    if (writeThrough)
        FlushToDisk(FolderOf(to), O_RDONLY | O_DIRECTORY);
    return TRUE;
}
