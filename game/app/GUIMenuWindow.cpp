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

// However the window closes, a panel it holds goes back once its frame has gone: a hold outliving the window
// would let it skip the wait next time and start over another window's panel.
void GUIMenuWindow::CloseFrame()
{
    m_shown = false;
    GivePanelBackOnceGone();
    if (PlaysSounds())
        m_player->PlaySound(kDisappearSound);
}

void GUIMenuWindow::GivePanelBackOnceGone()
{
    if (HoldsPanel())
        Background().MarkPanelDueBack();
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

bool GUIMenuWindow::IsAnyControlAnimating() const
{
    return std::any_of(m_controls.begin(), m_controls.end(),
                       [](const std::unique_ptr<GUIControl>& control) { return control->IsUnfolding(); });
}

bool GUIMenuWindow::IsClicked(const GUIControl& control) const
{
    return m_shown && control.GetButton()->IsClicked();
}

void GUIMenuWindow::Update()
{
    StartAppearing();
    if (!UpdatePanel())
        return;
    if (m_shown && m_manager->m_frameFree)
        StartControls();
    if (m_shown && !IsAnyControlAnimating())
        m_colour.a = std::min(1.0f, m_colour.a + m_timers->m_frameTime * kFadeInRate);
    const bool frameWasOnScreen = IsFrameOnScreen();
    UpdateControls();
    if (!m_shown)
        FadeOut(frameWasOnScreen);
    if (m_frameWidget->IsVisible())
        FadeFrameWidget();
}

void GUIMenuWindow::StartAppearing()
{
    if (m_shown || !m_manager->m_frameFree || !m_openRequested)
        return;
    if (m_wantsPanel && MustWaitForPanel())
        return;
    m_shown = true;
    m_openRequested = false;
    if (m_wantsPanel) {
        Background().HoldPanel(*this);
        m_wantsPanel = false;
    }
}

// A window opened again before it gave its panel back keeps it (the in-game menu back from the menu-exit
// question); one that needs it anew waits until the panel of an earlier window has gone.
bool GUIMenuWindow::MustWaitForPanel() const
{
    return !KeepsPanel() && !Background().IsPanelFree();
}

bool GUIMenuWindow::KeepsPanel() const
{
    const MenuBackground::PanelState state = Background().GetPanelState();
    return HoldsPanel() && (state == MenuBackground::PanelState::Called ||
                            state == MenuBackground::PanelState::Arrived || state == MenuBackground::PanelState::Up);
}

// While shown, the window takes the screen and asks for the panel; the panel's arrival frees the screen again
// for the window's own controls. A shown window left without a panel (the background started a level over it)
// asks again, with the screen it has taken. Once the window has gone it gives back the panel when asked to, and
// lets go of one the background has taken back itself (the menu scene's return).
bool GUIMenuWindow::UpdatePanel()
{
    if (!HoldsPanel())
        return true;
    MenuBackground& background = Background();
    if (!m_shown) {
        ReturnPanel(background);
        return true;
    }
    const bool hasScreen = m_panelAsked || m_controlsOut;
    if (!background.IsPanelPresent() && (m_manager->m_frameFree || hasScreen)) {
        m_manager->m_frameFree = false;
        m_panelAsked = true;
        if (!background.IsPanelRequested()) {
            background.RequestPanel();
            // The title types while the panel unfolds, so the panel never stands empty before the frame.
            background.GetTextPrinter().SetText(m_title);
        }
    }
    if (background.IsPanelPresent() && background.HasPanelJustArrived()) {
        background.ClearPanelArrival();
        m_panelAsked = false;
        if (!m_controlsOut)
            m_manager->m_frameFree = true;
    }
    return background.IsPanelPresent();
}

// Once the window has gone, a screen it took only to wait for the panel is free again at once (no frame of its own
// will fold to free it); the panel goes back once the screen is free, or is let go when the background has taken
// it back itself.
void GUIMenuWindow::ReturnPanel(MenuBackground& background)
{
    if (m_panelAsked && !m_controlsOut)
        m_manager->m_frameFree = true;
    m_panelAsked = false;
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
    m_controlsOut = true;
    m_colour.a = 0.0f;
    Background().GetTextPrinter().SetText(m_title);
    if (PlaysSounds())
        m_player->PlaySound(kAppearSound);
}

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

// The fold starts in the frame in which the fade ends, at once for a window closed before it began to fade in
// (its controls out, its alpha still 0); the screen is free once the frame has gone.
void GUIMenuWindow::FadeOut(bool frameWasOnScreen)
{
    m_colour.a = std::max(0.0f, m_colour.a - m_timers->m_frameTime * kFadeOutRate);
    if (m_controlsOut && m_colour.a < GUIControl::kVisibleAlpha) {
        for (const std::unique_ptr<GUIControl>& control : m_controls)
            control->Disappear();
        m_controlsOut = false;
    }
    if (frameWasOnScreen && !IsFrameOnScreen())
        m_manager->m_frameFree = true;
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
