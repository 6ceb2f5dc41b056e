#include "GUIGameLogicWindow.h"

#include "GUICollectionOfManaEffect.h"
#include "GUIControl.h"
#include "GUIGameLogicProgress.h"
#include "GUIMenuWindowManager.h"
#include "GameData.h"

#include "framework/GameLogicBase.h"
#include "framework/LevelManagerBase.h"
#include "framework/ProfileBase.h"
#include "framework/ScoreKeeper.h"
#include "framework/WindowRequest.h"
#include "game/play/CameraControl.h"
#include "game/play/GameLogicView.h"

#include "engine/foundation/Config.h"
#include "engine/foundation/Controls.h"
#include "engine/foundation/TimerManager.h"
#include "engine/foundation/Window.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIFont.h"
#include "engine/gui/GUIFontManager.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUITextManager.h"
#include "engine/render/Camera.h"
#include "engine/render/Model.h"
#include "engine/render/ParticleSystem.h"
#include "engine/render/ParticleSystemManager.h"
#include "engine/render/SpriteGroup.h"
#include "platform/win32/Window.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace Wispfold {

using KeystrelEngine::Config;
using KeystrelEngine::GUIWindow;

namespace {

constexpr const char* kFolder = "ui\\menus\\models\\game_logic\\";
constexpr const char* kControls = "ui\\menus\\models\\controls\\";
constexpr std::int32_t kBackgroundLayer = 0;

// Texts: alignment flags, then font.
constexpr std::uint32_t kButtonFlags = 3;
constexpr std::uint32_t kCaptionFlags = 6;
constexpr std::uint32_t kPanelFlags = 10;
constexpr std::uint32_t kBarFlags = 3;
constexpr std::uint32_t kCaptionFont = 1;
constexpr std::uint32_t kBarFont = 2;
constexpr std::uint32_t kPanelFont = 6;
constexpr float kOwnSize = -1.0f;

// A count over a count that may be 0 (a board without mana or energy): 0 then.
float Ratio(std::uint32_t part, std::uint32_t whole)
{
    return whole == 0 ? 0.0f : static_cast<float>(part) / static_cast<float>(whole);
}

void AppendNumber(std::u16string& text, std::uint64_t value)
{
    char digits[24];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (count > 0)
        text.push_back(static_cast<char16_t>(digits[--count]));
}

} // namespace

