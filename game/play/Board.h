// The hexagonal playing field of one level and its rules: the cells, the butterfly on each cell, the player's
// selection and swap, chain finding, the possible moves, and the rule step that removes matches, fires bonuses,
// charges mana, opens and frees cells, refills, scores and decides the level.
//
// Grid: a cell has a column x and a row y. Rows are doubled: the cells of one column lie two rows apart and the
// columns are staggered by one row, so the six neighbours of (x, y) are, in direction order 0 to 5, (x, y+2),
// (x+1, y+1), (x+1, y-1), (x, y-2), (x-1, y-1) and (x-1, y+1). Every neighbour loop runs in that order.
//
// Everything visible (butterfly motions, cell looks, sounds, texts, the character) goes through the BoardWorld.
// Random draws step the engine's one generator in a fixed order, which is part of the behaviour: N - 1 per open
// cell filled, one per chain after the first when the moves are searched, one per colour of a random refill
// order, one per bonus order.
#pragma once

#include "BoardWorld.h"
#include "Cell.h"
#include "DestructionGroup.h"
#include "Item.h"
#include "LevelData.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace GameFramework {
class ScoreKeeper;
}

namespace Wispfold {

// 0 to 5, see the grid above; any other value names no neighbour.
using HexDirection = std::uint32_t;

// Scoring events; their points come from the level's score keeper.
enum ScoreEvent : std::uint32_t
{
    kEventItemRemoved = 0, // also counted for an opened closed cell
    kEventManaCharged = 1,
    kEventClosedCellOpened = 2,
    kEventBlockRemoved = 3,
    kEventItemDestruction = 4, // 5 and 6 follow for the other two bonus kinds
};

// Same-coloured cells in the order a walk reached them, the first being where the walk started.
using Chain = std::vector<Cell*>;

class Board
{
public:
    // Makes the cells, fills the board and sets the level's counters.
    Board(BoardWorld& world, const LevelData& level, GameFramework::ScoreKeeper& scoreKeeper);
    virtual ~Board();

    Board(const Board&) = delete;
    Board& operator=(const Board&) = delete;

    // --- grid ---
    // The earliest cell with these coordinates; null when none.
    Cell* FindCell(std::uint32_t x, std::uint32_t y) const;
    Cell* GetNeighbour(const Cell* cell, HexDirection direction) const;
    Item* GetItem(const Cell* cell) const;
    Item* GetItemAt(std::uint32_t index) const;
    // Nothing happens for a cell that is not on the board.
    void SetItem(const Cell* cell, Item* item);
    void SwapItems(const Cell* first, const Cell* second);
    ScreenPosition GetCellScreenPosition(const Cell& cell) const;

    // --- play ---
    // A butterfly on every open cell, avoiding matches where a colour allows; replaces what is on the board.
    void Fill();
    // The frame's board work: the dead-board refill, the rule step, the player's input, then the world shows the
    // selection. The hovered cell is the one under the cursor (null when none); the two flags tell whether
    // "MOUSE1" went down this frame and whether it is held.
    void Update(Cell* hovered, bool mouseWentDown, bool mouseHeld);
    // Appends every chain of at least minimum cells; a group of butterflies is reported once per cell it can be
    // walked from.
    void FindChains(std::vector<Chain>& chains, std::uint32_t minimum);
    // The cell belongs to a chain of three or more.
    bool IsInMatch(const Cell* cell);
    // Lists the swaps that complete a chain and can be played (no closed or blocked cell). An accepted swap empties
    // the list; the pass that leaves no group behind lists the moves anew.
    void FindPossibleMoves();
    std::uint32_t GetMoveCount() const { return static_cast<std::uint32_t>(m_possibleMoves.size() / 2); }
    Cell* GetMoveFirstCell(std::uint32_t pair) const { return m_possibleMoves[2 * pair]; }
    Cell* GetMoveSecondCell(std::uint32_t pair) const { return m_possibleMoves[2 * pair + 1]; }
    // Both butterflies of the pair wiggle; nothing happens while either is in flight.
    void ShowHint(std::uint32_t pair);

    // --- rule step ---
    // A group around a cell that is in a match: its chain, widened by the bonuses it carries, all marked.
    void CollectDestructionGroup(Cell* cell);
    void UpdateRules();
    // Every colour index, in the order a refill of the cell tries them.
    void OrderRefillColours(const Cell* cell, std::vector<ItemColor>& colours, bool useDistance);

