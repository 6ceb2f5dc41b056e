// The base of one running level's logic. It owns the level's stopwatch and score keeper, knows which stage and
// level it plays, and carries the level's state (LevelState), which the game reads after every frame's window
// pass. The game itself pauses and resumes the level; the derived logic decides it, won or lost. The changed flag
// tells the game that the state moved since the game last cleared it, so a won or lost level is reported once.
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
    // The level's states, by the values the game compares.
    enum LevelState : std::uint32_t
    {
        LevelPlaying = 0,
        LevelPaused = 1, // a dialog or the focus pause lies over the level
        LevelWon = 2,
        LevelLost = 3
    };

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
    virtual void SetState(LevelState state);

    LevelState GetState() const { return m_state; }
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
    LevelState m_state = LevelPlaying;
    bool m_changed = false;
};

} // namespace GameFramework
