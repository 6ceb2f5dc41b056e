// What the board's visible objects (butterflies, their shadows, bonus tokens) work with: three engine managers,
// and the models, texture sets and particle systems they copy from the game's shared resource lists. The game
// fills both records from its engine and its resource lists; nothing in them is owned. A world that only plays
// the rules leaves them empty and never shows a butterfly.
#pragma once

#include <array>
#include <cstdint>

namespace KeystrelEngine {
class Model;
class ModelManager;
class ParticleSystem;
class ParticleSystemManager;
class ShaderDescriptor;
class TimerManager;
} // namespace KeystrelEngine

namespace Wispfold {

struct PlayServices
{
    KeystrelEngine::TimerManager* timers = nullptr; // the frame time
    KeystrelEngine::ModelManager* models = nullptr;
    KeystrelEngine::ParticleSystemManager* particleSystems = nullptr;
};

// Butterfly colours that have a texture set.
constexpr std::uint32_t kTexturedColourCount = 5;
constexpr std::uint32_t kBonusKindCount = 3;

struct PlayResources
{
    const KeystrelEngine::Model* butterfly = nullptr;
    // By colour: the butterfly's texture set and its shadow's.
    std::array<const KeystrelEngine::ShaderDescriptor*, kTexturedColourCount> butterflyTextures{};
    const KeystrelEngine::Model* shadow = nullptr;
    std::array<const KeystrelEngine::ShaderDescriptor*, kTexturedColourCount> shadowTextures{};
    // By bonus kind.
    std::array<const KeystrelEngine::Model*, kBonusKindCount> bonusModels{};
    const KeystrelEngine::ParticleSystem* butterflyAppear = nullptr;
    const KeystrelEngine::ParticleSystem* butterflyDisappear = nullptr;
    const KeystrelEngine::ParticleSystem* butterflySwap = nullptr;
};

} // namespace Wispfold
