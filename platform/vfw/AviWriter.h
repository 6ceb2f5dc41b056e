// Inside the stand-in only: a RIFF AVI 1.0 file of one video stream, written front to back.
//
//   RIFF 'AVI '
//     LIST 'hdrl'
//       'avih'  the main header (frame period, frame count, size)
//       LIST 'strl'
//         'strh'  the stream header ('vids', handler, scale, rate, length, frame rectangle)
//         'strf'  the frame format (a BITMAPINFOHEADER)
//     LIST 'movi'
//       '00db'  one chunk per frame of uncompressed pixels
//     'idx1'  one entry per frame: id, flags (key frame), offset from the 'movi' tag, size
//
// The headers go out with the first frame (the format is known by then) and are written again, with the final
// frame count and sizes, when the file is finished; the index follows the last frame. So the file on disk is
// complete only after Finish, and a write that fails leaves the frames before it intact.
#pragma once

#include "platform/vfw/Vfw.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace VfwHost {

class AviWriter
{
public:
    // Takes the open file; the file may not grow beyond sizeLimit bytes.
    AviWriter(std::FILE* file, std::uint64_t sizeLimit);
    ~AviWriter(); // finishes the file
    AviWriter(const AviWriter&) = delete;
    AviWriter& operator=(const AviWriter&) = delete;

    void SetStream(const AVISTREAMINFOA& info) { m_stream = info; }
    void SetHandler(FOURCC handler) { m_handler = handler; }
    HRESULT SetFormat(const void* format, std::size_t size);
    std::uint32_t GetFrameCount() const { return static_cast<std::uint32_t>(m_index.size()); }
    HRESULT WriteFrame(const void* pixels, std::size_t size, bool keyFrame);

private:
    struct IndexEntry
    {
        std::uint32_t flags;
        std::uint32_t offset; // from the 'movi' tag
        std::uint32_t size;
    };

    std::vector<std::uint8_t> Headers() const;
    bool WriteHeaders();
    void Finish();

    std::FILE* m_file;
    std::uint64_t m_sizeLimit;
    AVISTREAMINFOA m_stream;
    FOURCC m_handler = 0;
    std::vector<std::uint8_t> m_format;
    std::uint32_t m_frameSize = 0; // bytes of one frame's pixels
    std::size_t m_headerSize = 0;  // 0 until the headers are written
    std::uint64_t m_moviBytes = 0; // frame chunks written
    std::vector<IndexEntry> m_index;
};

} // namespace VfwHost
