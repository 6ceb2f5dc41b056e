#include "Board.h"

#include "engine/foundation/Random.h"
#include "framework/ScoreKeeper.h"

#include <algorithm>
#include <cstdlib>

namespace Wispfold {

namespace {

// The 12 cells two steps from a cell (target) and the cells next to both (steps): moving the target's butterfly
// onto a step puts it beside the cell, whose chain of two then becomes three.
struct MovePattern
{
    int targetX, targetY;
    int firstX, firstY;
    int secondX, secondY;
};

constexpr std::array<MovePattern, 12> kMovePatterns{{
    {0, -4, 0, -2, 0, -2},
    {1, -3, 0, -2, 1, -1},
    {2, -2, 1, -1, 1, -1},
    {2, 0, 1, -1, 1, 1},
    {2, 2, 1, 1, 1, 1},
    {1, 3, 1, 1, 0, 2},
    {0, 4, 0, 2, 0, 2},
    {-1, 3, 0, 2, -1, 1},
    {-2, 2, -1, 1, -1, 1},
    {-2, 0, -1, 1, -1, -1},
    {-2, -2, -1, -1, -1, -1},
    {-1, -3, -1, -1, 0, -2},
}};

// The search stops after the chain that takes the list past this many cells.
constexpr std::size_t kEnoughMoveCells = 20;

// Colours ordered at random score 0..1000; a colour with no butterfly near keeps this.
constexpr std::uint32_t kFarScore = 1000;

// Consecutive passes without mana after which the next refill brings a colour-destruction bonus.
constexpr std::uint32_t kPassesBeforeHelp = 13;

// A fresh press, or dragging from a selected butterfly onto its neighbour, swaps: the two cells lie side by side.
bool AreNeighbours(const Cell& a, const Cell& b)
{
    const std::uint32_t dx = a.m_x > b.m_x ? a.m_x - b.m_x : b.m_x - a.m_x;
    const std::uint32_t dy = a.m_y > b.m_y ? a.m_y - b.m_y : b.m_y - a.m_y;
    return (dx == 0 && dy == 2) || (dx == 1 && dy == 1);
}

// Shuffles with the engine's generator: for k = 1 .. n - 1, entries k and RandomInt(k + 1) change places.
template <class T> void Shuffle(std::vector<T>& values)
{
    for (std::uint32_t k = 1; k < values.size(); ++k)
        std::swap(values[k], values[KeystrelEngine::RandomInt(k + 1)]);
}

BoardWorld::Sound CombinationSound(std::uint32_t removed)
{
    if (removed >= 3 && removed <= 6)
        return static_cast<BoardWorld::Sound>(BoardWorld::kSoundCombination0 + removed - 3);
    return static_cast<BoardWorld::Sound>(BoardWorld::kSoundCombination0 + 4);
}

// 0 to 3 from the mana gained and the butterflies removed in a pass; none for small passes.
std::optional<std::uint32_t> PraiseLevel(std::uint32_t gained, std::uint32_t removed)
{
    if (gained >= 7 && removed >= 7)
        return 3;
    if (gained >= 5)
        return 2;
    if (gained >= 3)
        return 1;
    if (removed >= 7)
        return 2;
    if (removed == 6)
        return 1;
    if (removed >= 4)
        return 0;
    return std::nullopt;
}

} // namespace

// --- construction and grid ---

Board::Board(BoardWorld& world, const LevelData& level, GameFramework::ScoreKeeper& scoreKeeper)
    : m_world(world), m_scoreKeeper(scoreKeeper), m_gridWidth(level.gridWidth), m_gridHeight(level.gridHeight),
      m_colourCount(level.colourCount), m_relaxMode(level.relaxMode)
{
    for (std::uint32_t i = 0; i < level.GetCellRecordCount(); ++i)
        m_cells.push_back(std::make_unique<Cell>(level.cellRecords[i], i));
    BuildLookup();
    Fill();
    for (const auto& cell : m_cells) {
        if (cell->HasMana())
            m_manaTarget += cell->m_kind;
        std::int32_t points =
            cell->HasMana() ? static_cast<std::int32_t>(cell->m_kind) * m_scoreKeeper.GetPoints(kEventManaCharged) : 0;
        if (cell->m_closed)
            points += m_scoreKeeper.GetPoints(kEventClosedCellOpened);
        if (cell->m_blocked)
            points += m_scoreKeeper.GetPoints(kEventBlockRemoved);
        m_levelPointTotal += static_cast<std::uint32_t>(points);
    }
    m_energyBudget = m_energyLeft = EnergyBudget(m_manaTarget, level.levelFactor);
}

// The butterflies belong to the pool; the board only lets go of its cells.
Board::~Board() = default;

// Cell lookups are the heart of every chain walk, so the grid and the neighbours are resolved once here; each
// position keeps the earliest cell with its coordinates, as a search of the cells in order would find.
void Board::BuildLookup()
{
    m_grid.assign(static_cast<std::size_t>(m_gridWidth) * m_gridHeight, nullptr);
    for (const auto& cell : m_cells) {
        if (cell->m_x < m_gridWidth && cell->m_y < m_gridHeight) {
            Cell*& slot = m_grid[static_cast<std::size_t>(cell->m_x) * m_gridHeight + cell->m_y];
            if (!slot)
                slot = cell.get();
        }
    }
    m_neighbours.resize(m_cells.size());
    for (const auto& cell : m_cells) {
        const std::uint32_t x = cell->m_x;
        const std::uint32_t y = cell->m_y;
        // The guards keep the unsigned coordinates from wrapping.
        m_neighbours[cell->m_cellIndex] = {
            FindCell(x, y + 2),
            FindCell(x + 1, y + 1),
            y > 0 ? FindCell(x + 1, y - 1) : nullptr,
            y > 1 ? FindCell(x, y - 2) : nullptr,
            x > 0 && y > 0 ? FindCell(x - 1, y - 1) : nullptr,
            x > 0 ? FindCell(x - 1, y + 1) : nullptr,
        };
    }
    m_inWalk.assign(m_cells.size(), 0);
}

Cell* Board::FindCell(std::uint32_t x, std::uint32_t y) const
{
    if (x < m_gridWidth && y < m_gridHeight)
        return m_grid[static_cast<std::size_t>(x) * m_gridHeight + y];
    // Board files keep their cells inside the grid; a search covers any other.
    for (const auto& cell : m_cells) {
        if (cell->m_x == x && cell->m_y == y)
            return cell.get();
    }
    return nullptr;
}

Cell* Board::GetNeighbour(const Cell* cell, HexDirection direction) const
{
    if (!cell || direction > 5)
        return nullptr;
    return m_neighbours[cell->m_cellIndex][direction];
}

Item* Board::GetItem(const Cell* cell) const
{
    return cell ? m_items[cell->m_cellIndex] : nullptr;
}

Item* Board::GetItemAt(std::uint32_t index) const
{
    return index < m_items.size() ? m_items[index] : nullptr;
}

void Board::SetItem(const Cell* cell, Item* item)
{
    const auto found = std::find_if(m_cells.begin(), m_cells.end(),
                                    [cell](const std::unique_ptr<Cell>& candidate) { return candidate.get() == cell; });
    if (found != m_cells.end())
        PutItem(static_cast<std::uint32_t>(found - m_cells.begin()), item);
}

void Board::SwapItems(const Cell* first, const Cell* second)
{
    Item* firstItem = GetItem(first);
    Item* secondItem = GetItem(second);
    SetItem(first, secondItem);
    SetItem(second, firstItem);
}

ScreenPosition Board::GetCellScreenPosition(const Cell& cell) const
{
    return m_world.GetCellScreenPosition(cell);
}

void Board::PutItem(std::uint32_t index, Item* item)
{
    m_items[index] = item;
    ++m_placements[index];
}

Cell* Board::OffsetCell(const Cell& cell, int dx, int dy) const
{
    const std::int64_t x = static_cast<std::int64_t>(cell.m_x) + dx;
    const std::int64_t y = static_cast<std::int64_t>(cell.m_y) + dy;
    if (x < 0 || y < 0)
        return nullptr;
    return FindCell(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y));
}

