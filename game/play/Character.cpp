#include "Character.h"

#include "engine/foundation/Controls.h"
#include "engine/foundation/StringUtils.h"
#include "engine/foundation/TimerManager.h"
#include "engine/gui/Engine.h"
#include "engine/gui/GUIFont.h"
#include "engine/gui/GUIManager.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/AnimationControl.h"
#include "engine/render/Model.h"
#include "engine/render/ShaderUser.h"
#include "framework/AudioPlayer.h"
#include "framework/GUITextPrinter.h"
#include "framework/ProfileManagerBase.h"

#include <algorithm>

namespace Wispfold {
namespace {

using KeystrelEngine::AnimationControl;
using KeystrelEngine::GUIWindow;

constexpr std::uint32_t kFaceFrames = 256;
constexpr float kTypingRate = 40.0f; // characters per second
constexpr float kBubbleRate = 25.0f; // frames per second of the widening
constexpr float kMoveRate = 18.0f;   // frames per second of entries, leaves and endings
constexpr float kIdleRate = 24.0f;
constexpr float kSettleTime = 1.1f; // before an ending or a leave stops the face's loop
constexpr float kSpeechDelay = 0.65f;
constexpr float kMenuWait = 0.25f;
constexpr float kShortHold = 1.2f;
constexpr float kUpgradeHold = 4.0f;
constexpr float kResetAtOnce = 100000.0f;
constexpr float kBubbleMargin = 75.0f; // the bubble grows this far past its widest line
constexpr float kHidden = 0.0001f;
constexpr float kViewMargin = 36.0f; // round a point kept in view: its cell and the tip over it
constexpr std::uint32_t kPraiseSoundCount = 9;

// Body ranges (first, last frame; 7 plays the level-end dance backwards) and face ranges, by id.
constexpr std::uint32_t kBodyRanges[][3] = {{0, 0, 47},    {2, 47, 49},   {1, 49, 96},   {3, 97, 144},
                                            {5, 144, 146}, {4, 146, 192}, {6, 194, 252}, {7, 252, 194}};
constexpr std::uint32_t kFaceRanges[][3] = {{0, 0, 10},     {1, 10, 16},    {2, 16, 27},   {3, 27, 49},  {4, 49, 57},
                                            {5, 57, 64},    {6, 64, 71},    {7, 71, 79},   {8, 79, 115}, {9, 115, 145},
                                            {10, 145, 181}, {11, 181, 218}, {12, 218, 255}};

// Bubble b's first printer; its lines follow.
constexpr std::uint32_t FirstPrinter(std::uint32_t bubble)
{
    return bubble * (bubble + 1) / 2;
}

void Run(AnimationControl& control, std::uint32_t id, bool loop, float speed)
{
    control.m_currentAnimation = id;
    control.m_position = 0.0f;
    control.m_playing = true;
    control.m_looping = loop;
    control.m_speed = speed;
}

bool Finished(const AnimationControl& control, std::uint32_t id)
{
    return control.m_currentAnimation == id && !control.m_playing;
}

bool IsShown(const GUIWindow* window)
{
    return (window->GetFlags() & GUIWindow::kShown) != 0;
}

} // namespace

Character::Character(KeystrelEngine::Engine& engine, const GameFramework::LevelManagerBase& levels,
                     const GameFramework::ProfileManagerBase& profiles, GameFramework::AudioPlayer& player,
                     const CharacterResources& resources)
    : m_timers(engine.m_timers.get()), m_controls(engine.m_controls.get()), m_gui(engine.m_gui.get()), m_levels(levels),
      m_profiles(profiles), m_player(player), m_levelParent(resources.levelParent), m_menuParent(resources.menuParent),
      m_face(std::make_unique<AnimationControl>(kFaceFrames, engine.m_log.get(), m_timers))
{
    CreateWindows(resources);
    AddRanges();
}

Character::~Character()
{
    m_face.reset();
    for (auto& printer : m_printers)
        printer.reset();
    for (GUIWindow* bubble : m_bubbles)
        m_gui->DeleteWindow(bubble);
    m_gui->DeleteWindow(m_modelWindow);
    m_gui->DeleteWindow(m_figureWindow);
}

// Every window and model is laid out in virtual-screen units: the windows sit at the origin with unit size.
void Character::CreateWindows(const CharacterResources& resources)
{
    const KeystrelEngine::Model* noQuad = nullptr;
    m_figureWindow = m_gui->CreateWindow(0, {}, {}, noQuad, nullptr);
    m_modelWindow = m_gui->CreateWindow(GUIWindow::kShown, {}, {1.0f, 1.0f}, resources.figure, m_figureWindow);
    m_body = &m_modelWindow->GetQuad()->GetAnimationControl();
    const KeystrelEngine::Color clear{1.0f, 1.0f, 1.0f, 0.0f};
    for (std::uint32_t bubble = 0; bubble < kBubbleCount; ++bubble) {
        m_bubbles[bubble] =
            m_gui->CreateWindow(GUIWindow::kColouredQuad, {}, {1.0f, 1.0f}, resources.bubbles[bubble], m_figureWindow);
        for (std::uint32_t line = 0; line <= bubble; ++line) {
            const KeystrelEngine::GUIPoint position{kTextLeft, kFirstLine - kLineStep * static_cast<float>(line)};
            m_printers[FirstPrinter(bubble) + line] = std::make_unique<GameTools::GUITextPrinter>(
                m_timers, m_gui->m_texts.get(), m_bubbles[bubble], 0, kTypingRate, kFontId, position, clear);
        }
    }
}

void Character::AddRanges()
{
    for (const auto& range : kBodyRanges)
        m_body->AddAnimation(range[0], range[1], range[2]);
    for (const auto& range : kFaceRanges)
        m_face->AddAnimation(range[0], range[1], range[2]);
}

GameTools::GUITextPrinter& Character::GetPrinter(std::uint32_t bubble, std::uint32_t line) const
{
    return *m_printers[FirstPrinter(bubble) + line];
}

void Character::SetState(std::int32_t state)
{
    m_state = state;
    m_delayedSpeech.on = false;
    m_finish[0].on = false;
    m_finish[1].on = false;
    m_upgrade = false;
    const bool menu = state == kStateMenu || state == kStateUpgrade;
    m_figureWindow->SetParent(menu ? m_menuParent : m_levelParent);
    m_figureWindow->SetLayer(menu ? kMenuLayer : kLevelLayer);
    m_figureWindow->SetVisible(true);
    Run(*m_body, state == kStateMenu ? 3 : 0, false, kMoveRate);
    Run(*m_face, 1, true, kMoveRate);
}

void Character::AnnounceUpgrade()
{
    m_state = kStateUpgrade;
    m_finish[1].Start();
    m_upgrade = true;
}

void Character::ResetSpeech()
{
    m_praisePending = false;
    const bool menu = m_state == kStateMenu || m_state == kStateUpgrade;
    m_reset.Start(menu ? kResetAtOnce : 0.0f);
    m_farewellPhrase = false;
    // The phrase ends with the speech, and so does the greeting still waiting to be spoken: a level's line (a
    // tutorial hint holds for seconds) must not stay over, or begin over, the menus the player goes back to.
    m_delayedSpeech.on = false;
    if (m_shownBubble >= 0)
        HideBubble();
}

// A praise the pass before the winning one asked for is dropped: the level's end has its own line, and the figure,
// idle until its farewell, would speak the praise over it.
void Character::LevelEndPhrase()
{
    m_praisePending = false;
    m_state = kStateMenu;
    m_finish[0].Start();
    ShowText("CHARACTER_LEVEL_END", kShortHold);
    m_figureWindow->SetLayer(kMenuLayer);
}

void Character::Praise(std::uint32_t kind)
{
    if (!m_praiseEnabled)
        return;
    m_praiseKind = kind;
    m_praisePending = true;
}

void Character::ShowText(const std::string& key, float holdTime)
{
    m_typingClock = 0.0f;
    m_fadeClock = 0.0f;
    m_holdTime = holdTime;
    KeystrelEngine::GUITextManager& texts = *m_gui->m_texts;
    const std::int32_t size = KeystrelEngine::ToInt(KeystrelEngine::ToNarrow(texts.GetText(key + "_SIZE", -1)));
    m_lineCount = static_cast<std::uint32_t>(std::clamp(size, 1, static_cast<std::int32_t>(kBubbleCount)));
    for (std::uint32_t line = 0; line < m_lineCount; ++line)
        m_lines[line] = texts.GetText(key + "_", static_cast<std::int32_t>(line));
    m_shownBubble = static_cast<std::int32_t>(m_lineCount - 1);
    for (std::uint32_t bubble = 0; bubble < kBubbleCount; ++bubble)
        m_bubbles[bubble]->SetVisible(bubble + 1 == m_lineCount);
    AnimationControl& widening = m_bubbles[m_shownBubble]->GetQuad()->GetAnimationControl();
    Run(widening, AnimationControl::kWholeAnimation, false, kBubbleRate);
    for (auto& printer : m_printers)
        printer->Clear();
    GetPrinter(m_shownBubble, 0).SetText(m_lines[0]);
    m_nextLine = 1;
    PlaceBubble();
    SetAlpha(0.0f);
}

void Character::KeepInView(std::optional<KeystrelEngine::GUIPoint> point)
{
    m_keptInView = point;
    if (point)
        PlaceBubble();
}

// The bubble's box (its tail included) is the model's: its height and left end, which the widening leaves alone,
// and the right end the widening stops at. A covered point sends the bubble down until its top lies the margin
// below the point.
void Character::PlaceBubble()
{
    if (m_shownBubble < 0)
        return;
    GUIWindow& bubble = *m_bubbles[m_shownBubble];
    bubble.m_position.y = 0.0f;
    if (!m_keptInView || m_state != kStateLevel)
        return;
    const KeystrelEngine::BoundingBox& box = bubble.GetQuad()->m_boundingBox;
    const KeystrelEngine::GUIPoint& point = *m_keptInView;
    const float right = box.m_localMin.x + WidestLine() + kBubbleMargin;
    if (point.x > box.m_localMin.x - kViewMargin && point.x < right + kViewMargin &&
        point.y > box.m_localMin.y - kViewMargin && point.y < box.m_localMax.y + kViewMargin)
        bubble.m_position.y = point.y - kViewMargin - box.m_localMax.y;
}

void Character::SetDialogShown(bool shown)
{
    m_dialogShown = shown;
    if (shown && m_shownBubble >= 0)
        HideBubble();
}

bool Character::IsSilent() const
{
    return std::none_of(m_bubbles.begin(), m_bubbles.end(), IsShown);
}

std::uint32_t Character::UpgradeNumber() const
{
    const GameFramework::ProfileBase* profile = m_profiles.m_current;
    if (!profile)
        return 0;
    const GameFramework::LevelId level = profile->m_currentLevel;
    if (m_levels.IsLastLevel(level) || level.stage == 0)
        return level.stage;
    return level.stage - 1;
}

void Character::Update()
{
    if (!IsShown(m_figureWindow))
        return;
    const float dt = m_timers->m_frameTime;
    SpeakDelayed(dt);
    FinishAnimations(dt);
    RunReset(dt);
    SettleIdle();
    StartTalking();
    LeaveWhenDone();
    AwaitMenuPhrase(dt);
    SpeakPraise();
    AnimateFace();
    TypeAndFade(dt);
    StopWidening();
}

void Character::SpeakDelayed(float dt)
{
    if (!m_delayedSpeech.on)
        return;
    m_delayedSpeech.clock += dt;
    if (m_delayedSpeech.clock <= kSpeechDelay || m_dialogShown)
        return;
    m_delayedSpeech.on = false;
    if (m_state == kStateLevel)
        ShowText("CHARACTER_LEVEL_BEGIN", kShortHold);
    else if (m_state == kStateUpgrade)
        ShowText("CHARACTER_UPGRADE_" + std::to_string(UpgradeNumber()), kUpgradeHold);
}

// The level end dances off (body 6); the upgrade brings the figure back (the dance backwards, body 7).
void Character::FinishAnimations(float dt)
{
    for (std::size_t which = 0; which < m_finish.size(); ++which) {
        Timer& finish = m_finish[which];
        if (!finish.on)
            continue;
        finish.clock += dt;
        if (finish.clock <= kSettleTime)
            continue;
        m_face->m_looping = false;
        if (m_face->m_playing)
            continue;
        Run(*m_body, which == 0 ? 6 : 7, false, kMoveRate);
        Run(*m_face, 0, false, kMoveRate);
        finish.on = false;
    }
}

void Character::RunReset(float dt)
{
    if (!m_reset.on)
        return;
    m_reset.clock += dt;
    if (m_reset.clock <= kSettleTime)
        return;
    m_face->m_looping = false;
    if (m_face->m_playing)
        return;
    if (m_state == kStateMenu && !m_farewellPhrase) {
        Run(*m_face, 11, false, kMoveRate);
        m_farewellPhrase = true;
        return;
    }
    Run(*m_body, m_state == kStateMenu ? 4 : 1, false, kMoveRate);
    Run(*m_face, 0, false, kMoveRate);
    m_reset.on = false;
}

void Character::SettleIdle()
{
    if (m_body->m_playing)
        return;
    const std::uint32_t body = m_body->m_currentAnimation;
    if (body == 0 || body == 7)
        Run(*m_body, 2, true, kIdleRate);
    else if (body == 3 || body == 6)
        Run(*m_body, 5, true, kIdleRate);
    else
        return;
    Run(*m_face, 2, false, kIdleRate);
}

void Character::StartTalking()
{
    const std::uint32_t body = m_body->m_currentAnimation;
    if (!m_body->m_playing || !m_body->m_looping || (body != 2 && body != 5) || !Finished(*m_face, 2))
        return;
    if (m_state == kStateMenu) {
        Run(*m_face, 4, false, kIdleRate);
        m_menuWait.Start();
    } else if (m_upgrade) {
        Run(*m_face, 11, true, kIdleRate);
        m_player.PlaySound(kFirstPraiseSound + UpgradeNumber() % kPraiseSoundCount);
        m_upgrade = false;
    } else {
        Run(*m_face, 12, true, kIdleRate);
    }
    m_delayedSpeech.Start();
}

void Character::LeaveWhenDone()
{
    const std::uint32_t body = m_body->m_currentAnimation;
    if (body != 1 && body != 4 && body != 6 && body != 7)
        return;
    if (Finished(*m_face, 0))
        Run(*m_face, 1, true, m_face->m_speed);
    if (m_body->m_playing)
        return;
    // A phrase begun after the reset goes with the figure; left shown, it would come back with the next state.
    m_figureWindow->SetVisible(false);
    if (m_shownBubble >= 0)
        HideBubble();
}

void Character::AwaitMenuPhrase(float dt)
{
    if (Finished(*m_face, 4)) {
        m_menuWait.clock += dt;
        if (m_menuWait.clock > kMenuWait)
            Run(*m_face, 5, false, kIdleRate);
    } else if (Finished(*m_face, 5)) {
        Run(*m_face, 12, true, kIdleRate);
    }
}

// The talking loop is cut short, then the praise's own face plays at the loop's old speed.
void Character::SpeakPraise()
{
    if (m_body->m_currentAnimation != 2 || !m_body->m_looping || !m_praisePending || m_face->m_currentAnimation != 12 ||
        m_dialogShown)
        return;
    if (m_face->m_looping) {
        m_face->m_looping = false;
        m_face->m_speed *= 2.0f;
        return;
    }
    if (m_face->m_playing)
        return;
    static constexpr std::uint32_t kPraiseFaces[] = {3, 8, 11, 11};
    Run(*m_face, kPraiseFaces[std::min<std::uint32_t>(m_praiseKind, 3)], false, m_face->m_speed / 2.0f);
    ShowText("CHARACTER_PRAISE_" + std::to_string(m_praiseKind), kShortHold);
    m_player.PlaySound(kFirstPraiseSound + m_praiseCount % kPraiseSoundCount);
    ++m_praiseCount;
    m_praisePending = false;
}

void Character::AnimateFace()
{
    if (Finished(*m_face, 3) || Finished(*m_face, 8) || Finished(*m_face, 11))
        Run(*m_face, 12, true, kIdleRate);
    m_face->Update();
    if (KeystrelEngine::ShaderUser* shader = m_modelWindow->GetQuad()->GetShaderUser())
        shader->SetFrame(0, m_face->m_currentFrame);
}

// Lines are typed one after another; the bubble fades in while they type, holds, then fades out in 0.5 s. In the
// upgrade state a mouse button ends the hold.
void Character::TypeAndFade(float dt)
{
    if (m_shownBubble < 0)
        return;
    const std::uint32_t bubble = static_cast<std::uint32_t>(m_shownBubble);
    if (m_nextLine < m_lineCount && GetPrinter(bubble, m_nextLine - 1).IsFinished()) {
        GetPrinter(bubble, m_nextLine).SetText(m_lines[m_nextLine]);
        ++m_nextLine;
    }
    float alpha = 0.0f;
    if (m_nextLine < m_lineCount || !GetPrinter(bubble, m_lineCount - 1).IsFinished()) {
        m_typingClock += dt;
        alpha = std::clamp(2.0f * m_typingClock, 0.0f, 1.0f);
    } else {
        m_fadeClock += dt;
        if (m_state == kStateUpgrade && m_controls->IsAnyMouseButtonDown())
            m_fadeClock = std::max(m_fadeClock, m_holdTime);
        alpha = std::clamp(1.0f - 2.0f * (m_fadeClock - m_holdTime), 0.0f, 1.0f);
    }
    if (alpha < kHidden) {
        HideBubble();
        if (m_state == kStateUpgrade)
            ResetSpeech();
        return;
    }
    SetAlpha(alpha);
    for (std::uint32_t line = 0; line <= bubble; ++line)
        GetPrinter(bubble, line).Update();
}

void Character::StopWidening()
{
    if (m_shownBubble < 0)
        return;
    KeystrelEngine::Model& quad = *m_bubbles[m_shownBubble]->GetQuad();
    AnimationControl& widening = quad.GetAnimationControl();
    if (!widening.m_playing)
        return;
    const KeystrelEngine::BoundingBox& box = quad.m_boundingBox;
    if (box.m_localMax.x - box.m_localMin.x > WidestLine() + kBubbleMargin)
        widening.m_playing = false;
}

float Character::WidestLine() const
{
    float widest = 0.0f;
    if (const KeystrelEngine::GUIFont* font = m_gui->m_fonts->FindFont(kFontId)) {
        for (std::uint32_t line = 0; line < m_lineCount; ++line)
            widest = std::max(widest, font->PrintedWidth(m_lines[line]));
    }
    return widest;
}

void Character::HideBubble()
{
    m_bubbles[m_shownBubble]->SetVisible(false);
    for (std::uint32_t line = 0; line < m_lineCount; ++line) {
        GetPrinter(m_shownBubble, line).Clear();
        m_lines[line].clear();
    }
    m_shownBubble = -1;
    m_lineCount = 0;
}

void Character::SetAlpha(float alpha)
{
    m_alpha = alpha;
    const KeystrelEngine::Color colour{1.0f, 1.0f, 1.0f, alpha};
    m_bubbles[m_shownBubble]->SetColour(colour);
    for (std::uint32_t line = 0; line <= static_cast<std::uint32_t>(m_shownBubble); ++line)
        GetPrinter(m_shownBubble, line).SetColour(colour);
}

} // namespace Wispfold
