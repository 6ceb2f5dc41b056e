// The points of each kind of scoring event in one level, and the level's running total. The level's logic
// registers the event values once; the board asks for an event's value as it happens and adds it to the total,
// which the game moves to the player's score when the level ends.
#pragma once

#include <cstdint>
#include <map>

namespace GameFramework {

class ScoreKeeper
{
public:
    ScoreKeeper() = default;
    virtual ~ScoreKeeper() = default;

    // Registers the value of an event; an event already registered keeps its first value.
    void SetPoints(std::uint32_t eventId, std::int32_t points);
    // The registered value times the multiplier; 0 for an event never registered.
    std::int32_t GetPoints(std::uint32_t eventId) const;

    // Stays 1: nothing changes it, but every value passes through it.
    std::int32_t m_multiplier = 1;
    std::uint32_t m_total = 0;

private:
    std::map<std::uint32_t, std::int32_t> m_points;
};

} // namespace GameFramework
