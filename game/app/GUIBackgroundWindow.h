// The animated picture behind every menu: the screen frame, the maker's seal, the four parts of the game's name,
// a landscape of themes that grows with the player's stage, and the text area in which titles and the "LOADING"
// text are typed letter by letter.
//
// The scene is three plain windows, each the child of the one before: the scene root holds the theme windows,
// the decoration root the decorations, and the top root (between the seal and the text panel) is the parent of
// other screens' overlay windows. Base themes (any kind but 0 in "background.ini") are loaded here and always
// shown; stage themes (kind 0) come with the shared data and are shown from their stage on.
//
// At start-up the scene unfolds in the steps of StartUpStep; its last four are where the panel's window stands in
// its cycle (see MenuBackground), and the scene stays among them from then on.
#pragma once

#include "MenuBackground.h"

#include "engine/render/Color.h"
#include "framework/GUITextPrinter.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace KeystrelEngine {
class Engine;
class FileManager;
class GUIManager;
class GUIWindow;
class Model;
class ModelManager;
class ParticleSystem;
class ParticleSystemManager;
class TimerManager;
} // namespace KeystrelEngine

namespace GameFramework {
class AudioPlayer;
class LevelManagerBase;
class ProfileManagerBase;
} // namespace GameFramework

namespace Wispfold {

class GameData;
struct BackgroundTheme;

class GUIBackgroundWindow : public MenuBackground
{
public:
    static constexpr float kTypingRate = 28.0f; // characters per second
    static constexpr std::uint32_t kTextFont = 1;
    static constexpr std::uint32_t kTextAlignment = 3; // centred both ways
    static constexpr float kFramesPerSecond = 25.0f;
    static constexpr std::uint32_t kGlowSound = 3;
    static constexpr const char* kGlowSystem = "ui\\menus\\particles\\upgrade.psf";
    static constexpr const char* kTextAreaModel = "ui\\menus\\models\\background\\text_area.mlf";

    enum StartUpStep : std::uint32_t
    {
        ShowFrameAndSeal = 0,
        ShowNameAndPanel = 1,
        TypeLoading = 2,
        WaitForSharedData = 3, // the stage themes are built once they have come
        WaitForMenus = 4,
        WaitForTextArea = 5, // the typed text shows again, after the start-up or after the panel went back
        PanelInScene = 6,    // until a window calls the panel and the scene shows
        PanelUnfolding = 7,  // in front of the menus
        PanelUp = 8,         // until its holder gives it back
    };

    // Reads "background.ini" and loads the base themes and the decorations. Throws FileError when the file
    // cannot be read or yields no base theme ("Background have no thematic models").
    GUIBackgroundWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player,
                        GameFramework::LevelManagerBase* levels, GameFramework::ProfileManagerBase* profiles);
    // Deletes the glow, the printer and every window.
    ~GUIBackgroundWindow() override;

    GUIBackgroundWindow(const GUIBackgroundWindow&) = delete;
    GUIBackgroundWindow& operator=(const GUIBackgroundWindow&) = delete;

    // Once per frame; nothing until Start.
    virtual void Update();

    // The whole scene back, the text area fading in; the panel cycle ends.
    void ShowAll() override;
    // The landscape alone, the text area fading out; the panel cycle ends.
    void ShowScene() override;
    // The stage of the current profile's current level; one more once the last level is done and the game
    // finished; 0 without a profile.
    void UpdateStageTheme() override;
    // The text area has faded fully in, or fully out.
    bool IsFadeComplete() const override;

    // What the game, the loading windows and the menus tell the scene.
    void Start() { m_started = true; }
    void SetMenusReady() { m_menusReady = true; }
    // A level starts: the text area fades out and the scene with it, and the panel is the scene's again, in it
    // (PanelInScene).
    void LeaveForLevel();
    // The shared data have been loaded: WaitForSharedData builds the stage themes from them.
    void SetSharedData(const GameData* data);
    // The menus' side of the panel (see MenuBackground).
    GameTools::GUITextPrinter& GetTextPrinter() override { return *m_printer; }
    PanelState GetPanelState() const override { return m_panelState; }
    void RequestPanel() override { m_panelState = PanelState::Called; }
    void ClearPanelArrival() override;
    void ReleasePanel() override { m_panelState = PanelState::GivenBack; }
    bool IsPanelWindowVisible() const override;
    // A stage was finished: the themes of the new stage index fade in and the glow bursts over them once.
    void StartNewStageTheme() override;

    StartUpStep GetStartUpStep() const { return m_step; }
    bool IsLoadingShown() const { return m_loadingShown; }
    bool IsDataLoaded() const { return m_data != nullptr; }
    std::uint32_t GetStageThemeIndex() const { return m_stageThemeIndex; }
    float GetTextAlpha() const { return m_textAlpha; }
    bool IsTextAreaShown() const { return m_textShown; }

