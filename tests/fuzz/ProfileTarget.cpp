// A player's profile: the input is a profile file in the profiles folder, loaded as the profile manager loads it
// at start-up. A profile that loads holds volumes within 0 to 1 and finite results; it is saved and loaded again
// and must come back the same (its name cut to what a file can hold), without a word.
#include "tests/fuzz/FuzzFolder.h"
#include "tests/fuzz/FuzzTarget.h"

#include "engine/foundation/Error.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "framework/ProfileBase.h"
#include "tools/formats/ProfileFileWriter.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <string>

using GameFramework::ProfileBase;

namespace {

constexpr char kProfileFile[] = "user/profiles/fuzz.prf";

bool Sound(const ProfileBase& profile)
{
    using KeystrelEngine::FileValues;
    return Fuzzing::AllWithin(std::array{profile.m_volumes.music, profile.m_volumes.sound}, FileValues::kUnit) &&
           std::all_of(profile.m_results.begin(), profile.m_results.end(),
                       [](const auto& result) { return FileValues::kBounded.Holds(result.value); });
}

bool Same(const ProfileBase& a, const ProfileBase& b)
{
    const auto sameResult = [](const GameFramework::LevelResult& x, const GameFramework::LevelResult& y) {
        return x.first == y.first && x.second == y.second && std::memcmp(&x.value, &y.value, sizeof(float)) == 0;
    };
    return a.GetName().substr(0, 254) == b.GetName() && a.m_carriedValue == b.m_carriedValue &&
           a.m_score == b.m_score && a.m_currentLevel.stage == b.m_currentLevel.stage &&
           a.m_currentLevel.level == b.m_currentLevel.level && a.m_bestLevel.stage == b.m_bestLevel.stage &&
           a.m_bestLevel.level == b.m_bestLevel.level && a.m_finished == b.m_finished && a.m_continue == b.m_continue &&
           std::equal(a.m_results.begin(), a.m_results.end(), b.m_results.begin(), b.m_results.end(), sameResult) &&
           std::memcmp(&a.m_volumes, &b.m_volumes, sizeof(a.m_volumes)) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Fuzzing::FuzzFolder& folder = Fuzzing::FuzzFolder::Get();
    static KeystrelEngine::MessageManager log("", "Quellhaven", "", false, false);
    static KeystrelEngine::FileManager files(&log, folder.GetBase(), "Data");
    const std::string userFolder = folder.GetBase() + "/user";
    folder.Write(kProfileFile, data, size);
    ProfileBase profile(&log, &files, userFolder, ProfileBase::FromFile);
    try {
        profile.Load("fuzz.prf");
    } catch (const KeystrelEngine::Error&) {
        log.m_history.clear();
        return 0;
    }
    if (!Sound(profile))
        std::abort();
    profile.Save();
    log.m_history.clear();
    ProfileBase again(&log, &files, userFolder, ProfileBase::FromFile);
    again.Load("fuzz.prf");
    if (!Same(profile, again) || !Fuzzing::LoggedNoProblem(log))
        std::abort();
    log.m_history.clear();
    return 0;
}

void Fuzzing::WriteSeeds(SeedFolder& seeds)
{
    Formats::ProfileFile played;
    played.name = u"Ada";
    seeds.Add("new.prf", Formats::BuildProfileFile(played));
    played.name = u"Zoë Lee";
    played.carriedValue = 5;
    played.score = 123456;
    played.currentStage = 2;
    played.currentLevel = 4;
    played.bestStage = 3;
    played.bestLevel = 1;
    played.finished = 1;
    played.results = {{1, 2, 2.5f}, {3, 4, 4.0f}, {0, 0, -1.0f}};
    played.continueFlag = 1;
    played.musicVolume = 0.25f;
    played.soundVolume = 0.75f;
    seeds.Add("played.prf", Formats::BuildProfileFile(played));
    // The game's profile carries twelve flag bytes after the volumes.
    played.extra = Formats::Bytes(12, 1);
    seeds.Add("game.prf", Formats::BuildProfileFile(played));
    played.name = std::u16string(254, u'\u0416');
    seeds.Add("long-name.prf", Formats::BuildProfileFile(played));
}
