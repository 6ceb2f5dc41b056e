// One game per user folder. While a game runs it holds the system's advisory lock on a file in its user folder; a
// second start on the same folder finds the lock taken and ends before it touches any file. The system drops the
// lock when the holder ends, however it ends, so a crash never locks the player out.
#pragma once

#include "engine/foundation/Error.h"

#include <string>

namespace GameFramework {

// Thrown when another game holds the user folder; the loader shows the text and the program ends normally.
class GameAlreadyRunning : public KeystrelEngine::Error
{
public:
    GameAlreadyRunning(std::string text, std::string caption) : Error(std::move(text)), m_caption(std::move(caption)) {}

    const std::string& GetCaption() const { return m_caption; }

private:
    std::string m_caption;
};

class UserFolderLock
{
public:
    // Makes the folders of path (the first start has none yet), then opens the lock file path and takes its lock.
    // Throws GameAlreadyRunning (text "<productName> is already running.") when another game holds it. A folder or
    // lock file that cannot be made (a read-only or full folder, a dangling link) leaves the game unlocked, with the
    // reason.
    UserFolderLock(const std::string& path, const std::string& productName);
    ~UserFolderLock();

    UserFolderLock(const UserFolderLock&) = delete;
    UserFolderLock& operator=(const UserFolderLock&) = delete;

    // Why the lock file could not be made, naming the folder or the file that failed and the system's reason; empty
    // when it was.
    const std::string& GetFailure() const { return m_failure; }

private:
    int m_descriptor = -1;
    std::string m_failure;
};

} // namespace GameFramework
