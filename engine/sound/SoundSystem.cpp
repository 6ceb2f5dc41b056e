#include "SoundSystem.h"

namespace KeystrelEngine {

void SoundSystem::SetListenerOrientation(const Vector3& front, const Vector3& top)
{
    m_listenerFront = front;
    m_listenerTop = top;
}

void SoundSystem::ResetListener()
{
    SetListenerPosition(Vector3{0.0f, 0.0f, 0.0f});
    SetListenerOrientation(Vector3{0.0f, 0.0f, -1.0f}, Vector3{0.0f, 1.0f, 0.0f});
}

} // namespace KeystrelEngine
