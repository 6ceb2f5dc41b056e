// What the tests of the board's visible objects share: the engine's model and particle services over the
// recording device, and small resources written for the test in place of the game's shared lists: a butterfly
// and a shadow of one triangle with 76 morph frames (every animation range of a butterfly), three bonus models, a
// texture set per colour told apart by its description flags, and three particle systems that emit one particle
// at the start of each second.
#pragma once

#include "engine/foundation/Random.h"
#include "engine/render/ShaderDescriptor.h"
#include "game/play/PlayServices.h"
#include "tests/engine/render/ParticleFixture.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace TestSupport {

class PlayObjectsFixture : public RenderTesting::ParticleFixture
{
protected:
    static constexpr std::uint32_t kFrames = 76;
    // The butterfly's local box: centre (5, 3, 2), half extents (5, 3, 2).
    static constexpr Formats::Float3 kMinimum{0, 0, 0};
    static constexpr Formats::Float3 kMaximum{10, 6, 4};

    void SetUp() override
    {
        ParticleFixture::SetUp();
        // Nothing here looks at pixels, and clearing the recorded frame every frame would cost most of the time.
        render->m_clearFlags = 0;
        KeystrelEngine::RandomSeed = 12345;
        m_templates.push_back(Template("butterfly", Animated()));
        m_templates.push_back(Template("shadow", Animated()));
        for (std::uint32_t kind = 0; kind < Wispfold::kBonusKindCount; ++kind)
            m_templates.push_back(Template("bonus" + std::to_string(kind), RenderTesting::StaticQuad()));
        for (std::uint32_t colour = 0; colour < Wispfold::kTexturedColourCount; ++colour) {
            m_textures[colour].m_flags = 0x100 << colour;
            m_shadowTextures[colour].m_flags = 0x10000 << colour;
            m_resources.butterflyTextures[colour] = &m_textures[colour];
            m_resources.shadowTextures[colour] = &m_shadowTextures[colour];
        }
        m_resources.butterfly = m_templates[0].get();
        m_resources.shadow = m_templates[1].get();
        for (std::uint32_t kind = 0; kind < Wispfold::kBonusKindCount; ++kind)
            m_resources.bonusModels[kind] = m_templates[2 + kind].get();
        for (const char* name : {"appear", "disappear", "swap"})
            m_systems.emplace_back(particles->LoadParticleSystem(WriteParticles(name, OneASecond()), nullptr));
        m_resources.butterflyAppear = m_systems[0].get();
        m_resources.butterflyDisappear = m_systems[1].get();
        m_resources.butterflySwap = m_systems[2].get();
        m_services = {timers.get(), models.get(), particles.get()};
    }

    void TearDown() override
    {
        m_systems.clear();
        m_templates.clear();
        ParticleFixture::TearDown();
    }

    // The particles fade from their colour's alpha 0.5 at key 0 to 0.25 at key 5.
    static Formats::ParticleFile OneASecond()
    {
        Formats::ParticleFile file;
        file.rate = {1, 0, 0, 0, 0, 0};
        for (std::uint32_t key = 0; key < 6; ++key)
            file.colour[key] = {1, 1, 1, 0.5f - 0.05f * static_cast<float>(key)};
        return file;
    }

    static Formats::ModelFile Animated()
    {
        Formats::ModelFile file;
        file.flags = 0x2 | 0x8;
        file.frameCount = kFrames;
        file.speed = 30.0f;
        file.indices = {0, 1, 2};
        for (std::uint32_t frame = 0; frame < kFrames; ++frame) {
            file.vertices.push_back({0, 0, {0, 0, 1}, kMinimum});
            file.vertices.push_back({1, 0, {0, 0, 1}, {10, 0, 4}});
            file.vertices.push_back({0, 1, {0, 0, 1}, {0, 6, 0}});
            file.boxes.push_back({kMinimum, kMaximum});
        }
        return file;
    }

    // An unmanaged model with vertex colours, as the game loads its shared models.
    std::unique_ptr<KeystrelEngine::Model> Template(const std::string& name, const Formats::ModelFile& file)
    {
        return std::unique_ptr<KeystrelEngine::Model>(models->LoadModelUnmanaged(WriteModel(name, file), 0x20));
    }

    // One frame of dt seconds for the objects' own updates.
    void SetFrameTime(float dt) { timers->m_frameTime = dt; }

    bool IsRegistered(const KeystrelEngine::Model* model)
    {
        const auto& slots = models->GetRegistry().GetSlots();
        return std::find(slots.begin(), slots.end(), model) != slots.end();
    }

    static bool Shown(const KeystrelEngine::Model& model) { return (model.m_flags & KeystrelEngine::Model::kShown); }

    Wispfold::PlayServices m_services;
    Wispfold::PlayResources m_resources;
    std::vector<std::unique_ptr<KeystrelEngine::Model>> m_templates;
    std::vector<std::unique_ptr<KeystrelEngine::ParticleSystem>> m_systems;
    std::array<KeystrelEngine::ShaderDescriptor, Wispfold::kTexturedColourCount> m_textures;
    std::array<KeystrelEngine::ShaderDescriptor, Wispfold::kTexturedColourCount> m_shadowTextures;
};

} // namespace TestSupport