GUIGameLogicWindow::GUIGameLogicWindow(KeystrelEngine::Engine* engine, GameFramework::ProfileManagerBase* profiles,
                                       const GameData* data, GUIMenuWindowManager* manager)
    : GUIGameLogicWindowBase(engine, profiles), m_gui(engine->m_gui.get()), m_texts(m_gui->m_texts.get()),
      m_timers(engine->m_timers.get()), m_controlsInput(engine->m_controls.get()), m_data(data), m_manager(manager)
{
    const KeystrelEngine::Model* noQuad = nullptr;
    m_statistics = m_gui->CreateWindow(GUIWindow::kShown, {}, {}, noQuad, data->GetChildWindow());
    m_statistics->SetLayer(kStatisticsLayer);
    m_models = engine->m_models.get();
    m_root = m_gui->CreateWindow(0, {}, {}, noQuad, data->GetChildWindow());
    GUIWindow* inner = m_gui->CreateWindow(GUIWindow::kShown, {}, {}, noQuad, m_root);
    m_frame = m_gui->CreateWindow(GUIWindow::kShown, {}, {}, noQuad, inner);
    GUIWindow* background = m_gui->CreateWindow(GUIWindow::kShown, {}, {1.0f, 1.0f},
                                                data->GetModel(std::string(kFolder) + "background.mlf"), inner);
    background->SetLayer(kBackgroundLayer);
    m_controls[kMenu] = MakeButton("menu_button", "button_small", ControlKind::Button);
    m_controls[kCamera] = MakeButton("mode_button", "button_game_logic_mode", ControlKind::Button);
    m_controls[kMinimise] = MakeButton("minimize_button", "button_game_logic_minimize", ControlKind::Button);
    m_controls[kExit] = MakeButton("close_button", "button_game_logic_close", ControlKind::Button);
    m_controls[kLevelPanel] = MakePanel("level_name", "_text_area");
    m_controls[kScorePanel] = MakePanel("score", "_text_area");
    m_controls[kManaFrame] = MakeBarFrame("mana_background");
    m_controls[kEnergyFrame] = MakeBarFrame("energy_background");
    m_controls[kWindowed] = MakeButton("maximize_window_button", "button_game_logic_maximize", ControlKind::CheckBox);
    m_controls[kFullScreen] =
        MakeButton("maximize_fullscreen_button", "button_game_logic_maximize", ControlKind::CheckBox);
    m_levelCaption = MakeCaption("level_name_title_text_area");
    m_scoreCaption = MakeCaption("score_title_text_area");
    m_manaBar = std::make_unique<GUIGameLogicProgress>(engine, *data, kBarSpeed, "game_logic\\mana", m_frame);
    m_energyBar = std::make_unique<GUIGameLogicProgress>(engine, *data, kBarSpeed, "game_logic\\energy", m_frame);
    m_glow = m_engine->m_particleSystems->CloneParticleSystem(*data->GetParticleSystem(kGlowSystem));
    KeystrelEngine::Model& sprites = *m_glow->GetSpriteGroup()->GetModel();
    sprites.m_flags |= KeystrelEngine::Model::kFixedDepth | KeystrelEngine::Model::kShown;
    sprites.SetSortDepth(m_frame->GetDepth() - kGlowDepthOffset);
    m_glow->m_emitting = false;
}

GUIGameLogicWindow::~GUIGameLogicWindow()
{
    m_engine->m_particleSystems->DestroyParticleSystem(m_glow);
}

std::unique_ptr<GUIControl> GUIGameLogicWindow::MakeButton(const std::string& model, const std::string& base,
                                                           ControlKind kind)
{
    const std::string controls = kControls + base;
    return std::make_unique<GUIControl>(m_engine, m_data->GetModel(kFolder + model + ".mlf"),
                                        m_data->GetModel(controls + ".mlf"),
                                        m_data->GetModel(controls + "_selection_area.mlf"),
                                        m_data->GetModel(controls + "_text_area.mlf"), m_frame, m_data, kind);
}

std::unique_ptr<GUIControl> GUIGameLogicWindow::MakePanel(const std::string& model, const char* textArea)
{
    const KeystrelEngine::Model* own = m_data->GetModel(kFolder + model + ".mlf");
    const KeystrelEngine::Model* area = textArea ? m_data->GetModel(kFolder + model + textArea + ".mlf") : nullptr;
    return std::make_unique<GUIControl>(m_engine, own, own, nullptr, area, m_frame, m_data, ControlKind::ModelWindow);
}

std::unique_ptr<GUIControl> GUIGameLogicWindow::MakeBarFrame(const std::string& model)
{
    std::unique_ptr<GUIControl> frame = MakePanel(model, nullptr);
    frame->SetAnimationRate(kBarFrameRate);
    return frame;
}

GUIWindow* GUIGameLogicWindow::MakeCaption(const std::string& textArea)
{
    const KeystrelEngine::Model& area = *m_data->GetModel(kFolder + textArea + ".mlf");
    return m_gui->CreateWindow(GUIWindow::kShown, GUIControl::GetModelPosition(area), GUIControl::GetModelExtent(area),
                               static_cast<const KeystrelEngine::Model*>(nullptr), m_frame);
}

std::array<GUIControl*, GUIGameLogicWindow::kOwnCount> GUIGameLogicWindow::FadingControls() const
{
    std::array<GUIControl*, kOwnCount> all{};
    for (int i = 0; i < kOwnCount; ++i)
        all[i] = m_controls[i].get();
    return all;
}

GUIGameLogicWindow::ControlIndex GUIGameLogicWindow::WindowButtonFor(bool fullScreen)
{
    return fullScreen ? kWindowed : kFullScreen;
}

