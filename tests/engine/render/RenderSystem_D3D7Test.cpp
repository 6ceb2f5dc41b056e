#include "engine/foundation/Error.h"
#include "engine/render/Image.h"
#include "engine/render/IndexBuffer.h"
#include "engine/render/ResultCheck.h"
#include "engine/render/Texture2D_D3D7.h"
#include "engine/render/VertexBuffer.h"
#include "tests/engine/render/RenderFixture.h"

#include <cstring>

using KeystrelEngine::Color;
using KeystrelEngine::FatalError;
using KeystrelEngine::Matrix4;
using KeystrelEngine::RenderSystem;
using KeystrelEngine::RenderSystem_D3D7;
using PlatformTesting::CountCalls;
using PlatformTesting::DDrawCall;
using PlatformTesting::ScriptedDevice;
using PlatformTesting::ScriptedDisplayMode;
using PlatformTesting::ScriptedDriver;
using RenderTesting::DeviceWithGuid;
using RenderTesting::RenderFixture;

namespace {

std::string ErrorLine(const std::string& text)
{
    return "\nError: " + text + "!\n\n";
}

ScriptedDriver PrimaryDriver(std::vector<ScriptedDevice> devices, std::vector<ScriptedDisplayMode> modes)
{
    ScriptedDriver driver;
    driver.description = "Primary";
    driver.name = "display";
    driver.devices = std::move(devices);
    driver.modes = std::move(modes);
    return driver;
}

const std::vector<ScriptedDisplayMode> kModes = {{640, 480, 16},  {640, 480, 32},  {800, 600, 32},
                                                 {1024, 768, 32}, {1600, 900, 32}, {1920, 1080, 32}};

// ---------------------------------------------------------------------------------------------------------------
// Drivers and devices

class DeviceChoice : public RenderFixture
{
};

TEST_F(DeviceChoice, TransformAndLightingHardwareIsPreferredWhereverItIsListed)
{
    PlatformTesting::SetDisplayDrivers(
        {PrimaryDriver({DeviceWithGuid(IID_IDirect3DRGBDevice), DeviceWithGuid(IID_IDirect3DHALDevice),
                        DeviceWithGuid(IID_IDirect3DTnLHalDevice), DeviceWithGuid(IID_IDirect3DRefDevice)},
                       kModes)});
    EXPECT_EQ(Create().GetCurrentDevice()->guid, IID_IDirect3DTnLHalDevice);
}

TEST_F(DeviceChoice, WithoutTransformAndLightingTheHardwareDeviceIsTaken)
{
    PlatformTesting::SetDisplayDrivers(
        {PrimaryDriver({DeviceWithGuid(IID_IDirect3DRefDevice), DeviceWithGuid(IID_IDirect3DHALDevice),
                        DeviceWithGuid(IID_IDirect3DRGBDevice)},
                       kModes)});
    EXPECT_EQ(Create().GetCurrentDevice()->guid, IID_IDirect3DHALDevice);
    EXPECT_TRUE(Warnings().empty());
}

TEST_F(DeviceChoice, DriversWithAGuidKeepOnlyHardwareDevicesAndModesAreFilteredAndSorted)
{
    ScriptedDriver secondary =
        PrimaryDriver({DeviceWithGuid(IID_IDirect3DHALDevice), DeviceWithGuid(IID_IDirect3DRGBDevice)}, kModes);
    secondary.hasGuid = true;
    secondary.guid = {0x1234, 1, 2, {3}};
    secondary.caps = 0;
    ScriptedDriver primary = PrimaryDriver({DeviceWithGuid(IID_IDirect3DRGBDevice)}, {{320, 200, 32},
                                                                                      {640, 400, 16},
                                                                                      {1024, 768, 16},
                                                                                      {639, 480, 32},
                                                                                      {1024, 768, 32},
                                                                                      {800, 399, 32},
                                                                                      {800, 600, 32}});
    PlatformTesting::SetDisplayDrivers({primary, secondary});
    RenderSystem_D3D7& render = Create();

    const auto& drivers = render.GetDrivers();
    ASSERT_EQ(drivers.size(), 2u);
    EXPECT_TRUE(drivers[0]->primary);
    EXPECT_FALSE(drivers[1]->primary);
    ASSERT_EQ(drivers[1]->devices.size(), 1u);
    EXPECT_TRUE(drivers[1]->devices[0]->hardware);
    // The primary driver is the one used, with its software device.
    EXPECT_EQ(render.GetDriver(), drivers[0].get());

    std::vector<std::string> modes;
    for (const DDSURFACEDESC2& mode : drivers[0]->modes) {
        modes.push_back(std::to_string(mode.dwWidth) + "x" + std::to_string(mode.dwHeight) + "x" +
                        std::to_string(mode.ddpfPixelFormat.dwRGBBitCount));
    }
    EXPECT_EQ(modes, (std::vector<std::string>{"1024x768x32", "1024x768x16", "800x600x32", "640x400x16"}));
}

TEST_F(DeviceChoice, TwentyFourBitModesAreListedAsThirtyTwo)
{
    ScriptedDevice device = DeviceWithGuid(IID_IDirect3DHALDevice);
    device.renderDepths = DDBD_24 | DDBD_32;
    PlatformTesting::SetDisplayDrivers({PrimaryDriver({device}, {{1024, 768, 24}, {640, 480, 16}})});
    services.config.v_mode = "1024x768x24"; // never listed: the default 1024x768x32 is taken
    RenderSystem_D3D7& render = Create();
    const auto& modes = render.GetCurrentDevice()->modes;
    ASSERT_EQ(modes.size(), 1u);
    EXPECT_EQ(modes[0]->bits, 32u);
    EXPECT_EQ(render.GetCurrentDevice()->currentMode, modes[0].get());
}

TEST_F(DeviceChoice, AFailingHardwareDeviceFallsBackToTheSoftwareRasterizer)
{
    PlatformTesting::FailCall(DDrawCall::CreateDevice, DDERR_OUTOFMEMORY, -1, &IID_IDirect3DTnLHalDevice);
    RenderSystem_D3D7& render = Create();
    EXPECT_EQ(render.GetCurrentDevice()->guid, IID_IDirect3DRGBDevice);
    const std::vector<std::string> warnings = Warnings();
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], "\nWarning: ......RenderSystem_D3D7: Switching to the software rasterizer!\n\n");
    EXPECT_EQ(Errors(), std::vector<std::string>{ErrorLine("RenderSystem_D3D7: Failed to create Direct3D device")});
    EXPECT_NE(PlatformTesting::LiveDeviceState(), nullptr);
}

