#include "GUIBackgroundWindow.h"

#include "BackgroundThemes.h"
#include "GameData.h"

#include "engine/foundation/Error.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/TimerManager.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIManager.h"
#include "engine/render/AnimationControl.h"
#include "engine/render/Model.h"
#include "engine/render/ModelManager.h"
#include "engine/render/ParticleSystem.h"
#include "engine/render/ParticleSystemManager.h"
#include "engine/render/ShaderUser.h"
#include "engine/render/SpriteGroup.h"
#include "framework/AudioPlayer.h"
#include "framework/LevelManagerBase.h"
#include "framework/ProfileManagerBase.h"

#include <algorithm>
#include <cmath>

namespace Wispfold {
namespace {

using KeystrelEngine::GUIPoint;
using KeystrelEngine::GUISize;
using KeystrelEngine::GUIWindow;
using KeystrelEngine::Model;

// Every model here is drawn where its vertices lie (virtual-screen units): its window stands at (0, 0), scale 1.
constexpr GUIPoint kOrigin{0.0f, 0.0f};
constexpr GUISize kUnitScale{1.0f, 1.0f};
constexpr std::uint32_t kThemeKind = GUIWindow::kShown | GUIWindow::kColouredQuad;
constexpr std::uint32_t kDecorationKind = GUIWindow::kColouredQuad;
constexpr float kEpsilon = 0.0001f;
constexpr float kGlowFullArea = 160000.0f; // the glow's own rates cover this many square units
constexpr float kGlowDelay = 0.8f;         // of the new-theme clock, which runs at half the frame time

constexpr const char* kFolder = "ui\\menus\\models\\background\\";
constexpr const char* kSmallLogo = "data\\ui\\menus\\textures\\publisher_logo_small.jpg";
constexpr const char* kSmallLogoAlpha = "data\\ui\\menus\\textures\\publisher_logo_small_alpha.jpg";

// Decoration layers below the decoration root.
constexpr std::int32_t kFrameLayer = 1;
constexpr std::int32_t kLogoLayer = 2;
constexpr std::int32_t kExtraLogoLayer = 3;
constexpr std::int32_t kTopRootLayer = 4;
constexpr std::int32_t kMountTextLayer = 15;
constexpr std::int32_t kTextLayer = 16;
constexpr std::int32_t kTextAreaLayer = 17;
constexpr std::int32_t kMountTitleLayer = 18;
constexpr std::int32_t kTitleLayer = 19;

// The titles' place in the decoration list, after the frame and the seal.
constexpr std::size_t kFirstTitle = 2;
// Title k fades in from 0.25 k seconds over a third of a second. The name goes on fading in past the wait for the
// menus until it is whole: a quick load would otherwise leave its last parts faint or missing for good.
constexpr float kTitleFadeRate = 3.0f;
constexpr float kTitleDelay = 0.75f;
constexpr float kTitlesWholeTime = (1.0f + kTitleDelay * 3.0f) / kTitleFadeRate;

float Clamp01(float x)
{
    return std::clamp(x, 0.0f, 1.0f);
}

KeystrelEngine::AnimationControl& Animation(const GUIWindow* window)
{
    return window->GetQuad()->GetAnimationControl();
}

bool IsIdleAtStart(const GUIWindow* window)
{
    const KeystrelEngine::AnimationControl& animation = Animation(window);
    return !animation.m_playing && animation.m_position == 0.0f;
}

void Play(const GUIWindow* window)
{
    KeystrelEngine::AnimationControl& animation = Animation(window);
    animation.m_position = 0.0f;
    animation.m_playing = true;
}

void SetAlpha(GUIWindow* window, float alpha)
{
    window->SetColour({1.0f, 1.0f, 1.0f, alpha});
}

// Themes blend by their textures' alpha over what lies behind.
void Blend(GUIWindow* window)
{
    KeystrelEngine::ShaderUser* shader = window->GetQuad()->GetShaderUser();
    if (!shader)
        return;
    shader->m_flags |= KeystrelEngine::ShaderDescriptor::kAlphaBlend;
    shader->m_sourceBlend = KeystrelEngine::ShaderDescriptor::kBlendSourceAlpha;
    shader->m_destinationBlend = KeystrelEngine::ShaderDescriptor::kBlendInverseSourceAlpha;
}

void FadeIn(GUIBackgroundWindow::Layer& theme, float step)
{
    theme.window->SetVisible(true);
    theme.alpha = std::min(theme.alpha + step, 1.0f);
}

// Once faded out the theme is hidden.
void FadeOut(GUIBackgroundWindow::Layer& theme, float step)
{
    if (!theme.window->IsVisible())
        return;
    theme.alpha -= step;
    if (theme.alpha < kEpsilon) {
        theme.alpha = 0.0f;
        theme.window->SetVisible(false);
    }
}

} // namespace

// Construction ------------------------------------------------------------------------------------------------

GUIBackgroundWindow::GUIBackgroundWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player,
                                         GameFramework::LevelManagerBase* levels,
                                         GameFramework::ProfileManagerBase* profiles)
    : m_models(engine->m_models.get()), m_timers(engine->m_timers.get()), m_gui(engine->m_gui.get()),
      m_particleSystems(engine->m_particleSystems.get()), m_player(player), m_levels(levels), m_profiles(profiles)
{
    const BackgroundThemes themes(*engine->m_files);
    const auto& list = themes.GetThemes();
    if (std::all_of(list.begin(), list.end(), [](const BackgroundTheme& theme) { return theme.IsStageTheme(); }))
        throw KeystrelEngine::FileError("Background have no thematic models");
    try {
        MakeScene(list, *engine->m_files);
    } catch (...) {
        DeleteWindows();
        throw;
    }
    m_printer = std::make_unique<GameTools::GUITextPrinter>(m_timers, m_gui->m_texts.get(), m_textArea, kTextAlignment,
                                                            kTypingRate, kTextFont, GUIPoint{},
                                                            KeystrelEngine::Color{1.0f, 1.0f, 1.0f, 0.0f});
    UpdateStageTheme();
}

