// BMP files: a 14-byte file header, an information header (40 bytes or longer), a palette for 8-bit files, and
// the rows, each padded to a multiple of 4 bytes, from the offset the file header gives. A positive height stores
// the bottom row first, a negative one the top row first. Pixels and palette entries are stored blue, green, red
// (, alpha / reserved). Read are 8-bit (through the palette, into a 24-bit image), 24- and 32-bit files without
// compression; the writer stores 8-bit images with a grey palette.
#include "Image.h"

#include "engine/foundation/ByteOrder.h"
#include "engine/foundation/Error.h"
#include "engine/foundation/FileBinary.h"
#include "engine/foundation/FileValues.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace KeystrelEngine {
namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kHeadersSize = 54; // the file header and a 40-byte information header
constexpr std::uint32_t kPaletteEntries = 256;

std::uint64_t PaddedRowSize(std::uint64_t rowBytes)
{
    return (rowBytes + 3) & ~std::uint64_t{3};
}

// The palette follows the information header; a count of 0 (or an impossible one) means all 256 entries.
void ReadPalette(FileBinary& file, const std::string& name, std::uint32_t infoSize, std::uint32_t coloursUsed,
                 std::uint8_t* palette)
{
    const std::uint32_t entries = coloursUsed == 0 || coloursUsed > kPaletteEntries ? kPaletteEntries : coloursUsed;
    if (!file.Seek(FileBinary::SeekFromStart, std::int64_t{kFileHeaderSize} + infoSize))
        FileValues(name).Refuse();
    file.Read(entries * 4, palette);
}

void ReadBMP(FileBinary& file, const std::string& name, Image& image, MessageManager* log)
{
    std::uint8_t header[kHeadersSize];
    file.Read(kHeadersSize, header);
    if (header[0] != 'B' || header[1] != 'M')
        FileValues(name).Refuse();
    const std::uint32_t pixelOffset = LoadLE32(header + 10);
    const std::int32_t width = static_cast<std::int32_t>(LoadLE32(header + 18));
    const std::int32_t height = static_cast<std::int32_t>(LoadLE32(header + 22));
    const std::uint32_t bitCount = LoadLE16(header + 28);
    if ((bitCount != 8 && bitCount != 24 && bitCount != 32) || (LoadLE32(header + 30) & 0xFFFF) != 0)
        throw FileError(Image::UnsupportedFormatText(name));
    if (width <= 0 || height == 0 || height == INT32_MIN)
        FileValues(name).Refuse();

    // Sizes in 64 bits, and the pixel block must lie inside the file before anything is allocated.
    const std::uint32_t rows = static_cast<std::uint32_t>(height < 0 ? -height : height);
    const std::uint64_t rowBytes = std::uint64_t{static_cast<std::uint32_t>(width)} * (bitCount / 8);
    const std::uint64_t padded = PaddedRowSize(rowBytes);
    const std::uint64_t fileSize = file.GetSize();
    if (!Image::IsReadableSize(static_cast<std::uint32_t>(width), rows) || pixelOffset > fileSize ||
        padded > (fileSize - pixelOffset) / rows)
        FileValues(name).Refuse();

    std::uint8_t palette[kPaletteEntries * 4] = {};
    if (bitCount == 8)
        ReadPalette(file, name, LoadLE32(header + 14), LoadLE32(header + 46), palette);
    file.Seek(FileBinary::SeekFromStart, pixelOffset);
    std::vector<std::uint8_t> stored(padded * rows);
    file.Read(static_cast<std::uint32_t>(stored.size()), stored.data());

    image.Create(log, static_cast<std::uint32_t>(width), rows, bitCount == 32 ? 32 : 24);
    for (std::uint32_t r = 0; r < rows; ++r) {
        const std::uint8_t* source = stored.data() + r * padded;
        std::uint8_t* target = image.GetRow(height < 0 ? rows - 1 - r : r);
        if (bitCount != 8) {
            std::copy_n(source, rowBytes, target);
            continue;
        }
        for (std::uint64_t x = 0; x < rowBytes; ++x)
            std::copy_n(palette + 4 * source[x], 3, target + 3 * x);
    }
    image.SwapRedBlue();
}

void WriteBMP(FileBinary& file, const Image& image)
{
    const std::uint32_t bytes = image.GetBytesPerPixel();
    const std::uint32_t paletteSize = bytes == 1 ? kPaletteEntries * 4 : 0;
    const std::size_t padded = PaddedRowSize(image.GetRowSize());
    const std::uint32_t dataSize = static_cast<std::uint32_t>(padded * image.GetHeight());

    std::uint8_t header[kHeadersSize] = {'B', 'M'};
    StoreLE32(header + 2, kHeadersSize + paletteSize + dataSize);
    StoreLE32(header + 10, kHeadersSize + paletteSize);
    StoreLE32(header + 14, kHeadersSize - kFileHeaderSize);
    StoreLE32(header + 18, image.GetWidth());
    StoreLE32(header + 22, image.GetHeight());
    StoreLE16(header + 26, 1);
    StoreLE16(header + 28, static_cast<std::uint16_t>(image.GetBitsPerPixel()));
    StoreLE32(header + 34, dataSize);
    StoreLE32(header + 38, 2835); // 72 dots per inch
    StoreLE32(header + 42, 2835);
    StoreLE32(header + 46, paletteSize / 4);
    file.Write(kHeadersSize, header);

    if (bytes == 1) {
        std::uint8_t palette[kPaletteEntries * 4] = {};
        for (std::uint32_t k = 0; k < kPaletteEntries; ++k)
            std::fill_n(palette + 4 * k, 3, static_cast<std::uint8_t>(k));
        file.Write(paletteSize, palette);
    }

    file.Write(dataSize, image.StoredRows(padded, false).data());
    file.Close();
}

} // namespace

bool Image::LoadBMP(FileManager* files, const std::string& name, Image& image, MessageManager* log)
{
    return ReadFile(files, name, false, image, log, ReadBMP);
}

bool Image::SaveBMP(const Image& image, const std::string& name, FileManager* files)
{
    return WriteFile(image, name, files, WriteBMP);
}

} // namespace KeystrelEngine
