// The level's pool of butterflies. The board takes a free butterfly of a wanted colour (a new one when none is
// free), puts it on a cell and releases it when it is destroyed; once its departure has ended the pool recycles
// it. Once a frame, after the board, the pool gives shadows to butterflies that appeared, moves every busy
// butterfly, drops the tokens that expired, recycles finished butterflies and moves the shadows.
#pragma once

#include "Item.h"
#include "PlayServices.h"
#include "ShadowManager.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Wispfold {

class BonusManager;
struct LevelRecord;

class ItemManager
{
public:
    // The level's colour count comes from its record (1 to 5). Nothing but the shadow manager is made yet.
    ItemManager(const PlayServices& services, BonusManager& bonusManager, const PlayResources& resources,
                const LevelRecord& level);
    virtual ~ItemManager() = default;

    ItemManager(const ItemManager&) = delete;
    ItemManager& operator=(const ItemManager&) = delete;

    // For every colour in order, 2 x cellCount / colour count butterflies (rounded down), each free.
    void FillPool(std::uint32_t cellCount);
    // The first free butterfly of the colour, taken from the free list; when none is free, a new one that the
    // free list never held.
    Item* GetFreeItem(ItemColor colour);
    void Update();
    // Some butterfly is out of the pool and not yet recycled.
    bool AnyItemBusy() const;

    const std::vector<std::unique_ptr<Item>>& GetItems() const { return m_items; }
    // Null for a slot whose butterfly was taken.
    const std::vector<Item*>& GetFreeItems() const { return m_freeItems; }
    ShadowManager& GetShadowManager() { return m_shadows; }

private:
    Item* AddItem(ItemColor colour);
    void Recycle(Item& item);

    PlayServices m_services;
    std::uint32_t m_colourCount;
    const PlayResources* m_resources;
    BonusManager* m_bonusManager;
    ShadowManager m_shadows;
    std::vector<std::unique_ptr<Item>> m_items;
    std::vector<Item*> m_freeItems;
};

} // namespace Wispfold