TEST_F(DeviceChoice, AFailingSoftwareDeviceIsFatal)
{
    PlatformTesting::FailCall(DDrawCall::CreateDevice, DDERR_GENERIC);
    try {
        Create();
        FAIL() << "no fatal error";
    } catch (const FatalError& error) {
        EXPECT_EQ(error.GetText(), "RenderSystem_D3D7: Failed to create Direct3D device");
    }
}

TEST_F(DeviceChoice, NoDeviceIsFatal)
{
    for (const auto& drivers :
         {std::vector<ScriptedDriver>{PrimaryDriver({}, kModes)},
          std::vector<ScriptedDriver>{PrimaryDriver({DeviceWithGuid(IID_IDirect3DHALDevice)}, {{320, 200, 32}})}}) {
        PlatformTesting::SetDisplayDrivers(drivers);
        try {
            Create();
            ADD_FAILURE() << "no fatal error";
        } catch (const FatalError& error) {
            EXPECT_EQ(error.GetText(), "RenderSystem_D3D7: Failed to find any compatible Direct3D devices");
        }
    }
}

TEST_F(DeviceChoice, ReleasingLeavesNoObjectReferenced)
{
    Create();
    render.reset();
    EXPECT_EQ(PlatformTesting::LiveDeviceState(), nullptr);
    for (const auto& record : services.log.m_history)
        EXPECT_EQ(record.text.find("still referenced"), std::string::npos) << record.text;
}

