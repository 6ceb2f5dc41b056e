#include "engine/render/IndexBuffer.h"
#include "engine/render/VertexBuffer.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>

using KeystrelEngine::Color;
using KeystrelEngine::IndexBuffer;
using KeystrelEngine::VertexBuffer;

namespace {

struct PlainVertex
{
    float position[3];
    float normal[3];
    float u, v;
};

struct ColouredVertex
{
    float position[3];
    float normal[3];
    std::uint32_t colour;
    float u, v;
};

static_assert(sizeof(PlainVertex) == VertexBuffer::kSizeWithoutColour);
static_assert(sizeof(ColouredVertex) == VertexBuffer::kSizeWithColour);

template <typename Vertex> Vertex ReadVertex(const VertexBuffer& buffer, std::uint32_t i)
{
    Vertex vertex;
    std::memcpy(&vertex, buffer.GetData() + i * sizeof(Vertex), sizeof(Vertex));
    return vertex;
}

void WriteIndices(IndexBuffer& buffer, std::initializer_list<std::uint32_t> indices)
{
    std::uint8_t* data = buffer.Lock(0, static_cast<std::uint32_t>(indices.size()));
    for (std::uint32_t index : indices) {
        if (buffer.Has32BitIndices()) {
            std::memcpy(data, &index, 4);
            data += 4;
        } else {
            const auto narrow = static_cast<std::uint16_t>(index);
            std::memcpy(data, &narrow, 2);
            data += 2;
        }
    }
    buffer.Unlock();
}

TEST(IndexBuffer, IndicesWidenTo32BitsFrom65536Entries)
{
    const IndexBuffer narrow(0, 65535);
    const IndexBuffer wide(0, 65536);
    EXPECT_FALSE(narrow.Has32BitIndices());
    EXPECT_EQ(narrow.GetIndexSize(), 2u);
    EXPECT_TRUE(wide.Has32BitIndices());
    EXPECT_EQ(wide.GetIndexSize(), 4u);
    EXPECT_EQ(wide.GetUsedIndexCount(), 65536u);
}

TEST(IndexBuffer, RangeSpansTheSmallestToTheLargestIndexAndFollowsEveryLock)
{
    IndexBuffer buffer(0, 3);
    EXPECT_TRUE(buffer.IsRangeStale());
    WriteIndices(buffer, {7, 3, 9});
    buffer.UpdateRange();
    EXPECT_EQ(buffer.GetMinimalIndex(), 3u);
    EXPECT_EQ(buffer.GetRange(), 7u);

    WriteIndices(buffer, {0, 1, 2});
    EXPECT_TRUE(buffer.IsRangeStale());
    buffer.UpdateRange();
    EXPECT_EQ(buffer.GetMinimalIndex(), 0u);
    EXPECT_EQ(buffer.GetRange(), 3u);

    IndexBuffer wide(0, 70000);
    std::uint8_t* data = wide.Lock(0, 70000);
    for (std::uint32_t i = 0; i < 70000; ++i) {
        const std::uint32_t index = 100000 + i % 5;
        std::memcpy(data + 4 * i, &index, 4);
    }
    wide.Unlock();
    wide.UpdateRange();
    EXPECT_EQ(wide.GetMinimalIndex(), 100000u);
    EXPECT_EQ(wide.GetRange(), 5u);

    IndexBuffer empty(0, 0);
    empty.UpdateRange();
    EXPECT_EQ(empty.GetMinimalIndex(), 0u);
    EXPECT_EQ(empty.GetRange(), 0u);
}

TEST(IndexBuffer, TheUsedIndexCountLimitsTheRangeAndStaysWithinTheBuffer)
{
    IndexBuffer buffer(0, 6);
    WriteIndices(buffer, {0, 1, 2, 2, 1, 9});
    buffer.UpdateRange();
    EXPECT_EQ(buffer.GetRange(), 10u);
    buffer.SetUsedIndexCount(3);
    EXPECT_EQ(buffer.GetUsedIndexCount(), 3u);
    EXPECT_TRUE(buffer.IsRangeStale());
    buffer.UpdateRange();
    EXPECT_EQ(buffer.GetRange(), 3u);
    buffer.SetUsedIndexCount(7);
    EXPECT_EQ(buffer.GetUsedIndexCount(), 6u);
    buffer.SetUsedIndexCount(0);
    buffer.UpdateRange();
    EXPECT_EQ(buffer.GetRange(), 0u);
}

TEST(IndexBuffer, CopiesKeepTheIndicesAndRecomputeTheRange)
{
    IndexBuffer source(4, 3);
    WriteIndices(source, {5, 6, 7});
    source.UpdateRange();
    const IndexBuffer copy(9, source);
    EXPECT_EQ(copy.GetUsage(), 9u);
    EXPECT_TRUE(copy.IsRangeStale());
    EXPECT_EQ(copy.GetIndex(2), 7u);
    const IndexBuffer exact(source);
    EXPECT_EQ(exact.GetUsage(), 4u);
    EXPECT_EQ(exact.GetIndex(0), 5u);
}

TEST(VertexBuffer, ColoursPackAsArgbWithRoundingAndLimits)
{
    EXPECT_EQ(VertexBuffer::ColorToDword({1.0f, 0.5f, 0.0f, 2.0f}), 0xFFFF8000u);
    EXPECT_EQ(VertexBuffer::ColorToDword({-1.0f, 0.0019f, 0.002f, 1.0f}), 0xFF000001u);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(VertexBuffer::ColorToDword({nan, nan, nan, nan}), 0u);

    Color colour;
    VertexBuffer::ColorFromDword(colour, 0x80FF0000);
    EXPECT_FLOAT_EQ(colour.r, 1.0f);
    EXPECT_FLOAT_EQ(colour.g, 0.0f);
    EXPECT_FLOAT_EQ(colour.b, 0.0f);
    EXPECT_NEAR(colour.a, 128.0f / 255.0f, 1e-6f);
    // A byte survives the round trip.
    for (std::uint32_t byte : {0u, 1u, 127u, 128u, 254u, 255u}) {
        VertexBuffer::ColorFromDword(colour, byte << 16);
        EXPECT_EQ(VertexBuffer::ColorToDword(colour) >> 16 & 0xFF, byte);
    }
}

TEST(VertexBuffer, NewColouredBuffersAreWhiteAndSetColorWritesEveryVertex)
{
    VertexBuffer coloured(0, true, 4);
    EXPECT_EQ(coloured.GetVertexSize(), 36);
    for (std::uint32_t i = 0; i < 4; ++i)
        EXPECT_EQ(ReadVertex<ColouredVertex>(coloured, i).colour, 0xFFFFFFFFu);
    coloured.SetColor({0.0f, 1.0f, 0.0f, 0.5f});
    EXPECT_EQ(ReadVertex<ColouredVertex>(coloured, 3).colour, 0x8000FF00u);
    EXPECT_FALSE(coloured.IsLocked());

    VertexBuffer plain(0, false, 2);
    std::memset(plain.Lock(0, 2), 0x11, 2 * sizeof(PlainVertex));
    plain.Unlock();
    plain.SetColor({0.0f, 0.0f, 0.0f, 0.0f});
    EXPECT_EQ(plain.GetData()[0], 0x11);
    EXPECT_EQ(plain.GetData()[63], 0x11);
}

TEST(VertexBuffer, ConvertingBetweenLayoutsKeepsPositionNormalAndTextureCoordinates)
{
    VertexBuffer plain(0, false, 2);
    auto* vertices = reinterpret_cast<PlainVertex*>(plain.Lock(0, 2));
    vertices[0] = {{1, 2, 3}, {0, 0, 1}, 0.25f, 0.75f};
    vertices[1] = {{4, 5, 6}, {0, 1, 0}, 0.5f, 1.0f};
    plain.Unlock();

    const VertexBuffer coloured(3, true, plain);
    EXPECT_EQ(coloured.GetUsage(), 3u);
    const ColouredVertex second = ReadVertex<ColouredVertex>(coloured, 1);
    EXPECT_EQ(second.colour, 0xFFFFFFFFu);
    EXPECT_FLOAT_EQ(second.position[2], 6.0f);
    EXPECT_FLOAT_EQ(second.normal[1], 1.0f);
    EXPECT_FLOAT_EQ(second.u, 0.5f);
    EXPECT_FLOAT_EQ(second.v, 1.0f);

    const VertexBuffer back(0, false, coloured);
    EXPECT_EQ(back.GetVertexSize(), 32);
    EXPECT_EQ(std::memcmp(back.GetData(), plain.GetData(), 2 * sizeof(PlainVertex)), 0);

    const VertexBuffer exact(coloured);
    EXPECT_TRUE(exact.HasColours());
    EXPECT_EQ(exact.GetUsage(), 3u);
    EXPECT_EQ(std::memcmp(exact.GetData(), coloured.GetData(), 2 * sizeof(ColouredVertex)), 0);
}

TEST(VertexBuffer, LockPointsAtTheFirstVertexAsked)
{
    VertexBuffer buffer(0, true, 5);
    EXPECT_EQ(buffer.Lock(3, 2), buffer.GetData() + 3 * 36);
    EXPECT_TRUE(buffer.IsLocked());
    buffer.Unlock();
    EXPECT_FALSE(buffer.IsLocked());
}

} // namespace
