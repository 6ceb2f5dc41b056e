#include "UserFolderLock.h"

#include "platform/win32/Win32.h"

#include <cerrno>
#include <cstring>

namespace GameFramework {
namespace {

// Makes the folders of a file's path from the root down; the first one that is not there afterwards is the failure,
// named with the system's reason. A dangling link is not there: its target is missing.
std::string MakeFolders(const std::string& path)
{
    for (std::size_t at = path.find_first_of("\\/", 1); at != std::string::npos;
         at = path.find_first_of("\\/", at + 1)) {
        const std::string folder = path.substr(0, at);
        if (CreateDirectoryA(folder.c_str(), nullptr))
            continue;
        const int reason = errno;
        if (_access(folder.c_str(), 0) == 0)
            continue;
        return "Failed to create \"" + folder + "\" folder: " + std::strerror(reason == EEXIST ? errno : reason);
    }
    return {};
}

} // namespace

UserFolderLock::UserFolderLock(const std::string& path, const std::string& productName)
{
    m_failure = MakeFolders(path);
    if (!m_failure.empty())
        return;
    const int error = _sopen_s(&m_descriptor, path.c_str(), _O_RDWR | _O_CREAT, _SH_DENYNO, _S_IREAD | _S_IWRITE);
    if (error != 0) {
        m_failure = "Failed to create \"" + path + "\" file: " + std::strerror(error);
        return;
    }
    // A file system without locks lets the game run unlocked rather than not at all.
    if (_locking(m_descriptor, _LK_NBLCK, 1) == 0 || errno != EACCES)
        return;
    _close(m_descriptor);
    m_descriptor = -1;
    throw GameAlreadyRunning(productName + " is already running.", productName);
}

UserFolderLock::~UserFolderLock()
{
    if (m_descriptor >= 0)
        _close(m_descriptor);
}

} // namespace GameFramework
