// The texture manager on the recording device: keys, sharing and reference counts, the checkerboard fallback,
// the warnings about pictures, the opacity merge and the statistics.
#include "engine/render/TextureManager.h"
#include "tests/engine/render/TextureFixture.h"

using KeystrelEngine::Texture2D;
using KeystrelEngine::TextureManager;
using RenderTesting::TextureLevel;

namespace {

class TextureManagerTest : public RenderTesting::TextureFixture
{
protected:
    TextureManagerTest()
    {
        Create();
        manager = std::make_unique<TextureManager>(&services.log, &services.files, &services.config, render.get());
    }

    std::unique_ptr<TextureManager> manager;
};

TEST(PowerOfTwo, HoldsForZeroOneAndThePowersUpToSixtyFiveThousand)
{
    for (std::uint32_t value : {0u, 1u, 2u, 4u, 1024u, 65536u})
        EXPECT_TRUE(KeystrelEngine::IsPowerOfTwo(value)) << value;
    for (std::uint32_t value : {3u, 6u, 100u, 65535u, 131072u, 0x80000000u})
        EXPECT_FALSE(KeystrelEngine::IsPowerOfTwo(value)) << value;
}

TEST_F(TextureManagerTest, KeysAreLowerCaseDataPathsAndShareTheTextureWithACount)
{
    WriteFlatPicture("ui\\logo.tga", 4, 4, 24, {1, 2, 3, 255});
    Texture2D* first = manager->GetTexture("Ui\\Logo.TGA", "", 0);
    Texture2D* second = manager->GetTexture("ui\\logo.tga", "", 0);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first->GetName(), "diffuse_data\\ui\\logo.tga");
    EXPECT_EQ(first->GetReferenceCount(), 2u);

    Texture2D* mipMapped = manager->GetTexture("ui\\logo.tga", "", TextureManager::kMipMapping);
    EXPECT_NE(mipMapped, first);
    EXPECT_EQ(mipMapped->GetName(), "diffuse_data\\ui\\logo.tga_with_mip_mapping");
    // The opacity part of the key counts only with the opacity flag.
    EXPECT_EQ(manager->GetTexture("ui\\logo.tga", "ignored.tga", 0), first);
    EXPECT_EQ(manager->GetTexture("ui\\logo.tga", "Logo.TGA", TextureManager::kUseOpacity)->GetName(),
              "diffuse_data\\ui\\logo.tga_plus_opacity_data\\logo.tga");

    // With mip-mapping off the key keeps its suffix and the texture has one level.
    services.config.r_use_mip_mapping = false;
    Texture2D* unMipped = manager->GetTexture("UI\\LOGO.tga", "", TextureManager::kMipMapping | 4);
    EXPECT_EQ(unMipped->GetName(), "diffuse_data\\ui\\logo.tga_with_mip_mapping");
    EXPECT_EQ(unMipped, mipMapped);
    EXPECT_TRUE(Warnings().empty());
}

TEST_F(TextureManagerTest, ATextureGoesWithItsLastReference)
{
    WriteFlatPicture("wood.tga", 2, 2, 24, {1, 2, 3, 255});
    Texture2D* texture = manager->GetTexture("wood.tga", "", 0);
    manager->GetTexture("WOOD.tga", "", 0);
    render->SetTexture(1, texture);
    manager->ReleaseTexture(texture);
    std::vector<Texture2D*> loaded;
    manager->GetLoadedTextures(loaded);
    EXPECT_EQ(loaded, std::vector<Texture2D*>{texture});
    EXPECT_EQ(texture->GetReferenceCount(), 1u);

    manager->ReleaseTexture(texture);
    manager->GetLoadedTextures(loaded);
    EXPECT_TRUE(loaded.empty());
    // The stage forgot it.
    EXPECT_EQ(render->GetTexture(1), nullptr);
    EXPECT_EQ(Device().textures[1], nullptr);

    // Null and textures of no key are left alone.
    manager->ReleaseTexture(nullptr);
    KeystrelEngine::Image image;
    image.MakeCheckerboard(&services.log);
    std::unique_ptr<Texture2D> stranger(render->CreateTexture2D("stranger", image, false));
    manager->ReleaseTexture(stranger.get());
    EXPECT_EQ(stranger->GetReferenceCount(), 1u);
}

TEST_F(TextureManagerTest, AMissingPictureGivesTheCheckerboardUnderTheRequestedKey)
{
    Texture2D* texture = manager->GetTexture("Models\\Missing.JPG", "", 0);
    EXPECT_EQ(texture->GetName(), "diffuse_data\\models\\missing.jpg");
    EXPECT_EQ(Errors().size(), 1u);
    EXPECT_TRUE(Warnings().empty());
    const TextureLevel level = Levels(texture)[0];
    ASSERT_EQ(level.width, 64u);
    ASSERT_EQ(level.height, 64u);
    EXPECT_EQ(level.At(0, 0) & 0xFFFFFF, 0xFFFF00u);
    EXPECT_EQ(level.At(8, 0) & 0xFFFFFF, 0u);
    EXPECT_EQ(level.At(8, 8) & 0xFFFFFF, 0xFFFF00u);
}

