// Sprite groups against the recording device: the sprite pool, the corners written for the camera, sorting,
// rotation, clones, and how the model manager draws a group.
#include "engine/render/SpriteGroup.h"
#include "engine/render/IndexBuffer.h"
#include "engine/render/VertexBuffer.h"
#include "tests/engine/render/ParticleFixture.h"

#include <cmath>

using KeystrelEngine::Color;
using KeystrelEngine::Model;
using KeystrelEngine::SpriteGroup;
using KeystrelEngine::Vector3;
using RenderTesting::VertexAt;

namespace {

class SpriteGroupTest : public RenderTesting::ParticleFixture
{
protected:
    SpriteGroup* Group(std::uint32_t capacity) { return spriteGroups->CreateSpriteGroup(capacity, nullptr, nullptr); }

    // Corner c of the k-th sprite drawn.
    static Vector3 Corner(const SpriteGroup& group, std::uint32_t k, std::uint32_t c)
    {
        const auto v = VertexAt(*group.GetModel()->GetVertexBuffer(), 4 * k + c);
        return {v[0], v[1], v[2]};
    }

    static std::uint32_t ColourAt(const SpriteGroup& group, std::uint32_t vertex)
    {
        const KeystrelEngine::VertexBuffer& buffer = *group.GetModel()->GetVertexBuffer();
        std::uint32_t argb = 0;
        std::memcpy(&argb, buffer.GetData() + vertex * buffer.GetVertexSize() + 24, 4);
        return argb;
    }

    static void ExpectNear(const Vector3& actual, const Vector3& expected)
    {
        EXPECT_NEAR(actual.x, expected.x, 1e-5f);
        EXPECT_NEAR(actual.y, expected.y, 1e-5f);
        EXPECT_NEAR(actual.z, expected.z, 1e-5f);
    }
};

const Color kRed{1, 0, 0, 1};

TEST_F(SpriteGroupTest, AFullGroupGivesZeroAndChangesNothing)
{
    SpriteGroup* group = Group(3);
    EXPECT_EQ(group->AddSprite({1, 0, 0}, 1, kRed), 2u);
    EXPECT_EQ(group->AddSprite({2, 0, 0}, 1, kRed), 1u);
    EXPECT_EQ(group->AddSprite({3, 0, 0}, 1, kRed), 0u);
    EXPECT_EQ(group->AddSprite({4, 0, 0}, 2, kRed), 0u);
    EXPECT_EQ(group->GetSprite(0).position.x, 3.0f);
    EXPECT_EQ(group->GetSprite(0).size, 1.0f);
    EXPECT_EQ(group->GetFreeCount(), 0u);

    // A released sprite is the next one taken; releasing it twice frees it once.
    group->GetSprite(1).rotation = 2.0f;
    group->ReleaseSprite(1);
    group->ReleaseSprite(1);
    group->ReleaseSprite(7);
    EXPECT_EQ(group->GetFreeCount(), 1u);
    EXPECT_EQ(group->AddSprite({5, 0, 0}, 1, kRed), 1u);
    EXPECT_EQ(group->GetSprite(1).rotation, 0.0f);
}

TEST_F(SpriteGroupTest, TheModelIsAShownUnculledColouredListDrawnLastWithoutZWrites)
{
    SpriteGroup* group = Group(2);
    Model& model = *group->GetModel();
    EXPECT_EQ(model.GetName(), "self_made");
    EXPECT_EQ(model.m_camera, cameras->GetDefaultCamera());
    for (const std::uint32_t flag :
         {Model::kShown, Model::kTriangleList, Model::kColours, Model::kDrawLast, Model::kZTest, Model::kNoZWrite})
        EXPECT_TRUE(model.m_flags & flag) << std::hex << flag;
    for (const std::uint32_t flag : {Model::kLit, Model::kCullMode1, Model::kCullMode2, Model::kTwoPasses})
        EXPECT_FALSE(model.m_flags & flag) << std::hex << flag;
    EXPECT_EQ(models->GetRegistry().GetLiveCount(), 1u);

    const KeystrelEngine::IndexBuffer& indices = *model.GetIndexBuffer();
    ASSERT_EQ(indices.GetIndexCount(), 12u);
    const std::uint32_t expected[12] = {0, 1, 2, 2, 1, 3, 4, 5, 6, 6, 5, 7};
    for (std::uint32_t i = 0; i < 12; ++i)
        EXPECT_EQ(indices.GetIndex(i), expected[i]) << i;
    EXPECT_EQ(indices.GetUsedIndexCount(), 0u) << "nothing drawn before the first update";
    const KeystrelEngine::VertexBuffer& vertices = *model.GetVertexBuffer();
    ASSERT_EQ(vertices.GetVertexCount(), 8u);
    EXPECT_TRUE(vertices.HasColours());
    const float uv[4][2] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}};
    for (std::uint32_t i = 0; i < 8; ++i) {
        EXPECT_EQ(VertexAt(vertices, i)[6], uv[i % 4][0]) << i;
        EXPECT_EQ(VertexAt(vertices, i)[7], uv[i % 4][1]) << i;
    }
}

