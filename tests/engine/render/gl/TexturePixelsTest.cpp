// Real pixels of textured drawing: where a texture's rows land, the stage cascade, the texture matrix, mip
// filters, formats with and without alpha, textures made on another thread, and a saved picture of a textured
// scene.
#include "engine/render/Texture2D.h"
#include "tests/engine/render/gl/PixelFixture.h"

#include <array>
#include <thread>

using KeystrelEngine::Image;
using KeystrelEngine::RenderSystem;
using KeystrelEngine::Texture2D;
using RenderTesting::Rectangle;
using RenderTesting::RectangleIndices;
using RenderTesting::Vertex;

namespace {

class TexturePixels : public RenderTesting::PixelFixture
{
protected:
    // A picture from rows of red, green, blue (, alpha) pixels, the bottom row first.
    Image Picture(std::uint32_t width, std::uint32_t bits, const std::vector<std::vector<std::uint8_t>>& pixels)
    {
        Image image;
        const auto height = static_cast<std::uint32_t>(pixels.size() / width);
        image.Create(&services.log, width, height, bits);
        std::uint8_t* out = image.GetPixels();
        for (const std::vector<std::uint8_t>& pixel : pixels)
            out = std::copy(pixel.begin(), pixel.end(), out);
        return image;
    }

    Image Flat(std::uint8_t red, std::uint8_t green, std::uint8_t blue) { return Picture(1, 24, {{red, green, blue}}); }

    // Bottom row red, green; top row blue, white.
    Image FourColours() { return Picture(2, 24, {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}}); }

    std::unique_ptr<Texture2D> Make(const Image& image, bool mipMapped = false)
    {
        return std::unique_ptr<Texture2D>(render->CreateTexture2D("texture", image, mipMapped));
    }

    void DrawScreen(std::uint32_t colour = 0)
    {
        render->BeginScene();
        Draw(Rectangle(-1, -1, 1, 1, -0.5f, colour), RectangleIndices(), colour != 0);
        render->EndScene();
    }

    // The colours at the centres of the screen's quarters: bottom left, bottom right, top left, top right.
    std::vector<std::vector<int>> Quarters()
    {
        const Image image = Grab();
        return {At(image, 160, 360), At(image, 480, 360), At(image, 160, 120), At(image, 480, 120)};
    }
};

TEST_F(TexturePixels, APointFilteredTextureMapsItsBottomPictureRowToVZero)
{
    const auto texture = Make(FourColours());
    render->SetTexture(0, texture.get());
    render->SetTextureFilter(0, 0);
    DrawScreen();
    const std::vector<std::vector<int>> expected = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    EXPECT_EQ(Quarters(), expected);
}

TEST_F(TexturePixels, TheSecondStageModulatesTheFirst)
{
    const auto first = Make(Flat(200, 100, 50));
    const auto second = Make(Picture(2, 24, {{128, 255, 128}, {255, 0, 255}}));
    render->SetTexture(0, first.get());
    render->SetTexture(1, second.get());
    render->SetTextureFilter(1, 0);
    render->SetTextureAdressU(1, 0);
    DrawScreen();
    const std::vector<std::vector<int>> quarters = Quarters();
    ExpectNear(quarters[0], {100, 100, 25});
    ExpectNear(quarters[1], {200, 0, 50});
}

TEST_F(TexturePixels, AnEmptyStagePassesTheColourOn)
{
    const auto texture = Make(Flat(100, 200, 255));
    // Only the second stage has a texture: it modulates the vertex colour.
    render->SetTexture(1, texture.get());
    render->BeginScene();
    Draw(Rectangle(-1, -1, 0, 1, -0.5f, 0xFF808080), RectangleIndices(), true);
    render->EndScene();
    ExpectNear(At(Grab(), 160, 240), {50, 100, 128});

    // Only the first: the empty second stage keeps its result.
    render->SetTexture(1, nullptr);
    render->SetTexture(0, texture.get());
    DrawScreen();
    ExpectNear(At(Grab(), 480, 240), {100, 200, 255});

    // No texture at all: the vertex colour.
    render->SetTexture(0, nullptr);
    DrawScreen(0xFF336699);
    ExpectNear(At(Grab(), 320, 240), {0x33, 0x66, 0x99}, 0);
}

