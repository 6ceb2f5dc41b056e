#include "engine/render/BoundingBox.h"
#include "engine/render/CameraManager.h"
#include "engine/render/Camera_D3D7.h"
#include "tests/engine/render/RenderFixture.h"

#include <cstring>

using KeystrelEngine::BoundingBox;
using KeystrelEngine::Camera;
using KeystrelEngine::Camera_D3D7;
using KeystrelEngine::CameraManager;
using KeystrelEngine::Matrix4;
using KeystrelEngine::Quaternion;
using KeystrelEngine::ScreenPoint;
using KeystrelEngine::Vector3;
using KeystrelEngine::Viewport;
using PlatformTesting::CountCalls;
using PlatformTesting::DDrawCall;

namespace {

class CameraTest : public RenderTesting::RenderFixture
{
protected:
    void SetUp() override
    {
        Create();
        cameras = std::make_unique<CameraManager>(&services.log, window.get(), render.get());
    }
    void TearDown() override { cameras.reset(); }

    Camera_D3D7& Make(int kind) { return static_cast<Camera_D3D7&>(*cameras->CreateCamera(kind)); }

    static BoundingBox Sphere(const Vector3& centre, float radius)
    {
        BoundingBox box;
        box.m_centre = centre;
        box.m_radius = radius;
        return box;
    }