GUIBackgroundWindow::~GUIBackgroundWindow()
{
    if (m_glow)
        m_particleSystems->DestroyParticleSystem(m_glow);
    m_printer.reset();
    DeleteWindows();
}

void GUIBackgroundWindow::DeleteWindows()
{
    for (auto window = m_windows.rbegin(); window != m_windows.rend(); ++window)
        m_gui->DeleteWindow(*window);
    m_windows.clear();
}

void GUIBackgroundWindow::MakeScene(const std::vector<BackgroundTheme>& themes, KeystrelEngine::FileManager& files)
{
    m_sceneRoot = MakeRoot(nullptr, 1);
    m_sceneRoot->AddFlags(GUIWindow::kLayer10);
    for (std::uint32_t position = 0; position < themes.size(); ++position) {
        if (!themes[position].IsStageTheme())
            AddTheme(m_gui->CreateWindow(kThemeKind, kOrigin, kUnitScale, themes[position].GetModelName(), m_sceneRoot),
                     position, 0);
    }
    MakeDecorations(static_cast<std::int32_t>(themes.size()));
    if (files.FileExists(kSmallLogo) && files.FileExists(kSmallLogoAlpha)) {
        m_extraLogo = MakeDecoration("logo_additional", kExtraLogoLayer, false);
        m_decorations.push_back({m_extraLogo, 0.0f});
    }
}

GUIWindow* GUIBackgroundWindow::MakeRoot(GUIWindow* parent, std::int32_t layer)
{
    GUIWindow* root =
        m_gui->CreateWindow(GUIWindow::kShown, kOrigin, GUISize{}, static_cast<const Model*>(nullptr), parent);
    m_windows.push_back(root);
    root->SetLayer(layer);
    return root;
}

GUIWindow* GUIBackgroundWindow::MakeDecoration(const char* name, std::int32_t layer, bool animated)
{
    GUIWindow* window = m_gui->CreateWindow(kDecorationKind, kOrigin, kUnitScale, std::string(kFolder) + name + ".mlf",
                                            m_decorationRoot);
    m_windows.push_back(window);
    window->SetLayer(layer);
    if (animated)
        Animation(window).m_speed = kFramesPerSecond;
    return window;
}