GUIControl& GUIGameLogicWindow::ShownWindowButton() const
{
    return *m_controls[m_shownWindowButton];
}

void GUIGameLogicWindow::FollowWindowMode()
{
    const ControlIndex wanted = WindowButtonFor(m_fullScreen);
    if (wanted != m_shownWindowButton) {
        ShownWindowButton().Disappear();
        m_shownWindowButton = wanted;
        ShownWindowButton().Appear();
    }
    ShownWindowButton().GetCheckBox()->m_checked = m_fullScreen;
}

void GUIGameLogicWindow::Open(GameFramework::GameLogicBase* logic)
{
    m_view = dynamic_cast<GameLogicView*>(logic);
    if (!m_view)
        return;
    GUIGameLogicWindowBase::Open(logic);
    m_relax = m_view->IsRelaxMode();
    m_root->SetVisible(true);
    m_opening = true;
    for (int i = 0; i < kListed; ++i)
        m_controls[i]->Appear();
    m_controls[kManaFrame]->Appear();
    m_shownWindowButton = WindowButtonFor(m_fullScreen);
    ShownWindowButton().Appear();
    m_manaBar->Set(Ratio(m_view->GetManaProgress(), m_view->GetManaTarget()));
    if (m_relax) {
        m_energyBar->HideFill();
        m_controls[kEnergyFrame]->GetWidget()->SetVisible(false);
    } else {
        m_controls[kEnergyFrame]->Appear();
        m_energyBar->Set(Ratio(m_view->GetEnergyLeft(), m_view->GetEnergyBudget()));
    }
    m_manaBar->m_speed = kBarSpeed;
    m_energyBar->m_speed = kBarSpeed;
    SetActive(true);
}

void GUIGameLogicWindow::Close()
{
    GUIGameLogicWindowBase::Close();
    m_view = nullptr;
    m_opening = false;
}

// Every button greys out together under a dialog: none of them answers a click while the HUD is inactive.
void GUIGameLogicWindow::SetActive(bool active)
{
    GUIGameLogicWindowBase::SetActive(active);
    for (ControlIndex index : {kMenu, kCamera, kMinimise, kExit, kWindowed, kFullScreen})
        m_controls[index]->GetButton()->SetEnabled(active);
}

bool GUIGameLogicWindow::IsViewOblique() const
{
    const std::int32_t type = m_view->GetCameraType();
    return !(type == CameraControl::kTypeTop ||
             (type == CameraControl::kTypeFree && std::fabs(m_view->GetCameraValue()) < kVisibleAlpha));
}

bool GUIGameLogicWindow::IsShown(const GUIControl& control)
{
    return (control.GetModelWindow() && control.GetModelWindow()->IsVisible()) || control.GetWidget()->IsVisible();
}

void GUIGameLogicWindow::Fade()
{
    const std::array<GUIControl*, kOwnCount> fading = FadingControls();
    const float frameTime = m_timers->m_frameTime;
    if (m_opening) {
        if (std::none_of(fading.begin(), fading.end(), [](GUIControl* c) { return c->IsUnfolding(); }))
            m_colour.a = std::min(1.0f, m_colour.a + frameTime * kFadeInRate);
    } else {
        const float before = m_colour.a;
        m_colour.a = std::max(0.0f, m_colour.a - frameTime * kFadeOutRate);
        if (before >= kVisibleAlpha && m_colour.a < kVisibleAlpha) {
            // A control the level never showed (relax mode's energy frame, the unused window-mode button) has
            // nothing to fold: folding it would show it.
            for (GUIControl* control : fading)
                if (IsShown(*control))
                    control->Disappear();
            // The bars are no controls of the fold: their fills go now, else they would outlast it over the
            // next screen.
            m_manaBar->HideFill();
            m_energyBar->HideFill();
        }
        if (m_colour.a < kVisibleAlpha &&
            std::none_of(fading.begin(), fading.end(), [](GUIControl* c) { return IsShown(*c); }))
            m_root->SetVisible(false);
    }
    for (GUIControl* control : fading) {
        control->m_colour = m_colour;
        control->Update();
    }
    // Also after Close, when the bars no longer move.
    m_manaBar->SetColour(m_colour);
    m_energyBar->SetColour(m_colour);
}

