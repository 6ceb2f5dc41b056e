// The shared resources a level and the speaking character are drawn with, taken from the game's loaded lists by
// the names the shared data were loaded from.
#pragma once

#include "game/play/CellResources.h"
#include "game/play/Character.h"
#include "game/play/PlayServices.h"

namespace KeystrelEngine {
class GUIWindow;
}

namespace Wispfold {

class GameData;

void FillLevelResources(const GameData& data, PlayResources& play, CellResources& cells);
// The figure, its four bubbles, the level's parent (the shared child window) and the given menu parent.
CharacterResources MakeCharacterResources(const GameData& data, KeystrelEngine::GUIWindow* menuParent);

} // namespace Wispfold
