#include "framework/ProfileManagerBase.h"

#include "engine/foundation/FileBinary.h"
#include "tests/framework/PlayerFixture.h"
#include "tools/formats/ProfileFileWriter.h"

#include <cerrno>
#include <filesystem>

using GameFramework::ProfileBase;
using TestSupport::Bytes;

namespace {

// The game's profile adds its own bytes after the base record's volumes.
class GameProfile : public ProfileBase
{
public:
    using ProfileBase::ProfileBase;

    void WriteExtra(KeystrelEngine::FileBinary& file) override
    {
        ProfileBase::WriteExtra(file);
        file.Write(static_cast<std::uint32_t>(flags.size()), flags.data());
    }

    void ReadExtra(KeystrelEngine::FileBinary& file) override
    {
        ProfileBase::ReadExtra(file);
        file.Read(static_cast<std::uint32_t>(flags.size()), flags.data());
    }

    std::array<std::uint8_t, 12> flags{};
};

class GameProfileManager : public GameFramework::ProfileManagerBase
{
public:
    using ProfileManagerBase::ProfileManagerBase;

    std::unique_ptr<ProfileBase> CreateProfileFromFile(const std::string& fileName) override
    {
        auto profile = std::make_unique<GameProfile>(m_log, m_files, m_baseFolder, ProfileBase::FromFile);
        profile->Load(fileName);
        return profile;
    }

    std::unique_ptr<ProfileBase> CreateProfile(const std::u16string& name) override
    {
        auto profile = std::make_unique<GameProfile>(m_log, m_files, m_baseFolder);
        profile->AssignFileName(name);
        return profile;
    }
};

// Managers over the user folder, with a player that keeps its volumes.
class ProfileManagerTest : public FrameworkTesting::PlayerFixture
{
protected:
    ProfileManagerTest()
    {
        player = std::make_unique<GameFramework::AudioPlayer>(&services.config, sounds.get(), &timers, 1.0f, 1.0f);
    }

    std::unique_ptr<GameProfileManager> LoadAll()
    {
        auto manager = std::make_unique<GameProfileManager>(&services.log, &services.files, player.get(), folder);
        manager->LoadAll();
        return manager;
    }

    static std::vector<std::u16string> NamesOf(const GameProfileManager& manager)
    {
        std::vector<std::u16string> names;
        for (const auto& profile : manager.GetProfiles())
            names.push_back(profile->GetName());
        return names;
    }

    static std::u16string CurrentName(const GameProfileManager& manager)
    {
        return manager.m_current ? manager.m_current->GetName() : u"(none)";
    }

    Bytes List() const { return TestSupport::ReadFile(listPath); }

