// The base of the window in which a player enters the name of a new profile. Its game window reports
// RequestProfiles once the profile is made (or on cancel), RequestNameTaken when the name belongs to a profile
// already, and RequestQuit when the player leaves while no profile exists.
#pragma once

#include <cstdint>
#include <string>

namespace GameFramework {

class ProfileManagerBase;

class GUINewProfileWindowBase
{
public:
    explicit GUINewProfileWindowBase(ProfileManagerBase* profiles);
    virtual ~GUINewProfileWindowBase();

    GUINewProfileWindowBase(const GUINewProfileWindowBase&) = delete;
    GUINewProfileWindowBase& operator=(const GUINewProfileWindowBase&) = delete;

    // Clears the request; the game's window calls this first and then stores its own.
    virtual void Update();
    // The flag tells the game's window whether to clear the typed name; the base has no use for it.
    virtual void Open(std::int32_t clear);
    virtual void Close();

    // False, changing nothing, when a profile of that name exists (letter case does not count). Otherwise the
    // new profile becomes the current one and the profile list is saved.
    bool CreateProfile(const std::u16string& name);

    std::uint32_t m_result = 0; // a WindowRequest; 0 asks for nothing

protected:
    ProfileManagerBase* m_profiles;
};

} // namespace GameFramework
