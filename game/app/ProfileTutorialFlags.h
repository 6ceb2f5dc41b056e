// The tutorial's flags in the current player's profile: the profile's tutorial hints (game flags 4 to 11). A
// cleared flag is saved at once; a profile that cannot be saved keeps the flag cleared for this run (the save
// logs the failure).
#pragma once

#include "game/play/TutorialFlags.h"

namespace GameFramework {
class ProfileManagerBase;
}

namespace Wispfold {

class Profile;

class ProfileTutorialFlags : public TutorialFlags
{
public:
    // The profiles are the game's, so the current one, when there is one, is a Profile.
    explicit ProfileTutorialFlags(const GameFramework::ProfileManagerBase& profiles);

    bool IsPending(std::uint32_t flag) const override;
    void ClearAndSave(std::uint32_t flag) override;

private:
    Profile* Current() const;

    const GameFramework::ProfileManagerBase& m_profiles;
};

} // namespace Wispfold
