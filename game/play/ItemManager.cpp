#include "ItemManager.h"

#include "BonusManager.h"
#include "LevelManager.h"

#include <algorithm>

namespace Wispfold {

ItemManager::ItemManager(const PlayServices& services, BonusManager& bonusManager, const PlayResources& resources,
                         const LevelRecord& level)
    : m_services(services), m_colourCount(static_cast<std::uint32_t>(level.colourCount)), m_resources(&resources),
      m_bonusManager(&bonusManager), m_shadows(services, resources)
{
}

Item* ItemManager::AddItem(ItemColor colour)
{
    m_items.push_back(std::make_unique<Item>(m_services, *m_resources, colour));
    return m_items.back().get();
}

void ItemManager::FillPool(std::uint32_t cellCount)
{
    const std::uint32_t perColour = 2 * cellCount / m_colourCount;
    for (ItemColor colour = 0; colour < m_colourCount; ++colour) {
        for (std::uint32_t n = 0; n < perColour; ++n)
            m_freeItems.push_back(AddItem(colour));
    }
}

Item* ItemManager::GetFreeItem(ItemColor colour)
{
    const auto found = std::find_if(m_freeItems.begin(), m_freeItems.end(),
                                    [colour](const Item* item) { return item && item->m_colour == colour; });
    if (found == m_freeItems.end())
        return AddItem(colour);
    Item* item = *found;
    *found = nullptr;
    return item;
}

void ItemManager::Update()
{
    for (const std::unique_ptr<Item>& item : m_items) {
        if (item->WantsShadow())
            m_shadows.Attach(*item);
        item->Update();
        if (!item->IsInUse()) {
            Recycle(*item);
        } else if (item->m_bonus && !item->m_bonus->m_alive) {
            m_bonusManager->Remove(item->m_bonus);
            item->m_bonus = nullptr;
        }
    }
    m_shadows.Update();
}

// Its token and shadow go, it is reset and it takes the first empty free slot.
void ItemManager::Recycle(Item& item)
{
    m_bonusManager->Remove(item.m_bonus);
    m_shadows.Detach(item);
    item.Reset();
    const auto empty = std::find(m_freeItems.begin(), m_freeItems.end(), nullptr);
    if (empty != m_freeItems.end())
        *empty = &item;
    else
        m_freeItems.push_back(&item);
}

bool ItemManager::AnyItemBusy() const
{
    return std::any_of(m_items.begin(), m_items.end(),
                       [](const std::unique_ptr<Item>& item) { return item->IsBusy(); });
}

} // namespace Wispfold
