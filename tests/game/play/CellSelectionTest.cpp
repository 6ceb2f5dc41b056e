// Selection markers: the ranges a marker plays and its alpha, the pool that grows and never shrinks, and a second
// ring on a cell reselected while its first fades out. The marker model plays 30 frames a second; at a frame time
// of 1/30 s every frame moves it on by one animation frame. Each frame is the game's update, then the model pass.
#include "CellsFixture.h"

#include "engine/render/AnimationControl.h"
#include "engine/render/ShaderUser.h"
#include "game/play/CellLook.h"
#include "game/play/CellSelectionManager.h"
#include "game/play/ModelColour.h"

#include <set>

namespace {

using KeystrelEngine::Model;
using Wispfold::CellLook;
using Wispfold::CellSelection;
using Wispfold::CellSelectionManager;

class CellSelectionTest : public TestSupport::CellsFixture
{
protected:
    static constexpr float kFrame = 1.0f / 30.0f;

    void SetUp() override
    {
        CellsFixture::SetUp();
        for (std::uint32_t i = 0; i < 6; ++i)
            m_looks.push_back(std::make_unique<CellLook>(m_services, m_cellResources, Record(i, i % 2, 1)));
        m_markers = std::make_unique<CellSelectionManager>(m_services, *m_cellResources.select);
    }

    void TearDown() override
    {
        m_markers.reset();
        m_looks.clear();
        CellsFixture::TearDown();
    }

    void Step(const CellLook* selected)
    {
        SetFrameTime(kFrame);
        m_markers->Update(selected);
        ModelFrame(kFrame);
    }

