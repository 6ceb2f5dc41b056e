// Bonus tokens and their manager over the recording device: the token's model, its fade over the 25th second,
// its placement, and the manager's list.
#include "PlayObjectsFixture.h"

#include "engine/render/AnimationControl.h"
#include "engine/render/ShaderUser.h"
#include "game/play/BonusManager.h"
#include "game/play/ModelColour.h"

using KeystrelEngine::Color;
using KeystrelEngine::Matrix4;
using KeystrelEngine::Model;
using KeystrelEngine::ShaderDescriptor;
using Wispfold::Bonus;
using Wispfold::BonusKind;
using Wispfold::BonusManager;

namespace {

class BonusTest : public TestSupport::PlayObjectsFixture
{
};

void ExpectColour(const Model& model, const Color& expected)
{
    const Color colour = Wispfold::GetModelColour(model);
    EXPECT_NEAR(colour.r, expected.r, 1.0f / 255) << "red";
    EXPECT_NEAR(colour.g, expected.g, 1.0f / 255) << "green";
    EXPECT_NEAR(colour.b, expected.b, 1.0f / 255) << "blue";
    EXPECT_NEAR(colour.a, expected.a, 1.0f / 255) << "alpha";
}

TEST_F(BonusTest, ATokenCopiesItsKindsModelDrawnLastBlendedAndLooping)
{
    BonusManager manager(m_services, m_resources);
    for (std::uint32_t kind = 0; kind < 3; ++kind) {
        const Bonus* token = manager.Create(static_cast<BonusKind>(kind));
        const Model* model = token->GetModel();
        ASSERT_NE(model, nullptr);
        EXPECT_TRUE(IsRegistered(model));
        EXPECT_EQ(model->GetName(), m_resources.bonusModels[kind]->GetName());
        EXPECT_EQ(model->m_flags & (Model::kDrawFirst | Model::kDrawLast), Model::kDrawLast);
        const KeystrelEngine::ShaderUser& shader = *model->GetShaderUser();
        EXPECT_TRUE(shader.m_flags & ShaderDescriptor::kAlphaBlend);
        EXPECT_EQ(shader.m_sourceBlend, 4u);
        EXPECT_EQ(shader.m_destinationBlend, 5u);
        EXPECT_TRUE(model->GetAnimationControl().m_looping && model->GetAnimationControl().m_playing);
        EXPECT_TRUE(Matrix4::Equals(model->GetOwnWorldMatrix(), model->m_baseMatrix));
        EXPECT_TRUE(token->m_alive);
        EXPECT_EQ(token->m_age, 0.0f);
    }
    EXPECT_EQ(manager.GetBonuses().size(), 3u);
}

// Full colour through the 24th second, then a fade to nothing: half the carrier's colour at 24.5 s, hidden and
// dead after 25 s.
TEST_F(BonusTest, ATokenFadesOverItsTwentyFifthSecondAndThenDies)
{
    BonusManager manager(m_services, m_resources);
    Bonus* token = manager.Create(BonusKind::ColorDestruction);
    const Model& model = *token->GetModel();
    token->m_colour = {1.0f, 0.5f, 1.0f, 0.8f};
    SetFrameTime(0.1f);
    for (int frame = 0; frame < 240; ++frame)
        manager.Update();
    EXPECT_NEAR(token->m_age, 24.0f, 1e-3f);
    ExpectColour(model, {1.0f, 0.5f, 1.0f, 0.8f});

    token->m_age = 24.4f;
    manager.Update();
    ExpectColour(model, {0.5f, 0.25f, 0.5f, 0.4f});
    EXPECT_TRUE(token->m_alive);
    EXPECT_TRUE(Shown(model));

    token->m_age = 24.91f;
    manager.Update();
    EXPECT_FALSE(token->m_alive);
    EXPECT_FALSE(Shown(model));
    ExpectColour(model, {0, 0, 0, 0});
}

TEST_F(BonusTest, SetMatrixPlacesTheModelsOwnSetUpThenTheCarriersTranslation)
{
    BonusManager manager(m_services, m_resources);
    Bonus* token = manager.Create(BonusKind::ItemDestruction);
    Model& model = *token->GetModel();
    model.m_baseMatrix.MakeTranslation({-0.5f, -0.5f, 0.0f});
    Matrix4 carrier;
    carrier.MakeTranslation({100.0f, 50.0f, 20.0f});
    token->SetMatrix(carrier);
    const KeystrelEngine::Vector3 corner = model.GetOwnWorldMatrix().TransformPoint({1, 1, 0});
    EXPECT_FLOAT_EQ(corner.x, 100.5f);
    EXPECT_FLOAT_EQ(corner.y, 50.5f);
    EXPECT_FLOAT_EQ(corner.z, 20.0f);
    EXPECT_FLOAT_EQ(model.m_boundingBox.m_worldMax.x, 100.5f) << "the box follows";
}

// Remove deletes the token and its registered model; null and tokens of another manager change nothing; the
// manager's end deletes the rest.
TEST_F(BonusTest, TheManagerRemovesOnlyItsOwnTokensAndDeletesTheRestAtItsEnd)
{
    BonusManager other(m_services, m_resources);
    const Bonus* stranger = other.Create(BonusKind::ItemDestruction);
    const std::size_t before = models->GetRegistry().GetLiveCount();
    {
        BonusManager manager(m_services, m_resources);
        const Bonus* first = manager.Create(BonusKind::ItemDestruction);
        const Bonus* second = manager.Create(BonusKind::CombinationDestruction);
        manager.Create(BonusKind::ColorDestruction);
        manager.Remove(nullptr);
        manager.Remove(stranger);
        EXPECT_EQ(manager.GetBonuses().size(), 3u);
        const Model* model = second->GetModel();
        manager.Remove(second);
        ASSERT_EQ(manager.GetBonuses().size(), 2u);
        EXPECT_EQ(manager.GetBonuses()[0].get(), first);
        EXPECT_EQ(manager.GetBonuses()[1]->m_kind, BonusKind::ColorDestruction);
        EXPECT_FALSE(IsRegistered(model));
        EXPECT_EQ(models->GetRegistry().GetLiveCount(), before + 2);
    }
    EXPECT_EQ(models->GetRegistry().GetLiveCount(), before);
    EXPECT_EQ(other.GetBonuses().size(), 1u);
}

// A world without the kind's model (the rules' stand-in) still gets a token of the kind, without a model.
TEST_F(BonusTest, WithoutAModelATokenStillAges)
{
    m_resources.bonusModels[1] = nullptr;
    BonusManager manager(m_services, m_resources);
    Bonus* token = manager.Create(BonusKind::CombinationDestruction);
    EXPECT_EQ(token->GetModel(), nullptr);
    token->m_age = 25.0f;
    SetFrameTime(0.01f);
    manager.Update();
    token->SetMatrix(Matrix4());
    EXPECT_FALSE(token->m_alive);
}

} // namespace
