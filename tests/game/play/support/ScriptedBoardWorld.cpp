#include "ScriptedBoardWorld.h"

#include "game/play/Cell.h"

#include <algorithm>
#include <cassert>

namespace TestSupport {

using Wispfold::Item;

ScriptedBoardWorld::ScriptedBoardWorld(std::uint32_t seed, std::uint32_t maxDelay)
    : m_random(seed), m_maxDelay(maxDelay)
{
}

Item* ScriptedBoardWorld::GetFreeItem(Wispfold::ItemColor colour)
{
    if (colour >= m_free.size())
        m_free.resize(colour + 1);
    std::size_t index = m_butterflies.size();
    if (m_free[colour].empty()) {
        m_butterflies.push_back({std::make_unique<Item>(m_services, m_resources, colour)});
        m_index.emplace(m_butterflies.back().item.get(), index);
    } else {
        index = m_free[colour].back();
        m_free[colour].pop_back();
    }
    m_butterflies[index].motion = Motion::Taken;
    return m_butterflies[index].item.get();
}

void ScriptedBoardWorld::Appear(Item& item, const Wispfold::Cell&)
{
    m_appeared.push_back(&item);
    Start(item, Motion::Arriving);
}

void ScriptedBoardWorld::Release(Item& item)
{
    m_released.push_back(&item);
    if (Find(item).motion == Motion::Taken)
        Find(item).motion = Motion::Gone;
    else
        Start(item, Motion::Leaving);
}

void ScriptedBoardWorld::Wiggle(Item& item)
{
    m_wiggled.push_back(&item);
    Start(item, Motion::Wiggling);
}

void ScriptedBoardWorld::MoveTo(Item& item, const Wispfold::Cell&)
{
    Start(item, Motion::Swapping);
}

bool ScriptedBoardWorld::IsResting(const Item& item) const
{
    return Find(item).motion == Motion::Resting;
}

bool ScriptedBoardWorld::IsInFlight(const Item& item) const
{
    const Motion motion = Find(item).motion;
    return motion == Motion::Arriving || motion == Motion::Swapping || motion == Motion::Leaving;
}

Wispfold::Bonus* ScriptedBoardWorld::CreateBonus(Wispfold::BonusKind kind)
{
    m_bonusesCreated.push_back(kind);
    m_bonuses.push_back(std::make_unique<Wispfold::Bonus>(m_services, m_resources, kind));
    return m_bonuses.back().get();
}

void ScriptedBoardWorld::SetAppearance(Wispfold::Cell& cell)
{
    m_appearanceRefreshes.push_back(&cell);
}

void ScriptedBoardWorld::RestartManaBurst(Wispfold::Cell& cell)
{
    m_manaBursts.push_back(&cell);
}

void ScriptedBoardWorld::ShowSelection(const Wispfold::Cell* selected, const Wispfold::Cell* hovered)
{
    m_shownSelected = selected;
    m_shownHovered = hovered;
    ++m_selectionShows;
}

Wispfold::ScreenPosition ScriptedBoardWorld::GetCellScreenPosition(const Wispfold::Cell& cell) const
{
    return {10.0f * static_cast<float>(cell.m_x), 10.0f * static_cast<float>(cell.m_y)};
}

void ScriptedBoardWorld::PlaySound(Sound sound)
{
    m_sounds.push_back(sound);
}

void ScriptedBoardWorld::AddText(std::uint32_t points, Wispfold::ScreenPosition position)
{
    m_texts.push_back({points, position});
}

void ScriptedBoardWorld::Step()
{
    for (Butterfly& butterfly : m_butterflies) {
        if (butterfly.stepsLeft > 0)
            --butterfly.stepsLeft;
        else
            Finish(butterfly);
    }
}

void ScriptedBoardWorld::LandAll()
{
    for (Butterfly& butterfly : m_butterflies)
        Finish(butterfly);
}

void ScriptedBoardWorld::Land(Item& item)
{
    Finish(Find(item));
}

Item* ScriptedBoardWorld::MakeRestingItem(Wispfold::ItemColor colour)
{
    Item* item = GetFreeItem(colour);
    Find(*item).motion = Motion::Resting;
    item->m_markedForDestruction = false;
    return item;
}

ScriptedBoardWorld::Motion ScriptedBoardWorld::GetMotion(const Item& item) const
{
    return Find(item).motion;
}

bool ScriptedBoardWorld::AnyBusy() const
{
    return std::any_of(m_butterflies.begin(), m_butterflies.end(),
                       [](const Butterfly& butterfly) { return butterfly.motion != Motion::Free; });
}

ScriptedBoardWorld::Butterfly& ScriptedBoardWorld::Find(const Item& item)
{
    const auto found = m_index.find(&item);
    assert(found != m_index.end() && "the board uses only butterflies of its pool");
    return m_butterflies[found->second];
}

const ScriptedBoardWorld::Butterfly& ScriptedBoardWorld::Find(const Item& item) const
{
    return const_cast<ScriptedBoardWorld*>(this)->Find(item);
}

void ScriptedBoardWorld::Start(Item& item, Motion motion)
{
    Butterfly& butterfly = Find(item);
    butterfly.motion = motion;
    butterfly.stepsLeft = m_maxDelay == 0 ? 0 : std::uniform_int_distribution<std::uint32_t>(0, m_maxDelay)(m_random);
}

// Like the pool's recycling: a finished departure resets the butterfly (marked, no bonus) into the pool.
void ScriptedBoardWorld::Finish(Butterfly& butterfly)
{
    butterfly.stepsLeft = 0;
    switch (butterfly.motion) {
    case Motion::Arriving:
        butterfly.item->m_markedForDestruction = false;
        butterfly.motion = Motion::Resting;
        break;
    case Motion::Wiggling:
    case Motion::Swapping:
        butterfly.motion = Motion::Resting;
        break;
    case Motion::Leaving:
    case Motion::Gone:
        butterfly.item->m_markedForDestruction = true;
        butterfly.item->m_held = false;
        butterfly.item->m_bonus = nullptr;
        butterfly.motion = Motion::Free;
        m_free[butterfly.item->m_colour].push_back(m_index.at(butterfly.item.get()));
        break;
    case Motion::Free:
    case Motion::Taken:
    case Motion::Resting:
        break;
    }
}

} // namespace TestSupport
