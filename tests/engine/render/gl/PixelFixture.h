// What the GL pixel tests share: the render system on the GL back end (SDL's offscreen driver with a software GL),
// rectangles drawn through vertex and index buffers, and the pixels read back through the device with the screen
// grab. A test without a GL device is skipped.
#pragma once

#include "engine/foundation/Error.h"
#include "engine/render/Image.h"
#include "engine/render/IndexBuffer.h"
#include "engine/render/VertexBuffer.h"
#include "tests/engine/render/RenderFixture.h"
#include "tests/support/TestEnvironment.h"

#include <array>
#include <cstring>
#include <filesystem>

namespace RenderTesting {

constexpr std::uint32_t kPixelWidth = 640;
constexpr std::uint32_t kPixelHeight = 480;

struct Vertex
{
    KeystrelEngine::Vector3 position;
    KeystrelEngine::Vector3 normal{0.0f, 0.0f, 1.0f};
    std::uint32_t colour = 0; // used only when the draw asks for colours
    float u = 0.0f;
    float v = 0.0f;
};

// A rectangle in screen coordinates (-1..1, y up) at depth z (the device's depth is -z: the engine mirrors Z),
// with texture coordinates from (0, 0) at the bottom left to (1, 1) at the top right.
inline std::vector<Vertex> Rectangle(float left, float bottom, float right, float top, float z,
                                     std::uint32_t colour = 0)
{
    return {{{left, bottom, z}, {0, 0, 1}, colour, 0, 0},
            {{right, bottom, z}, {0, 0, 1}, colour, 1, 0},
            {{right, top, z}, {0, 0, 1}, colour, 1, 1},
            {{left, top, z}, {0, 0, 1}, colour, 0, 1}};
}

inline std::vector<std::uint16_t> RectangleIndices()
{
    return {0, 1, 2, 0, 2, 3};
}

// Red, green, blue of the pixel in column x and row y counted from the bottom, as the screen projection counts
// them.
inline std::array<int, 3> PixelFromBottom(const KeystrelEngine::Image& image, std::uint32_t x, std::uint32_t y)
{
    const std::uint8_t* pixel = image.GetRow(y) + x * image.GetBytesPerPixel();
    return {pixel[0], pixel[1], pixel[2]};
}

// Saves the picture for people to look at, in a folder of the running test's own below the test output folder.
inline void SaveTestPicture(const KeystrelEngine::Image& image, const std::string& fileName,
                            KeystrelEngine::FileManager& files)
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string folder = std::string(KEYSTREL_TEST_OUTPUT) + "/" + test->test_suite_name() + "." + test->name();
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(KeystrelEngine::Image::SaveBMP(image, folder + "/" + fileName, &files));
}

class PixelFixture : public RenderFixture
{
protected:
    PixelFixture() : RenderFixture(false) {}

    void SetUp() override
    {
        services.config.v_mode = "640x480x32";
        try {
            Create();
        } catch (const KeystrelEngine::Error& error) {
            if (TestSupport::IsNoRenderDevice(error.GetText()))
                GTEST_SKIP() << "no GL device: " << error.GetText();
            FAIL() << error.GetText();
        }
        render->m_clearColor = {0.0f, 0.0f, 0.0f, 1.0f};
    }

    void Draw(const std::vector<Vertex>& vertices, const std::vector<std::uint16_t>& indices, bool colours)
    {
        std::unique_ptr<KeystrelEngine::VertexBuffer> vertexBuffer(
            render->CreateVertexBuffer(0, colours, static_cast<std::uint32_t>(vertices.size())));
        std::uint8_t* out = vertexBuffer->Lock(0, static_cast<std::uint32_t>(vertices.size()));
        for (const Vertex& vertex : vertices) {
            std::memcpy(out, &vertex.position, 12);
            std::memcpy(out + 12, &vertex.normal, 12);
            if (colours)
                std::memcpy(out + 24, &vertex.colour, 4);
            std::memcpy(out + (colours ? 28 : 24), &vertex.u, 4);
            std::memcpy(out + (colours ? 32 : 28), &vertex.v, 4);
            out += vertexBuffer->GetVertexSize();
        }
        vertexBuffer->Unlock();
        std::unique_ptr<KeystrelEngine::IndexBuffer> indexBuffer(
            render->CreateIndexBuffer(0, static_cast<std::uint32_t>(indices.size())));
        std::memcpy(indexBuffer->Lock(0, static_cast<std::uint32_t>(indices.size())), indices.data(),
                    indices.size() * 2);
        indexBuffer->Unlock();
        render->DrawIndexedPrimitive(false, indexBuffer.get(), vertexBuffer.get(),
                                     static_cast<std::uint32_t>(indices.size() / 3));
    }

    KeystrelEngine::Image Grab()
    {
        KeystrelEngine::Image image;
        render->GrabScreen(image);
        return image;
    }

    // Red, green, blue of the pixel in column x and row y, counted from the top as on screen.
    static std::vector<int> At(const KeystrelEngine::Image& image, std::uint32_t x, std::uint32_t y)
    {
        const std::uint8_t* pixel = image.GetRow(image.GetHeight() - 1 - y) + x * image.GetBytesPerPixel();
        return {pixel[0], pixel[1], pixel[2]};
    }

    static void ExpectNear(const std::vector<int>& actual, const std::vector<int>& expected, int tolerance = 2)
    {
        for (std::size_t i = 0; i < expected.size(); ++i)
            EXPECT_NEAR(actual[i], expected[i], tolerance) << "channel " << i;
    }

    void SavePicture(const KeystrelEngine::Image& image, const std::string& fileName)
    {
        SaveTestPicture(image, fileName, services.files);
    }
};

} // namespace RenderTesting