// ---------------------------------------------------------------------------------------------------------------
// Video modes

class VideoMode : public RenderFixture
{
protected:
    std::string ChosenMode()
    {
        const auto* mode = Create().GetCurrentDevice()->currentMode;
        return std::to_string(mode->width) + "x" + std::to_string(mode->height) + "x" + std::to_string(mode->bits);
    }
};

TEST_F(VideoMode, DesktopInAnyCaseTakesTheDesktopModeInFullScreen)
{
    for (const char* text : {"Desktop", "DESKTOP", "desktop"}) {
        services.config.v_mode = text;
        services.config.v_fullscreen = false;
        EXPECT_EQ(ChosenMode(), "1920x1080x32") << text;
        EXPECT_TRUE(services.config.v_fullscreen);
        EXPECT_TRUE(render->GetCurrentDevice()->fullScreen);
        render.reset();
    }
}

TEST_F(VideoMode, AWindowAsLargeAsTheDesktopShrinksToTheLargestFittingMode)
{
    PlatformTesting::SetDisplayDrivers({PrimaryDriver({DeviceWithGuid(IID_IDirect3DHALDevice)}, kModes)});
    services.config.v_mode = "1920x1080x32";
    EXPECT_EQ(ChosenMode(), "1600x900x32");
    EXPECT_EQ(services.config.v_mode, "1600x900x32");
}

TEST_F(VideoMode, KeepingTheWindowSizeOrFullScreenDoesNotShrink)
{
    PlatformTesting::SetDisplayDrivers({PrimaryDriver({DeviceWithGuid(IID_IDirect3DHALDevice)}, kModes)});
    services.config.v_mode = "1920x1080x32";
    services.config.v_fullscreen = true;
    EXPECT_EQ(ChosenMode(), "1920x1080x32");
    render.reset();
    services.config.v_fullscreen = false;
    EXPECT_EQ(Create(true).GetCurrentDevice()->currentMode->width, 1920u);
}

TEST_F(VideoMode, WhenNothingSmallerFitsTheRequestedSizeIsKept)
{
    PlatformTesting::SetDisplayDrivers(
        {PrimaryDriver({DeviceWithGuid(IID_IDirect3DHALDevice)}, {{1920, 1080, 32}, {640, 480, 32}})});
    services.config.v_mode = "1920x1080x32";
    EXPECT_EQ(ChosenMode(), "1920x1080x32");
    EXPECT_EQ(services.config.v_mode, "1920x1080x32");
}

TEST_F(VideoMode, AnUnlistedModeFallsBackToTheDefaultThenTo640x480x16)
{
    PlatformTesting::SetDisplayDrivers({PrimaryDriver({DeviceWithGuid(IID_IDirect3DHALDevice)}, kModes)});
    services.config.v_mode = "1000x700x32";
    EXPECT_EQ(ChosenMode(), "1024x768x32"); // the default of the test's configuration
    EXPECT_EQ(services.config.v_mode, "1024x768x32");
    render.reset();

    PlatformTesting::SetDisplayDrivers(
        {PrimaryDriver({DeviceWithGuid(IID_IDirect3DHALDevice)}, {{640, 480, 16}, {800, 600, 32}})});
    services.config.v_mode = "1000x700x24";
    EXPECT_EQ(ChosenMode(), "640x480x16");
    EXPECT_EQ(services.config.v_mode, "640x480x16");
}

TEST_F(VideoMode, TheFallbackEndsWithAFatalErrorWhenNothingIsListed)
{
    PlatformTesting::SetDisplayDrivers({PrimaryDriver({DeviceWithGuid(IID_IDirect3DHALDevice)}, {{800, 600, 32}})});
    for (const char* requested : {"1000x700x32", "1024x768x32", "640x480x16"}) {
        services.config.v_mode = requested;
        try {
            Create();
            ADD_FAILURE() << requested;
        } catch (const FatalError& error) {
            EXPECT_EQ(error.GetText(), "RenderSystem_D3D7: Failed to find compatible video mode");
        }
    }
}

