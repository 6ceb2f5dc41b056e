// Pixels of DirectDraw surfaces: RGB formats described by channel masks, packed into 2, 3 or 4 bytes little-end
// first. Used where the stand-in itself reads or writes surface memory (clears, read-backs).
#pragma once

#include "platform/ddraw/DDraw.h"

#include <array>
#include <cstdint>

namespace DDrawHost {

// The display format of a depth: 16 bits R5G6B5, 24 bits R8G8B8, 32 bits X8R8G8B8.
DDPIXELFORMAT RgbFormat(DWORD bitsPerPixel);
DDPIXELFORMAT ZBufferFormat(DWORD bitsPerPixel);
// An RGB texture format by its channel masks; DDPF_ALPHAPIXELS with an alpha mask.
DDPIXELFORMAT TextureFormat(DWORD bitsPerPixel, DWORD red, DWORD green, DWORD blue, DWORD alpha);
DWORD BytesPerPixel(const DDPIXELFORMAT& format);
// The same size and channel masks.
bool SamePixelLayout(const DDPIXELFORMAT& a, const DDPIXELFORMAT& b);

// Red, green, blue, alpha in 0..255; a format without an alpha mask reads alpha as 255.
std::array<std::uint8_t, 4> UnpackPixel(const std::uint8_t* pixel, const DDPIXELFORMAT& format);
void PackPixel(std::uint8_t* pixel, const DDPIXELFORMAT& format, const std::array<std::uint8_t, 4>& rgba);

} // namespace DDrawHost
