#include "ScreenCapture.h"

#include "Image.h"
#include "engine/foundation/Config.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/StringUtils.h"
#include "engine/foundation/Window.h"

#include <algorithm>

namespace KeystrelEngine {
namespace {

constexpr const char* kFolder = "ScreenCaptures";
constexpr DWORD kOldestVideoForWindows = 0x010A; // 1.10
constexpr DWORD kFramesPerSecond = 33;

// Screenshot formats, as "sc_take_screenshot_format" names them; 2 and above are JPEG.
constexpr std::int32_t kFormatBMP = 0;
constexpr std::int32_t kFormatTGA = 1;
constexpr std::int32_t kFormatJPEG = 2;

const char* ExtensionOf(std::int32_t format)
{
    switch (format) {
    case kFormatBMP:
        return "bmp";
    case kFormatTGA:
        return "tga";
    default:
        return "jpg";
    }
}

void Release(PAVISTREAM& stream)
{
    if (stream)
        AVIStreamRelease(stream);
    stream = nullptr;
}

} // namespace

ScreenCapture::ScreenCapture(MessageManager* log, FileManager* files, Config* config, Window* window)
    : m_log(log), m_files(files), m_config(config), m_window(window),
      m_movieRecordingAvailable((VideoForWindowsVersion() >> 16) >= kOldestVideoForWindows)
{
}

ScreenCapture::~ScreenCapture()
{
    StopMovieRecord();
}

void ScreenCapture::Update()
{
    if (m_config->sc_take_screenshot_format < 0)
        m_config->sc_take_screenshot_format = kFormatBMP;
    RequestScreenshot("sc_take_screenshot", m_config->sc_take_screenshot_format);
    RequestScreenshot("sc_take_screenshot_tga", kFormatTGA);
    RequestScreenshot("sc_take_screenshot_jpg", kFormatJPEG);
    if (TakeCommand("sc_start_movie_record"))
        StartMovieRecord();
    if (TakeCommand("sc_stop_movie_record"))
        StopMovieRecord();

    if (m_screenshotPending)
        SaveScreenshot();
    else if (m_recording)
        WriteMovieFrame();
}

// True when the command was raised; it is then marked handled.
bool ScreenCapture::TakeCommand(const char* name)
{
    if (m_config->GetCommandState(name) != Config::kCommandRaised)
        return false;
    m_config->SetCommandState(name, Config::kCommandIdle);
    return true;
}

void ScreenCapture::RequestScreenshot(const char* command, std::int32_t format)
{
    if (TakeCommand(command)) {
        m_screenshotPending = true;
        m_screenshotFormat = format;
    }
}

std::string ScreenCapture::NextFreeName(const std::string& stem, const std::string& extension) const
{
    const std::string folder = m_files->MakeDiskPath(kFolder) + "\\";
    FileManager::CreateDirectories(folder);
    for (std::uint32_t number = 0;; ++number) {
        const std::string name = folder + stem + FormatUnsigned(number, 3) + "." + extension;
        if (!FileManager::FileExistsOnDisk(name))
            return name;
    }
}

void ScreenCapture::SaveScreenshot()
{
    m_screenshotPending = false;
    const std::string name = NextFreeName("picture", ExtensionOf(m_screenshotFormat));
    Image image;
    if (GrabWindow(&image))
        Image::Save(image, name, m_files);
}

void ScreenCapture::StartMovieRecord()
{
    if (!m_movieRecordingAvailable) {
        m_log->Error("Video For Windiws version is too old");
        return;
    }
    if (m_recording) {
        m_log->Error("AVI recording was already started");
        return;
    }
    // The codec is chosen without a dialog, so the window is not minimised to uncover one (nor given the focus
    // back afterwards): a minimised window would pause the game that is about to be recorded.
    const std::string name = NextFreeName("movie", "avi");
    m_log->Message("AVI recording is starting...");
    // The first frame gives the movie its size; without it there is nothing to record.
    if (!GrabWindow(nullptr))
        return;
    m_recording = true;
    m_frameNumber = 0;
    AVIFileInit();
    if (!OpenMovie(name)) {
        m_log->Error("Failed to create avi stream");
        StopMovieRecord();
    }
}

// Creates the movie file and its video stream for frames of the last grabbed frame's size.
bool ScreenCapture::OpenMovie(const std::string& name)
{
    BITMAPINFOHEADER& header = m_frameInfo.bmiHeader;
    if (AVIFileOpenA(&m_aviFile, name.c_str(), OF_WRITE | OF_CREATE, nullptr) != AVIERR_OK)
        return false;
    m_streamInfo = {};
    m_streamInfo.fccType = streamtypeVIDEO;
    m_streamInfo.dwScale = 1;
    m_streamInfo.dwRate = kFramesPerSecond;
    m_streamInfo.dwSuggestedBufferSize = header.biSizeImage;
    m_streamInfo.rcFrame = {0, 0, header.biWidth, header.biHeight};
    if (AVIFileCreateStreamA(m_aviFile, &m_stream, &m_streamInfo) != AVIERR_OK)
        return false;
    m_compressOptions = {};
    if (!AVISaveOptions(nullptr, 0, 1, &m_stream, m_compressOptionsList))
        return false;
    // A 32-bit frame has no colour table: the format is the header alone.
    return AVIMakeCompressedStream(&m_compressedStream, m_stream, &m_compressOptions, nullptr) == AVIERR_OK &&
           AVIStreamSetFormat(m_compressedStream, 0, &header, sizeof header) == AVIERR_OK;
}

void ScreenCapture::WriteMovieFrame()
{
    if (!GrabWindow(nullptr))
        return;
    const BITMAPINFOHEADER& header = m_frameInfo.bmiHeader;
    // The stream's frames all have the size it was opened with; a frame of another size would break the file.
    if (header.biWidth != m_streamInfo.rcFrame.right || header.biHeight != m_streamInfo.rcFrame.bottom) {
        m_log->Error("The window size changed: AVI recording stopped");
        StopMovieRecord();
        return;
    }
    if (AVIStreamWrite(m_compressedStream, static_cast<LONG>(m_frameNumber), 1, m_framePixels.data(),
                       static_cast<LONG>(header.biSizeImage), AVIIF_KEYFRAME, nullptr, nullptr) != AVIERR_OK) {
        m_log->Error("Failed to write to avi stream");
        StopMovieRecord();
    }
    ++m_frameNumber;
}

void ScreenCapture::StopMovieRecord()
{
    if (!m_recording)
        return;
    m_recording = false;
    Release(m_stream);
    Release(m_compressedStream);
    if (m_aviFile)
        AVIFileRelease(m_aviFile);
    m_aviFile = nullptr;
    AVIFileExit();
    m_log->Message("AVI record finished");
}

// Grabs the window's client area as the frame and, when an image is given, into it at 24 bits. A failure ends a
// running recording.
bool ScreenCapture::GrabWindow(Image* image)
{
    if (!CopyWindow()) {
        m_log->Error("Failed to print image from screen");
        StopMovieRecord();
        return false;
    }
    if (image) {
        const BITMAPINFOHEADER& header = m_frameInfo.bmiHeader;
        image->Create(m_log, static_cast<std::uint32_t>(header.biWidth), static_cast<std::uint32_t>(header.biHeight),
                      32);
        std::copy(m_framePixels.begin(), m_framePixels.end(), image->GetPixels());
        image->ConvertBitsPerPixel(24);
        image->SwapRedBlue();
    }
    return true;
}

// Copies the client area into a bitmap compatible with the window and reads it out as the frame.
bool ScreenCapture::CopyWindow()
{
    const int width = m_window->m_width;
    const int height = m_window->m_height;
    const HDC window = m_window->GetDeviceContext();
    const HDC memory = CreateCompatibleDC(window);
    const HBITMAP bitmap = memory ? CreateCompatibleBitmap(window, width, height) : nullptr;
    const HGDIOBJ previous = bitmap ? SelectObject(memory, bitmap) : nullptr;
    const bool copied = previous && BitBlt(memory, 0, 0, width, height, window, 0, 0, SRCCOPY);
    if (previous)
        SelectObject(memory, previous);
    const bool read = copied && ReadBitmap(window, bitmap, width, height);
    if (bitmap)
        DeleteObject(bitmap);
    if (memory)
        DeleteDC(memory);
    return read;
}

// The bitmap as a 32-bit bottom-up DIB: rows of width x 32 bits, rounded up to whole 32-bit words.
bool ScreenCapture::ReadBitmap(HDC window, HBITMAP bitmap, int width, int height)
{
    BITMAPINFOHEADER& header = m_frameInfo.bmiHeader;
    header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(height) * ((static_cast<DWORD>(width) * 32 + 31) / 32 * 4);
    m_framePixels.resize(header.biSizeImage);
    return GetDIBits(window, bitmap, 0, static_cast<UINT>(height), m_framePixels.data(), &m_frameInfo,
                     DIB_RGB_COLORS) == height;
}

} // namespace KeystrelEngine
