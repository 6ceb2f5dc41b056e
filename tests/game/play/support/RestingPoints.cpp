#include "RestingPoints.h"

#include "game/play/Board.h"
#include "game/play/BoardScene.h"

#include <algorithm>

namespace TestSupport {

float LargestRestingOffset(const Wispfold::Board& board, const Wispfold::BoardScene& scene)
{
    float largest = 0.0f;
    for (const auto& cell : board.GetCells()) {
        const Wispfold::Item* item = board.GetItem(cell.get());
        if (!item || item->GetState() != Wispfold::kItemResting || !item->IsAtRest())
            continue;
        const KeystrelEngine::Vector3 hover = item->GetHoverPoint() - item->m_targetPosition;
        const KeystrelEngine::Vector3 rest = scene.GetLook(*cell).GetTopPosition() + hover;
        largest = std::max(largest, (item->GetPosition() - rest).Length());
    }
    return largest;
}

} // namespace TestSupport
