// A butterfly of the board. The item pool owns every butterfly; the board borrows one per open cell, and the
// flags below are what the rules read and write. A butterfly comes from the pool marked, so it cannot be picked
// while it flies in; its landing clears the mark.
//
// Seen, it is an animated model of its colour with three particle systems (arrival, departure, swap), made at its
// first appearance, and it moves through a few states: it arrives at the hover point above its cell fading in,
// rests there with idle flaps, wiggles when a swap is refused or a hint is shown, lifts, flies and lands for a
// swap, and leaves fading out when it is destroyed; after its departure the pool recycles it. Every random draw
// is one step of the engine's generator, in the order the motions below make them.
#pragma once

#include "PlayServices.h"
#include "engine/gui/RegisteredModel.h"
#include "engine/render/Vector3.h"

#include <array>
#include <cstdint>

namespace KeystrelEngine {
class AnimationControl;
class ParticleSystem;
} // namespace KeystrelEngine

namespace Wispfold {

class Bonus;

// 0 .. colour count - 1.
using ItemColor = std::uint32_t;

enum ItemState : std::uint32_t
{
    kItemResting = 0,
    kItemArriving = 1,
    kItemLeaving = 2,
    kItemWiggling = 3,
    kItemLifting = 4,    // turns toward its swap destination and lifts
    kItemLanding = 5,    // turns a little and settles on its new cell
    kItemSwapFlight = 6, // flies level to its swap destination
};

class Item
{
public:
    // Animation ranges of the butterfly model.
    enum AnimationRange : std::uint32_t
    {
        kAnimationFlying = 0,
        kAnimationSettling = 2,
        kAnimationRestingFlap = 3,
        kAnimationLift = 4,
    };
    enum Effect : std::uint32_t
    {
        kEffectArrival = 0,
        kEffectDeparture = 1,
        kEffectSwap = 2,
    };

    // Neither record is owned; the resources outlive the butterfly. Nothing is made until the first Appear.
    Item(const PlayServices& services, const PlayResources& resources, ItemColor colour);
    // Deletes the particle systems and the model.
    virtual ~Item();

    Item(const Item&) = delete;
    Item& operator=(const Item&) = delete;

    // Flies in from a random heading to the hover point above the target position, fading in.
    void Appear();
    // Flies away fading out; a butterfly that never appeared is only marked for recycling.
    void Release();
    // Lifts and settles. Refused while it flies (arrives, leaves or swaps): the wiggle would cut the flight off
    // short of its end, leaving it marked or over its old cell; and before its first appearance.
    void Wiggle();
    // Turns toward the destination (the top of the other cell), lifts, flies there level and lands.
    void MoveTo(const KeystrelEngine::Vector3& destination);
    // The frame's motion of a busy butterfly.
    void Update();
    // Back to the state of a butterfly in the pool: still, hidden, marked, in use and not busy.
    void Reset();

    // Sitting at its cell: its animation is the resting flap.
    bool IsAtRest() const;
    // Arriving, leaving or on a swap (lifting, flying or landing).
    bool IsInFlight() const;
    // The target position raised by 1.1 x the model's half height.
    KeystrelEngine::Vector3 GetHoverPoint() const;

    ItemState GetState() const { return m_state; }
    const KeystrelEngine::Vector3& GetPosition() const { return m_position; }
    float GetHeading() const { return m_heading; }
    float GetTargetHeading() const { return m_targetHeading; }
    bool IsBusy() const { return m_busy; }
    bool IsInUse() const { return m_inUse; }
    bool WantsShadow() const { return m_shadowWanted; }
    float GetIdleCountdown() const { return m_idleCountdown; }
    // Null before the first Appear.
    KeystrelEngine::Model* GetModel() const { return m_model.get(); }
    KeystrelEngine::ParticleSystem* GetEffect(Effect effect) const { return m_effects[effect]; }

    ItemColor m_colour;
    // Where it sits: the top of its cell (during a departure, the point it leaves for).
    KeystrelEngine::Vector3 m_targetPosition;
    // Cannot be picked or swapped: still arriving, or waiting in a destruction group.
    bool m_markedForDestruction = true;
    // Sits on a blocked cell and does not flap while resting.
    bool m_held = false;
    // The token it carries, owned by the bonus manager; null when none.
    Bonus* m_bonus = nullptr;

private:
    void CreateModel();
    void CreateEffect(Effect effect, const KeystrelEngine::ParticleSystem* source);
    KeystrelEngine::AnimationControl& Animation() const;
    void PlayFlying(float speed);
    void PlayOnce(AnimationRange range);
    void StopResting();
    void SwitchEffect(Effect effect, bool on);

    void UpdateArrival(float dt);
    void UpdateDeparture(float dt);
    void UpdateWiggle(float dt);
    void UpdateLift(float dt);
    void UpdateLanding(float dt);
    bool IsAtHoverPoint() const;
    // Rests, still, on the resting flap's first frame.
    void Settle();
    void UpdateSwapFlight(float dt);
    void TurnTowardTarget(float rate, float dt);
    void UpdateIdleFlap(float dt);
    void Place();
    void UpdateEffects(float alpha);

    PlayServices m_services;
    const PlayResources* m_resources;
    KeystrelEngine::RegisteredModel m_model;
    std::array<KeystrelEngine::ParticleSystem*, 3> m_effects{}; // registered; by Effect
    float m_heading = 0.0f;                                     // radians
    float m_targetHeading = 0.0f;
    KeystrelEngine::Vector3 m_halfExtent;
    KeystrelEngine::Vector3 m_position;
    ItemState m_state = kItemResting;
    bool m_turning = false; // a landing turn follows the swap flight
    KeystrelEngine::Vector3 m_swapDestination;
    // Set when the arrival starts, cleared only when the pool recycles it.
    bool m_busy = false;
    // False once the departure has finished: the pool then recycles it.
    bool m_inUse = true;
    bool m_shadowWanted = false;
    float m_timer = 0.0f;         // seconds into the arrival or departure
    float m_idleCountdown = 0.0f; // seconds to the next idle flap
};

} // namespace Wispfold
