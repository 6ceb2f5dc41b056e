#include "game/app/GUILevelCompleteWindow.h"

#include "engine/foundation/StringUtils.h"
#include "engine/foundation/TimerManager.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUITextManager.h"
#include "engine/render/AnimationControl.h"
#include "engine/render/Model.h"
#include "engine/sound/Sound.h"
#include "framework/AudioPlayer.h"
#include "framework/ProfileManagerBase.h"
#include "framework/WindowRequest.h"
#include "game/app/GUIMenuWindowManager.h"
#include "game/app/MenuBackground.h"
#include "game/app/MenuTexts.h"
#include "game/play/LevelManager.h"

#include <algorithm>
#include <cmath>

#include <string>

namespace Wispfold {

namespace {

// Keys made once: the texts are added every frame.
const std::string kUpgrade = "LEVEL_COMPLETE_UPGRADE";
const std::string kContinue = "CONTINUE";
const std::string kEnergyBonus = "LEVEL_COMPLETE_ENERGY_BONUS";
const std::string kMana = "GAME_LOGIC_MANNA";

constexpr float kEpsilon = 0.0001f;
constexpr float kManaSpeed = 0.1f;
constexpr float kContinueTimer = 100000.0f;
constexpr std::uint32_t kLabelFlags = 4;
constexpr std::uint32_t kValueFlags = 8;
constexpr std::uint32_t kValueFont = 4;

// The pictures' frames are the stages' pictures, not an unfold: they stand still on the stage's frame.
void ShowAnimationFrame(const GUIControl& control, std::uint32_t frame)
{
    KeystrelEngine::AnimationControl& animation = control.GetWidget()->GetQuad()->GetAnimationControl();
    animation.m_playing = false;
    animation.m_currentAnimation = KeystrelEngine::AnimationControl::kWholeAnimation;
    animation.m_position = static_cast<float>(frame);
}

void SetAlpha(const GUIControl& control, KeystrelEngine::Color colour, float alpha)
{
    colour.a = alpha;
    control.GetWidget()->SetColour(colour);
}

} // namespace

GUILevelCompleteWindow::GUILevelCompleteWindow(KeystrelEngine::Engine* engine, GameFramework::AudioPlayer* player,
                                               GameFramework::ProfileManagerBase* profiles,
                                               const LevelManager* catalogue, const GameData* data,
                                               GUIMenuWindowManager* manager, KeystrelEngine::GUIWindow* parent)
    : GUILevelCompleteWindowBase(engine), GUIMenuWindow(engine, player, data, manager, FrameKind::BigWindow, parent),
      m_profiles(profiles), m_catalogue(catalogue),
      m_frameModel(AddControl(ControlKind::ModelWindow, "level_complete\\frame", "level_complete\\frame")),
      m_picture(AddControl(ControlKind::ModelWindow, "controls\\upgrade", "level_complete\\upgrade")),
      m_nextPicture(AddControl(ControlKind::ModelWindow, "controls\\upgrade", "level_complete\\upgrade")),
      m_barFrame(
          AddControl(ControlKind::ModelWindow, "level_complete\\mana_background", "level_complete\\mana_background")),
      m_continue(AddButton("big_window\\button_0", "controls\\button_big")),
      m_mana(
          std::make_unique<GUIGameLogicProgress>(engine, *data, kManaSpeed, "level_complete\\mana", GetFrameWidget()))
{
    m_picture->GetWidget()->SetLayer(2);
    m_nextPicture->GetWidget()->SetLayer(3);
    SetTitle("LEVEL_COMPLETE_TITLE");
}

// The window goes only with the game: a count that the game's closing cut short is kept. The save throws nothing:
// a failure is logged on its way and leaves the previous file whole.
GUILevelCompleteWindow::~GUILevelCompleteWindow()
{
    SaveCount();
}

bool GUILevelCompleteWindow::IsLastOfStage() const
{
    return m_level.level + 1 == m_catalogue->GetStageLevels(m_level.stage).size();
}

// A stage whose board values are all 0 shows no progress rather than a division by 0.
float GUILevelCompleteWindow::Ratio(std::uint32_t value) const
{
    return m_total == 0 ? 0.0f : static_cast<float>(value) / static_cast<float>(m_total);
}

void GUILevelCompleteWindow::Open()
{
    RequestOpenOverPanel();
    m_leaving.Clear();
    m_total = m_catalogue->SumStageBoardValues(m_level.stage);
    m_reached = m_catalogue->SumStageBoardValuesUpTo(m_level.stage, m_level.level);
    const std::int32_t value = static_cast<const LevelRecord*>(m_catalogue->GetLevel(m_level))->boardValue;
    m_value = static_cast<std::uint32_t>(std::max(0, value));
    m_start = m_reached - std::min(m_reached, m_value);
    m_mana->Set(Ratio(m_start));
    m_timer = 0.0f;
    m_counted = 0;
    m_savedCount = 0;
}

void GUILevelCompleteWindow::Close()
{
    m_leaving.Clear();
}

void GUILevelCompleteWindow::Update()
{
    GUILevelCompleteWindowBase::Update();
    GUIMenuWindow::Update();
    ShowPictures(m_level.stage);
    if (!GetFrameWidget()->IsVisible()) {
        if (!m_leaving.IsDone(*this, *m_manager->m_background))
            return;
        m_result = IsLastOfStage() ? kRequestUpgrade : GameFramework::RequestDone;
        m_manager->m_firstCountUp = false;
        m_manager->m_secondCountUp = false;
        return;
    }
    if (IsClicked(*m_continue) && !m_leaving.IsLeaving())
        PressContinue();
    UpdateMana();
    if (!m_noEnergyBonus)
        UpdateEnergy();
    AddTexts();
}

void GUILevelCompleteWindow::ShowPictures(std::uint32_t stage)
{
    ShowAnimationFrame(*m_picture, 2 * stage);
    ShowAnimationFrame(*m_nextPicture, 2 * stage + 1);
    SetAlpha(*m_picture, m_colour, m_colour.a);
    SetAlpha(*m_nextPicture, m_colour, (1.0f - m_mana->GetValue()) * m_colour.a);
    m_mana->SetColour(m_colour);
}

// The last level of a stage brings the next stage's theme and leaves toward the upgrade's scene.
void GUILevelCompleteWindow::PressContinue()
{
    if (IsLastOfStage()) {
        // The scene first: showing it settles the themes, which would end the new stage's fade-in and its glow.
        m_manager->m_background->UpdateStageTheme();
        m_manager->m_background->ShowScene();
        m_manager->m_background->StartNewStageTheme();
        m_leaving.StartWithoutFade(*this);
    } else {
        m_leaving.Start(*this, *m_manager->m_background);
    }
    m_mana->Set(Ratio(m_reached));
    // A count not started yet starts now, so the bonus is counted in full.
    if (m_timer < kEnergyDelay && !m_noEnergyBonus)
        StartEnergyCount();
    m_timer = kContinueTimer;
}

// The in-game window fills the count-up value with the energy left from the next frame on.
void GUILevelCompleteWindow::StartEnergyCount()
{
    m_manager->m_secondCountUp = true;
    m_manager->m_countUpLimit = 0.0f;
}

void GUILevelCompleteWindow::UpdateMana()
{
    const float target = Ratio(m_reached);
    if (m_colour.a >= 1.0f) {
        m_mana->Update(target);
        m_manager->m_firstCountUp = true;
    }
    const bool running = std::abs(m_mana->GetValue() - target) >= kEpsilon;
    const bool playing = m_player->GetSoundState(kManaSound) == KeystrelEngine::Sound::Playing;
    if (running && !playing)
        m_player->PlaySound(kManaSound);
    if (!running && playing)
        m_player->StopSound(kManaSound);
}

std::uint32_t GUILevelCompleteWindow::GetCountedMana() const
{
    // With a level value of 0 the count stays where the stage stood.
    if (m_value == 0 || m_total == 0)
        return m_start * 10;
    const float share =
        (m_mana->GetValue() * static_cast<float>(m_total) - static_cast<float>(m_start)) / static_cast<float>(m_value);
    const float counted = std::max(0.0f, (share + kEpsilon) * static_cast<float>(m_value) * 10.0f);
    return m_start * 10 + static_cast<std::uint32_t>(counted);
}

// The energy count waits until the bar has reached its target.
void GUILevelCompleteWindow::UpdateEnergy()
{
    const bool manaDone = std::abs(m_mana->GetValue() - Ratio(m_reached)) < kEpsilon;
    const float before = m_timer;
    if (manaDone && !m_leaving.IsLeaving())
        m_timer += m_timers->m_frameTime;
    if (before < kEnergyDelay && m_timer >= kEnergyDelay)
        StartEnergyCount();
    if (m_timer >= kEnergyDelay)
        CountEnergy();
}

void GUILevelCompleteWindow::CountEnergy()
{
    const float running = std::max(0.0f, m_timer - kEnergyDelay) * kEnergyRate;
    const float share = std::min(running, m_manager->m_countUpLimit);
    const auto counted = static_cast<std::uint32_t>(std::lround(static_cast<float>(m_energyBonus) * share));
    const bool playing = m_player->GetSoundState(kScoreSound) == KeystrelEngine::Sound::Playing;
    if (counted > m_counted) {
        if (m_profiles->m_current)
            m_profiles->m_current->m_score += counted - m_counted;
        if (!playing)
            m_player->PlaySound(kScoreSound);
    } else if (playing) {
        m_player->StopSound(kScoreSound);
    }
    m_counted = std::max(m_counted, counted);
    // Counted in full, the bonus is saved at once: the next save would be the map's, and a game closed before it
    // would lose the bonus.
    if (running >= m_manager->m_countUpLimit)
        SaveCount();
    KeystrelEngine::Color colour = m_colour;
    if (IsShown())
        colour.a = std::clamp((m_timer - kEnergyDelay) * 2.0f, 0.0f, 1.0f);
    MenuTexts::AddLiteralLine(*GetFrameWidget(), m_texts->GetText(kEnergyBonus, -1), kEnergyLineY, colour, kLabelFlags);
    MenuTexts::AddLiteralLine(*GetFrameWidget(), KeystrelEngine::FormatUnsignedW(m_counted), kEnergyLineY, colour,
                              kValueFlags, kValueFont);
}

void GUILevelCompleteWindow::SaveCount()
{
    if (m_counted == m_savedCount || !m_profiles->m_current)
        return;
    m_profiles->m_current->Save();
    m_savedCount = m_counted;
}

void GUILevelCompleteWindow::AddTexts()
{
    const std::u16string line = m_texts->GetText(kMana, -1) + u" (" +
                                KeystrelEngine::FormatUnsignedW(GetCountedMana()) + u" / " +
                                KeystrelEngine::FormatUnsignedW(m_total * 10) + u")";
    m_mana->GetCaption()->AddText(3, MenuTexts::kLineFont, line, 0.0f, MenuTexts::kNoSize, {0.0f, 0.0f}, m_colour);
    MenuTexts::AddCaption(*m_continue, IsLastOfStage() ? kUpgrade : kContinue, m_colour);
}

} // namespace Wispfold
