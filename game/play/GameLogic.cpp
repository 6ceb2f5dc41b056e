#include "GameLogic.h"

#include "Board.h"
#include "BoardScene.h"
#include "BonusManager.h"
#include "CameraControl.h"
#include "Character.h"
#include "Environment.h"
#include "GUIGameLogicTextManager.h"
#include "GameBoardWorld.h"
#include "GameLogicData.h"
#include "ItemManager.h"
#include "LevelManager.h"
#include "Tutorial.h"

#include "engine/foundation/Controls.h"
#include "engine/foundation/Random.h"
#include "engine/foundation/Timer.h"
#include "engine/foundation/TimerManager.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "framework/ScoreKeeper.h"

#include <array>

namespace Wispfold {

namespace {

// Points by score event: a removed butterfly, a mana layer, an opened closed cell, a freed blocked cell, and the
// three bonus kinds.
constexpr std::array<std::int32_t, 7> kScoreTable = {10, 100, 200, 150, 250, 500, 1000};

LevelData WithRelax(const LevelData& level, bool relaxMode)
{
    LevelData copy = level;
    copy.relaxMode = relaxMode;
    return copy;
}

} // namespace

GameLogic::GameLogic(KeystrelEngine::Engine& engine, const GameLogicShared& shared, const GameLogicData& data,
                     GameFramework::StageRecord* stage, LevelRecord* level, std::uint32_t mode)
    : GameLogicBase(&engine, shared.audio, mode, stage, level), m_shared(shared), m_relaxMode(shared.relaxMode)
{
    SetScoreTable();
    const PlayServices services{engine.m_timers.get(), engine.m_models.get(), engine.m_particleSystems.get()};
    const ScreenServices screen{engine.m_cameras.get(), engine.m_window.get(), 800.0f, 600.0f};
    const LevelData levelData = WithRelax(data.GetLevelData(), m_relaxMode);
    m_bonuses = std::make_unique<BonusManager>(services, m_shared.play);
    m_items = std::make_unique<ItemManager>(services, *m_bonuses, m_shared.play, *level);
    m_texts = std::make_unique<GUIGameLogicTextManager>(*engine.m_timers, *engine.m_gui, m_shared.textWindow);
    m_scene = std::make_unique<BoardScene>(services, screen, m_shared.cells, levelData);
    m_world =
        std::make_unique<GameBoardWorld>(*m_scene, *m_items, *m_bonuses, *m_texts, *m_shared.audio, m_shared.character);
    m_board = std::make_unique<Board>(*m_world, levelData, *GetScoreKeeper());
    m_environment = std::make_unique<Environment>(services, *engine.m_lights, m_shared.cells, *m_board, *m_scene,
                                                  data.GetEnvironmentModels(), data.GetEnvironmentEntries());
    m_camera = std::make_unique<CameraControl>(engine, *level, m_scene->GetBoundingBox());
    m_tutorial = std::make_unique<Tutorial>(engine, *m_shared.tutorialFlags, *m_shared.tutorialTip, *m_shared.character,
                                            *m_camera, *m_board, *m_scene, *level);
    GetTimer()->Pause(false);
    m_shared.character->SetState(Character::kStateLevel);
    m_camera->StartIntro();
}

GameLogic::~GameLogic()
{
    m_tutorial.reset();
    m_camera.reset();
    m_environment.reset();
    m_board.reset();
    m_world.reset();
    m_scene.reset();
    m_texts.reset();
    m_items.reset();
    m_bonuses.reset();
}

void GameLogic::SetScoreTable()
{
    for (std::uint32_t event = 0; event < kScoreTable.size(); ++event)
        GetScoreKeeper()->SetPoints(event, kScoreTable[event]);
}

void GameLogic::Update()
{
    m_texts->Update();
    if (GetState() == LevelPlaying)
        UpdatePlay();
}

std::uint32_t GameLogic::GetManaProgress() const
{
    return m_board->GetManaProgress();
}

std::uint32_t GameLogic::GetManaTarget() const
{
    return m_board->GetManaTarget();
}

std::uint32_t GameLogic::GetEnergyLeft() const
{
    return m_board->GetEnergyLeft();
}

std::uint32_t GameLogic::GetEnergyBudget() const
{
    return m_board->GetEnergyBudget();
}

const std::vector<ScreenPosition>& GameLogic::GetManaChargePositions() const
{
    return m_board->GetManaChargePositions();
}

std::int32_t GameLogic::GetCameraType() const
{
    return m_camera->GetCameraType();
}

float GameLogic::GetCameraValue() const
{
    return m_camera->GetValue();
}

void GameLogic::SetCameraType(std::int32_t type)
{
    m_camera->SetCameraType(type);
}

void GameLogic::UpdatePlay()
{
    m_camera->Update();
    UpdateBoard();
    UpdateHint();
    m_items->Update();
    m_bonuses->Update();
    m_tutorial->Update();
    if (m_board->IsLevelWon() && !m_camera->IsEnding())
        m_camera->StartEnd();
    CheckEnd();
}

// The board's frame with the cell under the GUI cursor and the left button.
void GameLogic::UpdateBoard()
{
    const KeystrelEngine::GUICursor& cursor = m_engine->m_gui->m_defaultCursor;
    Cell* hovered = m_scene->Pick(m_board->GetCells(), {cursor.m_x, cursor.m_y});
    m_board->Update(hovered, m_controls->IsKeyPressed("MOUSE1"), m_controls->IsKeyDown("MOUSE1"));
}

void GameLogic::UpdateHint()
{
    if (m_board->GetRemovedCount() > 0) {
        m_hintTimer = 0.0f;
        return;
    }
    m_hintTimer += m_timerManager->m_frameTime;
    if (m_hintTimer > kHintDelay && m_board->GetMoveCount() > 0) {
        m_hintTimer = 0.0f;
        m_board->ShowHint(KeystrelEngine::RandomInt(m_board->GetMoveCount()));
    }
}

// Won is looked at first: the last removal of a won level may also have spent the last energy.
void GameLogic::CheckEnd()
{
    if (m_items->AnyItemBusy())
        return;
    if (m_board->IsLevelWon())
        SetState(LevelWon);
    else if (m_board->IsOutOfEnergy())
        SetState(LevelLost);
}

} // namespace Wispfold
