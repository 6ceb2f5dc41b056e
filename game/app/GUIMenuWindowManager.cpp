#include "game/app/GUIMenuWindowManager.h"

namespace Wispfold {

GUIMenuWindowManager::GUIMenuWindowManager(MenuBackground* background) : m_background(background) {}

GUIMenuWindowManager::~GUIMenuWindowManager() = default;

} // namespace Wispfold