// --- fill ---

void Board::Fill()
{
    m_colours.resize(m_colourCount);
    for (ItemColor colour = 0; colour < m_colourCount; ++colour)
        m_colours[colour] = colour;
    if (m_items.size() == m_cells.size()) {
        for (std::uint32_t i = 0; i < m_items.size(); ++i) {
            if (m_items[i]) {
                m_world.Release(*m_items[i]);
                PutItem(i, nullptr);
            }
        }
    } else {
        m_items.assign(m_cells.size(), nullptr);
        m_placements.assign(m_cells.size(), 0);
    }
    for (const auto& cell : m_cells) {
        if (cell->m_closed)
            continue;
        Shuffle(m_colours);
        Item* item = PlaceFirstUnmatched(*cell, m_colours);
        if (!item)
            continue;
        m_world.Appear(*item, *cell);
        if (cell->m_blocked)
            item->m_held = true;
    }
    FindPossibleMoves();
    m_fillLanding = m_possibleMoves.empty();
    m_world.PlaySound(BoardWorld::kSoundLevelBegin);
}

// Tries the colours in order and keeps the first butterfly that makes no match, or the last one tried.
Item* Board::PlaceFirstUnmatched(const Cell& cell, const std::vector<ItemColor>& colours)
{
    for (std::size_t i = 0; i < colours.size(); ++i) {
        Item* item = m_world.GetFreeItem(colours[i]);
        PutItem(cell.m_cellIndex, item);
        if (i + 1 == colours.size() || !IsInMatch(&cell))
            return item;
        m_world.Release(*item);
        PutItem(cell.m_cellIndex, nullptr);
    }
    return nullptr;
}

