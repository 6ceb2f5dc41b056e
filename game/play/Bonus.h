// A power that a butterfly carries: when the butterfly is destroyed its bonus widens the destruction. The bonus
// manager owns every token; a butterfly points at the one it carries.
#pragma once

#include <cstdint>

namespace Wispfold {

enum class BonusKind : std::uint32_t
{
    ItemDestruction = 0,        // the six neighbours go too
    CombinationDestruction = 1, // the whole group grows by one ring of neighbours
    ColorDestruction = 2,       // every butterfly of the carrier's colour goes too
};

class Bonus
{
public:
    explicit Bonus(BonusKind kind) : m_kind(kind) {}
    virtual ~Bonus() = default;

    BonusKind m_kind;
};

} // namespace Wispfold
