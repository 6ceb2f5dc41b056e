// Matrices are filled element by element in the row-vector layout Direct3D takes (translation in 12, 13, 14).
#include "Camera_D3D7.h"

#include "RenderSystem_D3D7.h"
#include "ResultCheck.h"

#include <cmath>
#include <cstring>

namespace KeystrelEngine {

namespace {

constexpr float kLensRatio = 1.3333334f;
constexpr float kZBias = 1.0f; // how far the Z-biased projection moves the far plane out

Matrix4 Zero()
{
    Matrix4 m;
    std::memset(m.m, 0, sizeof(m.m));
    return m;
}

} // namespace

Camera_D3D7::Camera_D3D7(int projectionKind, RenderSystem_D3D7* renderSystem, IDirect3DDevice7* const* device)
    : Camera(projectionKind), m_renderSystem(renderSystem), m_device(device)
{
}

void Camera_D3D7::Update(float aspect)
{
    if (m_projectionKind == kPerspective)
        ComputePerspective();
    else
        ComputeOrthographic();
    ComputeView();
    Camera::Update(aspect);
}

void Camera_D3D7::ComputePerspective()
{
    const float n = m_near;
    const float f = m_far;
    const float t = n * static_cast<float>(std::tan(static_cast<double>(m_fieldOfView * kLensRatio * 0.25f)));
    const float top = t, bottom = -t, right = t * kLensRatio, left = -right;

    Matrix4& d = m_deviceProjection = Zero();
    d.m[0] = 2.0f * n / (right - left);
    d.m[5] = 2.0f * n / (top - bottom);
    d.m[8] = (right + left) / (left - right);
    d.m[9] = (top + bottom) / (bottom - top);
    d.m[10] = f / (f - n);
    d.m[11] = 1.0f;
    d.m[14] = f * n / (n - f);

    const float biasedFar = f + kZBias;
    m_deviceZBiasedProjection = d;
    m_deviceZBiasedProjection.m[10] = biasedFar / (biasedFar - n);
    m_deviceZBiasedProjection.m[14] = biasedFar * n / (n - biasedFar);
    m_zBiasedProjection = m_deviceZBiasedProjection;

    Matrix4& e = m_projection = Zero();
    e.m[0] = d.m[0];
    e.m[5] = d.m[5];
    e.m[8] = (right + left) / (right - left);
    e.m[9] = (top + bottom) / (top - bottom);
    e.m[10] = -(f + n) / (f - n);
    e.m[11] = -1.0f;
    e.m[14] = -2.0f * f * n / (f - n);
}

// The view spans 0..width and 0..height.
void Camera_D3D7::ComputeOrthographic()
{
    const float n = m_near;
    const float f = m_far;

    Matrix4& d = m_deviceProjection = Zero();
    d.m[0] = 2.0f / m_width;
    d.m[5] = 2.0f / m_height;
    d.m[10] = 1.0f / (n - f);
    d.m[12] = -1.0f;
    d.m[13] = -1.0f;
    d.m[14] = n / (n - f);
    d.m[15] = 1.0f;

    const float biasedFar = f + kZBias;
    m_deviceZBiasedProjection = d;
    m_deviceZBiasedProjection.m[10] = 1.0f / (n - biasedFar);
    m_deviceZBiasedProjection.m[14] = n / (n - biasedFar);
    m_zBiasedProjection = m_deviceZBiasedProjection;

    Matrix4& e = m_projection = d;
    e.m[10] = -2.0f / (f - n);
    e.m[14] = -(f + n) / (f - n);
}

// The inverse of the camera's placement: the transposed rotation after the negated position.
void Camera_D3D7::ComputeView()
{
    m_view = Matrix4::FromQuaternion(m_orientation);
    m_view.Transpose();
    m_view.Translate(-m_position);
    m_view.Transpose();
}

void Camera_D3D7::Apply()
{
    SendProjection("Camera_D3D7::Apply", m_deviceProjection);
}

void Camera_D3D7::ApplyZBiased()
{
    SendProjection("Camera_D3D7::ApplyZBiased", m_deviceZBiasedProjection);
}

void Camera_D3D7::SendProjection(const char* context, const Matrix4& projection)
{
    if (!*m_device)
        return;
    D3DMATRIX matrix;
    static_assert(sizeof(matrix) == sizeof(projection.m));
    std::memcpy(&matrix, projection.m, sizeof(matrix));
    CheckResult(context, (*m_device)->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &matrix), m_renderSystem);
    m_renderSystem->SetViewMatrix(m_view);
}

} // namespace KeystrelEngine
