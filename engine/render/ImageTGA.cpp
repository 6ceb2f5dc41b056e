// TGA files: an 18-byte header, an identification field and a colour map that are skipped (8-bit files are taken
// as grey or opacity values), then the pixels, raw or run-length encoded. Descriptor bit 5 says the first stored
// row is the picture's top row. Pixels are stored blue, green, red (, alpha), or as 16-bit 1-5-5-5 values, which
// become 32-bit pixels. The writer stores 8-bit images with a grey colour map, and every image top row first.
#include "Image.h"

#include "engine/foundation/ByteOrder.h"
#include "engine/foundation/Error.h"
#include "engine/foundation/FileBinary.h"
#include "engine/foundation/FileValues.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

namespace KeystrelEngine {
namespace {

constexpr std::uint32_t kHeaderSize = 18;
constexpr std::uint8_t kRunLengthBit = 8;
constexpr std::uint8_t kTopRowFirstBit = 0x20;
constexpr std::uint64_t kPixelsPerPacket = 128;

// Run-length packets: a header byte h, then one pixel repeated (h & 0x7F) + 1 times when h has bit 7, or that
// many pixels as they are. A packet is cut where the picture is full; data that ends first is a damaged file.
std::vector<std::uint8_t> DecodeRunLength(std::span<const std::uint8_t> data, std::uint64_t pixelBytes,
                                          std::uint32_t bytes, const std::string& name)
{
    // Each packet takes at least 1 + bytes of data and gives at most 128 pixels: a bound checked before the
    // buffer is allocated.
    if (pixelBytes / bytes > kPixelsPerPacket * (data.size() / (1 + bytes)))
        FileValues(name).Refuse();
    std::vector<std::uint8_t> pixels(pixelBytes);
    std::size_t in = 0;
    for (std::size_t out = 0; out < pixels.size();) {
        if (in >= data.size())
            FileValues(name).Refuse();
        const std::uint8_t packet = data[in++];
        const std::size_t count = std::min<std::size_t>((packet & 0x7F) + 1, (pixels.size() - out) / bytes);
        const std::size_t stored = packet & 0x80 ? bytes : count * bytes;
        if (data.size() - in < stored)
            FileValues(name).Refuse();
        for (std::size_t k = 0; k < count; ++k, out += bytes)
            std::copy_n(data.data() + in + (packet & 0x80 ? 0 : k * bytes), bytes, pixels.data() + out);
        in += stored;
    }
    return pixels;
}

// A stored 16-bit pixel: five bits each of red, green and blue, and the top bit as full or no opacity.
void ExpandPixel16(const std::uint8_t* stored, std::uint8_t* pixel)
{
    const std::uint32_t v = LoadLE16(stored);
    pixel[0] = static_cast<std::uint8_t>(((v >> 10) & 31) << 3);
    pixel[1] = static_cast<std::uint8_t>(((v >> 5) & 31) << 3);
    pixel[2] = static_cast<std::uint8_t>((v & 31) << 3);
    pixel[3] = (v & 0x8000) ? 255 : 0;
}

void ReadTGA(FileBinary& file, const std::string& name, Image& image, MessageManager* log)
{
    std::uint8_t header[kHeaderSize];
    file.Read(kHeaderSize, header);
    const std::uint32_t skip = header[0] + LoadLE16(header + 5) * header[7] / 8;
    const std::uint32_t width = LoadLE16(header + 12), height = LoadLE16(header + 14), depth = header[16];
    if (depth != 8 && depth != 16 && depth != 24 && depth != 32)
        throw FileError(Image::UnsupportedFormatText(name));
    if (width == 0 || height == 0 || !Image::IsReadableSize(width, height) || skip > file.GetRemaining())
        FileValues(name).Refuse();

    std::vector<std::uint8_t> rest(file.GetRemaining());
    file.Read(static_cast<std::uint32_t>(rest.size()), rest.data());
    const std::span<const std::uint8_t> data = std::span<const std::uint8_t>(rest).subspan(skip);

    const std::uint32_t bytes = depth / 8;
    const std::uint64_t pixelBytes = std::uint64_t{width} * height * bytes;
    std::vector<std::uint8_t> decoded;
    const std::uint8_t* pixels = data.data();
    if (header[2] & kRunLengthBit) {
        decoded = DecodeRunLength(data, pixelBytes, bytes, name);
        pixels = decoded.data();
    } else if (data.size() < pixelBytes) {
        FileValues(name).Refuse();
    }

    image.Create(log, width, height, depth == 16 ? 32 : depth);
    const bool topRowFirst = header[17] & kTopRowFirstBit;
    const std::size_t storedRow = std::size_t{width} * bytes;
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint8_t* source = pixels + y * storedRow;
        std::uint8_t* target = image.GetRow(topRowFirst ? height - 1 - y : y);
        if (depth != 16) {
            std::copy_n(source, storedRow, target);
            continue;
        }
        for (std::uint32_t x = 0; x < width; ++x)
            ExpandPixel16(source + 2 * x, target + 4 * x);
    }
    if (depth != 16)
        image.SwapRedBlue();
}

void WriteTGA(FileBinary& file, const Image& image)
{
    const bool grey = image.GetBitsPerPixel() == 8;
    std::uint8_t header[kHeaderSize] = {};
    header[1] = grey ? 1 : 0; // colour map type
    header[2] = grey ? 1 : 2; // colour-mapped or true-colour pixels
    StoreLE16(header + 5, grey ? 256 : 0);
    header[7] = grey ? 24 : 0;
    StoreLE16(header + 12, static_cast<std::uint16_t>(image.GetWidth()));
    StoreLE16(header + 14, static_cast<std::uint16_t>(image.GetHeight()));
    header[16] = static_cast<std::uint8_t>(image.GetBitsPerPixel());
    header[17] = kTopRowFirstBit;
    file.Write(kHeaderSize, header);

    if (grey) {
        std::uint8_t ramp[256 * 3];
        for (std::uint32_t k = 0; k < 256; ++k)
            std::fill_n(ramp + 3 * k, 3, static_cast<std::uint8_t>(k));
        file.Write(sizeof(ramp), ramp);
    }

    file.Write(static_cast<std::uint32_t>(image.GetByteCount()), image.StoredRows(image.GetRowSize(), true).data());
    file.Close();
}

} // namespace

bool Image::LoadTGA(FileManager* files, const std::string& name, Image& image, MessageManager* log)
{
    return ReadFile(files, name, false, image, log, ReadTGA);
}

bool Image::SaveTGA(const Image& image, const std::string& name, FileManager* files)
{
    return WriteFile(image, name, files, WriteTGA);
}

} // namespace KeystrelEngine