TEST_F(VideoMode, ModeChangeIsPendingWhenTheSettingsDifferFromTheCurrentMode)
{
    RenderSystem_D3D7& render = Create();
    render.CheckModeChange();
    EXPECT_FALSE(render.IsModeChangePending());
    EXPECT_TRUE(render.TexturesNeedReload());
    services.config.v_fullscreen = true;
    render.CheckModeChange();
    EXPECT_TRUE(render.IsModeChangePending());
}

// ---------------------------------------------------------------------------------------------------------------
// Frames and lost surfaces

class Frame : public RenderFixture
{
};

TEST_F(Frame, BeginSceneClearsWithTheClampedColourAndRestoresLostSurfaces)
{
    RenderSystem_D3D7& render = Create();
    render.m_clearColor = {2.0f, -1.0f, 0.5f, 1.0f};
    PlatformTesting::ClearRecording();
    PlatformTesting::LoseSurfaces();
    render.BeginScene();
    const auto& calls = PlatformTesting::RecordedCalls();
    std::vector<DDrawCall> kinds;
    for (const auto& call : calls)
        kinds.push_back(call.call);
    EXPECT_EQ(kinds, (std::vector<DDrawCall>{DDrawCall::Clear, DDrawCall::BeginScene, DDrawCall::RestoreAllSurfaces,
                                             DDrawCall::BeginScene}));
    EXPECT_EQ(calls[0].a, static_cast<DWORD>(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER));
    EXPECT_EQ(calls[0].b, 0xFFFF0080u);
    // The clear itself met the lost surface and was logged.
    EXPECT_EQ(Errors(), std::vector<std::string>{ErrorLine("Direct3D Subsystem (RenderSystem_D3D7::BeginScene): " +
                                                           KeystrelEngine::GetResultText(DDERR_SURFACELOST))});
    EXPECT_TRUE(Device().inScene);
    render.EndScene();
    EXPECT_FALSE(Device().inScene);
}

TEST_F(Frame, AWrongModeInAWindowAsksForAModeChangeAndStopsPresenting)
{
    RenderSystem_D3D7& render = Create();
    PlatformTesting::FailCall(DDrawCall::TestCooperativeLevel, DDERR_WRONGMODE, 1);
    render.Refresh();
    EXPECT_FALSE(render.AreSurfacesValid());
    EXPECT_TRUE(render.IsModeChangePending());
    EXPECT_TRUE(render.TexturesNeedReload());

    PlatformTesting::ClearRecording();
    render.SwapBuffers();
    EXPECT_EQ(CountCalls(DDrawCall::Blt) + CountCalls(DDrawCall::Flip), 0u);

    render.Refresh(); // the cooperative level is fine again: the surfaces are restored
    EXPECT_EQ(CountCalls(DDrawCall::RestoreAllSurfaces), 1u);
    EXPECT_TRUE(render.AreSurfacesValid());
    render.SwapBuffers();
    EXPECT_EQ(CountCalls(DDrawCall::Blt), 1u);
}

TEST_F(Frame, AFailedRestoreAsksForAModeChange)
{
    RenderSystem_D3D7& render = Create();
    PlatformTesting::FailCall(DDrawCall::TestCooperativeLevel, DDERR_NOEXCLUSIVEMODE, 1);
    render.Refresh();
    EXPECT_FALSE(render.IsModeChangePending()); // another loss than a wrong mode
    PlatformTesting::FailCall(DDrawCall::RestoreAllSurfaces, DDERR_WRONGMODE, 1);
    render.Refresh();
    EXPECT_TRUE(render.IsModeChangePending());
    EXPECT_EQ(Errors().size(), 1u);
}