    // --- read by the level, the display and the tutorial ---
    std::uint32_t GetGridWidth() const { return m_gridWidth; }
    std::uint32_t GetGridHeight() const { return m_gridHeight; }
    const std::vector<std::unique_ptr<Cell>>& GetCells() const { return m_cells; }
    const std::vector<std::unique_ptr<DestructionGroup>>& GetDestructionGroups() const { return m_groups; }
    Cell* GetSelectedCell() const { return m_selectedCell; }
    std::uint32_t GetRemovedCount() const { return m_removedCount; }
    const std::vector<ScreenPosition>& GetManaChargePositions() const { return m_manaChargePositions; }
    std::uint32_t GetManaTarget() const { return m_manaTarget; }
    std::uint32_t GetManaProgress() const { return m_manaProgress; }
    std::uint32_t GetEnergyBudget() const { return m_energyBudget; }
    std::uint32_t GetEnergyLeft() const { return m_energyLeft; }
    bool IsLevelWon() const { return m_levelWon; }
    bool IsOutOfEnergy() const { return m_outOfEnergy; }
    std::uint32_t GetLevelPointTotal() const { return m_levelPointTotal; }
    bool IsRelaxMode() const { return m_relaxMode; }
    std::uint32_t GetPassesWithoutMana() const { return m_passesWithoutMana; }

private:
    // One removed butterfly or opened cell of a pass, and what happened there.
    struct CellEvent
    {
        Cell* cell = nullptr;
        bool manaCharged = false;
        bool closedCellOpened = false;
        bool blockRemoved = false;
        std::array<bool, 3> bonusFired{}; // by bonus kind
    };

    // A bonus for the butterfly that next fills the cell in this pass.
    struct BonusOrder
    {
        Cell* cell = nullptr;
        BonusKind kind = BonusKind::ItemDestruction;
    };

    void BuildLookup();
    void PutItem(std::uint32_t index, Item* item);
    Cell* OffsetCell(const Cell& cell, int dx, int dy) const;
    bool IsDecided() const { return m_levelWon || m_outOfEnergy; }
    // A level with a budget has spent it; relax mode and a level without a budget never spend.
    bool IsEnergySpent() const { return !m_relaxMode && m_energyBudget > 0 && m_energyLeft == 0; }
    bool FillHasLanded();

    // Chain walks.
    template <class Visit> void ForEachChain(std::uint32_t minimum, const Item* sameColourAs, Visit visit);
    void GrowChain(Chain& chain, std::uint32_t minimum);
    void AddMovesAround(const Cell& cell);
    bool CanSwap(const Cell* cell) const;

    // Filling.
    Item* PlaceFirstUnmatched(const Cell& cell, const std::vector<ItemColor>& colours);
    void GiveBonus(Item& item, BonusKind kind);

    // Input.
    bool IsPickable(const Item* item) const;
    void HandleInput(Cell& hovered, const Item& hoveredItem, bool mouseWentDown, bool mouseHeld);
    void TrySwap(Cell& selected, Cell& hovered);

    // Groups.
    static void AddToGroup(DestructionGroup& group, Cell* cell);
    void FireBonus(DestructionGroup& group, std::size_t at);
    bool IsCollected(const DestructionGroup::Entry& entry) const;
    bool GroupRests(const DestructionGroup& group) const;
    void MarkGroup(const DestructionGroup& group);
    void RemoveGroup(const DestructionGroup& group);
    void PlaceBonusOrder(const DestructionGroup& group);

    // The steps of a removing pass.
    void OpenClosedCells();
    std::optional<ItemColor> FavouredHelpColour();
    void Refill(std::optional<ItemColor> helpColour);
    void CollectCascades();
    std::uint32_t GainMana();
    void DecideLevel();
    void ClearCells();
    void Score();
    void ReleaseAll();
    void PlayPassSounds();
    void Praise(std::uint32_t gained);

    BoardWorld& m_world;
    GameFramework::ScoreKeeper& m_scoreKeeper;
    std::uint32_t m_gridWidth;
    std::uint32_t m_gridHeight;
    std::uint32_t m_colourCount;
    std::vector<std::unique_ptr<Cell>> m_cells;
    // Parallel to the cells: the butterfly on each, and how many times a butterfly was put on or taken off it.
    std::vector<Item*> m_items;
    std::vector<std::uint32_t> m_placements;
    // The earliest cell at each grid position (x * height + y), and each cell's six neighbours.
    std::vector<Cell*> m_grid;
    std::vector<std::array<Cell*, 6>> m_neighbours;
    Cell* m_selectedCell = nullptr;
    std::uint32_t m_removedCount = 0;
    std::vector<std::unique_ptr<DestructionGroup>> m_groups;
    // The next refilled cell orders its colours by distance (else at random); flips with every refilled cell.
    bool m_refillByDistance = false;
    // Pairs (target, partner): swapping them completes a chain.
    std::vector<Cell*> m_possibleMoves;
    std::vector<ScreenPosition> m_manaChargePositions;
    std::uint32_t m_manaTarget = 0;
    std::uint32_t m_manaProgress = 0;
    std::uint32_t m_energyBudget = 0;
    std::uint32_t m_energyLeft = 0;
    bool m_levelWon = false;
    bool m_outOfEnergy = false;
    std::uint32_t m_levelPointTotal = 0;
    bool m_relaxMode;
    std::uint32_t m_passesWithoutMana = 0;
    // A fill left no move: the next fill waits until these butterflies have landed.
    bool m_fillLanding = false;

    // Reused by the walks and passes.
    Chain m_walk;
    std::vector<std::uint8_t> m_inWalk;
    std::vector<Chain> m_chains;
    std::vector<std::uint32_t> m_chainOrder;
    std::vector<ItemColor> m_colours;
    std::vector<std::uint32_t> m_colourScores;
    std::vector<CellEvent> m_events;
    std::vector<BonusOrder> m_orders;
    std::array<std::uint32_t, 3> m_firedThisPass{};
};

} // namespace Wispfold
