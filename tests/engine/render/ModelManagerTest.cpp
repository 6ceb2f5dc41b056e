// The model manager's frame pass against the recording device: what is updated, counted, sorted and drawn.
#include "engine/render/ModelManager.h"
#include "engine/foundation/Error.h"
#include "engine/render/IndexBuffer.h"
#include "engine/render/Shader.h"
#include "engine/render/ShaderUser.h"
#include "tests/engine/render/ModelFixture.h"

using KeystrelEngine::Matrix4;
using KeystrelEngine::Model;
using KeystrelEngine::ModelManager;
using PlatformTesting::DDrawCall;
using PlatformTesting::RecordedCall;
using RenderTesting::ModelFixture;

namespace {

class ModelManagerTest : public ModelFixture
{
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        manager = std::make_unique<ModelManager>(modelServices);
    }
    void TearDown() override
    {
        manager.reset();
        ModelFixture::TearDown();
    }

    // A registered triangle whose draw names `tag` + 3 vertices, placed at depth z in front of the default
    // camera.
    Model* Triangle(std::uint32_t tag, float z, std::uint32_t flags)
    {
        Model* model =
            manager->CreateSelfMadeModel(Model::kTriangleList | Model::kShown | flags, 3 + tag, 3, nullptr, nullptr);
        const std::uint16_t indices[3] = {0, 1, static_cast<std::uint16_t>(2 + tag)};
        std::memcpy(model->GetIndexBuffer()->Lock(0, 3), indices, sizeof(indices));
        model->GetIndexBuffer()->Unlock();
        model->m_boundingBox.Set({-1, -1, 0}, {1, 1, 0});
        Matrix4 place;
        place.MakeTranslation({0, 0, z});
        model->SetWorldMatrix(place);
        return model;
    }

    // The tags of the triangles drawn, in draw order.
    static std::vector<std::uint32_t> DrawnTags()
    {
        std::vector<std::uint32_t> tags;
        for (const PlatformTesting::RecordedDraw& draw : PlatformTesting::RecordedDraws())
            tags.push_back(draw.vertexCount - 3);
        return tags;
    }

    void Frame()
    {
        cameras->Update();
        PlatformTesting::ClearRecording();
        manager->RenderAll();
    }

    std::unique_ptr<ModelManager> manager;
};

TEST_F(ModelManagerTest, VisibleModelsAreDrawnFirstGroupThenOthersThenLastGroup)
{
    Triangle(0, -10, Model::kDrawLast);
    Triangle(1, -20, 0);
    Triangle(2, -30, Model::kDrawFirst);
    Triangle(3, -40, Model::kDrawLast);
    Triangle(4, -5, Model::kDrawFirst);
    Triangle(5, -50, 0);
    Frame();
    EXPECT_EQ(DrawnTags(), (std::vector<std::uint32_t>{4, 2, 1, 5, 3, 0}));
    EXPECT_EQ(PlatformTesting::CountCalls(DDrawCall::BeginScene), 1u);
    EXPECT_EQ(PlatformTesting::CountCalls(DDrawCall::EndScene), 1u);
    EXPECT_EQ(manager->m_drawnModels, 6u);
}

TEST_F(ModelManagerTest, CulledAndHiddenModelsAreCountedAsTheyShouldBe)
{
    Model* front = Triangle(0, -10, 0);
    Model* behind = Triangle(1, 10, 0);
    Model* hidden = Triangle(2, -10, 0);
    hidden->m_flags &= ~Model::kShown;
    const std::unique_ptr<Model> unregistered(manager->CreateBoxModel({0, 0, -11}, {1, 1, -10}, nullptr, 0));
    Frame();
    EXPECT_EQ(DrawnTags(), std::vector<std::uint32_t>{0});
    EXPECT_EQ(manager->m_shownModels, 2u);
    EXPECT_EQ(manager->m_drawnModels, 1u);
    EXPECT_EQ(manager->m_shownPrimitives, 2u);
    EXPECT_EQ(manager->m_drawnPrimitives, 1u);
    EXPECT_EQ(front->GetDrawCount(), 1u);
    EXPECT_EQ(behind->GetDrawCount(), 0u);
    EXPECT_EQ(hidden->GetDrawCount(), 0u);
    EXPECT_EQ(unregistered->GetDrawCount(), 0u);
    EXPECT_EQ(manager->GetVisibleModels(), std::vector<Model*>{front});
}

TEST_F(ModelManagerTest, AnimationOfACulledModelStillAdvances)
{
    Model* model = manager->LoadModel(WriteModel("morph", RenderTesting::TwoFrameMorph()), nullptr, 0);
    Matrix4 behind;
    behind.MakeTranslation({0, 0, 10});
    model->SetWorldMatrix(behind);
    model->GetAnimationControl().m_playing = true;
    model->GetAnimationControl().m_looping = true;
    timers->m_frameTime = 0.25f;
    Frame();
    EXPECT_TRUE(DrawnTags().empty());
    EXPECT_FLOAT_EQ(model->GetAnimationControl().m_position, 0.25f);
}

TEST_F(ModelManagerTest, TwoPassModelsDrawTwiceWithEachWindingCulled)
{
    Triangle(0, -10, Model::kTwoPasses);
    Frame();
    std::vector<DWORD> cullModes;
    for (const RecordedCall& call : PlatformTesting::RecordedCalls()) {
        if (call.call == DDrawCall::SetRenderState && call.a == D3DRENDERSTATE_CULLMODE)
            cullModes.push_back(call.b);
        if (call.call == DDrawCall::DrawIndexedPrimitive)
            cullModes.push_back(0); // marks the draw
    }
    EXPECT_EQ(cullModes, (std::vector<DWORD>{D3DCULL_CCW, 0, D3DCULL_CW, 0}));
}

