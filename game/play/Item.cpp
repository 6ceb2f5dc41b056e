#include "Item.h"

#include "Bonus.h"
#include "ModelColour.h"
#include "engine/foundation/Random.h"
#include "engine/foundation/TimerManager.h"
#include "engine/render/AnimationControl.h"
#include "engine/render/Matrix4.h"
#include "engine/render/ParticleSystemManager.h"
#include "engine/render/SpriteGroup.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Wispfold {

using KeystrelEngine::Color;
using KeystrelEngine::Matrix4;
using KeystrelEngine::Model;
using KeystrelEngine::ParticleSystem;
using KeystrelEngine::Vector3;

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kHoverFactor = 1.1f;     // of the half height above the target
constexpr float kStartDistance = 100.0f; // an arrival starts this far out and this high
constexpr float kFlightSpeed = 105.0f;   // arrival and departure, units a second
constexpr float kDepartureDistance = 400.0f;
constexpr float kDepartureRise = 50.0f; // per 100 units of departure
constexpr float kDepartureTime = 2.2f;  // seconds of a departure's fade (the last one fading)
constexpr float kLiftSpeed = 65.0f;     // wiggles, lifts and landings
constexpr float kLiftHeight = 200.0f;
constexpr float kSwapSpeed = 100.0f;
constexpr float kLiftTurnRate = 4.5f;    // of the remaining turn, a second
constexpr float kLandingTurnRate = 6.5f; //
constexpr float kFastFrames = 60.0f;     // frames a second of the flying loop while arriving or leaving
constexpr float kFrames = 30.0f;
constexpr float kFirstIdleWait = 10.0f; // seconds, at most
constexpr float kIdleWaitMin = 2.0f;
constexpr float kIdleWaitMax = 10.0f;
constexpr float kTiny = 0.0001f; // an alpha or a turn below this counts as none

// Moves from toward to by at most step; stays put at the point itself.
Vector3 StepToward(const Vector3& from, const Vector3& to, float step)
{
    const Vector3 difference = to - from;
    const float distance = difference.Length();
    if (distance <= step || distance == 0.0f)
        return to;
    return from + difference * (step / distance);
}

// The step from `from` ends at or beyond the point.
bool Reaches(const Vector3& next, const Vector3& from, const Vector3& point)
{
    return Dot(next - point, from - point) <= 0.0f;
}

} // namespace

Item::Item(const PlayServices& services, const PlayResources& resources, ItemColor colour)
    : m_colour(colour), m_services(services), m_resources(&resources), m_model(nullptr, {services.models})
{
}

Item::~Item()
{
    for (ParticleSystem* effect : m_effects) {
        if (effect)
            m_services.particleSystems->DestroyParticleSystem(effect);
    }
}

// Creation --------------------------------------------------------------------------------------------------

// A hidden copy of the butterfly in the colour's texture set, drawn last, centred on its own origin.
void Item::CreateModel()
{
    m_model.reset(m_services.models->CloneModel(*m_resources->butterfly, nullptr, 0));
    if (m_colour < kTexturedColourCount && m_resources->butterflyTextures[m_colour])
        m_model->SetShaderDescriptor(*m_resources->butterflyTextures[m_colour]);
    m_model->SetFlags(Model::kDrawLast);
    const KeystrelEngine::BoundingBox& box = m_model->m_boundingBox;
    m_model->m_baseMatrix.MakeTranslation((box.m_localMin + box.m_localMax) * -0.5f);
    m_model->ResetWorldMatrix();
    m_model->m_flags &= ~Model::kShown;
    m_halfExtent = (box.m_localMax - box.m_localMin) * 0.5f;
    KeystrelEngine::AnimationControl& animation = Animation();
    animation.AddAnimation(0, 0, 10);
    animation.AddAnimation(1, 10, 15);
    animation.AddAnimation(2, 15, 25);
    animation.AddAnimation(3, 25, 60);
    animation.AddAnimation(4, 60, 70);
    animation.AddAnimation(5, 70, 75);
    CreateEffect(kEffectArrival, m_resources->butterflyAppear);
    CreateEffect(kEffectDeparture, m_resources->butterflyDisappear);
    CreateEffect(kEffectSwap, m_resources->butterflySwap);
}

