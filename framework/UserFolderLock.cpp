#include "UserFolderLock.h"

#include "engine/foundation/FileManager.h"
#include "engine/foundation/StringUtils.h"
#include "platform/win32/Win32.h"

#include <cerrno>
#include <cstring>

namespace GameFramework {

UserFolderLock::UserFolderLock(const std::string& path, const std::string& productName)
{
    m_failure = KeystrelEngine::FileManager::CreateDirectories(path);
    if (!m_failure.empty())
        return;
    const int error = _sopen_s(&m_descriptor, path.c_str(), _O_RDWR | _O_CREAT, _SH_DENYNO, _S_IREAD | _S_IWRITE);
    if (error != 0) {
        m_failure = "Failed to create \"" + KeystrelEngine::ToMessagePath(path) + "\" file: " + std::strerror(error);
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
