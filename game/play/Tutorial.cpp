#include "Tutorial.h"

#include "Board.h"
#include "CameraControl.h"
#include "CellPlacement.h"
#include "Character.h"
#include "LevelManager.h"
#include "ModelColour.h"
#include "TutorialFlags.h"

#include "engine/foundation/TimerManager.h"
#include "engine/gui/Engine.h"
#include "engine/render/AnimationControl.h"
#include "engine/render/Model.h"
#include "engine/render/ShaderDescriptor.h"
#include "engine/render/ShaderUser.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Wispfold {
namespace {

using KeystrelEngine::Model;
using KeystrelEngine::ShaderDescriptor;

constexpr float kFullTurn = 2.0f * std::numbers::pi_v<float>;
constexpr float kFirstWait = 7.0f;
constexpr float kBonusWait = 3.0f;
constexpr float kPause = 0.75f; // between two phrases
constexpr float kTurnDelay = 2.0f;
constexpr float kCellHold = 12.0f;
constexpr float kHidden = 0.0001f;

struct TopicInfo
{
    std::uint32_t profileFlag;
    const char* phrase; // the first phrase; the make-swap and camera topics number theirs on
    std::uint32_t tracked;
};

constexpr std::uint32_t kNone = 0xFFFFFFFFu;

// By topic, in the order they are chosen.
constexpr TopicInfo kTopics[] = {
    {4, "CHARACTER_TUTORIAL_MAKE_SWAP_", kNone}, {11, "CHARACTER_TUTORIAL_CAMERA_", kNone},
    {5, "CHARACTER_TUTORIAL_DOUBLE_MANNA_0", 0}, {6, "CHARACTER_TUTORIAL_CLOSED_CELL_0", 2},
    {7, "CHARACTER_TUTORIAL_WEB_ITEM_0", 1},     {8, "CHARACTER_TUTORIAL_BONUS0_0", 3},
    {9, "CHARACTER_TUTORIAL_BONUS1_0", 4},       {10, "CHARACTER_TUTORIAL_BONUS2_0", 5}};

std::string MakeSwap(int phrase)
{
    return kTopics[Tutorial::kMakeSwap].phrase + std::to_string(phrase);
}

std::string CameraPhrase(int phrase)
{
    return kTopics[Tutorial::kCamera].phrase + std::to_string(phrase);
}

} // namespace

Tutorial::Tutorial(KeystrelEngine::Engine& engine, TutorialFlags& flags, const Model& tipSource, Character& character,
                   CameraControl& camera, const Board& board, const CellPlacement& cells, const LevelRecord& level)
    : m_timers(engine.m_timers.get()), m_flags(flags), m_character(character), m_camera(camera), m_board(board),
      m_cells(cells), m_level(level), m_tip(nullptr, {engine.m_models.get()})
{
    m_tip.reset(engine.m_models->CloneModel(tipSource, nullptr, 0));
    m_tip->SetFlags(Model::kDrawLast | Model::kTwoPasses);
    m_tip->m_flags &= ~(Model::kLit | Model::kShown);
    if (KeystrelEngine::ShaderUser* shader = m_tip->GetShaderUser()) {
        shader->m_flags |= ShaderDescriptor::kAlphaBlend;
        shader->m_sourceBlend = ShaderDescriptor::kBlendSourceAlpha;
        shader->m_destinationBlend = ShaderDescriptor::kBlendInverseSourceAlpha;
    }
    m_tip->GetAnimationControl().m_playing = true;
}

// Leaving the level drops the running topic too: a switched view would otherwise stay stored for later levels.
Tutorial::~Tutorial()
{
    Drop();
}

// A decided level drops the running topic before it runs: the level-end phrase stays the character's last word,
// and the tip leaves the board before the level's end shows.
void Tutorial::Update()
{
    if (IsLevelDecided()) {
        Drop();
        return;
    }
    if (m_topic != kNoTopic)
        m_clock += m_timers->m_frameTime;
    if (m_topic == kMakeSwap)
        RunMakeSwap();
    else if (m_topic == kCamera)
        RunCamera();
    else if (m_topic != kNoTopic)
        RunCellTopic();
    ChooseTopic();
    KeepTipInView();
}

void Tutorial::Speak(const std::string& key, float holdTime)
{
    m_character.ShowText(key, holdTime);
}

void Tutorial::Advance()
{
    ++m_step;
    m_clock = 0.0f;
}

void Tutorial::Finish()
{
    m_flags.ClearAndSave(kTopics[m_topic].profileFlag);
    m_topic = kNoTopic;
}

