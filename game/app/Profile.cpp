#include "Profile.h"

#include "engine/foundation/FileBinary.h"
#include "framework/VersionedFile.h"

namespace Wispfold {

Profile::Profile(KeystrelEngine::MessageManager* log, KeystrelEngine::FileManager* files, const std::string& baseFolder,
                 const std::u16string& name)
    : ProfileBase(log, files, baseFolder, NewProfile)
{
    AssignFileName(name);
}

Profile::Profile(KeystrelEngine::MessageManager* log, KeystrelEngine::FileManager* files, const std::string& baseFolder,
                 const std::string& fileName, const GameFramework::LevelManagerBase* catalogue)
    : ProfileBase(log, files, baseFolder, FromFile, catalogue)
{
    Load(fileName);
}

void Profile::AssignFileName(const std::u16string& name)
{
    m_flags.fill(true);
    m_flags[RelaxMode] = false;
    ProfileBase::AssignFileName(name);
}

void Profile::Write(KeystrelEngine::FileBinary& file)
{
    ProfileBase::Write(file);
    for (const bool flag : m_flags)
        GameFramework::WriteU8(file, flag ? 1 : 0);
}

// The flags change only once all twelve bytes are read: a file that ends inside them leaves them as they were.
void Profile::Read(KeystrelEngine::FileBinary& file)
{
    ProfileBase::Read(file);
    std::array<bool, FlagCount> flags{};
    for (bool& flag : flags)
        flag = GameFramework::ReadU8(file) != 0;
    m_flags = flags;
}

} // namespace Wispfold