    std::vector<std::unique_ptr<CellLook>> m_looks;
    std::unique_ptr<CellSelectionManager> m_markers;
};

TEST_F(CellSelectionTest, AFreshManagerHasFourHiddenBlendedModels)
{
    ASSERT_EQ(m_markers->GetModels().size(), 4u);
    EXPECT_EQ(m_markers->GetFreeModels().size(), 4u);
    for (const auto& model : m_markers->GetModels()) {
        EXPECT_TRUE(IsRegistered(model.get()));
        EXPECT_FALSE(Shown(*model));
        EXPECT_EQ(model->m_flags & (Model::kDrawFirst | Model::kDrawLast | Model::kFixedDepth),
                  Model::kDrawLast | Model::kFixedDepth);
        EXPECT_EQ(model->GetShaderUser()->m_sourceBlend, 4u);
        EXPECT_EQ(model->GetShaderUser()->m_destinationBlend, 5u);
        EXPECT_TRUE(model->GetShaderUser()->m_flags & KeystrelEngine::ShaderDescriptor::kAlphaBlend);
        const KeystrelEngine::AnimationRange* pulse = model->GetAnimationControl().GetAnimation(CellSelection::kPulse);
        ASSERT_NE(pulse, nullptr);
        EXPECT_EQ(pulse->m_firstFrame, 10u);
        EXPECT_EQ(pulse->m_lastFrame, 40u);
    }
    const std::uint32_t registered = RegisteredCount();
    m_markers.reset();
    EXPECT_EQ(RegisteredCount(), registered - 4);
}

TEST_F(CellSelectionTest, SelectedAndLeftWithinTenFramesTheRingAppearsThenDisappearsWithoutPulsing)
{
    const CellLook& cell = *m_looks[2];
    m_markers->Update(&cell);
    ASSERT_EQ(m_markers->GetMarkers().size(), 1u);
    const CellSelection& marker = *m_markers->GetMarkers()[0];
    Model& model = marker.GetModel();
    EXPECT_TRUE(Shown(model));
    EXPECT_EQ(Wispfold::GetModelColour(model).a, 0.0f) << "transparent at first";
    EXPECT_EQ(model.GetOwnWorldMatrix().m[3], cell.GetAppearance()->GetOwnWorldMatrix().m[3]);
    EXPECT_EQ(m_markers->GetFreeModels().size(), 3u);

    // The alpha follows the position the last model pass left.
    std::set<std::uint32_t> ranges;
    const KeystrelEngine::AnimationControl& animation = model.GetAnimationControl();
    int frames = 1;
    ModelFrame(kFrame);
    while (frames < 100) {
        SetFrameTime(kFrame);
        m_markers->Update(frames < 5 ? &cell : nullptr);
        ++frames;
        if (m_markers->GetMarkers().empty())
            break;
        ranges.insert(animation.m_currentAnimation);
        const float f = animation.m_position / 10.0f;
        const float alpha = Wispfold::GetModelColour(model).a;
        if (animation.m_currentAnimation == CellSelection::kAppear)
            EXPECT_NEAR(alpha, f, 0.01f) << "frame " << frames;
        else
            EXPECT_NEAR(alpha, 1.0f - f, 0.01f) << "frame " << frames;
        ModelFrame(kFrame);
    }
    EXPECT_EQ(ranges, (std::set<std::uint32_t>{CellSelection::kAppear, CellSelection::kDisappear}));
    EXPECT_GE(frames, 20);
    EXPECT_LT(frames, 30);
    EXPECT_FALSE(Shown(model));
    EXPECT_EQ(m_markers->GetFreeModels().size(), 4u);
    EXPECT_EQ(m_markers->GetFreeModels().back(), &model);
}

TEST_F(CellSelectionTest, AKeptSelectionPulsesOpaqueUntilLeft)
{
    for (int frame = 0; frame < 40; ++frame)
        Step(m_looks[0].get());
    ASSERT_EQ(m_markers->GetMarkers().size(), 1u);
    const CellSelection& marker = *m_markers->GetMarkers()[0];
    const KeystrelEngine::AnimationControl& animation = marker.GetModel().GetAnimationControl();
    EXPECT_EQ(animation.m_currentAnimation, CellSelection::kPulse);
    EXPECT_TRUE(animation.m_looping);
    EXPECT_EQ(Wispfold::GetModelColour(marker.GetModel()).a, 1.0f);

    Step(m_looks[1].get()); // the selection moves: the old ring fades, the new one appears
    ASSERT_EQ(m_markers->GetMarkers().size(), 2u);
    EXPECT_EQ(animation.m_currentAnimation, CellSelection::kDisappear);
    EXPECT_FALSE(m_markers->GetMarkers()[0]->m_active);
    EXPECT_EQ(m_markers->GetMarkers()[1]->GetCell(), m_looks[1].get());
}

TEST_F(CellSelectionTest, FiveQuickSelectionsMakeAFifthModelAndThePoolNeverShrinks)
{
    for (std::uint32_t i = 0; i < 5; ++i)
        Step(m_looks[i].get());
    EXPECT_EQ(m_markers->GetMarkers().size(), 5u);
    EXPECT_EQ(m_markers->GetModels().size(), 5u);
    EXPECT_TRUE(m_markers->GetFreeModels().empty());
    for (int frame = 0; frame < 60; ++frame)
        Step(nullptr);
    EXPECT_TRUE(m_markers->GetMarkers().empty());
    EXPECT_EQ(m_markers->GetModels().size(), 5u);
    EXPECT_EQ(m_markers->GetFreeModels().size(), 5u);
    for (std::uint32_t i = 0; i < 5; ++i)
        Step(m_looks[i].get());
    EXPECT_EQ(m_markers->GetModels().size(), 5u) << "the models are used again";
}

TEST_F(CellSelectionTest, ReselectingAFadingCellStartsASecondRing)
{
    const CellLook* cell = m_looks[3].get();
    for (int frame = 0; frame < 15; ++frame)
        Step(cell);
    Step(nullptr);
    Step(cell);
    ASSERT_EQ(m_markers->GetMarkers().size(), 2u);
    EXPECT_EQ(m_markers->GetMarkers()[0]->GetCell(), cell);
    EXPECT_FALSE(m_markers->GetMarkers()[0]->m_active);
    EXPECT_EQ(m_markers->GetMarkers()[1]->GetCell(), cell);
    EXPECT_TRUE(m_markers->GetMarkers()[1]->m_active);
    for (int frame = 0; frame < 15; ++frame)
        Step(cell);
    ASSERT_EQ(m_markers->GetMarkers().size(), 1u) << "the old ring ended";
    EXPECT_TRUE(m_markers->GetMarkers()[0]->m_active);
}

} // namespace
