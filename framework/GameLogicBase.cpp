#include "GameLogicBase.h"

#include "LevelManagerBase.h"
#include "ScoreKeeper.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/Timer.h"
#include "engine/foundation/TimerManager.h"
#include "engine/gui/Engine.h"

#include <string>

namespace GameFramework {

GameLogicBase::GameLogicBase(KeystrelEngine::Engine* engine, AudioPlayer* player, std::uint32_t carriedValue,
                             StageRecord* stage, LevelRecord* level)
    : m_engine(engine), m_log(engine->m_log.get()), m_timerManager(engine->m_timers.get()),
      m_modelManager(engine->m_models.get()), m_controls(engine->m_controls.get()), m_player(player), m_stage(stage),
      m_level(level), m_carriedValue(carriedValue)
{
    m_log->Message("");
    m_log->Message("Loading level " + std::to_string(std::uint64_t{level->id.stage} + 1) + "-" +
                   std::to_string(std::uint64_t{level->id.level} + 1) + "...");
    auto timer = std::make_unique<KeystrelEngine::Timer>(true, 0.0f);
    m_timerManager->AddTimer(timer.get());
    m_timer = timer.release();
    m_scoreKeeper = std::make_unique<ScoreKeeper>();
    m_timer->Reset(0.0f);
    m_timer->Pause(true);
}

GameLogicBase::~GameLogicBase()
{
    m_scoreKeeper.reset();
    m_timerManager->DeleteTimer(m_timer);
}

void GameLogicBase::Update() {}

void GameLogicBase::SetState(LevelState state)
{
    if (state != m_state)
        m_changed = true;
    m_state = state;
}

} // namespace GameFramework