void GUIGameLogicWindow::UpdateBars()
{
    float manaTarget = Ratio(m_view->GetManaProgress(), m_view->GetManaTarget());
    float energyTarget = Ratio(m_view->GetEnergyLeft(), m_view->GetEnergyBudget());
    if (m_logic->GetState() == GameFramework::GameLogicBase::LevelWon) {
        manaTarget = m_manager->m_firstCountUp ? 0.0f : 1.0f;
        if (!m_manager->m_firstCountUp) {
            m_manaBar->Set(1.0f);
            m_manaBar->m_speed = kWonManaSpeed;
        }
        if (m_manager->m_secondCountUp) {
            m_energyBar->m_speed = kWonEnergySpeed;
            energyTarget = 0.0f;
            // The level-complete window empties the count-up value as its energy count starts; it takes the
            // energy left before the bar drains, so the count runs up to it.
            if (m_manager->m_countUpLimit < kVisibleAlpha)
                m_manager->m_countUpLimit = m_energyBar->GetValue();
        }
    }
    const float manaBefore = m_manaBar->GetValue();
    m_manaBar->Update(manaTarget);
    m_energyBar->Update(energyTarget);
    UpdateGlow(manaBefore);
}

void GUIGameLogicWindow::UpdateGlow(float manaBefore)
{
    m_glow->m_emitting = std::fabs(m_manaBar->GetValue() - manaBefore) > kVisibleAlpha;
    const KeystrelEngine::GUIRect fill = m_manaBar->GetFillRect();
    const float halfWidth = fill.width * 0.5f;
    const float halfHeight = fill.height * 0.5f;
    m_glow->m_position = {fill.x + halfWidth, fill.y + halfHeight, 0.0f};
    m_glow->SetBox({-halfWidth, -halfHeight, 0.0f}, {halfWidth, halfHeight, 0.0f});
}

