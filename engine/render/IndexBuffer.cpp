#include "IndexBuffer.h"

#include <algorithm>
#include <cstring>

namespace KeystrelEngine {

IndexBuffer::IndexBuffer(std::uint32_t usage, std::uint32_t indexCount)
    : m_usage(usage), m_32BitIndices(indexCount >= kFirst32BitCount ? 1 : 0), m_indexSize(m_32BitIndices ? 4 : 2),
      m_indexCount(indexCount), m_usedIndexCount(indexCount),
      m_data(std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(indexCount) * m_indexSize))
{
}

IndexBuffer::IndexBuffer(std::uint32_t usage, const IndexBuffer& source) : IndexBuffer(usage, source.m_indexCount)
{
    std::memcpy(m_data.get(), source.m_data.get(), static_cast<std::size_t>(m_indexCount) * m_indexSize);
}

IndexBuffer::IndexBuffer(const IndexBuffer& source) : IndexBuffer(source.m_usage, source) {}

std::uint8_t* IndexBuffer::Lock(std::uint32_t first, std::uint32_t count)
{
    m_locked = true;
    m_rangeStale = true;
    m_lockFirst = first;
    m_lockCount = count;
    return m_data.get() + static_cast<std::size_t>(first) * m_indexSize;
}

std::uint32_t IndexBuffer::GetIndex(std::uint32_t position) const
{
    const std::uint8_t* at = m_data.get() + static_cast<std::size_t>(position) * m_indexSize;
    if (m_32BitIndices) {
        std::uint32_t index;
        std::memcpy(&index, at, sizeof(index));
        return index;
    }
    std::uint16_t index;
    std::memcpy(&index, at, sizeof(index));
    return index;
}

void IndexBuffer::SetUsedIndexCount(std::uint32_t count)
{
    m_usedIndexCount = std::min(count, m_indexCount);
    m_rangeStale = true;
}

void IndexBuffer::UpdateRange()
{
    if (!m_rangeStale)
        return;
    m_rangeStale = false;
    m_minimalIndex = 0;
    m_range = 0;
    if (m_usedIndexCount == 0)
        return;
    std::uint32_t smallest = GetIndex(0);
    std::uint32_t largest = smallest;
    for (std::uint32_t i = 1; i < m_usedIndexCount; ++i) {
        const std::uint32_t index = GetIndex(i);
        smallest = std::min(smallest, index);
        largest = std::max(largest, index);
    }
    m_minimalIndex = smallest;
    m_range = largest - smallest + 1;
}

} // namespace KeystrelEngine
