// Texture surfaces on the recording device: sizes, mip chains, pixel formats and packing, failures, and the
// rebuild after a device reset.
#include "engine/foundation/Error.h"
#include "engine/render/TextureManager.h"
#include "tests/engine/render/TextureFixture.h"

using KeystrelEngine::Image;
using KeystrelEngine::RenderSystem;
using KeystrelEngine::Texture2D;
using KeystrelEngine::Texture2D_D3D7;
using PlatformTesting::DDrawCall;
using RenderTesting::Rgba;
using RenderTesting::TextureLevel;

namespace {

class TextureSurfaces : public RenderTesting::TextureFixture
{
protected:
    std::unique_ptr<Texture2D_D3D7> Make(const Image& image, bool mipMapped, const std::string& name = "t")
    {
        return std::unique_ptr<Texture2D_D3D7>(
            static_cast<Texture2D_D3D7*>(render->CreateTexture2D(name, image, mipMapped)));
    }

    Image Flat(std::uint32_t width, std::uint32_t height, std::uint32_t bits, Rgba colour)
    {
        Image image;
        image.Create(&services.log, width, height, bits);
        image.Fill({colour[0] / 255.0f, colour[1] / 255.0f, colour[2] / 255.0f, colour[3] / 255.0f});
        return image;
    }

