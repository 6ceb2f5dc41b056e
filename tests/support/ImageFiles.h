// Byte builders for BMP, TGA and JPEG files, so that image tests write exactly the variant they mean (padding, row
// order, palettes, run-length packets, damaged headers, colour spaces) without shipping data files.
#pragma once

#include "tests/support/TestEnvironment.h"

#include <cstdint>
#include <functional>
#include <utility>

namespace TestSupport {

struct BMPFile
{
    BMPFile(std::int32_t width, std::int32_t height, Bytes rows) : width(width), height(height), rows(std::move(rows))
    {
    }

    std::int32_t width = 0;
    std::int32_t height = 0; // negative: the first stored row is the top row
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
    Bytes palette;         // 4 bytes per entry (blue, green, red, reserved), written after the headers
    std::uint32_t gap = 0; // bytes between the palette and the pixels, which the pixel offset accounts for
    Bytes rows;            // the stored rows as they are, padding included

    Bytes Build() const;
};

struct TGAFile
{
    TGAFile(std::uint16_t width, std::uint16_t height, std::uint8_t depth, Bytes data)
        : width(width), height(height), depth(depth), data(std::move(data))
    {
    }

    std::uint8_t imageType = 2; // 2 true colour, 3 grey, +8 run-length encoded
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint8_t depth = 24;
    std::uint8_t descriptor = 0; // 0x20: the first stored row is the top row
    Bytes identification;
    std::uint16_t colourMapLength = 0; // entries of colourMapEntrySize bits, written as zeros
    std::uint8_t colourMapEntrySize = 0;
    Bytes data; // pixels or run-length packets as stored

    Bytes Build() const;
};

// A JPEG stream encoded by the library itself, for the variants the engine's writer does not make (grey, CMYK,
// progressive, sizes the engine refuses to write).
struct JPEGFile
{
    JPEGFile(std::uint32_t width, std::uint32_t height, int components)
        : width(width), height(height), components(components)
    {
    }

    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int components = 3; // 1 grey, 3 RGB, 4 CMYK
    bool progressive = false;
    // Sample i of row y, counted from the top; every sample is 128 without it.
    std::function<std::uint8_t(std::size_t i, std::uint32_t y)> sample;

    Bytes Build() const;
};

// Rows of rowBytes bytes each followed by zeros up to a multiple of 4 bytes, as BMP stores them.
Bytes PadRows(const Bytes& pixels, std::size_t rowBytes);

} // namespace TestSupport