// A board left without a move is filled anew, but only once the butterflies of the last fill have landed: a
// board on which no move can form would otherwise be refilled every frame with new butterflies.
bool Board::FillHasLanded()
{
    if (!m_fillLanding)
        return true;
    for (const Item* item : m_items) {
        if (item && !m_world.IsResting(*item))
            return false;
    }
    m_fillLanding = false;
    return true;
}

// --- chains ---

// Walks from every grid position in column order and hands each chain of at least minimum cells to visit, which
// returns false to end the search. Walks from cells of another colour than sameColourAs (when given) are left
// out: their chains could not hold a cell of that colour.
template <class Visit> void Board::ForEachChain(std::uint32_t minimum, const Item* sameColourAs, Visit visit)
{
    for (Cell* start : m_grid) {
        if (!start)
            continue;
        const Item* item = m_items[start->m_cellIndex];
        if (sameColourAs && (!item || item->m_colour != sameColourAs->m_colour))
            continue;
        m_walk.clear();
        m_walk.push_back(start);
        m_inWalk[start->m_cellIndex] = 1;
        GrowChain(m_walk, minimum);
        bool goOn = true;
        if (m_walk.size() >= minimum)
            goOn = visit(static_cast<const Chain&>(m_walk));
        for (const Cell* cell : m_walk)
            m_inWalk[cell->m_cellIndex] = 0;
        if (!goOn)
            return;
    }
}

// Depth first over same-coloured neighbours of the chain's last cell. A branch is kept only once the chain as a
// whole has reached the minimum; until then it is dropped again, and its cells may be reached another way.
void Board::GrowChain(Chain& chain, std::uint32_t minimum)
{
    const Cell* last = chain.back();
    const Item* lastItem = m_items[last->m_cellIndex];
    if (!lastItem)
        return;
    for (Cell* next : m_neighbours[last->m_cellIndex]) {
        if (!next || m_inWalk[next->m_cellIndex])
            continue;
        const Item* nextItem = m_items[next->m_cellIndex];
        if (!nextItem || nextItem->m_colour != lastItem->m_colour)
            continue;
        const std::size_t length = chain.size();
        chain.push_back(next);
        m_inWalk[next->m_cellIndex] = 1;
        GrowChain(chain, minimum);
        if (chain.size() < minimum) {
            for (std::size_t i = length; i < chain.size(); ++i)
                m_inWalk[chain[i]->m_cellIndex] = 0;
            chain.resize(length);
        }
    }
}

void Board::FindChains(std::vector<Chain>& chains, std::uint32_t minimum)
{
    ForEachChain(minimum, nullptr, [&chains](const Chain& chain) {
        chains.push_back(chain);
        return true;
    });
}

