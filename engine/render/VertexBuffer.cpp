#include "VertexBuffer.h"

#include <cmath>
#include <cstring>

namespace KeystrelEngine {

namespace {

std::uint16_t VertexSize(bool hasColours)
{
    return hasColours ? VertexBuffer::kSizeWithColour : VertexBuffer::kSizeWithoutColour;
}

// 255 from 1 on; c x 255 + 0.5, truncated, above 0; else 0 (NaN too).
std::uint32_t ToByte(float c)
{
    if (c >= 1.0f)
        return 255;
    if (c > 0.0f)
        return static_cast<std::uint32_t>(c * 255.0f + 0.5f);
    return 0;
}

} // namespace

VertexBuffer::VertexBuffer(std::uint32_t usage, bool hasColours, std::uint32_t vertexCount)
    : m_usage(usage), m_hasColours(hasColours ? 1 : 0), m_vertexSize(VertexSize(hasColours)),
      m_vertexCount(vertexCount),
      m_data(std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(vertexCount) * m_vertexSize))
{
    SetColor({1.0f, 1.0f, 1.0f, 1.0f});
}

VertexBuffer::VertexBuffer(std::uint32_t usage, bool hasColours, const VertexBuffer& source)
    : VertexBuffer(usage, hasColours, source.m_vertexCount)
{
    if (hasColours == source.HasColours()) {
        std::memcpy(m_data.get(), source.m_data.get(), static_cast<std::size_t>(m_vertexCount) * m_vertexSize);
        return;
    }
    // Position and normal come first in both layouts; u and v come last. The colour is white already.
    constexpr std::size_t kTextureSize = 2 * sizeof(float);
    for (std::uint32_t i = 0; i < m_vertexCount; ++i) {
        std::uint8_t* to = m_data.get() + static_cast<std::size_t>(i) * m_vertexSize;
        const std::uint8_t* from = source.m_data.get() + static_cast<std::size_t>(i) * source.m_vertexSize;
        std::memcpy(to, from, kColourOffset);
        std::memcpy(to + m_vertexSize - kTextureSize, from + source.m_vertexSize - kTextureSize, kTextureSize);
    }
}

VertexBuffer::VertexBuffer(const VertexBuffer& source) : VertexBuffer(source.m_usage, source.HasColours(), source) {}

void VertexBuffer::ColorFromDword(Color& colour, std::uint32_t argb)
{
    constexpr float kScale = 0.003921569f; // 1 / 255
    colour.r = static_cast<float>((argb >> 16) & 0xFF) * kScale;
    colour.g = static_cast<float>((argb >> 8) & 0xFF) * kScale;
    colour.b = static_cast<float>(argb & 0xFF) * kScale;
    colour.a = static_cast<float>(argb >> 24) * kScale;
}

std::uint32_t VertexBuffer::ColorToDword(const Color& colour)
{
    return ToByte(colour.a) << 24 | ToByte(colour.r) << 16 | ToByte(colour.g) << 8 | ToByte(colour.b);
}

std::uint8_t* VertexBuffer::Lock(std::uint32_t first, std::uint32_t count)
{
    m_locked = true;
    m_lockFirst = first;
    m_lockCount = count;
    return m_data.get() + static_cast<std::size_t>(first) * m_vertexSize;
}

void VertexBuffer::SetColor(const Color& colour)
{
    if (!HasColours())
        return;
    const std::uint32_t argb = ColorToDword(colour);
    std::uint8_t* vertex = Lock(0, m_vertexCount);
    for (std::uint32_t i = 0; i < m_vertexCount; ++i, vertex += m_vertexSize)
        std::memcpy(vertex + kColourOffset, &argb, sizeof(argb));
    Unlock();
}

} // namespace KeystrelEngine
