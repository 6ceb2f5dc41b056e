#include "HexagonLevel.h"

#include <algorithm>
#include <cstdlib>

namespace TestSupport {

namespace {

constexpr int kSide = 6;
constexpr int kCentreX = kSide - 1;
constexpr int kCentreY = 2 * (kSide - 1);

// Steps from the centre on the doubled-row grid.
int Distance(int dx, int dy)
{
    dx = std::abs(dx);
    dy = std::abs(dy);
    return dx + std::max(0, (dy - dx) / 2);
}

} // namespace

Wispfold::LevelData MakeHexagonLevel(float levelFactor, bool relaxMode)
{
    Wispfold::LevelData level;
    level.gridWidth = 2 * kSide - 1;
    level.gridHeight = 4 * (kSide - 1) + 1;
    level.colourCount = 5;
    level.levelFactor = levelFactor;
    level.relaxMode = relaxMode;
    for (int x = 0; x < static_cast<int>(level.gridWidth); ++x) {
        for (int y = 0; y < static_cast<int>(level.gridHeight); ++y) {
            const int dx = x - kCentreX;
            const int dy = y - kCentreY;
            if ((dx + dy) % 2 != 0 || Distance(dx, dy) >= kSide)
                continue;
            const int ring = Distance(dx, dy);
            const auto index = static_cast<int>(level.cellRecords.size());
            Wispfold::BoardCellRecord record;
            record.x = static_cast<std::uint32_t>(x);
            record.y = static_cast<std::uint32_t>(y);
            record.kind = ring <= 1 ? 2 : ring == 2 || (ring == 5 && index % 5 == 0) ? 1 : 0;
            record.closed = ring == 3 && index % 4 == 0;
            record.blocked = ring == 4 && index % 3 == 0;
            if (record.blocked && index % 2 == 0)
                record.kind = 1;
            record.position = {1.5f * static_cast<float>(x), 0.866f * static_cast<float>(y), 0.0f};
            level.cellRecords.push_back(record);
        }
    }
    return level;
}

} // namespace TestSupport