bool Board::IsInMatch(const Cell* cell)
{
    const Item* item = GetItem(cell);
    if (!item)
        return false;
    bool found = false;
    ForEachChain(3, item, [cell, &found](const Chain& chain) {
        found = std::find(chain.begin(), chain.end(), cell) != chain.end();
        return !found;
    });
    return found;
}

// --- possible moves ---

void Board::FindPossibleMoves()
{
    m_possibleMoves.clear();
    m_chains.clear();
    FindChains(m_chains, 2);
    m_chainOrder.resize(m_chains.size());
    for (std::uint32_t i = 0; i < m_chainOrder.size(); ++i)
        m_chainOrder[i] = i;
    Shuffle(m_chainOrder);
    for (const std::uint32_t index : m_chainOrder) {
        for (const Cell* cell : m_chains[index]) {
            if (GetItem(cell))
                AddMovesAround(*cell);
        }
        if (m_possibleMoves.size() > kEnoughMoveCells)
            break;
    }
}

// Only moves the player can make are listed: a closed cell has no butterfly and a blocked one cannot be picked.
// The list decides whether the board is dead, so a move through such a cell would keep a stuck board forever.
bool Board::CanSwap(const Cell* cell) const
{
    return cell && !cell->m_closed && !cell->m_blocked && GetItem(cell);
}

void Board::AddMovesAround(const Cell& cell)
{
    const ItemColor colour = GetItem(&cell)->m_colour;
    for (const MovePattern& pattern : kMovePatterns) {
        Cell* target = OffsetCell(cell, pattern.targetX, pattern.targetY);
        const Item* targetItem = GetItem(target);
        if (!targetItem || targetItem->m_colour != colour || !CanSwap(target))
            continue;
        Cell* first = OffsetCell(cell, pattern.firstX, pattern.firstY);
        Cell* second = OffsetCell(cell, pattern.secondX, pattern.secondY);
        if (CanSwap(first))
            m_possibleMoves.insert(m_possibleMoves.end(), {target, first});
        if (second != first && CanSwap(second))
            m_possibleMoves.insert(m_possibleMoves.end(), {target, second});
    }
}

void Board::ShowHint(std::uint32_t pair)
{
    if (pair >= GetMoveCount())
        return;
    Item* first = GetItem(GetMoveFirstCell(pair));
    Item* second = GetItem(GetMoveSecondCell(pair));
    if (!first || !second || m_world.IsInFlight(*first) || m_world.IsInFlight(*second))
        return;
    m_world.Wiggle(*first);
    m_world.Wiggle(*second);
}

// --- frame and input ---

void Board::Update(Cell* hovered, bool mouseWentDown, bool mouseHeld)
{
    m_removedCount = 0;
    m_manaChargePositions.clear();
    // A decided level stays empty.
    if (m_groups.empty() && m_possibleMoves.empty() && !IsDecided() && FillHasLanded())
        Fill();
    UpdateRules();
    // A cell whose butterfly cannot be picked is neither hovered nor clicked this frame.
    const Item* hoveredItem = GetItem(hovered);
    if (!IsPickable(hoveredItem) || hovered->m_blocked)
        hovered = nullptr;
    else
        HandleInput(*hovered, *hoveredItem, mouseWentDown, mouseHeld);
    m_world.ShowSelection(m_selectedCell, hovered);
}

// A butterfly in flight is not where its cell is drawn: picked, it would swap or wiggle out of its flight.
bool Board::IsPickable(const Item* item) const
{
    return item && !item->m_markedForDestruction && !m_world.IsInFlight(*item);
}

void Board::HandleInput(Cell& hoveredCell, const Item& hoveredItem, bool mouseWentDown, bool mouseHeld)
{
    Cell* hovered = &hoveredCell;
    if (!(mouseWentDown || (mouseHeld && m_selectedCell)))
        return;
    if (!m_selectedCell) {
        m_selectedCell = hovered;
        m_world.PlaySound(BoardWorld::kSoundSelect);
        return;
    }
    const Item* selectedItem = GetItem(m_selectedCell);
    if (hovered == m_selectedCell || !IsPickable(selectedItem)) {
        if (mouseWentDown) {
            m_selectedCell = nullptr;
            m_world.PlaySound(BoardWorld::kSoundDeselect);
        }
        return;
    }
    if (AreNeighbours(*m_selectedCell, *hovered) && selectedItem->m_colour != hoveredItem.m_colour) {
        TrySwap(*m_selectedCell, *hovered);
        m_selectedCell = nullptr;
        return;
    }
    if (mouseWentDown) {
        m_selectedCell = hovered;
        m_world.PlaySound(BoardWorld::kSoundSelect);
    }
}

