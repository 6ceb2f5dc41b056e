// The game's profile: twelve flag bytes right after the framework's record, made by the game's profile manager.
#include "game/app/Profile.h"
#include "game/app/ProfileManager.h"

#include "tests/framework/PlayerFixture.h"
#include "tools/formats/ProfileFileWriter.h"

using TestSupport::Bytes;
using Wispfold::Profile;

namespace {

const Bytes kNewFlags{0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};

class ProfileTest : public FrameworkTesting::PlayerFixture
{
protected:
    ProfileTest()
    {
        player = std::make_unique<GameFramework::AudioPlayer>(&services.config, sounds.get(), &timers, 1.0f, 1.0f);
    }

    std::unique_ptr<Wispfold::ProfileManager> Manager()
    {
        return std::make_unique<Wispfold::ProfileManager>(&services.log, &services.files, player.get(), folder);
    }

    std::unique_ptr<Profile> Load(const std::string& fileName)
    {
        return std::make_unique<Profile>(&services.log, &services.files, folder, fileName);
    }

    Bytes FileOf(const GameFramework::ProfileBase& profile) const
    {
        return TestSupport::ReadFile(profiles + profile.GetFileName());
    }

    static Bytes Expected(const std::u16string& name, const Bytes& flags)
    {
        Formats::ProfileFile file;
        file.name = name;
        file.extra = flags;
        return Formats::BuildProfileFile(file);
    }

    std::string folder = KeystrelEngine::FileManager::GetUserFolder() + "/Quellhaven";
    std::string profiles = folder + "/profiles/";
};

TEST_F(ProfileTest, NewProfilesWriteTheFlagsOfANewPlayerAfterTheRecordAndTheManagerMakesThem)
{
    auto manager = Manager();
    auto* anna = dynamic_cast<Profile*>(manager->AddProfile(u"anna"));
    ASSERT_NE(anna, nullptr);
    EXPECT_EQ(FileOf(*anna), Expected(u"anna", kNewFlags));
    EXPECT_FALSE(anna->GetFlag(Profile::RelaxMode));
    for (std::size_t hint = 0; hint < Profile::kTutorialHintCount; ++hint)
        EXPECT_TRUE(anna->IsTutorialHintPending(hint));

    // Made again from its file by the next manager, with the flags as saved.
    anna->SetFlag(Profile::IntroductionPending, false);
    anna->Save();
    manager = Manager();
    ASSERT_EQ(manager->GetProfiles().size(), 1u);
    const auto* loaded = dynamic_cast<const Profile*>(manager->GetProfiles()[0].get());
    ASSERT_NE(loaded, nullptr);
    EXPECT_FALSE(loaded->GetFlag(Profile::IntroductionPending));
    EXPECT_TRUE(loaded->GetFlag(Profile::EndingPending));
}

TEST_F(ProfileTest, FlagsRoundTripAreKeptByResetAndReadAnyNonZeroByteAsSet)
{
    Profile made(&services.log, &services.files, folder, u"bob");
    const Bytes pattern{1, 0, 1, 0, 0, 1, 1, 0, 1, 0, 0, 1};
    for (std::size_t i = 0; i < Profile::FlagCount; ++i)
        made.SetFlag(static_cast<Profile::Flag>(i), pattern[i] != 0);
    made.Reset();
    made.Save();
    EXPECT_EQ(FileOf(made), Expected(u"bob", pattern));
    const auto loaded = Load(made.GetFileName());
    for (std::size_t i = 0; i < Profile::FlagCount; ++i)
        EXPECT_EQ(loaded->GetFlag(static_cast<Profile::Flag>(i)), pattern[i] != 0) << i;
    loaded->Save();
    EXPECT_EQ(FileOf(*loaded), Expected(u"bob", pattern));

    // Other non-zero bytes read as set and are written back as 1.
    TestSupport::WriteFile(profiles + "odd.prf", Expected(u"odd", {2, 0, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0x80}));
    const auto odd = Load("odd.prf");
    EXPECT_TRUE(odd->GetFlag(Profile::RelaxMode));
    EXPECT_TRUE(odd->GetFlag(Profile::IntroductionPending));
    EXPECT_TRUE(odd->IsTutorialHintPending(7));
    odd->Save();
    EXPECT_EQ(FileOf(*odd), Expected(u"odd", {1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1}));
}

TEST_F(ProfileTest, AFileEndingInsideTheFlagsIsLeftOutAndKept)
{
    TestSupport::WriteFile(profiles + "whole.prf", Expected(u"whole", kNewFlags));
    for (std::size_t kept = 0; kept < kNewFlags.size(); ++kept) {
        SCOPED_TRACE(kept);
        Bytes cut = Expected(u"short", Bytes(kNewFlags.begin(), kNewFlags.begin() + static_cast<std::ptrdiff_t>(kept)));
        TestSupport::WriteFile(profiles + "short.prf", cut);
        const auto manager = Manager();
        ASSERT_EQ(manager->GetProfiles().size(), 1u);
        EXPECT_EQ(manager->GetProfiles()[0]->GetName(), u"whole");
        EXPECT_EQ(TestSupport::ReadFile(profiles + "short.prf"), cut);
    }
    EXPECT_TRUE(services.Logged("short.prf"));
}

} // namespace
