#include "platform/win32/Files.h"

#include "platform/testing.h"
#include "platform/win32/HostPath.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
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

struct ScriptedFault
{
    std::string part;
    int error = 0;
};

std::mutex g_faultMutex;
ScriptedFault g_faults[2];

// The error a test scripted for this call, 0 when it runs for real; errno is set to it.
int Fault(PlatformTesting::FileFault kind, const std::string& hostPath)
{
    std::lock_guard lock(g_faultMutex);
    const ScriptedFault& fault = g_faults[static_cast<int>(kind)];
    if (fault.error == 0 || hostPath.find(fault.part) == std::string::npos)
        return 0;
    errno = fault.error;
    return fault.error;
}

bool IsWritingMode(const char* mode)
{
    return std::strpbrk(mode, "wa+") != nullptr;
}

// The 'x' of a writing mode: created exclusively, never through a link.
std::FILE* OpenExclusive(const std::string& path)
{
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (descriptor < 0)
        return nullptr;
    std::FILE* file = ::fdopen(descriptor, "wb");
    if (!file) {
        const int error = errno;
        ::close(descriptor);
        errno = error;
    }
    return file;
}

} // namespace

void PlatformTesting::SetFileFault(FileFault kind, const std::string& part, int error)
{
    std::lock_guard lock(g_faultMutex);
    g_faults[static_cast<int>(kind)] = {part, error};
}

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
    *file = nullptr;
    const std::string host = Win32Host::ToHostPath(path);
    if (IsWritingMode(mode) && Fault(PlatformTesting::FileFault::Create, host))
        return errno;
    errno = 0;
    *file = std::strchr(mode, 'x') ? OpenExclusive(host) : std::fopen(host.c_str(), mode);
    if (!*file)
        return errno ? errno : ENOENT;
    NoteOpened(path);
    return 0;
}

int _sopen_s(int* descriptor, const char* path, int openFlags, int /*shareFlags*/, int permission)
{
    *descriptor = -1;
    const std::string host = Win32Host::ToHostPath(path);
    if ((openFlags & _O_CREAT) && Fault(PlatformTesting::FileFault::Create, host))
        return errno;
    const int flags =
        O_NOFOLLOW | O_CLOEXEC | ((openFlags & _O_RDWR) ? O_RDWR : O_RDONLY) | ((openFlags & _O_CREAT) ? O_CREAT : 0);
    *descriptor = ::open(host.c_str(), flags, (permission & _S_IWRITE) ? 0666 : 0444);
    return *descriptor < 0 ? errno : 0;
}

int _close(int descriptor)
{
    return ::close(descriptor);
}

// An open-file-description lock: owned by this opening rather than by the process, released with it.
int _locking(int descriptor, int mode, long count)
{
    if (mode != _LK_NBLCK) {
        errno = EINVAL;
        return -1;
    }
    struct flock range = {};
    range.l_type = F_WRLCK;
    range.l_whence = SEEK_CUR;
    range.l_len = count;
    if (::fcntl(descriptor, F_OFD_SETLK, &range) == 0)
        return 0;
    if (errno == EAGAIN)
        errno = EACCES;
    return -1;
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
    const std::string host = Win32Host::ToHostPath(path);
    if (Fault(PlatformTesting::FileFault::Create, host))
        return FALSE;
    return ::mkdir(host.c_str(), 0777) == 0 ? TRUE : FALSE;
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
    if (Fault(PlatformTesting::FileFault::Rename, from) || Fault(PlatformTesting::FileFault::Rename, to))
        return FALSE;
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
