// The benchmark board: a hexagon of side 6 (91 cells) on an 11 x 21 grid with five colours; double mana in the
// middle, a ring of single mana, closed cells in the third ring, blocked cells (some over mana) in the fourth and
// a few single mana cells on the edge.
#pragma once

#include "game/play/LevelData.h"

namespace TestSupport {

Wispfold::LevelData MakeHexagonLevel(float levelFactor, bool relaxMode);

} // namespace TestSupport
