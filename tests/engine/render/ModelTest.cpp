// Model behaviour over time and in space: animation, skinning, placement, picking, flags, the generated forms and
// clones. Drawing order and the frame pass are in the model manager's tests.
#include "engine/render/IndexBuffer.h"
#include "engine/render/ShaderDescriptor.h"
#include "engine/render/Skeleton.h"
#include "tests/engine/render/ModelFixture.h"

#include <algorithm>

using KeystrelEngine::Matrix4;
using KeystrelEngine::Model;
using KeystrelEngine::Ray;
using KeystrelEngine::Vector3;
using RenderTesting::ModelFixture;
using RenderTesting::VertexAt;

namespace {

Matrix4 Translation(float x, float y, float z)
{
    Matrix4 m;
    m.MakeTranslation({x, y, z});
    return m;
}

void ExpectVertex(const std::array<float, 8>& actual, const std::array<float, 8>& expected)
{
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-5f) << "element " << i;
}

void ExpectWorldBox(const Model& model, const Vector3& minimum, const Vector3& maximum)
{
    const KeystrelEngine::BoundingBox& box = model.m_boundingBox;
    EXPECT_NEAR(box.m_worldMin.x, minimum.x, 1e-5f);
    EXPECT_NEAR(box.m_worldMin.y, minimum.y, 1e-5f);
    EXPECT_NEAR(box.m_worldMin.z, minimum.z, 1e-5f);
    EXPECT_NEAR(box.m_worldMax.x, maximum.x, 1e-5f);
    EXPECT_NEAR(box.m_worldMax.y, maximum.y, 1e-5f);
    EXPECT_NEAR(box.m_worldMax.z, maximum.z, 1e-5f);
}

class ModelTest : public ModelFixture
{
protected:
    // Puts the control at a position without advancing it.
    static void Pose(Model& model, float position, bool looping = true)
    {
        model.GetAnimationControl().m_looping = looping;
        model.GetAnimationControl().m_playing = false;
        model.GetAnimationControl().m_position = position;
    }

    std::unique_ptr<Model> Box(const Vector3& minimum, const Vector3& maximum, std::uint32_t extraFlags = 0)
    {
        return std::make_unique<Model>(modelServices, minimum, maximum, nullptr, extraFlags);
    }
};

TEST_F(ModelTest, MorphHalfwayBetweenTwoFramesGivesTheMidpoints)
{
    const auto model = LoadNew("morph", RenderTesting::TwoFrameMorph());
    Pose(*model, 0.5f);
    model->Update(false);
    ExpectVertex(VertexAt(*model->GetVertexBuffer(), 1), {1.5f, 0, 0, 0, 0.5f, 0.5f, 1, 0});
    ExpectVertex(VertexAt(*model->GetVertexBuffer(), 2), {0, 1.5f, 0, 0, 0.5f, 0.5f, 0.5f, 1});
    ExpectWorldBox(*model, {0, 0, 0}, {1.5f, 1.5f, 0});

    // A range the game set beyond the two frames stays on the last one.
    model->GetAnimationControl().AddAnimation(5, 0, 9);
    model->GetAnimationControl().m_currentAnimation = 5;
    Pose(*model, 7.5f);
    model->Update(false);
    ExpectVertex(VertexAt(*model->GetVertexBuffer(), 1), {2, 0, 0, 0, 1, 0, 1, 0});
    ExpectWorldBox(*model, {0, 0, 0}, {2, 2, 0});
}

TEST_F(ModelTest, SkinningPlacesVerticesByTheBoneAndTheBoxFollowsTheBones)
{
    const auto model = LoadNew("skinned", RenderTesting::OneBoneSkeleton());
    model->SetWorldMatrix(Translation(0, 5, 0));
    Pose(*model, 1.0f, false); // the last frame: moved by (10, 0, 0), a quarter turn about z
    model->Update(false);
    ExpectVertex(VertexAt(*model->GetVertexBuffer(), 0), {10, 0, 0, 0, 0, 1, 0, 0});
    ExpectVertex(VertexAt(*model->GetVertexBuffer(), 1), {10, 1, 0, 0, 1, 0, 1, 0});
    // Two half weights of the same bone add up.
    ExpectVertex(VertexAt(*model->GetVertexBuffer(), 2), {9, 0, 0, 0, 0, 1, 0, 1});
    ExpectWorldBox(*model, {9, 4, -1}, {11, 6, 1});

    // Halfway through the quarter turn the bone is turned by an eighth.
    Pose(*model, 0.5f);
    model->Update(false);
    const std::array<float, 8> vertex = VertexAt(*model->GetVertexBuffer(), 1);
    EXPECT_NEAR(vertex[0], 5.0f + 0.70710678f, 1e-5f);
    EXPECT_NEAR(vertex[1], 0.70710678f, 1e-5f);
}

