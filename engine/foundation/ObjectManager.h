// The registry that owns the objects of one kind (models, particle systems, sprite groups, GUI widgets): a vector
// of pointers by slot, null in a free slot, and a stack of free slot numbers, the slot freed last being reused
// first. Owners walk the slots in index order every frame and skip the null ones; as Add may grow the vector, a
// loop that can register objects walks it by index, not by iterator.
//
// Once fewer than half of the slots are in use, a removal packs the live objects to the front (keeping their
// order) and forgets the free slots, so the loops never walk long runs of empty slots. While a Pass is held the
// packing waits for its end, so that a walk whose visits remove objects misses none of those after them.
#pragma once

#include "VectorUtils.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <vector>

namespace KeystrelEngine {

template <class T> class ObjectManager
{
public:
    // Held over a walk of the slots: removals then only free their slots, and the last pass to end packs them.
    class Pass
    {
    public:
        explicit Pass(ObjectManager& registry) : m_registry(registry) { ++m_registry.m_passes; }
        ~Pass()
        {
            if (--m_registry.m_passes == 0)
                m_registry.PackWhenSparse();
        }

        Pass(const Pass&) = delete;
        Pass& operator=(const Pass&) = delete;

    private:
        ObjectManager& m_registry;
    };

    ObjectManager() = default;
    // Deletes every object still registered, in slot order.
    virtual ~ObjectManager()
    {
        DestroyAllAndClear(m_slots);
        m_freeSlots.clear();
    }

    ObjectManager(const ObjectManager&) = delete;
    ObjectManager& operator=(const ObjectManager&) = delete;

    // The registry owns the object from now on; null is ignored.
    void Add(T* object)
    {
        if (!object)
            return;
        if (m_freeSlots.empty()) {
            m_slots.push_back(object);
        } else {
            m_slots[m_freeSlots.back()] = object;
            m_freeSlots.pop_back();
        }
        ++m_liveCount;
    }

    // Gives up the object without deleting it; false (and no change) for null and for an object not registered.
    // The caller deletes the object, and only when the result is true.
    bool Remove(T* object)
    {
        if (!object)
            return false;
        const auto found = std::find(m_slots.begin(), m_slots.end(), object);
        if (found == m_slots.end())
            return false;
        *found = nullptr;
        m_freeSlots.push_back(static_cast<std::uint32_t>(found - m_slots.begin()));
        --m_liveCount;
        PackWhenSparse();
        return true;
    }

    // The slots in index order, null for a free slot. The reference stays valid for the registry's life.
    const std::vector<T*>& GetSlots() const { return m_slots; }
    std::uint32_t GetLiveCount() const { return m_liveCount; }

private:
    void PackWhenSparse()
    {
        if (m_passes == 0 && m_liveCount * 2u < m_slots.size()) {
            RemoveNullPointers(m_slots);
            m_freeSlots.clear();
        }
    }

    std::uint32_t m_passes = 0; // walks under way
    std::uint32_t m_liveCount = 0;
    std::vector<T*> m_slots;
    std::deque<std::uint32_t> m_freeSlots; // used as a stack
};

} // namespace KeystrelEngine
