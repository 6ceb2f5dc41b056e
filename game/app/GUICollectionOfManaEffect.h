// One flight of collected mana: a particle trail that flies in one second on a curve from the place the mana was
// charged to the in-game window's mana bar. The window keeps its flights and starts a finished one again once
// its particles have died out.
#pragma once

#include "engine/gui/GUIWindow.h"

namespace KeystrelEngine {
class Engine;
class ParticleSystem;
class ParticleSystemManager;
class TimerManager;
} // namespace KeystrelEngine

namespace Wispfold {

class GUIGameLogicProgress;
class GameData;

class GUICollectionOfManaEffect
{
public:
    static constexpr const char* kSystem = "ui\\menus\\particles\\mana_to_progress.psf";
    // The trail bends through the bar's place moved by this much, so that it arrives from below left.
    static constexpr KeystrelEngine::GUIPoint kBend{-100.0f, 100.0f};
    static constexpr float kDepthOffset = 1.0f; // in front of the window's frame

    GUICollectionOfManaEffect(KeystrelEngine::Engine* engine, KeystrelEngine::GUIWindow* frame,
                              const GUIGameLogicProgress* manaBar, const GameData* data);
    ~GUICollectionOfManaEffect();

    GUICollectionOfManaEffect(const GUICollectionOfManaEffect&) = delete;
    GUICollectionOfManaEffect& operator=(const GUICollectionOfManaEffect&) = delete;

    // Starts the flight from the point (GUI coordinates) and switches the emission on.
    void Start(KeystrelEngine::GUIPoint from);
    // Moves the trail along its curve; at the end the emission stops and the flight is done.
    void Update();
    // Done, and no particle of the last flight is left.
    bool IsFree() const;

    bool IsDone() const { return m_done; }
    float GetTime() const { return m_t; }
    KeystrelEngine::ParticleSystem* GetParticles() const { return m_particles; }

private:
    KeystrelEngine::TimerManager* m_timers;
    KeystrelEngine::ParticleSystemManager* m_particleSystems;
    const GUIGameLogicProgress* m_manaBar;
    KeystrelEngine::ParticleSystem* m_particles;
    KeystrelEngine::GUIPoint m_start;
    float m_t = 0.0f;
    bool m_done = true;
};

} // namespace Wispfold
