#include "ProfileTutorialFlags.h"

#include "Profile.h"

#include "engine/foundation/Error.h"
#include "engine/foundation/MessageManager.h"
#include "framework/ProfileManagerBase.h"

namespace Wispfold {

ProfileTutorialFlags::ProfileTutorialFlags(KeystrelEngine::MessageManager* log,
                                           const GameFramework::ProfileManagerBase& profiles)
    : m_log(log), m_profiles(profiles)
{
}

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
    try {
        profile->Save();
    } catch (const KeystrelEngine::FileError& error) {
        m_log->Error(error.GetText());
    }
}

} // namespace Wispfold
