#include "engine/render/ScreenCapture.h"
#include "engine/foundation/Config.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/Window.h"
#include "engine/render/Image.h"
#include "platform/testing.h"
#include "tests/support/AviReader.h"
#include "tests/support/TestEnvironment.h"

#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

using KeystrelEngine::Config;
using KeystrelEngine::Image;
using KeystrelEngine::MessageManager;
using KeystrelEngine::ScreenCapture;
using TestSupport::AviMovie;
using TestSupport::Bytes;

namespace {

constexpr int kWidth = 8;
constexpr int kHeight = 6;

// A frame of 0xRRGGBB pixels, top row first, that differs from pixel to pixel and from shade to shade.
std::vector<std::uint32_t> Picture(std::uint32_t shade, int width = kWidth, int height = kHeight)
{
    std::vector<std::uint32_t> pixels;
    for (int i = 0; i < width * height; ++i)
        pixels.push_back(shade << 16 | static_cast<std::uint32_t>(i * 5 & 0xFF) << 8 | (255 - i));
    return pixels;
}

// The picture as a movie frame stores it: rows bottom-up, blue, green, red, a zero byte.
Bytes MovieFrame(const std::vector<std::uint32_t>& picture)
{
    Bytes bytes;
    for (int row = kHeight - 1; row >= 0; --row) {
        for (int column = 0; column < kWidth; ++column) {
            const std::uint32_t rgb = picture[row * kWidth + column];
            bytes.insert(bytes.end(), {static_cast<std::uint8_t>(rgb), static_cast<std::uint8_t>(rgb >> 8),
                                       static_cast<std::uint8_t>(rgb >> 16), 0});
        }
    }
    return bytes;
}

class ScreenCaptureTest : public ::testing::Test
{
protected:
    // The base folder ("game") is not the program's folder, whose own "ScreenCaptures" must stay unused.
    ScreenCaptureTest()
        : captures(TestSupport::FreshFolder("game") + "/ScreenCaptures/"),
          programCaptures(TestSupport::FreshFolder("ScreenCaptures") + "/")
    {
        PlatformTesting::ResetInput();
        capture = std::make_unique<ScreenCapture>(&log, &files, &config, &window);
    }

    ~ScreenCaptureTest() override
    {
        capture.reset();
        PlatformTesting::ForgetPresentedFrames();
        PlatformTesting::ClearGdiFailures();
        PlatformTesting::SetAviFileSizeLimit(0);
        PlatformTesting::CancelCodecChoice(false);
        PlatformTesting::SetVideoForWindowsVersion(0);
        EXPECT_EQ(0, PlatformTesting::LiveGdiObjects());
        EXPECT_EQ(0, PlatformTesting::LiveAviObjects());
    }

    void Raise(const char* command) { config.SetCommandState(command, Config::kCommandRaised); }

    // The end of one engine frame: the frame is presented, then the capture runs.
    void Frame(const std::vector<std::uint32_t>& picture, int width = kWidth, int height = kHeight)
    {
        PlatformTesting::PresentFrame(window.m_handle, width, height, picture);
        capture->Update();
    }

    bool Exists(const std::string& name) const { return TestSupport::FileExists(captures + name); }

    Image Load(const std::string& name)
    {
        Image image;
        EXPECT_TRUE(Image::Load(&files, captures + name, image, &log)) << name;
        return image;
    }

    AviMovie Movie(const std::string& name)
    {
        AviMovie movie;
        std::string problem;
        EXPECT_TRUE(TestSupport::ReadAvi(TestSupport::ReadFile(captures + name), movie, problem)) << problem;
        return movie;
    }

    std::vector<std::string> Logged(unsigned kind) const
    {
        std::vector<std::string> texts;
        for (const auto& record : log.m_history) {
            if (record.kind == kind)
                texts.push_back(record.text);
        }
        return texts;
    }
    std::vector<std::string> Errors() const { return Logged(MessageManager::KindError); }
    // True when exactly one error was logged, and it says text.
    bool LoggedOnlyError(const std::string& text) const
    {
        const auto errors = Errors();
        return errors.size() == 1 && errors[0].find(text) != std::string::npos;
    }
    bool LastErrorSays(const std::string& text) const
    {
        const auto errors = Errors();
        return !errors.empty() && errors.back().find(text) != std::string::npos;
    }
    bool LoggedMessage(const std::string& text) const
    {
        const auto messages = Logged(MessageManager::KindMessage);
        return std::any_of(messages.begin(), messages.end(),
                           [&](const std::string& message) { return message.find(text) != std::string::npos; });
    }

