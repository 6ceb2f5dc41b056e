#include "framework/GameCamera.h"

#include "engine/foundation/TimerManager.h"
#include "engine/render/AnimationControl.h"
#include "engine/render/CameraManager.h"
#include "tests/engine/render/RenderFixture.h"

using KeystrelEngine::Quaternion;
using KeystrelEngine::Vector3;

namespace {

// The in-level camera control's part: it fills the keys, holds poses and drives the animation.
class KeyedCamera : public GameTools::GameCamera
{
public:
    using GameCamera::GameCamera;
    using GameCamera::m_animation;
    using GameCamera::m_keyOrientations;
    using GameCamera::m_keyPositions;
    using GameCamera::m_manual;
    using GameCamera::m_manualOrientation;
    using GameCamera::m_manualPosition;
};

class GameCameraTest : public RenderTesting::RenderFixture
{
protected:
    // The default camera has the pose.
    void ExpectPose(const Quaternion& orientation, const Vector3& position) const
    {
        const KeystrelEngine::Camera& camera = *cameras->GetDefaultCamera();
        for (const auto& [got, expected] : {std::pair{camera.m_orientation.z, orientation.z},
                                            {camera.m_orientation.w, orientation.w},
                                            {camera.m_position.x, position.x},
                                            {camera.m_position.y, position.y},
                                            {camera.m_position.z, position.z}})
            EXPECT_NEAR(got, expected, 1e-5);
    }

    KeystrelEngine::TimerManager timers{true};
    std::unique_ptr<KeystrelEngine::CameraManager> cameras;
};

TEST_F(GameCameraTest, KeyedPathOrHeldPose)
{
    Create();
    cameras = std::make_unique<KeystrelEngine::CameraManager>(&services.log, window.get(), render.get());
    KeyedCamera camera(&services.log, &timers, cameras.get());
    camera.m_animation = std::make_unique<KeystrelEngine::AnimationControl>(2, &services.log, &timers);
    camera.m_keyOrientations = {Quaternion{}, Quaternion::FromAxisAngle({0, 0, 1}, 1.0f)};
    camera.m_keyPositions = {{0, 0, 0}, {2, 4, 6}};
    camera.m_animation->m_position = 0.5f;
    camera.Update();
    const Quaternion halfway = Quaternion::FromAxisAngle({0, 0, 1}, 0.5f);
    ExpectPose(halfway, {1, 2, 3});

    camera.m_manual = true;
    camera.m_manualOrientation = Quaternion::FromAxisAngle({0, 0, 1}, 2.0f);
    camera.m_manualPosition = {9, 8, 7};
    for (int frame = 0; frame < 2; ++frame) {
        cameras->GetDefaultCamera()->m_position = {};
        camera.Update();
        ExpectPose(camera.m_manualOrientation, {9, 8, 7});
    }
    camera.m_animation->m_playing = true;
    camera.Update();
    EXPECT_FALSE(camera.m_manual);
    ExpectPose(halfway, {1, 2, 3});
}

} // namespace
