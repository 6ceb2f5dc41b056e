// Loaders when memory runs out, or when a file claims more than memory can give: a failed allocation ends as the
// loader's own logged error, and a picture above the largest side the readers accept is refused before anything
// of its size is asked for.
#include "AllocationLimit.h"

#include "engine/foundation/Error.h"
#include "engine/foundation/PackFile.h"
#include "engine/render/Image.h"
#include "tests/engine/render/ModelFixture.h"
#include "tests/support/ImageFiles.h"
#include "tests/support/PackWriter.h"

using namespace KeystrelEngine;
using TestSupport::Bytes;
using TestSupport::JPEGFile;

namespace RenderTesting {
namespace {

constexpr std::uint32_t kSide = Image::kMaxReadSide;

std::string FormatError(const std::string& name)
{
    return "Incorrect \"" + name + "\" file format";
}

// The whole line the log keeps for an error.
std::string ErrorLine(const std::string& text)
{
    return "\nError: " + text + "!\n\n";
}

Bytes GreyBMP(std::int32_t width, std::int32_t height)
{
    const std::uint32_t rows = static_cast<std::uint32_t>(height < 0 ? -height : height);
    TestSupport::BMPFile file(width, height, TestSupport::PadRows(Bytes(std::size_t{rows} * width * 3, 90), width * 3));
    return file.Build();
}

// A small JPEG whose frame header claims 64495 x 63486 pixels: four gigabytes of picture without picture data.
Bytes ClaimingJPEG()
{
    Bytes bytes = JPEGFile(8, 8, 1).Build();
    for (std::size_t at = 0; at + 8 < bytes.size(); ++at) {
        if (bytes[at] == 0xFF && bytes[at + 1] == 0xC0) {
            bytes[at + 5] = 0xF7; // height 63486
            bytes[at + 6] = 0xFE;
            bytes[at + 7] = 0xFB; // width 64495
            bytes[at + 8] = 0xEF;
            break;
        }
    }
    return bytes;
}

class LoaderMemory : public ModelFixture
{
protected:
    bool LoadImage(const std::string& name, const Bytes& bytes)
    {
        TestSupport::WriteFile(TestSupport::BaseFolder() + "/" + name, bytes);
        services.log.m_history.clear();
        Image image;
        return Image::Load(&services.files, name, image, &services.log);
    }

    std::vector<std::string> OneError(const std::string& text) const { return {ErrorLine(text)}; }
};

TEST_F(LoaderMemory, PicturesAboveTheLargestSideAreRefusedBeforeAllocating)
{
    TestSupport::TGAFile high(1, kSide, 8, Bytes(kSide, 40));
    EXPECT_TRUE(LoadImage("wide.bmp", GreyBMP(kSide, 1)));
    EXPECT_TRUE(LoadImage("high.tga", high.Build()));
    EXPECT_TRUE(LoadImage("wide.jpg", JPEGFile(kSide, 8, 1).Build()));

    TestSupport::TGAFile wider(kSide + 1, 1, 8, Bytes(kSide + 1, 40));
    TestSupport::TGAFile packed(kSide + 1, 1, 8, {});
    packed.imageType = 11;
    for (std::uint32_t left = kSide + 1; left > 0; left -= std::min(left, 128u))
        packed.data.insert(packed.data.end(), {static_cast<std::uint8_t>(0x80 | (std::min(left, 128u) - 1)), 40});
    const std::pair<std::string, Bytes> claims[] = {{"wider.bmp", GreyBMP(kSide + 1, 1)},
                                                    {"higher.bmp", GreyBMP(1, -static_cast<std::int32_t>(kSide) - 1)},
                                                    {"wider.tga", wider.Build()},
                                                    {"packed.tga", packed.Build()},
                                                    {"wider.jpg", JPEGFile(kSide + 1, 8, 1).Build()},
                                                    {"claim.jpg", ClaimingJPEG()}};
    for (const auto& [name, file] : claims) {
        const AllocationLimit limit(64u << 20);
        EXPECT_FALSE(LoadImage(name, file)) << name;
        EXPECT_EQ(Errors(), OneError(FormatError(name)));
        EXPECT_LT(AllocationLimit::GetLargestRequest(), 1u << 20) << name;
    }
}

TEST_F(LoaderMemory, AnAllocationThatFailsEndsAsTheLoadersError)
{
    Image picture;
    picture.Create(&services.log, 128, 128, 24);
    picture.Fill({0.5f, 0.25f, 1.0f, 1.0f});
    for (const char* name : {"big.bmp", "big.tga", "big.jpg"})
        ASSERT_TRUE(Image::Save(picture, name, &services.files));

    Formats::ModelFile model = StaticQuad();
    model.vertices.resize(4096, model.vertices[0]);
    const std::string modelName = WriteModel("big", model);

    std::vector<TestSupport::PackEntry> entries;
    for (int i = 0; i < 4000; ++i)
        entries.push_back({"data\\entry" + std::to_string(i) + ".txt", {1}});
    const std::string packPath = TestSupport::BaseFolder() + "/big.pak";
    TestSupport::WriteFile(packPath, TestSupport::BuildPack(entries));

    const AllocationLimit limit(16u << 10);
    for (const char* name : {"big.bmp", "big.tga", "big.jpg"}) {
        services.log.m_history.clear();
        Image image;
        EXPECT_FALSE(Image::Load(&services.files, name, image, &services.log));
        EXPECT_EQ(Errors(), OneError(FormatError(name)));
    }
    services.log.m_history.clear();
    EXPECT_THROW(Load(modelName), Error);
    EXPECT_EQ(Errors(), OneError(FormatError(modelName)));
    services.log.m_history.clear();
    EXPECT_THROW(PackFile(packPath, &services.log), Error);
    EXPECT_EQ(Errors(), std::vector<std::string>{"Error: Incorrect pack file format!\n"});
}

} // namespace
} // namespace RenderTesting
