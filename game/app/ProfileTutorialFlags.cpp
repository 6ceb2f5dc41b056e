#include "ProfileTutorialFlags.h"

#include "Profile.h"

#include "framework/ProfileManagerBase.h"

namespace Wispfold {

ProfileTutorialFlags::ProfileTutorialFlags(const GameFramework::ProfileManagerBase& profiles) : m_profiles(profiles) {}

Profile* ProfileTutorialFlags::Current() const
{
    return static_cast<Profile*>(m_profiles.m_current);
}

bool ProfileTutorialFlags::IsPending(std::uint32_t flag) const
{
    const Profile* profile = Current();
    return profile && flag < Profile::FlagCount && profile->GetFlag(static_cast<Profile::Flag>(flag));
}

void ProfileTutorialFlags::ClearAndSave(std::uint32_t flag)
{
    Profile* profile = Current();
    if (!profile || flag >= Profile::FlagCount)
        return;
    profile->SetFlag(static_cast<Profile::Flag>(flag), false);
    profile->Save();
}

} // namespace Wispfold
