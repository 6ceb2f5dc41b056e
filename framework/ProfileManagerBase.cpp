#include "ProfileManagerBase.h"

#include "AudioPlayer.h"
#include "engine/foundation/Error.h"
#include "engine/foundation/FileBinary.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/FileValues.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/SafeSave.h"
#include "engine/foundation/StringUtils.h"

#include <algorithm>

namespace GameFramework {

using KeystrelEngine::FileBinary;

ProfileManagerBase::ProfileManagerBase(KeystrelEngine::MessageManager* log, KeystrelEngine::FileManager* files,
                                       AudioPlayer* player, const std::string& baseFolder)
    : m_log(log), m_files(files), m_player(player), m_baseFolder(baseFolder), m_file(files, "ZRPMF", 100),
      m_listPath(baseFolder + "\\profiles.pmf")
{
}

ProfileManagerBase::~ProfileManagerBase() = default;

void ProfileManagerBase::ApplyProfileVolumes()
{
    if (!m_current)
        return;
    m_player->SetMusicVolume(m_current->m_volumes.music);
    m_player->SetSoundVolume(m_current->m_volumes.sound);
}

void ProfileManagerBase::LoadAll()
{
    LoadProfiles();
    Sort();
    const bool listReplaceable = LoadList();
    if (!m_current && !m_profiles.empty()) {
        m_current = m_profiles.front().get();
        if (listReplaceable)
            Save();
    }
}

// Only the files right in the profiles folder are profiles: the listing also descends into folders whose names
// end in ".prf". The temporaries of saves an earlier run left there go first.
void ProfileManagerBase::LoadProfiles()
{
    const std::string folder = m_baseFolder + "\\profiles";
    KeystrelEngine::RemoveStrayTemporaries(m_files->MakeDiskPath(folder));
    std::vector<std::string> paths;
    m_files->ListFiles(folder, "*.prf", paths);
    for (const std::string& path : paths) {
        if (KeystrelEngine::GetFolderPart(path) != folder)
            continue;
        try {
            m_profiles.push_back(CreateProfileFromFile(path.substr(path.find_last_of('\\') + 1)));
        } catch (const KeystrelEngine::Error&) {
            // Load has logged why; the profile is left out.
        }
    }
}

// A missing list is the first start. One that cannot be read is set aside as ".bad" before the fresh list
// replaces it, so that it is never lost. One that holds bytes after its last entry is copied to ".bad" and saved
// with its entries. A list that cannot be kept so stays as it is, and nothing is saved over it: false.
// A current name that names none of the profiles (its profile's file has gone or cannot be read, or a kill came
// between a rename's two saves) is no current profile, with one warning that keeps the name; the entries stay.
bool ProfileManagerBase::LoadList()
{
    const auto forget = [this] {
        m_current = nullptr;
        m_entries.clear();
    };
    const VersionedFile::Records records{.read = [this](FileBinary& file) { Read(file); },
                                         .mend = [this](KeystrelEngine::FileValues&) { WarnOfUnknownCurrent(); },
                                         .forget = forget,
                                         .write = [this](FileBinary& file) { Write(file); }};
    const VersionedFile::Loaded loaded =
        m_file.LoadPlayerFile(m_listPath, *m_log, records, VersionedFile::SetAsideUnreadable);
    if (loaded == VersionedFile::LoadedWhole && !m_unknownCurrentName.empty())
        Save();
    return loaded != VersionedFile::LoadedHeld;
}

// A current name that names no profile is warned of, not noted: the list is not damaged, so no copy of it is kept;
// LoadList saves it anew.
void ProfileManagerBase::WarnOfUnknownCurrent() const
{
    if (!m_unknownCurrentName.empty())
        m_log->Warning("The current profile \"" + KeystrelEngine::ToNarrow(m_unknownCurrentName) + "\" of \"" +
                       m_listPath + "\" is not among the profiles");
}

// The entries are appended as they are read: a count read from the file reserves nothing.
void ProfileManagerBase::Read(FileBinary& file)
{
    const std::u16string current = file.ReadWString();
    m_current = current.empty() ? nullptr : FindProfile(current);
    m_unknownCurrentName = m_current ? std::u16string() : current;
    const std::uint32_t count = file.ReadU32();
    for (std::uint32_t i = 0; i < count; ++i) {
        ProfileListEntry entry;
        entry.first = file.ReadU32();
        entry.second = file.ReadU32();
        entry.text = file.ReadWString();
        entry.third = file.ReadU32();
        m_entries.push_back(std::move(entry));
    }
}

void ProfileManagerBase::Write(FileBinary& file)
{
    WriteWString(file, m_current ? m_current->GetName() : std::u16string());
    WriteU32(file, static_cast<std::uint32_t>(m_entries.size()));
    for (const ProfileListEntry& entry : m_entries) {
        WriteU32(file, entry.first);
        WriteU32(file, entry.second);
        WriteWString(file, entry.text);
        WriteU32(file, entry.third);
    }
}

void ProfileManagerBase::SaveProfileVolumes(ProfileBase& profile)
{
    profile.m_volumes.music = m_player->GetMusicVolume();
    profile.m_volumes.sound = m_player->GetSoundVolume();
    profile.Save();
}

ProfileBase* ProfileManagerBase::FindProfile(const std::u16string& name) const
{
    const std::u16string folded = FoldProfileName(name);
    const auto found = std::find_if(m_profiles.begin(), m_profiles.end(),
                                    [&](const auto& profile) { return FoldProfileName(profile->GetName()) == folded; });
    return found != m_profiles.end() ? found->get() : nullptr;
}

ProfileBase* ProfileManagerBase::AddProfile(const std::u16string& name)
{
    if (ProfileBase* existing = FindProfile(name))
        return existing;
    std::unique_ptr<ProfileBase> created = CreateProfile(name);
    SaveProfileVolumes(*created);
    ProfileBase* profile = created.get();
    m_profiles.push_back(std::move(created));
    Sort();
    Save();
    return profile;
}

// The profile's file is saved before the list: a kill between the two leaves the list naming the old name, which
// the next start takes as no current profile (see LoadList).
void ProfileManagerBase::RenameProfile(const std::u16string& oldName, const std::u16string& newName)
{
    ProfileBase* profile = FindProfile(oldName);
    if (!profile || FindProfile(newName) || !profile->Rename(newName))
        return;
    Sort();
    Save();
}

// The list is saved before the profile's files go, so that every moment leaves a list naming a profile that is on
// disk: a kill between the two only brings the profile back at the next start. A list that cannot be saved keeps
// the profile, on disk and here.
void ProfileManagerBase::RemoveProfile(const std::u16string& name)
{
    const ProfileBase* profile = FindProfile(name);
    if (!profile)
        return;
    const auto found =
        std::find_if(m_profiles.begin(), m_profiles.end(), [&](const auto& held) { return held.get() == profile; });
    std::unique_ptr<ProfileBase> removed = std::move(*found);
    const auto place = m_profiles.erase(found);
    ProfileBase* const previous = m_current;
    if (m_current == profile)
        m_current = m_profiles.empty() ? nullptr : m_profiles.front().get();
    if (!Save()) {
        m_profiles.insert(place, std::move(removed));
        m_current = previous;
        return;
    }
    removed->DeleteFiles();
}

bool ProfileManagerBase::Save()
{
    return m_file.Save(m_listPath, [this](FileBinary& file) { Write(file); });
}

void ProfileManagerBase::Sort()
{
    std::stable_sort(m_profiles.begin(), m_profiles.end(),
                     [](const auto& a, const auto& b) { return ProfileNameLess(*a, *b); });
}

} // namespace GameFramework
