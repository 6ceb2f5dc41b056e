#include "tests/support/ImageFiles.h"

namespace TestSupport {
namespace {

void Put16(Bytes& out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(Bytes& out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void Append(Bytes& out, const Bytes& more)
{
    out.insert(out.end(), more.begin(), more.end());
}

} // namespace

Bytes BMPFile::Build() const
{
    const std::uint32_t offset = 54 + static_cast<std::uint32_t>(palette.size()) + gap;
    Bytes out = {'B', 'M'};
    Put32(out, offset + static_cast<std::uint32_t>(rows.size()));
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));
    Put16(out, 1);
    Put16(out, bitCount);
    Put32(out, compression);
    Put32(out, static_cast<std::uint32_t>(rows.size()));
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, coloursUsed);
    Put32(out, 0);
    Append(out, palette);
    out.resize(out.size() + gap, 0xEE);
    Append(out, rows);
    return out;
}

Bytes TGAFile::Build() const
{
    Bytes out = {static_cast<std::uint8_t>(identification.size()), 0, imageType};
    Put16(out, 0);
    Put16(out, colourMapLength);
    out.push_back(colourMapEntrySize);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, width);
    Put16(out, height);
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

} // namespace TestSupport
