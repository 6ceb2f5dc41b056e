#include "platform/gdi/Gdi.h"
#include "platform/testing.h"
#include "platform/vfw/Vfw.h"
#include "tests/support/AviReader.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using TestSupport::AviMovie;
using TestSupport::Bytes;

namespace {

constexpr LONG kWidth = 5;
constexpr LONG kHeight = 3;
constexpr LONG kFrameSize = kWidth * kHeight * 4;

BITMAPINFOHEADER FrameFormat(LONG width = kWidth, LONG height = kHeight)
{
    BITMAPINFOHEADER header;
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(width * height * 4);
    return header;
}

// Frame n: every byte n.
Bytes Frame(int n, LONG size = kFrameSize)
{
    return Bytes(static_cast<std::size_t>(size), static_cast<std::uint8_t>(n));
}

class AviFileTest : public ::testing::Test
{
protected:
    AviFileTest() : folder(TestSupport::FreshFolder("movies")), path(folder + "/clip.avi") {}

    ~AviFileTest() override
    {
        PlatformTesting::SetAviFileSizeLimit(0);
        PlatformTesting::CancelCodecChoice(false);
        EXPECT_EQ(0, PlatformTesting::LiveAviObjects());
    }

    // Opens the file with one stream of kWidth x kHeight frames at 33 frames a second, compressed as the
    // codec choice says, with its format set.
    void Open()
    {
        ASSERT_EQ(AVIERR_OK, AVIFileOpenA(&file, path.c_str(), OF_WRITE | OF_CREATE, nullptr));
        AVISTREAMINFOA info;
        info.fccType = streamtypeVIDEO;
        info.dwScale = 1;
        info.dwRate = 33;
        info.dwSuggestedBufferSize = kFrameSize;
        info.rcFrame = {0, 0, kWidth, kHeight};
        ASSERT_EQ(AVIERR_OK, AVIFileCreateStreamA(file, &stream, &info));
        AVICOMPRESSOPTIONS options;
        LPAVICOMPRESSOPTIONS list[1] = {&options};
        ASSERT_TRUE(AVISaveOptions(nullptr, 0, 1, &stream, list));
        ASSERT_EQ(AVIERR_OK, AVIMakeCompressedStream(&compressed, stream, &options, nullptr));
        BITMAPINFOHEADER format = FrameFormat();
        ASSERT_EQ(AVIERR_OK, AVIStreamSetFormat(compressed, 0, &format, sizeof format));
    }

    HRESULT Write(LONG position, Bytes frame)
    {
        return AVIStreamWrite(compressed, position, 1, frame.data(), static_cast<LONG>(frame.size()), AVIIF_KEYFRAME,
                              nullptr, nullptr);
    }

    void Close()
    {
        AVIStreamRelease(stream);
        AVIStreamRelease(compressed);
        AVIFileRelease(file);
    }

    AviMovie Read()
    {
        AviMovie movie;
        std::string problem;
        EXPECT_TRUE(TestSupport::ReadAvi(TestSupport::ReadFile(path), movie, problem)) << problem;
        return movie;
    }

