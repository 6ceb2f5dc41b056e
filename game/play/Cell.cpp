#include "Cell.h"

namespace Wispfold {

Cell::Cell(const BoardCellRecord& record, std::uint32_t index)
    : m_kind(record.kind), m_closed(record.closed != 0), m_blocked(record.blocked != 0), m_x(record.x), m_y(record.y),
      m_cellIndex(index)
{
}

} // namespace Wispfold