TEST_F(ModelTest, AHiddenModelIsLeftAsItWas)
{
    const auto model = LoadNew("morph", RenderTesting::TwoFrameMorph());
    Pose(*model, 0.5f);
    model->Update(false);
    const std::uint32_t drawCount = model->GetDrawCount();
    model->m_flags &= ~Model::kShown;
    Pose(*model, 0.0f);
    model->Update(false);
    EXPECT_EQ(model->GetDrawCount(), drawCount);
    ExpectVertex(VertexAt(*model->GetVertexBuffer(), 1), {1.5f, 0, 0, 0, 0.5f, 0.5f, 1, 0});
}

TEST_F(ModelTest, FrozenVerticesStillMoveTheBoxAndDepthCanBeFixed)
{
    const auto model = LoadNew("morph", RenderTesting::TwoFrameMorph());
    model->m_animateVertices = false;
    model->SetWorldMatrix(Translation(0, 0, -10));
    Pose(*model, 1.0f, false);
    model->Update(false);
    EXPECT_EQ(VertexAt(*model->GetVertexBuffer(), 1), (std::array<float, 8>{}));
    ExpectWorldBox(*model, {0, 0, -10}, {2, 2, -10});
    // The default camera sits at the origin looking down -z; its forward axis is +z.
    EXPECT_FLOAT_EQ(model->GetSortDepth(), 10.0f);
    model->SetFlags(Model::kFixedDepth);
    model->SetWorldMatrix(Translation(0, 0, -20));
    model->Update(false);
    EXPECT_FLOAT_EQ(model->GetSortDepth(), 10.0f);
}

TEST_F(ModelTest, CullingAgainstTheCameraLeavesNothingToDraw)
{
    const auto model = LoadNew("quad", RenderTesting::StaticQuad());
    model->SetWorldMatrix(Translation(0, 0, -10));
    model->Update(true);
    EXPECT_EQ(model->GetDrawCount(), 2u);
    model->SetWorldMatrix(Translation(0, 0, 10));
    model->Update(true);
    EXPECT_EQ(model->GetDrawCount(), 0u);
    model->Update(false);
    EXPECT_EQ(model->GetDrawCount(), 2u);
}

TEST_F(ModelTest, WorldMatrixOperationsMoveTheBox)
{
    const auto model = Box({0, 0, 0}, {1, 1, 1});
    model->SetWorldMatrix(Translation(1, 0, 0));
    model->MultiplyWorldMatrix(Translation(0, 2, 0));
    ExpectWorldBox(*model, {1, 2, 0}, {2, 3, 1});
    model->m_baseMatrix = Translation(0, 0, 3);
    model->ResetWorldMatrix();
    ExpectWorldBox(*model, {0, 0, 3}, {1, 1, 4});
    EXPECT_TRUE(Matrix4::Equals(model->GetWorldMatrix(), Translation(0, 0, 3)));

    model->m_camera->m_attached = true;
    model->m_camera->m_thirdMatrix = Translation(100, 0, 0);
    model->m_camera->m_secondMatrix = Translation(0, 0, 1);
    EXPECT_TRUE(Matrix4::Equals(model->GetWorldMatrix(), Translation(100, 0, 4)));
    model->m_camera->m_attached = false;

    // Relative to the base: the model's own set-up (here a doubling), then the placement.
    Matrix4 doubling;
    doubling.m[0] = doubling.m[5] = doubling.m[10] = 2.0f;
    model->m_baseMatrix = doubling;
    model->SetWorldMatrix(Translation(50, 0, 0));
    model->SetWorldMatrixRelativeToBase(Translation(1, 0, 0));
    ExpectWorldBox(*model, {1, 0, 0}, {3, 2, 2});
}

TEST_F(ModelTest, RayPickingReportsTheNearestHitInModelSpace)
{
    const auto box = Box({0, 0, 0}, {1, 1, 1});
    box->SetWorldMatrix(Translation(5, 0, 0));
    float distance = -1.0f;
    EXPECT_TRUE(box->IntersectRay({{5.5f, 0.5f, 10.0f}, {0, 0, -20}}, &distance));
    EXPECT_FLOAT_EQ(distance, 9.0f);
    EXPECT_TRUE(box->IntersectRay({{5.5f, 0.5f, 10.0f}, {0, 0, -20}}, nullptr));
    // From inside, the faces behind the origin do not count.
    EXPECT_TRUE(box->IntersectRay({{5.5f, 0.5f, 0.25f}, {0, 0, 10}}, &distance));
    EXPECT_FLOAT_EQ(distance, 0.75f);

    // A ray that misses the box leaves the distance alone, also when too short to reach it.
    distance = -7.0f;
    EXPECT_FALSE(box->IntersectRay({{0.5f, 0.5f, 10.0f}, {0, 0, -20}}, &distance));
    EXPECT_FALSE(box->IntersectRay({{5.5f, 0.5f, 10.0f}, {0, 0, -5}}, &distance));
    EXPECT_EQ(distance, -7.0f);

    // Through the box of one triangle beside the triangle: no hit, and the no-hit distance.
    Formats::ModelFile file = RenderTesting::StaticQuad();
    file.indices = {0, 1, 3};
    const auto triangle = LoadNew("triangle", file);
    EXPECT_FALSE(triangle->IntersectRay({{0.9f, 0.9f, 5.0f}, {0, 0, -10}}, &distance));
    EXPECT_EQ(distance, Model::kNoHit);
}