    std::string captures;
    std::string programCaptures;
    MessageManager log{"", "ScreenCaptureTest", "", false, false};
    KeystrelEngine::FileManager files{&log, TestSupport::BaseFolder() + "/game", "Data"};
    Config config{"Quellhaven", "", &log, &files, "1024x768x32", false, false, false};
    KeystrelEngine::Window window{&log, &config, "Quellhaven 1.00", nullptr, 0, false, kWidth, kHeight, false, true,
                                  0,    0};
    std::unique_ptr<ScreenCapture> capture;
};

TEST_F(ScreenCaptureTest, PicturesAreNumberedInTheFolderTheyAreWrittenTo)
{
    Raise("sc_take_screenshot");
    Frame(Picture(1));
    EXPECT_TRUE(Exists("picture000.bmp")); // the folder is made when missing

    TestSupport::WriteFile(captures + "picture001.bmp", "kept");
    TestSupport::WriteFile(programCaptures + "picture002.bmp", "kept");
    Raise("sc_take_screenshot");
    Frame(Picture(2));
    EXPECT_TRUE(Exists("picture002.bmp"));
    EXPECT_EQ(TestSupport::ToBytes("kept"), TestSupport::ReadFile(captures + "picture001.bmp"));
    EXPECT_EQ(TestSupport::ToBytes("kept"), TestSupport::ReadFile(programCaptures + "picture002.bmp"));

    Raise("sc_take_screenshot_tga");
    Frame(Picture(3));
    EXPECT_TRUE(Exists("picture000.tga"));
    EXPECT_TRUE(Errors().empty());
}

TEST_F(ScreenCaptureTest, NumberingGoesOnPast999)
{
    for (int number = 0; number < 1000; ++number) {
        char name[32];
        std::snprintf(name, sizeof name, "picture%03d.jpg", number);
        TestSupport::WriteFile(captures + name, "kept");
    }
    config.sc_take_screenshot_format = 2;
    Raise("sc_take_screenshot");
    Frame(Picture(1));
    EXPECT_TRUE(Exists("picture1000.jpg"));
    EXPECT_EQ(TestSupport::ToBytes("kept"), TestSupport::ReadFile(captures + "picture999.jpg"));
}

TEST_F(ScreenCaptureTest, EachCommandWritesItsOwnFormat)
{
    const auto startsWith = [&](const std::string& name, const Bytes& magic) {
        const Bytes bytes = TestSupport::ReadFile(captures + name);
        return bytes.size() > magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin());
    };
    const std::vector<std::uint32_t> picture = Picture(9);
    for (const char* line :
         {"sc_take_screenshot_format 0", "sc_take_screenshot_format 1", "sc_take_screenshot_format 7"}) {
        config.Execute(line);
        Raise("sc_take_screenshot");
        Frame(picture);
    }
    Raise("sc_take_screenshot_tga");
    Frame(picture);
    Raise("sc_take_screenshot_jpg");
    Frame(picture);

    EXPECT_TRUE(startsWith("picture000.bmp", {'B', 'M'}));
    EXPECT_TRUE(startsWith("picture000.jpg", {0xFF, 0xD8, 0xFF}));
    EXPECT_TRUE(startsWith("picture001.jpg", {0xFF, 0xD8, 0xFF}));
    // TGA has no magic: the pictures must load as what their names say.
    EXPECT_EQ(24u, Load("picture000.tga").GetBitsPerPixel());
    EXPECT_EQ(24u, Load("picture001.tga").GetBitsPerPixel());
    EXPECT_FALSE(Exists("picture001.bmp"));
    EXPECT_EQ(7, config.sc_take_screenshot_format); // the commands with a format of their own leave it alone
    EXPECT_TRUE(Errors().empty());
}

TEST_F(ScreenCaptureTest, ANegativeFormatTurnsIntoBmpAtTheNextFrame)
{
    config.Execute("sc_take_screenshot_format -5");
    capture->Update();
    EXPECT_EQ(0, config.sc_take_screenshot_format);
    EXPECT_EQ("0", config.GetValue("sc_take_screenshot_format"));

    config.Execute("sc_take_screenshot_format -1");
    Raise("sc_take_screenshot");
    Frame(Picture(1));
    EXPECT_TRUE(Exists("picture000.bmp"));
}

