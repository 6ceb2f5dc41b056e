#include "framework/ProfileBase.h"

#include "engine/foundation/Error.h"
#include "engine/foundation/Random.h"
#include "platform/testing.h"
#include "tests/engine/foundation/EngineServices.h"
#include "tools/formats/ProfileFileWriter.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <regex>

using GameFramework::ProfileBase;
using TestSupport::Bytes;

namespace {

struct Profiles : TestSupport::EngineServices
{
    std::string folder = KeystrelEngine::FileManager::GetUserFolder() + "/Quellhaven";
    std::string profiles = folder + "/profiles/";

    std::unique_ptr<ProfileBase> Make(const std::u16string& name)
    {
        auto profile = std::make_unique<ProfileBase>(&log, &files, folder);
        profile->AssignFileName(name);
        return profile;
    }

    std::unique_ptr<ProfileBase> Load(const std::string& fileName)
    {
        auto profile = std::make_unique<ProfileBase>(&log, &files, folder, ProfileBase::FromFile);
        profile->Load(fileName);
        return profile;
    }

    // The digits the generator gives from the seed, as the file names draw them.
    static std::string Digits(std::uint32_t seed, int count)
    {
        const std::uint32_t kept = KeystrelEngine::RandomSeed;
        KeystrelEngine::RandomSeed = seed;
        std::string digits;
        for (int i = 0; i < count; ++i)
            digits += static_cast<char>('0' + KeystrelEngine::RandomNext() % 10);
        KeystrelEngine::RandomSeed = kept;
        return digits;
    }
};

// An engine path as the Linux file helpers take it.
std::string OnDisk(std::string path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

Formats::ProfileFile Example()
{
    Formats::ProfileFile file;
    file.name = u"Zoë";
    file.carriedValue = 7;
    file.score = 123456;
    file.currentStage = 2;
    file.currentLevel = 4;
    file.bestStage = 3;
    file.bestLevel = 1;
    file.finished = 1;
    file.results = {{1, 2, 2.5f}, {3, 4, 4.0f}};
    file.continueFlag = 1;
    file.musicVolume = 0.25f;
    file.soundVolume = 0.75f;
    return file;
}

} // namespace

TEST(ProfileBase, FileNamesComeFromTheLettersAndNeverTakeAnExistingFile)
{
    Profiles fixture;
    KeystrelEngine::RandomSeed = 42;
    const auto twoWords = fixture.Make(u"  abc defg  ");
    EXPECT_EQ(twoWords->GetName(), u"abc defg");
    EXPECT_EQ(twoWords->GetFileName(), "abcdefg_" + Profiles::Digits(42, 8) + ".prf");
    EXPECT_TRUE(twoWords->IsNew());
    EXPECT_TRUE(TestSupport::FileExists(fixture.profiles + twoWords->GetFileName()));

    const std::regex noLetters("_[0-9]{15}\\.prf");
    EXPECT_TRUE(std::regex_match(fixture.Make(u"12345")->GetFileName(), noLetters));
    // Cyrillic has no narrow form under 1252 and narrows to bytes above "z" under 1251.
    EXPECT_TRUE(std::regex_match(fixture.Make(u"Анна")->GetFileName(), noLetters));
    PlatformTesting::SetAnsiCodePage(1251);
    EXPECT_TRUE(std::regex_match(fixture.Make(u"Анна")->GetFileName(), noLetters));
    PlatformTesting::SetAnsiCodePage(1252);

    // Fifteen letters or more take no digits; the same letters again must not replace the first one's file.
    const auto first = fixture.Make(u"Abcdefghijklmnopqrst");
    EXPECT_EQ(first->GetFileName(), "abcdefghijklmnopqrst.prf");
    const Bytes firstFile = TestSupport::ReadFile(fixture.profiles + first->GetFileName());
    const auto second = fixture.Make(u"abcdefghij 42 klmnopqrst");
    EXPECT_TRUE(std::regex_match(second->GetFileName(), std::regex("abcdefghijklmnopqrst_[0-9]{8}\\.prf")));
    EXPECT_EQ(TestSupport::ReadFile(fixture.profiles + first->GetFileName()), firstFile);

    // Fourteen letters leave room for one digit: with all ten taken the name grows instead.
    for (char digit = '0'; digit <= '9'; ++digit)
        TestSupport::WriteFile(fixture.profiles + "abcdefghijklmn_" + digit + ".prf", "taken");
    EXPECT_TRUE(
        std::regex_match(fixture.Make(u"abcdefghijklmn")->GetFileName(), std::regex("abcdefghijklmn_[0-9]{8}\\.prf")));
    EXPECT_EQ(TestSupport::ReadFile(fixture.profiles + "abcdefghijklmn_3.prf"), TestSupport::ToBytes("taken"));
}

TEST(ProfileBase, EveryFieldRoundTripsInTheFileLayout)
{
    Profiles fixture;
    const Formats::ProfileFile example = Example();
    const auto profile = fixture.Make(u"Zoë");
    profile->m_carriedValue = example.carriedValue;
    profile->m_score = example.score;
    profile->m_currentLevel = {2, 4};
    profile->m_bestLevel = {9, 9};
    profile->m_results = {{1, 2, 2.5f}, {3, 4, 4.0f}};
    profile->m_continue = 1;
    profile->m_volumes = {0.75f, 0.25f};
    profile->RecordBestLevel({3, 1}, 1);
    const std::string path = fixture.profiles + profile->GetFileName();
    EXPECT_EQ(TestSupport::ReadFile(path), Formats::BuildProfileFile(example));

    const auto loaded = fixture.Load(profile->GetFileName());
    EXPECT_FALSE(loaded->IsNew());
    EXPECT_EQ(loaded->GetName(), u"Zoë");
    EXPECT_EQ(loaded->m_score, 123456u);
    EXPECT_EQ(loaded->m_bestLevel.stage, 3u);
    EXPECT_EQ(loaded->m_results.size(), 2u);
    EXPECT_FLOAT_EQ(loaded->GetResultsTotal(), 6.5f);
    EXPECT_FLOAT_EQ(loaded->m_volumes.sound, 0.75f);
    loaded->Save();
    EXPECT_EQ(TestSupport::ReadFile(path), Formats::BuildProfileFile(example));

    // A new name is trimmed and saved under the same file name.
    loaded->Rename(u" Zoë Lee\t");
    EXPECT_EQ(loaded->GetName(), u"Zoë Lee");
    EXPECT_EQ(fixture.Load(profile->GetFileName())->GetName(), u"Zoë Lee");
}

TEST(ProfileBase, UnreadableFilesThrowAnEmptyErrorAfterLoggingWhy)
{
    Profiles fixture;
    Formats::ProfileFile other = Example();
    other.version = 101;
    std::vector<Bytes> damaged{Formats::BuildProfileFile(other)};
    const Bytes whole = Formats::BuildProfileFile(Example());
    for (std::size_t size = 13; size < whole.size(); ++size) {
        Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
        Formats::SetLE32(cut, 0, static_cast<std::uint32_t>(size));
        damaged.push_back(cut);
    }
    for (const Bytes& bytes : damaged) {
        TestSupport::WriteFile(fixture.profiles + "damaged.prf", bytes);
        ProfileBase profile(&fixture.log, &fixture.files, fixture.folder, ProfileBase::FromFile);
        try {
            profile.Load("damaged.prf");
            ADD_FAILURE() << "a file of " << bytes.size() << " bytes loaded";
        } catch (const KeystrelEngine::FileError&) {
            ADD_FAILURE() << "the file error reached the caller";
        } catch (const KeystrelEngine::Error& error) {
            EXPECT_EQ(error.GetText(), "");
        }
        EXPECT_TRUE(profile.m_results.empty());
        EXPECT_EQ(TestSupport::ReadFile(fixture.profiles + "damaged.prf"), bytes);
    }
    EXPECT_TRUE(fixture.Logged("damaged.prf\" format version (101), current is 102"));
    EXPECT_THROW(fixture.Load("missing.prf"), KeystrelEngine::Error);
}

TEST(ProfileBase, DeletingTakesTheFileAndItsFolderAndNothingElse)
{
    // A user folder below a dotted folder, as "~/.local/share" is.
    const std::string kept = std::getenv("XDG_DATA_HOME");
    ::setenv("XDG_DATA_HOME", (TestSupport::FreshFolder("home") + "/.local/share").c_str(), 1);
    {
        Profiles fixture;
        const auto anna = fixture.Make(u"anna");
        const auto bob = fixture.Make(u"bob");
        TestSupport::WriteFile(fixture.profiles + "other.txt", "other");
        for (const auto* profile : {anna.get(), bob.get()})
            TestSupport::WriteFile(OnDisk(profile->GetProfileFolder()) + "/state.bin", "state");
        anna->DeleteFiles();
        EXPECT_FALSE(TestSupport::FileExists(fixture.profiles + anna->GetFileName()));
        EXPECT_FALSE(TestSupport::FileExists(OnDisk(anna->GetProfileFolder())));
        EXPECT_TRUE(TestSupport::FileExists(fixture.profiles + bob->GetFileName()));
        EXPECT_TRUE(TestSupport::FileExists(OnDisk(bob->GetProfileFolder()) + "/state.bin"));

        // The file ".prf" has no folder of its own: only the file goes.
        TestSupport::WriteFile(fixture.profiles + ".prf", Formats::BuildProfileFile(Example()));
        fixture.Load(".prf")->DeleteFiles();
        EXPECT_FALSE(TestSupport::FileExists(fixture.profiles + ".prf"));
        EXPECT_TRUE(TestSupport::FileExists(fixture.profiles + "other.txt"));
        EXPECT_TRUE(TestSupport::FileExists(OnDisk(bob->GetProfileFolder()) + "/state.bin"));
    }
    ::setenv("XDG_DATA_HOME", kept.c_str(), 1);
}
