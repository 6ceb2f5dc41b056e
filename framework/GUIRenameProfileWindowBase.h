// The base of the window in which the player renames the current profile. It keeps the name the profile had
// when the window was opened from the list. Its game window reports RequestProfiles once renamed (or on
// cancel) and RequestNameTaken when another profile has the entered name.
#pragma once

#include <cstdint>
#include <string>

namespace GameFramework {

class ProfileManagerBase;

class GUIRenameProfileWindowBase
{
public:
    explicit GUIRenameProfileWindowBase(ProfileManagerBase* profiles);
    virtual ~GUIRenameProfileWindowBase();

    GUIRenameProfileWindowBase(const GUIRenameProfileWindowBase&) = delete;
    GUIRenameProfileWindowBase& operator=(const GUIRenameProfileWindowBase&) = delete;

    // Clears the request; the game's window calls this first and then stores its own.
    virtual void Update();
    // Keeps the name when asked to; coming back from the name-conflict window keeps the earlier one.
    virtual void Open(bool keepName, const std::u16string& name);
    virtual void Close();

    // True without renaming when the name differs from the kept one in letter case only (the profile keeps its
    // spelling); false when another profile has the name, or when there is no current profile to rename;
    // otherwise the current profile takes the name and the list is saved.
    bool RenameProfile(const std::u16string& name);

    std::uint32_t m_result = 0;   // a WindowRequest; 0 asks for nothing
    std::u16string m_profileName; // as opened

protected:
    ProfileManagerBase* m_profiles;
};

} // namespace GameFramework