// Once the last unit is spent a swap is refused like one that matches nothing: the level waits only for the
// removals it has paid for, and a free swap would keep it going.
void Board::TrySwap(Cell& selected, Cell& hovered)
{
    SwapItems(&selected, &hovered);
    const bool selectedMatches = IsInMatch(&selected);
    const bool hoveredMatches = IsInMatch(&hovered);
    if ((selectedMatches || hoveredMatches) && !IsEnergySpent()) {
        if (selectedMatches)
            CollectDestructionGroup(&selected);
        if (hoveredMatches)
            CollectDestructionGroup(&hovered);
        // The listed moves are of the board before the swap; a new list is made once its passes have ended.
        m_possibleMoves.clear();
        m_world.MoveTo(*GetItem(&selected), selected);
        m_world.MoveTo(*GetItem(&hovered), hovered);
        if (!m_relaxMode && m_energyLeft > 0)
            --m_energyLeft;
        m_world.PlaySound(BoardWorld::kSoundSwap);
    } else {
        m_world.Wiggle(*GetItem(&selected));
        m_world.Wiggle(*GetItem(&hovered));
        SwapItems(&selected, &hovered);
        m_world.PlaySound(BoardWorld::kSoundBadSwap);
    }
}

// --- destruction groups ---

// Cells are told apart by their coordinates here.
void Board::AddToGroup(DestructionGroup& group, Cell* cell)
{
    if (!cell)
        return;
    for (const DestructionGroup::Entry& entry : group.cells) {
        if (entry.cell->m_x == cell->m_x && entry.cell->m_y == cell->m_y)
            return;
    }
    group.cells.push_back({cell});
}

void Board::CollectDestructionGroup(Cell* cell)
{
    m_groups.push_back(std::make_unique<DestructionGroup>());
    DestructionGroup& group = *m_groups.back();
    if (const Item* item = GetItem(cell)) {
        ForEachChain(2, item, [&group, cell](const Chain& chain) {
            if (std::find(chain.begin(), chain.end(), cell) != chain.end()) {
                for (Cell* member : chain)
                    AddToGroup(group, member);
            }
            return true;
        });
    }
    group.chainLength = static_cast<std::uint32_t>(group.cells.size());
    // Cells added on the way are walked too, so bonuses set each other off.
    for (std::size_t at = 0; at < group.cells.size(); ++at)
        FireBonus(group, at);
    std::erase_if(group.cells, [this](const DestructionGroup::Entry& entry) { return !GetItem(entry.cell); });
    for (DestructionGroup::Entry& entry : group.cells) {
        entry.item = GetItem(entry.cell);
        entry.placement = m_placements[entry.cell->m_cellIndex];
        entry.item->m_markedForDestruction = true;
    }
}

void Board::FireBonus(DestructionGroup& group, std::size_t at)
{
    Cell* cell = group.cells[at].cell;
    const Item* item = GetItem(cell);
    if (!item || !item->m_bonus)
        return;
    ++group.bonusesFired;
    const BonusKind kind = item->m_bonus->m_kind;
    ++group.firedByKind[static_cast<std::uint32_t>(kind)];
    switch (kind) {
    case BonusKind::ItemDestruction:
        for (Cell* neighbour : m_neighbours[cell->m_cellIndex])
            AddToGroup(group, neighbour);
        break;
    case BonusKind::CombinationDestruction: {
        const std::size_t ring = group.cells.size();
        for (std::size_t i = 0; i < ring; ++i) {
            for (Cell* neighbour : m_neighbours[group.cells[i].cell->m_cellIndex])
                AddToGroup(group, neighbour);
        }
        break;
    }
    case BonusKind::ColorDestruction:
        for (const auto& other : m_cells) {
            const Item* otherItem = GetItem(other.get());
            if (otherItem && otherItem->m_colour == item->m_colour)
                AddToGroup(group, other.get());
        }
        break;
    }
}