TEST_F(TexturePixels, TheTextureMatrixScalesAndOffsetsTheCoordinates)
{
    const auto texture = Make(FourColours());
    render->SetTexture(0, texture.get());
    render->SetTextureFilter(0, 0);
    // Half of each coordinate, moved by a half: the top right texel everywhere.
    render->SetTextureMatrix(0, 0.5f, 0.5f, 0.5f, 0.5f);
    DrawScreen();
    const std::vector<std::vector<int>> white(4, {255, 255, 255});
    EXPECT_EQ(Quarters(), white);

    // Twice u, wrapped: the bottom row's two texels twice across the screen.
    render->SetTextureMatrix(0, 2.0f, 1.0f, 0.0f, 0.0f);
    DrawScreen();
    const Image image = Grab();
    EXPECT_EQ(At(image, 80, 400), (std::vector<int>{255, 0, 0}));
    EXPECT_EQ(At(image, 240, 400), (std::vector<int>{0, 255, 0}));
    EXPECT_EQ(At(image, 400, 400), (std::vector<int>{255, 0, 0}));
    EXPECT_EQ(At(image, 560, 400), (std::vector<int>{0, 255, 0}));
}

TEST_F(TexturePixels, AMipFilterDrawsATextureWithOrWithoutMipLevels)
{
    const auto single = Make(Picture(2, 24, {{10, 200, 30}, {10, 200, 30}, {10, 200, 30}, {10, 200, 30}}));
    render->SetTexture(0, single.get());
    render->SetTextureFilter(0, 2);
    DrawScreen();
    ExpectNear(At(Grab(), 320, 240), {10, 200, 30});

    // A large picture drawn small reads its smaller levels.
    Image large;
    large.Create(&services.log, 256, 256, 24);
    large.Fill({0.4f, 0.2f, 0.8f, 1.0f});
    const auto chain = Make(large, true);
    render->SetTexture(0, chain.get());
    render->BeginScene();
    Draw(Rectangle(-0.05f, -0.05f, 0.05f, 0.05f, -0.5f), RectangleIndices(), false);
    render->EndScene();
    ExpectNear(At(Grab(), 320, 240), {102, 51, 204});
}

TEST_F(TexturePixels, AFormatWithoutAlphaIsOpaqueUnderAlphaBlending)
{
    render->m_clearColor = {0.0f, 0.0f, 1.0f, 1.0f};
    render->SetAlphaBlend(true);
    render->SetBlend(4, 5);
    const auto opaque = Make(Flat(255, 0, 0));
    render->SetTexture(0, opaque.get());
    DrawScreen();
    ExpectNear(At(Grab(), 320, 240), {255, 0, 0});

    // A picture with alpha blends by it.
    const auto translucent = Make(Picture(1, 32, {{255, 0, 0, 64}}));
    render->SetTexture(0, translucent.get());
    DrawScreen();
    ExpectNear(At(Grab(), 320, 240), {64, 0, 191});
}