TEST_F(SpriteGroupTest, ManyIndicesAreWrittenFourBytesEach)
{
    SpriteGroup* group = Group(11000);
    const KeystrelEngine::IndexBuffer& indices = *group->GetModel()->GetIndexBuffer();
    ASSERT_TRUE(indices.Has32BitIndices());
    EXPECT_EQ(indices.GetIndex(6 * 10999 + 5), 4u * 10999 + 3);
}

TEST_F(SpriteGroupTest, UpdateWritesCornersAlongTheCameraAxesAndDrawsSixIndicesASprite)
{
    SpriteGroup* group = Group(4);
    cameras->Update();
    group->AddSprite({1, 2, -10}, 0.5f, {1, 0, 0, 1});
    group->AddSprite({3, 2, -10}, 1.0f, {0, 0, 1, 0.5f});
    group->AddSprite({2, 5, -10}, 1.0f, {0, 1, 0, 1});
    group->m_sorting = false; // sprites in index order: 1, 2, 3
    group->Update();

    EXPECT_EQ(group->GetCount(), 3u);
    EXPECT_EQ(group->GetModel()->GetIndexBuffer()->GetUsedIndexCount(), 18u);
    EXPECT_EQ(group->GetModel()->GetPrimitiveCount(), 6u);
    ExpectNear(group->GetCentre(), {2, 3, -10});
    // Sprite 3 (the first added) is drawn last: bottom left, top left, bottom right, top right.
    ExpectNear(Corner(*group, 2, 0), {0.5f, 1.5f, -10});
    ExpectNear(Corner(*group, 2, 1), {0.5f, 2.5f, -10});
    ExpectNear(Corner(*group, 2, 2), {1.5f, 1.5f, -10});
    ExpectNear(Corner(*group, 2, 3), {1.5f, 2.5f, -10});
    EXPECT_EQ(ColourAt(*group, 8), 0xFFFF0000u);
    EXPECT_EQ(ColourAt(*group, 11), 0xFFFF0000u);
    EXPECT_EQ(ColourAt(*group, 0), 0xFF00FF00u);
    EXPECT_EQ(ColourAt(*group, 4), 0x800000FFu);

    // The model's box holds every corner.
    const KeystrelEngine::BoundingBox& box = group->GetModel()->m_boundingBox;
    ExpectNear(box.m_worldMin, {0.5f, 1.0f, -10});
    ExpectNear(box.m_worldMax, {4.0f, 6.0f, -10});
}