bool Board::IsCollected(const DestructionGroup::Entry& entry) const
{
    return m_placements[entry.cell->m_cellIndex] == entry.placement;
}

bool Board::GroupRests(const DestructionGroup& group) const
{
    for (const DestructionGroup::Entry& entry : group.cells) {
        if (IsCollected(entry) && !m_world.IsResting(*entry.item))
            return false;
    }
    return true;
}

// Landing clears a butterfly's mark; while its group waits it must stay out of the player's reach.
void Board::MarkGroup(const DestructionGroup& group)
{
    for (const DestructionGroup::Entry& entry : group.cells) {
        if (IsCollected(entry))
            entry.item->m_markedForDestruction = true;
    }
}

void Board::RemoveGroup(const DestructionGroup& group)
{
    for (const DestructionGroup::Entry& entry : group.cells) {
        if (!IsCollected(entry))
            continue;
        Cell& cell = *entry.cell;
        CellEvent event{&cell};
        if (entry.item->m_bonus)
            event.bonusFired[static_cast<std::uint32_t>(entry.item->m_bonus->m_kind)] = true;
        if (cell.m_blocked) {
            // The freed block leaves the cell's mana for a later match.
            cell.m_blocked = false;
            m_world.SetAppearance(cell);
            event.blockRemoved = true;
        } else if (cell.HasMana()) {
            --cell.m_kind;
            m_world.SetAppearance(cell);
            m_world.RestartManaBurst(cell);
            event.manaCharged = true;
        }
        m_world.Release(*entry.item);
        PutItem(cell.m_cellIndex, nullptr);
        ++m_removedCount;
        m_events.push_back(event);
    }
}

// Two or more bonuses fired (none of them a colour destruction) earn a colour destruction anywhere in the
// group; a chain of four an item destruction on one of its cells, a chain of five a combination destruction.
void Board::PlaceBonusOrder(const DestructionGroup& group)
{
    const auto cellAt = [&group](std::uint32_t index) { return group.cells[index].cell; };
    const bool colourFired = group.firedByKind[static_cast<std::uint32_t>(BonusKind::ColorDestruction)] > 0;
    if (group.bonusesFired >= 2 && !colourFired) {
        const std::uint32_t count = static_cast<std::uint32_t>(group.cells.size());
        m_orders.push_back({cellAt(KeystrelEngine::RandomNext() % count), BonusKind::ColorDestruction});
    } else if (group.chainLength == 4) {
        m_orders.push_back({cellAt(KeystrelEngine::RandomNext() & 3u), BonusKind::ItemDestruction});
    } else if (group.chainLength == 5) {
        m_orders.push_back({cellAt(KeystrelEngine::RandomNext() % 5u), BonusKind::CombinationDestruction});
    }
}

// --- rule step ---

void Board::UpdateRules()
{
    if (m_groups.empty())
        return;
    m_events.clear();
    m_orders.clear();
    for (std::unique_ptr<DestructionGroup>& group : m_groups) {
        if (!GroupRests(*group)) {
            MarkGroup(*group);
            continue;
        }
        RemoveGroup(*group);
        PlaceBonusOrder(*group);
        group.reset();
    }
    std::erase(m_groups, nullptr);
    if (m_removedCount == 0)
        return;
    OpenClosedCells();
    m_possibleMoves.clear();
    Refill(FavouredHelpColour());
    CollectCascades();
    if (m_groups.empty())
        FindPossibleMoves();
    const std::uint32_t gained = GainMana();
    DecideLevel();
    Score();
    if (IsDecided())
        ReleaseAll();
    PlayPassSounds();
    Praise(gained);
}