void GUIGameLogicWindow::UpdateButtons()
{
    if (m_controls[kCamera]->GetButton()->IsClicked())
        m_view->SetCameraType(IsViewOblique() ? CameraControl::kTypeTop : CameraControl::kTypeOblique);
    if (m_controls[kMinimise]->GetButton()->IsClicked())
        PostMessageA(m_window->m_handle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    if (ShownWindowButton().GetButton()->IsClicked()) {
        m_fullScreen = !m_fullScreen;
        m_config->v_fullscreen = m_fullScreen;
        m_config->Save();
        m_config->SetCommandState("v_window_change_mode", Config::kCommandRaised);
        FollowWindowMode();
    }
}

void GUIGameLogicWindow::AddTexts()
{
    m_controls[kMenu]->GetWidget()->AddTextKey(kButtonFlags, kCaptionFont, "GAME_LOGIC_MENU", -1, 0.0f, kOwnSize, {},
                                               m_colour);
    m_controls[kCamera]->GetWidget()->AddTextKey(kButtonFlags, kCaptionFont,
                                                 IsViewOblique() ? "GAME_LOGIC_2D" : "GAME_LOGIC_3D", -1, 0.0f,
                                                 kOwnSize, {}, m_colour);
    m_levelCaption->AddTextKey(kCaptionFlags, kCaptionFont, "GAME_LOGIC_LEVEL", -1, 0.0f, kOwnSize, {}, m_colour);
    m_scoreCaption->AddTextKey(kCaptionFlags, kCaptionFont, "GAME_LOGIC_SCORE", -1, 0.0f, kOwnSize, {}, m_colour);
    const GameFramework::LevelId id = m_logic->GetLevel()->id;
    m_line.clear();
    AppendNumber(m_line, std::uint64_t{id.stage} + 1);
    m_line.push_back(u'-');
    AppendNumber(m_line, std::uint64_t{id.level} + 1);
    m_controls[kLevelPanel]->GetWidget()->AddText(kPanelFlags, kPanelFont, m_line, 0.0f, kOwnSize, {}, m_colour);
    m_line.clear();
    AppendNumber(m_line, std::uint64_t{m_profile ? m_profile->m_score : 0} + m_logic->GetScoreKeeper()->m_total);
    m_controls[kScorePanel]->GetWidget()->AddText(kPanelFlags, kPanelFont, m_line, 0.0f, kOwnSize, {}, m_colour);
    m_manaBar->GetCaption()->AddTextKey(kBarFlags, kBarFont, "GAME_LOGIC_MANNA", -1, 0.0f, kOwnSize, {}, m_colour);
    m_energyBar->GetCaption()->AddTextKey(kBarFlags, kBarFont, "GAME_LOGIC_ENERGY", -1, 0.0f, kOwnSize, {}, m_colour);
}

// The lines run down from the screen's top left corner, one under the other.
void GUIGameLogicWindow::AddStatistics()
{
    if (std::atoi(m_config->GetValue("d_show_statistics").c_str()) == 0)
        return;
    const KeystrelEngine::GUIFont* font = m_gui->m_fonts->FindFont(kStatisticsFont);
    if (!font)
        return;
    const KeystrelEngine::TextBounds line = font->MeasureText(kStatisticsSample, 0.0f, kOwnSize);
    const float step = (line.maxY - line.minY) * kStatisticsLineSpacing;
    const KeystrelEngine::GUIPoint first{-line.minX, m_gui->m_camera->m_height - line.maxY};
    AddStatisticsLine("FPS", m_timers->m_framesPerSecond, first);
    AddStatisticsLine("MODELS_COUNT", m_models->m_drawnModels, {first.x, first.y - step});
    AddStatisticsLine("TRIANGLES_COUNT", m_models->m_drawnPrimitives, {first.x, first.y - 2.0f * step});
}

void GUIGameLogicWindow::AddStatisticsLine(const char* key, std::uint32_t value, KeystrelEngine::GUIPoint pen)
{
    m_line = m_texts->GetText(key, -1);
    m_line += u": ";
    AppendNumber(m_line, value);
    m_statistics->AddText(0, kStatisticsFont, m_line, 0.0f, kOwnSize, pen, m_colour);
}

void GUIGameLogicWindow::StartFlights()
{
    for (const ScreenPosition& point : m_view->GetManaChargePositions()) {
        auto free = std::find_if(m_flights.begin(), m_flights.end(), [](const auto& f) { return f->IsFree(); });
        if (free == m_flights.end()) {
            m_flights.push_back(
                std::make_unique<GUICollectionOfManaEffect>(m_engine, m_frame, m_manaBar.get(), m_data));
            free = std::prev(m_flights.end());
        }
        (*free)->Start({point.x, point.y});
    }
}

void GUIGameLogicWindow::ReadKeys()
{
    if (m_controls[kExit]->GetButton()->IsClicked())
        m_result = GameFramework::RequestQuit;
    if (m_controlsInput->IsKeyPressed("SPACE") || m_controlsInput->IsKeyPressed("P"))
        m_result = GameFramework::RequestPause;
    if (m_controlsInput->IsKeyPressed("ESCAPE") || m_controls[kMenu]->GetButton()->IsClicked())
        m_result = GameFramework::RequestGameLogicMenu;
}

void GUIGameLogicWindow::Update()
{
    GUIGameLogicWindowBase::Update();
    Fade();
    if (!m_root->IsVisible() || !m_view)
        return;
    FollowWindowMode();
    UpdateBars();
    AddTexts();
    AddStatistics();
    if (m_active) {
        UpdateButtons();
        StartFlights();
    }
    for (const std::unique_ptr<GUICollectionOfManaEffect>& flight : m_flights)
        flight->Update();
    if (m_active)
        ReadKeys();
}

} // namespace Wispfold