    KeystrelEngine::GUIWindow* GetSceneRoot() const { return m_sceneRoot; }
    KeystrelEngine::GUIWindow* GetDecorationRoot() const { return m_decorationRoot; }
    KeystrelEngine::GUIWindow* GetTopRoot() const { return m_topRoot; }
    KeystrelEngine::GUIWindow* GetTextAreaWindow() const { return m_textArea; }
    // The panel: the "text.mlf" window behind the text area.
    KeystrelEngine::GUIWindow* GetPanelWindow() const { return m_panel; }
    KeystrelEngine::GUIWindow* GetExtraLogo() const { return m_extraLogo; }
    KeystrelEngine::ParticleSystem* GetGlow() const { return m_glow; }

    struct Layer
    {
        KeystrelEngine::GUIWindow* window = nullptr;
        float alpha = 0.0f;     // its own fade, before the text area's dims it
        std::int32_t stage = 0; // stage themes: the first stage index that shows it
    };
    const std::vector<Layer>& GetBaseThemes() const { return m_baseThemes; }
    const std::vector<Layer>& GetStageThemes() const { return m_stageThemes; }

private:
    KeystrelEngine::GUIWindow* MakeRoot(KeystrelEngine::GUIWindow* parent, std::int32_t layer);
    KeystrelEngine::GUIWindow* MakeDecoration(const char* name, std::int32_t layer, bool animated);
    void MakeDecorations(std::int32_t themeCount);
    void MakeTextArea();
    void MakeScene(const std::vector<BackgroundTheme>& themes, KeystrelEngine::FileManager& files);
    // Hangs a theme's window under the scene root at its place in the file; stage 0 joins the base themes.
    void AddTheme(KeystrelEngine::GUIWindow* window, std::uint32_t position, std::int32_t stage);
    void DeleteWindows();

    void UpdateTextFade(float step);
    void UpdateStartUp();
    void StepFrameAndSeal();
    void StepNameAndPanel();
    void StepLoadingShown();
    void UnfoldPanel();
    void StepPanelArrival();
    void TakePanelBack();
    void EndPanelCycle();
    void BuildStageThemes();
    void UpdateTitles(float frameTime);
    void UpdateThemeFade(float frameTime);
    void DimAway();
    void FollowTextArea(float step);
    void FollowStageIndex(float step);
    void CountDownToGlow(float frameTime);
    void BurstGlow();

    bool IsAllowed(const Layer& theme) const;
    void ShowThemes();
    // Every visible layer of the list takes its own alpha, capped at the cap.
    static void ApplyAlpha(std::vector<Layer>& layers, float cap);

    KeystrelEngine::ModelManager* m_models;
    KeystrelEngine::TimerManager* m_timers;
    KeystrelEngine::GUIManager* m_gui;
    KeystrelEngine::ParticleSystemManager* m_particleSystems;
    GameFramework::AudioPlayer* m_player;
    GameFramework::LevelManagerBase* m_levels;
    GameFramework::ProfileManagerBase* m_profiles;
    const GameData* m_data = nullptr;

    KeystrelEngine::GUIWindow* m_sceneRoot = nullptr;
    KeystrelEngine::GUIWindow* m_decorationRoot = nullptr;
    KeystrelEngine::GUIWindow* m_topRoot = nullptr;
    std::int32_t m_decorationRootLayer = 1;
    std::vector<Layer> m_baseThemes;
    std::vector<Layer> m_stageThemes;
    // Every window made here, in the order made; deleted in the reverse order.
    std::vector<KeystrelEngine::GUIWindow*> m_windows;

    KeystrelEngine::GUIWindow* m_frame = nullptr;
    KeystrelEngine::GUIWindow* m_logo = nullptr;
    KeystrelEngine::GUIWindow* m_extraLogo = nullptr; // only with the publisher's small logo
    KeystrelEngine::GUIWindow* m_mountText = nullptr;
    KeystrelEngine::GUIWindow* m_textAppear = nullptr;
    KeystrelEngine::GUIWindow* m_panel = nullptr;
    KeystrelEngine::GUIWindow* m_textArea = nullptr;
    KeystrelEngine::GUIWindow* m_mountTitle = nullptr;
    KeystrelEngine::GUIWindow* m_titles[4] = {};
    // Frame, seal, the extra logo, the titles, mount_title and mount_text: what the show operations show.
    std::vector<Layer> m_decorations;

    std::unique_ptr<GameTools::GUITextPrinter> m_printer;
    KeystrelEngine::ParticleSystem* m_glow = nullptr;

    StartUpStep m_step = ShowFrameAndSeal;
    PanelState m_panelState = PanelState::InScene;
    bool m_started = false;
    bool m_loadingShown = false;
    bool m_menusReady = false;
    bool m_newStageTheme = false;
    bool m_glowPending = false; // the glow's one burst is still owed
    bool m_titlesStarted = false;
    bool m_themeFading = false;
    bool m_textShown = true;
    bool m_textHiding = false;
    float m_textAlpha = 0.0f;
    float m_titleClock = 0.0f;
    float m_themeFadeClock = 0.0f;
    float m_newThemeClock = 0.0f;
    std::uint32_t m_stageThemeIndex = 0;
};

} // namespace Wispfold