TEST_F(Frame, PresentationBlitsInAWindowAndFlipsInFullScreen)
{
    services.config.v_vsync = true;
    Create();
    PlatformTesting::ClearRecording();
    render->SwapBuffers();
    EXPECT_EQ(CountCalls(DDrawCall::WaitForVerticalBlank), 1u);
    EXPECT_EQ(CountCalls(DDrawCall::Blt, DDBLT_WAIT), 1u);
    render.reset();

    services.config.v_fullscreen = true;
    services.config.v_vsync = false;
    Create();
    EXPECT_EQ(CountCalls(DDrawCall::SetDisplayMode, 1024), 1u);
    PlatformTesting::ClearRecording();
    render->SwapBuffers();
    EXPECT_EQ(CountCalls(DDrawCall::Flip, DDFLIP_WAIT | DDFLIP_NOVSYNC), 1u);
}

TEST_F(Frame, ResetRecreatesTheDeviceAndSendsEveryStateAgain)
{
    RenderSystem_D3D7& render = Create();
    render.SetZ(true);
    render.SetCullMode(2);
    services.config.v_mode = "800x600x32";
    render.CheckModeChange();
    ASSERT_TRUE(render.IsModeChangePending());
    PlatformTesting::ClearRecording();
    render.Reset(RenderSystem::kResetDevice | RenderSystem::kResetTextures);
    EXPECT_FALSE(render.IsModeChangePending());
    EXPECT_FALSE(render.TexturesNeedReload());
    EXPECT_TRUE(render.AreSurfacesValid());
    EXPECT_EQ(CountCalls(DDrawCall::CreateDevice), 1u);
    EXPECT_EQ(render.GetCurrentDevice()->currentMode->width, 800u);
    EXPECT_EQ(Device().renderStates[D3DRENDERSTATE_ZENABLE], static_cast<DWORD>(FALSE));
    EXPECT_EQ(Device().renderStates[D3DRENDERSTATE_CULLMODE], static_cast<DWORD>(D3DCULL_NONE));
    EXPECT_EQ(CountCalls(DDrawCall::SetTransform, D3DTRANSFORMSTATE_WORLD), 1u);
}

// ---------------------------------------------------------------------------------------------------------------
// States

class DeviceStates : public RenderFixture
{
protected:
    DeviceStates() { Create(); }
};

TEST_F(DeviceStates, DefaultsAreSentToEveryStage)
{
    const DDrawHost::DeviceState& device = Device();
    for (DWORD stage = 0; stage < render->GetTextureStageCount(); ++stage) {
        const auto& states = device.stageStates[stage];
        EXPECT_EQ(states[D3DTSS_TEXTURETRANSFORMFLAGS], D3DTTFF_COUNT2);
        EXPECT_EQ(states[D3DTSS_COLOROP], static_cast<DWORD>(D3DTOP_MODULATE));
        EXPECT_EQ(states[D3DTSS_ALPHAARG1], D3DTA_TEXTURE);
        EXPECT_EQ(states[D3DTSS_ALPHAARG2], D3DTA_DIFFUSE);
        EXPECT_EQ(states[D3DTSS_ALPHAOP], static_cast<DWORD>(stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE));
        EXPECT_EQ(states[D3DTSS_MAGFILTER], static_cast<DWORD>(D3DTFG_LINEAR));
        EXPECT_EQ(states[D3DTSS_ADDRESSU], static_cast<DWORD>(D3DTADDRESS_WRAP));
    }
    EXPECT_EQ(device.renderStates[D3DRENDERSTATE_AMBIENTMATERIALSOURCE], static_cast<DWORD>(D3DMCS_COLOR1));
    EXPECT_EQ(device.renderStates[D3DRENDERSTATE_ZWRITEENABLE], static_cast<DWORD>(TRUE));
    EXPECT_EQ(device.renderStates[D3DRENDERSTATE_AMBIENT], 0xFF000000u);
    EXPECT_FLOAT_EQ(device.material.ambient.r, 0.6f);
    EXPECT_TRUE(Errors().empty());
}

