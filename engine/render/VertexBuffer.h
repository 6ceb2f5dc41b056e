// Vertices in system memory, as models, sprite groups, particle systems and GUI quads draw them. Two layouts,
// little-endian and packed: 32 bytes (position, normal, u, v) or 36 bytes with an ARGB diffuse colour (alpha in
// the top byte) after the normal. Locking only hands out a pointer into the array.
#pragma once

#include "Color.h"

#include <cstdint>
#include <memory>

namespace KeystrelEngine {

class VertexBuffer
{
public:
    static constexpr std::uint16_t kSizeWithoutColour = 32;
    static constexpr std::uint16_t kSizeWithColour = 36;
    static constexpr std::uint32_t kColourOffset = 24;
    static constexpr std::uint32_t kWhite = 0xFFFFFFFF;

    // A buffer of vertexCount vertices, contents unset except the colours, which are white.
    VertexBuffer(std::uint32_t usage, bool hasColours, std::uint32_t vertexCount);
    // A copy of source converted to the colour layout asked for: colours are dropped, or made white.
    VertexBuffer(std::uint32_t usage, bool hasColours, const VertexBuffer& source);
    // An exact copy.
    VertexBuffer(const VertexBuffer& source);
    VertexBuffer& operator=(const VertexBuffer&) = delete;
    virtual ~VertexBuffer() = default;

    virtual void Unlock() { m_locked = false; }
    // Called before every draw.
    virtual void Bind() {}
    static void ColorFromDword(Color& colour, std::uint32_t argb);
    static std::uint32_t ColorToDword(const Color& colour);
    // The data from vertex first on.
    virtual std::uint8_t* Lock(std::uint32_t first, std::uint32_t count);

    // Every vertex's diffuse colour; a buffer without colours is left unchanged.
    void SetColor(const Color& colour);

    std::uint32_t GetUsage() const { return m_usage; }
    bool HasColours() const { return m_hasColours != 0; }
    std::uint16_t GetVertexSize() const { return m_vertexSize; }
    std::uint32_t GetVertexCount() const { return m_vertexCount; }
    const std::uint8_t* GetData() const { return m_data.get(); }
    bool IsLocked() const { return m_locked; }

private:
    std::uint32_t m_usage;
    std::uint32_t m_hasColours;
    std::uint16_t m_vertexSize;
    std::uint32_t m_vertexCount;
    std::unique_ptr<std::uint8_t[]> m_data;
    bool m_locked = false;
    std::uint32_t m_lockFirst = 0;
    std::uint32_t m_lockCount = 0;
};

} // namespace KeystrelEngine
