#include "platform/ddraw/PixelFormat.h"

#include <bit>

namespace DDrawHost {

namespace {

// A channel value scaled from 8 bits into the mask, and back.
DWORD ToChannel(std::uint8_t value, DWORD mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    return (static_cast<DWORD>(value) * ((1u << bits) - 1) + 127) / 255 << shift;
}

std::uint8_t FromChannel(DWORD word, DWORD mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const DWORD maximum = (1u << std::popcount(mask)) - 1;
    return static_cast<std::uint8_t>(((word & mask) >> shift) * 255 / maximum);
}

} // namespace

DDPIXELFORMAT RgbFormat(DWORD bitsPerPixel)
{
    DDPIXELFORMAT format;
    format.dwSize = sizeof(DDPIXELFORMAT);
    format.dwFlags = DDPF_RGB;
    format.dwRGBBitCount = bitsPerPixel;
    if (bitsPerPixel == 16) {
        format.dwRBitMask = 0xF800;
        format.dwGBitMask = 0x07E0;
        format.dwBBitMask = 0x001F;
    } else {
        format.dwRBitMask = 0x00FF0000;
        format.dwGBitMask = 0x0000FF00;
        format.dwBBitMask = 0x000000FF;
    }
    return format;
}

DDPIXELFORMAT ZBufferFormat(DWORD bitsPerPixel)
{
    DDPIXELFORMAT format;
    format.dwSize = sizeof(DDPIXELFORMAT);
    format.dwFlags = DDPF_ZBUFFER;
    format.dwZBufferBitDepth = bitsPerPixel;
    format.dwZBitMask = bitsPerPixel >= 32 ? 0xFFFFFF00u : (1u << bitsPerPixel) - 1;
    return format;
}

DDPIXELFORMAT TextureFormat(DWORD bitsPerPixel, DWORD red, DWORD green, DWORD blue, DWORD alpha)
{
    DDPIXELFORMAT format;
    format.dwSize = sizeof(DDPIXELFORMAT);
    format.dwFlags = DDPF_RGB | (alpha ? DDPF_ALPHAPIXELS : 0);
    format.dwRGBBitCount = bitsPerPixel;
    format.dwRBitMask = red;
    format.dwGBitMask = green;
    format.dwBBitMask = blue;
    format.dwRGBAlphaBitMask = alpha;
    return format;
}

DWORD BytesPerPixel(const DDPIXELFORMAT& format)
{
    return (format.dwRGBBitCount + 7) / 8;
}

bool SamePixelLayout(const DDPIXELFORMAT& a, const DDPIXELFORMAT& b)
{
    return a.dwRGBBitCount == b.dwRGBBitCount && a.dwRBitMask == b.dwRBitMask && a.dwGBitMask == b.dwGBitMask &&
           a.dwBBitMask == b.dwBBitMask && a.dwRGBAlphaBitMask == b.dwRGBAlphaBitMask;
}

std::array<std::uint8_t, 4> UnpackPixel(const std::uint8_t* pixel, const DDPIXELFORMAT& format)
{
    DWORD word = 0;
    for (DWORD i = 0; i < BytesPerPixel(format); ++i)
        word |= static_cast<DWORD>(pixel[i]) << (8 * i);
    const std::uint8_t alpha = format.dwRGBAlphaBitMask ? FromChannel(word, format.dwRGBAlphaBitMask) : 255;
    return {FromChannel(word, format.dwRBitMask), FromChannel(word, format.dwGBitMask),
            FromChannel(word, format.dwBBitMask), alpha};
}

void PackPixel(std::uint8_t* pixel, const DDPIXELFORMAT& format, const std::array<std::uint8_t, 4>& rgba)
{
    const DWORD word = ToChannel(rgba[0], format.dwRBitMask) | ToChannel(rgba[1], format.dwGBitMask) |
                       ToChannel(rgba[2], format.dwBBitMask) | ToChannel(rgba[3], format.dwRGBAlphaBitMask);
    for (DWORD i = 0; i < BytesPerPixel(format); ++i)
        pixel[i] = static_cast<std::uint8_t>(word >> (8 * i));
}

} // namespace DDrawHost
