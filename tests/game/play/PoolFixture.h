// A level's pool of butterflies with its bonus manager over the recording device, and the frame as the game runs
// it: the bonus tokens, the pool, then the engine's passes (cameras, particle systems, sprite groups, models).
#pragma once

#include "PlayObjectsFixture.h"

#include "engine/render/AnimationControl.h"
#include "game/play/BonusManager.h"
#include "game/play/ItemManager.h"
#include "game/play/LevelManager.h"

#include <memory>
#include <vector>

namespace TestSupport {

class PoolFixture : public PlayObjectsFixture
{
protected:
    static constexpr std::uint32_t kColours = 4;

    void SetUp() override
    {
        PlayObjectsFixture::SetUp();
        m_level.colourCount = kColours;
        m_bonuses = std::make_unique<Wispfold::BonusManager>(m_services, m_resources);
        m_pool = std::make_unique<Wispfold::ItemManager>(m_services, *m_bonuses, m_resources, m_level);
    }

    void TearDown() override
    {
        m_pool.reset();
        m_bonuses.reset();
        PlayObjectsFixture::TearDown();
    }

    // Draws of the engine's generator that the pool's update made are counted in m_draws.
    void Frame(float dt)
    {
        SetFrameTime(dt);
        m_bonuses->Update();
        const std::uint32_t before = KeystrelEngine::RandomSeed;
        m_pool->Update();
        m_draws = DrawsSince(before);
        cameras->Update();
        particles->UpdateAll();
        spriteGroups->UpdateAll();
        models->RenderAll();
    }

    // How many steps of the generator lead from the seed to the current one (at most 100).
    static std::uint32_t DrawsSince(std::uint32_t seed)
    {
        std::uint32_t draws = 0;
        for (; seed != KeystrelEngine::RandomSeed && draws < 100; ++draws)
            seed = seed * 1103515245u + 12345u;
        return draws;
    }

    // The next outputs of the generator, without drawing them.
    static std::vector<std::uint32_t> NextOutputs(std::uint32_t count)
    {
        std::vector<std::uint32_t> outputs;
        std::uint32_t seed = KeystrelEngine::RandomSeed;
        for (std::uint32_t n = 0; n < count; ++n) {
            seed = seed * 1103515245u + 12345u;
            outputs.push_back((seed >> 16) & 0x7FFFu);
        }
        return outputs;
    }

    // A butterfly of the colour that has flown in to the top at the target and rests there.
    Wispfold::Item& Landed(Wispfold::ItemColor colour, const KeystrelEngine::Vector3& target)
    {
        Wispfold::Item& item = *m_pool->GetFreeItem(colour);
        item.m_targetPosition = target;
        item.Appear();
        for (int frame = 0; frame < 200 && item.GetState() != Wispfold::kItemResting; ++frame)
            Frame(0.05f);
        EXPECT_EQ(item.GetState(), Wispfold::kItemResting);
        return item;
    }

    static const KeystrelEngine::AnimationControl& AnimationOf(const Wispfold::Item& item)
    {
        return item.GetModel()->GetAnimationControl();
    }

    Wispfold::LevelRecord m_level;
    std::unique_ptr<Wispfold::BonusManager> m_bonuses;
    std::unique_ptr<Wispfold::ItemManager> m_pool;
    std::uint32_t m_draws = 0;
};

} // namespace TestSupport
