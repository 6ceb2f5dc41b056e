// The game's drawn mouse cursor: the cursor picture, with a trail of sparks that follows the mouse and a burst of
// sparks where the player clicks. The sparks come with the shared data, so the particle systems are made once
// those are loaded; until then the cursor is drawn alone.
#pragma once

#include "framework/GUIGameCursorBase.h"

namespace KeystrelEngine {
class ParticleSystem;
class ParticleSystemManager;
} // namespace KeystrelEngine

namespace Wispfold {

class GameData;

class GUIGameCursor : public GameFramework::GUIGameCursorBase
{
public:
    static constexpr float kSize = 40.0f;
    // The trail runs from just below and right of the cursor's tip.
    static constexpr float kTrailOffsetX = 12.0f;
    static constexpr float kTrailOffsetY = -18.0f;
    static constexpr float kSparkDepth = -21.0f;
    static constexpr const char* kTrailSystem = "ui\\menus\\particles\\cursor_train.psf";
    static constexpr const char* kClickSystem = "ui\\menus\\particles\\cursor_click.psf";

    // The drawn cursor from "ui\cursors\cursor.jpg", kept with the program's cursor and made current.
    explicit GUIGameCursor(KeystrelEngine::Engine* engine);
    // Destroys the trail and the burst.
    ~GUIGameCursor() override;

    // The sparks follow the mouse; then the base's update.
    bool Update() override;
    // Showing starts the trail (while it is enabled), hiding stops it.
    void Show(bool show) override;

    // Clones of the shared trail and burst, drawn over the menus; the trail emits at once while enabled.
    void CreateParticles(const GameData& data);
    // The trail and the click burst follow the mouse only while enabled; the game turns them off for a level.
    // Enabling a shown cursor's trail starts its emission again.
    void SetTrailEnabled(bool enabled);
    bool IsTrailEnabled() const { return m_trailEnabled; }

    KeystrelEngine::ParticleSystem* GetTrail() const { return m_trail; }
    KeystrelEngine::ParticleSystem* GetClick() const { return m_click; }
    KeystrelEngine::GUICursor* GetDrawnCursor() const { return m_drawnCursor; }

private:
    KeystrelEngine::ParticleSystem* MakeSparks(const GameData& data, const char* name);

    KeystrelEngine::ParticleSystemManager* m_particleSystems;
    KeystrelEngine::GUICursor* m_drawnCursor;
    KeystrelEngine::ParticleSystem* m_trail = nullptr;
    KeystrelEngine::ParticleSystem* m_click = nullptr;
    bool m_trailEnabled = true;
};

} // namespace Wispfold
