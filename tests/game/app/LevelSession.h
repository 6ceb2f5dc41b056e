// A level of the generated catalogue as the game starts it, for tests that need the real level beside their own
// windows: the camera's saved variables, the current profile's tutorial topics all done, the character, the
// level's data loaded and the game logic made over the shared lists. The test runs the frames.
#pragma once

#include "tests/game/app/LevelResources.h"
#include "tests/game/play/support/BoardSolver.h"

#include "engine/foundation/Config.h"
#include "engine/foundation/Controls.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "framework/AudioPlayer.h"
#include "framework/DataKeeper.h"
#include "game/app/GameData.h"
#include "game/app/Profile.h"
#include "game/app/ProfileManager.h"
#include "game/app/ProfileTutorialFlags.h"
#include "game/play/Board.h"
#include "game/play/BoardScene.h"
#include "game/play/Character.h"
#include "game/play/GameLogic.h"
#include "game/play/GameLogicData.h"
#include "game/play/Item.h"
#include "game/play/LevelManager.h"

#include <memory>
#include <optional>
#include <string>

namespace AppTesting {

class LevelSession
{
public:
    // The catalogue's level, played by the manager's current profile (which must exist); the character speaks
    // over the menu parent while not in the level.
    LevelSession(KeystrelEngine::Engine& engine, const GameFramework::DataKeeperServices& services,
                 GameFramework::AudioPlayer& player, const Wispfold::GameData& data, Wispfold::ProfileManager& profiles,
                 GameFramework::LevelId id, KeystrelEngine::GUIWindow* menuParent)
        : m_engine(engine)
    {
        KeystrelEngine::Config& config = *engine.m_config;
        config.RegisterVariable("g_camera_type", "1", KeystrelEngine::Config::TypeInt, true, &m_cameraType, false);
        config.RegisterVariable("g_camera_value", "1", KeystrelEngine::Config::TypeFloat, true, &m_cameraValue, false);
        auto* profile = static_cast<Wispfold::Profile*>(profiles.m_current);
        for (std::size_t hint = 0; hint < Wispfold::Profile::kTutorialHintCount; ++hint)
            profile->SetTutorialHintPending(hint, false);
        m_flags = std::make_unique<Wispfold::ProfileTutorialFlags>(profiles);
        m_levels = std::make_unique<Wispfold::LevelManager>(engine.m_log.get(), engine.m_files.get());
        m_levels->Load();
        m_character = std::make_unique<Wispfold::Character>(engine, *m_levels, profiles, player,
                                                            Wispfold::MakeCharacterResources(data, menuParent));
        m_record = static_cast<Wispfold::LevelRecord*>(m_levels->GetLevel(id));
        m_data = std::make_unique<Wispfold::GameLogicData>(services, &m_levels->GetStage(id.stage), m_record);
        m_data->Load();
        Wispfold::GameLogicShared shared;
        shared.audio = &player;
        FillLevelResources(data, shared.play, shared.cells);
        shared.tutorialTip = data.GetModel("game_objects\\cell\\cell_tip.mlf");
        shared.tutorialFlags = m_flags.get();
        shared.character = m_character.get();
        m_logic =
            std::make_unique<Wispfold::GameLogic>(engine, shared, *m_data, &m_levels->GetStage(id.stage), m_record, 0);
    }

    ~LevelSession()
    {
        m_logic.reset();
        m_data.reset();
        m_character.reset();
        m_engine.m_config->UnregisterVariable("g_camera_type");
        m_engine.m_config->UnregisterVariable("g_camera_value");
    }

    LevelSession(const LevelSession&) = delete;
    LevelSession& operator=(const LevelSession&) = delete;

    // The level's share of a frame: with a cell, the GUI cursor on it and "MOUSE1" as given (without one, the
    // cursor and the button stay as the input left them), then the level and the character.
    void Drive(const Wispfold::Cell* at, bool held)
    {
        if (at) {
            const Wispfold::ScreenPosition point = m_logic->GetScene().GetScreenPosition(*at);
            m_engine.m_gui->m_defaultCursor.m_x = point.x;
            m_engine.m_gui->m_defaultCursor.m_y = point.y;
            m_engine.m_controls->SetKeyState("MOUSE1", held);
        }
        m_logic->Update();
        m_character->Update();
    }

    // The first possible move whose cells are neither closed nor blocked.
    static std::optional<std::uint32_t> UsableMove(const Wispfold::Board& board)
    {
        for (std::uint32_t pair = 0; pair < board.GetMoveCount(); ++pair) {
            const Wispfold::Cell* first = board.GetMoveFirstCell(pair);
            const Wispfold::Cell* second = board.GetMoveSecondCell(pair);
            if (!first->m_blocked && !first->m_closed && !second->m_blocked && !second->m_closed)
                return pair;
        }
        return std::nullopt;
    }

    // Swaps usable moves, a press and a release on each cell in a frame each, through the caller's frame (which
    // runs Drive with the cell and the button), waiting a frame while none is usable, until a frame charges mana;
    // whether one did within the limit of frames.
    template <class Frame> bool PlayUntilManaCharged(Frame frame, int limit)
    {
        const Wispfold::Board& board = m_logic->GetBoard();
        const auto charged = [&] { return !board.GetManaChargePositions().empty(); };
        for (int frames = 0; frames < limit && !charged(); ++frames) {
            const std::optional<std::uint32_t> move =
                TestSupport::BoardSolver::IsSettled(board) ? UsableMove(board) : std::nullopt;
            if (!move) {
                frame(nullptr, false);
                continue;
            }
            for (const Wispfold::Cell* cell : {board.GetMoveFirstCell(*move), board.GetMoveSecondCell(*move)})
                for (const bool held : {true, false})
                    if (!charged())
                        frame(cell, held);
        }
        return charged();
    }

    Wispfold::GameLogic& Logic() const { return *m_logic; }
    Wispfold::Character& Speaker() const { return *m_character; }
    Wispfold::LevelRecord& Record() const { return *m_record; }

private:
    KeystrelEngine::Engine& m_engine;
    std::int32_t m_cameraType = 1;
    float m_cameraValue = 1.0f;
    std::unique_ptr<Wispfold::ProfileTutorialFlags> m_flags;
    std::unique_ptr<Wispfold::LevelManager> m_levels;
    std::unique_ptr<Wispfold::Character> m_character;
    Wispfold::LevelRecord* m_record = nullptr;
    std::unique_ptr<Wispfold::GameLogicData> m_data;
    std::unique_ptr<Wispfold::GameLogic> m_logic;
};

} // namespace AppTesting