// A continuous emitter, switched off, drawn.
void Item::CreateEffect(Effect effect, const ParticleSystem* source)
{
    ParticleSystem* system = m_services.particleSystems->CloneParticleSystem(*source);
    system->m_looping = true;
    system->m_emitting = false;
    system->GetSpriteGroup()->GetModel()->m_flags |= Model::kShown;
    m_effects[effect] = system;
}

KeystrelEngine::AnimationControl& Item::Animation() const
{
    return m_model->GetAnimationControl();
}

// The flying loop from a random point of it.
void Item::PlayFlying(float speed)
{
    KeystrelEngine::AnimationControl& animation = Animation();
    animation.m_currentAnimation = kAnimationFlying;
    animation.m_looping = true;
    animation.m_speed = speed;
    animation.SetRandomPosition(kAnimationFlying);
    animation.m_playing = true;
}

void Item::PlayOnce(AnimationRange id)
{
    KeystrelEngine::AnimationControl& animation = Animation();
    animation.m_currentAnimation = id;
    animation.m_speed = kFrames;
    animation.m_position = 0.0f;
    animation.m_looping = false;
    animation.m_playing = true;
}

// The resting flap, standing still on its first frame.
void Item::StopResting()
{
    PlayOnce(kAnimationRestingFlap);
    Animation().m_playing = false;
}

void Item::SwitchEffect(Effect effect, bool on)
{
    m_effects[effect]->m_emitting = on;
}

// Motions ---------------------------------------------------------------------------------------------------

void Item::Appear()
{
    if (!m_model)
        CreateModel();
    m_model->m_flags |= Model::kShown;
    SetModelColour(*m_model, {1.0f, 1.0f, 1.0f, 0.0f});
    PlayFlying(kFastFrames);
    m_heading = 2.0f * kPi * (static_cast<float>(KeystrelEngine::RandomNext()) / 32768.0f);
    m_position = m_targetPosition +
                 Vector3{kStartDistance * std::cos(m_heading), kStartDistance * std::sin(m_heading), kStartDistance};
    m_state = kItemArriving;
    m_busy = true;
    m_shadowWanted = true;
    SwitchEffect(kEffectArrival, true);
}

void Item::Release()
{
    if (!m_model || !(m_model->m_flags & Model::kShown)) {
        m_busy = true;
        m_inUse = false;
        return;
    }
    PlayFlying(kFastFrames);
    const float away = m_heading + kPi;
    const Vector3 direction = Vector3{100.0f * std::cos(away), 100.0f * std::sin(away), kDepartureRise}.Normalized();
    m_targetPosition = m_position + direction * kDepartureDistance;
    m_state = kItemLeaving;
    m_timer = 0.0f;
    SwitchEffect(kEffectDeparture, true);
}

void Item::Wiggle()
{
    if (!m_model || IsInFlight())
        return;
    PlayOnce(kAnimationLift);
    m_state = kItemWiggling;
}

// The heading toward the destination is one of eight: straight along an axis when the move is mostly along it,
// else a diagonal. It is turned by a whole circle when that makes the turn shorter.
void Item::MoveTo(const Vector3& destination)
{
    m_swapDestination = destination;
    PlayOnce(kAnimationLift);
    m_state = kItemLifting;
    m_turning = true;
    const Vector3 d = destination - m_position;
    const float ax = std::fabs(d.x);
    const float ay = std::fabs(d.y);
    if (ax <= ay / 2.0f || ay <= ax / 2.0f) {
        if (ax <= ay)
            m_targetHeading = destination.y <= m_position.y ? kPi / 2.0f : 3.0f * kPi / 2.0f;
        else
            m_targetHeading = m_position.x < destination.x ? kPi : 0.0f;
    } else if (d.x <= 0.0f) {
        m_targetHeading = d.y <= 0.0f ? kPi / 4.0f : 7.0f * kPi / 4.0f;
    } else {
        m_targetHeading = d.y <= 0.0f ? 3.0f * kPi / 4.0f : 5.0f * kPi / 4.0f;
    }
    if (std::fabs(m_heading - m_targetHeading) > std::fabs(m_heading - m_targetHeading + 2.0f * kPi))
        m_targetHeading -= 2.0f * kPi;
}

