#include "tests/game/app/game/WatchedPlay.h"

#include "engine/gui/Engine.h"
#include "platform/testing.h"
#include "tests/game/app/game/PrintedTextAudit.h"
#include "tests/game/app/game/RandomPlayer.h"

#include <algorithm>
#include <sstream>

namespace GameTesting {

WatchedPlay::Report WatchedPlay::PlaySeed(std::uint32_t seed, int frames)
{
    TestSupport::WriteFile(UserFolder() + "Quellhaven.ini", "v_mode 800x600x32\n");
    PlatformTesting::FailCreateThread(true);
    RandomPlayer player(seed);
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
    report.failures = watch.GetFailures();
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
