// Where the butterflies of a board rest: every butterfly that has come to rest on a cell should sit on that
// cell's resting point, the top of the cell raised by its hover height, however its moves went.
#pragma once

namespace Wispfold {
class Board;
class BoardScene;
} // namespace Wispfold

namespace TestSupport {

// The largest distance between a resting butterfly of the board and its cell's resting point; 0 when every one
// stands on its own (butterflies on their way are not looked at).
float LargestRestingOffset(const Wispfold::Board& board, const Wispfold::BoardScene& scene);

} // namespace TestSupport