TEST_F(TexturePixels, TexturesInEveryOfferedFormatDrawTheirColours)
{
    const std::vector<DDPIXELFORMAT> defaults = PlatformTesting::DefaultTextureFormats();
    // Sixteen bits with and without alpha, and a byte order GL gets converted.
    const std::vector<std::vector<DDPIXELFORMAT>> offers = {
        {defaults[2], defaults[3]},
        {PlatformTesting::RgbTextureFormat(32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000),
         PlatformTesting::RgbTextureFormat(32, 0xFF, 0xFF00, 0xFF0000, 0)}};
    for (const std::vector<DDPIXELFORMAT>& formats : offers) {
        PlatformTesting::SetDisplayDrivers(RenderTesting::DriversWithFormats(formats));
        Create();
        render->m_clearColor = {0.0f, 0.0f, 0.0f, 1.0f};
        render->SetAlphaBlend(true);
        render->SetBlend(4, 5);
        const auto opaque = Make(Flat(255, 128, 0));
        const auto translucent = Make(Picture(1, 32, {{0, 255, 255, 0}}));
        render->BeginScene();
        render->SetTexture(0, opaque.get());
        Draw(Rectangle(-1, -1, 0, 1, -0.5f), RectangleIndices(), false);
        render->SetTexture(0, translucent.get());
        Draw(Rectangle(0, -1, 1, 1, -0.5f), RectangleIndices(), false);
        render->EndScene();
        const Image image = Grab();
        ExpectNear(At(image, 160, 240), {255, 128, 0}, 8);
        ExpectNear(At(image, 480, 240), {0, 0, 0}, 0);
    }
}

TEST_F(TexturePixels, TexturesComeBackAfterADeviceReset)
{
    const auto texture = Make(FourColours(), true);
    render->SetTexture(0, texture.get());
    DrawScreen();
    services.config.v_mode = "800x600x32";
    render->CheckModeChange();
    render->Reset(RenderSystem::kResetDevice | RenderSystem::kResetTextures);
    render->SetTexture(0, texture.get());
    render->SetTextureFilter(0, 0);
    DrawScreen();
    const Image image = Grab();
    ASSERT_EQ(image.GetWidth(), 800u);
    EXPECT_EQ(At(image, 100, 500), (std::vector<int>{255, 0, 0}));
    EXPECT_EQ(At(image, 700, 100), (std::vector<int>{255, 255, 255}));
}

TEST_F(TexturePixels, TexturesMadeAndReleasedOnAnotherThreadDrawOnThisOne)
{
    std::unique_ptr<Texture2D> texture;
    std::thread([&] { texture = Make(Flat(20, 40, 250)); }).join();
    render->SetTexture(0, texture.get());
    DrawScreen();
    ExpectNear(At(Grab(), 320, 240), {20, 40, 250});

    render->SetTexture(0, nullptr);
    std::thread([&] { texture.reset(); }).join();
    const auto next = Make(Flat(250, 40, 20));
    render->SetTexture(0, next.get());
    DrawScreen();
    ExpectNear(At(Grab(), 320, 240), {250, 40, 20});
}

// A quad through four corners (bottom left, bottom right, top right, top left) with texture coordinates from
// (0, 0) to (u, v).
std::vector<Vertex> Quad(const std::array<KeystrelEngine::Vector3, 4>& corners, float u, float v,
                         std::uint32_t colour = 0)
{
    return {{corners[0], {0, 0, 1}, colour, 0, 0},
            {corners[1], {0, 0, 1}, colour, u, 0},
            {corners[2], {0, 0, 1}, colour, u, v},
            {corners[3], {0, 0, 1}, colour, 0, v}};
}

// A perspective projection in the device's layout: 60 degrees high, 4:3, depth from 0.5 to 50.
KeystrelEngine::Matrix4 Perspective()
{
    const float ys = 1.7320508f;
    const float xs = ys * 0.75f;
    const float q = 50.0f / 49.5f;
    KeystrelEngine::Matrix4 matrix;
    matrix.m[0] = xs;
    matrix.m[5] = ys;
    matrix.m[10] = q;
    matrix.m[11] = 1.0f;
    matrix.m[14] = -q * 0.5f;
    matrix.m[15] = 0.0f;
    return matrix;
}

