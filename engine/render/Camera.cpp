#include "Camera.h"

#include <cmath>

namespace KeystrelEngine {

namespace {

// view x engine-form projection, turned to the column-vector layout.
Matrix4 ViewProjection(const Camera& camera)
{
    Matrix4 m = camera.m_view * camera.m_projection;
    m.Transpose();
    return m;
}

} // namespace

Camera::Camera(int projectionKind) : m_projectionKind(projectionKind), m_frustum(std::make_unique<Frustum>()) {}

void Camera::Update(float /*aspect*/)
{
    const float* v = m_view.m;
    m_right = {v[0], v[4], v[8]};
    m_up = {v[1], v[5], v[9]};
    m_forward = {v[2], v[6], v[10]};
    m_forward.SetLength(1.0f);
    m_frustum->Build(m_projection, m_view);
}

ScreenPoint Camera::ProjectToScreen(const Camera& camera, const Vector3& point, const Viewport& viewport)
{
    const auto v = ViewProjection(camera).Transform({point.x, point.y, point.z, 1.0f});
    return {static_cast<float>(viewport.x) + static_cast<float>(viewport.width) * (v[0] / v[3] * 0.5f + 0.5f),
            static_cast<float>(viewport.y) + static_cast<float>(viewport.height) * (v[1] / v[3] * 0.5f + 0.5f)};
}

Vector3 Camera::UnprojectFromScreen(const Camera& camera, float x, float y, float depth, const Viewport& viewport)
{
    Matrix4 m = camera.m_view * camera.m_projection;
    m.Inverse();
    m.Transpose();
    const float nx = 2.0f * (x - static_cast<float>(viewport.x)) / static_cast<float>(viewport.width) - 1.0f;
    const float ny = 2.0f * (y - static_cast<float>(viewport.y)) / static_cast<float>(viewport.height) - 1.0f;
    const auto v = m.Transform({nx, ny, 2.0f * depth - 1.0f, 1.0f});
    if (std::fabs(v[3]) < kTolerance)
        return {};
    return {v[0] / v[3], v[1] / v[3], v[2] / v[3]};
}

} // namespace KeystrelEngine