// The decoration root lies above every theme of the file, whether its window exists yet or not.
void GUIBackgroundWindow::MakeDecorations(std::int32_t themeCount)
{
    m_decorationRootLayer = themeCount + 1;
    m_decorationRoot = MakeRoot(m_sceneRoot, m_decorationRootLayer);
    m_frame = MakeDecoration("frame", kFrameLayer, true);
    m_logo = MakeDecoration("logo_tarrowby", kLogoLayer, true);
    m_topRoot = MakeRoot(m_decorationRoot, kTopRootLayer);
    m_mountText = MakeDecoration("mount_text", kMountTextLayer, true);
    m_textAppear = MakeDecoration("text_appear", kTextLayer, true);
    m_panel = MakeDecoration("text", kTextLayer, true);
    MakeTextArea();
    m_mountTitle = MakeDecoration("mount_title", kMountTitleLayer, true);
    for (std::size_t k = 0; k < std::size(m_titles); ++k)
        m_titles[k] = MakeDecoration(("title_" + std::to_string(k)).c_str(), kTitleLayer, false);
    m_decorations = {{m_frame, 1.0f}, {m_logo, 1.0f}};
    for (GUIWindow* title : m_titles)
        m_decorations.push_back({title, 0.0f});
    m_decorations.push_back({m_mountTitle, 1.0f});
    m_decorations.push_back({m_mountText, 1.0f});
}

// The area the texts are typed in: the rectangle of its model, which is loaded for nothing else.
void GUIBackgroundWindow::MakeTextArea()
{
    const std::unique_ptr<Model> model(m_models->LoadModelUnmanaged(kTextAreaModel, 0));
    const KeystrelEngine::BoundingBox& box = model->m_boundingBox;
    m_textArea = m_gui->CreateWindow(GUIWindow::kShown, GUIPoint{box.m_localMin.x, box.m_localMin.y},
                                     GUISize{2.0f * box.m_halfExtent.x, 2.0f * box.m_halfExtent.y},
                                     static_cast<const Model*>(nullptr), m_decorationRoot);
    m_windows.push_back(m_textArea);
    m_textArea->SetLayer(kTextAreaLayer);
}

void GUIBackgroundWindow::AddTheme(GUIWindow* window, std::uint32_t position, std::int32_t stage)
{
    m_windows.push_back(window);
    window->SetLayer(static_cast<std::int32_t>(position) + 1);
    Blend(window);
    SetAlpha(window, 0.0f);
    Layer theme{window, 0.0f, stage};
    if (stage == 0) {
        m_baseThemes.push_back(theme);
    } else {
        window->SetVisible(IsAllowed(theme));
        m_stageThemes.push_back(theme);
    }
}

// What others tell the scene ----------------------------------------------------------------------------------

void GUIBackgroundWindow::LeaveForLevel()
{
    EndPanelCycle();
    m_step = PanelInScene;
    m_textAlpha = 1.0f;
    m_textShown = false;
}

// The panel is the scene's again: it stands in the scene, and its holder lets it go (or calls it again) at its next
// update instead of giving it back, which would dim the scene away. An unfolding panel goes back among the
// decorations, where its arrival would have put it.
void GUIBackgroundWindow::EndPanelCycle()
{
    if (m_step == PanelUnfolding)
        m_panel->SetParent(m_decorationRoot);
    m_step = std::min(m_step, PanelInScene);
    m_panelState = PanelState::InScene;
}

void GUIBackgroundWindow::SetSharedData(const GameData* data)
{
    m_data = data;
}

void GUIBackgroundWindow::ClearPanelArrival()
{
    if (m_panelState == PanelState::Arrived)
        m_panelState = PanelState::Up;
}

bool GUIBackgroundWindow::IsPanelWindowVisible() const
{
    return m_panel->IsVisible();
}

void GUIBackgroundWindow::StartNewStageTheme()
{
    m_newStageTheme = true;
    m_glowPending = true;
    m_newThemeClock = 0.0f;
}

bool GUIBackgroundWindow::IsAllowed(const Layer& theme) const
{
    return theme.stage <= static_cast<std::int32_t>(m_stageThemeIndex);
}

void GUIBackgroundWindow::ShowThemes()
{
    for (Layer& theme : m_baseThemes)
        theme.window->SetVisible(true);
    for (Layer& theme : m_stageThemes)
        theme.window->SetVisible(IsAllowed(theme));
    m_newStageTheme = false;
}