void Item::Reset()
{
    m_targetPosition = {};
    m_position = {};
    m_swapDestination = {};
    m_heading = 0.0f;
    m_targetHeading = 0.0f;
    m_timer = 0.0f;
    m_idleCountdown = 0.0f;
    m_state = kItemResting;
    m_inUse = true;
    m_markedForDestruction = true;
    m_busy = false;
    m_shadowWanted = false;
    m_held = false;
    m_bonus = nullptr;
    if (m_model)
        m_model->m_flags &= ~Model::kShown;
    for (ParticleSystem* effect : m_effects) {
        if (!effect)
            continue;
        effect->m_time = 0.0f;
        effect->m_emitting = false;
        effect->ResetEmissionCounters();
    }
}

bool Item::IsAtRest() const
{
    return m_model && Animation().m_currentAnimation == kAnimationRestingFlap;
}

bool Item::IsInFlight() const
{
    return m_state != kItemResting && m_state != kItemWiggling;
}

Vector3 Item::GetHoverPoint() const
{
    return m_targetPosition + Vector3{0.0f, 0.0f, kHoverFactor * m_halfExtent.z};
}

// The frame ----------------------------------------------------------------------------------------------------

// A butterfly released before it ever appeared has no model and nothing to move; the pool recycles it.
void Item::Update()
{
    if (!m_busy)
        return;
    m_shadowWanted = false;
    if (!m_model)
        return;
    const float dt = m_services.timers->m_frameTime;
    switch (m_state) {
    case kItemArriving:
        UpdateArrival(dt);
        break;
    case kItemLeaving:
        UpdateDeparture(dt);
        break;
    case kItemWiggling:
        UpdateWiggle(dt);
        break;
    case kItemLifting:
        UpdateLift(dt);
        break;
    case kItemLanding:
        UpdateLanding(dt);
        break;
    case kItemSwapFlight:
        UpdateSwapFlight(dt);
        break;
    case kItemResting:
        break;
    }
    Place();
    UpdateIdleFlap(dt);
    const Color colour = GetModelColour(*m_model);
    UpdateEffects(colour.a);
    if (m_bonus) {
        Matrix4 translation;
        translation.MakeTranslation(m_position);
        m_bonus->SetMatrix(translation);
        m_bonus->m_colour = colour;
    }
}

void Item::UpdateArrival(float dt)
{
    m_timer += dt;
    const Vector3 hover = GetHoverPoint();
    const Vector3 next = StepToward(m_position, hover, kFlightSpeed * dt);
    if (Reaches(next, m_position, hover)) {
        m_position = hover;
        Settle();
        m_idleCountdown = KeystrelEngine::RandomFloatRange(0.0f, kFirstIdleWait);
        m_markedForDestruction = false;
        SwitchEffect(kEffectArrival, false);
    } else {
        m_position = next;
    }
    SetModelColour(*m_model, {1.0f, 1.0f, 1.0f, std::min(1.0f, 2.0f * m_timer)});
}

void Item::UpdateDeparture(float dt)
{
    m_timer += dt;
    const float alpha = std::clamp(kDepartureTime - m_timer, 0.0f, 1.0f);
    SetModelColour(*m_model, {1.0f, 1.0f, 1.0f, alpha});
    const Vector3 hover = GetHoverPoint();
    const Vector3 next = StepToward(m_position, hover, kFlightSpeed * dt);
    if (Reaches(next, m_position, hover) || alpha < kTiny) {
        SwitchEffect(kEffectDeparture, false);
        m_position = hover;
        m_state = kItemResting;
        m_inUse = false;
    } else {
        m_position = next;
    }
}

// Up while the lift plays, then down to the hover point while it settles, and on down until it is there: the
// settling plays as long as the lift but not over the same frames, and a wiggle or a swap may start from a
// butterfly still raised. Stopped short, it would climb a little with every move.
void Item::UpdateWiggle(float dt)
{
    const bool lifting = Animation().m_currentAnimation == kAnimationLift;
    const Vector3 aim = GetHoverPoint() + Vector3{0.0f, 0.0f, lifting ? kLiftHeight : 0.0f};
    m_position = StepToward(m_position, aim, kLiftSpeed * dt);
    if (Animation().m_playing)
        return;
    if (lifting)
        PlayOnce(kAnimationSettling);
    else if (IsAtHoverPoint())
        Settle();
}

