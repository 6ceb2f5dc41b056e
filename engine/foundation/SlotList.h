// Objects kept by slot number, as the engine's managers of timers, cameras, lights, sounds and sound buffers keep
// theirs: a vector of pointers indexed by slot (null in a free slot), a stack of free slot numbers (the slot freed
// last is reused first) and the list of used slots in order of use, which fixes the order of the per-frame
// passes. The slot vector never shrinks. The list does not own the objects; its owner deletes them.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace KeystrelEngine {

template <class T> class SlotList
{
public:
    // The slot the object takes.
    std::uint32_t Add(T* object)
    {
        std::uint32_t slot = static_cast<std::uint32_t>(m_slots.size());
        if (m_freeSlots.empty()) {
            m_slots.push_back(object);
        } else {
            slot = m_freeSlots.back();
            m_freeSlots.pop_back();
            m_slots[slot] = object;
        }
        m_usedSlots.push_back(slot);
        return slot;
    }

    bool Contains(const T* object) const { return FindUsed(object) != m_usedSlots.end(); }

    // Frees the slot that holds the object (the other used slots keep their order); false when none does.
    bool Remove(const T* object)
    {
        const auto used = FindUsed(object);
        if (used == m_usedSlots.end())
            return false;
        m_slots[*used] = nullptr;
        m_freeSlots.push_back(*used);
        m_usedSlots.erase(used);
        return true;
    }

    // The objects of the used slots, in order of use.
    template <class Visit> void ForEachUsed(Visit visit) const
    {
        for (const std::uint32_t slot : m_usedSlots)
            visit(m_slots[slot]);
    }

    void Clear()
    {
        m_freeSlots.clear();
        m_usedSlots.clear();
        m_slots.clear();
    }

    const std::vector<T*>& GetSlots() const { return m_slots; }
    const std::vector<std::uint32_t>& GetUsedSlots() const { return m_usedSlots; }

private:
    std::vector<std::uint32_t>::const_iterator FindUsed(const T* object) const
    {
        return std::find_if(m_usedSlots.begin(), m_usedSlots.end(),
                            [&](std::uint32_t slot) { return m_slots[slot] == object; });
    }

    std::vector<T*> m_slots;
    std::vector<std::uint32_t> m_freeSlots;
    std::vector<std::uint32_t> m_usedSlots;
};

} // namespace KeystrelEngine
