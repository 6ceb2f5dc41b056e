// One level being played: it sets the level's score table, makes the level's objects from the loaded level data
// and the shared resources (bonus tokens, butterfly pool, floating texts, the board's scene and world, the board,
// its environment, the camera control and the tutorial), and drives them once per frame until the level is won
// (state 2) or has run out of energy (state 3). The game hands in what it shares through records, so the level
// knows nothing of the game's own objects. The in-game window reads the level's figures through GameLogicView.
#pragma once

#include "CellResources.h"
#include "GameLogicView.h"
#include "PlayServices.h"

#include "framework/GameLogicBase.h"

#include <cstdint>
#include <memory>

namespace KeystrelEngine {
class Model;
}

namespace Wispfold {

class Board;
class BoardScene;
class BonusManager;
class CameraControl;
class Character;
class Environment;
class GameBoardWorld;
class GameLogicData;
class GUIGameLogicTextManager;
class ItemManager;
class Tutorial;
class TutorialFlags;
struct LevelRecord;

// What the game shares with a level; nothing is owned and everything outlives the level. The level keeps its own
// copy of the record, and its objects point into that copy, so the caller's record may go.
struct GameLogicShared
{
    GameFramework::AudioPlayer* audio = nullptr;
    PlayResources play;
    CellResources cells;
    const KeystrelEngine::Model* textWindow = nullptr; // the floating texts' window quad (may be null)
    const KeystrelEngine::Model* tutorialTip = nullptr;
    TutorialFlags* tutorialFlags = nullptr; // the current profile's topics
    bool relaxMode = false;                 // the current profile's relax flag
    Character* character = nullptr;
};

class GameLogic : public GameFramework::GameLogicBase, public GameLogicView
{
public:
    // A hint is shown after this long without a removal.
    static constexpr float kHintDelay = 14.0f;

    GameLogic(KeystrelEngine::Engine& engine, const GameLogicShared& shared, const GameLogicData& data,
              GameFramework::StageRecord* stage, LevelRecord* level, std::uint32_t mode);
    // The objects in the reverse order of their making, then the base's keeper and stopwatch.
    ~GameLogic() override;

    void Update() override;

    Board& GetBoard() const { return *m_board; }
    CameraControl& GetCameraControl() const { return *m_camera; }
    Tutorial& GetTutorial() const { return *m_tutorial; }
    ItemManager& GetItemManager() const { return *m_items; }
    BoardScene& GetScene() const { return *m_scene; }
    float GetHintTimer() const { return m_hintTimer; }

    std::uint32_t GetManaProgress() const override;
    std::uint32_t GetManaTarget() const override;
    std::uint32_t GetEnergyLeft() const override;
    std::uint32_t GetEnergyBudget() const override;
    const std::vector<ScreenPosition>& GetManaChargePositions() const override;
    bool IsRelaxMode() const override { return m_relaxMode; }
    std::int32_t GetCameraType() const override;
    float GetCameraValue() const override;
    void SetCameraType(std::int32_t type) override;

private:
    void SetScoreTable();
    void UpdatePlay();
    void UpdateBoard();
    void UpdateHint();
    void CheckEnd();

    GameLogicShared m_shared;
    bool m_relaxMode;
    float m_hintTimer = 0.0f;
    std::unique_ptr<BonusManager> m_bonuses;
    std::unique_ptr<ItemManager> m_items;
    std::unique_ptr<GUIGameLogicTextManager> m_texts;
    std::unique_ptr<BoardScene> m_scene;
    std::unique_ptr<GameBoardWorld> m_world;
    std::unique_ptr<Board> m_board;
    std::unique_ptr<Environment> m_environment;
    std::unique_ptr<CameraControl> m_camera;
    std::unique_ptr<Tutorial> m_tutorial;
};

} // namespace Wispfold