TEST_F(TextureManagerTest, PicturesOfOtherSizesAreWarnedAboutAndResampled)
{
    WriteFlatPicture("odd.tga", 100, 90, 24, {10, 20, 30, 255});
    Texture2D* texture = manager->GetTexture("odd.tga", "", 0);
    EXPECT_EQ(WarningTexts(),
              std::vector<std::string>{"Texture Manager: \"data\\odd.tga\" image size should be power of two"});
    EXPECT_EQ(texture->GetWidth(), 128u);
    EXPECT_EQ(texture->GetHeight(), 64u);
    EXPECT_EQ(Levels(texture)[0].At(127, 63) & 0xFFFFFF, 0x0A141Eu);
}

TEST_F(TextureManagerTest, AnOpacityPictureBecomesTheAlphaChannel)
{
    WriteFlatPicture("leaf.tga", 4, 4, 24, {0, 200, 0, 255});
    WritePicture("leaf_alpha.tga", 4, 4, 24, [](std::uint32_t x, std::uint32_t) -> RenderTesting::Rgba {
        return {0, 0, static_cast<std::uint8_t>(x < 2 ? 0 : 255), 255};
    });
    Texture2D* texture = manager->GetTexture("leaf.tga", "leaf_alpha.tga", TextureManager::kUseOpacity);
    TextureLevel level = Levels(texture)[0];
    EXPECT_EQ(level.format.dwRGBAlphaBitMask, 0xFF000000u);
    EXPECT_EQ(level.At(0, 0), 0x0000C800u);
    EXPECT_EQ(level.At(3, 0), 0xFF00C800u);
    EXPECT_TRUE(Warnings().empty());

    // The same name takes the alpha from the picture's own third byte.
    WriteFlatPicture("glass.tga", 2, 2, 24, {10, 20, 99, 255});
    level = Levels(manager->GetTexture("glass.tga", "GLASS.tga", TextureManager::kUseOpacity))[0];
    EXPECT_EQ(level.At(0, 0), 0x630A1463u);
}

TEST_F(TextureManagerTest, OpacityPicturesOfAnotherSizeOrForADeepPictureAreWarnedAbout)
{
    WriteFlatPicture("deep.tga", 4, 4, 32, {10, 20, 30, 40});
    WriteFlatPicture("small_alpha.tga", 2, 3, 24, {0, 0, 255, 255});
    Texture2D* texture = manager->GetTexture("deep.tga", "small_alpha.tga", TextureManager::kUseOpacity);
    const std::vector<std::string> expected = {
        "Texture Manager: \"data\\deep.tga\" image color depth should be 24 bit",
        "Texture Manager: \"data\\small_alpha.tga\" image size should be power of two",
        "Texture Manager: \"data\\small_alpha.tga\" image size should be the same as \"data\\deep.tga\""};
    EXPECT_EQ(WarningTexts(), expected);
    // The opacity is scaled to the picture.
    EXPECT_EQ(Levels(texture)[0].At(3, 3), 0xFF0A141Eu);

    // A missing opacity picture leaves the texture without alpha.
    WriteFlatPicture("bark.tga", 2, 2, 24, {10, 20, 30, 255});
    const TextureLevel level =
        Levels(manager->GetTexture("bark.tga", "missing_alpha.tga", TextureManager::kUseOpacity))[0];
    EXPECT_EQ(level.format.dwRGBAlphaBitMask, 0u);
    EXPECT_EQ(Errors().size(), 1u);
}

TEST_F(TextureManagerTest, StatisticsSumTheMemoryAndListTheTexturesInKeyOrder)
{
    WriteFlatPicture("b.tga", 4, 4, 24, {1, 2, 3, 255});
    WriteFlatPicture("a.tga", 2, 2, 32, {1, 2, 3, 4});
    Texture2D* b = manager->GetTexture("b.tga", "", TextureManager::kMipMapping);
    Texture2D* a = manager->GetTexture("a.tga", "", 0);
    EXPECT_EQ(manager->GetUsedMemorySize(), 3u * (16 + 4 + 1) + 4u * 4);
    std::vector<Texture2D*> loaded = {nullptr};
    manager->GetLoadedTextures(loaded);
    EXPECT_EQ(loaded, (std::vector<Texture2D*>{a, b}));

    // The manager deletes what it still holds, whatever the counts.
    manager->GetTexture("a.tga", "", 0);
    render->SetTexture(0, a);
    manager.reset();
    EXPECT_EQ(render->GetTexture(0), nullptr);
    EXPECT_TRUE(Errors().empty());
}

} // namespace