// Whatever the topic had changed goes back as its own end would leave it: the board's extra turn undone, a
// switched view switched back, the tip hidden and praise on. The topic's flag stays set.
void Tutorial::Drop()
{
    if (m_topic == kNoTopic)
        return;
    if (m_topic == kCamera) {
        m_camera.SetTurnBias(0.0f);
        if (m_step == 9) // the view is switched
            SwitchViewBack();
    }
    if (m_pointed)
        HideTip();
    m_character.SetPraiseEnabled(true);
    m_topic = kNoTopic;
}

bool Tutorial::IsSilent() const
{
    return m_character.IsSilent();
}

bool Tutorial::WaitedFor(float seconds) const
{
    return m_clock > seconds;
}

// The pairs' last move is pointed at: first its first cell, then, once that is selected, its second.
void Tutorial::RunMakeSwap()
{
    const std::uint32_t moves = m_board.GetMoveCount();
    if (m_step < 6 && m_board.GetRemovedCount() != 0) {
        m_step = 6;
        m_clock = 0.0f;
        HideTip();
    }
    switch (m_step) {
    case 0:
        if (WaitedFor(kFirstWait)) {
            Speak(MakeSwap(0), 9.0f);
            Advance();
        }
        break;
    case 4:
        if (WaitedFor(kPause)) {
            Speak(MakeSwap(2), 30.0f);
            Advance();
            if (moves > 1)
                ShowTip(*m_board.GetMoveFirstCell(moves - 1));
        }
        break;
    case 5:
        SetTipAlpha(std::min(m_clock, 1.0f));
        if (moves > 1 && m_board.GetMoveFirstCell(moves - 1) == m_board.GetSelectedCell()) {
            PointAt(*m_board.GetMoveSecondCell(moves - 1));
            Speak(MakeSwap(3), 30.0f);
            Advance();
        }
        break;
    case 6:
        SetTipAlpha(std::min(m_clock, 1.0f));
        if (m_board.GetRemovedCount() != 0) {
            Speak(MakeSwap(4), 9.0f);
            Advance();
        }
        break;
    case 7:
        SetTipAlpha(std::max(1.0f - m_clock, 0.0f));
        if (IsSilent())
            Advance();
        break;
    case 8:
        if (WaitedFor(kPause)) {
            HideTip();
            Speak(MakeSwap(5), 9.0f);
            Advance();
        }
        break;
    case 2:
    case 10:
    case 12:
        // The phrases 1, 6 and 7 follow a pause.
        if (WaitedFor(kPause)) {
            Speak(MakeSwap(m_step == 2 ? 1 : m_step == 10 ? 6 : 7), m_step == 12 ? 4.0f : 9.0f);
            Advance();
        }
        break;
    case 13:
        if (IsSilent())
            Finish();
        break;
    default: // 1, 3, 9 and 11 wait for the phrase to end
        if (IsSilent())
            Advance();
        break;
    }
}

// One full turn of the board one way, then the other, then the view switched and switched back.
void Tutorial::RunCamera()
{
    switch (m_step) {
    case 0:
        if (WaitedFor(kFirstWait)) {
            Speak(CameraPhrase(0), 10.0f);
            Advance();
        }
        break;
    case 1:
        Turn(1.0f, 2);
        break;
    case 3:
    case 6:
        if (WaitedFor(kPause)) {
            Speak(CameraPhrase(m_step == 3 ? 1 : 2), 10.0f);
            Advance();
        }
        break;
    case 4:
        Turn(-1.0f, 5);
        break;
    case 7:
        if (WaitedFor(2.0f)) {
            m_step = 8;
            m_clock = 0.0f;
        }
        break;
    case 8: {
        const std::int32_t type = m_camera.GetCameraType();
        m_cameraRemembered = type == CameraControl::kTypeOblique || type == CameraControl::kTypeFree;
        m_camera.SetCameraType(m_cameraRemembered ? CameraControl::kTypeTop : CameraControl::kTypeOblique);
        Advance();
        break;
    }
    case 9:
        if (WaitedFor(4.0f)) {
            SwitchViewBack();
            Advance();
        }
        break;
    case 10:
        if (IsSilent())
            Finish();
        break;
    default: // 2 and 5 wait for the phrase to end
        if (IsSilent())
            Advance();
        break;
    }
}

// A free view comes back as the oblique one.
void Tutorial::SwitchViewBack()
{
    m_camera.SetCameraType(m_cameraRemembered ? CameraControl::kTypeOblique : CameraControl::kTypeTop);
}

