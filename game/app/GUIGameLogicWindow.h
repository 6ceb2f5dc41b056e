// The window shown while a level is played: the level and score panels, the mana and energy bars, the flights of
// collected mana to the mana bar, and the menu, view, minimise, windowed/full-screen and exit buttons. It unfolds
// when opened, fades in once every model has unfolded, and fades out and folds after Close. It only reads the
// level: the game runs the level's update itself. Its results: RequestQuit (exit button), RequestPause (SPACE or
// P) and RequestGameLogicMenu (ESCAPE or the menu button), only while active.
#pragma once

#include "framework/GUIGameLogicWindowBase.h"

#include "engine/gui/GUIWindow.h"
#include "engine/render/Color.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace KeystrelEngine {
class Controls;
class GUIManager;
class GUITextManager;
class ModelManager;
class ParticleSystem;
class GUIWindow;
class TimerManager;
} // namespace KeystrelEngine

namespace Wispfold {

class GUICollectionOfManaEffect;
class GUIControl;
enum class ControlKind : std::int32_t;
class GUIGameLogicProgress;
class GUIMenuWindowManager;
class GameData;
class GameLogicView;

class GUIGameLogicWindow : public GameFramework::GUIGameLogicWindowBase
{
public:
    static constexpr float kBarSpeed = 0.1f;        // per second
    static constexpr float kBarFrameRate = 15.0f;   // frames per second: the bars' frames unfold slower
    static constexpr float kWonManaSpeed = 0.45f;   // the mana bar empties into the level-complete count
    static constexpr float kWonEnergySpeed = 0.35f; // the energy bar empties into its count
    static constexpr float kFadeInRate = 4.0f;      // alpha per second
    static constexpr float kFadeOutRate = 8.0f;
    static constexpr float kVisibleAlpha = 0.0001f;
    static constexpr std::int32_t kStatisticsLayer = 5;
    static constexpr std::uint32_t kStatisticsFont = 0;
    // The statistics lines are a sample's height apart, with some room between them.
    static constexpr const char16_t* kStatisticsSample = u"Hgy0123456789:";
    static constexpr float kStatisticsLineSpacing = 1.25f;
    static constexpr const char* kGlowSystem = "ui\\menus\\particles\\mana_progress.psf";
    static constexpr float kGlowDepthOffset = 1.1f; // in front of the frame, behind the flights

    GUIGameLogicWindow(KeystrelEngine::Engine* engine, GameFramework::ProfileManagerBase* profiles,
                       const GameData* data, GUIMenuWindowManager* manager);
    ~GUIGameLogicWindow() override;

    void Update() override;
    // The logic must also be a GameLogicView; one that is not opens nothing.
    void Open(GameFramework::GameLogicBase* logic) override;
    void Close() override;
    void SetActive(bool active) override;

    // The controls that fade together, in order: menu, camera, minimise, exit, level panel, score panel, the mana
    // bar's frame, then the windowed and full-screen buttons and the energy bar's frame.
    enum ControlIndex
    {
        kMenu,
        kCamera,
        kMinimise,
        kExit,
        kLevelPanel,
        kScorePanel,
        kListed, // the mana bar's frame follows the listed six
        kWindowed = kListed,
        kFullScreen,
        kManaFrame,
        kEnergyFrame,
        kOwnCount
    };

    GUIControl& GetControl(ControlIndex index) const { return *m_controls[index]; }
    GUIGameLogicProgress& GetManaBar() const { return *m_manaBar; }
    GUIGameLogicProgress& GetEnergyBar() const { return *m_energyBar; }
    KeystrelEngine::GUIWindow* GetRoot() const { return m_root; }
    KeystrelEngine::GUIWindow* GetLevelCaption() const { return m_levelCaption; }
    KeystrelEngine::GUIWindow* GetScoreCaption() const { return m_scoreCaption; }
    KeystrelEngine::GUIWindow* GetStatistics() const { return m_statistics; }
    const std::vector<std::unique_ptr<GUICollectionOfManaEffect>>& GetFlights() const { return m_flights; }
    KeystrelEngine::ParticleSystem* GetGlow() const { return m_glow; }
    float GetAlpha() const { return m_colour.a; }
    bool IsViewOblique() const;

private:
    // A button or check box over the base model with its "_selection_area" and "_text_area" models.
    std::unique_ptr<GUIControl> MakeButton(const std::string& model, const std::string& base, ControlKind kind);
    // A panel: the model shown as a window, with its text area when it has one.
    std::unique_ptr<GUIControl> MakePanel(const std::string& model, const char* textArea);
    // A bar's frame: a panel without text area that unfolds at kBarFrameRate.
    std::unique_ptr<GUIControl> MakeBarFrame(const std::string& model);
    KeystrelEngine::GUIWindow* MakeCaption(const std::string& textArea);
    // The controls of the fade: all the own ones.
    std::array<GUIControl*, kOwnCount> FadingControls() const;
    static ControlIndex WindowButtonFor(bool fullScreen);
    GUIControl& ShownWindowButton() const;
    // The windowed button shows in full screen, the full-screen one in a window; a mode changed elsewhere (the
    // in-game menu) swaps them too. Both are check boxes, ticked while the game fills the screen, so that they
    // grey out like the other buttons while the window is inactive.
    void FollowWindowMode();
    // Its model window or its widget is on screen.
    static bool IsShown(const GUIControl& control);
    void Fade();
    void UpdateBars();
    // Glows over the mana bar's fill while the bar moves.
    void UpdateGlow(float manaBefore);
    void UpdateButtons();
    void AddTexts();
    void StartFlights();
    // "d_show_statistics" non-zero: the frame rate, the drawn models and triangles.
    void AddStatistics();
    void AddStatisticsLine(const char* key, std::uint32_t value, KeystrelEngine::GUIPoint pen);
    void ReadKeys();

    KeystrelEngine::GUIManager* m_gui;
    KeystrelEngine::GUITextManager* m_texts;
    KeystrelEngine::TimerManager* m_timers;
    KeystrelEngine::Controls* m_controlsInput;
    const GameData* m_data;
    GUIMenuWindowManager* m_manager;
    KeystrelEngine::GUIWindow* m_root;
    KeystrelEngine::GUIWindow* m_frame;
    KeystrelEngine::GUIWindow* m_levelCaption;
    KeystrelEngine::GUIWindow* m_scoreCaption;
    KeystrelEngine::GUIWindow* m_statistics;
    KeystrelEngine::ModelManager* m_models;
    std::u16string m_line; // the frame's literal texts, built in place
    std::array<std::unique_ptr<GUIControl>, kOwnCount> m_controls;
    std::unique_ptr<GUIGameLogicProgress> m_manaBar;
    std::unique_ptr<GUIGameLogicProgress> m_energyBar;
    KeystrelEngine::ParticleSystem* m_glow;
    std::vector<std::unique_ptr<GUICollectionOfManaEffect>> m_flights;
    GameLogicView* m_view = nullptr;
    KeystrelEngine::Color m_colour{1.0f, 1.0f, 1.0f, 0.0f};
    ControlIndex m_shownWindowButton = kFullScreen;
    bool m_opening = false;
    bool m_relax = false;
};

} // namespace Wispfold
