// What the texture and shader tests share: a render system on the recording device, pictures written below the
// data folder, and the pixels a texture holds on the device, read back level by level.
#pragma once

#include "engine/render/Image.h"
#include "engine/render/Texture2D_D3D7.h"
#include "tests/engine/render/RenderFixture.h"

#include <array>
#include <functional>

namespace RenderTesting {

using Rgba = std::array<std::uint8_t, 4>;

struct TextureLevel
{
    DWORD width = 0;
    DWORD height = 0;
    DDPIXELFORMAT format;
    std::vector<DWORD> pixels; // packed words, the surface's first row first
    DWORD At(DWORD x, DWORD y) const { return pixels[y * width + x]; }
};

// A TGA picture below the data folder ("ui\\logo.tga" is Data/ui/logo.tga): colour(x, y) for each pixel, row 0
// being the bottom row; red, green, blue and, for 32 bits, alpha.
inline void WritePicture(TestSupport::EngineServices& services, const std::string& name, std::uint32_t width,
                         std::uint32_t height, std::uint32_t bits,
                         const std::function<Rgba(std::uint32_t, std::uint32_t)>& colour)
{
    KeystrelEngine::Image image;
    image.Create(&services.log, width, height, bits);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            const Rgba rgba = colour(x, y);
            std::copy_n(rgba.begin(), image.GetBytesPerPixel(), image.GetRow(y) + x * image.GetBytesPerPixel());
        }
    }
    std::string path = name;
    std::replace(path.begin(), path.end(), '\\', '/');
    ASSERT_TRUE(KeystrelEngine::Image::SaveTGA(image, TestSupport::BaseFolder() + "/Data/" + path, &services.files));
}

class TextureFixture : public RenderFixture
{
protected:
    void WritePicture(const std::string& name, std::uint32_t width, std::uint32_t height, std::uint32_t bits,
                      const std::function<Rgba(std::uint32_t, std::uint32_t)>& colour)
    {
        RenderTesting::WritePicture(services, name, width, height, bits, colour);
    }

    // The warnings written, as the texts the code gave (without the log's line breaks, label and mark).
    std::vector<std::string> WarningTexts() const
    {
        std::vector<std::string> texts = Warnings();
        for (std::string& text : texts) {
            const std::string label = "\nWarning: ";
            const std::string mark = "!\n\n";
            if (text.starts_with(label) && text.ends_with(mark))
                text = text.substr(label.size(), text.size() - label.size() - mark.size());
        }
        return texts;
    }

    void WriteFlatPicture(const std::string& name, std::uint32_t width, std::uint32_t height, std::uint32_t bits,
                          Rgba colour)
    {
        WritePicture(name, width, height, bits, [colour](std::uint32_t, std::uint32_t) { return colour; });
    }

    // Every level of the texture's surface; nothing without a surface.
    static std::vector<TextureLevel> Levels(const KeystrelEngine::Texture2D* texture)
    {
        std::vector<TextureLevel> levels;
        auto* level = static_cast<const KeystrelEngine::Texture2D_D3D7*>(texture)->GetSurface();
        while (level) {
            DDSURFACEDESC2 desc;
            desc.dwSize = sizeof(desc);
            EXPECT_EQ(level->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
            TextureLevel read{desc.dwWidth, desc.dwHeight, desc.ddpfPixelFormat, {}};
            const DWORD size = desc.ddpfPixelFormat.dwRGBBitCount / 8;
            for (DWORD y = 0; y < desc.dwHeight; ++y) {
                const auto* row = static_cast<const std::uint8_t*>(desc.lpSurface) + y * desc.lPitch;
                for (DWORD x = 0; x < desc.dwWidth; ++x) {
                    DWORD word = 0;
                    for (DWORD i = 0; i < size; ++i)
                        word |= static_cast<DWORD>(row[x * size + i]) << (8 * i);
                    read.pixels.push_back(word);
                }
            }
            level->Unlock(nullptr);
            levels.push_back(std::move(read));
            DDSCAPS2 caps;
            caps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_MIPMAP;
            IDirectDrawSurface7* next = nullptr;
            if (FAILED(level->GetAttachedSurface(&caps, &next)))
                break;
            next->Release();
            level = next;
        }
        return levels;
    }
};

} // namespace RenderTesting
