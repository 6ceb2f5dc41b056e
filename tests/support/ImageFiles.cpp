#include "tests/support/ImageFiles.h"

#include "tools/formats/ByteWriter.h"

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

namespace TestSupport {

using namespace Formats;
namespace {

J_COLOR_SPACE ColourSpace(int components)
{
    return components == 1 ? JCS_GRAYSCALE : components == 4 ? JCS_CMYK : JCS_RGB;
}

} // namespace

Bytes BMPFile::Build() const
{
    const std::uint32_t offset = 54 + static_cast<std::uint32_t>(palette.size()) + gap;
    Bytes out = {'B', 'M'};
    PutLE32(out, offset + static_cast<std::uint32_t>(rows.size()));
    PutLE32(out, 0);
    PutLE32(out, offset);
    PutLE32(out, 40);
    PutLE32(out, static_cast<std::uint32_t>(width));
    PutLE32(out, static_cast<std::uint32_t>(height));
    PutLE16(out, 1);
    PutLE16(out, bitCount);
    PutLE32(out, compression);
    PutLE32(out, static_cast<std::uint32_t>(rows.size()));
    PutLE32(out, 2835);
    PutLE32(out, 2835);
    PutLE32(out, coloursUsed);
    PutLE32(out, 0);
    Append(out, palette);
    out.resize(out.size() + gap, 0xEE);
    Append(out, rows);
    return out;
}

Bytes TGAFile::Build() const
{
    Bytes out = {static_cast<std::uint8_t>(identification.size()), 0, imageType};
    PutLE16(out, 0);
    PutLE16(out, colourMapLength);
    out.push_back(colourMapEntrySize);
    PutLE16(out, 0);
    PutLE16(out, 0);
    PutLE16(out, width);
    PutLE16(out, height);
    out.push_back(depth);
    out.push_back(descriptor);
    Append(out, identification);
    out.resize(out.size() + colourMapLength * colourMapEntrySize / 8, 0);
    Append(out, data);
    return out;
}

Bytes PadRows(const Bytes& pixels, std::size_t rowBytes)
{
    const std::size_t padded = (rowBytes + 3) / 4 * 4;
    Bytes out;
    for (std::size_t at = 0; at < pixels.size(); at += rowBytes) {
        out.insert(out.end(), pixels.begin() + static_cast<std::ptrdiff_t>(at),
                   pixels.begin() + static_cast<std::ptrdiff_t>(at + rowBytes));
        out.resize(out.size() + padded - rowBytes, 0);
    }
    return out;
}

Bytes JPEGFile::Build() const
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = components;
    info.in_color_space = ColourSpace(components);
    jpeg_set_defaults(&info);
    if (progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(std::size_t{width} * static_cast<std::size_t>(components), 128);
    while (info.next_scanline < height) {
        for (std::size_t i = 0; sample && i < row.size(); ++i)
            row[i] = sample(i, info.next_scanline);
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

} // namespace TestSupport
