#include "ImageFixture.h"

#include "tests/support/ImageFiles.h"

#include <cstdlib>

using namespace KeystrelEngine;
using TestSupport::Bytes;

namespace ImageTesting {
namespace {

class ImageCodecs : public ImageFixture
{
protected:
    // Saves image under name, loads it back and returns the loaded image.
    Image RoundTrip(const Image& image, const std::string& name)
    {
        EXPECT_TRUE(Image::Save(image, name, &m_files));
        Image loaded;
        EXPECT_TRUE(Image::Load(&m_files, name, loaded, &m_log));
        EXPECT_TRUE(Errors().empty());
        return loaded;
    }

    Image LoadWritten(const std::string& name, const Bytes& bytes)
    {
        TestSupport::WriteFile(PathOf(name), bytes);
        Image image;
        EXPECT_TRUE(Image::Load(&m_files, name, image, &m_log)) << name;
        return image;
    }

    // A smooth picture (up to 40 x 24) that JPEG keeps within a few steps per channel.
    Image MakeGradient(std::uint32_t width, std::uint32_t height, std::uint32_t bits)
    {
        Image image;
        image.Create(&m_log, width, height, bits);
        const std::uint32_t bytes = image.GetBytesPerPixel();
        for (std::uint32_t y = 0; y < height; ++y) {
            for (std::uint32_t x = 0; x < width; ++x) {
                std::uint8_t* pixel = image.GetRow(y) + x * bytes;
                for (std::uint32_t c = 0; c < bytes; ++c)
                    pixel[c] = static_cast<std::uint8_t>(c == 3 ? 77 : 40 + x * 2 + y * 3 + c * 30);
            }
        }
        return image;
    }