TEST_F(ModelTest, RayPickingUsesTheCameraCarriedMatrix)
{
    const auto box = Box({0, 0, 0}, {1, 1, 1});
    box->m_camera->m_attached = true;
    box->m_camera->m_thirdMatrix = Translation(100, 0, 0);
    float distance = 0.0f;
    EXPECT_TRUE(box->IntersectRay({{100.5f, 0.5f, 10.0f}, {0, 0, -20}}, &distance));
    EXPECT_FLOAT_EQ(distance, 9.0f);
    EXPECT_FALSE(box->IntersectRay({{0.5f, 0.5f, 10.0f}, {0, 0, -20}}, &distance));
    box->m_camera->m_attached = false;
}

TEST_F(ModelTest, BoxFormHasSixFacesOfTwoTrianglesAndItsOwnFlags)
{
    const auto box = Box({-1, -2, -3}, {1, 2, 3});
    EXPECT_EQ(box->GetName(), "box");
    EXPECT_EQ(box->m_flags, Model::kBoxFlags);
    EXPECT_EQ(box->GetPrimitiveCount(), 12u);
    ExpectWorldBox(*box, {-1, -2, -3}, {1, 2, 3});
    ExpectVertex(VertexAt(*box->GetVertexBuffer(), 0), {-1, -2, -3, 0, 0, -1, 1, 0});
    ExpectVertex(VertexAt(*box->GetVertexBuffer(), 14), {1, 2, 3, 1, 0, 0, 1, 1});
    ExpectVertex(VertexAt(*box->GetVertexBuffer(), 23), {-1, 2, 3, -1, 0, 0, 0, 1});
    EXPECT_EQ(box->GetIndexBuffer()->GetIndex(33), 22u);
    EXPECT_EQ(box->GetIndexBuffer()->GetIndex(35), 20u);

    const auto last = Box({0, 0, 0}, {1, 1, 1}, Model::kDrawLast | Model::kTwoPasses);
    EXPECT_TRUE(last->m_flags & Model::kDrawLast);
    EXPECT_FALSE(last->m_flags & Model::kDrawFirst);
    EXPECT_TRUE(last->m_flags & Model::kTwoPasses);
    EXPECT_FALSE(last->m_flags & Model::kCullMode1);
}

TEST_F(ModelTest, SetFlagsKeepsOneDrawGroupAndOneCullChoice)
{
    const auto model = Box({0, 0, 0}, {1, 1, 1});
    model->m_flags = Model::kDrawFirst | Model::kTwoPasses;
    model->SetFlags(Model::kDrawLast | Model::kCullMode1);
    EXPECT_EQ(model->m_flags, Model::kDrawLast | Model::kCullMode1);
    model->SetFlags(Model::kCullMode2 | Model::kLit);
    EXPECT_EQ(model->m_flags, Model::kDrawLast | Model::kCullMode2 | Model::kLit);
    model->SetFlags(Model::kDrawFirst | Model::kDrawLast);
    EXPECT_TRUE(model->m_flags & Model::kDrawFirst);
    EXPECT_FALSE(model->m_flags & Model::kDrawLast);
}

TEST_F(ModelTest, SelfMadeModelsStartZeroedAndStripsBelowThreeIndicesDrawNothing)
{
    Model coloured(modelServices, Model::kColours | Model::kShown, 3, 2, nullptr, nullptr);
    EXPECT_EQ(coloured.GetName(), "self_made");
    EXPECT_TRUE(coloured.IsStrip());
    EXPECT_EQ(coloured.GetPrimitiveCount(), 0u);
    EXPECT_EQ(VertexAt(*coloured.GetVertexBuffer(), 2), (std::array<float, 8>{}));
    std::uint32_t colour = 0;
    std::memcpy(&colour, coloured.GetVertexBuffer()->GetData() + 36 * 2 + 24, 4);
    EXPECT_EQ(colour, 0xFFFFFFFFu);
    ExpectWorldBox(coloured, {-0.0001f, -0.0001f, -0.0001f}, {0.0001f, 0.0001f, 0.0001f});

    Model none(modelServices, 0, 0, 0, nullptr, nullptr);
    EXPECT_EQ(none.m_flags, Model::kVertexUsage);
    EXPECT_EQ(none.GetPrimitiveCount(), 0u);
    none.ComputeBoundingBox();
    Model list(modelServices, Model::kTriangleList, 3, 8, nullptr, nullptr);
    EXPECT_EQ(list.GetPrimitiveCount(), 2u);
}

