// The profile list: the input is "profiles.pmf" of the user folder, loaded with every profile of the profiles
// folder as at start-up (an unreadable list is set aside and written anew). A manager loading what was saved
// must find the same current profile and entries (texts cut to what a file can hold), without a word.
#include "tests/fuzz/FuzzFolder.h"
#include "tests/fuzz/FuzzTarget.h"

#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "framework/ProfileManagerBase.h"
#include "tools/formats/ProfileFileWriter.h"

#include <cstdlib>
#include <string>
#include <utility>

using GameFramework::ProfileBase;
using GameFramework::ProfileManagerBase;

namespace {

constexpr char kListFile[] = "user/profiles.pmf";

// The game's manager as far as loading goes: profiles come from their files only.
class FuzzProfileManager : public ProfileManagerBase
{
public:
    using ProfileManagerBase::ProfileManagerBase;

    std::unique_ptr<ProfileBase> CreateProfileFromFile(const std::string& fileName) override
    {
        auto profile = std::make_unique<ProfileBase>(m_log, m_files, m_baseFolder, ProfileBase::FromFile);
        profile->Load(fileName);
        return profile;
    }

    std::unique_ptr<ProfileBase> CreateProfile(const std::u16string&) override { std::abort(); }
};

// The profiles the lists name, written once for the whole run.
void WriteProfiles(const Fuzzing::FuzzFolder& folder)
{
    const std::pair<const char*, const char16_t*> profiles[] = {
        {"ada_123456789012.prf", u"Ada"}, {"bob_123456789012.prf", u"bob"}, {"zo_1234567890123.prf", u"Zoë"}};
    Formats::ProfileFile profile;
    for (const auto& [fileName, name] : profiles) {
        profile.name = name;
        folder.Write(std::string("user/profiles/") + fileName, Formats::BuildProfileFile(profile));
    }
}

bool SameList(const ProfileManagerBase& saved, const ProfileManagerBase& loaded)
{
    if (saved.m_current != nullptr) {
        if (!loaded.m_current || saved.m_current->GetName() != loaded.m_current->GetName())
            return false;
    }
    if (saved.m_entries.size() != loaded.m_entries.size())
        return false;
    for (std::size_t i = 0; i < saved.m_entries.size(); ++i) {
        const auto& a = saved.m_entries[i];
        const auto& b = loaded.m_entries[i];
        if (a.first != b.first || a.second != b.second || a.text.substr(0, 254) != b.text || a.third != b.third)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Fuzzing::FuzzFolder& folder = Fuzzing::FuzzFolder::Get();
    static KeystrelEngine::MessageManager log("", "Quellhaven", "", false, false);
    static KeystrelEngine::FileManager files(&log, folder.GetBase(), "Data");
    static const bool written = (WriteProfiles(folder), true);
    (void)written;
    const std::string userFolder = folder.GetBase() + "/user";
    folder.Write(kListFile, data, size);
    FuzzProfileManager manager(&log, &files, nullptr, userFolder);
    manager.LoadAll();
    manager.Save();
    log.m_history.clear();
    FuzzProfileManager again(&log, &files, nullptr, userFolder);
    again.LoadAll();
    if (manager.GetProfiles().size() != 3 || !SameList(manager, again) || !Fuzzing::LoggedNoProblem(log))
        std::abort();
    log.m_history.clear();
    return 0;
}

void Fuzzing::WriteSeeds(SeedFolder& seeds)
{
    seeds.Add("empty.pmf", Formats::BuildProfileListFile({}));
    seeds.Add("current.pmf", Formats::BuildProfileListFile({u"BOB", {}}));
    seeds.Add("gone.pmf", Formats::BuildProfileListFile({u"Nobody", {{1, 2, u"x", 3}}}));
    seeds.Add("entries.pmf",
              Formats::BuildProfileListFile({u"Zoë", {{1, 2, u"first", 3}, {4, 5, u"", 6}, {7, 8, u"Ж", 9}}}));
    seeds.Add("long-text.pmf", Formats::BuildProfileListFile({u"ada", {{0, 0, std::u16string(254, u'q'), 0}}}));
}
