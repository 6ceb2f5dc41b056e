#include "ProfileManager.h"

#include "Profile.h"

namespace Wispfold {

ProfileManager::ProfileManager(KeystrelEngine::MessageManager* log, KeystrelEngine::FileManager* files,
                               GameFramework::AudioPlayer* player, const std::string& baseFolder,
                               const GameFramework::LevelManagerBase* catalogue)
    : ProfileManagerBase(log, files, player, baseFolder), m_catalogue(catalogue)
{
    LoadAll();
}

std::unique_ptr<GameFramework::ProfileBase> ProfileManager::CreateProfileFromFile(const std::string& fileName)
{
    return std::make_unique<Profile>(m_log, m_files, m_baseFolder, fileName, m_catalogue);
}

std::unique_ptr<GameFramework::ProfileBase> ProfileManager::CreateProfile(const std::u16string& name)
{
    return std::make_unique<Profile>(m_log, m_files, m_baseFolder, name);
}

} // namespace Wispfold