    std::string folder;
    std::string path;
    PAVIFILE file = nullptr;
    PAVISTREAM stream = nullptr;
    PAVISTREAM compressed = nullptr;
};

TEST_F(AviFileTest, FramesReadBackWithTheirHeadersIndexAndFinalCounts)
{
    EXPECT_GE(VideoForWindowsVersion() >> 16, 0x010Au);
    Open();
    for (int n = 0; n < 3; ++n)
        ASSERT_EQ(AVIERR_OK, Write(n, Frame(n + 1)));
    Close();

    const AviMovie movie = Read();
    EXPECT_EQ(33u, movie.rate);
    EXPECT_EQ(1u, movie.scale);
    EXPECT_EQ(1000000u / 33, movie.microSecondsPerFrame);
    EXPECT_EQ("vids", movie.type);
    EXPECT_EQ("DIB ", movie.handler);
    EXPECT_EQ(1u, movie.streams);
    EXPECT_EQ(static_cast<std::uint32_t>(kWidth), movie.width);
    EXPECT_EQ(static_cast<std::uint32_t>(kHeight), movie.height);
    EXPECT_EQ(static_cast<std::uint32_t>(kFrameSize), movie.suggestedBufferSize);
    EXPECT_EQ(3u, movie.totalFrames);
    EXPECT_EQ(3u, movie.length);
    const BITMAPINFOHEADER format = FrameFormat();
    const auto* formatBytes = reinterpret_cast<const std::uint8_t*>(&format);
    EXPECT_EQ(Bytes(formatBytes, formatBytes + sizeof format), movie.format);
    ASSERT_EQ(3u, movie.frames.size());
    for (int n = 0; n < 3; ++n) {
        EXPECT_EQ("00db", movie.frameIds[n]);
        EXPECT_EQ(Frame(n + 1), movie.frames[n]);
        EXPECT_EQ(AVIIF_KEYFRAME, movie.indexFlags[n]);
    }
}

TEST_F(AviFileTest, TheFileIsFinishedWhateverTheOrderOfReleases)
{
    Open();
    ASSERT_EQ(AVIERR_OK, Write(0, Frame(7)));
    AVIFileRelease(file); // the streams still hold the file
    ASSERT_EQ(AVIERR_OK, Write(1, Frame(8)));
    AVIStreamRelease(compressed);
    AVIStreamRelease(stream);
    const AviMovie movie = Read();
    EXPECT_EQ(2u, movie.totalFrames);
    ASSERT_EQ(2u, movie.frames.size());
    EXPECT_EQ(Frame(8), movie.frames[1]);
}

TEST_F(AviFileTest, WritesStopBeforeTheSizeLimitAndLeaveAValidFile)
{
    // Room for the headers, the index and two frames, but not three.
    Open();
    Close();
    const std::uint64_t empty = TestSupport::ReadFile(path).size();
    PlatformTesting::SetAviFileSizeLimit(empty + 2 * (8 + kFrameSize + 16) + 10);
    Open();
    EXPECT_EQ(AVIERR_OK, Write(0, Frame(1)));
    EXPECT_EQ(AVIERR_OK, Write(1, Frame(2)));
    EXPECT_EQ(AVIERR_FILEWRITE, Write(2, Frame(3)));
    Close();
    const AviMovie movie = Read();
    EXPECT_EQ(2u, movie.frames.size());
    EXPECT_LE(TestSupport::ReadFile(path).size(), empty + 2 * (8 + kFrameSize + 16) + 10);
}

TEST_F(AviFileTest, RefusedWritesLeaveNoTrace)
{
    Open();
    EXPECT_EQ(AVIERR_BADSIZE, Write(0, Frame(1, kFrameSize + 4))); // a frame of another size
    EXPECT_EQ(AVIERR_BADPARAM, Write(1, Frame(1)));                // not the next position
    EXPECT_EQ(AVIERR_OK, Write(0, Frame(1)));
    BITMAPINFOHEADER format = FrameFormat(8, 8);
    EXPECT_EQ(AVIERR_UNSUPPORTED, AVIStreamSetFormat(compressed, 0, &format, sizeof format)); // frames were written
    Close();
    EXPECT_EQ(1u, Read().frames.size());
}

TEST_F(AviFileTest, OnlyNewUncompressedVideoFilesAreServed)
{
    PAVIFILE other = nullptr;
    EXPECT_EQ(AVIERR_UNSUPPORTED, AVIFileOpenA(&other, path.c_str(), OF_WRITE, nullptr));
    EXPECT_EQ(AVIERR_FILEOPEN,
              AVIFileOpenA(&other, (folder + "/missing/clip.avi").c_str(), OF_WRITE | OF_CREATE, nullptr));

    ASSERT_EQ(AVIERR_OK, AVIFileOpenA(&file, path.c_str(), OF_WRITE | OF_CREATE, nullptr));
    AVISTREAMINFOA info;
    info.fccType = mmioFOURCC('a', 'u', 'd', 's');
    EXPECT_EQ(AVIERR_UNSUPPORTED, AVIFileCreateStreamA(file, &stream, &info));
    info.fccType = streamtypeVIDEO;
    ASSERT_EQ(AVIERR_OK, AVIFileCreateStreamA(file, &stream, &info));
    AVICOMPRESSOPTIONS options;
    options.fccHandler = mmioFOURCC('X', 'V', 'I', 'D');
    EXPECT_EQ(AVIERR_NOCOMPRESSOR, AVIMakeCompressedStream(&compressed, stream, &options, nullptr));
    BITMAPINFOHEADER format = FrameFormat();
    format.biCompression = 1;
    EXPECT_EQ(AVIERR_BADFORMAT, AVIStreamSetFormat(stream, 0, &format, sizeof format));
    Bytes frame = Frame(1);
    EXPECT_EQ(AVIERR_BADFORMAT, AVIStreamWrite(stream, 0, 1, frame.data(), kFrameSize, 0, nullptr, nullptr));
    AVIStreamRelease(stream);
    AVIFileRelease(file);
}

TEST_F(AviFileTest, ACancelledCodecChoiceStillLeavesAWholeFile)
{
    PlatformTesting::CancelCodecChoice(true);
    ASSERT_EQ(AVIERR_OK, AVIFileOpenA(&file, path.c_str(), OF_WRITE | OF_CREATE, nullptr));
    AVISTREAMINFOA info;
    info.fccType = streamtypeVIDEO;
    ASSERT_EQ(AVIERR_OK, AVIFileCreateStreamA(file, &stream, &info));
    AVICOMPRESSOPTIONS options;
    LPAVICOMPRESSOPTIONS list[1] = {&options};
    EXPECT_FALSE(AVISaveOptions(nullptr, 0, 1, &stream, list));
    AVIStreamRelease(stream);
    AVIFileRelease(file);
    EXPECT_EQ(0u, Read().frames.size());
}

} // namespace