TEST_F(DeviceStates, BlendCodesMapToDeviceFactors)
{
    const DWORD expected[] = {D3DBLEND_ONE,         D3DBLEND_ONE,         D3DBLEND_DESTCOLOR,   D3DBLEND_INVDESTCOLOR,
                              D3DBLEND_SRCALPHA,    D3DBLEND_INVSRCALPHA, D3DBLEND_DESTALPHA,   D3DBLEND_INVDESTALPHA,
                              D3DBLEND_SRCALPHASAT, D3DBLEND_SRCCOLOR,    D3DBLEND_INVSRCCOLOR, D3DBLEND_ZERO,
                              D3DBLEND_ZERO};
    for (std::uint32_t code = 0; code < std::size(expected); ++code) {
        render->SetBlend(code, 12 - code);
        EXPECT_EQ(Device().renderStates[D3DRENDERSTATE_SRCBLEND], expected[code]) << code;
        EXPECT_EQ(Device().renderStates[D3DRENDERSTATE_DESTBLEND], expected[12 - code]) << code;
    }
}

TEST_F(DeviceStates, FiltersAddressesAndCullModesMapToDeviceStates)
{
    struct FilterCase
    {
        std::uint32_t filter;
        std::int32_t anisotropy;
        DWORD magnify, minify, mip;
    };
    const FilterCase filters[] = {
        {0, 1, D3DTFG_POINT, D3DTFN_POINT, D3DTFP_NONE},
        {1, 4, D3DTFG_LINEAR, D3DTFN_LINEAR, D3DTFP_NONE},
        {2, 1, D3DTFG_LINEAR, D3DTFN_LINEAR, D3DTFP_LINEAR},
        {2, 2, D3DTFG_ANISOTROPIC, D3DTFN_ANISOTROPIC, D3DTFP_LINEAR},
    };
    for (const FilterCase& c : filters) {
        services.config.r_texture_anisotropy = c.anisotropy;
        render->SetTextureFilter(1, 9); // an unknown filter sets nothing
        render->SetTextureFilter(1, c.filter);
        const auto& states = Device().stageStates[1];
        EXPECT_EQ(states[D3DTSS_MAGFILTER], c.magnify) << c.filter << " " << c.anisotropy;
        EXPECT_EQ(states[D3DTSS_MINFILTER], c.minify) << c.filter << " " << c.anisotropy;
        EXPECT_EQ(states[D3DTSS_MIPFILTER], c.mip) << c.filter << " " << c.anisotropy;
    }

    const std::pair<std::uint32_t, DWORD> addresses[] = {
        {0, D3DTADDRESS_CLAMP}, {1, D3DTADDRESS_WRAP}, {7, D3DTADDRESS_WRAP}, {0, D3DTADDRESS_CLAMP}};
    for (const auto& [mode, expected] : addresses) {
        render->SetTextureAdressU(0, mode);
        render->SetTextureAdressV(2, mode);
        EXPECT_EQ(Device().stageStates[0][D3DTSS_ADDRESSU], expected) << mode;
        EXPECT_EQ(Device().stageStates[2][D3DTSS_ADDRESSV], expected) << mode;
    }

    const std::pair<std::uint32_t, DWORD> culls[] = {
        {1, D3DCULL_CW}, {2, D3DCULL_CCW}, {0, D3DCULL_NONE}, {3, D3DCULL_NONE}};
    for (const auto& [mode, expected] : culls) {
        render->SetCullMode(mode);
        EXPECT_EQ(Device().renderStates[D3DRENDERSTATE_CULLMODE], expected) << mode;
    }
}

