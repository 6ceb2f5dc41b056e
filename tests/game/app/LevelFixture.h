// What the tests of one whole level share: the character's fixture, the camera's saved variables, a current
// profile, the profile's tutorial flags, a level of the catalogue with its loaded data, and the game logic made
// from them. Frames run on the fake clock with the cursor and the left button injected into the window as a
// player's mouse would move them; a small bot swaps the board's possible moves. A test may instead write a level
// of its own (board, camera, environment and catalogue) and play that.
#pragma once

#include "tests/game/app/CharacterFixture.h"

#include "game/app/Profile.h"
#include "game/app/ProfileTutorialFlags.h"
#include "game/play/Cell.h"
#include "game/play/GameLogic.h"
#include "game/play/GameLogicData.h"

#include <string>
#include <vector>

namespace AppTesting {

class LevelFixture : public CharacterFixture
{
protected:
    // The longest frame the timers allow: the level's flights take the fewest frames.
    static constexpr float kFrame = 0.1f;

    void SetUp() override;
    void TearDown() override;

    // A catalogue of one stage with one level, "glade", on the board of the map's rows (as the content tool draws
    // them: '1' a cell with one mana layer, 'o' a plain cell, '.' none), in three colours, with its framing
    // camera file and an environment of one lit ground model; the catalogue is read anew and the level chosen.
    void WriteLevel(const std::vector<std::string>& rows, float levelFactor);
    // The level's data read from its files (the level's stage by its id).
    void LoadLevel();
    // The game logic over the loaded data, as the game makes it: the relax flag is the profile's flag 0.
    void Start();

    // One frame of the level with the cursor over the cell (none: off the board) and the left button as given.
    void Play(const Wispfold::Cell* at, bool held);
    // One frame of the level with the input as it stands.
    void LevelFrame();
    // The log's warnings and errors so far, kept in problems before the engine's update empties its history.
    void KeepProblems();
    // A press and a release on each cell of the move; the frames it took.
    int Swap(std::uint32_t pair);

    // What a played level showed on its way, frame by frame.
    struct Run
    {
        int frames = 0;
        int wonWhileBusy = 0;      // frames won on the board while a butterfly was still out, in state 0
        int removals = 0;          // frames with a removal
        int removalsWithTimer = 0; // of those, frames whose hint timer did not read 0 after it
        int cascades = 0;          // removal frames after another one since the last swap
        float restingOffset = 0;   // the farthest a resting butterfly stood from its cell's resting point
    };
    // Plays until the state leaves 0 or the limit of frames is reached.
    Run PlayToTheEnd(int limit);

    std::int32_t m_cameraType = 1;
    float m_cameraValue = 1.0f;
    Wispfold::Profile* profile = nullptr;
    std::unique_ptr<Wispfold::ProfileTutorialFlags> flags;
    Wispfold::LevelRecord* level = nullptr;
    std::unique_ptr<Wispfold::GameLogicData> levelData;
    Wispfold::GameLogicShared shared;
    std::unique_ptr<Wispfold::GameLogic> logic;
    std::vector<std::string> problems;
};

} // namespace AppTesting
