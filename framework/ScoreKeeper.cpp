#include "ScoreKeeper.h"

namespace GameFramework {

void ScoreKeeper::SetPoints(std::uint32_t eventId, std::int32_t points)
{
    m_points.emplace(eventId, points);
}

std::int32_t ScoreKeeper::GetPoints(std::uint32_t eventId) const
{
    const auto found = m_points.find(eventId);
    if (found == m_points.end())
        return 0;
    // Signed 32-bit product as the keeper has always computed it; unsigned arithmetic keeps an overflow defined.
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(found->second) *
                                     static_cast<std::uint32_t>(m_multiplier));
}

} // namespace GameFramework
