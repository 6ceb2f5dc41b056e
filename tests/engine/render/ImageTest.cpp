#include "ImageFixture.h"

using namespace KeystrelEngine;
using Pixel = std::vector<std::uint8_t>;

namespace ImageTesting {
namespace {

class ImageArithmetic : public ImageFixture
{
};

TEST_F(ImageArithmetic, FillWritesEveryPixelAtEachDepth)
{
    Image grey;
    grey.Create(&m_log, 3, 2, 8);
    grey.Fill({1, 1, 1, 1});
    EXPECT_EQ(BytesOf(grey), Pixel(6, 255));
    grey.Fill({0.5f, 0.5f, 0.5f, 1});
    EXPECT_EQ(BytesOf(grey), Pixel(6, 127));

    Image colour;
    colour.Create(&m_log, 2, 1, 24);
    colour.Fill({1, 0.5f, 0, 0.25f});
    EXPECT_EQ(BytesOf(colour), (Pixel{255, 127, 0, 255, 127, 0}));

    Image alpha;
    alpha.Create(&m_log, 1, 2, 32);
    alpha.Fill({0, 0.2f, 1, 0.25f});
    EXPECT_EQ(BytesOf(alpha), (Pixel{0, 51, 255, 63, 0, 51, 255, 63}));
}

TEST_F(ImageArithmetic, DepthConversionsFollowTheChannelRules)
{
    Image colour = MakeImage(2, 1, 24, {100, 50, 10, 255, 255, 255});
    Image grey;
    colour.ConvertBitsPerPixel(8, grey);
    EXPECT_EQ(BytesOf(grey), (Pixel{58, 255}));
    EXPECT_EQ(colour.GetBitsPerPixel(), 24u) << "a destination leaves the source alone";

    Image withAlpha;
    colour.ConvertBitsPerPixel(32, withAlpha);
    EXPECT_EQ(BytesOf(withAlpha), (Pixel{100, 50, 10, 255, 255, 255, 255, 255}));

    Image opacity = MakeImage(2, 1, 32, {1, 2, 3, 40, 5, 6, 7, 80});
    opacity.ConvertBitsPerPixel(8);
    EXPECT_EQ(opacity.GetBitsPerPixel(), 8u);
    EXPECT_EQ(BytesOf(opacity), (Pixel{40, 80}));

    Image dropped = MakeImage(1, 1, 32, {1, 2, 3, 4});
    dropped.ConvertBitsPerPixel(24);
    EXPECT_EQ(BytesOf(dropped), (Pixel{1, 2, 3}));

    Image widened = MakeImage(2, 1, 8, {9, 200});
    widened.ConvertBitsPerPixel(32);
    EXPECT_EQ(BytesOf(widened), (Pixel{9, 9, 9, 255, 200, 200, 200, 255}));

    Image same;
    colour.ConvertBitsPerPixel(24, same);
    EXPECT_EQ(BytesOf(same), BytesOf(colour));

    // The image itself as destination reads its pixels before it replaces them.
    colour.ConvertBitsPerPixel(32, colour);
    EXPECT_EQ(BytesOf(colour), (Pixel{100, 50, 10, 255, 255, 255, 255, 255}));
    colour.ConvertBitsPerPixel(32, colour);
    colour.CopyFrom(colour);
    EXPECT_EQ(BytesOf(colour), (Pixel{100, 50, 10, 255, 255, 255, 255, 255}));
}

TEST_F(ImageArithmetic, CheckerboardStartsYellowAtTheOrigin)
{
    Image board;
    board.MakeCheckerboard(&m_log);
    ASSERT_EQ(board.GetWidth(), 64u);
    ASSERT_EQ(board.GetHeight(), 64u);
    ASSERT_EQ(board.GetBitsPerPixel(), 24u);
    const Pixel yellow{255, 255, 0}, black{0, 0, 0};
    EXPECT_EQ(PixelAt(board, 0, 0), yellow);
    EXPECT_EQ(PixelAt(board, 7, 7), yellow);
    EXPECT_EQ(PixelAt(board, 8, 0), black);
    EXPECT_EQ(PixelAt(board, 0, 8), black);
    EXPECT_EQ(PixelAt(board, 8, 8), yellow);
    EXPECT_EQ(PixelAt(board, 63, 63), yellow);
    int yellowPixels = 0;
    for (std::uint32_t y = 0; y < 64; ++y) {
        for (std::uint32_t x = 0; x < 64; ++x)
            yellowPixels += PixelAt(board, x, y) == yellow;
    }
    EXPECT_EQ(yellowPixels, 32 * 64);
}

TEST_F(ImageArithmetic, FlipAndSwapReorderRowsAndChannels)
{
    Image image = MakeImage(1, 3, 24, {1, 2, 3, 4, 5, 6, 7, 8, 9});
    image.FlipVertical();
    EXPECT_EQ(BytesOf(image), (Pixel{7, 8, 9, 4, 5, 6, 1, 2, 3}));
    image.SwapRedBlue();
    EXPECT_EQ(BytesOf(image), (Pixel{9, 8, 7, 6, 5, 4, 3, 2, 1}));

    Image grey = MakeImage(3, 1, 8, {1, 2, 3});
    grey.SwapRedBlue();
    EXPECT_EQ(BytesOf(grey), (Pixel{1, 2, 3}));
}

TEST_F(ImageArithmetic, HalvingAveragesTwoByTwoBlocks)
{
    const Image source = MakeImage(2, 2, 8, {0, 1, 2, 3});
    Image half;
    Image::Resample(half, source, 1, 1, Image::FilterHalve);
    EXPECT_EQ(BytesOf(half), Pixel{2});

    // A source one pixel wide averages with itself.
    const Image column = MakeImage(1, 4, 24, {10, 0, 0, 20, 0, 0, 30, 0, 0, 41, 0, 0});
    Image::Resample(half, column, 1, 2, Image::FilterHalve);
    EXPECT_EQ(BytesOf(half), (Pixel{15, 0, 0, 36, 0, 0}));

    // Asking for more than half keeps the blocks inside the source.
    const Image odd = MakePattern(3, 3, 32);
    Image::Resample(half, odd, 2, 2, Image::FilterHalve);
    EXPECT_EQ(PixelAt(half, 1, 1), PixelAt(odd, 2, 2));
}

TEST_F(ImageArithmetic, BilinearResamplingStaysInsideTheSource)
{
    const Image source = MakePattern(5, 3, 24);
    Image same;
    Image::Resample(same, source, 5, 3, Image::FilterBilinear);
    EXPECT_EQ(BytesOf(same), BytesOf(source));

    const Image pair = MakeImage(2, 1, 8, {0, 200});
    Image wide;
    Image::Resample(wide, pair, 3, 1, Image::FilterBilinear);
    EXPECT_EQ(BytesOf(wide), (Pixel{0, 100, 200}));

    // The last output row steps back by 1/256 of a row.
    const Image rows = MakeImage(1, 2, 8, {0, 255});
    Image tall;
    Image::Resample(tall, rows, 1, 3, Image::FilterBilinear);
    EXPECT_EQ(BytesOf(tall), (Pixel{0, 127, 254}));

    // One-pixel sources and targets.
    const Image dot = MakeImage(1, 1, 32, {1, 2, 3, 4});
    Image spread;
    Image::Resample(spread, dot, 4, 3, Image::FilterBilinear);
    for (std::uint32_t y = 0; y < 3; ++y) {
        for (std::uint32_t x = 0; x < 4; ++x)
            EXPECT_EQ(PixelAt(spread, x, y), (Pixel{1, 2, 3, 4}));
    }
    Image single;
    Image::Resample(single, source, 1, 1, Image::FilterBilinear);
    EXPECT_EQ(PixelAt(single, 0, 0), PixelAt(source, 0, 0));
    Image line;
    Image::Resample(line, source, 7, 1, Image::FilterBilinear);
    EXPECT_EQ(PixelAt(line, 6, 0), PixelAt(source, 4, 0));
}

TEST_F(ImageArithmetic, ZeroSizedImagesResampleToEmptyOrBlack)
{
    const Image source = MakePattern(4, 4, 24);
    Image none;
    Image::Resample(none, source, 0, 0, Image::FilterBilinear);
    EXPECT_EQ(none.GetByteCount(), 0u);
    Image::Resample(none, source, 0, 3, Image::FilterHalve);
    EXPECT_EQ(none.GetByteCount(), 0u);

    Image empty;
    empty.Create(&m_log, 0, 0, 24);
    Image black;
    Image::Resample(black, empty, 2, 2, Image::FilterBilinear);
    EXPECT_EQ(BytesOf(black), Pixel(12, 0));
}

TEST_F(ImageArithmetic, CombineAlphaTakesTheOpacityChannel)
{
    Image target = MakeImage(2, 1, 24, {1, 2, 3, 4, 5, 6});
    Image::CombineAlpha(MakeImage(2, 1, 8, {70, 80}), target);
    EXPECT_EQ(target.GetBitsPerPixel(), 32u);
    EXPECT_EQ(BytesOf(target), (Pixel{1, 2, 3, 70, 4, 5, 6, 80}));

    Image::CombineAlpha(MakeImage(2, 1, 24, {0, 0, 11, 0, 0, 22}), target);
    EXPECT_EQ(BytesOf(target), (Pixel{1, 2, 3, 11, 4, 5, 6, 22}));

    Image::CombineAlpha(MakeImage(2, 1, 32, {0, 0, 0, 33, 0, 0, 0, 44}), target);
    EXPECT_EQ(BytesOf(target), (Pixel{1, 2, 3, 33, 4, 5, 6, 44}));

    // An opacity image of another size is scaled to the target first.
    Image::CombineAlpha(MakeImage(1, 1, 8, {99}), target);
    EXPECT_EQ(BytesOf(target), (Pixel{1, 2, 3, 99, 4, 5, 6, 99}));
}

TEST_F(ImageArithmetic, PasteClipsToTheDestination)
{
    Image destination;
    destination.Create(&m_log, 6, 6, 8);
    destination.Fill({0, 0, 0, 0});
    const Image square = MakeImage(4, 4, 8, Pixel(16, 9));

    square.Paste(destination, 4, 4);
    int painted = 0;
    for (std::uint8_t value : BytesOf(destination))
        painted += value == 9;
    EXPECT_EQ(painted, 4);
    EXPECT_EQ(PixelAt(destination, 5, 5), Pixel{9});
    EXPECT_EQ(PixelAt(destination, 3, 5), Pixel{0});

    destination.Fill({0, 0, 0, 0});
    square.Paste(destination, 6, 0);
    square.Paste(destination, 0, 6);
    square.Paste(destination, 0xFFFFFFFFu, 0xFFFFFFFFu);
    EXPECT_EQ(BytesOf(destination), Pixel(36, 0));

    // Rows of the source are taken whole, the destination's rows at its own width.
    const Image pattern = MakePattern(2, 2, 8);
    pattern.Paste(destination, 1, 1);
    EXPECT_EQ(PixelAt(destination, 1, 1), PixelAt(pattern, 0, 0));
    EXPECT_EQ(PixelAt(destination, 2, 2), PixelAt(pattern, 1, 1));

    // A source of another depth is converted first.
    const Image colour = MakeImage(1, 1, 24, {100, 50, 10});
    colour.Paste(destination, 0, 0);
    EXPECT_EQ(PixelAt(destination, 0, 0), Pixel{58});
}

} // namespace
} // namespace ImageTesting