TEST_F(ModelManagerTest, TheCameraIsAppliedOncePerFrameAndAgainForTheZBias)
{
    Triangle(0, -10, 0);
    Triangle(1, -20, 0);
    Frame();
    EXPECT_EQ(PlatformTesting::CountCalls(DDrawCall::SetTransform, D3DTRANSFORMSTATE_PROJECTION), 1u);
    Triangle(2, -30, Model::kZBiased);
    Frame();
    EXPECT_EQ(PlatformTesting::CountCalls(DDrawCall::SetTransform, D3DTRANSFORMSTATE_PROJECTION), 2u);
}

TEST_F(ModelManagerTest, RemovedSlotsAreReusedByTheNextModel)
{
    Model* first = Triangle(0, -10, 0);
    Model* second = Triangle(1, -10, 0);
    Triangle(2, -10, 0);
    ASSERT_TRUE(manager->GetRegistry().Remove(second));
    delete second;
    Model* clone = manager->CloneModel(*first, nullptr, 0);
    EXPECT_EQ(manager->GetRegistry().GetSlots()[1], clone);
    Model* unmanaged = manager->LoadModelUnmanaged(WriteModel("quad", RenderTesting::StaticQuad()), 0);
    EXPECT_EQ(manager->GetRegistry().GetLiveCount(), 3u);
    delete unmanaged;
}

TEST_F(ModelManagerTest, NothingHappensWhileTheSurfacesAreLost)
{
    Model* model = manager->LoadModel(WriteModel("morph", RenderTesting::TwoFrameMorph()), nullptr, 0);
    model->GetAnimationControl().m_playing = true;
    timers->m_frameTime = 0.25f;
    Frame();
    EXPECT_EQ(manager->m_shownModels, 1u);
    PlatformTesting::FailCall(DDrawCall::TestCooperativeLevel, DDERR_SURFACELOST, 1);
    render->Refresh();
    Frame();
    EXPECT_EQ(manager->m_shownModels, 0u);
    EXPECT_EQ(manager->m_shownPrimitives, 0u);
    EXPECT_EQ(PlatformTesting::CountCalls(DDrawCall::BeginScene), 0u);
    EXPECT_FLOAT_EQ(model->GetAnimationControl().m_position, 0.25f);
}

TEST_F(ModelManagerTest, LoadFailuresRegisterNothing)
{
    EXPECT_THROW(manager->LoadModel("missing.mlf", nullptr, 0), KeystrelEngine::Error);
    EXPECT_EQ(manager->GetRegistry().GetLiveCount(), 0u);
}

TEST_F(ModelManagerTest, ModelsOfOneDescriptionShareItsShaderAndGiveTheirUsersBack)
{
    const std::string name = WriteModel("quad", RenderTesting::StaticQuad());
    Model* first = manager->LoadModel(name, nullptr, 0);
    Model* second = manager->LoadModel(name, nullptr, 0);
    Model* clone = manager->CloneModel(*first, nullptr, 0);
    EXPECT_EQ(shaders->GetShaderCount(), 1u);
    EXPECT_EQ(shaders->GetUserCount(), 3u);
    EXPECT_NE(clone->GetShaderUser(), first->GetShaderUser());
    EXPECT_EQ(clone->GetShaderUser()->GetShader(), second->GetShaderUser()->GetShader());

    // A new description takes a user of its own and gives the old one back.
    KeystrelEngine::ShaderDescriptor other;
    other.AddStage(0, 4, 1, 1, 1, 0.0f, "other.bmp", "", 0); // a stage that loads no texture
    clone->SetShaderDescriptor(other);
    EXPECT_EQ(shaders->GetShaderCount(), 2u);
    EXPECT_EQ(shaders->GetUserCount(), 3u);
    for (Model* model : {first, clone}) {
        ASSERT_TRUE(manager->GetRegistry().Remove(model));
        delete model;
    }
    EXPECT_EQ(shaders->GetShaderCount(), 1u);
    EXPECT_EQ(shaders->GetUserCount(), 1u);
}

TEST_F(ModelManagerTest, AMissingDescriptionFailsTheLoad)
{
    RenderTesting::WriteDataFile("bare.mlf", Formats::BuildModelFile(RenderTesting::StaticQuad()));
    EXPECT_THROW(manager->LoadModel("bare.mlf", nullptr, 0), KeystrelEngine::Error);
    EXPECT_EQ(manager->GetRegistry().GetLiveCount(), 0u);
    EXPECT_EQ(shaders->GetUserCount(), 0u);
}

TEST_F(ModelManagerTest, AModelWhoseShaderNeedsMoreStagesThanTheDeviceHasIsNotDrawn)
{
    manager.reset();
    DestroyServices();
    std::vector<PlatformTesting::ScriptedDriver> drivers = PlatformTesting::DefaultDisplayDrivers();
    for (PlatformTesting::ScriptedDevice& device : drivers[0].devices)
        device.textureStages = 1;
    PlatformTesting::SetDisplayDrivers(drivers);
    CreateServices();
    manager = std::make_unique<ModelManager>(modelServices);

    Triangle(0, -10, 0);
    KeystrelEngine::ShaderDescriptor twoStages; // stages without textures to load
    twoStages.AddStage(0, 4, 1, 1, 1, 0.0f, "", "", 0);
    twoStages.AddStage(0, 4, 1, 1, 1, 0.0f, "", "", 0);
    Triangle(1, -10, 0)->SetShaderDescriptor(twoStages);
    Frame();
    EXPECT_EQ(DrawnTags(), std::vector<std::uint32_t>{0});
    EXPECT_EQ(manager->m_drawnModels, 2u);
}

} // namespace