void Item::UpdateLift(float dt)
{
    TurnTowardTarget(kLiftTurnRate, dt);
    m_position = StepToward(m_position, GetHoverPoint() + Vector3{0.0f, 0.0f, kLiftHeight}, kLiftSpeed * dt);
    if (Animation().m_playing)
        return;
    m_heading = m_targetHeading;
    PlayFlying(kFrames);
    m_targetPosition = m_swapDestination;
    m_state = kItemSwapFlight;
    SwitchEffect(kEffectSwap, true);
}

// Settles on the hover point of its new cell as a wiggle does, going on down until it is there.
void Item::UpdateLanding(float dt)
{
    TurnTowardTarget(kLandingTurnRate, dt);
    m_position = StepToward(m_position, GetHoverPoint(), kLiftSpeed * dt);
    if (Animation().m_playing || !IsAtHoverPoint())
        return;
    m_heading = m_targetHeading;
    m_turning = false;
    Settle();
}

// A step that reaches its point ends exactly on it.
bool Item::IsAtHoverPoint() const
{
    const Vector3 hover = GetHoverPoint();
    return m_position.x == hover.x && m_position.y == hover.y && m_position.z == hover.z;
}

void Item::Settle()
{
    m_state = kItemResting;
    StopResting();
}

// Level with its current height; a landing turn of up to a quarter circle follows.
void Item::UpdateSwapFlight(float dt)
{
    const Vector3 point{m_swapDestination.x, m_swapDestination.y, m_position.z};
    const Vector3 next = StepToward(m_position, point, kSwapSpeed * dt);
    if (!Reaches(next, m_position, point)) {
        m_position = next;
        return;
    }
    m_position = point;
    m_state = kItemResting;
    if (m_turning) {
        KeystrelEngine::RandomNext();
        const float r = KeystrelEngine::RandomFloat();
        m_targetHeading = m_heading + r * kPi / 2.0f;
        PlayOnce(kAnimationSettling);
        m_state = kItemLanding;
    }
    SwitchEffect(kEffectSwap, false);
}

void Item::TurnTowardTarget(float rate, float dt)
{
    const float difference = m_targetHeading - m_heading;
    const float size = std::fabs(difference);
    if (size > kTiny)
        m_heading += std::copysign(std::min(size, rate * size * dt), difference);
}

// Base set-up, the turn to the heading, then the position.
void Item::Place()
{
    Matrix4 translation;
    translation.MakeTranslation(m_position);
    m_model->SetWorldMatrixRelativeToBase(translation * Matrix4::RotationZ(m_heading + kPi / 2.0f));
}

// While resting and free to move, the resting flap plays again now and then.
void Item::UpdateIdleFlap(float dt)
{
    if (Animation().m_currentAnimation != kAnimationRestingFlap || m_held)
        return;
    m_idleCountdown -= dt;
    if (m_idleCountdown >= 0.0f)
        return;
    m_idleCountdown = KeystrelEngine::RandomFloatRange(kIdleWaitMin, kIdleWaitMax);
    if (!Animation().m_playing)
        PlayOnce(kAnimationRestingFlap);
}

// The effects follow the model's centre and fade with it.
void Item::UpdateEffects(float alpha)
{
    const std::array<const ParticleSystem*, 3> sources{m_resources->butterflyAppear, m_resources->butterflyDisappear,
                                                       m_resources->butterflySwap};
    for (std::uint32_t i = 0; i < m_effects.size(); ++i) {
        m_effects[i]->m_position = m_model->m_boundingBox.m_centre;
        for (std::uint32_t key = 0; key < KeystrelEngine::kParticleKeyCount; ++key) {
            Color colour = sources[i]->GetParameters().colour[key];
            colour.a *= alpha;
            m_effects[i]->SetKeyColor(key, colour);
        }
    }
}

} // namespace Wispfold
