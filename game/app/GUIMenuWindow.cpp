#include "game/app/GUIMenuWindow.h"

#include "engine/foundation/TimerManager.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/AnimationControl.h"
#include "engine/render/Model.h"
#include "framework/AudioPlayer.h"
#include "framework/GUITextPrinter.h"
#include "game/app/GUIMenuWindowManager.h"
#include "game/app/GameData.h"
#include "game/app/MenuBackground.h"

#include <algorithm>
#include <array>

namespace Wispfold {

using KeystrelEngine::GUIWindow;
using KeystrelEngine::Model;

namespace {

constexpr const char* kModelFolder = "ui\\menus\\models\\";
constexpr std::array<const char*, 4> kFrameFolders{"main_menu", "big_window", "small_window", "start_game"};

std::string FramePart(FrameKind kind, const char* part)
{
    return std::string(kFrameFolders[static_cast<std::size_t>(kind)]) + "\\" + part;
}

} // namespace

GUIMenuWindow::GUIMenuWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player, const GameData* data,
                             GUIMenuWindowManager* manager, FrameKind kind, GUIWindow* parent)
    : m_engine(engine), m_timers(engine->m_timers.get()), m_gui(engine->m_gui.get()), m_texts(m_gui->m_texts.get()),
      m_player(player), m_data(data), m_manager(manager), m_frameKind(kind), m_parent(parent)
{
    const std::string window = FramePart(kind, "window");
    m_frame = AddControl(ControlKind::ModelWindow, window, window, {}, FramePart(kind, "window_area"));
    if (GUIWindow* modelWindow = m_frame->GetModelWindow())
        modelWindow->GetQuad()->GetAnimationControl().m_speed = kFrameRate;
    m_frameWidget = m_frame->GetWidget();
}

GUIMenuWindow::~GUIMenuWindow() = default;

GUIControl* GUIMenuWindow::AddControl(ControlKind kind, std::string_view model, std::string_view baseModel,
                                      std::string_view selectionArea, std::string_view textArea)
{
    m_controls.push_back(std::make_unique<GUIControl>(m_engine, MenuModel(model), MenuModel(baseModel),
                                                      MenuModel(selectionArea), MenuModel(textArea), m_parent, m_data,
                                                      kind));
    return m_controls.back().get();
}

GUIControl* GUIMenuWindow::AddButton(std::string_view model, std::string_view baseModel)
{
    const std::string base(baseModel);
    return AddControl(ControlKind::Button, model, base, base + "_selection_area", base + "_text_area");
}

const Model* GUIMenuWindow::MenuModel(std::string_view name) const
{
    if (name.empty())
        return nullptr;
    return m_data->GetModel(kModelFolder + std::string(name) + ".mlf");
}

void GUIMenuWindow::SetTitle(const std::string& key)
{
    m_title = m_texts->GetText(key, -1);
}

bool GUIMenuWindow::IsAnyControlAnimating() const
{
    return std::any_of(m_controls.begin(), m_controls.end(),
                       [](const std::unique_ptr<GUIControl>& control) { return control->IsUnfolding(); });
}

bool GUIMenuWindow::IsClicked(const GUIControl& control) const
{
    return IsShown() && control.GetButton()->IsClicked();
}

bool GUIMenuWindow::IsShown() const
{
    return m_state == State::Appearing || m_state == State::CallingPanel || m_state == State::Open ||
           m_state == State::RecallingPanel;
}

bool GUIMenuWindow::HoldsPanel() const
{
    return Background().GetPanelHolder() == this;
}

bool GUIMenuWindow::IsGivingPanelBack() const
{
    return HoldsPanel() && Background().IsPanelDueBack();
}

MenuBackground& GUIMenuWindow::Background() const
{
    return *m_manager->m_background;
}

void GUIMenuWindow::Update()
{
    if (!MoveBeforeControls())
        return;
    if (IsShown() && !IsAnyControlAnimating())
        m_colour.a = std::min(1.0f, m_colour.a + m_timers->m_frameTime * kFadeInRate);
    const bool frameWasOnScreen = IsFrameOnScreen();
    UpdateControls();
    if (!IsShown()) {
        m_colour.a = std::max(0.0f, m_colour.a - m_timers->m_frameTime * kFadeOutRate);
        MoveAfterControls(frameWasOnScreen);
    }
    if (m_frameWidget->IsVisible())
        FadeFrameWidget();
}

// The cycle ---------------------------------------------------------------------------------------------------

void GUIMenuWindow::RequestOpen()
{
    if (m_openRequest == OpenRequest::None)
        m_openRequest = OpenRequest::Plain;
}

// However the window closes, a panel it holds goes back once its frame has gone: a hold outliving the window
// would let it skip the wait next time and start over another window's panel.
void GUIMenuWindow::CloseFrame()
{
    switch (m_state) {
    case State::CallingPanel:
        m_state = State::CallDropped;
        break;
    case State::Open:
    case State::RecallingPanel:
        m_state = State::Closing;
        break;
    default:
        break;
    }
    GivePanelBackOnceGone();
    if (PlaysSounds())
        m_player->PlaySound(kDisappearSound);
}

void GUIMenuWindow::GivePanelBackOnceGone()
{
    if (HoldsPanel())
        Background().MarkPanelDueBack();
}