TEST_F(ScreenCaptureTest, ASavedPictureHoldsTheFramesPixels)
{
    const std::vector<std::uint32_t> picture = Picture(0x42);
    Raise("sc_take_screenshot");
    Frame(picture);
    const Image image = Load("picture000.bmp");
    ASSERT_EQ(static_cast<std::uint32_t>(kWidth), image.GetWidth());
    ASSERT_EQ(static_cast<std::uint32_t>(kHeight), image.GetHeight());
    ASSERT_EQ(24u, image.GetBitsPerPixel());
    for (int y = 0; y < kHeight; ++y) {
        const std::uint8_t* row = image.GetRow(static_cast<std::uint32_t>(kHeight - 1 - y)); // bottom row first
        for (int x = 0; x < kWidth; ++x) {
            const std::uint32_t rgb = picture[y * kWidth + x];
            const std::uint8_t* pixel = row + 3 * x;
            EXPECT_EQ((std::vector<std::uint8_t>{static_cast<std::uint8_t>(rgb >> 16),
                                                 static_cast<std::uint8_t>(rgb >> 8), static_cast<std::uint8_t>(rgb)}),
                      std::vector<std::uint8_t>(pixel, pixel + 3))
                << x << ", " << y;
        }
    }

    // A window that has shown no frame yet is saved black.
    PlatformTesting::ForgetPresentedFrames();
    Raise("sc_take_screenshot");
    capture->Update();
    const Image black = Load("picture001.bmp");
    EXPECT_EQ(static_cast<std::uint32_t>(kWidth), black.GetWidth());
    EXPECT_TRUE(std::all_of(black.GetPixels(), black.GetPixels() + black.GetByteCount(),
                            [](std::uint8_t byte) { return byte == 0; }));
}

TEST_F(ScreenCaptureTest, AMovieHoldsOneFramePerEngineFrame)
{
    Raise("sc_start_movie_record");
    Frame(Picture(1));
    Frame(Picture(2));
    Frame(Picture(3));
    Raise("sc_stop_movie_record");
    Frame(Picture(4));

    EXPECT_TRUE(LoggedMessage("AVI recording is starting..."));
    EXPECT_TRUE(LoggedMessage("AVI record finished"));
    EXPECT_TRUE(Errors().empty());
    const AviMovie movie = Movie("movie000.avi");
    EXPECT_EQ(33u, movie.rate);
    EXPECT_EQ(1u, movie.scale);
    EXPECT_EQ(static_cast<std::uint32_t>(kWidth), movie.width);
    EXPECT_EQ(static_cast<std::uint32_t>(kHeight), movie.height);
    EXPECT_EQ(3u, movie.totalFrames);
    ASSERT_EQ(3u, movie.frames.size());
    for (std::uint32_t n = 0; n < 3; ++n) {
        EXPECT_EQ(MovieFrame(Picture(n + 1)), movie.frames[n]) << n;
        EXPECT_EQ(AVIIF_KEYFRAME, movie.indexFlags[n]);
    }

    // The next movie gets the next number.
    Raise("sc_start_movie_record");
    Frame(Picture(5));
    capture.reset(); // ends the recording
    EXPECT_EQ(1u, Movie("movie001.avi").frames.size());
}

TEST_F(ScreenCaptureTest, StartingTwiceIsAnErrorAndTheRecordingGoesOn)
{
    Raise("sc_start_movie_record");
    Frame(Picture(1));
    Raise("sc_start_movie_record");
    Frame(Picture(2));
    EXPECT_TRUE(LoggedOnlyError("AVI recording was already started"));
    Raise("sc_stop_movie_record");
    capture->Update();
    EXPECT_EQ(2u, Movie("movie000.avi").frames.size());
    EXPECT_FALSE(Exists("movie001.avi"));
}

