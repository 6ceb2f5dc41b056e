#include "Image.h"

#include "engine/foundation/Error.h"
#include "engine/foundation/FileBinary.h"
#include "engine/foundation/FileManager.h"
#include "engine/foundation/FileValues.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/StringUtils.h"

#include <algorithm>
#include <cassert>
#include <vector>

namespace KeystrelEngine {
namespace {

std::uint8_t ChannelValue(float c)
{
    return static_cast<std::uint8_t>(std::clamp(c * 255.0f, 0.0f, 255.0f));
}

// The grey of a red-green-blue pixel, in double precision with single-precision weights.
std::uint8_t Grey(const std::uint8_t* pixel)
{
    return static_cast<std::uint8_t>(0.222f * static_cast<double>(pixel[0]) + 0.707f * static_cast<double>(pixel[1]) +
                                     0.071f * static_cast<double>(pixel[2]));
}

template <std::uint32_t From, std::uint32_t To> void ConvertPixel(const std::uint8_t* source, std::uint8_t* target)
{
    if constexpr (To == 1) {
        target[0] = From == 3 ? Grey(source) : source[From - 1];
    } else {
        for (std::uint32_t c = 0; c < 3; ++c)
            target[c] = source[From == 1 ? 0 : c];
        if constexpr (To == 4)
            target[3] = From == 4 ? source[3] : 255;
    }
}

// The sizes are fixed per loop, so that each conversion is a loop of its own without branches per pixel.
template <std::uint32_t From, std::uint32_t To>
void ConvertPixels(const std::uint8_t* source, std::uint8_t* target, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        ConvertPixel<From, To>(source + i * From, target + i * To);
}

template <std::uint32_t From>
void ConvertPixelsFrom(const std::uint8_t* source, std::uint8_t* target, std::size_t count, std::uint32_t to)
{
    if (to == 1)
        ConvertPixels<From, 1>(source, target, count);
    else if (to == 3)
        ConvertPixels<From, 3>(source, target, count);
    else
        ConvertPixels<From, 4>(source, target, count);
}

// Bilinear in 8.8 fixed point. Positions run from the first to the last source pixel; the last output row
// steps back by 1/256 so that its lower neighbour row is still inside the source. A neighbour beyond the edge
// (its weight is 0, or the source is one pixel wide or high) is taken as the edge pixel.
void ResampleBilinear(Image& destination, const Image& source)
{
    const std::uint64_t sourceWidth = source.GetWidth(), sourceHeight = source.GetHeight();
    const std::uint64_t width = destination.GetWidth(), height = destination.GetHeight();
    const std::uint32_t bytes = source.GetBytesPerPixel();
    for (std::uint64_t y = 0; y < height; ++y) {
        std::uint64_t fy = height > 1 ? (sourceHeight - 1) * y * 256 / (height - 1) : 0;
        if (y == height - 1 && fy > 0)
            --fy;
        const std::uint32_t wy = fy & 255;
        const std::uint8_t* row0 = source.GetRow(static_cast<std::uint32_t>(fy >> 8));
        const std::uint8_t* row1 = source.GetRow(static_cast<std::uint32_t>(std::min((fy >> 8) + 1, sourceHeight - 1)));
        std::uint8_t* out = destination.GetRow(static_cast<std::uint32_t>(y));
        for (std::uint64_t x = 0; x < width; ++x) {
            const std::uint64_t fx = width > 1 ? (sourceWidth - 1) * x * 256 / (width - 1) : 0;
            const std::uint32_t wx = fx & 255;
            const std::size_t c0 = (fx >> 8) * bytes, c1 = std::min((fx >> 8) + 1, sourceWidth - 1) * bytes;
            for (std::uint32_t k = 0; k < bytes; ++k) {
                const std::uint32_t right = row1[c1 + k] * wy + row0[c1 + k] * (256 - wy);
                const std::uint32_t left = row1[c0 + k] * wy + row0[c0 + k] * (256 - wy);
                *out++ = static_cast<std::uint8_t>((right * wx + left * (256 - wx)) >> 16);
            }
        }
    }
}

// Each output pixel averages the 2 x 2 block at twice its position; a source one pixel wide or high averages
// with itself, and blocks are kept inside the source whatever size the caller asks for.
void ResampleHalve(Image& destination, const Image& source)
{
    const std::uint64_t sourceWidth = source.GetWidth(), sourceHeight = source.GetHeight();
    const std::uint32_t bytes = source.GetBytesPerPixel();
    for (std::uint32_t y = 0; y < destination.GetHeight(); ++y) {
        const std::uint64_t y0 = std::min(2 * std::uint64_t{y}, sourceHeight - 1);
        const std::uint8_t* row0 = source.GetRow(static_cast<std::uint32_t>(y0));
        const std::uint8_t* row1 = source.GetRow(static_cast<std::uint32_t>(std::min(y0 + 1, sourceHeight - 1)));
        std::uint8_t* out = destination.GetRow(y);
        for (std::uint64_t x = 0; x < destination.GetWidth(); ++x) {
            const std::uint64_t x0 = std::min(2 * x, sourceWidth - 1);
            const std::size_t c0 = x0 * bytes, c1 = std::min(x0 + 1, sourceWidth - 1) * bytes;
            for (std::uint32_t k = 0; k < bytes; ++k)
                *out++ =
                    static_cast<std::uint8_t>((row0[c0 + k] + row0[c1 + k] + row1[c0 + k] + row1[c1 + k] + 2) >> 2);
        }
    }
}

using Loader = bool (*)(FileManager*, const std::string&, Image&, MessageManager*);
using Saver = bool (*)(const Image&, const std::string&, FileManager*);

struct Codec
{
    const char* extension;
    Loader load;
    Saver save;
};

const Codec* FindCodec(const std::string& name)
{
    static const Codec codecs[] = {{"bmp", Image::LoadBMP, Image::SaveBMP},
                                   {"tga", Image::LoadTGA, Image::SaveTGA},
                                   {"jpg", Image::LoadJPEG, Image::SaveJPEG},
                                   {"jpeg", Image::LoadJPEG, Image::SaveJPEG}};
    const std::string extension = ToLower(GetFileExtension(name));
    for (const Codec& codec : codecs) {
        if (extension == codec.extension)
            return &codec;
    }
    return nullptr;
}

std::string UnknownTypeText(const std::string& name)
{
    return "Unknown \"" + name + "\" image file type";
}

} // namespace

void Image::Create(MessageManager* log, std::uint32_t width, std::uint32_t height, std::uint32_t bitsPerPixel)
{
    assert(bitsPerPixel == 8 || bitsPerPixel == 24 || bitsPerPixel == 32);
    m_pixels.reset();
    m_log = log;
    m_width = width;
    m_height = height;
    m_bitsPerPixel = bitsPerPixel;
    m_pixels = std::make_unique_for_overwrite<std::uint8_t[]>(GetByteCount());
}

void Image::CopyFrom(const Image& source)
{
    if (&source == this)
        return;
    Create(source.m_log, source.m_width, source.m_height, source.m_bitsPerPixel);
    std::copy_n(source.GetPixels(), GetByteCount(), GetPixels());
}

void Image::MakeCheckerboard(MessageManager* log)
{
    constexpr std::uint32_t kSquare = 8;
    Create(log, 8 * kSquare, 8 * kSquare, 24);
    Fill({0.0f, 0.0f, 0.0f, 1.0f});
    Image yellow;
    yellow.Create(log, kSquare, kSquare, 24);
    yellow.Fill({1.0f, 1.0f, 0.0f, 1.0f});
    for (std::uint32_t i = 0; i < 8; ++i) {
        for (std::uint32_t j = i % 2; j < 8; j += 2)
            yellow.Paste(*this, i * kSquare, j * kSquare);
    }
}

void Image::Fill(const Color& colour)
{
    const float grey =
        static_cast<float>(0.222f * static_cast<double>(colour.r) + 0.707f * static_cast<double>(colour.g) +
                           0.071f * static_cast<double>(colour.b));
    const std::uint8_t pixel[4] = {ChannelValue(colour.r), ChannelValue(colour.g), ChannelValue(colour.b),
                                   ChannelValue(colour.a)};
    const std::uint32_t bytes = GetBytesPerPixel();
    if (bytes == 1) {
        std::fill_n(GetPixels(), GetByteCount(), ChannelValue(grey));
        return;
    }
    for (std::size_t at = 0; at < GetByteCount(); at += bytes)
        std::copy_n(pixel, bytes, GetPixels() + at);
}

void Image::ConvertBitsPerPixel(std::uint32_t bitsPerPixel, Image& destination) const
{
    if (bitsPerPixel == m_bitsPerPixel) {
        destination.CopyFrom(*this);
        return;
    }
    // Converting into this image itself: the new pixels are made apart and take the old ones' place at the end.
    Image separate;
    Image& target = &destination == this ? separate : destination;
    target.Create(m_log, m_width, m_height, bitsPerPixel);
    const std::uint32_t from = GetBytesPerPixel(), to = target.GetBytesPerPixel();
    const std::size_t count = std::size_t{m_width} * m_height;
    if (from == 1)
        ConvertPixelsFrom<1>(GetPixels(), target.GetPixels(), count, to);
    else if (from == 3)
        ConvertPixelsFrom<3>(GetPixels(), target.GetPixels(), count, to);
    else
        ConvertPixelsFrom<4>(GetPixels(), target.GetPixels(), count, to);
    if (&target == &separate)
        destination = std::move(separate);
}

void Image::ConvertBitsPerPixel(std::uint32_t bitsPerPixel)
{
    ConvertBitsPerPixel(bitsPerPixel, *this);
}

void Image::SwapRedBlue(std::uint8_t* pixels, std::size_t count, std::uint32_t bytesPerPixel)
{
    if (bytesPerPixel < 3)
        return;
    for (std::size_t i = 0; i < count; ++i)
        std::swap(pixels[i * bytesPerPixel], pixels[i * bytesPerPixel + 2]);
}

void Image::SwapRedBlue()
{
    SwapRedBlue(GetPixels(), std::size_t{m_width} * m_height, GetBytesPerPixel());
}

std::vector<std::uint8_t> Image::StoredRows(std::size_t rowStride, bool topRowFirst) const
{
    std::vector<std::uint8_t> rows(rowStride * m_height, 0);
    for (std::uint32_t r = 0; r < m_height; ++r) {
        std::uint8_t* row = rows.data() + r * rowStride;
        std::copy_n(GetRow(topRowFirst ? m_height - 1 - r : r), GetRowSize(), row);
        SwapRedBlue(row, m_width, GetBytesPerPixel());
    }
    return rows;
}

void Image::FlipVertical()
{
    for (std::uint32_t low = 0, high = m_height; low + 1 < high; ++low, --high)
        std::swap_ranges(GetRow(low), GetRow(low) + GetRowSize(), GetRow(high - 1));
}

void Image::Resample(Image& destination, const Image& source, std::uint32_t width, std::uint32_t height, Filter filter)
{
    assert(&destination != &source);
    if (source.m_width == width && source.m_height == height) {
        destination.CopyFrom(source);
        return;
    }
    destination.Create(source.m_log, width, height, source.m_bitsPerPixel);
    if (source.GetByteCount() == 0)
        std::fill_n(destination.GetPixels(), destination.GetByteCount(), 0);
    else if (filter == FilterHalve)
        ResampleHalve(destination, source);
    else
        ResampleBilinear(destination, source);
}

void Image::Scale(std::uint32_t width, std::uint32_t height)
{
    Image scaled;
    Resample(scaled, *this, width, height, FilterBilinear);
    *this = std::move(scaled);
}

void Image::Paste(Image& destination, std::uint32_t x, std::uint32_t y) const
{
    if (m_bitsPerPixel != destination.m_bitsPerPixel) {
        Image converted;
        ConvertBitsPerPixel(destination.m_bitsPerPixel, converted);
        converted.Paste(destination, x, y);
        return;
    }
    const std::uint32_t columns = x >= destination.m_width ? 0 : std::min(m_width, destination.m_width - x);
    const std::uint32_t rows = y >= destination.m_height ? 0 : std::min(m_height, destination.m_height - y);
    const std::size_t rowBytes = std::size_t{columns} * GetBytesPerPixel();
    for (std::uint32_t r = 0; r < rows; ++r)
        std::copy_n(GetRow(r), rowBytes, destination.GetRow(y + r) + std::size_t{x} * GetBytesPerPixel());
}

void Image::CombineAlpha(const Image& opacity, Image& target)
{
    Image scaled;
    const Image* alpha = &opacity;
    if (opacity.m_width != target.m_width || opacity.m_height != target.m_height) {
        Resample(scaled, opacity, target.m_width, target.m_height, FilterBilinear);
        alpha = &scaled;
    }
    Image combined;
    target.ConvertBitsPerPixel(32, combined);
    const std::uint32_t bytes = alpha->GetBytesPerPixel();
    const std::uint32_t channel = bytes == 1 ? 0 : bytes == 3 ? 2 : 3;
    const std::size_t count = std::size_t{target.m_width} * target.m_height;
    for (std::size_t i = 0; i < count; ++i)
        combined.GetPixels()[i * 4 + 3] = alpha->GetPixels()[i * bytes + channel];
    target = std::move(combined);
}

bool Image::Load(FileManager* files, const std::string& name, Image& image, MessageManager* log)
{
    if (const Codec* codec = FindCodec(name))
        return codec->load(files, name, image, log);
    LogError(log, UnknownTypeText(name));
    return false;
}

bool Image::Save(const Image& image, const std::string& name, FileManager* files)
{
    if (const Codec* codec = FindCodec(name))
        return codec->save(image, name, files);
    LogError(image.m_log, UnknownTypeText(name));
    return false;
}

std::string Image::UnsupportedFormatText(const std::string& name)
{
    return "Unsupported \"" + name + "\" file format";
}

bool Image::ReadFile(FileManager* files, const std::string& name, bool loadWhole, Image& image, MessageManager* log,
                     FileReader read)
{
    try {
        ReadWithinMemory(FileValues(name).Refusal(),
                         [&] { read(*files->OpenBinary(name, false, loadWhole), name, image, log); });
        return true;
    } catch (const FileError& error) {
        LogError(log, error.GetText());
        return false;
    }
}

bool Image::WriteFile(const Image& image, const std::string& name, FileManager* files, FileWriter write)
{
    try {
        write(*files->OpenBinary(name, true), image);
        return true;
    } catch (const FileError& error) {
        LogError(image.m_log, error.GetText());
        return false;
    }
}

void Image::LogError(MessageManager* log, const std::string& text)
{
    if (log)
        log->Error(text);
}

} // namespace KeystrelEngine
