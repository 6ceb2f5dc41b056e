// A board over the scripted world with the game's score table, on small rectangular grids whose colours tests
// paint by hand. Column x of a w-column board holds cells at y = x % 2, x % 2 + 2, ...; a separate island of
// five cells to the right keeps one possible move on every board, so a painted board is never refilled as dead.
#pragma once

#include "support/ScriptedBoardWorld.h"

#include "engine/foundation/Random.h"
#include "framework/ScoreKeeper.h"
#include "game/play/Board.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <utility>

namespace TestSupport {

using Coordinates = std::pair<std::uint32_t, std::uint32_t>;

class BoardFixture : public ::testing::Test
{
protected:
    // Unpainted cells get this plus their cell index: a colour no other butterfly has.
    static constexpr Wispfold::ItemColor kUniqueColours = 100;
    static constexpr Wispfold::ItemColor kIslandColour = 60;

    void SetUp() override
    {
        KeystrelEngine::RandomSeed = 20240601;
        const std::int32_t table[] = {10, 100, 200, 150, 250, 500, 1000};
        for (std::uint32_t event = 0; event < 7; ++event)
            m_keeper.SetPoints(event, table[event]);
    }

    static Wispfold::BoardCellRecord Record(std::uint32_t x, std::uint32_t y, Wispfold::CellKind kind = 0)
    {
        Wispfold::BoardCellRecord record;
        record.x = x;
        record.y = y;
        record.kind = kind;
        return record;
    }

    Wispfold::LevelData Rectangle(std::uint32_t width, std::uint32_t rows, bool island = true)
    {
        m_islandWidth = island ? width : 0;
        Wispfold::LevelData level;
        level.colourCount = 5;
        for (std::uint32_t x = 0; x < width; ++x) {
            for (std::uint32_t row = 0; row < rows; ++row)
                level.cellRecords.push_back(Record(x, x % 2 + 2 * row));
        }
        level.gridWidth = width;
        level.gridHeight = 2 * rows + 1;
        if (island) {
            const std::uint32_t y = 4 + width % 2;
            for (const Coordinates& at : IslandCells(width))
                level.cellRecords.push_back(Record(at.first, at.second));
            level.gridWidth = width + 5;
            level.gridHeight = std::max(level.gridHeight, y + 3);
        }
        return level;
    }

    // A pair, a partner two steps away and the two cells between: one possible move.
    static std::array<Coordinates, 5> IslandCells(std::uint32_t width)
    {
        const std::uint32_t x = width + 2;
        const std::uint32_t y = 4 + width % 2;
        return {{{x, y}, {x, y + 2}, {x + 2, y}, {x + 1, y - 1}, {x + 1, y + 1}}};
    }

    static Wispfold::CellKind& KindAt(Wispfold::LevelData& level, std::uint32_t x, std::uint32_t y)
    {
        for (Wispfold::BoardCellRecord& record : level.cellRecords) {
            if (record.x == x && record.y == y)
                return record.kind;
        }
        throw std::logic_error("no such cell");
    }

    Wispfold::Board& Make(const Wispfold::LevelData& level)
    {
        m_board = std::make_unique<Wispfold::Board>(m_world, level, m_keeper);
        m_world.LandAll();
        return *m_board;
    }

    Wispfold::Cell* At(std::uint32_t x, std::uint32_t y) const
    {
        Wispfold::Cell* cell = m_board->FindCell(x, y);
        EXPECT_NE(cell, nullptr) << "(" << x << ", " << y << ")";
        return cell;
    }

    Wispfold::Item* ItemAt(std::uint32_t x, std::uint32_t y) const { return m_board->GetItem(At(x, y)); }

    // The colour on the first n cells of column x.
    static std::map<Coordinates, Wispfold::ItemColor> Line(std::uint32_t n, Wispfold::ItemColor colour = 1,
                                                           std::uint32_t x = 0)
    {
        std::map<Coordinates, Wispfold::ItemColor> line;
        for (std::uint32_t i = 0; i < n; ++i)
            line[{x, x % 2 + 2 * i}] = colour;
        return line;
    }

    // Puts resting butterflies of the given colours on the given cells and of unique colours everywhere else
    // (the island keeps its move); closed cells stay empty. The logs of the world start empty again.
    void Paint(const std::map<Coordinates, Wispfold::ItemColor>& colours)
    {
        std::map<Coordinates, Wispfold::ItemColor> all = colours;
        for (std::size_t i = 0; i < 3 && m_islandWidth > 0; ++i)
            all.emplace(IslandCells(m_islandWidth)[i], kIslandColour);
        for (const auto& cell : m_board->GetCells()) {
            if (Wispfold::Item* old = m_board->GetItem(cell.get()))
                m_world.Release(*old);
            Wispfold::Item* item = nullptr;
            if (!cell->m_closed) {
                const auto found = all.find({cell->m_x, cell->m_y});
                item = m_world.MakeRestingItem(found != all.end() ? found->second : kUniqueColours + cell->m_cellIndex);
            }
            m_board->SetItem(cell.get(), item);
        }
        m_world.LandAll();
        ClearLogs();
    }

    void ClearLogs()
    {
        m_world.m_sounds.clear();
        m_world.m_texts.clear();
        m_world.m_praises.clear();
        m_world.m_bonusesCreated.clear();
        m_world.m_appeared.clear();
        m_world.m_released.clear();
        m_world.m_wiggled.clear();
        m_world.m_appearanceRefreshes.clear();
        m_world.m_manaBursts.clear();
    }

    // Collects the group at the cell and runs one frame with everything at rest: one removing pass.
    void RemoveGroupAt(std::uint32_t x, std::uint32_t y)
    {
        m_board->CollectDestructionGroup(At(x, y));
        Frame();
    }

    void Frame(Wispfold::Cell* hovered = nullptr, bool wentDown = false, bool held = false)
    {
        m_board->Update(hovered, wentDown, held);
    }

    void Press(std::uint32_t x, std::uint32_t y) { Frame(At(x, y), true, true); }

    ScriptedBoardWorld m_world;
    GameFramework::ScoreKeeper m_keeper;
    std::unique_ptr<Wispfold::Board> m_board;

    // The width of the rectangle the island lies beside; 0 without an island.
    std::uint32_t m_islandWidth = 0;
};

} // namespace TestSupport
