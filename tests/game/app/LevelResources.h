// The shared resources a level is drawn with, as the game takes them from its loaded lists.
#pragma once

#include "game/app/LevelResources.h"

namespace AppTesting {

using Wispfold::FillLevelResources;

} // namespace AppTesting
