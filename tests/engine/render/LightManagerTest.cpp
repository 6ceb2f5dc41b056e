#include "engine/render/LightManager.h"
#include "engine/render/Light.h"
#include "engine/render/ResultCheck.h"
#include "tests/engine/render/RenderFixture.h"

using KeystrelEngine::Light;
using KeystrelEngine::LightManager;
using PlatformTesting::CountCalls;
using PlatformTesting::DDrawCall;
using RenderTesting::RenderFixture;

namespace {

class Lights : public RenderFixture
{
protected:
    Lights() { Create(); }

    const DDrawHost::LightSlot& Slot(std::uint32_t index) const { return Device().lights.at(index); }

    LightManager& Manager()
    {
        if (!m_manager)
            m_manager = std::make_unique<LightManager>(&services.log, render.get());
        return *m_manager;
    }

    ~Lights() override { m_manager.reset(); }

private:
    std::unique_ptr<LightManager> m_manager;
};

TEST_F(Lights, DeviceNumbersAreTheLowestFree)
{
    Light* first = Manager().CreateLight();
    Light* second = Manager().CreateLight();
    Light* third = Manager().CreateLight();
    EXPECT_EQ(first->index, 0u);
    EXPECT_EQ(second->index, 1u);
    EXPECT_EQ(third->index, 2u);
    Manager().DeleteLight(second);
    EXPECT_EQ(Manager().CreateLight()->index, 1u);
    Manager().DeleteLight(first);
    Manager().DeleteLight(third);
    EXPECT_EQ(Manager().CreateLight()->index, 0u);
    EXPECT_EQ(Manager().CreateLight()->index, 2u);
}

TEST_F(Lights, ANewLightIsAWhitePointLightAtTheOrigin)
{
    Light* light = Manager().CreateLight();
    EXPECT_TRUE(light->enabled);
    EXPECT_EQ(light->type, Light::TypePoint);
    EXPECT_FLOAT_EQ(light->position.x, 0.0f);
    EXPECT_FLOAT_EQ(light->direction.z, -1.0f);
    EXPECT_FLOAT_EQ(light->diffuse.g, 1.0f);
    EXPECT_FLOAT_EQ(light->attenuation0, 1.0f);
    EXPECT_FLOAT_EQ(light->attenuation1, 0.0f);
    EXPECT_FLOAT_EQ(light->range, 1.8446743e19f);

    Manager().Apply();
    const D3DLIGHT7& sent = Slot(0).light;
    EXPECT_TRUE(Slot(0).enabled);
    EXPECT_EQ(sent.dltType, static_cast<DWORD>(D3DLIGHT_POINT));
    EXPECT_FLOAT_EQ(sent.dvAttenuation0, 1.0f);
    EXPECT_FLOAT_EQ(sent.dcvAmbient.r, 1.0f);
    EXPECT_FLOAT_EQ(sent.dvRange, 1.8446743e19f);
}

TEST_F(Lights, EachTypeSendsItsOwnFields)
{
    Light* spot = Manager().CreateLight();
    spot->type = Light::TypeSpot;
    spot->position = {1.0f, 2.0f, 3.0f};
    spot->direction = {0.0f, -1.0f, 0.0f};
    spot->theta = 0.3f;
    spot->phi = 0.6f;
    spot->attenuation1 = 0.5f;
    Light* sun = Manager().CreateLight();
    sun->type = Light::TypeDirectional;
    sun->direction = {0.0f, 0.0f, 1.0f};
    sun->attenuation1 = 0.5f;
    Manager().Apply();

    const D3DLIGHT7& sentSpot = Slot(0).light;
    EXPECT_EQ(sentSpot.dltType, static_cast<DWORD>(D3DLIGHT_SPOT));
    EXPECT_FLOAT_EQ(sentSpot.dvPosition.y, 2.0f);
    EXPECT_FLOAT_EQ(sentSpot.dvDirection.y, -1.0f);
    EXPECT_FLOAT_EQ(sentSpot.dvTheta, 0.3f);
    EXPECT_FLOAT_EQ(sentSpot.dvPhi, 0.6f);
    EXPECT_FLOAT_EQ(sentSpot.dvFalloff, 1.0f);
    EXPECT_FLOAT_EQ(sentSpot.dvAttenuation1, 0.5f);

    const D3DLIGHT7& sentSun = Slot(1).light;
    EXPECT_EQ(sentSun.dltType, static_cast<DWORD>(D3DLIGHT_DIRECTIONAL));
    EXPECT_FLOAT_EQ(sentSun.dvDirection.z, 1.0f);
    EXPECT_FLOAT_EQ(sentSun.dvAttenuation1, 0.0f); // a directional light has no attenuation
    EXPECT_FLOAT_EQ(sentSun.dvPosition.x, 0.0f);
}

TEST_F(Lights, AnUnknownTypeIsRefusedByTheDeviceAndLogged)
{
    Light* light = Manager().CreateLight();
    light->type = 7;
    Manager().Apply();
    const std::string line =
        "\nError: Direct3D Subsystem (Light_D3D7::Refresh): " + KeystrelEngine::GetResultText(DDERR_INVALIDPARAMS) +
        "!\n\n";
    EXPECT_EQ(Errors(), std::vector<std::string>{line});
}

TEST_F(Lights, DisabledLightsAreSwitchedOffAtTheNextApplyAndOnAgain)
{
    Light* light = Manager().CreateLight();
    Manager().Apply();
    light->enabled = false;
    EXPECT_TRUE(Slot(0).enabled);
    Manager().Apply();
    EXPECT_FALSE(Slot(0).enabled);
    light->enabled = true;
    Manager().Apply();
    EXPECT_TRUE(Slot(0).enabled);

    // Deleting the light switches its device light off.
    Manager().DeleteLight(light);
    EXPECT_FALSE(Slot(0).enabled);
    Light stranger(&services.log, 0);
    Manager().DeleteLight(&stranger); // not the manager's: left alone
    Manager().DeleteLight(nullptr);
}

TEST_F(Lights, EveryLightIsSentEveryFrameButTheAmbientColourOnlyWhenItChanges)
{
    Manager().CreateLight();
    Manager().CreateLight();
    Manager().m_ambient = {0.25f, 0.5f, 1.0f, 1.0f};
    PlatformTesting::ClearRecording();
    Manager().Apply();
    Manager().Apply();
    EXPECT_EQ(CountCalls(DDrawCall::SetLight), 4u);
    EXPECT_EQ(CountCalls(DDrawCall::SetRenderState, D3DRENDERSTATE_AMBIENT), 1u);
    EXPECT_EQ(Device().renderStates[D3DRENDERSTATE_AMBIENT], 0xFF4080FFu);

    // Default states reset the ambient colour; the next pass sends the scene's again.
    render->SetDefaultStates();
    Manager().Apply();
    EXPECT_EQ(CountCalls(DDrawCall::SetRenderState, D3DRENDERSTATE_AMBIENT), 3u);
}

TEST_F(Lights, EnableLightingChangesTheDeviceStateOnlyOnAChange)
{
    PlatformTesting::ClearRecording();
    Manager().EnableLighting(true);
    Manager().EnableLighting(true);
    Manager().EnableLighting(false);
    EXPECT_EQ(CountCalls(DDrawCall::SetRenderState, D3DRENDERSTATE_LIGHTING), 2u);
    EXPECT_EQ(Device().renderStates[D3DRENDERSTATE_LIGHTING], static_cast<DWORD>(FALSE));
}

} // namespace