// A closed cell opens once it has an open neighbour and none of its open neighbours has mana left to charge.
void Board::OpenClosedCells()
{
    for (const auto& cell : m_cells) {
        if (!cell->m_closed)
            continue;
        bool openNeighbour = false;
        bool manaLeft = false;
        for (const Cell* neighbour : m_neighbours[cell->m_cellIndex]) {
            if (!neighbour || neighbour->m_closed)
                continue;
            openNeighbour = true;
            manaLeft = manaLeft || neighbour->HasMana();
        }
        if (openNeighbour && !manaLeft) {
            cell->m_closed = false;
            m_world.SetAppearance(*cell);
            CellEvent event{cell.get()};
            event.closedCellOpened = true;
            m_events.push_back(event);
        }
    }
}

// After many passes without mana a stuck player gets help: the colour most present on mana cells (the lowest
// among equals, colour 0 when none counts).
std::optional<ItemColor> Board::FavouredHelpColour()
{
    if (m_passesWithoutMana <= kPassesBeforeHelp)
        return std::nullopt;
    m_colourScores.assign(m_colourCount, 0);
    for (const auto& cell : m_cells) {
        const Item* item = GetItem(cell.get());
        if (cell->HasMana() && item && item->m_colour < m_colourCount)
            ++m_colourScores[item->m_colour];
    }
    ItemColor favoured = 0;
    for (ItemColor colour = 1; colour < m_colourCount; ++colour) {
        if (m_colourScores[colour] > m_colourScores[favoured])
            favoured = colour;
    }
    return favoured;
}

void Board::Refill(std::optional<ItemColor> helpColour)
{
    for (const auto& cell : m_cells) {
        if (GetItem(cell.get()) || cell->m_closed)
            continue;
        OrderRefillColours(cell.get(), m_colours, m_refillByDistance);
        m_refillByDistance = !m_refillByDistance;
        Item* item = PlaceFirstUnmatched(*cell, m_colours);
        if (!item)
            continue;
        m_world.Appear(*item, *cell);
        if (helpColour && item->m_colour == *helpColour) {
            GiveBonus(*item, BonusKind::ColorDestruction);
            helpColour.reset();
        }
        for (const BonusOrder& order : m_orders) {
            if (order.cell == cell.get() && !item->m_bonus)
                GiveBonus(*item, order.kind);
        }
    }
}

void Board::GiveBonus(Item& item, BonusKind kind)
{
    item.m_bonus = m_world.CreateBonus(kind);
}

// Colours whose butterflies sit on mana cells near the cell come first (distance in grid steps, rows doubled),
// or the colours in a random order. Equal scores keep colour order.
void Board::OrderRefillColours(const Cell* cell, std::vector<ItemColor>& colours, bool useDistance)
{
    m_colourScores.assign(m_colourCount, kFarScore);
    if (useDistance) {
        for (const auto& other : m_cells) {
            const Item* item = GetItem(other.get());
            if (!other->HasMana() || !item || item->m_colour >= m_colourCount)
                continue;
            const std::uint32_t distance =
                static_cast<std::uint32_t>(std::abs(static_cast<std::int64_t>(cell->m_x) - other->m_x) +
                                           std::abs(static_cast<std::int64_t>(cell->m_y) - other->m_y));
            m_colourScores[item->m_colour] = std::min(m_colourScores[item->m_colour], distance);
        }
    } else {
        for (std::uint32_t& score : m_colourScores)
            score = KeystrelEngine::RandomNext() % (kFarScore + 1);
    }
    // Insertion sort: stable, and the handful of colours needs no buffer.
    colours.resize(m_colourCount);
    for (ItemColor colour = 0; colour < m_colourCount; ++colour) {
        std::size_t at = colour;
        while (at > 0 && m_colourScores[colours[at - 1]] > m_colourScores[colour]) {
            colours[at] = colours[at - 1];
            --at;
        }
        colours[at] = colour;
    }
}

// Every chain the refill left becomes a group; a group of k butterflies is found from up to k cells, and the
// repeats find their cells already emptied by the first.
void Board::CollectCascades()
{
    m_chains.clear();
    FindChains(m_chains, 3);
    for (const Chain& chain : m_chains)
        CollectDestructionGroup(chain.front());
}