void GUIBackgroundWindow::ShowAll()
{
    m_textAlpha = 0.0f;
    m_textShown = true;
    m_textHiding = false;
    for (Layer& decoration : m_decorations)
        decoration.window->SetVisible(true);
    m_panel->SetVisible(true);
    ShowThemes();
    EndPanelCycle();
}

void GUIBackgroundWindow::ShowScene()
{
    m_textAlpha = 1.0f;
    m_textShown = true;
    m_textHiding = true;
    ShowThemes();
    EndPanelCycle();
}

void GUIBackgroundWindow::UpdateStageTheme()
{
    const GameFramework::ProfileBase* profile = m_profiles ? m_profiles->m_current : nullptr;
    if (!profile) {
        m_stageThemeIndex = 0;
        return;
    }
    const GameFramework::LevelId current = profile->m_currentLevel;
    const GameFramework::LevelId best = profile->m_bestLevel;
    const bool gameDone = m_levels->IsLastLevel(current) && current.stage == best.stage &&
                          current.level == best.level && profile->m_finished != 0;
    m_stageThemeIndex = current.stage + (gameDone ? 1 : 0);
}

bool GUIBackgroundWindow::IsFadeComplete() const
{
    if (m_textHiding)
        return m_textAlpha < kEpsilon;
    return m_textShown && std::abs(m_textAlpha - 1.0f) < kEpsilon;
}

// The frame ---------------------------------------------------------------------------------------------------

void GUIBackgroundWindow::Update()
{
    if (!m_started)
        return;
    const float frameTime = m_timers->m_frameTime;
    const float step = frameTime * 2.0f;
    UpdateTextFade(step);
    UpdateStartUp();
    if (m_titlesStarted && (m_step < WaitForTextArea || m_titleClock < kTitlesWholeTime))
        UpdateTitles(frameTime);
    if (m_themeFading)
        UpdateThemeFade(frameTime);
    // The panel goes and comes with the text area it stands behind, so that no empty title plate stands over the
    // bare landscape (the upgrade views) or over a level while the scene dims away (as the level starts, or as a
    // dialog gives the panel back).
    if (m_panel->IsVisible())
        SetAlpha(m_panel, m_textAlpha);
    if (!m_textShown)
        DimAway();
    else
        FollowTextArea(step);
}

void GUIBackgroundWindow::UpdateTextFade(float step)
{
    float printed = m_printer->GetColour().a;
    if (m_textShown && !m_textHiding) {
        m_textAlpha = std::min(m_textAlpha + step, 1.0f);
        printed = m_textAlpha;
    } else {
        m_textAlpha = std::max(m_textAlpha - step, 0.0f);
        printed = std::min(printed, m_textAlpha);
    }
    m_printer->SetColour({1.0f, 1.0f, 1.0f, printed});
    m_printer->Update();
}

void GUIBackgroundWindow::UpdateStartUp()
{
    switch (m_step) {
    case ShowFrameAndSeal:
        StepFrameAndSeal();
        break;
    case ShowNameAndPanel:
        StepNameAndPanel();
        break;
    case TypeLoading:
        m_printer->SetTextByKey("LOADING");
        if (m_printer->IsFinished())
            m_step = WaitForSharedData;
        break;
    case WaitForSharedData:
        StepLoadingShown();
        break;
    case WaitForMenus:
        if (m_menusReady)
            m_step = WaitForTextArea;
        break;
    case WaitForTextArea:
        if (m_printer->GetColour().a > kEpsilon)
            m_step = PanelInScene;
        break;
    case PanelInScene:
        // A panel called while the scene dims away waits until the scene has gone: the end of the dimming hides
        // the panel, and a hidden panel's unfolding would never end.
        if (m_panelState == PanelState::Called && m_textShown)
            UnfoldPanel();
        break;
    case PanelUnfolding:
        StepPanelArrival();
        break;
    case PanelUp:
        if (m_panelState == PanelState::GivenBack)
            TakePanelBack();
        break;
    }
}

void GUIBackgroundWindow::StepFrameAndSeal()
{
    m_frame->SetVisible(true);
    m_logo->SetVisible(true);
    if (IsIdleAtStart(m_frame) && !Animation(m_logo).m_playing) {
        Play(m_frame);
        Play(m_logo);
    }
    m_step = ShowNameAndPanel;
}

