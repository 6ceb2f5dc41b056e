// A viewpoint and a lens. The owner writes the position, the orientation, the lens values and, for a camera that
// carries its models along, the two attachment matrices; the camera manager's per-frame update then derives the
// view and projection matrices, the camera's axes and its frustum. Between updates they keep the values of the
// last one.
//
// Two forms of the projection are kept. The engine form (right-handed, depth -1..1) serves the frustum and the
// screen operations; the device form (left-handed, depth 0..1, seen through the view with its z column negated)
// is what the device draws with. For the orthographic GUI camera, whose near plane lies at +500 and far plane at
// -500, the two forms order depth oppositely, so only the device form may reach the device.
#pragma once

#include "Frustum.h"
#include "Matrix4.h"
#include "Quaternion.h"
#include "Vector3.h"

#include <cstdint>
#include <memory>

namespace KeystrelEngine {

class BoundingBox;

// A rectangle of the window in pixels.
struct Viewport
{
    std::uint32_t x = 0;
    std::uint32_t y = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

struct ScreenPoint
{
    float x = 0.0f;
    float y = 0.0f;
};

class Camera
{
public:
    static constexpr int kPerspective = 0;
    static constexpr int kOrthographic = 1; // any value but 0 is orthographic

    explicit Camera(int projectionKind);
    virtual ~Camera() = default;

    Camera(const Camera&) = delete;
    Camera& operator=(const Camera&) = delete;

    // Derives the axes from the view and rebuilds the frustum; the device camera computes the matrices first.
    virtual void Update(float aspect);
    // Hand the projection (normal or with the far plane moved out) and the view to the device.
    virtual void Apply() {}
    virtual void ApplyZBiased() {}

    // The screen point of a world point in the viewport; y grows upwards from the viewport's bottom edge.
    static ScreenPoint ProjectToScreen(const Camera& camera, const Vector3& point, const Viewport& viewport);
    // The world point under a screen point at a depth from 0 (near plane) to 1 (far plane); (0, 0, 0) when the
    // point lies on the camera's plane.
    static Vector3 UnprojectFromScreen(const Camera& camera, float x, float y, float depth, const Viewport& viewport);

    const Frustum& GetFrustum() const { return *m_frustum; }

    int m_projectionKind;
    float m_near = 1.0f;
    float m_far = 1000.0f;
    float m_fieldOfView = 1.5707964f; // radians, perspective only
    float m_width = 1.0f;             // orthographic view size
    float m_height = 1.0f;
    Quaternion m_orientation;
    Vector3 m_position;

    Matrix4 m_projection;        // engine form
    Matrix4 m_zBiasedProjection; // device form with the far plane moved out by 1
    Matrix4 m_view;              // row-vector layout
    // With the attachment flag, models drawn with this camera are placed by third x world x second.
    Matrix4 m_secondMatrix;
    Matrix4 m_thirdMatrix;
    bool m_attached = false;

    Vector3 m_right;
    Vector3 m_up;
    Vector3 m_forward; // unit length; points away from what the camera sees

private:
    std::unique_ptr<Frustum> m_frustum;
};

} // namespace KeystrelEngine