TEST_F(SpriteGroupTest, WithSortingTheLargerDepthComesFirst)
{
    SpriteGroup* group = Group(3);
    cameras->Update();                     // at the origin, looking along -z
    group->AddSprite({0, 0, 2}, 1, kRed);  // depth -2
    group->AddSprite({0, 0, 5}, 1, kRed);  // depth -5
    group->AddSprite({0, 0, -3}, 1, kRed); // depth 3
    group->Update();
    EXPECT_EQ(group->GetSprite(1).depth, -5.0f);
    EXPECT_EQ(Corner(*group, 0, 0).z, -3.0f);
    EXPECT_EQ(Corner(*group, 1, 0).z, 2.0f);
    EXPECT_EQ(Corner(*group, 2, 0).z, 5.0f);

    group->m_sorting = false;
    group->Update();
    EXPECT_EQ(Corner(*group, 0, 0).z, -3.0f);
    EXPECT_EQ(Corner(*group, 1, 0).z, 5.0f);
    EXPECT_EQ(Corner(*group, 2, 0).z, 2.0f);
}

TEST_F(SpriteGroupTest, ARotationOfPiSwapsOppositeCornersAndATinyOneIsIgnored)
{
    SpriteGroup* group = Group(2);
    cameras->Update();
    const std::uint32_t turned = group->AddSprite({1, 1, -4}, 1, kRed);
    const std::uint32_t tiny = group->AddSprite({5, 1, -4}, 1, kRed);
    group->GetSprite(turned).rotation = static_cast<float>(M_PI);
    group->GetSprite(tiny).rotation = 0.0001f;
    group->m_sorting = false; // sprite 0 (tiny) first
    group->Update();

    ExpectNear(Corner(*group, 1, 0), {2, 2, -4});
    ExpectNear(Corner(*group, 1, 1), {2, 0, -4});
    ExpectNear(Corner(*group, 1, 2), {0, 2, -4});
    ExpectNear(Corner(*group, 1, 3), {0, 0, -4});
    EXPECT_EQ(Corner(*group, 0, 0).x, 4.0f);
    EXPECT_EQ(Corner(*group, 0, 0).y, 0.0f);
    EXPECT_EQ(Corner(*group, 0, 3).x, 6.0f);

    // A quarter turn about the view axis takes the bottom-left corner to the bottom right.
    group->GetSprite(turned).rotation = static_cast<float>(M_PI / 2);
    group->Update();
    ExpectNear(Corner(*group, 1, 0), {2, 0, -4});
}

TEST_F(SpriteGroupTest, AnEmptyGroupDrawsNothingAndAHiddenOneKeepsItsLastUpdate)
{
    SpriteGroup* group = Group(2);
    cameras->Update();
    group->Update();
    EXPECT_EQ(group->GetCount(), 0u);
    EXPECT_EQ(group->GetModel()->GetIndexBuffer()->GetUsedIndexCount(), 0u);
    ExpectNear(group->GetCentre(), {0, 0, 0});

    const std::uint32_t sprite = group->AddSprite({1, 1, -4}, 1, kRed);
    group->Update();
    group->GetModel()->m_flags &= ~Model::kShown;
    group->ReleaseSprite(sprite);
    group->AddSprite({9, 9, -9}, 1, kRed);
    group->Update();
    EXPECT_EQ(group->GetCount(), 1u);
    ExpectNear(group->GetCentre(), {1, 1, -4});
    ExpectNear(Corner(*group, 0, 0), {0, 0, -4});
    EXPECT_EQ(group->GetModel()->GetIndexBuffer()->GetUsedIndexCount(), 6u);
}

TEST_F(SpriteGroupTest, ACloneOfABusyGroupStartsWithEverySpriteFree)
{
    SpriteGroup* source = Group(3);
    cameras->Update();
    source->AddSprite({1, 0, -5}, 1, kRed);
    source->AddSprite({3, 0, -5}, 1, kRed);
    source->m_sorting = false;
    source->Update();

    SpriteGroup* clone = spriteGroups->CloneSpriteGroup(*source);
    EXPECT_EQ(spriteGroups->GetRegistry().GetLiveCount(), 2u);
    EXPECT_EQ(models->GetRegistry().GetLiveCount(), 2u);
    EXPECT_NE(clone->GetModel(), source->GetModel());
    EXPECT_EQ(clone->GetCamera(), source->GetCamera());
    EXPECT_FALSE(clone->m_sorting);
    ExpectNear(clone->GetCentre(), {2, 0, -5});
    EXPECT_EQ(clone->GetFreeCount(), 3u);
    EXPECT_EQ(clone->GetModel()->GetIndexBuffer()->GetUsedIndexCount(), 0u);
    EXPECT_EQ(clone->AddSprite({}, 1, kRed), 2u);
    EXPECT_EQ(clone->AddSprite({}, 1, kRed), 1u);
    EXPECT_EQ(clone->AddSprite({}, 1, kRed), 0u);
    EXPECT_EQ(source->GetFreeCount(), 1u);
}