TEST_F(ScreenCaptureTest, AScreenshotInTheStartFrameTakesThatFrameAndTheMovieTheNext)
{
    Raise("sc_take_screenshot");
    Raise("sc_start_movie_record");
    Frame(Picture(1));
    Frame(Picture(2));
    Raise("sc_stop_movie_record");
    capture->Update();

    const Image picture = Load("picture000.bmp");
    EXPECT_EQ(0x01, picture.GetRow(kHeight - 1)[0]); // red of the top-left pixel of frame 1
    const AviMovie movie = Movie("movie000.avi");
    ASSERT_EQ(1u, movie.frames.size());
    EXPECT_EQ(MovieFrame(Picture(2)), movie.frames[0]);
}

TEST_F(ScreenCaptureTest, AStartThatCannotGoAheadLeavesNoRecording)
{
    // The first grab fails: nothing is opened, and there is no recording to stop.
    PlatformTesting::FailGdiCall(PlatformTesting::GdiCall::BitBlt);
    Raise("sc_start_movie_record");
    Frame(Picture(1));
    Frame(Picture(2));
    EXPECT_TRUE(LoggedOnlyError("Failed to print image from screen"));
    EXPECT_FALSE(Exists("movie000.avi"));
    EXPECT_FALSE(LoggedMessage("AVI record finished"));

    // The codec choice is cancelled: the file is given up.
    PlatformTesting::CancelCodecChoice(true);
    Raise("sc_start_movie_record");
    Frame(Picture(3));
    EXPECT_TRUE(LastErrorSays("Failed to create avi stream"));
    EXPECT_TRUE(LoggedMessage("AVI record finished"));
    EXPECT_EQ(0, PlatformTesting::LiveAviObjects());

    // Neither counts as a running recording.
    PlatformTesting::CancelCodecChoice(false);
    Raise("sc_start_movie_record");
    Frame(Picture(4));
    EXPECT_EQ(2u, Errors().size());
    capture.reset();
    EXPECT_EQ(1u, Movie("movie001.avi").frames.size());
}

TEST_F(ScreenCaptureTest, AWindowSizeChangeStopsTheRecordingWithAValidFile)
{
    Raise("sc_start_movie_record");
    Frame(Picture(1));
    Frame(Picture(2));
    window.SetWindowedMode(kWidth + 2, kHeight, false, 1920, 1080);
    Frame(Picture(3, kWidth + 2, kHeight), kWidth + 2, kHeight);
    Frame(Picture(4, kWidth + 2, kHeight), kWidth + 2, kHeight);

    EXPECT_TRUE(LoggedOnlyError("The window size changed: AVI recording stopped"));
    EXPECT_TRUE(LoggedMessage("AVI record finished"));
    const AviMovie movie = Movie("movie000.avi");
    EXPECT_EQ(static_cast<std::uint32_t>(kWidth), movie.width);
    EXPECT_EQ(2u, movie.frames.size());
}

TEST_F(ScreenCaptureTest, AFailedGrabOrWriteEndsTheRecordingWithTheFramesBefore)
{
    Raise("sc_start_movie_record");
    Frame(Picture(1));
    PlatformTesting::FailGdiCall(PlatformTesting::GdiCall::GetDIBits);
    Frame(Picture(2));
    Frame(Picture(3));
    EXPECT_TRUE(LoggedOnlyError("Failed to print image from screen"));
    EXPECT_EQ(1u, Movie("movie000.avi").frames.size());

    // Room for the headers and a little more than two frames: the third write is refused.
    const std::size_t frameBytes = 8 + kWidth * kHeight * 4 + 16;
    PlatformTesting::SetAviFileSizeLimit(TestSupport::ReadFile(captures + "movie000.avi").size() + frameBytes + 4);
    Raise("sc_start_movie_record");
    for (std::uint32_t shade = 1; shade <= 5; ++shade)
        Frame(Picture(shade));
    EXPECT_TRUE(LastErrorSays("Failed to write to avi stream"));
    const AviMovie movie = Movie("movie001.avi");
    ASSERT_EQ(2u, movie.frames.size());
    EXPECT_EQ(MovieFrame(Picture(2)), movie.frames[1]);
}

TEST_F(ScreenCaptureTest, AnOldVideoForWindowsCannotRecord)
{
    PlatformTesting::SetVideoForWindowsVersion(0x01090000);
    capture = std::make_unique<ScreenCapture>(&log, &files, &config, &window);
    Raise("sc_start_movie_record");
    Frame(Picture(1));
    EXPECT_TRUE(LoggedOnlyError("Video For Windiws version is too old"));
    EXPECT_FALSE(Exists("movie000.avi"));
}

} // namespace