// The more butterflies a pass removes, the more each charged layer counts: x1.0 at three (and below), x1.15 at
// four, up to x1.6 from seven on.
std::uint32_t Board::GainMana()
{
    std::uint32_t charged = 0;
    for (const CellEvent& event : m_events)
        charged += event.manaCharged ? 1 : 0;
    const float multiplier =
        m_removedCount < 3 ? 1.0f : 1.0f + std::min(0.6f, 0.15f * static_cast<float>(m_removedCount - 3));
    const std::uint32_t gained = static_cast<std::uint32_t>(multiplier * static_cast<float>(charged));
    m_manaProgress += gained;
    m_passesWithoutMana = gained == 0 ? m_passesWithoutMana + 1 : 0;
    return gained;
}

// A level runs out of energy only in a pass after which no group waits: the removals of the swap that spent the
// last unit, and the cascades they set off, still count, and when they complete the mana the level is won.
// Relax mode has no energy to run out of.
void Board::DecideLevel()
{
    m_levelWon = m_manaProgress >= m_manaTarget;
    if (m_levelWon)
        m_manaProgress = m_manaTarget;
    m_outOfEnergy = !m_levelWon && !m_relaxMode && m_energyLeft == 0 && m_groups.empty();
    if (m_levelWon) {
        m_world.LevelEndPhrase();
        ClearCells();
    } else if (m_outOfEnergy) {
        m_world.LevelFailedReaction();
    }
}

// A won board shows every cell open, free and charged.
void Board::ClearCells()
{
    for (const auto& cell : m_cells) {
        if (cell->m_closed || cell->m_blocked) {
            cell->m_closed = false;
            cell->m_blocked = false;
            m_world.SetAppearance(*cell);
        }
        while (cell->HasMana()) {
            --cell->m_kind;
            m_world.SetAppearance(*cell);
            m_world.RestartManaBurst(*cell);
        }
    }
}

void Board::Score()
{
    m_firedThisPass = {};
    for (const CellEvent& event : m_events) {
        std::int32_t points = m_scoreKeeper.GetPoints(kEventItemRemoved);
        const ScreenPosition position = m_world.GetCellScreenPosition(*event.cell);
        if (event.manaCharged) {
            points += m_scoreKeeper.GetPoints(kEventManaCharged);
            m_manaChargePositions.push_back(position);
        }
        if (event.closedCellOpened)
            points += m_scoreKeeper.GetPoints(kEventClosedCellOpened);
        if (event.blockRemoved)
            points += m_scoreKeeper.GetPoints(kEventBlockRemoved);
        for (std::uint32_t kind = 0; kind < 3; ++kind) {
            if (event.bonusFired[kind]) {
                points += m_scoreKeeper.GetPoints(kEventItemDestruction + kind);
                ++m_firedThisPass[kind];
            }
        }
        m_scoreKeeper.m_total += static_cast<std::uint32_t>(points);
        m_world.AddText(static_cast<std::uint32_t>(points), position);
    }
}

// A decided level lets every butterfly fly away and drops the groups still waiting, its moves and the
// selection, so the board stays empty and the level can end once the last butterfly is gone.
void Board::ReleaseAll()
{
    for (std::uint32_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i]) {
            m_world.Release(*m_items[i]);
            PutItem(i, nullptr);
        }
    }
    m_groups.clear();
    m_possibleMoves.clear();
    m_selectedCell = nullptr;
}

void Board::PlayPassSounds()
{
    if (m_levelWon)
        m_world.PlaySound(BoardWorld::kSoundLevelEnd);
    else if (m_outOfEnergy)
        m_world.PlaySound(BoardWorld::kSoundLevelFailed);
    m_world.PlaySound(CombinationSound(m_removedCount));
    constexpr std::array<BoardWorld::Sound, 3> kBonusSounds{BoardWorld::kSoundBonusItemDestruction,
                                                            BoardWorld::kSoundBonusCombinationDestruction,
                                                            BoardWorld::kSoundBonusColorDestruction};
    for (std::uint32_t kind = 0; kind < 3; ++kind) {
        if (m_firedThisPass[kind] > 0)
            m_world.PlaySound(kBonusSounds[kind]);
    }
}

// The guide praises a move only while the level goes on; a deciding pass has its own line.
void Board::Praise(std::uint32_t gained)
{
    if (IsDecided())
        return;
    if (const std::optional<std::uint32_t> level = PraiseLevel(gained, m_removedCount))
        m_world.Praise(*level);
}

} // namespace Wispfold
