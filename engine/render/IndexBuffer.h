// Triangle indices in system memory: 16-bit indices for fewer than 65536 of them, 32-bit from 65536 on. The draw
// needs the range of vertices the indices use; it is recomputed after every Lock, when the next draw asks.
#pragma once

#include <cstdint>
#include <memory>

namespace KeystrelEngine {

class IndexBuffer
{
public:
    static constexpr std::uint32_t kFirst32BitCount = 65536;

    // indexCount indices, contents unset.
    IndexBuffer(std::uint32_t usage, std::uint32_t indexCount);
    // A copy with another usage flag.
    IndexBuffer(std::uint32_t usage, const IndexBuffer& source);
    IndexBuffer(const IndexBuffer& source);
    IndexBuffer& operator=(const IndexBuffer&) = delete;
    virtual ~IndexBuffer() = default;

    // The data from index first on (2 or 4 bytes an index); the range becomes stale.
    virtual std::uint8_t* Lock(std::uint32_t first, std::uint32_t count);
    virtual void Unlock() { m_locked = false; }
    // Called before every draw.
    virtual void Bind() {}

    // Draws use the first count indices (at most the index count) from now on; the range becomes stale.
    void SetUsedIndexCount(std::uint32_t count);
    // Recomputes the smallest used index and the range (largest - smallest + 1) when they are stale.
    void UpdateRange();
    std::uint32_t GetIndex(std::uint32_t position) const;

    std::uint32_t GetUsage() const { return m_usage; }
    bool Has32BitIndices() const { return m_32BitIndices != 0; }
    std::uint32_t GetIndexSize() const { return m_indexSize; }
    std::uint32_t GetIndexCount() const { return m_indexCount; }
    std::uint32_t GetUsedIndexCount() const { return m_usedIndexCount; }
    const std::uint8_t* GetData() const { return m_data.get(); }
    bool IsLocked() const { return m_locked; }
    bool IsRangeStale() const { return m_rangeStale; }
    std::uint32_t GetMinimalIndex() const { return m_minimalIndex; }
    std::uint32_t GetRange() const { return m_range; }

private:
    std::uint32_t m_usage;
    std::uint32_t m_32BitIndices;
    std::uint32_t m_indexSize;
    std::uint32_t m_indexCount;
    std::uint32_t m_usedIndexCount;
    std::unique_ptr<std::uint8_t[]> m_data;
    bool m_locked = false;
    std::uint32_t m_lockFirst = 0;
    std::uint32_t m_lockCount = 0;
    bool m_rangeStale = true;
    std::uint32_t m_minimalIndex = 0;
    std::uint32_t m_range = 0;
};

} // namespace KeystrelEngine