    static void ExpectClose(const Image& a, const Image& b, int tolerance)
    {
        ASSERT_EQ(a.GetByteCount(), b.GetByteCount());
        int worst = 0;
        for (std::size_t i = 0; i < a.GetByteCount(); ++i)
            worst = std::max(worst, std::abs(a.GetPixels()[i] - b.GetPixels()[i]));
        EXPECT_LE(worst, tolerance);
    }
};

TEST_F(ImageCodecs, BMPRowsArePaddedToFourBytes)
{
    const Image image = MakePattern(3, 2, 24);
    ASSERT_TRUE(Image::SaveBMP(image, "narrow.bmp", &m_files));
    const Bytes file = TestSupport::ReadFile(PathOf("narrow.bmp"));
    ASSERT_EQ(file.size(), 54u + 12u * 2u);
    EXPECT_EQ(file[2], 54 + 24);
    // First stored row is the bottom row, blue first, then three zero bytes.
    EXPECT_EQ(file[54], image.GetPixels()[2]);
    EXPECT_EQ(file[56], image.GetPixels()[0]);
    EXPECT_EQ((Bytes{file[63], file[64], file[65]}), (Bytes{0, 0, 0}));

    Image loaded;
    ASSERT_TRUE(Image::Load(&m_files, "narrow.bmp", loaded, &m_log));
    EXPECT_EQ(BytesOf(loaded), BytesOf(image));
}

TEST_F(ImageCodecs, BMPRoundTripsKeepDepthAndAlpha)
{
    const Image withAlpha = MakePattern(5, 3, 32);
    const Image loaded = RoundTrip(withAlpha, "alpha.bmp");
    EXPECT_EQ(loaded.GetBitsPerPixel(), 32u);
    EXPECT_EQ(BytesOf(loaded), BytesOf(withAlpha));

    // 8-bit images are written with a grey palette and read back as grey colour.
    const Image grey = MakeImage(3, 1, 8, {0, 128, 255});
    const Image colour = RoundTrip(grey, "grey.bmp");
    EXPECT_EQ(colour.GetBitsPerPixel(), 24u);
    EXPECT_EQ(BytesOf(colour), (Bytes{0, 0, 0, 128, 128, 128, 255, 255, 255}));
}

TEST_F(ImageCodecs, BMPReaderHonoursOffsetRowOrderAndPalette)
{
    // Two rows of two pixels, stored bottom row first, blue-green-red.
    const Bytes bottomUp = TestSupport::PadRows({3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10}, 6);
    TestSupport::BMPFile file(2, 2, bottomUp);
    file.gap = 10;
    const Image expected = LoadWritten("up.bmp", file.Build());
    EXPECT_EQ(BytesOf(expected), (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));

    // A negative height stores the top row first.
    file.height = -2;
    file.rows = TestSupport::PadRows({9, 8, 7, 12, 11, 10, 3, 2, 1, 6, 5, 4}, 6);
    EXPECT_EQ(BytesOf(LoadWritten("down.bmp", file.Build())), BytesOf(expected));

    // 8 bits: indices into a palette of blue-green-red-reserved entries, as many as the header says.
    TestSupport::BMPFile indexed(3, 1, TestSupport::PadRows({1, 0, 1}, 3));
    indexed.bitCount = 8;
    indexed.coloursUsed = 2;
    indexed.palette = {30, 20, 10, 0, 60, 50, 40, 0};
    EXPECT_EQ(BytesOf(LoadWritten("indexed.bmp", indexed.Build())), (Bytes{40, 50, 60, 10, 20, 30, 40, 50, 60}));
}

TEST_F(ImageCodecs, TGARoundTripsAtEveryDepth)
{
    for (std::uint32_t bits : {8u, 24u, 32u}) {
        const Image image = MakePattern(5, 3, bits);
        const Image loaded = RoundTrip(image, "round" + std::to_string(bits) + ".tga");
        EXPECT_EQ(loaded.GetBitsPerPixel(), bits);
        EXPECT_EQ(BytesOf(loaded), BytesOf(image));
    }
    // The writer stores the top row first and says so.
    const Bytes file = TestSupport::ReadFile(PathOf("round24.tga"));
    EXPECT_EQ(file[17], 0x20);
}

TEST_F(ImageCodecs, TGATopDownEqualsBottomUp)
{
    TestSupport::TGAFile file(1, 2, 24, {3, 2, 1, 6, 5, 4});
    const Image bottomUp = LoadWritten("up.tga", file.Build());
    EXPECT_EQ(BytesOf(bottomUp), (Bytes{1, 2, 3, 4, 5, 6}));

    file.descriptor = 0x20;
    file.data = {6, 5, 4, 3, 2, 1};
    file.identification = {'i', 'd'};
    file.colourMapLength = 4;
    file.colourMapEntrySize = 24;
    EXPECT_EQ(BytesOf(LoadWritten("down.tga", file.Build())), BytesOf(bottomUp));
}

TEST_F(ImageCodecs, TGARunLengthPacketsExpand)
{
    // A run of three red pixels, then two raw pixels; the last run is cut where the picture is full.
    TestSupport::TGAFile file(3, 2, 24, {0x82, 0, 0, 255, 0x01, 1, 2, 3, 4, 5, 6, 0x85, 9, 9, 9});
    file.imageType = 10;
    file.descriptor = 0x20;
    const Image image = LoadWritten("packed.tga", file.Build());
    EXPECT_EQ(BytesOf(image), (Bytes{3, 2, 1, 6, 5, 4, 9, 9, 9, 255, 0, 0, 255, 0, 0, 255, 0, 0}));
}

TEST_F(ImageCodecs, TGASixteenBitPixelsExpandToThirtyTwo)
{
    const std::uint16_t red = 0x8000 | (31 << 10), clearBlue = 0x0010;
    const TestSupport::TGAFile file(
        2, 1, 16, {static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(red >> 8), clearBlue, 0});
    const Image image = LoadWritten("sixteen.tga", file.Build());
    EXPECT_EQ(image.GetBitsPerPixel(), 32u);
    EXPECT_EQ(BytesOf(image), (Bytes{248, 0, 0, 255, 0, 0, 128, 0}));
}

TEST_F(ImageCodecs, JPEGRoundTripsColourAndGrey)
{
    const Image colour = MakeGradient(40, 24, 24);
    const Image loaded = RoundTrip(colour, "photo.jpg");
    EXPECT_EQ(loaded.GetBitsPerPixel(), 24u);
    ExpectClose(loaded, colour, 12);

    const Image grey = MakeGradient(17, 9, 8);
    const Image greyLoaded = RoundTrip(grey, "grey.jpeg");
    EXPECT_EQ(greyLoaded.GetBitsPerPixel(), 8u);
    ExpectClose(greyLoaded, grey, 8);
}

TEST_F(ImageCodecs, JPEGOfAThirtyTwoBitImageDropsOnlyTheFileAlpha)
{
    const Image image = MakeGradient(16, 16, 32);
    const Bytes before = BytesOf(image);
    const Image loaded = RoundTrip(image, "alpha.jpg");
    EXPECT_EQ(loaded.GetBitsPerPixel(), 24u);
    EXPECT_EQ(BytesOf(image), before);
    Image withoutAlpha;
    image.ConvertBitsPerPixel(24, withoutAlpha);
    ExpectClose(loaded, withoutAlpha, 12);
}

TEST_F(ImageCodecs, JPEGWithoutItsEndMarkerStillLoads)
{
    const Image image = MakeGradient(16, 16, 24);
    ASSERT_TRUE(Image::Save(image, "whole.jpg", &m_files));
    Bytes file = TestSupport::ReadFile(PathOf("whole.jpg"));
    ASSERT_EQ((Bytes{file[file.size() - 2], file.back()}), (Bytes{0xFF, 0xD9}));
    file.resize(file.size() - 2);
    const Image loaded = LoadWritten("unended.jpg", file);
    ExpectClose(loaded, image, 12);
    EXPECT_TRUE(Errors().empty());
}

TEST_F(ImageCodecs, JPEGWriterTurnsNamesIntoPaths)
{
    const Image image = MakeGradient(8, 8, 24);
    ASSERT_TRUE(Image::Save(image, "shots\\Sub\\first.jpg", &m_files));
    EXPECT_TRUE(TestSupport::FileExists(PathOf("shots/Sub/first.jpg")));

    const std::string absolute = TestSupport::BaseFolder() + "/absolute/second.jpg";
    ASSERT_TRUE(Image::Save(image, absolute, &m_files));
    EXPECT_TRUE(TestSupport::FileExists(absolute));
    Image loaded;
    EXPECT_TRUE(Image::Load(&m_files, absolute, loaded, &m_log));
}

TEST_F(ImageCodecs, ExtensionChoosesTheCodecWithoutRegardToCase)
{
    const Image image = MakeGradient(8, 8, 24);
    ASSERT_TRUE(Image::Save(image, "photo.JPG", &m_files));
    Image loaded;
    EXPECT_TRUE(Image::Load(&m_files, "photo.JPG", loaded, &m_log));
    ASSERT_TRUE(Image::Save(image, "upper.BMP", &m_files));
    EXPECT_EQ(TestSupport::ReadFile(PathOf("upper.BMP"))[0], 'B');
    EXPECT_TRUE(Errors().empty());

    // Only the text after the first dot counts.
    EXPECT_FALSE(Image::Load(&m_files, "a.b.bmp", loaded, &m_log));
    EXPECT_TRUE(LoggedOneError("Unknown \"a.b.bmp\" image file type"));
    m_log.m_history.clear();
    EXPECT_FALSE(Image::Save(image, "photo.png", &m_files));
    EXPECT_TRUE(LoggedOneError("Unknown \"photo.png\" image file type"));
    EXPECT_FALSE(TestSupport::FileExists(PathOf("photo.png")));
    m_log.m_history.clear();
    EXPECT_FALSE(Image::Load(&m_files, "noextension", loaded, &m_log));
    EXPECT_TRUE(LoggedOneError("Unknown \"noextension\" image file type"));
}

} // namespace
} // namespace ImageTesting