TEST_F(DeviceStates, MatricesReachTheDeviceInItsLayout)
{
    Matrix4 world;
    world.MakeTranslation({1.0f, 2.0f, 3.0f});
    render->SetWorldMatrix(world);
    EXPECT_FLOAT_EQ(Device().world._41, 1.0f);
    EXPECT_FLOAT_EQ(Device().world._43, 3.0f);
    EXPECT_FLOAT_EQ(Device().world._14, 0.0f);

    Matrix4 view;
    for (int i = 0; i < 16; ++i)
        view.m[i] = static_cast<float>(i + 1);
    render->SetViewMatrix(view);
    const D3DMATRIX& sent = Device().view;
    EXPECT_FLOAT_EQ(sent._12, 2.0f);
    EXPECT_FLOAT_EQ(sent._13, -3.0f);
    EXPECT_FLOAT_EQ(sent._23, -7.0f);
    EXPECT_FLOAT_EQ(sent._33, -11.0f);
    EXPECT_FLOAT_EQ(sent._43, -15.0f);
    EXPECT_FLOAT_EQ(sent._44, 16.0f);

    render->SetProjectionMatrix(view);
    EXPECT_FLOAT_EQ(Device().projection._13, 3.0f);

    render->SetTextureMatrix(1, 2.0f, 3.0f, 0.25f, 0.5f);
    const D3DMATRIX& texture = Device().textureTransforms[1];
    EXPECT_FLOAT_EQ(texture._11, 2.0f);
    EXPECT_FLOAT_EQ(texture._22, 3.0f);
    EXPECT_FLOAT_EQ(texture._31, 0.25f);
    EXPECT_FLOAT_EQ(texture._32, 0.5f);
    EXPECT_FLOAT_EQ(texture._33, 1.0f);
}

TEST_F(DeviceStates, AmbientChannelsAreClampedBeforePacking)
{
    render->SetAmbientColor({1.5f, 0.5f, -0.25f, 1.0f});
    EXPECT_EQ(Device().renderStates[D3DRENDERSTATE_AMBIENT], 0xFFFF8000u);
}

TEST_F(DeviceStates, ADestroyedTextureLeavesEveryStageThatHeldIt)
{
    using KeystrelEngine::Texture2D_D3D7;
    KeystrelEngine::Image image;
    image.MakeCheckerboard(&services.log);
    alignas(Texture2D_D3D7) unsigned char place[sizeof(Texture2D_D3D7)];
    auto* texture = new (place) Texture2D_D3D7(&services.log, &services.config, render.get(), "wood", image, false);
    render->SetTexture(0, texture);
    render->SetTexture(2, texture);
    texture->~Texture2D_D3D7();
    EXPECT_EQ(render->GetTexture(0), nullptr);
    EXPECT_EQ(render->GetTexture(2), nullptr);

    // A new texture in the same place is bound again.
    PlatformTesting::ClearRecording();
    auto* again = new (place) Texture2D_D3D7(&services.log, &services.config, render.get(), "stone", image, false);
    render->SetTexture(0, again);
    EXPECT_EQ(CountCalls(DDrawCall::SetTexture, 0), 1u);
    EXPECT_EQ(render->GetTexture(0), again);
    again->~Texture2D_D3D7();
    EXPECT_TRUE(Errors().empty());
}

// ---------------------------------------------------------------------------------------------------------------
// Drawing and the screen grab

class Drawing : public RenderFixture
{
protected:
    Drawing() { Create(); }

    static void Fill(KeystrelEngine::IndexBuffer& buffer, const std::vector<std::uint32_t>& indices)
    {
        std::uint8_t* data = buffer.Lock(0, static_cast<std::uint32_t>(indices.size()));
        for (std::size_t i = 0; i < indices.size(); ++i) {
            if (buffer.Has32BitIndices())
                std::memcpy(data + 4 * i, &indices[i], 4);
            else
                reinterpret_cast<std::uint16_t*>(data)[i] = static_cast<std::uint16_t>(indices[i]);
        }
        buffer.Unlock();
    }
};

TEST_F(Drawing, StripsAndListsDrawTheirIndexCountsOverTheUsedVertexRange)
{
    std::unique_ptr<KeystrelEngine::VertexBuffer> vertices(render->CreateVertexBuffer(0, true, 10));
    std::unique_ptr<KeystrelEngine::IndexBuffer> indices(render->CreateIndexBuffer(0, 6));
    Fill(*indices, {7, 3, 9, 3, 9, 4});
    render->BeginScene();
    render->DrawIndexedPrimitive(false, indices.get(), vertices.get(), 2);
    render->DrawIndexedPrimitive(true, indices.get(), vertices.get(), 4);
    render->EndScene();
    const auto& draws = PlatformTesting::RecordedDraws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0].type, D3DPT_TRIANGLELIST);
    EXPECT_EQ(draws[0].indexCount, 6u);
    EXPECT_EQ(draws[0].vertexCount, 10u); // minimal index 3 + range 7
    EXPECT_EQ(draws[0].vertexFormat, 0x152u);
    EXPECT_FALSE(draws[0].indices32);
    EXPECT_EQ(draws[1].type, D3DPT_TRIANGLESTRIP);
    EXPECT_EQ(draws[1].indexCount, 6u);
    EXPECT_TRUE(Errors().empty());
}

