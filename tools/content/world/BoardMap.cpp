#include "tools/content/world/BoardMap.h"

#include "tools/content/world/WorldGrid.h"

#include <algorithm>
#include <stdexcept>

namespace Content {
namespace {

Formats::BoardFileCell CellOf(char symbol, std::uint32_t x, std::uint32_t y)
{
    Formats::BoardFileCell cell;
    cell.x = x;
    cell.y = y;
    cell.rotation = {0.0f, 0.0f, 0.0f, 1.0f};
    switch (symbol) {
    case 'o':
        break;
    case '1':
        cell.kind = 1;
        break;
    case '2':
        cell.kind = 2;
        break;
    case 'c':
        cell.kind = 1, cell.closed = 1;
        break;
    case 'C':
        cell.kind = 2, cell.closed = 1;
        break;
    case 'w':
        cell.blocked = 1;
        break;
    case 'b':
        cell.kind = 1, cell.blocked = 1;
        break;
    case 'B':
        cell.kind = 2, cell.blocked = 1;
        break;
    default:
        throw std::invalid_argument(std::string("unknown board character '") + symbol + "'");
    }
    if ((x + y) % 2 != 0)
        throw std::invalid_argument("a cell at (" + std::to_string(x) + ", " + std::to_string(y) +
                                    ") lies off the doubled rows");
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
