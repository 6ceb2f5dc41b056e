// The art kit's pictures: power-of-two sizes only, anti-aliased shapes, grid frames in the engine's order, blurs
// that keep colours, and noise that is the same on every run and tiles when asked.
#include "tools/content/art/Picture.h"

#include <cmath>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace Content;

namespace {

const Color kRed{1.0f, 0.0f, 0.0f, 1.0f};

bool Equal(const Picture& a, const Picture& b)
{
    for (std::uint32_t y = 0; y < a.Height(); ++y) {
        for (std::uint32_t x = 0; x < a.Width(); ++x) {
            const Color &p = a.At(x, y), &q = b.At(x, y);
            if (p.r != q.r || p.g != q.g || p.b != q.b || p.a != q.a)
                return false;
        }
    }
    return true;
}

} // namespace

TEST(ArtPicture, SidesMustBePowersOfTwo)
{
    for (const auto& [width, height] : {std::pair{0u, 8u}, {8u, 0u}, {12u, 16u}, {16u, 800u}, {8192u, 8u}})
        EXPECT_THROW(Picture(width, height), std::invalid_argument) << width << " x " << height;
    EXPECT_NO_THROW(Picture(1, 4096));
    // A grid of three 32-pixel columns would be 96 wide.
    EXPECT_THROW(Picture::Grid({Picture(32, 32)}, 3, 1), std::invalid_argument);
}

TEST(ArtPicture, ShapesCoverTheirPixelsWithSoftenedEdges)
{
    Picture picture(64, 64);
    picture.Draw(Shape::Polygon({{8, 8}, {40, 8}, {40, 40.5f}, {8, 40.5f}}), kRed);
    EXPECT_EQ(picture.At(20, 20).a, 1.0f);
    EXPECT_EQ(picture.At(20, 20).r, 1.0f);
    EXPECT_NEAR(picture.At(20, 40).a, 0.5f, 1e-4f); // the edge runs through the pixel's centre
    EXPECT_EQ(picture.At(20, 42).a, 0.0f);
    EXPECT_EQ(picture.At(50, 20).a, 0.0f);

    // A border drawn over a fill changes only the band; a cut clears its pixels.
    picture.Draw(Shape::RoundedRect({8, 8, 32, 32.5f}, 6.0f).Stroke(2.0f), Color{0, 0, 1, 1});
    EXPECT_EQ(picture.At(20, 20).r, 1.0f);
    EXPECT_EQ(picture.At(8, 20).b, 1.0f);
    picture.Cut(Shape::Circle({20.5f, 20.5f}, 3.0f));
    EXPECT_EQ(picture.At(20, 20).a, 0.0f);

    // A soft circle falls off over its edge band; half-transparent paint lays half its colour over what is there.
    Picture soft(64, 64, {0, 0, 1, 1});
    soft.Draw(Shape::Circle({32.5f, 32.5f}, 16.0f).Soft(8.0f), Color{1, 0, 0, 0.5f});
    EXPECT_NEAR(soft.At(32, 32).r, 0.5f, 1e-5f);
    EXPECT_NEAR(soft.At(32, 32).b, 0.5f, 1e-5f);
    EXPECT_NEAR(soft.At(32, 32 + 16).r, 0.25f, 1e-4f);
    EXPECT_EQ(soft.At(32, 32 + 21).r, 0.0f);
}

TEST(ArtPicture, GridFramesRunFromTheTopRowLeftToRight)
{
    std::vector<Picture> frames;
    for (int k = 0; k < 6; ++k)
        frames.emplace_back(16, 16, Color{static_cast<float>(k) / 10.0f, 0.0f, 0.0f, 1.0f});
    const Picture grid = Picture::Grid(frames, 4, 2);
    ASSERT_EQ(grid.Width(), 64u);
    ASSERT_EQ(grid.Height(), 32u);
    // Row 0 is the picture's bottom: frames 0-3 lie in the upper half.
    for (std::uint32_t k = 0; k < 6; ++k) {
        const Color& cell = grid.At((k % 4) * 16 + 8, (1 - k / 4) * 16 + 8);
        EXPECT_FLOAT_EQ(cell.r, static_cast<float>(k) / 10.0f) << "frame " << k;
        EXPECT_EQ(cell.a, 1.0f);
    }
    EXPECT_EQ(grid.At(2 * 16 + 8, 8).a, 0.0f); // cells past the last frame stay clear
    EXPECT_THROW(Picture::Grid({Picture(16, 16), Picture(16, 32)}, 2, 1), std::invalid_argument);
    EXPECT_THROW(Picture::Grid(frames, 2, 2), std::invalid_argument);
}

TEST(ArtPicture, BlurSpreadsAlphaButKeepsColours)
{
    Picture picture(32, 32, {0, 0, 0, 0});
    picture.Draw(Shape::Circle({16, 16}, 4.0f), kRed);
    float before = 0.0f;
    for (std::uint32_t y = 0; y < 32; ++y) {
        for (std::uint32_t x = 0; x < 32; ++x)
            before += picture.At(x, y).a;
    }
    picture.Blur(4.0f);
    float after = 0.0f;
    for (std::uint32_t y = 0; y < 32; ++y) {
        for (std::uint32_t x = 0; x < 32; ++x) {
            const Color& pixel = picture.At(x, y);
            after += pixel.a;
            if (pixel.a > 0.0f) {
                EXPECT_NEAR(pixel.r, 1.0f, 1e-4f) << x << ", " << y; // no black fringe from the clear pixels
            }
        }
    }
    EXPECT_NEAR(after, before, 0.01f * before);
    EXPECT_LT(picture.At(16, 16).a, 1.0f);
    EXPECT_GT(picture.At(16, 24).a, 0.0f);
}

TEST(ArtPicture, NoiseRepeatsItsSeedAndTilesOverItsPeriod)
{
    const auto painted = [](std::uint32_t seed) {
        Picture picture(32, 32);
        picture.Fill(Paint::Noise(ValueNoise(seed, 4), 8.0f, 3, {{0.0f, {0, 0, 0, 1}}, {1.0f, {1, 1, 1, 1}}}));
        return picture;
    };
    EXPECT_TRUE(Equal(painted(3), painted(3)));
    EXPECT_FALSE(Equal(painted(3), painted(4)));

    const ValueNoise tiled(11, 5);
    float low = 1.0f, high = 0.0f;
    for (float x = 0.0f; x < 5.0f; x += 0.37f) {
        for (float y = 0.0f; y < 5.0f; y += 0.41f) {
            EXPECT_NEAR(tiled.Fbm(x, y, 4), tiled.Fbm(x + 5.0f, y - 10.0f, 4), 1e-5f);
            low = std::min(low, tiled.Value(x, y));
            high = std::max(high, tiled.Value(x, y));
        }
    }
    EXPECT_GE(low, 0.0f);
    EXPECT_LE(high, 1.0f);
    EXPECT_GT(high - low, 0.5f);
}
