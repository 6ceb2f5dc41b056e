// The engine's in-memory picture: width x height pixels of 8, 24 or 32 bits, rows back to back with no gap.
// Row 0 is the BOTTOM row of the picture; 24-bit pixels are red, green, blue and 32-bit pixels red, green, blue,
// alpha; 8-bit pixels are grey or opacity values. Readers deliver this layout whatever the file stores, writers
// turn it into the file's, and the texture upload and the screen grab expect it.
//
// Files: BMP, TGA and JPEG, chosen by the name's extension. Readers and writers report every failure (a missing,
// short or damaged file, an unsupported variant, memory that runs out while reading) as one error line in the log
// and return false; a reader that fails after it has sized the image leaves the partly filled pixels in place.
#pragma once

#include "Color.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace KeystrelEngine {

class FileBinary;
class FileManager;
class MessageManager;

class Image
{
public:
    enum Filter : std::uint32_t
    {
        FilterBilinear = 1,
        FilterHalve = 3 // a 2 x 2 box for halving power-of-two pictures
    };

    // The largest width and height a reader accepts: a file that claims more is refused as damaged before
    // anything is allocated for it (a few bytes of header could otherwise ask for gigabytes).
    static constexpr std::uint32_t kMaxReadSide = 16384;

    Image() = default;
    virtual ~Image() = default;

    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;
    Image(Image&&) noexcept = default;
    Image& operator=(Image&&) noexcept = default;

    // Frees the pixels held and allocates width x height pixels of the given depth (8, 24 or 32), contents
    // undefined. The log is the one the writers report to.
    void Create(MessageManager* log, std::uint32_t width, std::uint32_t height, std::uint32_t bitsPerPixel);
    void CopyFrom(const Image& source);
    // The stand-in picture for a texture that cannot be loaded: 64 x 64, 24 bits, 8 x 8 squares of yellow and
    // black, yellow at the origin.
    void MakeCheckerboard(MessageManager* log);
    // Channels in 0..1 become value * 255, truncated; an 8-bit image takes the grey of red, green and blue.
    void Fill(const Color& colour);
    // Converts to the target depth into destination, or in place without one. To 8 bits a 24-bit pixel gives
    // its grey and a 32-bit pixel its alpha; from 8 bits the grey goes to all three colours, alpha 255.
    void ConvertBitsPerPixel(std::uint32_t bitsPerPixel, Image& destination) const;
    void ConvertBitsPerPixel(std::uint32_t bitsPerPixel);
    void SwapRedBlue();
    void FlipVertical();
    // Writes source resized to width x height into destination (which must be another image). Every sample is
    // taken inside the source; an empty source gives black pixels.
    static void Resample(Image& destination, const Image& source, std::uint32_t width, std::uint32_t height,
                         Filter filter);
    void Scale(std::uint32_t width, std::uint32_t height);
    // Copies this image into destination with its bottom-left pixel at column x, row y, clipped to the
    // destination; converted to the destination's depth first when the depths differ.
    void Paste(Image& destination, std::uint32_t x, std::uint32_t y) const;
    // Makes target 32 bits with its alpha from opacity (scaled to target's size when it differs): the grey of
    // an 8-bit, byte 2 of a 24-bit and the alpha of a 32-bit opacity image.
    static void CombineAlpha(const Image& opacity, Image& target);

    // Reads "bmp", "tga", "jpg" or "jpeg" files (the extension after the name's first dot, in any case).
    static bool Load(FileManager* files, const std::string& name, Image& image, MessageManager* log);
    // Writes in the same formats, reporting through the image's log.
    static bool Save(const Image& image, const std::string& name, FileManager* files);

    static bool LoadBMP(FileManager* files, const std::string& name, Image& image, MessageManager* log);
    static bool LoadTGA(FileManager* files, const std::string& name, Image& image, MessageManager* log);
    static bool LoadJPEG(FileManager* files, const std::string& name, Image& image, MessageManager* log);
    static bool SaveBMP(const Image& image, const std::string& name, FileManager* files);
    static bool SaveTGA(const Image& image, const std::string& name, FileManager* files);
    static bool SaveJPEG(const Image& image, const std::string& name, FileManager* files);

    bool IsEmpty() const { return !m_pixels; }
    MessageManager* GetLog() const { return m_log; }
    std::uint32_t GetWidth() const { return m_width; }
    std::uint32_t GetHeight() const { return m_height; }
    std::uint32_t GetBitsPerPixel() const { return m_bitsPerPixel; }
    std::uint32_t GetBytesPerPixel() const { return m_bitsPerPixel / 8; }
    std::size_t GetRowSize() const { return static_cast<std::size_t>(m_width) * GetBytesPerPixel(); }
    std::size_t GetByteCount() const { return GetRowSize() * m_height; }
    std::uint8_t* GetPixels() { return m_pixels.get(); }
    const std::uint8_t* GetPixels() const { return m_pixels.get(); }
    std::uint8_t* GetRow(std::uint32_t row) { return m_pixels.get() + row * GetRowSize(); }
    const std::uint8_t* GetRow(std::uint32_t row) const { return m_pixels.get() + row * GetRowSize(); }

    // Exchanges bytes 0 and 2 of count pixels of the given size (red-green-blue and the files' blue-green-red
    // order); pixels of fewer than three bytes are left alone.
    static void SwapRedBlue(std::uint8_t* pixels, std::size_t count, std::uint32_t bytesPerPixel);

    // The pixels as BMP and TGA files store them: blue, green, red (, alpha), each row followed by zeros up to
    // rowStride bytes, bottom row first or top row first.
    std::vector<std::uint8_t> StoredRows(std::size_t rowStride, bool topRowFirst) const;

    static std::string UnsupportedFormatText(const std::string& name);
    // Whether a reader may create a picture of this size (neither side above kMaxReadSide).
    static bool IsReadableSize(std::uint64_t width, std::uint64_t height)
    {
        return width <= kMaxReadSide && height <= kMaxReadSide;
    }

private:
    // A reader or writer works on the open file and raises FileError when it cannot go on.
    using FileReader = void (*)(FileBinary& file, const std::string& name, Image& image, MessageManager* log);
    using FileWriter = void (*)(FileBinary& file, const Image& image);

    // Open the file and run the reader or writer on it; a FileError on the way becomes an error line and false, and
    // so does an allocation that fails while reading (reported as the reader's format error).
    static bool ReadFile(FileManager* files, const std::string& name, bool loadWhole, Image& image, MessageManager* log,
                         FileReader read);
    static bool WriteFile(const Image& image, const std::string& name, FileManager* files, FileWriter write);
    static void LogError(MessageManager* log, const std::string& text);

    MessageManager* m_log = nullptr;
    std::uint32_t m_width = 0;
    std::uint32_t m_height = 0;
    std::uint32_t m_bitsPerPixel = 0;
    std::unique_ptr<std::uint8_t[]> m_pixels;
};

} // namespace KeystrelEngine