TEST_F(ModelTest, FilledInIndicesBeyondTheVerticesAreSkippedByBoxAndPicking)
{
    Model model(modelServices, Model::kTriangleList | Model::kShown, 3, 6, nullptr, nullptr);
    const std::uint16_t indices[6] = {0, 1, 2, 0, 1, 500};
    std::memcpy(model.GetIndexBuffer()->Lock(0, 6), indices, sizeof(indices));
    model.GetIndexBuffer()->Unlock();
    std::uint8_t* vertices = model.GetVertexBuffer()->Lock(0, 3);
    const float positions[3][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    for (int i = 0; i < 3; ++i)
        std::memcpy(vertices + 32 * i, positions[i], 12);
    model.GetVertexBuffer()->Unlock();
    model.ComputeBoundingBox();
    ExpectWorldBox(model, {0, 0, 0}, {1, 1, 0});
    float distance = 0.0f;
    EXPECT_TRUE(model.IntersectRay({{0.2f, 0.2f, 1.0f}, {0, 0, -2}}, &distance));
    EXPECT_FLOAT_EQ(distance, 1.0f);
}

TEST_F(ModelTest, ClonesOwnTheirDataAndActOnlyOnDataTheyHave)
{
    auto source = LoadNew("skinned", RenderTesting::OneBoneSkeleton());
    source->m_deferShaderChange = true;
    source->SetShaderDescriptor(KeystrelEngine::ShaderDescriptor("wood.bmp", ""));
    source->SetWorldMatrix(Translation(0, 0, -5));
    source->m_sortBias = 2.5f;
    Model clone(*source, nullptr, Model::kColours);
    EXPECT_EQ(clone.GetName(), "skinned.mlf");
    EXPECT_EQ(clone.m_flags, source->m_flags | Model::kColours);
    EXPECT_EQ(clone.m_camera, source->m_camera);
    EXPECT_EQ(clone.m_sortBias, 2.5f);
    EXPECT_EQ(clone.GetVertexBuffer()->GetVertexSize(), 36u);
    EXPECT_NE(clone.GetSkeleton(), source->GetSkeleton());
    ASSERT_NE(clone.GetPendingDescriptor(), nullptr);
    EXPECT_NE(clone.GetPendingDescriptor(), source->GetPendingDescriptor());
    EXPECT_EQ(clone.GetPendingDescriptor()->m_stages[0].m_textureName, "wood.bmp");
    ExpectWorldBox(clone, {0, 0, -5}, {1, 1, -5});
    source.reset();
    Pose(clone, 1.0f, false);
    clone.Update(false);
    ExpectVertex(VertexAt(*clone.GetVertexBuffer(), 1), {10, 1, -0, 0, 1, 0, 1, 0});

    // A static model cloned as if skinned and morphing has nothing to skin or blend.
    const auto quad = LoadNew("quad", RenderTesting::StaticQuad());
    Model animated(*quad, nullptr, Model::kSkeletal | Model::kMorph);
    Pose(animated, 0.5f);
    animated.Update(false);
    ExpectVertex(VertexAt(*animated.GetVertexBuffer(), 2), {1, 1, 0, 0, 0, 1, 1, 1});
    EXPECT_EQ(animated.GetDrawCount(), 2u);
}

TEST_F(ModelTest, DrawOrderPutsFirstGroupNearestFirstAndLastGroupFarthestFirst)
{
    std::vector<std::unique_ptr<Model>> models;
    const std::uint32_t groups[] = {Model::kDrawLast, 0, Model::kDrawFirst, Model::kDrawLast, Model::kDrawFirst, 0};
    const float depths[] = {1, 5, 3, 7, 2, 9};
    std::vector<Model*> order;
    for (int i = 0; i < 6; ++i) {
        models.push_back(Box({0, 0, 0}, {1, 1, 1}));
        models.back()->m_flags = groups[i] | Model::kShown | Model::kFixedDepth;
        models.back()->m_sortBias = depths[i];
        order.push_back(models.back().get());
    }
    for (Model* model : order)
        EXPECT_FALSE(Model::CompareDrawOrder(model, model));
    std::stable_sort(order.begin(), order.end(), Model::CompareDrawOrder);
    EXPECT_EQ(order, (std::vector<Model*>{models[4].get(), models[2].get(), models[1].get(), models[5].get(),
                                          models[3].get(), models[0].get()}));
}

} // namespace
