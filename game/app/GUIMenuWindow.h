// The frame every menu and dialog window is drawn in, mixed into each menu window after its framework base: a
// frame model that unfolds over the menu background, a title the background types out, and the window's
// controls, which unfold with it. A window appears only while no other frame is on screen; once its controls
// have unfolded it fades in, at four times the frame time. Closed, it fades out at eight times the frame time,
// folds its controls back when the fade has ended, and frees the screen for the next window once its frame has
// gone. Windows shown over a running level first bring in the background's panel and give it back afterwards.
//
// A window is in one State at a time, and the screen (the manager's frame-free flag) is taken and freed only by
// the moves between them, all in GUIMenuWindow.cpp ("The cycle"):
//
//   from                  to              when                                        doing
//   Closed                Appearing       an Open waits, the screen is free, and      holds the panel (over it)
//                                         over the panel: the panel is free, or
//                                         still its own
//   Appearing             CallingPanel    it holds the panel and the panel is not up  takes the screen, calls it
//   Open                  RecallingPanel  it holds the panel and the panel is not up  takes the screen, calls it
//   CallingPanel          Appearing       the panel has arrived                       frees the screen
//   RecallingPanel        Open            the panel has arrived
//   Appearing             Open            the screen is free                          the controls unfold
//   CallingPanel          CallDropped     Close
//   Open, RecallingPanel  Closing         Close
//   CallDropped           Closed          its next update                             frees the screen
//   Closing               Folding         the fade has ended                          the controls fold
//   Folding               Closed          the frame has gone                          frees the screen
//
// An Open waits, whatever the state, until the window is Closed and may appear. Beside the cycle, a closed window
// that holds the panel gives it back once the panel is up and the screen is free, and lets it go when the scene
// has taken it back itself (see MenuBackground).
//
// A menu window's own Update calls this Update first, then reacts to its buttons and adds its texts while the
// frame widget is visible; its Open asks for the frame (RequestOpen, or RequestOpenOverPanel) and its Close calls
// CloseFrame.
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
    enum class State
    {
        Closed,         // no frame of its own on screen
        Appearing,      // shown: its controls unfold as soon as the screen is free (within the update that shows it)
        CallingPanel,   // shown: it holds the screen while the panel it called unfolds; its controls wait
        Open,           // shown with its controls out: they unfold, then the window fades in and takes clicks
        RecallingPanel, // shown with its controls out: the scene took its panel, called again; it waits
        Closing,        // closed: it fades out, its controls still out
        Folding,        // closed: its controls fold; its frame is still on screen
        CallDropped,    // closed while the panel it called was coming: it still holds the screen it took
    };
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
    void RequestOpen();
    // For the windows shown over a running level.
    void RequestOpenOverPanel() { m_openRequest = OpenRequest::OverPanel; }
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

    State GetState() const { return m_state; }
    // From the start of appearing until Close.
    bool IsShown() const;
    bool IsOpenRequested() const { return m_openRequest != OpenRequest::None; }
    bool WantsPanel() const { return m_openRequest == OpenRequest::OverPanel; }
    bool HoldsPanel() const;
    bool IsGivingPanelBack() const;

    FrameKind GetFrameKind() const { return m_frameKind; }
    GUIControl* GetFrame() const { return m_frame; }
    KeystrelEngine::GUIWindow* GetFrameWidget() const { return m_frameWidget; }
    const std::u16string& GetTitle() const { return m_title; }
    const std::vector<std::unique_ptr<GUIControl>>& GetControls() const { return m_controls; }

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
    // The Open that waits until the window can appear.
    enum class OpenRequest
    {
        None,
        Plain,
        OverPanel, // brings in the background's panel before the window appears
    };

    MenuBackground& Background() const;
    // The cycle's moves before the controls' update; false while the shown window waits for its panel.
    bool MoveBeforeControls();
    // The closing moves after the controls' update.
    void MoveAfterControls(bool frameWasOnScreen);
    bool MayAppear() const;
    // The panel is up or coming for this window, and not given back.
    bool KeepsPanel() const;
    void Appear();
    // Returns false while the panel is not up.
    bool FollowPanel();
    void ReturnPanel();
    void StartControls();
    void UpdateControls();
    void FadeFrameWidget();
    bool PlaysSounds() const { return m_frameKind != FrameKind::MainMenu; }
    const KeystrelEngine::Model* MenuModel(std::string_view name) const;

    FrameKind m_frameKind;
    KeystrelEngine::GUIWindow* m_parent;
    GUIControl* m_frame;                      // the first control
    KeystrelEngine::GUIWindow* m_frameWidget; // the frame's widget
    std::u16string m_title;
    State m_state = State::Closed;
    OpenRequest m_openRequest = OpenRequest::None;
    std::vector<std::unique_ptr<GUIControl>> m_controls; // the frame, then the window's own in order of adding
};

} // namespace Wispfold