// The name's parts fade in one after another while the mounts unfold; the panel stands unfolded behind the text.
void GUIBackgroundWindow::StepNameAndPanel()
{
    for (GUIWindow* window : {m_titles[0], m_titles[1], m_titles[2], m_titles[3], m_mountTitle, m_mountText})
        window->SetVisible(true);
    if (m_extraLogo)
        m_extraLogo->SetVisible(true);
    if (IsIdleAtStart(m_mountTitle) && IsIdleAtStart(m_mountText) && IsIdleAtStart(m_textAppear)) {
        Play(m_mountTitle);
        Play(m_mountText);
        Play(m_textAppear);
        m_titlesStarted = true;
    }
    for (std::size_t k = 0; k < std::size(m_titles); ++k)
        m_decorations[kFirstTitle + k].alpha = 0.0f;
    if (m_extraLogo)
        m_decorations.back().alpha = 0.0f;
    m_textAppear->SetVisible(false);
    KeystrelEngine::AnimationControl& panel = Animation(m_panel);
    panel.m_position = static_cast<float>(panel.GetFrameCount() - 1);
    panel.m_playing = false;
    m_panel->SetVisible(true);
    m_step = TypeLoading;
}

void GUIBackgroundWindow::StepLoadingShown()
{
    m_loadingShown = true;
    if (!m_data)
        return;
    BuildStageThemes();
    m_step = WaitForMenus;
}

// The panel unfolds above every menu, in front of the window that called it.
void GUIBackgroundWindow::UnfoldPanel()
{
    m_panel->SetVisible(true);
    m_panel->SetColour({1.0f, 1.0f, 1.0f, 1.0f});
    Play(m_panel);
    m_panel->SetParent(m_data->GetRootWindow());
    m_step = PanelUnfolding;
}

void GUIBackgroundWindow::StepPanelArrival()
{
    if (Animation(m_panel).m_playing)
        return;
    m_panelState = PanelState::Arrived;
    m_panel->SetParent(m_decorationRoot);
    m_step = PanelUp;
}

// Given back, the panel goes with the text area, and the scene dims away with both.
void GUIBackgroundWindow::TakePanelBack()
{
    m_textShown = false;
    m_textAlpha = 1.0f;
    m_panelState = PanelState::InScene;
    m_step = WaitForTextArea;
}

void GUIBackgroundWindow::BuildStageThemes()
{
    const auto& models = m_data->GetThemeModels();
    for (std::size_t i = 0; i < models.size(); ++i) {
        GUIWindow* window = m_gui->CreateWindow(kThemeKind, kOrigin, kUnitScale, models[i], m_sceneRoot);
        KeystrelEngine::AnimationControl& animation = Animation(window);
        animation.SetRandomPosition(KeystrelEngine::AnimationControl::kWholeAnimation);
        animation.m_playing = true;
        animation.m_looping = true;
        AddTheme(window, m_data->GetThemePositions()[i], m_data->GetThemeStages()[i]);
    }
    m_decorationRoot->SetLayer(m_decorationRootLayer);
    m_themeFading = true;
    m_themeFadeClock = 0.0f;
    m_glow = m_particleSystems->CloneParticleSystem(*m_data->GetParticleSystem(kGlowSystem));
    m_glow->m_emitting = false;
    Model& sprites = *m_glow->GetSpriteGroup()->GetModel();
    sprites.m_flags |= Model::kFixedDepth | Model::kShown;
    sprites.SetSortDepth(m_decorationRoot->GetDepth());
}

void GUIBackgroundWindow::UpdateTitles(float frameTime)
{
    m_titleClock += frameTime;
    for (std::size_t k = 0; k < std::size(m_titles); ++k)
        m_decorations[kFirstTitle + k].alpha =
            Clamp01(kTitleFadeRate * m_titleClock - kTitleDelay * static_cast<float>(k));
    if (m_extraLogo && m_extraLogo->IsVisible())
        m_decorations.back().alpha = Clamp01(2.0f * m_titleClock);
}

// Once the shared data have come the base themes fade in; the stage themes do at the same pace as the stage index
// has them (FollowStageIndex).
void GUIBackgroundWindow::UpdateThemeFade(float frameTime)
{
    m_themeFadeClock += frameTime;
    const float a = Clamp01(2.0f * m_themeFadeClock);
    for (Layer& theme : m_baseThemes)
        theme.alpha = std::max(theme.alpha, a);
    m_themeFading = a <= 1.0f - kEpsilon;
}

