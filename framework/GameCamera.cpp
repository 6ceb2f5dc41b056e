#include "GameCamera.h"

#include "engine/render/AnimationControl.h"
#include "engine/render/CameraManager.h"

#include <algorithm>

namespace GameTools {
namespace {

// Frames past the end of a key list take its last key.
template <class T> const T& Key(const std::vector<T>& keys, std::uint32_t frame)
{
    return keys[std::min<std::size_t>(frame, keys.size() - 1)];
}

} // namespace

GameCamera::GameCamera(KeystrelEngine::MessageManager* log, KeystrelEngine::TimerManager* timers,
                       KeystrelEngine::CameraManager* cameras)
    : m_camera(cameras->GetDefaultCamera()),
      m_animation(std::make_unique<KeystrelEngine::AnimationControl>(1, log, timers))
{
}

GameCamera::~GameCamera() = default;

void GameCamera::Update()
{
    const bool wasPlaying = m_animation->m_playing;
    m_animation->Update();
    if (!m_manual || wasPlaying) {
        m_manual = false;
        BlendKeys();
    } else {
        m_currentOrientation = m_manualOrientation;
        m_currentPosition = m_manualPosition;
    }
    m_camera->m_orientation = m_currentOrientation;
    m_camera->m_position = m_currentPosition;
}

void GameCamera::HoldPose(const KeystrelEngine::Quaternion& orientation, const KeystrelEngine::Vector3& position)
{
    m_manual = true;
    m_manualOrientation = orientation;
    m_manualPosition = position;
    m_currentOrientation = orientation;
    m_currentPosition = position;
}

// Empty key lists keep the pose of the last update.
void GameCamera::BlendKeys()
{
    if (m_keyOrientations.empty() || m_keyPositions.empty())
        return;
    const std::uint32_t current = m_animation->m_currentFrame;
    const std::uint32_t next = m_animation->m_nextFrame;
    const float fraction = m_animation->m_blendFraction;
    m_currentOrientation =
        KeystrelEngine::Quaternion::Slerp(Key(m_keyOrientations, current), Key(m_keyOrientations, next), fraction);
    m_currentPosition =
        KeystrelEngine::Vector3::Lerp(Key(m_keyPositions, current), Key(m_keyPositions, next), fraction);
}

} // namespace GameTools
