// Where the board's scene has put a cell: the world matrix of the cell's model. The tutorial's pointer sits
// there.
#pragma once

#include "engine/render/Matrix4.h"

namespace Wispfold {

class Cell;

class CellPlacement
{
public:
    virtual ~CellPlacement() = default;

    virtual KeystrelEngine::Matrix4 GetCellMatrix(const Cell& cell) const = 0;
};

} // namespace Wispfold
