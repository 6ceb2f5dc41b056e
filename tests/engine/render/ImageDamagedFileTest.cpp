// Damaged and unsupported files: every reader answers false with an error line, never a crash, a read outside
// its buffers or an ended process (the sanitizer build runs these too).
#include "ImageFixture.h"

#include "engine/foundation/Random.h"
#include "tests/support/ImageFiles.h"

using namespace KeystrelEngine;
using TestSupport::Bytes;

namespace ImageTesting {
namespace {

class DamagedImages : public ImageFixture
{
protected:
    // Writes bytes as name and loads it; the result, with the error lines checked to be exactly one when false.
    bool Load(const std::string& name, const Bytes& bytes)
    {
        m_log.m_history.clear();
        TestSupport::WriteFile(PathOf(name), bytes);
        Image image;
        const bool loaded = Image::Load(&m_files, name, image, &m_log);
        if (loaded) {
            EXPECT_GT(image.GetByteCount(), 0u) << name;
        } else {
            EXPECT_EQ(Errors().size(), 1u) << name << " of " << bytes.size() << " bytes";
        }
        return loaded;
    }

    // Loading every shorter prefix of a valid file, from empty up to keep bytes short of the whole, fails.
    void ExpectTruncationsFail(const std::string& name, const Bytes& whole, std::size_t keep = 1)
    {
        ASSERT_TRUE(Load(name, whole));
        for (std::size_t size = 0; size + keep <= whole.size(); ++size)
            EXPECT_FALSE(Load(name, Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size))))
                << name << " cut to " << size << " bytes loaded";
    }

    // Seeded byte flips: whatever the result, the reader returns and reports failures.
    void FlipBytes(const std::string& name, const Bytes& whole, std::uint32_t seed, int maxFlips)
    {
        RandomSeed = seed;
        for (int variant = 0; variant < 300; ++variant) {
            Bytes damaged = whole;
            const std::uint32_t flips = 1 + RandomInt(static_cast<std::uint32_t>(maxFlips));
            for (std::uint32_t i = 0; i < flips; ++i)
                damaged[RandomInt(static_cast<std::uint32_t>(damaged.size()))] ^=
                    static_cast<std::uint8_t>(1 + RandomInt(255));
            Load(name, damaged);
        }
    }

    Bytes SavedFile(const Image& image, const std::string& name)
    {
        EXPECT_TRUE(Image::Save(image, name, &m_files));
        return TestSupport::ReadFile(PathOf(name));
    }
};

TEST_F(DamagedImages, EveryTruncatedBMPFails)
{
    ExpectTruncationsFail("cut24.bmp", SavedFile(MakePattern(5, 4, 24), "whole24.bmp"));
    ExpectTruncationsFail("cut8.bmp", SavedFile(MakePattern(3, 2, 8), "whole8.bmp"));
}

