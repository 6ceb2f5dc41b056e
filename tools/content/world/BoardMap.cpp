#include "tools/content/world/BoardMap.h"

#include "tools/content/world/WorldGrid.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>

namespace Content {
namespace {

struct Symbol
{
    char symbol;
    std::uint32_t kind;
    std::uint8_t closed;
    std::uint8_t blocked;
};

constexpr Symbol kSymbols[] = {{'o', 0, 0, 0}, {'1', 1, 0, 0}, {'2', 2, 0, 0}, {'c', 1, 1, 0},
                               {'C', 2, 1, 0}, {'w', 0, 0, 1}, {'b', 1, 0, 1}, {'B', 2, 0, 1}};

Formats::BoardFileCell CellOf(char symbol, std::uint32_t x, std::uint32_t y)
{
    const auto found = std::find_if(std::begin(kSymbols), std::end(kSymbols),
                                    [symbol](const Symbol& entry) { return entry.symbol == symbol; });
    if (found == std::end(kSymbols))
        throw std::invalid_argument(std::string("unknown board character '") + symbol + "'");
    if ((x + y) % 2 != 0)
        throw std::invalid_argument("a cell at (" + std::to_string(x) + ", " + std::to_string(y) +
                                    ") lies off the doubled rows");
    Formats::BoardFileCell cell;
    cell.kind = found->kind;
    cell.closed = found->closed;
    cell.blocked = found->blocked;
    cell.x = x;
    cell.y = y;
    cell.rotation = {0.0f, 0.0f, 0.0f, 1.0f};
    return cell;
}

// Moves the cells so that the middle of their extent lies at the origin.
void Centre(std::vector<Formats::BoardFileCell>& cells)
{
    for (int axis = 0; axis < 2; ++axis) {
        const auto [low, high] = std::minmax_element(cells.begin(), cells.end(), [axis](const auto& a, const auto& b) {
            return a.position[axis] < b.position[axis];
        });
        const float middle = 0.5f * (low->position[axis] + high->position[axis]);
        for (Formats::BoardFileCell& cell : cells)
            cell.position[axis] -= middle;
    }
}

} // namespace

Formats::BoardFile BoardMap::Build(const std::vector<std::string>& rows)
{
    Formats::BoardFile board;
    board.gridHeight = static_cast<std::uint32_t>(rows.size());
    board.gridWidth = rows.empty() ? 0 : static_cast<std::uint32_t>(rows.front().size());
    for (std::size_t line = 0; line < rows.size(); ++line) {
        if (rows[line].size() != board.gridWidth)
            throw std::invalid_argument("the lines of a board map differ in length");
        const auto y = static_cast<std::uint32_t>(rows.size() - 1 - line);
        for (std::uint32_t x = 0; x < board.gridWidth; ++x) {
            const char symbol = rows[line][x];
            if (symbol == '.' || symbol == ' ')
                continue;
            Formats::BoardFileCell cell = CellOf(symbol, x, y);
            cell.position = {WorldGrid::kColumnStep * static_cast<float>(x),
                             WorldGrid::kRowStep * static_cast<float>(y), 0.0f};
            board.cells.push_back(cell);
        }
    }
    if (board.cells.empty())
        throw std::invalid_argument("a board map without cells");
    Centre(board.cells);
    return board;
}

std::uint32_t BoardMap::ManaTarget(const Formats::BoardFile& board)
{
    std::uint32_t layers = 0;
    for (const Formats::BoardFileCell& cell : board.cells)
        layers += cell.kind <= 2 ? cell.kind : 0;
    return layers;
}

} // namespace Content
