// How a texture reaches the device. The surface size is the power of two nearest to the picture's (a tie keeps
// the larger), within the device's limits; the picture is resampled to it once and kept as level image 0, each
// mip level halving the one before. The pixel format is the device's first plain RGB format of 32 bits with
// alpha exactly when the picture has it, else of 16 bits (never four-bit alpha). Each level goes through a
// system-memory staging surface: its pixels are packed into the format's channel masks there, and one blit
// copies them onto the level.
#include "Texture2D_D3D7.h"

#include "Image.h"
#include "RenderSystem_D3D7.h"
#include "ResultCheck.h"
#include "engine/foundation/Config.h"
#include "engine/foundation/Error.h"
#include "engine/foundation/MessageManager.h"

#include <algorithm>
#include <bit>

namespace KeystrelEngine {

namespace {

const char* const kContext = "Texture2D_D3D7::CreateSurface";

// The power of two nearest to side (1 at least), no larger than limit.
std::uint32_t SurfaceSide(std::uint32_t side, std::uint32_t limit)
{
    std::uint64_t power = std::bit_ceil(std::max<std::uint64_t>(side, 1));
    if (side - power / 2 < power - side)
        power /= 2;
    return static_cast<std::uint32_t>(std::max<std::uint64_t>(1, std::min<std::uint64_t>(power, limit)));
}

std::uint32_t MipLevelCount(std::uint32_t width, std::uint32_t height)
{
    return static_cast<std::uint32_t>(std::bit_width(std::max(width, height)));
}

struct FormatWish
{
    DWORD bits;
    bool alpha;
    DDPIXELFORMAT found;
    bool matched = false;
};

HRESULT MatchFormat(DDPIXELFORMAT* format, LPVOID context)
{
    auto* wish = static_cast<FormatWish*>(context);
    constexpr DWORD kNotPlainRgb = DDPF_FOURCC | DDPF_LUMINANCE | DDPF_BUMPLUMINANCE | DDPF_BUMPDUDV;
    if (format->dwRGBBitCount != wish->bits || ((format->dwFlags & DDPF_ALPHAPIXELS) != 0) != wish->alpha ||
        (format->dwFlags & kNotPlainRgb) || format->dwRGBAlphaBitMask == 0xF000)
        return D3DENUMRET_OK;
    wish->found = *format;
    wish->matched = true;
    return D3DENUMRET_CANCEL;
}

// Where an 8-bit channel goes in a packed pixel: its top bits, shifted to the mask's place.
struct ChannelPacking
{
    DWORD mask;
    int shift;
    int loss;

    explicit ChannelPacking(DWORD channelMask) : mask(channelMask), shift(0), loss(8)
    {
        if (mask == 0)
            return;
        shift = std::countr_zero(mask);
        const int width = 32 - std::countl_zero(mask) - shift;
        loss = std::max(0, 8 - width);
    }

