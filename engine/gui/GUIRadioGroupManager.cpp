#include "GUIRadioGroupManager.h"

namespace KeystrelEngine {

GUIRadioGroupManager::GUIRadioGroupManager(MessageManager* log) : m_log(log) {}

GUIRadioGroupManager::~GUIRadioGroupManager() = default;

} // namespace KeystrelEngine