void Tutorial::Turn(float sign, std::uint32_t next)
{
    const float bias = std::max(m_clock - kTurnDelay, 0.0f);
    if (bias > kFullTurn) {
        m_camera.SetTurnBias(0.0f);
        m_step = next;
        m_clock = 0.0f;
        return;
    }
    m_camera.SetTurnBias(sign * bias);
}

// A cell topic speaks only while its subject is still there, and holds while the character speaks of it.
void Tutorial::RunCellTopic()
{
    switch (m_step) {
    case 0:
        if (WaitedFor(m_topic >= kBonus0 ? kBonusWait : kFirstWait)) {
            m_clock = 0.0f;
            m_step = 1;
            if (SubjectHolds()) {
                Speak(kTopics[m_topic].phrase, kCellHold);
                ShowTip(*m_tracked[kTopics[m_topic].tracked]);
            }
        }
        break;
    case 1:
        SetTipAlpha(std::min(m_clock, 1.0f));
        if (IsSilent() || !SubjectHolds())
            Advance();
        break;
    case 2: {
        const float alpha = std::max(1.0f - m_clock, 0.0f);
        SetTipAlpha(alpha);
        if (alpha < kHidden)
            Advance();
        break;
    }
    default:
        HideTip();
        Finish();
        break;
    }
}

bool Tutorial::SubjectHolds() const
{
    const Cell* cell = m_tracked[kTopics[m_topic].tracked];
    if (!cell)
        return false;
    switch (m_topic) {
    case kDoubleMana:
        return cell->m_kind == 2;
    case kClosedCell:
        return cell->m_closed;
    case kWebItem:
        return cell->m_blocked;
    default: {
        const Item* item = m_board.GetItem(cell);
        return item && item->m_bonus &&
               static_cast<std::int32_t>(item->m_bonus->m_kind) == m_topic - static_cast<std::int32_t>(kBonus0);
    }
    }
}

void Tutorial::ShowTip(const Cell& cell)
{
    PointAt(cell);
    m_tip->m_flags |= Model::kShown;
    m_tip->GetAnimationControl().m_playing = true;
}

void Tutorial::PointAt(const Cell& cell)
{
    m_tip->SetWorldMatrix(m_cells.GetCellMatrix(cell));
    m_pointed = &cell;
}

void Tutorial::HideTip()
{
    m_tip->m_flags &= ~Model::kShown;
    m_pointed = nullptr;
    m_character.KeepInView(std::nullopt);
}

// Every frame, as the board may turn under the tip.
void Tutorial::KeepTipInView()
{
    if (!m_pointed)
        return;
    const ScreenPosition at = m_board.GetCellScreenPosition(*m_pointed);
    m_character.KeepInView(KeystrelEngine::GUIPoint{at.x, at.y});
}

void Tutorial::SetTipAlpha(float alpha)
{
    SetModelColour(*m_tip, {1.0f, 1.0f, 1.0f, alpha});
}

// In relax mode no energy is spent, so only the mana decides.
bool Tutorial::IsLevelDecided() const
{
    const bool outOfEnergy = !m_board.IsRelaxMode() && m_board.GetEnergyLeft() == 0;
    return m_board.GetManaProgress() == m_board.GetManaTarget() || outOfEnergy;
}

void Tutorial::ChooseTopic()
{
    if (m_topic != kNoTopic)
        return;
    TrackCells();
    for (std::int32_t topic = kMakeSwap; topic < kTopicCount; ++topic) {
        if (IsEligible(topic)) {
            m_topic = topic;
            m_step = 0;
            m_clock = 0.0f;
            m_character.SetPraiseEnabled(false);
            return;
        }
    }
    m_character.SetPraiseEnabled(true);
}

// A property no cell has now keeps the cell found in an earlier frame.
void Tutorial::TrackCells()
{
    for (const auto& cell : m_board.GetCells()) {
        if (cell->m_kind == 2)
            m_tracked[kTrackedDoubleMana] = cell.get();
        if (cell->m_blocked)
            m_tracked[kTrackedBlocked] = cell.get();
        if (cell->m_closed)
            m_tracked[kTrackedClosed] = cell.get();
        const Item* item = m_board.GetItem(cell.get());
        if (item && item->m_bonus)
            m_tracked[kTrackedBonus0 + static_cast<std::uint32_t>(item->m_bonus->m_kind)] = cell.get();
    }
}

bool Tutorial::IsEligible(std::int32_t topic) const
{
    const TopicInfo& info = kTopics[topic];
    if (!m_flags.IsPending(info.profileFlag))
        return false;
    if (topic == kMakeSwap)
        return true;
    if (topic == kCamera)
        return m_level.id.level > 0;
    return m_tracked[info.tracked] != nullptr;
}

} // namespace Wispfold
