#include "tests/engine/render/CountingRenderSystem.h"

#include "tests/engine/foundation/EngineServices.h"

#include <functional>
#include <gtest/gtest.h>
#include <vector>

using KeystrelEngine::Color;
using KeystrelEngine::Matrix4;
using RenderTesting::CountingRenderSystem;

namespace {

class RenderSystemCache : public ::testing::Test
{
protected:
    RenderSystemCache() { render.Forget(); } // what the construction sent

    TestSupport::EngineServices services;
    CountingRenderSystem render{&services.log, &services.config, 3, 8};
};

TEST_F(RenderSystemCache, ColourChangesWithinTheToleranceSendNothing)
{
    render.SetAmbientColor({0.5f, 0.5f, 0.5f, 1.0f});
    render.Forget();
    render.SetAmbientColor({0.50009f, 0.49991f, 0.5f, 1.00009f});
    EXPECT_EQ(render.Count("Ambient"), 0);
    EXPECT_FLOAT_EQ(render.GetAmbientColor().r, 0.5f);

    render.SetAmbientColor({0.5f, 0.5f, 0.5003f, 0.2f});
    EXPECT_EQ(render.Count("Ambient"), 1);
    EXPECT_FLOAT_EQ(render.GetAmbientColor().b, 0.5003f);
    EXPECT_FLOAT_EQ(render.GetAmbientColor().a, 0.2f);
}

TEST_F(RenderSystemCache, MatrixChangesSendTheWholeMatrixOnlyBeyondTheTolerance)
{
    Matrix4 nearly;
    nearly.m[3] = 0.00009f;
    nearly.m[10] = 1.00009f;
    render.SetWorldMatrix(nearly);
    render.SetViewMatrix(nearly);
    render.SetProjectionMatrix(nearly);
    EXPECT_EQ(render.Count("World") + render.Count("View") + render.Count("Projection"), 0);

    Matrix4 moved;
    moved.m[7] = 2.0f;
    moved.m[0] = 1.00009f;
    render.SetWorldMatrix(moved);
    EXPECT_EQ(render.Count("World"), 1);
    EXPECT_FLOAT_EQ(render.GetWorldMatrix().m[7], 2.0f);
    EXPECT_FLOAT_EQ(render.GetWorldMatrix().m[0], 1.00009f);
}

TEST_F(RenderSystemCache, TextureMatricesAndPlainValuesCompare)
{
    render.SetTextureMatrix(1, 1.00005f, 1.0f, 0.0f, -0.00005f);
    EXPECT_EQ(render.Count("TextureMatrix"), 0);
    render.SetTextureMatrix(1, 1.0f, 1.0f, 0.5f, 0.0f);
    EXPECT_EQ(render.Count("TextureMatrix"), 1);

    render.SetZ(false);
    render.SetZWrite(true);
    render.SetBlend(0, 0);
    render.SetTextureFilter(2, 1);
    EXPECT_EQ(render.Count("Z") + render.Count("ZWrite") + render.Count("Blend") + render.Count("Filter"), 0);
    render.SetBlend(0, 1);
    render.SetTextureFilter(2, 2);
    EXPECT_EQ(render.Count("Blend"), 1);
    EXPECT_EQ(render.Count("Filter"), 1);
}

TEST_F(RenderSystemCache, DefaultStatesForceEveryStateOnceAndLeaveTheDefaults)
{
    render.SetZ(true);
    render.SetCullMode(2);
    render.SetAlphaBlend(true);
    render.Forget();
    render.SetDefaultStates();

    EXPECT_EQ(render.Count("SetMaterial"), 1);
    EXPECT_EQ(render.Count("Projection"), 0);
    for (const char* once :
         {"View", "World", "Ambient", "AlphaBlend", "Blend", "Cull", "Lighting", "Normalize", "Z", "ZWrite"})
        EXPECT_EQ(render.Count(once), 1) << once;
    for (const char* perStage : {"Texture", "Anisotropy", "Filter", "AddressU", "AddressV", "TextureMatrix"})
        EXPECT_EQ(render.Count(perStage), 3) << perStage;

    EXPECT_FALSE(render.GetZ());
    EXPECT_TRUE(render.GetZWrite());
    EXPECT_FALSE(render.GetAlphaBlend());
    EXPECT_FALSE(render.GetLighting());
    EXPECT_EQ(render.GetCullMode(), 0u);
    EXPECT_EQ(render.GetTextureFilter(2), 1u);
    EXPECT_TRUE(render.GetViewMatrix().IsIdentity());
    EXPECT_FALSE(render.IsForced());

    // Unchanged values are not sent again once the force is over.
    render.Forget();
    render.SetZWrite(true);
    render.SetAmbientColor({0.0f, 0.0f, 0.0f, 1.0f});
    EXPECT_EQ(render.Count("ZWrite") + render.Count("Ambient"), 0);
}

TEST_F(RenderSystemCache, StageStatesReadBackAndStagesBeyondTheDeviceAreIgnored)
{
    render.SetMaxTextureAnisotropy(1, 4);
    render.SetTextureAdressU(2, 0);
    render.SetTextureMatrix(2, 2.0f, 3.0f, 0.5f, 0.25f);
    render.SetNormalizeNormals(true);
    EXPECT_EQ(render.GetMaxTextureAnisotropy(1), 4u);
    EXPECT_EQ(render.GetTextureAdressU(2), 0u);
    EXPECT_EQ(render.GetTextureAdressV(2), 1u);
    EXPECT_EQ(render.GetTextureMatrix(2), (CountingRenderSystem::TextureMatrix{2.0f, 3.0f, 0.5f, 0.25f}));
    EXPECT_TRUE(render.GetNormalizeNormals());

    render.Forget();
    const std::vector<std::function<void()>> beyond = {
        [&] { render.SetTexture(3, nullptr); },
        [&] { render.SetMaxTextureAnisotropy(3, 2); },
        [&] { render.SetTextureFilter(7, 2); },
        [&] { render.SetTextureAdressU(3, 0); },
        [&] { render.SetTextureAdressV(UINT32_MAX, 0); },
        [&] { render.SetTextureMatrix(3, 2.0f, 2.0f, 0.0f, 0.0f); },
        [&] { EXPECT_EQ(render.GetTexture(3), nullptr); },
        [&] { EXPECT_EQ(render.GetTextureMatrix(3), CountingRenderSystem::TextureMatrix{}); },
    };
    for (const auto& call : beyond)
        EXPECT_DEBUG_DEATH(call(), "no such texture stage");
    for (const char* perStage : {"Texture", "Anisotropy", "Filter", "AddressU", "AddressV", "TextureMatrix"})
        EXPECT_EQ(render.Count(perStage), 0) << perStage;
}

TEST_F(RenderSystemCache, RefreshClampsTheAnisotropyToTheDeviceAndWritesItBack)
{
    struct Case
    {
        std::int32_t setting;
        std::int32_t expected;
    };
    for (const Case& c : {Case{0, 1}, Case{1, 1}, Case{-3, 1}, Case{2, 2}, Case{8, 8}, Case{16, 8}}) {
        services.config.r_texture_anisotropy = c.setting;
        render.Refresh();
        EXPECT_EQ(services.config.r_texture_anisotropy, c.expected) << c.setting;
    }
    // Only a change is sent to the stages.
    services.config.r_texture_anisotropy = 4;
    render.Forget();
    render.Refresh();
    EXPECT_EQ(render.Count("Anisotropy"), 3);
    render.Refresh();
    EXPECT_EQ(render.Count("Anisotropy"), 3);
}

TEST_F(RenderSystemCache, ModeChangeIsPendingUntilTheDeviceIsReset)
{
    services.config.v_mode = "800x600x16";
    render.CheckModeChange();
    EXPECT_TRUE(render.IsModeChangePending());
    render.Reset(KeystrelEngine::RenderSystem::kResetTextures);
    EXPECT_TRUE(render.IsModeChangePending());
    render.Reset(KeystrelEngine::RenderSystem::kResetDevice);
    EXPECT_FALSE(render.IsModeChangePending());
    EXPECT_TRUE(render.AreSurfacesValid());
}

} // namespace
