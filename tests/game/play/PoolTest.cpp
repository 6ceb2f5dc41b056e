// The item pool and the shadows over the recording device: the pool's fill and free list, busy butterflies, and
// shadows that follow, fade, change hands and hide.
#include "PoolFixture.h"

#include "engine/render/ShaderUser.h"
#include "game/play/ModelColour.h"

#include <algorithm>
#include <cmath>

using KeystrelEngine::Model;
using KeystrelEngine::Vector3;
using Wispfold::Item;
using Wispfold::Shadow;

namespace {

class PoolTest : public TestSupport::PoolFixture
{
protected:
    const std::vector<std::unique_ptr<Shadow>>& Shadows() { return m_pool->GetShadowManager().GetShadows(); }

    // Releases the butterfly and runs frames until the pool has taken it back.
    void Recycle(Item& item)
    {
        item.Release();
        for (int frame = 0; frame < 100 && item.IsBusy(); ++frame)
            Frame(0.05f);
        ASSERT_FALSE(item.IsBusy());
    }
};

// 2 x 30 / 4 = 15 butterflies of each colour, in colour order; a 16th of a colour is made on demand and never
// joins the free list until it is recycled, into the first empty slot.
TEST_F(PoolTest, ThePoolHoldsTwiceTheCellsSharedAmongTheColoursAndGrowsOnDemand)
{
    m_pool->FillPool(30);
    const auto& items = m_pool->GetItems();
    ASSERT_EQ(items.size(), 60u);
    for (std::uint32_t i = 0; i < 60; ++i) {
        EXPECT_EQ(items[i]->m_colour, i / 15) << i;
        EXPECT_EQ(m_pool->GetFreeItems()[i], items[i].get());
    }
    std::vector<Item*> taken;
    for (int n = 0; n < 15; ++n)
        taken.push_back(m_pool->GetFreeItem(2));
    EXPECT_EQ(taken.front(), items[30].get());
    EXPECT_EQ(taken.back(), items[44].get());
    EXPECT_EQ(std::count(m_pool->GetFreeItems().begin(), m_pool->GetFreeItems().end(), nullptr), 15);
    Item* extra = m_pool->GetFreeItem(2);
    EXPECT_EQ(items.size(), 61u);
    EXPECT_EQ(extra, items[60].get());
    EXPECT_EQ(extra->m_colour, 2u);
    EXPECT_EQ(m_pool->GetFreeItems().size(), 60u);
    EXPECT_EQ(m_pool->GetFreeItem(0), items[0].get()) << "other colours are untouched";

    Recycle(*extra);
    EXPECT_EQ(m_pool->GetFreeItems()[0], extra) << "the first empty slot";
    Recycle(*taken[3]);
    EXPECT_EQ(m_pool->GetFreeItems()[30], taken[3]);
    EXPECT_EQ(m_pool->GetFreeItems().size(), 60u);
}

TEST_F(PoolTest, AButterflyIsBusyFromItsArrivalUntilThePoolTakesItBack)
{
    m_pool->FillPool(4);
    Item& item = *m_pool->GetFreeItem(1);
    EXPECT_FALSE(m_pool->AnyItemBusy()) << "taken, not yet shown";
    item.Appear();
    EXPECT_TRUE(m_pool->AnyItemBusy());
    for (int frame = 0; frame < 100; ++frame)
        Frame(0.05f);
    EXPECT_TRUE(item.IsAtRest());
    EXPECT_TRUE(m_pool->AnyItemBusy()) << "resting on the board";
    item.Release();
    for (int frame = 0; frame < 43; ++frame) { // 2.2 s of departure
        Frame(0.05f);
        ASSERT_TRUE(m_pool->AnyItemBusy()) << frame;
    }
    Frame(0.05f);
    EXPECT_FALSE(m_pool->AnyItemBusy());
}

// Under an arriving butterfly the shadow lies at the shadow height, turned and animated with it, in its colour's
// shadow texture, fully seen within 1 unit of the height, fading over the next 50 and hidden beyond.
TEST_F(PoolTest, AShadowFollowsItsButterflyAndFadesWithItsHeight)
{
    m_pool->GetShadowManager().m_shadowHeight = 5.0f;
    Item& item = *m_pool->GetFreeItem(3);
    item.m_targetPosition = {30, -20, 1.3f}; // the hover point is 0.5 above the shadow's height
    item.Appear();
    Frame(0.05f);
    ASSERT_EQ(Shadows().size(), 1u);
    const Shadow& shadow = *Shadows()[0];
    EXPECT_EQ(shadow.m_owner, &item);
    EXPECT_FLOAT_EQ(shadow.GetHeightOffset(), 3.0f) << "the height minus the model's centre height";
    const Model& model = *shadow.GetModel();
    EXPECT_TRUE(IsRegistered(&model));
    EXPECT_EQ(model.GetShaderUser()->m_flags, m_shadowTextures[3].m_flags);
    int hiddenFrames = 0;
    int fadingFrames = 0;
    while (item.GetState() == Wispfold::kItemArriving) {
        Frame(0.05f);
        const float rise = std::fabs(item.GetPosition().z - 3.0f);
        const float alpha = std::clamp(1.0f - (rise - 1.0f) / 50.0f, 0.0f, 1.0f);
        EXPECT_EQ(Shown(model), alpha >= 0.0001f) << rise;
        EXPECT_NEAR(Wispfold::GetModelColour(model).a, alpha, 1.0f / 255) << rise;
        hiddenFrames += alpha == 0.0f;
        fadingFrames += alpha > 0.0f && alpha < 1.0f;
        const KeystrelEngine::Matrix4& world = model.GetOwnWorldMatrix();
        EXPECT_FLOAT_EQ(world.m[3], item.GetPosition().x);
        EXPECT_FLOAT_EQ(world.m[7], item.GetPosition().y);
        EXPECT_FLOAT_EQ(world.m[11], 3.0f);
        const KeystrelEngine::Matrix4& turned = item.GetModel()->GetOwnWorldMatrix();
        for (const int i : {0, 1, 4, 5})
            EXPECT_FLOAT_EQ(world.m[i], turned.m[i]) << "turned as the butterfly";
        EXPECT_EQ(model.GetAnimationControl().m_currentAnimation,
                  item.GetModel()->GetAnimationControl().m_currentAnimation);
    }
    EXPECT_GT(hiddenFrames, 0);
    EXPECT_GT(fadingFrames, 0);
    EXPECT_TRUE(Shown(model));
    EXPECT_NEAR(Wispfold::GetModelColour(model).a, 1.0f, 1e-6f) << "rests 0.5 above the shadow";
}

// A recycled butterfly frees its shadow, which hides; the next butterfly takes it over with its own colour and
// animation, and a second one at the same time needs a second shadow.
TEST_F(PoolTest, FreeShadowsHideAndPassToTheNextButterfly)
{
    Item& first = *m_pool->GetFreeItem(0);
    first.Appear();
    Frame(0.05f);
    Recycle(first);
    ASSERT_EQ(Shadows().size(), 1u);
    const Shadow& shadow = *Shadows()[0];
    EXPECT_EQ(shadow.m_owner, nullptr);
    EXPECT_FALSE(Shown(*shadow.GetModel()));
    Frame(0.05f);
    EXPECT_FALSE(Shown(*shadow.GetModel())) << "an ownerless shadow stays hidden";

    Item& second = *m_pool->GetFreeItem(2);
    second.m_targetPosition = {0, 0, -2.2f};
    second.Appear();
    Item& third = *m_pool->GetFreeItem(1);
    third.Appear();
    Frame(0.05f);
    ASSERT_EQ(Shadows().size(), 2u);
    EXPECT_EQ(shadow.m_owner, &second);
    EXPECT_EQ(Shadows()[1]->m_owner, &third);
    EXPECT_EQ(shadow.GetModel()->GetShaderUser()->m_flags, m_shadowTextures[2].m_flags);
    for (int frame = 0; frame < 100; ++frame)
        Frame(0.05f);
    second.Wiggle();
    Frame(0.05f);
    const KeystrelEngine::AnimationControl& copy = shadow.GetModel()->GetAnimationControl();
    const KeystrelEngine::AnimationControl& original = second.GetModel()->GetAnimationControl();
    EXPECT_EQ(copy.m_currentAnimation, 4u);
    EXPECT_EQ(copy.m_position, original.m_position);
    EXPECT_EQ(copy.m_speed, original.m_speed);
    EXPECT_EQ(copy.m_playing, original.m_playing);
    EXPECT_TRUE(Shown(*shadow.GetModel()));
}

} // namespace
