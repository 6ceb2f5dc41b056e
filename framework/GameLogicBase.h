// The base of one running level's logic. It owns the level's stopwatch and score keeper, knows which stage and
// level it plays, and carries the level's state, which the game reads after every frame's window pass:
// 0 playing, 1 paused (a dialog or the focus pause lies over the level), 2 won, 3 lost. The game itself sets
// 1 and 0; the derived logic sets 2 and 3. The changed flag tells the game that the state moved since the game
// last cleared it, so a won or lost level is reported once.
#pragma once

#include <cstdint>
#include <memory>

namespace KeystrelEngine {
class Controls;
class Engine;
class MessageManager;
class ModelManager;
class Timer;
class TimerManager;
} // namespace KeystrelEngine

namespace GameFramework {

class AudioPlayer;
class ScoreKeeper;
struct LevelRecord;
struct StageRecord;

class GameLogicBase
{
public:
    // Logs the level it loads; the stopwatch starts at 0 and stands until the derived logic lets it run.
    GameLogicBase(KeystrelEngine::Engine* engine, AudioPlayer* player, std::uint32_t carriedValue, StageRecord* stage,
                  LevelRecord* level);
    // Frees the score keeper and the stopwatch's slot in the timer pool.
    virtual ~GameLogicBase();

    GameLogicBase(const GameLogicBase&) = delete;
    GameLogicBase& operator=(const GameLogicBase&) = delete;

    // Once per frame; the base has nothing to do.
    virtual void Update();
    // A state that differs from the current one sets the changed flag.
    virtual void SetState(std::uint32_t state);

    std::uint32_t GetState() const { return m_state; }
    bool IsChanged() const { return m_changed; }
    // The game calls this after every pass that handed the state on.
    void ClearChanged() { m_changed = false; }

    StageRecord* GetStage() const { return m_stage; }
    LevelRecord* GetLevel() const { return m_level; }
    std::uint32_t GetCarriedValue() const { return m_carriedValue; }
    KeystrelEngine::Timer* GetTimer() const { return m_timer; }
    ScoreKeeper* GetScoreKeeper() const { return m_scoreKeeper.get(); }

protected:
    KeystrelEngine::Engine* m_engine;
    KeystrelEngine::MessageManager* m_log;
    KeystrelEngine::TimerManager* m_timerManager;
    KeystrelEngine::ModelManager* m_modelManager;
    KeystrelEngine::Controls* m_controls;
    AudioPlayer* m_player;                    // not owned
    KeystrelEngine::Timer* m_timer = nullptr; // owned by the timer pool
    std::unique_ptr<ScoreKeeper> m_scoreKeeper;
    StageRecord* m_stage;         // the catalogue's, not owned
    LevelRecord* m_level;         // the catalogue's, not owned
    std::uint32_t m_carriedValue; // what the profile carries from level to level
    float m_value = 0.0f;         // the derived logic's
    std::uint32_t m_state = 0;
    bool m_changed = false;
};

} // namespace GameFramework