TEST_F(DamagedImages, EveryTruncatedTGAFails)
{
    ExpectTruncationsFail("cut.tga", SavedFile(MakePattern(5, 4, 32), "whole.tga"));
    TestSupport::TGAFile packed(4, 2, 24, {0x83, 1, 2, 3, 0x03, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    packed.imageType = 10;
    ExpectTruncationsFail("packed.tga", packed.Build());
}

TEST_F(DamagedImages, EveryTruncatedJPEGFails)
{
    // Only the final end-of-image marker may be missing (see the codec tests).
    ExpectTruncationsFail("cut.jpg", SavedFile(MakePattern(24, 16, 24), "whole.jpg"), 3);
}

TEST_F(DamagedImages, FlippedBytesNeverCrash)
{
    FlipBytes("flipped.bmp", SavedFile(MakePattern(9, 7, 24), "source.bmp"), 1, 3);
    FlipBytes("flipped8.bmp", SavedFile(MakePattern(9, 7, 8), "source8.bmp"), 2, 3);
    FlipBytes("flipped.tga", SavedFile(MakePattern(9, 7, 32), "source.tga"), 3, 3);
    TestSupport::TGAFile packed(
        5, 3, 24, {0x84, 1, 2, 3, 0x04, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0x84, 9, 9, 9});
    packed.imageType = 10;
    FlipBytes("flipped-packed.tga", packed.Build(), 4, 3);
    // One flip at a time: two could make a header claim a picture of gigabytes, which is legal JPEG.
    FlipBytes("flipped.jpg", SavedFile(MakePattern(32, 24, 24), "source.jpg"), 5, 1);
}

TEST_F(DamagedImages, BMPHeadersThatCannotBeReadAreRefused)
{
    const Bytes pixels = TestSupport::PadRows(Bytes(3 * 2 * 2, 50), 6);
    const TestSupport::BMPFile file(2, 2, pixels);
    ASSERT_TRUE(Load("good.bmp", file.Build()));

    Bytes notBMP = file.Build();
    notBMP[0] = 'X';
    EXPECT_FALSE(Load("other.bmp", notBMP));
    EXPECT_TRUE(LoggedOneError("Incorrect \"other.bmp\" file format"));

    for (std::uint16_t bits : {1, 4, 16}) {
        TestSupport::BMPFile odd = file;
        odd.bitCount = bits;
        EXPECT_FALSE(Load("odd.bmp", odd.Build()));
        EXPECT_TRUE(LoggedOneError("Unsupported \"odd.bmp\" file format"));
    }
    for (std::uint16_t bits : {8, 24, 32}) {
        TestSupport::BMPFile compressed = file;
        compressed.bitCount = bits;
        compressed.compression = bits == 8 ? 1 : 3;
        EXPECT_FALSE(Load("compressed.bmp", compressed.Build()));
        EXPECT_TRUE(LoggedOneError("Unsupported \"compressed.bmp\" file format"));
    }

    TestSupport::BMPFile empty = file;
    empty.width = 0;
    EXPECT_FALSE(Load("empty.bmp", empty.Build()));
    EXPECT_TRUE(LoggedOneError("Incorrect \"empty.bmp\" file format"));
    empty = file;
    empty.height = 0;
    EXPECT_FALSE(Load("flat.bmp", empty.Build()));
    EXPECT_TRUE(LoggedOneError("Incorrect \"flat.bmp\" file format"));

    // Sizes far beyond the file are refused before anything is allocated.
    TestSupport::BMPFile huge = file;
    huge.width = 0x7FFFFFFF;
    huge.height = -0x7FFFFFFF;
    EXPECT_FALSE(Load("huge.bmp", huge.Build()));
    EXPECT_TRUE(LoggedOneError("Incorrect \"huge.bmp\" file format"));
}

TEST_F(DamagedImages, TGAHeadersThatCannotBeReadAreRefused)
{
    const TestSupport::TGAFile file(2, 2, 24, Bytes(12, 7));
    ASSERT_TRUE(Load("good.tga", file.Build()));

    for (std::uint8_t depth : {1, 15, 48}) {
        TestSupport::TGAFile odd = file;
        odd.depth = depth;
        EXPECT_FALSE(Load("odd.tga", odd.Build()));
        EXPECT_TRUE(LoggedOneError("Unsupported \"odd.tga\" file format"));
    }

    TestSupport::TGAFile empty = file;
    empty.height = 0;
    EXPECT_FALSE(Load("empty.tga", empty.Build()));
    EXPECT_TRUE(LoggedOneError("Incorrect \"empty.tga\" file format"));

    Bytes skipTooFar = file.Build();
    skipTooFar[0] = 200; // an identification field longer than the file
    EXPECT_FALSE(Load("skip.tga", skipTooFar));
    EXPECT_TRUE(LoggedOneError("Incorrect \"skip.tga\" file format"));

    TestSupport::TGAFile large = file;
    large.imageType = 10;
    large.width = 0xFFFF;
    large.height = 0xFFFF;
    large.data = {0xFF, 1, 2, 3};
    EXPECT_FALSE(Load("large.tga", large.Build()));
    EXPECT_TRUE(LoggedOneError("Incorrect \"large.tga\" file format"));
}

TEST_F(DamagedImages, JPEGFailuresAreReportedNotFatal)
{
    EXPECT_FALSE(Load("text.jpg", TestSupport::ToBytes("this is no picture at all")));
    EXPECT_TRUE(LoggedOneError("Incorrect \"text.jpg\" file format: Not a JPEG file: starts with 0x74 0x68"));

    EXPECT_FALSE(Load("void.jpg", {}));
    // The source hands over an end-of-image marker for a file without bytes.
    EXPECT_TRUE(LoggedOneError("Incorrect \"void.jpg\" file format: Not a JPEG file: starts with 0xff 0xd9"));

    // Four components (CMYK) are not a picture the engine holds.
    EXPECT_FALSE(Load("print.jpg", TestSupport::JPEGFile(8, 8, 4).Build()));
    EXPECT_TRUE(LoggedOneError("Unsupported \"print.jpg\" file format"));

    // A start-of-frame that gives a height of 0.
    Bytes flat = SavedFile(MakePattern(8, 8, 24), "flat-source.jpg");
    for (std::size_t at = 0; at + 1 < flat.size(); ++at) {
        if (flat[at] == 0xFF && flat[at + 1] == 0xC0) {
            flat[at + 5] = 0;
            flat[at + 6] = 0;
            break;
        }
    }
    EXPECT_FALSE(Load("flat.jpg", flat));
    EXPECT_TRUE(LoggedOneError("Incorrect \"flat.jpg\" file format"));
}

TEST_F(DamagedImages, MissingFilesAreReportedByEveryReader)
{
    for (const char* name : {"missing.bmp", "missing.tga", "missing.jpg"}) {
        m_log.m_history.clear();
        Image image;
        EXPECT_FALSE(Image::Load(&m_files, name, image, &m_log));
        EXPECT_TRUE(LoggedOneError("Failed to open \"" + TestSupport::BaseFolder() + "\\" + name + "\" file"));
    }
}

TEST_F(DamagedImages, JPEGWriterFailuresLeaveNoFile)
{
    // A picture wider than JPEG allows: the library refuses it after the file was opened.
    Image wide;
    wide.Create(&m_log, 70000, 1, 8);
    wide.Fill({0.5f, 0.5f, 0.5f, 1});
    EXPECT_FALSE(Image::Save(wide, "wide.jpg", &m_files));
    EXPECT_TRUE(LoggedOneError("Failed to save \"wide.jpg\": Maximum supported image dimension is 65500 pixels"));
    EXPECT_FALSE(TestSupport::FileExists(PathOf("wide.jpg")));

    // A folder that cannot be made because a file has its name.
    m_log.m_history.clear();
    TestSupport::WriteFile(PathOf("blocker"), "file");
    EXPECT_FALSE(Image::Save(wide, "blocker\\inside.jpg", &m_files));
    EXPECT_TRUE(LoggedOneError("Failed to save \"blocker\\inside.jpg\""));
    EXPECT_EQ(TestSupport::ReadFile(PathOf("blocker")), TestSupport::ToBytes("file"));
}

} // namespace
} // namespace ImageTesting