TEST_F(SpriteGroupTest, TheModelManagerDrawsTheGroupWhereverItsSpritesAre)
{
    SpriteGroup* group = Group(4);
    // Far from the origin, which lies behind the camera.
    cameras->GetDefaultCamera()->m_position = {100, 0, 50};
    group->AddSprite({100, 0, 40}, 1, kRed);
    group->AddSprite({101, 0, 30}, 1, kRed);
    Frame(0.01f);
    PlatformTesting::ClearRecording();
    models->RenderAll();
    ASSERT_EQ(PlatformTesting::RecordedDraws().size(), 1u);
    EXPECT_EQ(PlatformTesting::RecordedDraws()[0].indexCount, 12u);
    EXPECT_EQ(PlatformTesting::RecordedDraws()[0].type, D3DPT_TRIANGLELIST);
    EXPECT_EQ(Device().renderStates[D3DRENDERSTATE_ZENABLE], static_cast<DWORD>(TRUE));
    EXPECT_EQ(Device().renderStates[D3DRENDERSTATE_ZWRITEENABLE], static_cast<DWORD>(FALSE));
    EXPECT_EQ(Device().renderStates[D3DRENDERSTATE_CULLMODE], static_cast<DWORD>(D3DCULL_NONE));
    EXPECT_EQ(Device().renderStates[D3DRENDERSTATE_LIGHTING], static_cast<DWORD>(FALSE));

    // Drawn after the models of no group, which are drawn in slot order.
    Model* box = models->CreateSelfMadeModel(Model::kShown | Model::kTriangleList, 3, 3, nullptr, nullptr);
    box->m_boundingBox.Set({99, -1, 39}, {101, 1, 41});
    Frame(0.01f);
    PlatformTesting::ClearRecording();
    models->RenderAll();
    ASSERT_EQ(PlatformTesting::RecordedDraws().size(), 2u);
    EXPECT_EQ(PlatformTesting::RecordedDraws()[0].indexCount, 3u);
    EXPECT_EQ(PlatformTesting::RecordedDraws()[1].indexCount, 12u);

    // Sprites out of the camera's sight are culled with their box.
    group->GetSprite(3).position = {100, 0, 80};
    group->GetSprite(2).position = {100, 0, 90};
    Frame(0.01f);
    PlatformTesting::ClearRecording();
    models->RenderAll();
    EXPECT_EQ(PlatformTesting::RecordedDraws().size(), 1u);
}

TEST_F(SpriteGroupTest, DeletingAGroupDeletesItsRegisteredModel)
{
    SpriteGroup* kept = Group(2);
    SpriteGroup* deleted = Group(2);
    ASSERT_TRUE(spriteGroups->GetRegistry().Remove(deleted));
    delete deleted;
    EXPECT_EQ(models->GetRegistry().GetLiveCount(), 1u);
    EXPECT_EQ(models->GetRegistry().GetSlots()[0], kept->GetModel());

    // A model the model manager no longer holds is its remover's to delete.
    Model* model = kept->GetModel();
    ASSERT_TRUE(models->GetRegistry().Remove(model));
    delete model;
    ASSERT_TRUE(spriteGroups->GetRegistry().Remove(kept));
    delete kept;
    EXPECT_EQ(models->GetRegistry().GetLiveCount(), 0u);
}

} // namespace