// The text area fades out: the scene goes with it, and once it is gone nothing of it stays on screen.
void GUIBackgroundWindow::DimAway()
{
    ApplyAlpha(m_decorations, m_textAlpha);
    ApplyAlpha(m_baseThemes, m_textAlpha);
    ApplyAlpha(m_stageThemes, m_textAlpha);
    if (m_textAlpha > kEpsilon)
        return;
    for (auto* layers : {&m_decorations, &m_baseThemes, &m_stageThemes}) {
        for (Layer& layer : *layers)
            layer.window->SetVisible(false);
    }
    m_panel->SetVisible(false);
    m_printer->Clear();
    m_textShown = true;
    m_textAlpha = 1.0f;
}

void GUIBackgroundWindow::FollowTextArea(float step)
{
    FollowStageIndex(step);
    if (m_newStageTheme)
        CountDownToGlow(m_timers->m_frameTime);
    ApplyAlpha(m_decorations, m_textAlpha);
    ApplyAlpha(m_baseThemes, 1.0f);
    ApplyAlpha(m_stageThemes, 1.0f);
}

// The lands follow the stage index wherever it moves: up at start-up and when a stage is finished, up or down when
// another player becomes current or a level of another stage is chosen on the map. Lands beyond the index fade out
// and are hidden; lands up to it fade in, whether they never showed or faded out for an earlier player, but only
// while the landscape is on screen, so that none turns up alone over a level.
void GUIBackgroundWindow::FollowStageIndex(float step)
{
    const bool landscapeShown = m_baseThemes.front().window->IsVisible();
    for (Layer& theme : m_stageThemes) {
        if (!IsAllowed(theme))
            FadeOut(theme, step);
        else if (landscapeShown)
            FadeIn(theme, step);
    }
}

// The finished stage's lands fade in as every reached land does; the glow bursts over them a while after.
void GUIBackgroundWindow::CountDownToGlow(float frameTime)
{
    m_newThemeClock += frameTime * 0.5f;
    if (m_newThemeClock >= kGlowDelay && m_glowPending && m_glow)
        BurstGlow();
}

// Over the rectangle the new stage's themes cover, as dense as the glow's own rates make it over a 400 x 400
// square and thinner over a smaller one.
void GUIBackgroundWindow::BurstGlow()
{
    m_glowPending = false;
    KeystrelEngine::Vector3 low{1e30f, 1e30f, 0.0f};
    KeystrelEngine::Vector3 high{-1e30f, -1e30f, 0.0f};
    bool any = false;
    for (const Layer& theme : m_stageThemes) {
        if (theme.stage != static_cast<std::int32_t>(m_stageThemeIndex))
            continue;
        const KeystrelEngine::BoundingBox& box = theme.window->GetQuad()->m_boundingBox;
        low = {std::min(low.x, box.m_localMin.x), std::min(low.y, box.m_localMin.y), 0.0f};
        high = {std::max(high.x, box.m_localMax.x), std::max(high.y, box.m_localMax.y), 0.0f};
        any = true;
    }
    if (!any)
        return;
    const KeystrelEngine::Vector3 half{(high.x - low.x) * 0.5f, (high.y - low.y) * 0.5f, 0.0f};
    const float scale = std::min(4.0f * half.x * half.y, kGlowFullArea) / kGlowFullArea;
    KeystrelEngine::ParticleKeys<float> rates = m_data->GetParticleSystem(kGlowSystem)->GetParameters().rate;
    for (float& rate : rates)
        rate *= scale;
    m_glow->SetEmissionRates(rates);
    m_glow->SetBox({-half.x, -half.y, 0.0f}, half);
    m_glow->m_position = {low.x + half.x, low.y + half.y, 0.0f};
    m_glow->m_time = 0.0f;
    m_glow->m_looping = false;
    m_glow->m_emitting = true;
    m_player->PlaySound(kGlowSound);
}

void GUIBackgroundWindow::ApplyAlpha(std::vector<Layer>& layers, float cap)
{
    for (Layer& layer : layers) {
        if (layer.window->IsVisible())
            SetAlpha(layer.window, std::min(layer.alpha, cap));
    }
}

} // namespace Wispfold
