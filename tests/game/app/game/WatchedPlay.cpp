#include "tests/game/app/game/WatchedPlay.h"

#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "engine/gui/Engine.h"
#include "framework/GameBase.h"
#include "game/app/Profile.h"
#include "game/app/ProfileManager.h"
#include "game/play/LevelManager.h"
#include "platform/testing.h"
#include "tests/game/app/game/PrintedTextAudit.h"
#include "tests/game/app/game/RandomPlayer.h"

#include <algorithm>
#include <sstream>

namespace GameTesting {
namespace {

using GameFramework::LevelId;

constexpr std::uint32_t kPointsPerLevel = 4000;

// What the game saves when a level is won: the next level current, saved; the best level; the level's points
// and the continue flag, saved again.
void SaveWonLevel(Wispfold::Profile& player, LevelId next)
{
    player.m_currentLevel = next;
    player.Save();
    GameFramework::GameBase::RecordBestLevel(player, next, false);
    player.m_score += kPointsPerLevel;
    player.m_continue = 1;
    player.Save();
}

// The player's next level is the last level of the last stage, or so many levels before it in that stage.
void SaveGameNearTheEnd(std::uint32_t levelsBefore)
{
    KeystrelEngine::MessageManager log("", "Saved game", "", false, false);
    KeystrelEngine::FileManager files(&log, "", "Data");
    const std::string folder = KeystrelEngine::FileManager::GetUserFolder() + "\\Tarrowby Games\\Quellhaven";
    const Wispfold::LevelManager levels(&log, &files);
    const std::uint32_t stage = levels.GetStageCount() - 1;
    const std::uint32_t lastLevel = levels.GetStage(stage).levelCount - 1;
    const LevelId start{stage, lastLevel - std::min(lastLevel, levelsBefore)};
    const std::u16string name = u"Wren";
    Wispfold::Profile player(&log, &files, folder, name);
    player.SetFlag(Wispfold::Profile::IntroductionPending, false);
    player.Save();
    for (LevelId next{}; next.stage != start.stage || next.level != start.level;) {
        const bool lastOfStage = next.level + 1 == levels.GetStage(next.stage).levelCount;
        next = lastOfStage ? LevelId{next.stage + 1, 0} : LevelId{next.stage, next.level + 1};
        SaveWonLevel(player, next);
    }
    Wispfold::ProfileManager profiles(&log, &files, nullptr, folder);
    profiles.m_current = profiles.FindProfile(name);
    profiles.Save();
}

} // namespace

WatchedPlay::Report WatchedPlay::PlaySeed(std::uint32_t seed, int frames)
{
    TestSupport::WriteFile(UserFolder() + "Quellhaven.ini", "v_mode 800x600x32\n");
    PlatformTesting::FailCreateThread(true);
    RandomPlayer player(seed);
    if (seed % kSavedGameEvery == 0) {
        SaveGameNearTheEnd(seed / kSavedGameEvery % 2);
        player.GoOnFirst();
    }
    GameWatch watch;
    PrintedTextAudit audit;
    Report report;
    report.seed = seed;
    while (report.frames < frames && !watch.IsStuck()) {
        const auto play = [&](TestedGame& game) {
            if (!game.frameworkWindowsProbe)
                game.frameworkWindowsProbe = [&] { audit.Read(*game.GetEngine()->m_gui); };
            ++report.frames;
            PlatformTesting::ClearRecording(); // the recording device keeps every call otherwise, a GiB a seed
            watch.AfterFrame(game, player.GetWayBackFrames());
            player.Act(game);
            return report.frames >= frames || watch.IsStuck();
        };
        const int exitCode = Play({{"random play", play, {}, frames + 1}});
        ++report.games;
        player.Forget();
        watch.AfterGame(exitCode, ReadUserFile("Quellhaven.html"));
    }
    PlatformTesting::FailCreateThread(false);
    watch.AtEnd(UserFolder());
    report.waysBack = player.GetWaysBack();
    report.counts = watch.GetCounts();
    report.screens = watch.GetScreens();
    report.failures.merge(watch.GetFailures());
    for (const std::string& finding : audit.Findings())
        report.failures["printed text"] += finding + "; ";
    return report;
}

std::string WatchedPlay::Summary(const Report& report)
{
    const GameWatch::Counts& counts = report.counts;
    std::ostringstream line;
    line << "seed=" << report.seed << " frames=" << report.frames << " games=" << report.games
         << " levels=" << counts.levels << " won=" << counts.won << " lost=" << counts.lost << " left=" << counts.left
         << " replayed=" << counts.replayed << " stage_ends=" << counts.stageEnds
         << " upgrade_scenes=" << counts.upgradeScenes << " high_score_entries=" << counts.highScoreEntries
         << " games_completed=" << counts.gamesCompleted << " ways_back=" << report.waysBack
         << " failures=" << report.failures.size() << " screens=";
    const char* separator = "";
    for (const std::string_view name : report.screens) {
        std::string screen(name);
        std::ranges::replace(screen, ' ', '_');
        line << separator << screen;
        separator = ",";
    }
    return line.str();
}

} // namespace GameTesting
