// Every player profile of the user folder, the current one, and the profile list file "profiles.pmf" beside the
// "profiles" folder, which names the current profile and keeps entries for the game. It creates, renames and
// deletes profiles for the profile windows and moves the volumes between the current profile and the sound and
// music player. The game derives its manager from this class and supplies the two profile factories.
#pragma once

#include "ProfileBase.h"
#include "VersionedFile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace KeystrelEngine {
class FileBinary;
class FileManager;
class MessageManager;
} // namespace KeystrelEngine

namespace GameFramework {

class AudioPlayer;

// The base reads, writes and clears the entries and gives them no meaning.
struct ProfileListEntry
{
    std::uint32_t first = 0;
    std::uint32_t second = 0;
    std::u16string text;
    std::uint32_t third = 0;
};

class ProfileManagerBase
{
public:
    ProfileManagerBase(KeystrelEngine::MessageManager* log, KeystrelEngine::FileManager* files, AudioPlayer* player,
                       const std::string& baseFolder);
    virtual ~ProfileManagerBase();

    ProfileManagerBase(const ProfileManagerBase&) = delete;
    ProfileManagerBase& operator=(const ProfileManagerBase&) = delete;

    // The current profile's volumes go to the player.
    virtual void ApplyProfileVolumes();
    // Reads every profile file and the profile list. A profile that cannot be read is left out; a list that
    // cannot be read is set aside as ".bad" and written anew. A current name that names none of the profiles is
    // taken as no current profile, with one warning. Then the first profile becomes current when none is.
    virtual void LoadAll();
    // A new profile read from the profile file of that name.
    virtual std::unique_ptr<ProfileBase> CreateProfileFromFile(const std::string& fileName) = 0;
    // A new profile made from the name, saved.
    virtual std::unique_ptr<ProfileBase> CreateProfile(const std::u16string& name) = 0;
    virtual void Write(KeystrelEngine::FileBinary& file);
    virtual void Read(KeystrelEngine::FileBinary& file);
    // The player's volumes go into the profile, which is saved.
    virtual void SaveProfileVolumes(ProfileBase& profile);

    // The first profile whose name equals the name when both are lower-cased; null with none.
    ProfileBase* FindProfile(const std::u16string& name) const;
    // The profile of that name when there is one; otherwise a new one with the player's volumes. The list file
    // is saved; the caller makes the profile current.
    ProfileBase* AddProfile(const std::u16string& name);
    // Nothing when a profile has the new name already or none has the old one, or when the profile cannot be saved.
    void RenameProfile(const std::u16string& oldName, const std::u16string& newName);
    // Deletes the profile and its files; the first profile left becomes current when it was. Nothing is deleted
    // when the list cannot be saved.
    void RemoveProfile(const std::u16string& name);
    // False when the file could not be saved (the log says why); the previous file then stays.
    bool Save();

    const std::vector<std::unique_ptr<ProfileBase>>& GetProfiles() const { return m_profiles; }
    const std::string& GetListPath() const { return m_listPath; }

    ProfileBase* m_current = nullptr; // one of the profiles, or null
    std::vector<ProfileListEntry> m_entries;

protected:
    KeystrelEngine::MessageManager* m_log;
    KeystrelEngine::FileManager* m_files;
    AudioPlayer* m_player; // not owned
    std::string m_baseFolder;

private:
    void LoadProfiles();
    bool LoadList();
    void WarnOfUnknownCurrent() const;
    void Sort();

    VersionedFile m_file;
    std::vector<std::unique_ptr<ProfileBase>> m_profiles; // by ProfileNameLess
    std::u16string m_unknownCurrentName; // the current name of the list read last when it names no profile
    std::string m_listPath;
};

} // namespace GameFramework
