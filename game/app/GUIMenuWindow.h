// The frame every menu and dialog window is drawn in, mixed into each menu window after its framework base: a
// frame model that unfolds over the menu background, a title the background types out, and the window's
// controls, which unfold with it. A window appears only while no other frame is on screen; once its controls
// have unfolded it fades in, at four times the frame time. Closed, it fades out at eight times the frame time,
// folds its controls back when the fade has ended, and frees the screen for the next window once its frame has
// gone. Windows shown over a running level first bring in the background's panel and give it back afterwards.
//
// A menu window's own Update calls this Update first, then reacts to its buttons and adds its texts while the
// frame widget is visible; its Open asks for the frame (RequestOpen) and its Close calls CloseFrame.
#pragma once

#include "engine/render/Color.h"
#include "game/app/GUIControl.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace GameFramework {
class AudioPlayer;
}

namespace KeystrelEngine {
class Engine;
class GUIManager;
class GUITextManager;
class GUIWindow;
class TimerManager;
} // namespace KeystrelEngine

namespace Wispfold {

class GameData;
class GUIMenuWindowManager;
class MenuBackground;

enum class FrameKind : std::int32_t
{
    MainMenu = 0,
    BigWindow = 1,
    SmallWindow = 2,
    StartGame = 3,
};

class GUIMenuWindow
{
public:
    static constexpr std::uint32_t kAppearSound = 4; // "window_appear"
    static constexpr std::uint32_t kDisappearSound = 5;
    static constexpr float kFrameRate = 42.0f;
    static constexpr float kFadeInRate = 4.0f; // alpha per second of frame time
    static constexpr float kFadeOutRate = 8.0f;
    static constexpr float kFrameFadeFrames = 15.0f;

    // Builds the frame from the kind's "window.mlf" and "window_area.mlf" under the parent (the background's
    // own window). The manager's background must outlive the window.
    GUIMenuWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player, const GameData* data,
                  GUIMenuWindowManager* manager, FrameKind kind, KeystrelEngine::GUIWindow* parent);
    // Deletes every control, the frame first.
    virtual ~GUIMenuWindow();

    GUIMenuWindow(const GUIMenuWindow&) = delete;
    GUIMenuWindow& operator=(const GUIMenuWindow&) = delete;

    // Once per frame: appear, the panel, the controls' unfold, the fades, the fold.
    virtual void Update();

    // The text table's text for the key, typed by the background each time the window appears.
    void SetTitle(const std::string& key);
    // A title of literal text, typed the same way.
    void SetTitleText(std::u16string title) { m_title = std::move(title); }
    void RequestOpen() { m_openRequested = true; }
    // The window starts to go, and a panel it holds goes back once its frame has gone; frames other than the main
    // menu's play the disappear sound.
    void CloseFrame();
    // Asks for the panel it holds to go back once the window has gone, before its Close.
    void GivePanelBackOnceGone();
    // Whether some control's model window is unfolding.
    bool IsAnyControlAnimating() const;
    // The frame's model or its widget is drawn: from the start of its unfold until it has folded away.
    bool IsFrameOnScreen() const;
    // The control's button was clicked while the window is shown. A closed window folding away takes no more
    // clicks: what a click would start then happens over the next window (a BACK after START on the level map
    // opened the menus over the level's loading, which then waited for the menu frame as long as they went on).
    bool IsClicked(const GUIControl& control) const;
    // Appends a control of the kind, its models named below "ui\\menus\\models\\" without the extension (empty
    // area names for none), under the frame's parent. The window owns it.
    GUIControl* AddControl(ControlKind kind, std::string_view model, std::string_view baseModel,
                           std::string_view selectionArea = {}, std::string_view textArea = {});
    // A button over a shared base model with its "_selection_area" and "_text_area" models.
    GUIControl* AddButton(std::string_view model, std::string_view baseModel);

    bool HoldsPanel() const;
    bool IsGivingPanelBack() const;

    FrameKind GetFrameKind() const { return m_frameKind; }
    GUIControl* GetFrame() const { return m_frame; }
    KeystrelEngine::GUIWindow* GetFrameWidget() const { return m_frameWidget; }
    const std::u16string& GetTitle() const { return m_title; }
    const std::vector<std::unique_ptr<GUIControl>>& GetControls() const { return m_controls; }

    bool m_openRequested = false;
    bool m_wantsPanel = false;                              // the window needs the background's panel before it appears
    bool m_shown = false;                                   // from the start of appearing until Close
    KeystrelEngine::Color m_colour{1.0f, 1.0f, 1.0f, 0.0f}; // alpha is the window's fade

protected:
    KeystrelEngine::Engine* m_engine;
    KeystrelEngine::TimerManager* m_timers;
    KeystrelEngine::GUIManager* m_gui;
    KeystrelEngine::GUITextManager* m_texts;
    GameFramework::AudioPlayer* m_player;
    const GameData* m_data;
    GUIMenuWindowManager* m_manager;

private:
    MenuBackground& Background() const;
    void StartAppearing();
    bool MustWaitForPanel() const;
    // The panel is up or coming for this window, and not given back.
    bool KeepsPanel() const;
    // Returns false while the window is shown, holds the panel and the background has none.
    bool UpdatePanel();
    void ReturnPanel(MenuBackground& background);
    void StartControls();
    void UpdateControls();
    void FadeOut(bool frameWasOnScreen);
    void FadeFrameWidget();
    bool PlaysSounds() const { return m_frameKind != FrameKind::MainMenu; }
    const KeystrelEngine::Model* MenuModel(std::string_view name) const;

    FrameKind m_frameKind;
    KeystrelEngine::GUIWindow* m_parent;
    GUIControl* m_frame;                      // the first control
    KeystrelEngine::GUIWindow* m_frameWidget; // the frame's widget
    std::u16string m_title;
    bool m_controlsOut = false; // the controls have been asked to appear and not yet to fold
    bool m_panelAsked = false;  // the window took the screen to wait for the panel it asked for
    std::vector<std::unique_ptr<GUIControl>> m_controls; // the frame, then the window's own in order of adding
};

} // namespace Wispfold
