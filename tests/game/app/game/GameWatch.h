// What must hold whatever a player does, watched after every frame of a long random play and at its end:
//
// - never stuck: the game never goes more than 10 seconds without a window that takes input (a menu window on
//   screen with a button the player can click, the running level's head-up display while it is active, the
//   upgrade scene while it waits for its click); the start-up, a level's loading and a decided level's way to its
//   window each have a bound of their own. A stuck game ends the play and is described window by window;
// - always a way back: the player's way back reaches the main menu within kWayBackBound frames;
// - nothing of a level outside it: no part of the head-up display, no butterfly and no guide's bubble or tip of a
//   level is drawn while the main menu, the map, the upgrade or stage-complete scene or another menu window
//   outside a level is on screen; a head-up display closed with its level may finish its fold for a while;
// - progress kept: when a won level's count has ended (its window reports) and when the game-over window comes,
//   the current profile on disk is intact and holds the progress the game shows (score, current and best level,
//   continue flag), and a lost level's mana bar is not full; the high-score table on disk, whenever the high
//   scores come, is intact and the one on screen;
// - the panel goes back: once the main menu stands, no window of a level holds the background's panel;
// - a clean run: after each game its log holds no error line and no warning but those of what the machine lacks,
//   and the game ended with 0; no message box was shown;
// - the player's files intact: at the end the user folder holds no temporary or set-aside file, every profile and
//   the high-score table are intact, and the profile list is intact and names a profile on disk as current
//   whenever there is one.
//
// The files are read from disk without changing them (PlayerFiles.h): a file is intact when no loader of the game
// would have to refuse or mend it.
//
// A failure is kept once per invariant, with the frame it was first seen in and, where the device draws, a picture
// of that screen; later frames only count.
#pragma once

#include "framework/GameLogicBase.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>

namespace KeystrelEngine {
class FileManager;
class MessageManager;
} // namespace KeystrelEngine

namespace Wispfold {
class GUIMenuWindow;
}

namespace GameTesting {

class TestedGame;

class GameWatch
{
public:
    // Frames of 1/30 s, about three times the longest a hundred seeds of play took (the way back: twice).
    static constexpr int kQuietBound = 300;    // 10 s
    static constexpr int kStartUpBound = 300;  // the logo, the shared data's loading, the menus' first frame
    static constexpr int kLoadingBound = 150;  // a level's loading window
    static constexpr int kLevelEndBound = 240; // from a level's end to its window
    static constexpr int kWayBackBound = 1500;
    static constexpr int kHudFoldBound = 60; // a closed head-up display folds in 36

    struct Counts
    {
        int levels = 0;
        int won = 0;
        int lost = 0;
        int left = 0;     // through the menus, undecided
        int replayed = 0; // started again within the run
        int stageEnds = 0;
        int upgradeScenes = 0;
        int highScoreEntries = 0; // results that entered the table
        int gamesCompleted = 0;
    };

    // With a picture name the device draws, and each invariant's first failure keeps its screen under that name.
    explicit GameWatch(std::string pictureName = {});
    ~GameWatch();

    // After every frame, with the frames the player's way back has taken so far (0 while it plays at random).
    void AfterFrame(TestedGame& game, int wayBackFrames);
    // After each game: the code the program ended with and its log.
    void AfterGame(int exitCode, const std::string& log);
    // Once the play is over: what it left in the user folder (a Linux path with the final slash).
    void AtEnd(const std::string& folder);

    // A stuck game cannot go on.
    bool IsStuck() const { return m_failures.contains(kNeverStuck); }
    // By broken invariant: the frame it broke first in, how, and how often.
    std::map<std::string, std::string> GetFailures() const;
    const Counts& GetCounts() const { return m_counts; }
    // The menu windows, scenes and level states seen.
    const std::set<std::string_view>& GetScreens() const { return m_screens; }

private:
    static constexpr const char* kNeverStuck = "never stuck";

    struct Failure
    {
        std::string first;
        int frames = 0;
    };

    // What the game's frames so far showed, to see what begins; each game starts afresh.
    struct Seen
    {
        int quietFrames = 0;
        std::uint32_t levelMusic = 0;
        GameFramework::GameLogicBase::LevelState levelState = GameFramework::GameLogicBase::LevelPlaying;
        bool inLevel = false, upgrade = false, gameOver = false, highScores = false, gameComplete = false;
    };

    // The first failure of an invariant keeps the screen (when given) as a picture, where the device draws.
    void Fail(const std::string& invariant, std::string what, TestedGame* screen = nullptr);
    void CheckStuck(TestedGame& game);
    void CheckOutside(TestedGame& game);
    void CheckProgress(TestedGame& game);
    void CheckPanel(TestedGame& game);
    void CheckSavedProfile(TestedGame& game, const std::string& invariant);
    void CheckHighScores(TestedGame& game);
    void CountLevel(TestedGame& game);
    void CountScenes(TestedGame& game);
    void CheckProfileList(const std::string& engineFolder, const std::set<std::u16string>& names);

    std::string m_pictureName;
    std::unique_ptr<KeystrelEngine::MessageManager> m_log; // the file reads' own, apart from the game's
    std::unique_ptr<KeystrelEngine::FileManager> m_files;
    int m_frame = 0;
    int m_quietKind = 0;
    int m_hudFoldFrames = 0;
    std::array<const Wispfold::GUIMenuWindow*, 22> m_menus{}; // this frame's, by the watch's names for them
    Seen m_seen;
    std::map<std::string, Failure, std::less<>> m_failures; // by invariant
    Counts m_counts;
    std::set<std::string_view> m_screens;   // names of the watch's own
    std::set<std::uint64_t> m_levelsPlayed; // stage and level
};

} // namespace GameTesting