    std::string folder = KeystrelEngine::FileManager::GetUserFolder() + "/Quellhaven";
    std::string listPath = folder + "/profiles.pmf";
};

using Names = std::vector<std::u16string>;

TEST_F(ProfileManagerTest, FirstStartWritesAnEmptyList)
{
    const auto manager = LoadAll();
    EXPECT_TRUE(manager->GetProfiles().empty());
    EXPECT_EQ(manager->m_current, nullptr);
    EXPECT_EQ(List(), Formats::BuildProfileListFile({}));
    EXPECT_FALSE(TestSupport::FileExists(listPath + ".bad"));
}

TEST_F(ProfileManagerTest, ProfilesSortWithoutCaseAndANameIsAddedOnce)
{
    auto manager = LoadAll();
    for (const char16_t* name : {u"bob", u"Alice", u"carol"})
        manager->AddProfile(name);
    EXPECT_EQ(NamesOf(*manager), (Names{u"Alice", u"bob", u"carol"}));
    const Bytes list = List();
    const ProfileBase* bob = manager->GetProfiles()[1].get();
    const Bytes bobFile = TestSupport::ReadFile(folder + "/profiles/" + bob->GetFileName());
    EXPECT_EQ(manager->AddProfile(u"BOB"), bob);
    EXPECT_EQ(manager->GetProfiles().size(), 3u);
    EXPECT_EQ(List(), list);
    EXPECT_EQ(TestSupport::ReadFile(folder + "/profiles/" + bob->GetFileName()), bobFile);

    // A rename to a name taken in any case does nothing; another one sorts the list again.
    manager->RenameProfile(u"carol", u"ALICE");
    manager->RenameProfile(u"nobody", u"Dan");
    EXPECT_EQ(NamesOf(*manager), (Names{u"Alice", u"bob", u"carol"}));
    manager->RenameProfile(u"carol", u" aaron ");
    EXPECT_EQ(NamesOf(*manager), (Names{u"aaron", u"Alice", u"bob"}));

    // Loading again finds the same profiles and makes the first current.
    manager = LoadAll();
    EXPECT_EQ(NamesOf(*manager), (Names{u"aaron", u"Alice", u"bob"}));
    EXPECT_EQ(CurrentName(*manager), u"aaron");
    EXPECT_EQ(List(), Formats::BuildProfileListFile({u"aaron", {}}));
}

TEST_F(ProfileManagerTest, RemovingTheCurrentProfileMakesTheFirstCurrent)
{
    auto manager = LoadAll();
    for (const char16_t* name : {u"bob", u"Alice", u"carol"})
        manager->AddProfile(name);
    manager->m_current = manager->FindProfile(u"BOB");
    const std::string bobFile = folder + "/profiles/" + manager->m_current->GetFileName();
    manager->RemoveProfile(u"nobody");
    manager->RemoveProfile(u"Bob");
    EXPECT_FALSE(TestSupport::FileExists(bobFile));
    EXPECT_EQ(NamesOf(*manager), (Names{u"Alice", u"carol"}));
    EXPECT_EQ(CurrentName(*manager), u"Alice");
    manager->RemoveProfile(u"carol");
    EXPECT_EQ(CurrentName(*manager), u"Alice");
    manager->RemoveProfile(u"alice");
    EXPECT_EQ(manager->m_current, nullptr);
    EXPECT_EQ(List(), Formats::BuildProfileListFile({}));
}

// Beside a profile: one with a dotted name, a folder differing from the profile's only in letter case, and two
// links named like profiles leading back: the listing finds both and ends; deleting the dotted one takes only its.
TEST_F(ProfileManagerTest, DeletingTakesOnlyTheProfilesOwnFilesAndListingIgnoresLinkLoops)
{
    const std::string profiles = folder + "/profiles/";
    auto made = LoadAll();
    std::string stem = made->AddProfile(u"ida")->GetFileName();
    stem.resize(stem.size() - 4);
    std::filesystem::rename(profiles + made->AddProfile(u"old ida")->GetFileName(), profiles + stem + ".old.prf");
    TestSupport::WriteFile(profiles + stem + "/state.bin", "ida's");
    const std::string twin = "IDA" + stem.substr(3) + ".OLD"; // "ida_" and digits in capitals
    TestSupport::WriteFile(profiles + twin + "/state.bin", "not a profile's");
    std::filesystem::create_directory_symlink(".", profiles + "loop.prf");
    std::filesystem::create_directory_symlink("../profiles", profiles + "back.prf");

    auto manager = LoadAll();
    EXPECT_EQ(NamesOf(*manager), (Names{u"ida", u"old ida"}));
    manager->RemoveProfile(u"old ida");
    EXPECT_FALSE(TestSupport::FileExists(profiles + stem + ".old.prf"));
    for (const std::string& kept : {stem + ".prf", stem + "/state.bin", twin + "/state.bin"})
        EXPECT_TRUE(TestSupport::FileExists(profiles + kept)) << kept;
}

TEST_F(ProfileManagerTest, TheListKeepsTheCurrentNameAndTheEntries)
{
    auto manager = LoadAll();
    manager->AddProfile(u"anna");
    manager->m_current = manager->AddProfile(u"Zed");
    manager->m_entries = {{1, 2, u"first", 3}, {4, 5, u"", 6}};
    manager->Save();
    const Formats::ProfileListFile expected{u"Zed", {{1, 2, u"first", 3}, {4, 5, u"", 6}}};
    EXPECT_EQ(List(), Formats::BuildProfileListFile(expected));
    manager = LoadAll();
    EXPECT_EQ(CurrentName(*manager), u"Zed");
    ASSERT_EQ(manager->m_entries.size(), 2u);
    EXPECT_EQ(manager->m_entries[0].text, u"first");
    EXPECT_EQ(manager->m_entries[1].third, 6u);
    EXPECT_EQ(List(), Formats::BuildProfileListFile(expected));

    // A current profile whose file is gone gives way to the first one, with one warning and no copy; unreadable
    // profiles are left out.
    manager->RemoveProfile(u"zed");
    TestSupport::WriteFile(listPath, Formats::BuildProfileListFile(expected));
    TestSupport::WriteFile(folder + "/profiles/broken.prf", Bytes(20, 0));
    manager = LoadAll();
    EXPECT_EQ(NamesOf(*manager), Names{u"anna"});
    EXPECT_EQ(CurrentName(*manager), u"anna");
    EXPECT_EQ(manager->m_entries.size(), 2u);
    EXPECT_TRUE(services.Logged("broken.prf\" file format"));
    EXPECT_TRUE(services.Logged("The current profile \"Zed\" of"));
    EXPECT_FALSE(TestSupport::FileExists(listPath + ".bad"));
    EXPECT_EQ(List(), Formats::BuildProfileListFile({u"anna", expected.entries}));
}

// The list's save failing stands for a kill between a profile's file and the list: a delete then deletes nothing,
// and a rename whose profile is saved leaves the list naming the old name, which the next start takes as no
// current profile. A profile that cannot be saved keeps its name.
TEST_F(ProfileManagerTest, EveryMomentBetweenAProfilesFileAndTheListLoads)
{
    using PlatformTesting::FileFault;
    auto manager = LoadAll();
    manager->AddProfile(u"anna");
    manager->m_current = manager->AddProfile(u"bob");
    manager->Save();
    const std::string bobFile = folder + "/profiles/" + manager->m_current->GetFileName();
    PlatformTesting::SetFileFault(FileFault::Create, ".prf", ENOSPC);
    manager->RenameProfile(u"bob", u"carl");
    PlatformTesting::SetFileFault(FileFault::Create, "", 0);
    PlatformTesting::SetFileFault(FileFault::Rename, "profiles.pmf", ENOSPC);
    manager->RemoveProfile(u"bob");
    EXPECT_TRUE(TestSupport::FileExists(bobFile));
    EXPECT_EQ(NamesOf(*manager), (Names{u"anna", u"bob"}));
    EXPECT_EQ(CurrentName(*manager), u"bob");
    manager->RenameProfile(u"bob", u"carl");
    PlatformTesting::SetFileFault(FileFault::Rename, "", 0);

    services.log.ClearHistory();
    manager = LoadAll();
    EXPECT_EQ(NamesOf(*manager), (Names{u"anna", u"carl"}));
    EXPECT_EQ(CurrentName(*manager), u"anna");
    EXPECT_EQ(services.log.m_history.size(), 1u);
    EXPECT_TRUE(
        services.Logged("The current profile \"bob\" of \"" + manager->GetListPath() + "\" is not among the profiles"));
    EXPECT_FALSE(TestSupport::FileExists(listPath + ".bad"));
    EXPECT_EQ(List(), Formats::BuildProfileListFile({u"anna", {}}));
}

TEST_F(ProfileManagerTest, AnUnreadableListIsKeptAsBadAndWrittenAnew)
{
    LoadAll()->AddProfile(u"anna");
    const Bytes whole = Formats::BuildProfileListFile({u"anna", {{1, 2, u"entry", 3}}});
    std::vector<Bytes> damaged;
    for (std::size_t size = 13; size < whole.size(); size += 3) {
        Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
        Formats::SetLE32(cut, 0, static_cast<std::uint32_t>(size));
        damaged.push_back(cut);
    }
    Bytes otherMagic = whole;
    otherMagic[4] = 'X';
    damaged.push_back(otherMagic);
    for (const Bytes& bytes : damaged) {
        TestSupport::WriteFile(listPath, bytes);
        const auto manager = LoadAll();
        EXPECT_TRUE(manager->m_entries.empty());
        EXPECT_EQ(CurrentName(*manager), u"anna");
        EXPECT_EQ(TestSupport::ReadFile(listPath + ".bad"), bytes);
        EXPECT_EQ(List(), Formats::BuildProfileListFile({u"anna", {}}));
    }

    // A list that cannot be set aside stays as it is: nothing is saved over it, and the players play on.
    std::filesystem::remove(listPath + ".bad");
    TestSupport::WriteFile(listPath, otherMagic);
    PlatformTesting::SetFileFault(PlatformTesting::FileFault::Rename, ".bad", EROFS);
    const auto manager = LoadAll();
    PlatformTesting::SetFileFault(PlatformTesting::FileFault::Rename, "", 0);
    EXPECT_EQ(CurrentName(*manager), u"anna");
    EXPECT_EQ(List(), otherMagic);
    EXPECT_FALSE(TestSupport::FileExists(listPath + ".bad"));
    EXPECT_TRUE(services.Logged("failed to keep the file as \"" + manager->GetListPath() +
                                ".bad\": Read-only file system; it is left as it is"));
}

TEST_F(ProfileManagerTest, VolumesMoveThroughThePlayerAndTheGameBytesFollowThem)
{
    auto manager = LoadAll();
    player->SetMusicVolume(0.25f);
    player->SetSoundVolume(0.5f);
    auto* anna = static_cast<GameProfile*>(manager->AddProfile(u"anna"));
    EXPECT_FLOAT_EQ(anna->m_volumes.music, 0.25f);
    EXPECT_FLOAT_EQ(anna->m_volumes.sound, 0.5f);
    const std::array<std::uint8_t, 12> flags{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    anna->flags = flags;
    player->SetMusicVolume(0.75f);
    manager->SaveProfileVolumes(*anna);

    Formats::ProfileFile expected;
    expected.name = u"anna";
    expected.musicVolume = 0.75f;
    expected.soundVolume = 0.5f;
    expected.extra = Bytes(flags.begin(), flags.end());
    EXPECT_EQ(TestSupport::ReadFile(folder + "/profiles/" + anna->GetFileName()), Formats::BuildProfileFile(expected));

    manager = LoadAll();
    player->SetMusicVolume(1.0f);
    player->SetSoundVolume(1.0f);
    manager->ApplyProfileVolumes();
    EXPECT_FLOAT_EQ(player->GetMusicVolume(), 0.75f);
    EXPECT_FLOAT_EQ(player->GetSoundVolume(), 0.5f);
    EXPECT_EQ(static_cast<GameProfile&>(*manager->m_current).flags, flags);
    manager->m_current = nullptr;
    player->SetMusicVolume(1.0f);
    manager->ApplyProfileVolumes();
    EXPECT_FLOAT_EQ(player->GetMusicVolume(), 1.0f);
}

} // namespace
