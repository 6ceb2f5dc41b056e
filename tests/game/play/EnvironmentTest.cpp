// The board's environment: border pieces on the open sides of the cells, the scenery's drawing settings, the
// light, and registries left as they were found. Border template d spans x from d to d + 1, which tells the
// pieces apart.
#include "BoardSceneFixture.h"

#include "engine/foundation/Random.h"
#include "engine/render/AnimationControl.h"
#include "engine/render/Light.h"
#include "engine/render/LightManager.h"
#include "game/play/Environment.h"

namespace {

using KeystrelEngine::Model;
using Wispfold::Environment;
using Wispfold::EnvironmentEntry;

class EnvironmentTest : public TestSupport::BoardSceneFixture
{
protected:
    std::unique_ptr<Environment> Make(const std::vector<Model*>& scenery = {},
                                      const std::vector<EnvironmentEntry>& entries = {})
    {
        return std::make_unique<Environment>(m_services, *lights, m_cellResources, *m_board, *m_scene, scenery,
                                             entries);
    }

    // Which border template a piece was cloned from.
    static std::uint32_t Direction(const Model& piece)
    {
        return static_cast<std::uint32_t>(piece.m_boundingBox.m_localMin.x);
    }
};

TEST_F(EnvironmentTest, BordersCloseEveryOpenSideWhereTheCellsModelStands)
{
    AddCell(Record(1, 1, 2));
    Build();
    {
        const auto environment = Make();
        const auto& pieces = environment->GetModels();
        ASSERT_EQ(pieces.size(), 6u) << "one cell: every side";
        const Model& cellModel = *m_scene->GetLook(CellAt(0)).GetAppearance();
        for (std::uint32_t d = 0; d < 6; ++d) {
            EXPECT_EQ(Direction(*pieces[d]), d);
            EXPECT_EQ(pieces[d]->m_flags & (Model::kDrawFirst | Model::kDrawLast), Model::kDrawLast);
            EXPECT_TRUE(KeystrelEngine::Matrix4::Equals(pieces[d]->GetOwnWorldMatrix(), cellModel.GetOwnWorldMatrix()));
            EXPECT_TRUE(KeystrelEngine::Matrix4::Equals(pieces[d]->m_boundingBox.m_transformation,
                                                        cellModel.GetOwnWorldMatrix()));
            EXPECT_TRUE(IsRegistered(pieces[d].get()));
        }
    }

    // Two neighbours (direction 0 of the first, 3 of the second) share the side between them.
    m_level.cellRecords.clear();
    AddCell(Record(1, 1, 1));
    AddCell(Record(1, 3, 0, false, true));
    Build();
    const auto environment = Make();
    std::vector<std::uint32_t> directions;
    for (const auto& piece : environment->GetModels())
        directions.push_back(Direction(*piece));
    EXPECT_EQ(directions, (std::vector<std::uint32_t>{1, 2, 3, 4, 5, 0, 1, 2, 4, 5}));
    EXPECT_EQ(environment->GetModels()[5]->GetOwnWorldMatrix().m[7], 30.0f) << "the second cell's place";
}

TEST_F(EnvironmentTest, SceneryTakesItsEntrysLightingSortingAndPhase)
{
    AddCell(Record(0, 0));
    Build();
    const Model* animated = m_templates[0].get(); // 76 frames
    const Model* still = m_cellResources.single;
    const std::vector<Model*> scenery{const_cast<Model*>(animated), const_cast<Model*>(still),
                                      const_cast<Model*>(animated), const_cast<Model*>(still),
                                      const_cast<Model*>(animated)};
    const std::vector<EnvironmentEntry> entries{{1, 0, 0}, {0, 0, 1}, {1, 0, 1}, {1, 1, 0}, {0, 1, 0}};
    KeystrelEngine::RandomSeed = 77;
    KeystrelEngine::RandomNext();
    const auto oneStep = KeystrelEngine::RandomSeed;
    KeystrelEngine::RandomSeed = 77;
    const auto environment = Make(scenery, entries);
    EXPECT_EQ(KeystrelEngine::RandomSeed, oneStep) << "one draw, for the one animated entry with a random phase";
    const auto& models = environment->GetModels();
    ASSERT_EQ(models.size(), 6u + 5u);
    auto at = [&](std::uint32_t i) -> const Model& { return *models[6 + i]; };

    for (std::uint32_t i : {0u, 2u, 4u}) {
        const KeystrelEngine::AnimationControl& animation = at(i).GetAnimationControl();
        EXPECT_TRUE(animation.m_playing) << i;
        EXPECT_TRUE(animation.m_looping) << i;
    }
    EXPECT_EQ(at(0).GetAnimationControl().m_position, 0.0f);
    EXPECT_GT(at(2).GetAnimationControl().m_position, 0.0f) << "a random phase";
    EXPECT_FALSE(at(1).GetAnimationControl().m_playing) << "a single frame has no animation to set";
    EXPECT_FALSE(at(3).GetAnimationControl().m_playing);

    EXPECT_FALSE(at(1).m_flags & Model::kLit);
    EXPECT_FALSE(at(4).m_flags & Model::kLit);
    EXPECT_EQ(at(0).m_flags & Model::kLit, animated->m_flags & Model::kLit) << "lit scenery keeps its flag";

    const std::uint32_t sortedFlags = Model::kDrawLast | Model::kFixedDepth | Model::kNoZWrite;
    EXPECT_EQ(at(3).m_flags & (sortedFlags | Model::kDrawFirst), sortedFlags);
    EXPECT_EQ(at(3).m_sortBias, 99999.96875f);
    EXPECT_LT(at(4).m_sortBias, at(3).m_sortBias) << "later entries sort nearer";
    EXPECT_EQ(at(0).m_flags & sortedFlags, animated->m_flags & sortedFlags);
    EXPECT_EQ(at(0).m_sortBias, 0.0f);
}

TEST_F(EnvironmentTest, OneLightHangsAboveTheBoardsCentre)
{
    AddCell(Record(0, 0));
    AddCell(Record(2, 0));
    Build();
    const auto environment = Make();
    EXPECT_EQ(lights->m_ambient.r, 0.21f);
    EXPECT_EQ(lights->m_ambient.a, 0.21f);
    ASSERT_EQ(environment->GetLights().size(), 1u);
    const KeystrelEngine::Light& light = *environment->GetLights()[0];
    EXPECT_TRUE(light.enabled);
    EXPECT_EQ(light.type, 2);
    EXPECT_EQ(light.position.x, 20.0f);
    EXPECT_EQ(light.position.y, 0.0f);
    EXPECT_EQ(light.position.z, 202.0f) << "the box's centre (z 2) and 200 above";
    EXPECT_EQ(light.direction.z, -1.0f);
    EXPECT_EQ(light.attenuation0, 1.1f);
    EXPECT_EQ(light.attenuation1, 0.0f);
    EXPECT_EQ(light.attenuation2, 0.0f);
}

TEST_F(EnvironmentTest, TheDestructorLeavesTheRegistriesAsItFoundThem)
{
    AddCell(Record(0, 0));
    AddCell(Record(0, 2));
    Build();
    const std::uint32_t models = RegisteredCount();
    KeystrelEngine::Light* before = lights->CreateLight();
    lights->DeleteLight(before);
    {
        const std::vector<Model*> scenery{m_templates[0].get()};
        const auto environment = Make(scenery, {{1, 1, 1}});
        EXPECT_EQ(RegisteredCount(), models + 11) << "ten borders and the scenery";
    }
    EXPECT_EQ(RegisteredCount(), models);
    KeystrelEngine::Light* after = lights->CreateLight();
    EXPECT_EQ(after->index, 0u) << "the light's number is free again";
    lights->DeleteLight(after);
}

} // namespace
