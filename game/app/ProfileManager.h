// The framework's profile manager making this game's profiles. It reads every profile and the profile list as
// it is made; a profile read from its file has its levels mended to the catalogue's when one is given.
#pragma once

#include "framework/ProfileManagerBase.h"

namespace Wispfold {

class ProfileManager : public GameFramework::ProfileManagerBase
{
public:
    ProfileManager(KeystrelEngine::MessageManager* log, KeystrelEngine::FileManager* files,
                   GameFramework::AudioPlayer* player, const std::string& baseFolder,
                   const GameFramework::LevelManagerBase* catalogue = nullptr);

    std::unique_ptr<GameFramework::ProfileBase> CreateProfileFromFile(const std::string& fileName) override;
    std::unique_ptr<GameFramework::ProfileBase> CreateProfile(const std::u16string& name) override;

private:
    const GameFramework::LevelManagerBase* m_catalogue;
};

} // namespace Wispfold