// A window may pass several moves in one update: shown and calling the panel, or the panel arrived and the controls
// out. A closed window that took the screen only to wait for the panel frees it at once (no frame of its own will
// fold to free it), then gives its panel back.
bool GUIMenuWindow::MoveBeforeControls()
{
    if (m_state == State::Closed && MayAppear())
        Appear();
    if (m_state == State::CallDropped) {
        m_manager->m_frameFree = true;
        m_state = State::Closed;
    }
    if (HoldsPanel()) {
        if (!IsShown())
            ReturnPanel();
        else if (!FollowPanel())
            return false;
    }
    if (m_state == State::Appearing && m_manager->m_frameFree)
        StartControls();
    return true;
}

// An Open over the panel waits until the panel is free, unless it is still this window's: opened again before it
// gave the panel back (the in-game menu back from the leave question), the window keeps it.
bool GUIMenuWindow::MayAppear() const
{
    if (m_openRequest == OpenRequest::None || !m_manager->m_frameFree)
        return false;
    return m_openRequest == OpenRequest::Plain || KeepsPanel() || Background().IsPanelFree();
}

bool GUIMenuWindow::KeepsPanel() const
{
    const MenuBackground::PanelState state = Background().GetPanelState();
    return HoldsPanel() && (state == MenuBackground::PanelState::Called ||
                            state == MenuBackground::PanelState::Arrived || state == MenuBackground::PanelState::Up);
}

void GUIMenuWindow::Appear()
{
    if (m_openRequest == OpenRequest::OverPanel)
        Background().HoldPanel(*this);
    m_openRequest = OpenRequest::None;
    m_state = State::Appearing;
}

// While shown, the window holds the screen until its panel is up, and calls the panel unless it is coming already;
// the title types while the panel unfolds, so the panel never stands empty before the frame. A window whose panel
// the scene took while it was shown (a level started over it) calls it again with its controls out. The panel's
// arrival frees the screen for the controls of a window that has none out yet.
bool GUIMenuWindow::FollowPanel()
{
    MenuBackground& background = Background();
    const bool controlsOut = m_state == State::Open || m_state == State::RecallingPanel;
    if (!background.IsPanelPresent()) {
        m_manager->m_frameFree = false;
        m_state = controlsOut ? State::RecallingPanel : State::CallingPanel;
        if (!background.IsPanelRequested()) {
            background.RequestPanel();
            background.GetTextPrinter().SetText(m_title);
        }
    }
    if (background.HasPanelJustArrived()) {
        background.ClearPanelArrival();
        if (!controlsOut)
            m_manager->m_frameFree = true;
        m_state = controlsOut ? State::Open : State::Appearing;
    }
    return background.IsPanelPresent();
}

// Closed, the window gives the panel back, as its Close asked, once the panel is up and the screen is free (its
// frame has gone); it waits while a panel it called is still coming, and lets go of one the scene has taken back
// itself (the menu scene's return).
void GUIMenuWindow::ReturnPanel()
{
    MenuBackground& background = Background();
    if (!background.IsPanelDueBack())
        return;
    if (background.IsPanelPresent()) {
        if (m_manager->m_frameFree)
            background.GiveBackPanel();
    } else if (!background.IsPanelRequested()) {
        background.LetGoOfPanel();
    }
}

void GUIMenuWindow::StartControls()
{
    for (const std::unique_ptr<GUIControl>& control : m_controls)
        control->Appear();
    m_manager->m_frameFree = false;
    m_state = State::Open;
    m_colour.a = 0.0f;
    Background().GetTextPrinter().SetText(m_title);
    if (PlaysSounds())
        m_player->PlaySound(kAppearSound);
}

// The fold starts in the frame in which the fade ends, at once for a window closed before it began to fade in (its
// controls out, its alpha still 0); the screen is free once the frame has gone.
void GUIMenuWindow::MoveAfterControls(bool frameWasOnScreen)
{
    if (m_state == State::Closing && m_colour.a < GUIControl::kVisibleAlpha) {
        for (const std::unique_ptr<GUIControl>& control : m_controls)
            control->Disappear();
        m_state = State::Folding;
    }
    if (m_state == State::Folding && frameWasOnScreen && !IsFrameOnScreen()) {
        m_manager->m_frameFree = true;
        m_state = State::Closed;
    }
}

// The frame ---------------------------------------------------------------------------------------------------

bool GUIMenuWindow::IsFrameOnScreen() const
{
    const GUIWindow* modelWindow = m_frame->GetModelWindow();
    return (modelWindow && modelWindow->IsVisible()) || m_frameWidget->IsVisible();
}

void GUIMenuWindow::UpdateControls()
{
    for (const std::unique_ptr<GUIControl>& control : m_controls) {
        control->m_colour = m_colour;
        control->Update();
    }
}

// An unfolding frame fades with its animation. A frame of one animation frame has no model window and follows
// the window's alpha instead (its control gives it the colour).
void GUIMenuWindow::FadeFrameWidget()
{
    const GUIWindow* modelWindow = m_frame->GetModelWindow();
    if (!modelWindow)
        return;
    const KeystrelEngine::AnimationControl& animation = modelWindow->GetQuad()->GetAnimationControl();
    float frame = static_cast<float>(animation.m_currentFrame);
    if (animation.m_currentAnimation == GUIControl::kFold && animation.m_playing)
        frame += animation.m_blendFraction;
    m_frameWidget->SetColour({1.0f, 1.0f, 1.0f, std::clamp(frame / kFrameFadeFrames, 0.0f, 1.0f)});
}

} // namespace Wispfold