TEST_F(Drawing, LargeIndexBuffersDrawWith32BitIndices)
{
    std::unique_ptr<KeystrelEngine::VertexBuffer> vertices(render->CreateVertexBuffer(0, false, 70000));
    std::unique_ptr<KeystrelEngine::IndexBuffer> indices(render->CreateIndexBuffer(0, 65536));
    std::vector<std::uint32_t> values(65536);
    for (std::uint32_t i = 0; i < values.size(); ++i)
        values[i] = 69999 - i;
    Fill(*indices, values);
    render->BeginScene();
    render->DrawIndexedPrimitive(false, indices.get(), vertices.get(), 3);
    render->EndScene();
    const auto& draws = PlatformTesting::RecordedDraws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_TRUE(draws[0].indices32);
    EXPECT_EQ(draws[0].vertexFormat, 0x112u);
    EXPECT_EQ(draws[0].vertexCount, 70000u);
    EXPECT_EQ(draws[0].indices[0], 69999u);
}

TEST_F(Drawing, DrawsBeyondTheBuffersAreRefusedAndLogged)
{
    std::unique_ptr<KeystrelEngine::VertexBuffer> vertices(render->CreateVertexBuffer(0, false, 5));
    std::unique_ptr<KeystrelEngine::IndexBuffer> indices(render->CreateIndexBuffer(0, 3));
    Fill(*indices, {0, 1, 2});
    render->BeginScene();
    render->DrawIndexedPrimitive(false, indices.get(), vertices.get(), 2); // 6 indices from a buffer of 3
    Fill(*indices, {0, 1, 5});
    render->DrawIndexedPrimitive(false, indices.get(), vertices.get(), 1); // vertex 5 of 5
    render->EndScene();
    EXPECT_TRUE(PlatformTesting::RecordedDraws().empty());
    const std::string line = ErrorLine("Direct3D Subsystem (RenderSystem_D3D7::DrawIndexedPrimitive): " +
                                       KeystrelEngine::GetResultText(DDERR_INVALIDPARAMS));
    EXPECT_EQ(Errors(), (std::vector<std::string>{line, line}));
}

TEST_F(Drawing, TheScreenGrabDeliversRedGreenBlueBottomRowFirstAndOpaque)
{
    render->m_clearColor = {1.0f, 0.5f, 0.0f, 0.0f};
    render->BeginScene();
    render->EndScene();
    KeystrelEngine::Image image;
    render->GrabScreen(image);
    ASSERT_EQ(image.GetWidth(), 1024u);
    ASSERT_EQ(image.GetHeight(), 768u);
    ASSERT_EQ(image.GetBitsPerPixel(), 32u);
    const std::uint8_t* pixel = image.GetRow(0);
    EXPECT_EQ(std::vector<int>(pixel, pixel + 4), (std::vector<int>{255, 128, 0, 255}));
}

TEST_F(Drawing, AGrabOfASixteenBitModeConvertsItsPixels)
{
    render.reset();
    services.config.v_mode = "800x600x16";
    Create();
    render->m_clearColor = {1.0f, 0.0f, 1.0f, 1.0f};
    render->BeginScene();
    render->EndScene();
    KeystrelEngine::Image image;
    render->GrabScreen(image);
    ASSERT_EQ(image.GetBitsPerPixel(), 24u);
    const std::uint8_t* pixel = image.GetRow(599) + 3 * 799;
    EXPECT_EQ(std::vector<int>(pixel, pixel + 3), (std::vector<int>{255, 0, 255}));
}

} // namespace