    std::unique_ptr<CameraManager> cameras;
};

TEST_F(CameraTest, IdsOfDeletedCamerasAreReusedLastFreedFirst)
{
    EXPECT_EQ(cameras->GetCamera(0), cameras->GetDefaultCamera());
    Camera* first = cameras->CreateCamera(0);
    Camera* second = cameras->CreateCamera(1);
    EXPECT_EQ(cameras->GetCamera(1), first);
    EXPECT_EQ(cameras->GetCamera(2), second);
    cameras->m_lastAppliedCamera = first;
    cameras->DeleteCamera(first);
    EXPECT_EQ(cameras->m_lastAppliedCamera, nullptr); // a new camera at the same address is applied again
    cameras->DeleteCamera(second);
    cameras->DeleteCamera(nullptr);
    EXPECT_EQ(cameras->GetLiveIds(), std::vector<std::uint32_t>{0});
    Camera* third = cameras->CreateCamera(0);
    Camera* fourth = cameras->CreateCamera(0);
    EXPECT_EQ(cameras->GetCamera(2), third);
    EXPECT_EQ(cameras->GetCamera(1), fourth);
    EXPECT_EQ(cameras->GetLiveIds(), (std::vector<std::uint32_t>{0, 2, 1}));
}

TEST_F(CameraTest, UpdateTakesTheViewportFromTheWindowAndForgetsTheLastAppliedCamera)
{
    cameras->m_lastAppliedCamera = cameras->GetDefaultCamera();
    cameras->Update();
    EXPECT_EQ(cameras->GetViewport().width, 1024u); // the video mode's size
    EXPECT_EQ(cameras->GetViewport().height, 768u);
    EXPECT_EQ(cameras->m_lastAppliedCamera, nullptr);
}

TEST_F(CameraTest, DefaultPerspectiveLensHasTheRatioFourToThreeWhateverTheAspect)
{
    Camera_D3D7& camera = static_cast<Camera_D3D7&>(*cameras->GetDefaultCamera());
    for (const float aspect : {4.0f / 3.0f, 16.0f / 9.0f}) {
        camera.Update(aspect);
        const Matrix4& device = camera.GetDeviceProjection();
        EXPECT_NEAR(device.m[0], 1.299038f, 1e-5f);
        EXPECT_NEAR(device.m[5], 1.732051f, 1e-5f);
        EXPECT_NEAR(camera.m_projection.m[0], 1.299038f, 1e-5f);
        EXPECT_NEAR(camera.m_projection.m[5], 1.732051f, 1e-5f);
        EXPECT_NEAR(device.m[10], 1000.0f / 999.0f, 1e-6f);
        EXPECT_NEAR(device.m[14], -1000.0f / 999.0f, 1e-5f);
        EXPECT_EQ(device.m[11], 1.0f);
        EXPECT_NEAR(camera.GetDeviceZBiasedProjection().m[10], 1001.0f / 1000.0f, 1e-6f);
        EXPECT_NEAR(camera.m_zBiasedProjection.m[10], 1001.0f / 1000.0f, 1e-6f);
        EXPECT_NEAR(camera.m_projection.m[10], -1001.0f / 999.0f, 1e-6f);
        EXPECT_EQ(camera.m_projection.m[11], -1.0f);
    }
}

TEST_F(CameraTest, GuiOrthographicLensMapsItsDepthsOntoZeroToOne)
{
    Camera_D3D7& camera = Make(Camera::kOrthographic);
    camera.m_width = 800.0f;
    camera.m_height = 600.0f;
    camera.m_near = 500.0f;
    camera.m_far = -500.0f;
    camera.Update(1.0f);
    const Matrix4& device = camera.GetDeviceProjection();
    EXPECT_FLOAT_EQ(device.m[0], 0.0025f);
    EXPECT_NEAR(device.m[5], 0.0033333f, 1e-6f);
    EXPECT_FLOAT_EQ(device.m[10], 0.001f);
    EXPECT_FLOAT_EQ(device.m[12], -1.0f);
    EXPECT_FLOAT_EQ(device.m[13], -1.0f);
    EXPECT_FLOAT_EQ(device.m[14], 0.5f);
    EXPECT_FLOAT_EQ(device.m[15], 1.0f);
    EXPECT_FLOAT_EQ(camera.GetDeviceZBiasedProjection().m[10], 1.0f / 999.0f);
    // The engine form runs the other way: depth grows with z.
    EXPECT_FLOAT_EQ(camera.m_projection.m[10], 0.002f);
    EXPECT_FLOAT_EQ(camera.m_projection.m[14], 0.0f);
}

TEST_F(CameraTest, AxesComeFromTheViewAndForwardPointsAwayFromTheScene)
{
    Camera& camera = *cameras->GetDefaultCamera();
    camera.m_position = {1.0f, 2.0f, 3.0f};
    camera.m_orientation = Quaternion::FromAxisAngle({0.0f, 1.0f, 0.0f}, 1.5707964f);
    camera.Update(1.0f);
    EXPECT_NEAR(camera.m_forward.x, 1.0f, 1e-6f);
    EXPECT_NEAR(camera.m_right.z, -1.0f, 1e-6f);
    EXPECT_NEAR(camera.m_up.y, 1.0f, 1e-6f);
    // The view takes the camera's position to the origin.
    Matrix4 view = camera.m_view;
    view.Transpose();
    const Vector3 origin = view.TransformPoint(camera.m_position);
    EXPECT_NEAR(origin.Length(), 0.0f, 1e-5f);
}

TEST_F(CameraTest, FrustumKeepsBoxesInFrontAndRejectsThoseBehindOrTouchingFromOutside)
{
    Camera& camera = *cameras->GetDefaultCamera();
    camera.m_position = {0.0f, 0.0f, 10.0f};
    camera.Update(1.0f);
    EXPECT_TRUE(camera.GetFrustum().Test(Sphere({0.0f, 0.0f, 0.0f}, 1.0f)));
    EXPECT_FALSE(camera.GetFrustum().Test(Sphere({0.0f, 0.0f, 20.0f}, 1.0f)));
    EXPECT_FALSE(camera.GetFrustum().Test(Sphere({0.0f, 0.0f, -2000.0f}, 1.0f)));
    EXPECT_TRUE(camera.GetFrustum().Test(Sphere({0.0f, 0.0f, 20.0f}, 11.5f)));

    // A lens whose near plane is z = -1 with exact coefficients: the sphere at distance -r is outside.
    Camera& flat = Make(Camera::kOrthographic);
    flat.m_width = 2.0f;
    flat.m_height = 2.0f;
    flat.m_near = 1.0f;
    flat.m_far = 3.0f;
    flat.Update(1.0f);
    EXPECT_FALSE(flat.GetFrustum().Test(Sphere({1.0f, 1.0f, -0.5f}, 0.5f)));
    EXPECT_TRUE(flat.GetFrustum().Test(Sphere({1.0f, 1.0f, -0.625f}, 0.5f)));
}

TEST_F(CameraTest, ScreenPointsRoundTripThroughTheWorld)
{
    Camera& camera = *cameras->GetDefaultCamera();
    camera.m_position = {3.0f, 2.0f, 10.0f};
    camera.m_orientation = Quaternion::FromAxisAngle({1.0f, 1.0f, 0.0f}, 0.3f);
    camera.Update(1.0f);
    const Viewport viewport{0, 0, 1024, 768};

    const Vector3 point{2.0f, 1.0f, -4.0f};
    const ScreenPoint screen = Camera::ProjectToScreen(camera, point, viewport);
    EXPECT_GT(screen.x, 0.0f);
    EXPECT_LT(screen.x, 1024.0f);
    // The point lies on the ray between the near and far points under its screen point.
    const Vector3 nearPoint = Camera::UnprojectFromScreen(camera, screen.x, screen.y, 0.0f, viewport);
    const Vector3 farPoint = Camera::UnprojectFromScreen(camera, screen.x, screen.y, 1.0f, viewport);
    const Vector3 offset = KeystrelEngine::Cross(farPoint - nearPoint, point - nearPoint);
    EXPECT_LT(offset.Length() / (farPoint - nearPoint).Length(), 1e-3f);

    const Vector3 deep = Camera::UnprojectFromScreen(camera, 100.0f, 700.0f, 0.9f, viewport);
    const ScreenPoint back = Camera::ProjectToScreen(camera, deep, viewport);
    EXPECT_NEAR(back.x, 100.0f, 0.01f);
    EXPECT_NEAR(back.y, 700.0f, 0.01f);
}

TEST_F(CameraTest, UnprojectingAPointOnTheCameraPlaneGivesTheOrigin)
{
    Camera& camera = *cameras->GetDefaultCamera();
    camera.m_position = {5.0f, 5.0f, 5.0f};
    camera.Update(1.0f);
    // For this lens (near 1, far 1000) the normalised depth 1001 / 999, that is the depth 1000 / 999, lies at
    // infinity: the transformed w is 0.
    const Vector3 result = Camera::UnprojectFromScreen(camera, 320.0f, 240.0f, 1000.0f / 999.0f, {0, 0, 640, 480});
    EXPECT_EQ(result.x, 0.0f);
    EXPECT_EQ(result.y, 0.0f);
    EXPECT_EQ(result.z, 0.0f);
}

TEST_F(CameraTest, ApplySendsTheDeviceFormsAndTheViewOnlyWhenItChanged)
{
    Camera_D3D7& camera = static_cast<Camera_D3D7&>(*cameras->GetDefaultCamera());
    camera.m_position = {0.0f, 1.0f, 5.0f};
    camera.Update(1.0f);
    PlatformTesting::ClearRecording();
    camera.Apply();
    camera.Apply();
    EXPECT_EQ(CountCalls(DDrawCall::SetTransform, D3DTRANSFORMSTATE_PROJECTION), 2u);
    EXPECT_EQ(CountCalls(DDrawCall::SetTransform, D3DTRANSFORMSTATE_VIEW), 1u);
    EXPECT_EQ(std::memcmp(&Device().projection, camera.GetDeviceProjection().m, sizeof(Device().projection)), 0);
    // The device's view is the camera's with its z column negated.
    EXPECT_FLOAT_EQ(Device().view._43, -camera.m_view.m[14]);
    EXPECT_FLOAT_EQ(Device().view._42, camera.m_view.m[13]);

    camera.ApplyZBiased();
    EXPECT_EQ(std::memcmp(&Device().projection, camera.GetDeviceZBiasedProjection().m, sizeof(Device().projection)), 0);
}

} // namespace