    DWORD Pack(std::uint8_t value) const { return (static_cast<DWORD>(value) >> loss) << shift & mask; }
};

struct PixelPacking
{
    ChannelPacking red, green, blue, alpha;
};

// One row of image pixels of Bytes bytes (red, green, blue and maybe alpha) packed into Size-byte pixels, low
// byte first. The sizes are fixed per loop, so that the compiler writes each pixel as one store.
template <std::uint32_t Bytes, std::uint32_t Size>
void PackRow(const std::uint8_t* in, std::uint8_t* out, std::uint32_t columns, const PixelPacking& packing)
{
    for (std::uint32_t x = 0; x < columns; ++x, in += Bytes, out += Size) {
        const DWORD value = packing.red.Pack(in[0]) + packing.green.Pack(in[1]) + packing.blue.Pack(in[2]) +
                            packing.alpha.Pack(Bytes == 4 ? in[3] : 255);
        for (std::uint32_t i = 0; i < Size; ++i)
            out[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

template <std::uint32_t Bytes>
void PackRowInto(const std::uint8_t* in, std::uint8_t* out, std::uint32_t columns, const PixelPacking& packing,
                 std::uint32_t size)
{
    if (size == 4)
        PackRow<Bytes, 4>(in, out, columns, packing);
    else
        PackRow<Bytes, 2>(in, out, columns, packing);
}

} // namespace

Texture2D_D3D7::Texture2D_D3D7(MessageManager* log, Config* config, RenderSystem_D3D7* renderSystem,
                               const std::string& name, const Image& image, bool mipMapped)
    : Texture2D(log, config, name, mipMapped && config->r_use_mip_mapping), m_renderSystem(renderSystem)
{
    CreateSurface(&image);
    m_renderSystem->AddTexture(this);
}

Texture2D_D3D7::~Texture2D_D3D7()
{
    ReleaseSurface();
    try {
        m_renderSystem->RemoveTexture(this);
    } catch (const FatalError&) {
        // The line is in the log; a destructor must not throw.
    }
}

void Texture2D_D3D7::ReleaseSurface()
{
    if (m_surface)
        m_surface->Release();
    m_surface = nullptr;
}

void Texture2D_D3D7::Check(HRESULT result) const
{
    CheckResult(kContext, result, m_renderSystem);
}

void Texture2D_D3D7::CreateSurface(const Image* image)
{
    if (m_surface || (!image && m_levels.empty()))
        return;
    m_videoMemorySize = 0;
    const Image& source = image ? *image : *m_levels.front();
    m_width = SurfaceSide(source.GetWidth(), m_renderSystem->GetMaxTextureWidth());
    m_height = SurfaceSide(source.GetHeight(), m_renderSystem->GetMaxTextureHeight());
    const std::uint32_t bits = source.GetBitsPerPixel() == 8 ? 24 : source.GetBitsPerPixel();
    DDSURFACEDESC2 desc = DescribeSurface(bits);
    // The level images come first: a texture whose surface cannot be made now keeps them for the next try.
    if (m_levels.empty())
        BuildLevelImages(source, bits);
    const HRESULT created = m_renderSystem->GetDirectDraw()->CreateSurface(&desc, &m_surface, nullptr);
    if (FAILED(created)) {
        m_surface = nullptr;
        Check(created);
        return;
    }
    DDSURFACEDESC2 top;
    top.dwSize = sizeof(top);
    m_surface->GetSurfaceDesc(&top);
    IDirectDrawSurface7* level = m_surface;
    std::uint32_t width = m_width;
    std::uint32_t height = m_height;
    for (std::size_t index = 0;; ++index) {
        if (index < m_levels.size())
            FillLevel(level, *m_levels[index], top.ddpfPixelFormat);
        m_videoMemorySize += bits / 8 * width * height;
        if (!m_mipMapped || (width == 1 && height == 1))
            break;
        DDSCAPS2 caps;
        caps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_MIPMAP;
        IDirectDrawSurface7* next = nullptr;
        if (FAILED(level->GetAttachedSurface(&caps, &next)))
            break;
        // The chain keeps the level alive; the reference GetAttachedSurface added is not needed.
        next->Release();
        level = next;
        width = std::max(1u, width / 2);
        height = std::max(1u, height / 2);
    }
}

DDSURFACEDESC2 Texture2D_D3D7::DescribeSurface(std::uint32_t bitsPerPixel) const
{
    DDSURFACEDESC2 desc;
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT | DDSD_TEXTURESTAGE;
    desc.ddsCaps.dwCaps = DDSCAPS_TEXTURE;
    desc.dwWidth = m_width;
    desc.dwHeight = m_height;
    desc.dwTextureStage = 0;
    if (m_mipMapped) {
        desc.dwFlags |= DDSD_MIPMAPCOUNT;
        desc.ddsCaps.dwCaps |= DDSCAPS_MIPMAP | DDSCAPS_COMPLEX;
        desc.dwMipMapCount = MipLevelCount(m_width, m_height);
    }
    const GUID& device = m_renderSystem->GetCurrentDevice()->guid;
    if (device == IID_IDirect3DHALDevice || device == IID_IDirect3DTnLHalDevice)
        desc.ddsCaps.dwCaps2 = DDSCAPS2_TEXTUREMANAGE;
    else
        desc.ddsCaps.dwCaps |= DDSCAPS_SYSTEMMEMORY;

    IDirect3DDevice7* direct3D = *m_renderSystem->GetDeviceSlot();
    FormatWish wish{32, bitsPerPixel == 32, {}};
    direct3D->EnumTextureFormats(MatchFormat, &wish);
    if (!wish.matched) {
        wish.bits = 16;
        direct3D->EnumTextureFormats(MatchFormat, &wish);
    }
    if (!wish.matched)
        m_log->FatalError("Direct3D Subsystem (Texture2D_D3D7::CreateSurface): Failed to find texture format");
    desc.ddpfPixelFormat = wish.found;
    return desc;
}

void Texture2D_D3D7::BuildLevelImages(const Image& source, std::uint32_t bitsPerPixel)
{
    auto level = std::make_unique<Image>();
    Image::Resample(*level, source, m_width, m_height, Image::FilterBilinear);
    level->ConvertBitsPerPixel(bitsPerPixel);
    m_levels.push_back(std::move(level));
    std::uint32_t width = m_width;
    std::uint32_t height = m_height;
    while (m_mipMapped && (width > 1 || height > 1)) {
        width = std::max(1u, width / 2);
        height = std::max(1u, height / 2);
        level = std::make_unique<Image>();
        Image::Resample(*level, *m_levels.back(), width, height, Image::FilterHalve);
        // Shows where the first smaller level is drawn.
        if (m_levels.size() == 1 && m_config->r_show_mip_maps)
            level->Fill({1.0f, 0.0f, 0.0f, 1.0f});
        m_levels.push_back(std::move(level));
    }
}

// Packs the image into a staging surface of the level's size and blits it onto the level. Image row y goes to
// surface row y, so the picture's bottom row is the texture's v = 0.
void Texture2D_D3D7::FillLevel(IDirectDrawSurface7* level, const Image& image, const DDPIXELFORMAT& format)
{
    DDSURFACEDESC2 levelDesc;
    levelDesc.dwSize = sizeof(levelDesc);
    level->GetSurfaceDesc(&levelDesc);
    DDSURFACEDESC2 desc;
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT | DDSD_TEXTURESTAGE;
    desc.ddsCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY;
    desc.dwWidth = levelDesc.dwWidth;
    desc.dwHeight = levelDesc.dwHeight;
    desc.ddpfPixelFormat = format;
    IDirectDrawSurface7* staging = nullptr;
    const HRESULT created = m_renderSystem->GetDirectDraw()->CreateSurface(&desc, &staging, nullptr);
    if (FAILED(created)) {
        Check(created);
        return;
    }
    DDSURFACEDESC2 locked;
    locked.dwSize = sizeof(locked);
    HRESULT result;
    do {
        result = staging->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr);
    } while (result == DDERR_WASSTILLDRAWING);
    if (SUCCEEDED(result)) {
        const PixelPacking packing{ChannelPacking(format.dwRBitMask), ChannelPacking(format.dwGBitMask),
                                   ChannelPacking(format.dwBBitMask), ChannelPacking(format.dwRGBAlphaBitMask)};
        const std::uint32_t size = format.dwRGBBitCount == 32 ? 4 : 2;
        // Kept images made for a device with larger limits are cut to the surface.
        const std::uint32_t rows = std::min(image.GetHeight(), locked.dwHeight);
        const std::uint32_t columns = std::min(image.GetWidth(), locked.dwWidth);
        for (std::uint32_t y = 0; y < rows; ++y) {
            auto* out = static_cast<std::uint8_t*>(locked.lpSurface) + static_cast<std::size_t>(y) * locked.lPitch;
            if (image.GetBytesPerPixel() == 4)
                PackRowInto<4>(image.GetRow(y), out, columns, packing, size);
            else
                PackRowInto<3>(image.GetRow(y), out, columns, packing, size);
        }
        Check(staging->Unlock(nullptr));
        Check(level->Blt(nullptr, staging, nullptr, DDBLT_WAIT, nullptr));
    }
    staging->Release();
}

} // namespace KeystrelEngine
