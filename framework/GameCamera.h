// Moves the camera manager's default camera along a path of key poses (an orientation and a position each),
// blended frame by frame as an animation control says: between which two keys the camera is and how far. It can
// also hold the camera at a pose set directly: the in-level camera control owns one and sets the held pose every
// frame.
#pragma once

#include "engine/render/Quaternion.h"
#include "engine/render/Vector3.h"

#include <memory>
#include <vector>

namespace KeystrelEngine {
class AnimationControl;
class Camera;
class CameraManager;
class MessageManager;
class TimerManager;
} // namespace KeystrelEngine

namespace GameTools {

class GameCamera
{
public:
    GameCamera(KeystrelEngine::MessageManager* log, KeystrelEngine::TimerManager* timers,
               KeystrelEngine::CameraManager* cameras);
    virtual ~GameCamera();

    GameCamera(const GameCamera&) = delete;
    GameCamera& operator=(const GameCamera&) = delete;

    // Once per frame: advances the animation and gives the camera the keyed pose, or the held pose while the
    // manual flag is set and the animation was not playing. An animation that plays clears the flag.
    void Update();
    // Moves the camera to the pose and holds it there (the manual flag set) until an animation plays; the next
    // Update hands the pose to the camera.
    void HoldPose(const KeystrelEngine::Quaternion& orientation, const KeystrelEngine::Vector3& position);

    KeystrelEngine::Camera* GetCamera() const { return m_camera; }

protected:
    KeystrelEngine::Camera* m_camera; // belongs to the camera manager
    std::unique_ptr<KeystrelEngine::AnimationControl> m_animation;
    bool m_manual = false;
    KeystrelEngine::Quaternion m_manualOrientation{0.0f, 0.0f, 0.0f, 0.0f};
    KeystrelEngine::Vector3 m_manualPosition;
    KeystrelEngine::Quaternion m_currentOrientation;
    KeystrelEngine::Vector3 m_currentPosition;
    // Index for index; one key at the origin without rotation until the derived class sets its own.
    std::vector<KeystrelEngine::Quaternion> m_keyOrientations{KeystrelEngine::Quaternion{}};
    std::vector<KeystrelEngine::Vector3> m_keyPositions{KeystrelEngine::Vector3{}};

private:
    void BlendKeys();
};

} // namespace GameTools
