// Screenshots of the application window as numbered BMP, TGA or JPEG files, and AVI movies of it, one frame per
// engine frame. Only configuration commands drive it, so the console and key bindings reach it by name:
// "sc_take_screenshot" (in the format "sc_take_screenshot_format" names: 0 BMP, 1 TGA, 2 or more JPEG),
// "sc_take_screenshot_tga", "sc_take_screenshot_jpg", "sc_start_movie_record" and "sc_stop_movie_record".
//
// Every file goes to "ScreenCaptures" below the base folder (made when missing) as "picture" or "movie", a number
// of at least three digits and the extension; the number is the first, from 000 upwards, whose file does not
// exist yet. One folder serves the existence test and the writers, so a new capture never overwrites an old one.
//
// Failures are logged as errors and never thrown. A failure while recording ends the recording, and the frames
// written before it stay a playable movie.
#pragma once

#include "platform/gdi/Gdi.h"
#include "platform/vfw/Vfw.h"

#include <cstdint>
#include <string>
#include <vector>

namespace KeystrelEngine {

class Config;
class FileManager;
class Image;
class MessageManager;
class Window;

class ScreenCapture
{
public:
    ScreenCapture(MessageManager* log, FileManager* files, Config* config, Window* window);
    virtual ~ScreenCapture(); // ends a running recording

    ScreenCapture(const ScreenCapture&) = delete;
    ScreenCapture& operator=(const ScreenCapture&) = delete;

    // Once per frame, at the end of the frame, after the back buffer was presented. A screenshot takes the frame
    // when one is asked for; otherwise a running recording does.
    void Update();

private:
    bool TakeCommand(const char* name);
    void RequestScreenshot(const char* command, std::int32_t format);
    std::string NextFreeName(const std::string& stem, const std::string& extension) const;
    void SaveScreenshot();
    void StartMovieRecord();
    bool OpenMovie(const std::string& name);
    void WriteMovieFrame();
    void StopMovieRecord();
    bool GrabWindow(Image* image);
    bool CopyWindow();
    bool ReadBitmap(HDC window, HBITMAP bitmap, int width, int height);

    MessageManager* m_log;
    FileManager* m_files;
    Config* m_config;
    Window* m_window;
    bool m_movieRecordingAvailable;
    bool m_screenshotPending = false;
    std::int32_t m_screenshotFormat = 0; // as "sc_take_screenshot_format"
    bool m_recording = false;
    std::uint32_t m_frameNumber = 0; // the next movie frame
    AVISTREAMINFOA m_streamInfo;
    PAVIFILE m_aviFile = nullptr;
    PAVISTREAM m_stream = nullptr;
    PAVISTREAM m_compressedStream = nullptr;
    AVICOMPRESSOPTIONS m_compressOptions;
    LPAVICOMPRESSOPTIONS m_compressOptionsList[1] = {&m_compressOptions};
    // The last grabbed frame: its header, and its pixels (rows bottom-up; blue, green, red, unused). Kept from
    // frame to frame, so that recording allocates nothing per frame.
    BITMAPINFO m_frameInfo;
    std::vector<std::uint8_t> m_framePixels;
};

} // namespace KeystrelEngine