    static std::vector<std::pair<DWORD, DWORD>> Sizes(const std::vector<TextureLevel>& levels)
    {
        std::vector<std::pair<DWORD, DWORD>> sizes;
        for (const TextureLevel& level : levels)
            sizes.emplace_back(level.width, level.height);
        return sizes;
    }
};

TEST_F(TextureSurfaces, SidesBecomeTheNearestPowerOfTwoWithinTheDeviceLimits)
{
    std::vector<PlatformTesting::ScriptedDriver> drivers = PlatformTesting::DefaultDisplayDrivers();
    for (PlatformTesting::ScriptedDevice& device : drivers[0].devices)
        device.maxTextureWidth = device.maxTextureHeight = 256;
    PlatformTesting::SetDisplayDrivers(drivers);
    Create();
    struct Case
    {
        std::uint32_t width, height, expectedWidth, expectedHeight;
    };
    for (const Case& c : {Case{100, 90, 128, 64}, Case{96, 96, 128, 128}, Case{300, 300, 256, 256}, Case{1, 3, 1, 4},
                          Case{0, 0, 1, 1}}) {
        const auto texture = Make(Flat(c.width, c.height, 24, {10, 20, 30, 255}), false);
        EXPECT_EQ(texture->GetWidth(), c.expectedWidth) << c.width;
        EXPECT_EQ(texture->GetHeight(), c.expectedHeight) << c.height;
        const std::vector<TextureLevel> levels = Levels(texture.get());
        ASSERT_EQ(levels.size(), 1u);
        EXPECT_EQ(levels[0].width, c.expectedWidth);
        EXPECT_EQ(levels[0].height, c.expectedHeight);
    }
}

TEST_F(TextureSurfaces, AMipChainHalvesDownToOnePixelAndCountsItsMemory)
{
    Create();
    const auto texture = Make(Flat(256, 64, 24, {200, 100, 50, 255}), true);
    const std::vector<TextureLevel> levels = Levels(texture.get());
    const std::vector<std::pair<DWORD, DWORD>> expected = {{256, 64}, {128, 32}, {64, 16}, {32, 8}, {16, 4},
                                                           {8, 2},    {4, 1},    {2, 1},   {1, 1}};
    EXPECT_EQ(Sizes(levels), expected);
    EXPECT_EQ(texture->GetVideoMemorySize(), 65541u);
    ASSERT_EQ(texture->GetLevelImages().size(), 9u);
    // Every level of a flat picture keeps its colour (X8R8G8B8 for a 24-bit picture).
    for (const TextureLevel& level : levels)
        EXPECT_EQ(level.At(0, 0) & 0xFFFFFF, 0xC86432u);

    const auto single = Make(Flat(256, 64, 24, {200, 100, 50, 255}), false);
    EXPECT_EQ(Levels(single.get()).size(), 1u);
    EXPECT_EQ(single->GetVideoMemorySize(), 3u * 256 * 64);
}

TEST_F(TextureSurfaces, MipLevelsAverageTheLevelAboveAndCanShowWhereTheFirstIsDrawn)
{
    Create();
    Image stripes;
    stripes.Create(&services.log, 2, 2, 24);
    const std::uint8_t bytes[] = {0, 0, 0, 200, 200, 200, 0, 0, 0, 200, 200, 200};
    std::copy(std::begin(bytes), std::end(bytes), stripes.GetPixels());
    const auto texture = Make(stripes, true);
    std::vector<TextureLevel> levels = Levels(texture.get());
    ASSERT_EQ(levels.size(), 2u);
    EXPECT_EQ(levels[1].At(0, 0) & 0xFFFFFF, 0x646464u);

    services.config.r_show_mip_maps = true;
    const auto shown = Make(Flat(4, 4, 24, {0, 0, 255, 255}), true);
    levels = Levels(shown.get());
    ASSERT_EQ(levels.size(), 3u);
    EXPECT_EQ(levels[0].At(0, 0) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(levels[1].At(0, 0) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(levels[2].At(0, 0) & 0xFFFFFF, 0xFF0000u);

    // Without mip-mapping allowed a mip-mapped request gets one level.
    services.config.r_use_mip_mapping = false;
    const auto plain = Make(Flat(4, 4, 24, {0, 0, 255, 255}), true);
    EXPECT_FALSE(plain->IsMipMapped());
    EXPECT_EQ(Levels(plain.get()).size(), 1u);
}

TEST_F(TextureSurfaces, ThePictureBottomRowIsTheSurfaceFirstRow)
{
    Create();
    Image picture;
    picture.Create(&services.log, 2, 2, 32);
    // Bottom row red, green; top row blue, white half transparent.
    const std::uint8_t bytes[] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 128};
    std::copy(std::begin(bytes), std::end(bytes), picture.GetPixels());
    const auto texture = Make(picture, false);
    const TextureLevel level = Levels(texture.get())[0];
    EXPECT_EQ(level.format.dwRGBAlphaBitMask, 0xFF000000u);
    EXPECT_EQ(level.At(0, 0), 0xFFFF0000u);
    EXPECT_EQ(level.At(1, 0), 0xFF00FF00u);
    EXPECT_EQ(level.At(0, 1), 0xFF0000FFu);
    EXPECT_EQ(level.At(1, 1), 0x80FFFFFFu);
}

TEST_F(TextureSurfaces, OnlySixteenBitFormatsGetThePictureChannelsPackedIntoTheirMasks)
{
    const std::vector<DDPIXELFORMAT> all = PlatformTesting::DefaultTextureFormats();
    // A luminance format and a four-bit alpha format come first, and are passed over.
    DDPIXELFORMAT luminance = PlatformTesting::RgbTextureFormat(16, 0xFF, 0, 0, 0xFF00);
    luminance.dwFlags |= DDPF_LUMINANCE;
    PlatformTesting::SetDisplayDrivers(RenderTesting::DriversWithFormats({luminance, all[4], all[2], all[3]}));
    Create();
    const auto opaque = Make(Flat(1, 1, 24, {255, 128, 8, 255}), false);
    TextureLevel level = Levels(opaque.get())[0];
    EXPECT_EQ(level.format.dwRBitMask, 0xF800u);
    EXPECT_EQ(level.At(0, 0), (31u << 11) | (32u << 5) | 1u);

    Image translucent;
    translucent.Create(&services.log, 1, 1, 32);
    const std::uint8_t bytes[] = {255, 128, 8, 128};
    std::copy(std::begin(bytes), std::end(bytes), translucent.GetPixels());
    const auto blended = Make(translucent, false);
    level = Levels(blended.get())[0];
    EXPECT_EQ(level.format.dwRGBAlphaBitMask, 0x8000u);
    EXPECT_EQ(level.At(0, 0), 0x8000u | (31u << 10) | (16u << 5) | 1u);
    EXPECT_TRUE(Errors().empty());
}

TEST_F(TextureSurfaces, WithoutAUsableFormatTheTextureIsFatal)
{
    const std::vector<DDPIXELFORMAT> all = PlatformTesting::DefaultTextureFormats();
    for (const std::vector<DDPIXELFORMAT>& formats : {std::vector<DDPIXELFORMAT>{}, {all[4]}}) {
        PlatformTesting::SetDisplayDrivers(RenderTesting::DriversWithFormats(formats));
        Create();
        try {
            Make(Flat(2, 2, 24, {1, 2, 3, 255}), false);
            ADD_FAILURE() << "made a texture";
        } catch (const KeystrelEngine::FatalError& error) {
            EXPECT_EQ(error.GetText(),
                      "Direct3D Subsystem (Texture2D_D3D7::CreateSurface): Failed to find texture format");
        }
    }
}

TEST_F(TextureSurfaces, AStagingSurfaceStillDrawingIsLockedAgain)
{
    Create();
    PlatformTesting::FailCall(DDrawCall::Lock, DDERR_WASSTILLDRAWING, 3);
    const auto texture = Make(Flat(2, 2, 24, {9, 8, 7, 255}), false);
    EXPECT_EQ(Levels(texture.get())[0].At(1, 1) & 0xFFFFFF, 0x090807u);
    EXPECT_TRUE(Errors().empty());

    // Any other refusal leaves the level unwritten.
    PlatformTesting::FailCall(DDrawCall::Lock, DDERR_SURFACEBUSY, 1);
    const auto unwritten = Make(Flat(2, 2, 24, {9, 8, 7, 255}), false);
    EXPECT_EQ(Levels(unwritten.get())[0].At(1, 1), 0u);
}

TEST_F(TextureSurfaces, ATextureWithoutSurfaceBindsNothingAndIsBuiltAtALaterBind)
{
    Create();
    PlatformTesting::FailCall(DDrawCall::CreateSurface, DDERR_OUTOFMEMORY, 2);
    const auto texture = Make(Flat(4, 4, 24, {40, 50, 60, 255}), true);
    EXPECT_EQ(texture->GetSurface(), nullptr);
    EXPECT_EQ(texture->GetLevelImages().size(), 3u);
    EXPECT_EQ(texture->GetVideoMemorySize(), 0u);
    EXPECT_EQ(Errors().size(), 1u);
    EXPECT_TRUE(services.Logged("Direct3D Subsystem (Texture2D_D3D7::CreateSurface): DirectDraw does not have enough"));

    // The stage stays empty while the second creation fails too.
    render->SetTexture(0, texture.get());
    EXPECT_EQ(Device().textures[0], nullptr);
    EXPECT_EQ(Errors().size(), 2u);

    render->SetTexture(0, nullptr);
    render->SetTexture(0, texture.get());
    ASSERT_NE(texture->GetSurface(), nullptr);
    EXPECT_EQ(Device().textures[0], texture->GetSurface());
    const std::vector<TextureLevel> levels = Levels(texture.get());
    ASSERT_EQ(levels.size(), 3u);
    EXPECT_EQ(levels[2].At(0, 0) & 0xFFFFFF, 0x28323Cu);
}

TEST_F(TextureSurfaces, AFailedBlitIsLoggedAndTheTextureGoesOn)
{
    Create();
    PlatformTesting::FailCall(DDrawCall::Blt, DDERR_SURFACEBUSY, 1);
    const auto texture = Make(Flat(2, 2, 24, {1, 2, 3, 255}), true);
    EXPECT_EQ(Errors().size(), 1u);
    const std::vector<TextureLevel> levels = Levels(texture.get());
    ASSERT_EQ(levels.size(), 2u);
    EXPECT_EQ(levels[0].At(0, 0), 0u);
    EXPECT_EQ(levels[1].At(0, 0) & 0xFFFFFF, 0x010203u);
}

TEST_F(TextureSurfaces, AResetRebuildsEverySurfaceFromTheKeptLevels)
{
    RenderSystem& system = Create();
    const auto bound = Make(Flat(8, 8, 24, {70, 80, 90, 255}), true, "bound");
    const auto idle = Make(Flat(4, 2, 32, {1, 2, 3, 4}), false, "idle");
    system.SetTexture(0, bound.get());
    const std::vector<TextureLevel> before = Levels(bound.get());

    // A mode change releases every surface with the device; the texture flag builds them again.
    services.config.v_mode = "800x600x32";
    system.CheckModeChange();
    system.Reset(RenderSystem::kResetDevice | RenderSystem::kResetTextures);
    ASSERT_NE(bound->GetSurface(), nullptr);
    ASSERT_NE(idle->GetSurface(), nullptr);
    const std::vector<TextureLevel> after = Levels(bound.get());
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i)
        EXPECT_EQ(after[i].pixels, before[i].pixels) << "level " << i;
    EXPECT_EQ(Levels(idle.get())[0].At(3, 1), 0x04010203u);
    EXPECT_EQ(bound->GetVideoMemorySize(), 3u * (64 + 16 + 4 + 1));

    // Without the texture flag the surfaces stay away until a stage binds them.
    system.CheckModeChange();
    system.Reset(RenderSystem::kResetDevice);
    EXPECT_EQ(bound->GetSurface(), nullptr);
    system.SetTexture(0, bound.get());
    ASSERT_NE(bound->GetSurface(), nullptr);
    EXPECT_EQ(Device().textures[0], bound->GetSurface());
    EXPECT_EQ(Levels(bound.get()).size(), 4u);
    EXPECT_TRUE(Errors().empty());
}

} // namespace