// A small textured scene, saved as a picture for people to look at: a mip-mapped tiled floor running into the
// distance, a striped back wall, and a round sprite blended by its alpha and tinted by its vertex colour.
TEST_F(TexturePixels, ATexturedSceneIsSavedAsAPicture)
{
    Image tiles;
    tiles.Create(&services.log, 64, 64, 24);
    for (std::uint32_t y = 0; y < 64; ++y) {
        for (std::uint32_t x = 0; x < 64; ++x) {
            const bool light = ((x / 32) + (y / 32)) % 2 == 0;
            const std::uint8_t pixel[3] = {static_cast<std::uint8_t>(light ? 220 : 90),
                                           static_cast<std::uint8_t>(light ? 200 : 70),
                                           static_cast<std::uint8_t>(light ? 160 : 60)};
            std::copy(std::begin(pixel), std::end(pixel), tiles.GetRow(y) + 3 * x);
        }
    }
    Image stripes;
    stripes.Create(&services.log, 64, 64, 24);
    for (std::uint32_t y = 0; y < 64; ++y) {
        for (std::uint32_t x = 0; x < 64; ++x) {
            std::uint8_t* pixel = stripes.GetRow(y) + 3 * x;
            pixel[0] = static_cast<std::uint8_t>((x / 8) % 2 ? 40 : 200);
            pixel[1] = static_cast<std::uint8_t>(60 + 2 * y);
            pixel[2] = static_cast<std::uint8_t>((x / 8) % 2 ? 160 : 60);
        }
    }
    Image sprite;
    sprite.Create(&services.log, 32, 32, 32);
    for (std::uint32_t y = 0; y < 32; ++y) {
        for (std::uint32_t x = 0; x < 32; ++x) {
            const float dx = (static_cast<float>(x) - 15.5f) / 16.0f;
            const float dy = (static_cast<float>(y) - 15.5f) / 16.0f;
            const float alpha = std::max(0.0f, 1.0f - (dx * dx + dy * dy));
            const std::uint8_t pixel[4] = {255, static_cast<std::uint8_t>(120 + 100 * alpha), 40,
                                           static_cast<std::uint8_t>(255 * alpha)};
            std::copy(std::begin(pixel), std::end(pixel), sprite.GetRow(y) + 4 * x);
        }
    }
    const auto floor = Make(tiles, true);
    const auto wall = Make(stripes);
    const auto glow = Make(sprite);
    render->m_clearColor = {0.1f, 0.12f, 0.2f, 1.0f};
    render->SetProjectionMatrix(Perspective());
    render->BeginScene();
    render->SetTexture(0, wall.get());
    Draw(Quad({{{-12, -1, -12}, {12, -1, -12}, {12, 7, -12}, {-12, 7, -12}}}, 6, 1), RectangleIndices(), false);
    render->SetTexture(0, floor.get());
    render->SetTextureFilter(0, 2);
    Draw(Quad({{{-4, -1, -1}, {4, -1, -1}, {4, -1, -12}, {-4, -1, -12}}}, 8, 11), RectangleIndices(), false);
    render->SetTexture(0, glow.get());
    render->SetTextureFilter(0, 1);
    render->SetTextureAdressU(0, 0);
    render->SetTextureAdressV(0, 0);
    render->SetAlphaBlend(true);
    render->SetBlend(4, 5);
    Draw(Quad({{{-0.6f, -0.4f, -3}, {0.6f, -0.4f, -3}, {0.6f, 0.8f, -3}, {-0.6f, 0.8f, -3}}}, 1, 1, 0xFFFFE0C0),
         RectangleIndices(), true);
    render->EndScene();
    const Image image = Grab();
    SavePicture(image, "textured_scene.bmp");

    // Light and dark floor tiles near the bottom, distant tiles mixed by the smaller levels, two wall stripes, the
    // sprite's tinted centre, and the clear colour beside the floor's far end.
    ExpectNear(At(image, 300, 470), {220, 200, 160}, 1);
    ExpectNear(At(image, 340, 470), {90, 70, 60}, 1);
    ExpectNear(At(image, 320, 290), {155, 135, 110}, 25);
    ExpectNear(At(image, 40, 150), {40, 116, 160}, 4);
    ExpectNear(At(image, 48, 150), {200, 116, 60}, 4);
    ExpectNear(At(image, 320, 216), {255, 193, 30}, 4);
    ExpectNear(At(image, 10, 280), {26, 31, 51}, 1);
}

} // namespace
