// Pictures: the input is a picture file of the target's format (FUZZ_IMAGE_EXTENSION: "bmp", "tga" or "jpg",
// given by the build), loaded through Image::Load as the texture manager loads it.
#include "tests/fuzz/FuzzFolder.h"
#include "tests/fuzz/FuzzTarget.h"

#include "engine/foundation/FileManager.h"
#include "engine/foundation/MessageManager.h"
#include "engine/render/Image.h"
#include "tests/support/ImageFiles.h"

#include <string>
#include <string_view>

using KeystrelEngine::Image;
using TestSupport::Bytes;

namespace {

constexpr std::string_view kExtension = FUZZ_IMAGE_EXTENSION;

KeystrelEngine::MessageManager& Log()
{
    static KeystrelEngine::MessageManager log("", "Quellhaven", "", false, false);
    return log;
}

KeystrelEngine::FileManager& Files()
{
    static KeystrelEngine::FileManager files(&Log(), Fuzzing::FuzzFolder::Get().GetBase(), "Data");
    return files;
}

// A picture whose every byte differs from its neighbours.
Image Pattern(std::uint32_t width, std::uint32_t height, std::uint32_t bits)
{
    Image image;
    image.Create(&Log(), width, height, bits);
    for (std::size_t i = 0; i < image.GetByteCount(); ++i)
        image.GetPixels()[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return image;
}

// The picture as the engine's writer stores it in the target's format.
Bytes Saved(const Image& image)
{
    const std::string name = "seed." + std::string(kExtension);
    Image::Save(image, name, &Files());
    return Fuzzing::FuzzFolder::Get().Read(name);
}

// A progressive colour JPEG, a variant the engine's writer does not make.
Bytes ProgressiveJPEG()
{
    TestSupport::JPEGFile file(24, 16, 3);
    file.progressive = true;
    file.sample = [](std::size_t i, std::uint32_t y) { return static_cast<std::uint8_t>(i * 11 + y * 5); };
    return file.Build();
}

void WriteBMPVariants(Fuzzing::SeedFolder& seeds)
{
    TestSupport::BMPFile topDown(3, -2, TestSupport::PadRows(Bytes(18, 90), 9));
    seeds.Add("top-down.bmp", topDown.Build());
    TestSupport::BMPFile paletted(5, 2, TestSupport::PadRows({0, 1, 1, 0, 1, 1, 0, 0, 1, 0}, 5));
    paletted.bitCount = 8;
    paletted.coloursUsed = 2;
    paletted.palette = {255, 0, 0, 0, 0, 255, 0, 0};
    seeds.Add("paletted.bmp", paletted.Build());
}

void WriteTGAVariants(Fuzzing::SeedFolder& seeds)
{
    TestSupport::TGAFile packed(
        5, 3, 24, {0x84, 1, 2, 3, 0x04, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0x84, 9, 9, 9});
    packed.imageType = 10;
    seeds.Add("packed.tga", packed.Build());
    TestSupport::TGAFile sixteen(2, 2, 16, {0x00, 0xFC, 0xE0, 0x83, 0x1F, 0x00, 0xFF, 0xFF});
    sixteen.identification = {'i', 'd'};
    sixteen.colourMapLength = 2;
    sixteen.colourMapEntrySize = 24;
    seeds.Add("sixteen.tga", sixteen.Build());
    TestSupport::TGAFile grey(4, 1, 8, {0, 80, 160, 240});
    grey.imageType = 3;
    grey.descriptor = 0x20;
    seeds.Add("grey.tga", grey.Build());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string name = "fuzz." + std::string(kExtension);
    Fuzzing::FuzzFolder::Get().Write(name, data, size);
    Image image;
    Image::Load(&Files(), name, image, &Log());
    Log().m_history.clear();
    return 0;
}

void Fuzzing::WriteSeeds(SeedFolder& seeds)
{
    const std::string extension(kExtension);
    for (const std::uint32_t bits : {8u, 24u, 32u})
        seeds.Add("saved" + std::to_string(bits) + "." + extension, Saved(Pattern(7, 5, bits)));
    seeds.Add("square." + extension, Saved(Pattern(16, 16, 24)));
    if (kExtension == "bmp")
        WriteBMPVariants(seeds);
    else if (kExtension == "tga")
        WriteTGAVariants(seeds);
    else
        seeds.Add("progressive.jpg", ProgressiveJPEG());
}
